// The call-picture catalogue ("data\callpic.xml"): for each letter its call picture,
// its key word and where the letter's glyphs and the word are drawn on the picture.
// Vowel pairs (í/i, ó/o, ...) have a second word and second positions. Positions the
// file leaves out (x = 0) are laid out from the glyph widths of the 48-pixel font.
#pragma once
#include <string>
#include <vector>

struct LxCallPicEntry {
    struct Position {
        int x = 0, y = 0;
    };
    unsigned char code = 0;
    std::string picture;
    // Key words as letter codes, each after a "$" code: Accented() paints the first
    // letter in the accent colour, Word() is the word itself.
    std::string word = "$", second = "$";
    Position upper, secondUpper, lower, secondLower, wordAt, secondWordAt;

    const char* Word() const { return word.c_str() + 1; }
    const char* Accented() const { return word.c_str(); }
    const char* SecondWord() const { return second.c_str() + 1; }
    const char* SecondAccented() const { return second.c_str(); }
};

class CLxCallPic {
  public:
    static constexpr int kMaxEntries = 64;

    explicit CLxCallPic(const char* path);
    virtual ~CLxCallPic() = default;

    // The last entry of the letter, or -1.
    int FindLetter(unsigned char code) const;
    // The folder, the picture name and ".bmp"; "" out of range. Valid until the next call.
    const char* PicturePath(int index);
    int Count() const { return static_cast<int>(m_entries.size()); }
    const LxCallPicEntry& Entry(int index) const { return m_entries[index]; }

  private:
    std::vector<LxCallPicEntry> m_entries;
    std::string m_folder = "data\\";
    std::string m_path;
};
