// The therapy history page; see LxTHistory.h. The page is a table: a header row of the
// therapy letters ("min" first), then one row per day with the date, the low 12 bits of
// each task value (red when the letter was practised) and the practised letters in their
// text form. Reading takes each row's cells in order and their digits, so the colouring
// tags around a value do not matter; it takes as many value columns as the header row
// names, so a page made with another letter order keeps its values and letters. The
// practised letters are decoded back into letter codes on reading, as they are written
// as text.
#include "shell/LxTHistory.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "media/LxSaveFile.h"
#include "reading/LxLetters.h"
#include "shell/LxClock.h"
#include "shell/LxUserRecords.h"

namespace {

// Value columns of a page whose header row cannot tell.
constexpr int kDefaultColumns = 10;

// The task values of one entry: one per code of the therapy letter order, as far as the
// program's task values go.
int ValueCount() {
    int n = int(std::strlen(reinterpret_cast<const char*>(TherapyOrder())));
    return std::min(n, kTaskValues);
}

void CopyLetters(char* out, const char* letters) {
    std::snprintf(out, kHistoryLetters, "%s", letters ? letters : "");
}

// Reads the cell at *pos: past "<TD" and its ">", past any tags right after it, then the
// digits up to the next "<". -1 when there is no further cell or it is not closed.
int ReadCell(const std::string& line, size_t* pos) {
    size_t at = line.find("<TD", *pos);
    if (at == std::string::npos) return -1;
    at = line.find('>', at);
    if (at == std::string::npos) return -1;
    ++at;
    while (at < line.size() && line[at] == '<' && line.compare(at, 2, "</") != 0) {
        size_t close = line.find('>', at);
        if (close == std::string::npos) return -1;
        at = close + 1;
    }
    size_t end = line.find('<', at);
    size_t close = line.find("</TD>", at);
    if (end == std::string::npos || close == std::string::npos) return -1;
    long long value = 0;
    for (size_t i = at; i < end; ++i)
        if (line[i] >= '0' && line[i] <= '9')
            value = std::min(value * 10 + (line[i] - '0'), 999999999LL);
    *pos = close + 5;
    return int(value);
}

// The value columns the header row names: its cells less the date and "aktiv" cells,
// one more in the older form without "min", at most 20.
int HeaderColumns(const std::string& header, bool withMin) {
    int cells = 0;
    for (size_t at = header.find("<TD"); at != std::string::npos; at = header.find("<TD", at + 3))
        ++cells;
    int columns = cells - 2 + (withMin ? 0 : 1);
    return columns < 1 ? kDefaultColumns : std::min(columns, int(kTaskValues));
}

} // namespace

CLxTHistory::CLxTHistory() : CLxTHistory("") {}

CLxTHistory::CLxTHistory(const char* name) {
    std::memset(m_aDates, 0, sizeof m_aDates);
    std::memset(m_aValues, 0, sizeof m_aValues);
    std::memset(m_aLetters, 0, sizeof m_aLetters);
    m_nEntries = 0;
    std::snprintf(m_szName, sizeof m_szName, "%s", name ? name : "");
}

void CLxTHistory::DropOldest() {
    std::memmove(m_aDates, m_aDates + 1, sizeof m_aDates - sizeof m_aDates[0]);
    std::memmove(m_aValues, m_aValues + 1, sizeof m_aValues - sizeof m_aValues[0]);
    std::memmove(m_aLetters, m_aLetters + 1, sizeof m_aLetters - sizeof m_aLetters[0]);
    --m_nEntries;
}

void CLxTHistory::AddEntry(int date, const int* values, const char* letters) {
    int index = m_nEntries - 1;
    if (m_nEntries == 0 || m_aDates[index] != date) {
        if (m_nEntries == kHistoryEntries) DropOldest();
        index = m_nEntries++;
    }
    m_aDates[index] = date;
    std::memset(m_aValues[index], 0, sizeof m_aValues[index]);
    if (values) std::copy(values, values + ValueCount(), m_aValues[index]);
    CopyLetters(m_aLetters[index], letters);
}

void CLxTHistory::AddToday(const int* values, const char* letters) {
    AddEntry(LxToday(), values, letters);
}

int CLxTHistory::FindDate(int date) const {
    for (int i = m_nEntries - 1; i >= 0; --i)
        if (m_aDates[i] == date) return i;
    return -1;
}

bool CLxTHistory::GetEntry(int index, int* date, int* values, char* letters) const {
    if (index < 0 || index >= m_nEntries) return false;
    if (date) *date = m_aDates[index];
    if (values) std::copy(m_aValues[index], m_aValues[index] + ValueCount(), values);
    if (letters) std::memcpy(letters, m_aLetters[index], kHistoryLetters);
    return true;
}

