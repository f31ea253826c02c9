// Texts, text fields and number fields; see LxText.h. The text is centred vertically in
// its layout rectangle and aligned left, right or centred in it; every glyph takes its
// width and 2 pixels. A field refuses a character it cannot show, one past its length
// and one that would make the text wider than its first rectangle.
#include "ui/LxText.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "media/LxFontServer.h"
#include "media/LxRLEFonts.h"
#include "media/LxSurface.h"
#include "shell/LxXMLParser.h"
#include "ui/LxButton.h"
#include "ui/LxCGUI.h"
#include "ui/LxGroup.h"

CLxRLEFonts* LxControlFont(const char* name) {
    std::string path = std::string("data\\fonts\\") + (name && *name ? name : "tnr32");
    if (path.find(".xml") == std::string::npos && path.find(".XML") == std::string::npos)
        path += ".xml";
    return ServedFont(path.c_str());
}

bool LxReadColour(CLxXMLParser* reader, const char* tag, const char* name, int* out) {
    const char* value = reader->GetAttr(tag, name);
    if (!value) return false;
    unsigned hex = 0;
    if (std::strchr(value, 'x') || std::strchr(value, 'X'))
        *out = std::sscanf(value, "%x", &hex) == 1 ? static_cast<int>(hex) : 0;
    else
        *out = std::atoi(value);
    return true;
}

bool LxReadRange(CLxXMLParser* reader, const char* tag, const char* name, int* min, int* max) {
    const char* value = reader->GetAttr(tag, name);
    int a = 0, b = 0;
    if (!value || std::sscanf(value, "%d , %d", &a, &b) != 2) return false;
    *min = a;
    *max = b;
    return true;
}

namespace {
CLxControl::Descriptor Control(const CLxText::TextDescriptor* d) {
    return d ? d->control : CLxControl::Descriptor{nullptr, nullptr, nullptr, nullptr, 0};
}

const CLxControl::Descriptor* Ref(const CLxControl::Descriptor& d) {
    return &d;
}

// The pixel value of an RGB value on the drawing surface's format (0x00RRGGBB).
void SetFontColour(CLxRLEFonts* font, int rgb) {
    font->SetColors(rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF);
}
} // namespace

CLxText::CLxText(const TextDescriptor* d, int type) : CLxControl(Ref(Control(d)), type) {
    if (!d) {
        m_szText = m_szOwnEmpty;
        return;
    }
    m_rcLayout = d->layout;
    m_nColor = d->color;
    m_nHoverColor = d->hoverColor;
    m_nAlign = d->align;
    Init(d->font, nullptr, d->length);
}

CLxText::CLxText(CLxCGUI* gui, CLxGroup* group, CLxXMLParser* reader, const char* tag, int type)
    : CLxControl(gui, group, reader, tag, type) {
    m_nFlags = type == kText ? kVisible | kAcceptsChars | kEditing
                             : kEnabled | kVisible | kAcceptsChars | kEditing;
    LxTextTag t = LxReadTextTag(reader, tag);
    if (const char* a = reader->GetAttr(tag, "align"))
        m_nAlign = !std::strcmp(a, "right") ? 1 : !std::strcmp(a, "center") ? 2 : 0;
    LxReadColour(reader, tag, "color", &m_nColor);
    m_nHoverColor = m_nColor;
    LxReadColour(reader, tag, "acolor", &m_nHoverColor);
    m_rcLayout = t.layout;
    Init(t.font.c_str(), t.text.c_str(), t.length);
}

void CLxText::Init(const char* font, const char* text, int length) {
    if (length > kMaxLength) length = kMaxLength;
    if (length < 0) length = 0;
    m_pFont = LxControlFont(font);
    m_nLength = length;
    m_szText = LxControlText(m_pGUI, &m_nLength, m_szOwnEmpty, text);
}

int CLxText::TextLength() const {
    return static_cast<int>(std::strlen(m_szText));
}

void CLxText::ClampCaret() {
    int n = TextLength();
    if (m_nCaret > n) m_nCaret = n;
    if (m_nCaret < 0) m_nCaret = 0;
}

int CLxText::GlyphWidth(int code) const {
    return ::GlyphWidth(m_pFont, code & 0xFF);
}

void CLxText::SetRect(const RECT* rect) {
    CLxControl::SetRect(rect);
    if (rect) m_rcLayout = *rect;
}

void CLxText::SetText(const char* text) {
    std::memset(m_szText, 0, m_nLength + 1);
    if (text) std::strncpy(m_szText, text, m_nLength);
    ClampCaret();
    Draw();
}

int CLxText::StartX() const {
    int width = m_pFont ? m_pFont->RawTextWidth(m_szText) : 0;
    if (m_nAlign == 1) return m_rcLayout.right - width - 2;
    if (m_nAlign == 2) return (m_rcLayout.left + m_rcLayout.right - width) / 2;
    return m_rcLayout.left + 2;
}

