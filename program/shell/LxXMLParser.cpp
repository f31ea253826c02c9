// The program's XML-like file reader; see LxXMLParser.h. The file is held whole with a
// NUL after it; every search is bounded by the data's length, so a file with NUL bytes
// or an unfinished tag cannot lead the scan past its end. Tags and values longer than
// the buffers are cut to 8191 bytes.
#include "shell/LxXMLParser.h"

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "core/TextCodec.h"
#include "media/LxFile.h"

namespace {

// The program's files are small; anything near this is not one of them.
constexpr size_t kMaxFile = 16u << 20;

LxPoint g_lastPosition = {0, 0};
int g_lastRect[4] = {0, 0, 0, 0}; // x, y, w, h

bool IsBlank(char c) {
    return c >= 1 && c <= 32;
}

int ToInt(const char* text) {
    long long v = std::strtoll(text, nullptr, 10);
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}

float ToFloat(const char* text) {
    double v = std::strtod(text, nullptr);
    if (std::isnan(v)) return 0.0f;
    if (v > FLT_MAX) return FLT_MAX;
    if (v < -FLT_MAX) return -FLT_MAX;
    return static_cast<float>(v);
}

template <typename T> T Parse(const char* text);
template <> int Parse<int>(const char* text) {
    return ToInt(text);
}
template <> float Parse<float>(const char* text) {
    return ToFloat(text);
}

int Clamp(long long v) {
    return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v);
}

// Reads up to n comma-separated integers of text into values; empty or missing items
// leave their entries alone.
void ReadInts(char* text, int* values, int n) {
    for (int count = 0; text; ++count) {
        char* comma = std::strchr(text, ',');
        if (comma) *comma = 0;
        char* item = CLxXMLParser::Trim(text);
        if (count < n && *item) values[count] = ToInt(item);
        text = comma ? comma + 1 : nullptr;
    }
}

} // namespace

bool CLxXMLParser::Open(const char* path) {
    m_data.clear();
    m_pos = 0;
    m_atEnd = true;
    m_file = path ? path : "";

    CLxFile file;
    if (!file.Open(path, true)) return false;
    std::string bytes;
    char chunk[8192];
    int got;
    while ((got = file.Read(chunk, sizeof chunk)) > 0) {
        bytes.append(chunk, static_cast<size_t>(got));
        if (bytes.size() > kMaxFile) return false;
    }
    if (got < 0) return false;

    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        bytes = talvik::Utf8ToLatin2(std::string_view(bytes).substr(3));
    m_data.assign(bytes.begin(), bytes.end());
    m_data.push_back(0);
    m_atEnd = false;
    return true;
}

char* CLxXMLParser::NextTag() {
    if (m_atEnd) return nullptr;
    std::string_view text(m_data.data(), m_data.size() - 1);
    size_t open = text.find('<', m_pos);
    size_t end = text.find('>', m_pos);
    if (open != std::string_view::npos && text.compare(open, 4, "<!--") == 0) {
        end = text.find("-->", open + 4);
        if (end != std::string_view::npos) end += 2;
    }
    // Nothing more, an unfinished tag, a stray ">" before the next "<", or "<>".
    if (open == std::string_view::npos || end == std::string_view::npos || end <= open + 1) {
        m_atEnd = true;
        return nullptr;
    }
    size_t length = end - open - 1;
    if (length > sizeof m_szTag - 1) length = sizeof m_szTag - 1;
    std::memcpy(m_szTag, text.data() + open + 1, length);
    m_szTag[length] = 0;
    m_pos = end + 1;
    char* tag = m_szTag;
    while (IsBlank(*tag))
        ++tag;
    return Trim(tag);
}

