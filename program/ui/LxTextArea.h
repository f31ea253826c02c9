// A multi-line text: words wrap at the first rectangle's right edge, "#" ends a line,
// "$" paints the next letter in the accent colour, a caret "^" shows where typing goes,
// and a selection may be painted on its own background. Drawing records where each line
// starts (at most kMaxLines lines are laid out); the caret keys and clicks use that
// table of the last drawing.
#pragma once
#include <cstdint>

#include "ui/LxControl.h"

class CLxRLEFonts;
struct LxSurfaceDesc;

class CLxTextArea : public CLxControl {
  public:
    static constexpr int kMaxLength = 4095;
    static constexpr int kMaxLines = 63;

    struct AreaDescriptor {
        Descriptor control;
        const char* font; // null for "tnr32"
        RECT layout;
        int length, color;
    };

    explicit CLxTextArea(const AreaDescriptor* d);
    CLxTextArea(CLxCGUI* gui, CLxGroup* group, CLxXMLParser* reader, const char* tag);

    void Draw() override;
    void OnButtonUp(CLxMouseEvent* event) override;
    void OnKeyDown(CLxKeyEvent* event) override;
    void OnChar(CLxKeyEvent* event) override;
    // Copies at most the length's characters; no drawing.
    void SetText(const char* text) override;
    const char* GetText() const { return m_szText; }
    // Ignored when negative, at or past the end, or unchanged; else moves and draws.
    void SetCaret(int caret);
    void SetSelection(int start, int end);
    void SetSelectionColors(int color, int accent, int back);
    // The lines the last drawing laid out, and where line i starts (i up to the count,
    // whose entry is one past the text's end).
    int LineCount() const { return m_nLines; }
    int LineStart(int i) const { return m_aLines[i]; }

    CLxRLEFonts* m_pFont = nullptr;
    RECT m_rcLayout{};
    int m_nLength = 0;
    char* m_szText;
    int m_aLines[kMaxLines + 1] = {};
    int m_nLines = 0;
    int m_nCaret = 0;
    int m_nSelStart = 0, m_nSelEnd = -1; // both included
    int m_nColor = 0x404040;
    int m_nAccent = 0xF02020;
    int m_nSelColor = 0xFFFFFF, m_nSelAccent = 0xFFFF00, m_nSelBack = 0x000080;

  private:
    void Init(const char* font, const char* text, int length);
    int TextLength() const;
    void Clamp();
    int GlyphWidth(int code) const;
    int Width(int from, int to) const;
    // Draws text[from, to) at (x, y); the advance.
    int DrawPart(LxSurfaceDesc* desc, int from, int to, int x, int y, bool* accent);
    // Moves the caret from start of a line rightwards as far as a click at x reaches.
    int CaretInLine(int from, int to, int start, int x) const;

    char m_szOwnEmpty[1] = {0};
};