void CLxText::Draw() {
    int state = GetState();
    CLxSurface* picture = m_pGroup ? m_pGroup->GetPicture(state & 7) : nullptr;
    if (!picture && m_pGroup) picture = m_pGroup->GetPicture((state & 3) | kEnabled);
    if (!picture && m_pGUI) picture = m_pGUI->m_pBackground;
    BlitRects(picture);
    if (!m_pFont || !g_pDrawSurface || !(state & kVisible)) return;
    LxSurfaceDesc desc;
    if (g_pDrawSurface->Lock(nullptr, &desc) != 0) return;
    m_pFont->Attach(&desc);
    SetFontColour(m_pFont, Is(kHot) ? m_nHoverColor : m_nColor);
    int x = StartX() + OriginX();
    int y = (m_rcLayout.top + m_rcLayout.bottom - m_pFont->Height()) / 2 + OriginY();
    ClampCaret();
    if (Is(kHot | kEnabled | kEditing)) {
        std::string before(m_szText, m_nCaret);
        x += m_pFont->DrawRawText(before.c_str(), x, y);
        m_pFont->DrawChar('^', static_cast<uint32_t>(m_nColor ^ 0x1F1F1F), x - 2, y);
        m_pFont->DrawRawText(m_szText + m_nCaret, x, y);
    } else {
        m_pFont->DrawRawText(m_szText, x, y);
    }
    m_pFont->Attach(nullptr);
    g_pDrawSurface->Unlock();
}

void CLxText::OnKeyDown(CLxKeyEvent* event) {
    if (!(m_nFlags & kEditing)) return;
    ClampCaret();
    int n = TextLength();
    if (LxEditKey(m_szText, n, &m_nCaret, event->m_nKey, true)) Draw();
}

void CLxText::OnButtonUp(CLxMouseEvent* event) {
    int start = StartX() + OriginX();
    int n = TextLength();
    m_nCaret = 0;
    while (m_nCaret < n) {
        int w = GlyphWidth(static_cast<unsigned char>(m_szText[m_nCaret]));
        if (event->m_nX < start + w / 2 + 2) break;
        ++m_nCaret;
        start += w + 2;
    }
    if (m_nCaret > 0 && !GlyphWidth(static_cast<unsigned char>(m_szText[m_nCaret - 1]))) --m_nCaret;
    Draw();
}

void CLxText::Insert(int key) {
    int code = key & 0xFF;
    if (key <= 0 || key > 255 || code == '^' || !m_pFont) return;
    int w = GlyphWidth(code);
    int n = TextLength();
    if (!w || n >= m_nLength || m_nRects <= 0) return;
    int room = (m_pRects[0].right - m_pRects[0].left) & 0xFFF;
    if (m_pFont->RawTextWidth(m_szText) + w + 3 >= room) return;
    ClampCaret();
    std::memmove(m_szText + m_nCaret + 1, m_szText + m_nCaret, n - m_nCaret + 1);
    m_szText[m_nCaret++] = static_cast<char>(code);
    Draw();
}

void CLxTextField::OnChar(CLxKeyEvent* event) {
    if ((m_nFlags & (kAcceptsChars | kEditing)) != (kAcceptsChars | kEditing)) return;
    Insert(event->m_nKey);
}

CLxNumberField::CLxNumberField(const NumberDescriptor* d)
    : CLxText(d ? &d->text : nullptr, kNumberField) {
    if (!d) return;
    m_nMin = d->min;
    m_nMax = d->max;
}

CLxNumberField::CLxNumberField(CLxCGUI* gui, CLxGroup* group, CLxXMLParser* reader, const char* tag)
    : CLxText(gui, group, reader, tag, kNumberField) {
    LxReadRange(reader, tag, "range", &m_nMin, &m_nMax);
}

void CLxNumberField::OnChar(CLxKeyEvent* event) {
    if (!(m_nFlags & kAcceptsChars) || event->m_nKey < '0' || event->m_nKey > '9') return;
    Insert(event->m_nKey);
}

int CLxNumberField::GetValue() const {
    int v = std::atoi(m_szText);
    if (v < m_nMin) v = m_nMin;
    if (v > m_nMax) v = m_nMax;
    return v;
}

void CLxNumberField::SetValue(int v) {
    if (v < m_nMin) v = m_nMin;
    if (v > m_nMax) v = m_nMax;
    char text[16];
    std::snprintf(text, sizeof text, "%d", v);
    SetText(text); // cut to the field's length
}

LxTextTag LxReadTextTag(CLxXMLParser* reader, const char* tag) {
    LxTextTag t{};
    t.length = -1;
    bool hasLength = reader->GetInt(tag, "length", &t.length);
    if (const char* text = reader->GetAttr(tag, "text")) t.text = text;
    if (const char* font = reader->GetAttr(tag, "font")) t.font = font;
    // The rectangle is read after the other attributes, as before: GetRect remembers it
    // for the tags that follow.
    LxRect r = reader->GetRect(tag);
    t.layout = RECT{r.left, r.top, r.right, r.bottom};
    if (!hasLength) t.length = t.text.empty() ? 31 : static_cast<int>(t.text.size());
    if (t.length < 0) t.length = 32;
    return t;
}

bool LxEditKey(char* text, int length, int* caret, int key, bool mayDelete) {
    switch (key) {
    case VK_BACK:
        if (!mayDelete || *caret == 0) return false;
        --*caret;
        std::memmove(text + *caret, text + *caret + 1, length - *caret);
        return true;
    case VK_DELETE:
        if (!mayDelete || *caret >= length) return false;
        std::memmove(text + *caret, text + *caret + 1, length - *caret);
        return true;
    case VK_ESCAPE:
        text[0] = 0;
        *caret = 0;
        return true;
    case VK_END:
        *caret = length;
        return true;
    case VK_HOME:
        *caret = 0;
        return true;
    case VK_LEFT:
        if (*caret > 0) --*caret;
        return true;
    case VK_RIGHT:
        if (*caret < length) ++*caret;
        return true;
    default:
        return false;
    }
}
