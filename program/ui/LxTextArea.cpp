// The text area; see LxTextArea.h. Drawing splits the text into words, each ending
// after the first " ", "-", "_", "&" or "#"; a word that does not fit on the rest of the
// line starts a new one, a word wider than the whole line is cut from its end, and a
// word after "#" always starts a new line. The layout rectangle is used without the
// group origin, as the descriptions place text areas in groups at (0, 0).
#include "ui/LxTextArea.h"

#include <cstring>
#include <string>

#include "media/LxRLEFonts.h"
#include "media/LxSurface.h"
#include "shell/LxXMLParser.h"
#include "ui/LxCGUI.h"
#include "ui/LxGroup.h"
#include "ui/LxText.h"

namespace {
const CLxControl::Descriptor* Ref(const CLxControl::Descriptor& d) {
    return &d;
}

CLxControl::Descriptor Control(const CLxTextArea::AreaDescriptor* d) {
    return d ? d->control : CLxControl::Descriptor{nullptr, nullptr, nullptr, nullptr, 0};
}

bool EndsWord(char c) {
    return c == ' ' || c == '-' || c == '_' || c == '&' || c == '#';
}

// Fills w x h pixels at (x, y) of a locked 32-bit surface, clipped to it.
void FillLocked(const LxSurfaceDesc& d, int x, int y, int w, int h, uint32_t rgb) {
    if (d.nBitsPerPixel != 32 || !d.pPixels) return;
    for (int row = y < 0 ? 0 : y; row < y + h && row < d.nHeight; ++row) {
        auto* line = reinterpret_cast<uint32_t*>(d.pPixels + static_cast<size_t>(row) * d.nPitch);
        for (int col = x < 0 ? 0 : x; col < x + w && col < d.nWidth; ++col)
            line[col] = rgb;
    }
}
} // namespace

CLxTextArea::CLxTextArea(const AreaDescriptor* d) : CLxControl(Ref(Control(d)), kTextArea) {
    m_szText = m_szOwnEmpty;
    if (!d) return;
    m_rcLayout = d->layout;
    m_nColor = d->color;
    Init(d->font, nullptr, d->length);
}

CLxTextArea::CLxTextArea(CLxCGUI* gui, CLxGroup* group, CLxXMLParser* reader, const char* tag)
    : CLxControl(gui, group, reader, tag, kTextArea) {
    m_szText = m_szOwnEmpty;
    m_nFlags = kEnabled | kVisible | kAcceptsChars | kEditing;
    LxTextTag t = LxReadTextTag(reader, tag);
    LxReadColour(reader, tag, "color", &m_nColor);
    m_rcLayout = t.layout;
    Init(t.font.c_str(), t.text.c_str(), t.length);
}

void CLxTextArea::Init(const char* font, const char* text, int length) {
    if (length > kMaxLength) length = kMaxLength;
    if (length < 0) length = 0;
    m_pFont = LxControlFont(font);
    m_nLength = length;
    m_szText = LxControlText(m_pGUI, &m_nLength, m_szOwnEmpty, text);
    m_aLines[1] = TextLength() + 1;
    m_nLines = 1;
}

int CLxTextArea::TextLength() const {
    return static_cast<int>(std::strlen(m_szText));
}

void CLxTextArea::Clamp() {
    int n = TextLength();
    if (m_nCaret > n) m_nCaret = n;
    if (m_nCaret < 0) m_nCaret = 0;
}

int CLxTextArea::GlyphWidth(int code) const {
    if (code == '$') return 0; // the accent marker is never drawn
    return ::GlyphWidth(m_pFont, code & 0xFF);
}

int CLxTextArea::Width(int from, int to) const {
    int width = 0;
    for (int i = from; i < to; ++i)
        if (int w = GlyphWidth(static_cast<unsigned char>(m_szText[i]))) width += w + 2;
    return width;
}

void CLxTextArea::SetText(const char* text) {
    std::memset(m_szText, 0, m_nLength + 1);
    if (text) std::strncpy(m_szText, text, m_nLength);
    Clamp();
    int n = TextLength();
    if (m_nSelStart > n) m_nSelStart = n;
    if (m_nSelEnd >= n) m_nSelEnd = n - 1;
}

void CLxTextArea::SetCaret(int caret) {
    if (caret < 0 || caret >= TextLength() || caret == m_nCaret) return;
    m_nCaret = caret;
    Draw();
}

void CLxTextArea::SetSelection(int start, int end) {
    m_nSelStart = start;
    m_nSelEnd = end;
    Draw();
}

void CLxTextArea::SetSelectionColors(int color, int accent, int back) {
    m_nSelColor = color;
    m_nSelAccent = accent;
    m_nSelBack = back;
    Draw();
}

int CLxTextArea::DrawPart(LxSurfaceDesc* desc, int from, int to, int x, int y, bool* accent) {
    int start = x;
    bool selecting = m_nFlags & kSelectionColours;
    for (int i = from; i < to; ++i) {
        int code = static_cast<unsigned char>(m_szText[i]);
        int w = GlyphWidth(code);
        if (code == '$') *accent = true;
        if (!w) continue;
        bool selected = selecting && i >= m_nSelStart && i <= m_nSelEnd;
        if (selected) {
            uint32_t colour = static_cast<uint32_t>(*accent ? m_nSelAccent : m_nSelColor);
            m_pFont->DrawCharOpaque(code, colour, static_cast<uint32_t>(m_nSelBack), x, y);
            FillLocked(*desc, x + w, y, 2, m_pFont->Height(), static_cast<uint32_t>(m_nSelBack));
        } else {
            m_pFont->DrawChar(code, static_cast<uint32_t>(*accent ? m_nAccent : m_nColor), x, y);
        }
        *accent = false;
        x += w + 2;
    }
    return x - start;
}

