// Bitmap fonts: loading the description and the base file, and drawing glyphs and text;
// see LxRLEFonts.h. All painting goes through the masks, which clip to the target.
#include "media/LxRLEFonts.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "core/Path.h"
#include "media/LxBytes.h"
#include "media/LxFile.h"
#include "media/LxRLEPen.h"
#include "reading/LxLetters.h"
#include "shell/LxXMLParser.h"

namespace {
constexpr size_t kMaxPath = 127;
constexpr size_t kMaxFolder = 255;
constexpr size_t kMaxName = 254;
constexpr size_t kRecordHeader = 13;
constexpr uint32_t kMaxRecord = 16384;
constexpr int kMaxTurned = 1024;

void Say(const char* format, const std::string& path) {
    std::printf(format, path.c_str());
    std::printf("\n");
    std::fflush(stdout);
}

int FloorDiv(int a, int b) {
    return a / b - (a % b != 0 && (a < 0) != (b < 0));
}

// The pixel steps of a turned glyph: 0, 1, 1, 1, 0, -1, -1, -1 repeated.
int Step(int i) {
    static const int table[8] = {0, 1, 1, 1, 0, -1, -1, -1};
    return table[i & 7];
}
} // namespace

bool CLxRLEFonts::Load(const char* descriptionPath) {
    for (CLxRLEBitmap& glyph : m_glyphs)
        glyph.Clear();
    m_path = descriptionPath ? descriptionPath : "";
    Attach(nullptr);
    m_nHeight = 0;
    if (m_path.size() > kMaxPath) {
        Say("Font path too long: %s", m_path);
        return false;
    }
    CLxXMLParser xml;
    if (!xml.Open(m_path.c_str())) {
        Say("Font not found: %s", m_path);
        return false;
    }
    std::string folder = talvik::FolderOf(m_path);
    if (folder.size() > kMaxFolder) return false;

    int code = -1; // the letter of the open "char", or -1 outside one
    while (char* tag = xml.NextTag()) {
        bool lower = LxTagStarts(tag, "lowercase"), upper = LxTagStarts(tag, "uppercase");
        if (LxTagStarts(tag, "Font")) {
            if (const char* base = xml.GetAttr(tag, "base")) LoadBase(folder + base);
        } else if (LxTagStarts(tag, "char")) {
            const char* name = xml.GetAttr(tag, "name");
            code = name ? DecodeLetter(name) : 0;
            if (code == 0) code = -1;
        } else if (LxTagStarts(tag, "/char")) {
            code = -1;
        } else if (code >= 0 && (lower || upper)) {
            const char* name = xml.GetAttr(tag, "name");
            if (!name) continue;
            std::string path = folder + name + ".rle";
            unsigned char letter = static_cast<unsigned char>(code);
            if (path.size() > kMaxName)
                Say("Glyph path too long: %s", path);
            else
                LoadGlyph(lower ? ToLower(letter) : ToUpper(letter), path);
        }
    }
    for (int c = 255; c >= 0; --c)
        if (m_glyphs[c].Data()) {
            m_nHeight = m_glyphs[c].m_nHeight;
            break;
        }
    return true;
}

bool CLxRLEFonts::LoadBase(const std::string& path) {
    CLxFile file;
    if (!file.Open(path.c_str())) {
        Say("Font base file not found: %s", path);
        return false;
    }
    int size = file.GetSize();
    std::vector<uint8_t> bytes(static_cast<size_t>(std::max(size, 0)));
    bool read = size >= 0 && file.Read(bytes.data(), size) == size;
    file.Close();
    if (!read) {
        Say("Font base file unreadable: %s", path);
        return false;
    }
    size_t pos = 0;
    while (pos < bytes.size()) {
        const uint8_t* r = bytes.data() + pos;
        size_t left = bytes.size() - pos;
        uint32_t length = left >= kRecordHeader ? LxRead32(r + 1) : 0;
        // After a short or lying record nothing that follows can be trusted.
        if (left < kRecordHeader || length > kMaxRecord || length > left - kRecordHeader) {
            std::printf("Font base file %s: bad glyph record at byte %zu\n", path.c_str(), pos);
            std::fflush(stdout);
            return false;
        }
        m_glyphs[r[0]].SetData(LxRead32(r + 5), static_cast<int>(LxRead16(r + 9)),
                               static_cast<int>(LxRead16(r + 11)), static_cast<int>(length),
                               r + kRecordHeader);
        pos += kRecordHeader + length;
    }
    return true;
}

void CLxRLEFonts::LoadGlyph(int code, const std::string& path) {
    if (m_glyphs[code].m_nWidth > 0 && !CLxFile::Exists(path.c_str())) return;
    m_glyphs[code].Load(path.c_str());
}

void CLxRLEFonts::Attach(const LxSurfaceDesc* locked) {
    m_target = locked ? *locked : LxSurfaceDesc{};
}

void CLxRLEFonts::SetColors(int r, int g, int b, int ar, int ag, int ab) {
    auto rgb = [](int r, int g, int b) {
        return static_cast<uint32_t>((r & 0xFF) << 16 | (g & 0xFF) << 8 | (b & 0xFF));
    };
    m_nColor = rgb(r, g, b);
    m_nAccent = ar == -1 ? m_nColor : rgb(ar, ag, ab);
}