char* CLxXMLParser::GetAttr(const char* tag, const char* name) {
    if (!tag || !name || !*name) return nullptr;
    size_t nameLength = std::strlen(name);
    const char* at = tag;
    while ((at = std::strstr(at, name))) {
        char next = at[nameLength];
        if (IsBlank(next) || next == '=') break;
        ++at;
    }
    if (!at) return nullptr;
    at += nameLength;
    const char* dq = std::strchr(at, '"');
    const char* sq = std::strchr(at, '\'');
    const char* quote = !dq ? sq : !sq ? dq : dq < sq ? dq : sq;
    if (!quote) return nullptr;
    const char* close = std::strchr(quote + 1, *quote);
    if (!close || close == quote + 1) return nullptr;
    size_t length = static_cast<size_t>(close - quote - 1);
    if (length > sizeof m_szValue - 1) length = sizeof m_szValue - 1;
    std::memcpy(m_szValue, quote + 1, length);
    m_szValue[length] = 0;
    return m_szValue;
}

bool CLxXMLParser::GetInt(const char* tag, const char* name, int* out) {
    char* value = GetAttr(tag, name);
    if (!value) return false;
    *out = ToInt(Trim(value));
    return true;
}

bool CLxXMLParser::GetFloat(const char* tag, const char* name, float* out) {
    char* value = GetAttr(tag, name);
    if (!value) return false;
    *out = ToFloat(Trim(value));
    return true;
}

template <typename T>
int CLxXMLParser::GetList(const char* tag, const char* name, T* out, int max) {
    char* value = GetAttr(tag, name);
    if (!value) return -1;
    int count = 0;
    for (char* p = value; p; ++count) {
        char* comma = std::strchr(p, ',');
        if (comma) *comma = 0;
        if (count < max) out[count] = Parse<T>(Trim(p));
        p = comma ? comma + 1 : nullptr;
    }
    return count;
}

int CLxXMLParser::GetIntList(const char* tag, const char* name, int* out, int max) {
    return GetList(tag, name, out, max);
}

int CLxXMLParser::GetFloatList(const char* tag, const char* name, float* out, int max) {
    return GetList(tag, name, out, max);
}

LxPoint CLxXMLParser::GetPosition(const char* tag) {
    char* value = GetAttr(tag, "position");
    if (!value || !std::strchr(value, ',')) return g_lastPosition;
    int xy[2] = {g_lastPosition.x, g_lastPosition.y};
    ReadInts(value, xy, 2);
    g_lastPosition = {xy[0], xy[1]};
    return g_lastPosition;
}

LxRect CLxXMLParser::GetRect(const char* tag) {
    if (char* value = GetAttr(tag, "rect")) ReadInts(value, g_lastRect, 4);
    const int* r = g_lastRect;
    return {r[0], r[1], Clamp(static_cast<long long>(r[0]) + r[2]),
            Clamp(static_cast<long long>(r[1]) + r[3])};
}

int CLxXMLParser::SplitList(char* text, char** items, int max) {
    if (!text || max <= 0) return 0;
    char* p = text;
    while (IsBlank(*p))
        ++p;
    if (!*p) return 0;
    int count = 0;
    while (p && count < max) {
        while (IsBlank(*p))
            ++p;
        char* item = p;
        char* close = (*p == '"' || *p == '\'') ? std::strchr(p + 1, *p) : nullptr;
        if (close) {
            item = p + 1;
            *close = 0;
            p = std::strchr(close + 1, ',');
        } else {
            p = std::strchr(p, ',');
            if (p) *p = 0;
            item = Trim(item);
        }
        if (p) ++p;
        items[count++] = item;
    }
    return count;
}

char* CLxXMLParser::Trim(char* text) {
    if (!text) return nullptr;
    size_t length = std::strlen(text);
    while (length > 0 && IsBlank(text[length - 1]))
        text[--length] = 0;
    while (IsBlank(*text))
        ++text;
    return text;
}

bool LxTagStarts(const char* tag, const char* word) {
    return tag && word && std::strncmp(tag, word, std::strlen(word)) == 0;
}

bool LxTagIs(const char* tag, const char* name) {
    if (!LxTagStarts(tag, name)) return false;
    char next = tag[std::strlen(name)];
    return next == 0 || next == ' ' || next == '/' || next == '\t' || next == '\r' || next == '\n';
}