bool CLxTHistory::Save(const char* path) const {
    if (m_nEntries == 0) return false;
    CLxSaveFile file(path);
    if (!file.IsOpen()) return false;
    static const char* const kHead[] = {
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">",
        "<HTML>",
        "<HEAD>",
        "<TITLE> Lexo </TITLE>",
        "<META NAME=\"Generator\" CONTENT=\"Lexo\">",
        "<META NAME=\"Author\" CONTENT=\"\">",
        "<META NAME=\"Keywords\" CONTENT=\"\">",
        "<META NAME=\"Description\" CONTENT=\"\">",
        "</HEAD>",
        "<BODY BACKGROUND = \"../bg.gif\">",
    };
    for (const char* line : kHead)
        file.Line(line);
    file.Line("<P><B>Név:</B> <I>" + CodesToText(m_szName) + "</I></P>");
    file.Line("<TABLE BGCOLOR = \"#FFFFFF\" BORDERCOLOR = \"#660000\" BORDER=\"2\" "
              "CELLPADDING=\"4\" CELLSPACING=\"0\">");

    const unsigned char* order = TherapyOrder();
    int n = ValueCount();
    std::string row = "<TR><TD BGCOLOR = \"#FF6600\"><B>Dátum</B></TD>";
    for (int i = 0; i < n; ++i)
        row += "<TD BGCOLOR = \"#FF9900\" ALIGN = \"CENTER\"><B>" +
               (i == 0 ? std::string("min") : EncodeLetter(order[i])) + "</B></TD>";
    file.Line(row + "<TD BGCOLOR = \"#FF3300\"><B>aktiv</B></TD></TR>");

    for (int e = 0; e < m_nEntries; ++e) {
        int date = m_aDates[e];
        file.Print("<TR><TD BGCOLOR = \"#FF9999\">%d.%02d.%02d.</TD>", date / 10000,
                   date / 100 % 100, date % 100);
        for (int i = 0; i < n; ++i) {
            int value = m_aValues[e][i] & kTaskValueMask;
            if (std::strchr(m_aLetters[e], char(order[i])))
                file.Print("<TD><FONT COLOR = \"#c00000\"><B>%3d</B></FONT></TD>", value);
            else
                file.Print("<TD>%3d</TD>", value);
        }
        std::string letters = CodesToText(m_aLetters[e]);
        file.Line("<TD>" + (letters.empty() ? std::string("&nbsp;") : letters) + "</TD></TR>");
    }
    file.Line("</TABLE>");
    file.Line("</BODY>");
    file.Line("</HTML>");
    return file.Commit();
}

void CLxTHistory::ReadEntry(const char* text, bool withMin, int columns) {
    std::string line = text;
    size_t pos = 0;
    int date = ReadCell(line, &pos);
    if (date < 0) return;
    int e = m_nEntries;
    m_aDates[e] = date;
    std::memset(m_aValues[e], 0, sizeof m_aValues[e]);
    std::memset(m_aLetters[e], 0, sizeof m_aLetters[e]);
    int column = 0;
    if (!withMin) m_aValues[e][column++] = 40;
    bool complete = true;
    for (; column < columns; ++column) {
        int value = ReadCell(line, &pos);
        m_aValues[e][column] = value;
        if (value < 0) {
            complete = false;
            break;
        }
    }
    size_t cell = complete ? line.find("<TD>", pos) : std::string::npos;
    size_t close = cell == std::string::npos ? cell : line.find("</TD>", cell + 4);
    if (close != std::string::npos) {
        std::string letters = line.substr(cell + 4, close - cell - 4);
        if (letters != "&nbsp;") CopyLetters(m_aLetters[e], TextToCodes(letters.c_str()).c_str());
    }
    ++m_nEntries;
}

bool CLxTHistory::Load(const char* path) {
    std::string page;
    if (!ReadRecordFile(path, &page)) return false;
    m_nEntries = 0;
    bool inTable = false, withMin = true;
    int columns = kDefaultColumns;
    size_t start = 0;
    while (start < page.size()) {
        size_t end = page.find('\n', start);
        if (end == std::string::npos) end = page.size();
        std::string line = page.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        bool row = line.compare(0, 4, "<TR>") == 0;
        if (!inTable) {
            size_t name = line.find("Név:");
            size_t open = name == std::string::npos ? name : line.find("<I>", name);
            size_t close = open == std::string::npos ? open : line.find("</I>", open + 3);
            if (close != std::string::npos) {
                std::string text = line.substr(open + 3, std::min<size_t>(close - open - 3, 63));
                std::snprintf(m_szName, sizeof m_szName, "%s", TextToCodes(text.c_str()).c_str());
            }
            if (!row) continue;
            inTable = true;
            withMin = line.find("min") != std::string::npos;
            columns = HeaderColumns(line, withMin);
        } else if (row) {
            // A page longer than the record keeps its newest days, as adding days does.
            if (m_nEntries == kHistoryEntries) DropOldest();
            ReadEntry(line.c_str(), withMin, columns);
        }
    }
    return true;
}
