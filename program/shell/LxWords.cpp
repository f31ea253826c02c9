// The words list page; see LxWords.h. Reading looks only at the table cells, so the
// header and any editing a therapist did around the table are ignored. Cells are found
// whatever the letter case of their tags (HTML editors write "<td>"), and a page that an
// editor saved in UTF-8 is read as such (the page's declared character set decides,
// else whether it reads as UTF-8).
//
// Nothing a therapist wrote is lost by a load and a save: words that the list cannot
// hold (over 63 bytes of letter codes, or beyond 256 words) are kept aside as they were
// read and written back after the list; the page is written only when the list changed
// since it was read, and never over a page that exists but could not be read.
#include "shell/LxWords.h"

#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/TextCodec.h"
#include "media/LxFile.h"
#include "media/LxSaveFile.h"
#include "reading/LxLetters.h"
#include "shell/LxUserRecords.h"

char g_aWords[kMaxWords][kWordBytes];
int g_nWords = 0;

namespace {

const char kWordsPath[] = "save\\theraphy\\words.html";

std::vector<std::string> g_kept;   // cells that do not fit the list, as read
std::vector<std::string> g_loaded; // the list as it was read, to see whether it changed
bool g_bUnreadable = false;        // the page exists but could not be read

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// The position of tag (lower case, such as "<td") in page from pos on, in any letter
// case and followed by ">" or attributes; npos when there is none.
size_t FindTag(const std::string& page, const char* tag, size_t pos) {
    size_t length = std::char_traits<char>::length(tag);
    for (; pos + length <= page.size(); ++pos) {
        size_t i = 0;
        while (i < length && Lower(page[pos + i]) == tag[i])
            ++i;
        if (i < length) continue;
        char next = pos + length < page.size() ? page[pos + length] : 0;
        if (next == '>' || next == ' ' || next == '\t' || next == '\r' || next == '\n') return pos;
    }
    return std::string::npos;
}

std::vector<std::string> CurrentWords() {
    int words = g_nWords < 0 ? 0 : g_nWords > kMaxWords ? kMaxWords : g_nWords;
    return std::vector<std::string>(g_aWords, g_aWords + words);
}

// The page's own word on its encoding wins (this program writes Latin-2 and says so);
// a page without one is taken as UTF-8 when it reads as such.
bool ReadAsUtf8(const std::string& page) {
    std::string head = page.substr(0, 2048);
    for (char& c : head)
        c = Lower(c);
    if (head.find("charset=iso-8859-2") != std::string::npos) return false;
    if (head.find("charset=utf-8") != std::string::npos) return true;
    return talvik::IsUtf8Text(page);
}

bool PageExists() {
    struct stat info;
    return lstat(CLxFile::RecordPath(kWordsPath, true).c_str(), &info) == 0;
}

} // namespace

bool LoadWords() {
    g_nWords = 0;
    g_kept.clear();
    g_loaded.clear();
    std::string page;
    g_bUnreadable = !ReadRecordFile(kWordsPath, &page) && PageExists();
    if (g_bUnreadable)
        std::fprintf(
            stderr, "%s\n",
            talvik::Latin2ToUtf8(std::string("A szólista nem olvasható: ") + kWordsPath).c_str());
    if (ReadAsUtf8(page)) page = talvik::Utf8ToLatin2(page);
    size_t pos = 0;
    while ((pos = FindTag(page, "<td", pos)) != std::string::npos) {
        size_t open = page.find('>', pos);
        if (open == std::string::npos) break;
        size_t end = FindTag(page, "</td", open + 1);
        if (end == std::string::npos) break;
        std::string cell = page.substr(open + 1, end - open - 1);
        pos = end + 4;
        if (cell == "&nbsp;") continue;
        std::string codes = TextToCodes(cell.c_str());
        if (codes.empty()) continue; // no letters, no word
        if (g_nWords < kMaxWords && codes.size() < size_t(kWordBytes))
            std::snprintf(g_aWords[g_nWords++], kWordBytes, "%s", codes.c_str());
        else
            g_kept.push_back(cell);
    }
    g_loaded = CurrentWords();
    return g_nWords > 0;
}

bool SaveWords() {
    if (g_bUnreadable) return false;
    CLxSaveFile file(kWordsPath);
    if (!file.IsOpen()) return false;
    file.Line("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">");
    file.Line("<HTML>");
    file.Line("<HEAD>");
    file.Line("<TITLE> Lexo </TITLE>");
    file.Line("<META NAME=\"Generator\" CONTENT=\"Lexo\">");
    file.Line("<META NAME=\"Description\" CONTENT=\"Wordlist\">");
    file.Line("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=iso-8859-2\">");
    file.Line("</HEAD>");
    file.Line("<BODY BACKGROUND = \"../bg.gif\">");
    file.Line("<H3>Szavak a beszédjavítás-terápia hangfejlesztés moduljához</H3>");
    file.Line("<TABLE BGCOLOR = \"#99FFCC\" BORDERCOLOR = \"#FFFFFF\" BORDER=\"2\" "
              "CELLPADDING=\"4\" CELLSPACING=\"0\">");
    std::vector<std::string> cells;
    for (const std::string& codes : CurrentWords())
        cells.push_back(CodesToText(codes.c_str()));
    cells.insert(cells.end(), g_kept.begin(), g_kept.end());
    size_t padded = (cells.size() + 4) / 5 * 5;
    for (size_t i = 0; i < padded; ++i) {
        if (i % 5 == 0) file.Write("<TR>\r\n\t");
        file.Write(i < cells.size() ? "<TD>" + cells[i] + "</TD>" : "<TD>&nbsp;</TD>");
        if (i % 5 == 4) file.Write("\r\n</TR>\r\n");
    }
    file.Line("</TABLE>");
    file.Line("</BODY>");
    file.Write("</HTML>");
    if (!file.Commit()) return false;
    g_loaded = CurrentWords();
    return true;
}

bool SaveWordsIfChanged() {
    return CurrentWords() == g_loaded || SaveWords();
}