void CLxTextArea::Draw() {
    int state = GetState();
    CLxSurface* picture = m_pGroup ? m_pGroup->GetPicture(state & 7) : nullptr;
    if (!picture && m_pGroup) picture = m_pGroup->GetPicture((state & 3) | kEnabled);
    if (!picture && m_pGUI) picture = m_pGUI->m_pBackground;
    BlitRects(picture);
    RECT r;
    if (!m_pFont || !g_pDrawSurface || !(state & kVisible) || !GetDrawRect(&r)) return;
    LxSurfaceDesc desc;
    if (g_pDrawSurface->Lock(nullptr, &desc) != 0) return;
    m_pFont->Attach(&desc);
    Clamp();
    const int n = TextLength(), height = m_pFont->Height();
    const int left = m_rcLayout.left + 2, limit = (r.right & 0xFFF) - 2;
    const bool caret = m_nFlags & kEditing;
    int x = left, y = r.top;
    bool accent = false, breakNext = false;
    m_aLines[0] = 0;
    m_nLines = 1;
    for (int start = 0; start < n || (caret && start == n);) {
        int end = start;
        while (end < n && !EndsWord(m_szText[end]))
            ++end;
        if (end < n) ++end; // the separator belongs to the word
        int width = Width(start, end);
        if ((breakNext || x + width > limit) && x > left) {
            if (m_nLines == kMaxLines) break; // the table is full: the rest is not laid out
            m_aLines[m_nLines++] = start;
            x = left;
            y += height;
        }
        breakNext = end > start && m_szText[end - 1] == '#';
        int shown = end;
        while (shown > start && x + Width(start, shown) > limit)
            --shown; // a word wider than the line is cut
        if (caret && m_nCaret >= start && (m_nCaret < end || (m_nCaret == n && end == n))) {
            int cut = m_nCaret < shown ? m_nCaret : shown;
            x += DrawPart(&desc, start, cut, x, y, &accent);
            m_pFont->DrawChar('^', 0x808080, x - 2, y);
            x += DrawPart(&desc, cut, shown, x, y, &accent);
        } else {
            x += DrawPart(&desc, start, shown, x, y, &accent);
        }
        if (end == start) break; // the final empty word
        start = end;
    }
    m_aLines[m_nLines] = n + 1;
    m_pFont->Attach(nullptr);
    g_pDrawSurface->Unlock();
}

void CLxTextArea::OnKeyDown(CLxKeyEvent* event) {
    Clamp();
    const int n = TextLength();
    switch (event->m_nKey) {
    case VK_UP:
    case VK_DOWN: {
        int line = 0;
        while (line + 1 < m_nLines && m_aLines[line + 1] <= m_nCaret)
            ++line;
        int offset = m_nCaret - m_aLines[line];
        int to = event->m_nKey == VK_UP ? line - 1 : line + 1;
        if (to < 0 || to >= m_nLines) return;
        int caret = m_aLines[to] + offset;
        if (caret > m_aLines[to + 1] - 1) caret = m_aLines[to + 1] - 1;
        m_nCaret = caret;
        Clamp();
        break;
    }
    default:
        if (!LxEditKey(m_szText, n, &m_nCaret, event->m_nKey, m_nFlags & kAcceptsChars)) return;
    }
    Draw();
}

int CLxTextArea::CaretInLine(int from, int to, int start, int x) const {
    int caret = from;
    while (caret < to) {
        int w = GlyphWidth(static_cast<unsigned char>(m_szText[caret]));
        if (x < start + w / 2 + 2) break;
        ++caret;
        start += w + 2;
    }
    return caret;
}

void CLxTextArea::OnButtonUp(CLxMouseEvent* event) {
    RECT r;
    int height = m_pFont ? m_pFont->Height() : 0;
    if (!GetDrawRect(&r) || height <= 0) return;
    const int n = TextLength();
    int dy = event->m_nY - r.top;
    int line = dy >= 0 ? dy / height : -1;
    if (line >= 0 && line + 1 <= m_nLines) {
        int to = m_aLines[line + 1] < n ? m_aLines[line + 1] : n;
        m_nCaret = CaretInLine(m_aLines[line], to, r.left + 2, event->m_nX);
    } else {
        m_nCaret = n;
    }
    if (m_nCaret > 0 && !GlyphWidth(static_cast<unsigned char>(m_szText[m_nCaret - 1]))) --m_nCaret;
    Draw();
}

void CLxTextArea::OnChar(CLxKeyEvent* event) {
    int key = event->m_nKey;
    if (!(m_nFlags & kAcceptsChars) || key <= 0 || key > 255 || key == '^' || !m_pFont) return;
    RECT r;
    int w = GlyphWidth(key), n = TextLength(), height = m_pFont->Height();
    if (!w || n >= m_nLength || height <= 0 || !GetDrawRect(&r)) return;
    long long capacity =
        static_cast<long long>((r.right - r.left) & 0xFFF) * (r.bottom - r.top) / height;
    if (Width(0, n) + w + 3 >= capacity) return;
    Clamp();
    std::memmove(m_szText + m_nCaret + 1, m_szText + m_nCaret, n - m_nCaret + 1);
    m_szText[m_nCaret++] = static_cast<char>(key);
    Draw();
}