const CLxRLEBitmap* CLxRLEFonts::Glyph(int code) const {
    if (code < 0 || code > 255 || m_glyphs[code].m_nWidth <= 0) return nullptr;
    return &m_glyphs[code];
}

int GlyphWidth(const CLxRLEFonts* font, int code) {
    const CLxRLEBitmap* glyph = font ? font->Glyph(code) : nullptr;
    return glyph ? glyph->m_nWidth : 0;
}

int CLxRLEFonts::DrawChar(int code, uint32_t colour, int x, int y) {
    const CLxRLEBitmap* glyph = Glyph(code);
    if (!glyph) return 0;
    glyph->Paint(m_target, x, y, colour);
    return glyph->m_nWidth;
}

int CLxRLEFonts::DrawCharOpaque(int code, uint32_t colour, uint32_t background, int x, int y) {
    const CLxRLEBitmap* glyph = Glyph(code);
    if (!glyph) return 0;
    glyph->PaintOpaque(m_target, x, y, colour, background);
    return glyph->m_nWidth;
}

int CLxRLEFonts::DrawCharRotated(int code, uint32_t colour, int x, int y, int direction) {
    const CLxRLEBitmap* glyph = Glyph(code);
    CLxRLEPen pen(m_target, colour);
    // A turned copy is a square of the longer side; a glyph beyond any real size (a
    // lying record) is not expanded into one.
    if (!glyph || !pen.CanDraw() || std::max(glyph->m_nWidth, glyph->m_nHeight) > kMaxTurned)
        return code;
    int d = direction & 15;
    CLxRLEBitmap copy(*glyph);
    int side = std::max(copy.m_nWidth, copy.m_nHeight);
    copy.Fit(side, side);
    if (d & 1) copy.Scale(side * 3 / 4, side * 3 / 4);
    int n = std::max(copy.m_nWidth, copy.m_nHeight);
    int m = d & 1 ? n : n / 2;
    int sigma = d < 8 ? 1 : -1;
    x -= sigma * Step(d + 3) * m;
    y += Step(d + 1) * m;
    // Along a row each pixel moves by (dx, dy); each stored row starts (rx, ry) further.
    int dx = sigma * Step(d + 2), dy = -Step(d);
    int rx = -sigma * Step(d), ry = -Step(d + 2);
    copy.EachRun([&](int px, int row, int count, bool set) {
        if (!set) return;
        int stored = copy.m_nHeight - 1 - row;
        int sx = x + stored * rx + px * dx, sy = y + stored * ry + px * dy;
        for (int i = 0; i < count; ++i)
            pen.Span(sx + i * dx, sy + i * dy, 1);
    });
    return n;
}

int CLxRLEFonts::DrawText(const char* text, int x, int y) {
    int start = x;
    uint32_t colour = m_nColor;
    for (int used = 0; text && *text; text += used) {
        int code = DecodeLetter(text, &used);
        if (used <= 0) break;
        if (code == '$') {
            colour = m_nAccent;
            continue;
        }
        if (code == '@') {
            x = FloorDiv(x + 32, 32) * 32;
            continue;
        }
        if (const CLxRLEBitmap* glyph = Glyph(code)) {
            glyph->Paint(m_target, x, y, colour);
            x += glyph->m_nWidth + 2;
        }
        colour = m_nColor;
    }
    return x - start;
}

int CLxRLEFonts::DrawRawText(const char* bytes, int x, int y) {
    int start = x;
    uint32_t colour = m_nColor;
    for (; bytes && *bytes; ++bytes) {
        int code = static_cast<unsigned char>(*bytes);
        if (const CLxRLEBitmap* glyph = Glyph(code)) {
            glyph->Paint(m_target, x, y, colour);
            x += glyph->m_nWidth + 2;
            colour = m_nColor;
        } else if (code == '$') {
            colour = m_nAccent;
        }
    }
    return x - start;
}

int CLxRLEFonts::TextWidth(const char* text) const {
    int width = 0;
    for (int used = 0; text && *text; text += used) {
        int code = DecodeLetter(text, &used);
        if (used <= 0) break;
        if (const CLxRLEBitmap* glyph = Glyph(code)) width += glyph->m_nWidth + 2;
    }
    return width;
}

int CLxRLEFonts::RawTextWidth(const char* bytes) const {
    if (!bytes) return 0;
    size_t length = std::strlen(bytes);
    if (std::string_view(bytes).starts_with("{{")) {
        if (length < 5) return 0;
        int width = 0, height = 0;
        std::string name(bytes + 2, length - 4);
        return ReadBitmapSize(name.c_str(), &width, &height) && width > 0 ? width : 0;
    }
    int width = 0;
    for (size_t i = 0; i < length; ++i)
        if (const CLxRLEBitmap* glyph = Glyph(static_cast<unsigned char>(bytes[i])))
            width += glyph->m_nWidth + 2;
    return width;
}
