// The words list page; see LxWords.h. Reading looks only at the table cells, so the
// header and any editing a therapist did around the table are ignored.
#include "shell/LxWords.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "media/LxSaveFile.h"
#include "reading/LxLetters.h"
#include "shell/LxUserRecords.h"

char g_aWords[kMaxWords][kWordBytes];
int g_nWords = 0;

namespace {

const char kWordsPath[] = "save\\theraphy\\words.html";

} // namespace

bool LoadWords() {
    g_nWords = 0;
    std::string page;
    if (!ReadRecordFile(kWordsPath, &page)) return false;
    size_t pos = 0;
    while (g_nWords < kMaxWords && (pos = page.find("<TD>", pos)) != std::string::npos) {
        pos += 4;
        size_t end = page.find("</TD>", pos);
        if (end == std::string::npos) break;
        std::string cell = page.substr(pos, end - pos);
        pos = end + 5;
        if (cell == "&nbsp;") continue;
        cell.resize(std::min<size_t>(cell.size(), kWordBytes - 1));
        std::string codes = TextToCodes(cell.c_str());
        std::snprintf(g_aWords[g_nWords++], kWordBytes, "%s", codes.c_str());
    }
    return g_nWords > 0;
}

bool SaveWords() {
    CLxSaveFile file(kWordsPath);
    if (!file.IsOpen()) return false;
    file.Line("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">");
    file.Line("<HTML>");
    file.Line("<HEAD>");
    file.Line("<TITLE> Lexo </TITLE>");
    file.Line("<META NAME=\"Generator\" CONTENT=\"Lexo\">");
    file.Line("<META NAME=\"Description\" CONTENT=\"Wordlist\">");
    file.Line("</HEAD>");
    file.Line("<BODY BACKGROUND = \"../bg.gif\">");
    file.Line("<H3>Szavak a beszédjavítás-terápia hangfejlesztés moduljához</H3>");
    file.Line("<TABLE BGCOLOR = \"#99FFCC\" BORDERCOLOR = \"#FFFFFF\" BORDER=\"2\" "
              "CELLPADDING=\"4\" CELLSPACING=\"0\">");
    int words = g_nWords < 0 ? 0 : g_nWords > kMaxWords ? kMaxWords : g_nWords;
    int cells = (words + 4) / 5 * 5;
    for (int i = 0; i < cells; ++i) {
        if (i % 5 == 0) file.Write("<TR>\r\n\t");
        if (i < words)
            file.Write("<TD>" + CodesToText(g_aWords[i]) + "</TD>");
        else
            file.Write("<TD>&nbsp;</TD>");
        if (i % 5 == 4) file.Write("\r\n</TR>\r\n");
    }
    file.Line("</TABLE>");
    file.Line("</BODY>");
    file.Write("</HTML>");
    return file.Commit();
}
