// Texts drawn with the program's bitmap fonts: a static text, a text field that takes
// typed characters and a number field that takes digits. The text is kept as letter
// codes in a buffer of length + 1 bytes in the description's text pool and drawn byte by
// byte; while the mouse is over an editable text a caret "^" shows where typing goes.
#pragma once
#include <cstdint>
#include <string>

#include "ui/LxControl.h"

class CLxRLEFonts;

// The font a description or a screen names: "data\fonts\" + name, ".xml" added unless
// the name has it; "tnr32" for none.
CLxRLEFonts* LxControlFont(const char* name);
// A colour attribute: hexadecimal when it contains an "x", else decimal.
bool LxReadColour(CLxXMLParser* reader, const char* tag, const char* name, int* out);

// What every text kind reads from its tag: the text, the font name, the length (from
// "length", else the text's, 31 for no text) and the layout rectangle.
struct LxTextTag {
    std::string text, font;
    int length;
    RECT layout;
};
LxTextTag LxReadTextTag(CLxXMLParser* reader, const char* tag);

// The editing keys every text kind shares (backspace and delete when mayDelete, escape,
// home, end, left, right) on a text of length characters with the caret inside it.
// True when the key was one of them and the text or caret may have changed.
bool LxEditKey(char* text, int length, int* caret, int key, bool mayDelete);
// "min,max" of an attribute, as written; false when it is not two numbers.
bool LxReadRange(CLxXMLParser* reader, const char* tag, const char* name, int* min, int* max);

class CLxText : public CLxControl {
  public:
    static constexpr int kMaxLength = 511;

    struct TextDescriptor {
        Descriptor control;
        const char* font; // null for "tnr32"
        RECT layout;      // relative to the group origin
        int length, color, hoverColor, align;
    };

    explicit CLxText(const TextDescriptor* d, int type = kText);
    CLxText(CLxCGUI* gui, CLxGroup* group, CLxXMLParser* reader, const char* tag, int type = kText);

    void SetRect(const RECT* rect) override;
    void Draw() override;
    void OnButtonUp(CLxMouseEvent* event) override;
    void OnKeyDown(CLxKeyEvent* event) override;
    // Copies at most the length's characters, keeps the caret inside, and draws.
    void SetText(const char* text) override;
    const char* GetText() const { return m_szText; }

    CLxRLEFonts* m_pFont = nullptr;
    RECT m_rcLayout{};
    int m_nLength = 0;
    char* m_szText;
    int m_nCaret = 0;
    int m_nColor = 0x404040;
    int m_nHoverColor = 0x404040;
    int m_nAlign = 0; // 0 left, 1 right, 2 centre

  protected:
    // Inserts a character at the caret when the font has it and it fits.
    void Insert(int key);
    int TextLength() const;
    void ClampCaret();
    int GlyphWidth(int code) const;

  private:
    void Init(const char* font, const char* text, int length);
    // Where the text starts, without the group origin.
    int StartX() const;

    char m_szOwnEmpty[1] = {0}; // the buffer when the pool had no room
};

class CLxTextField : public CLxText {
  public:
    explicit CLxTextField(const TextDescriptor* d) : CLxText(d, kTextField) {}
    CLxTextField(CLxCGUI* gui, CLxGroup* group, CLxXMLParser* reader, const char* tag)
        : CLxText(gui, group, reader, tag, kTextField) {}

    void OnChar(CLxKeyEvent* event) override;
};

class CLxNumberField : public CLxText {
  public:
    struct NumberDescriptor {
        TextDescriptor text;
        int min, max;
    };

    explicit CLxNumberField(const NumberDescriptor* d);
    CLxNumberField(CLxCGUI* gui, CLxGroup* group, CLxXMLParser* reader, const char* tag);

    void OnChar(CLxKeyEvent* event) override;
    // The text as a number, inside [min, max].
    int GetValue() const;
    // Shows v, moved inside [min, max].
    void SetValue(int v);

    int m_nMax = 50;
    int m_nMin = 0;
};
