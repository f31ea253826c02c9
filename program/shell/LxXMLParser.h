// The reader of the program's XML-like files (screens, settings, catalogues, fonts, the
// sound bank). It is a tag scanner, not a parser: NextTag hands out the text of one tag
// at a time in file order, and GetAttr finds an attribute in a tag's text by name.
// Nesting, end tags and the text between tags mean nothing to it; readers walk the tags
// and decide by each tag's first word. Results point into the reader's own buffers and
// stay valid until the next call of the same kind.
#pragma once
#include <string>
#include <vector>

struct LxPoint {
    int x, y;
};

struct LxRect {
    int left, top, right, bottom;
};

// The readers' one rule for tag words: the word stands at the start of the tag, so
// "game1" matches "game" and "/session" matches only "/session".
bool LxTagStarts(const char* tag, const char* word);
// The tag's element is named exactly name: name followed by the tag's end, a blank or
// "/", so "game2a" is not "game2".
bool LxTagIs(const char* tag, const char* name);

class CLxXMLParser {
  public:
    CLxXMLParser() = default;
    CLxXMLParser(const CLxXMLParser&) = delete;
    CLxXMLParser& operator=(const CLxXMLParser&) = delete;
    virtual ~CLxXMLParser() = default;

    // Reads a whole data file (loose or archived); UTF-8 text with a byte-order mark
    // becomes Latin-2. False when it cannot be read; the reader is empty then.
    bool Open(const char* path);
    const char* GetFile() const { return m_file.c_str(); }

    // The next tag's text without its angle brackets and outer blanks; null at the end.
    char* NextTag();

    // The quoted value of attribute name in tag; null when missing or empty.
    char* GetAttr(const char* tag, const char* name);
    bool GetInt(const char* tag, const char* name, int* out);
    bool GetFloat(const char* tag, const char* name, float* out);
    // The number of comma-separated items, or -1 when the attribute is missing. At most
    // max items are stored; the count is the real one, so callers can refuse a surplus.
    int GetIntList(const char* tag, const char* name, int* out, int max);
    int GetFloatList(const char* tag, const char* name, float* out, int max);
    // "position" as x,y and "rect" as x,y,w,h. What a tag leaves out is taken from the
    // last position or rectangle read by any reader, so a tag may inherit them.
    LxPoint GetPosition(const char* tag);
    LxRect GetRect(const char* tag);

    // Splits a comma-separated list in place into trimmed items; single or double quotes
    // around an item are removed and protect its commas. At most max items.
    static int SplitList(char* text, char** items, int max);
    // Cuts bytes 1 to 32 off the end in place; the first byte that is not one of them.
    static char* Trim(char* text);

  private:
    template <typename T> int GetList(const char* tag, const char* name, T* out, int max);

    std::vector<char> m_data; // the file, converted, NUL-terminated; empty when closed
    size_t m_pos = 0;         // scan position in m_data
    bool m_atEnd = true;
    char m_szTag[8192] = {};
    char m_szValue[8192] = {};
    std::string m_file;
};
