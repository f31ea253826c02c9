// The font renderer; see FontWriter.h. A glyph is composed on a one-byte-per-pixel
// canvas from the FreeType bitmaps of its characters (grey levels of 128 and more are
// set), styled, then encoded row by row with the program's own row encoder. The outline
// and inline styles keep the pixels lying within a band of distances from the glyph's
// edge, measured with a 3-4 chamfer distance so that round letters keep round lines.
#include "FontWriter.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <vector>

#include "core/TextCodec.h"
#include "media/LxRLERows.h"
#include "reading/LxLetters.h"

namespace {
constexpr size_t kMaxRecord = 16384;

void Put16(std::string& out, int v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8 & 0xFF);
}
void Put32(std::string& out, uint32_t v) {
    Put16(out, static_cast<int>(v & 0xFFFF));
    Put16(out, static_cast<int>(v >> 16));
}

bool Save(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary);
    file << bytes;
    return static_cast<bool>(file.flush());
}

// The codes a font carries and the text each is drawn from.
std::vector<std::pair<int, std::string>> Letters() {
    std::vector<std::pair<int, std::string>> letters;
    for (int c = 32; c < 127; ++c)
        if (c != '$' && c != '@') letters.push_back({c, std::string(1, static_cast<char>(c))});
    for (int c = 192; c < 256; ++c) {
        std::string text = EncodeLetter(static_cast<unsigned char>(c));
        // The text forms of the capitals Ő, Ö, Ú, Ű, Ü hold the small letter; their
        // glyphs show the capital (in Latin-2 it lies 0x20 below the small one).
        if (c < 224 && static_cast<unsigned char>(text[0]) >= 0xE0)
            text[0] = static_cast<char>(static_cast<unsigned char>(text[0]) - 0x20);
        letters.push_back({c, text});
    }
    return letters;
}

// The line width of the outline and inline styles at a pixel height: two pixels up to
// letters of 191 pixels, then growing slowly, so that a big outlined letter keeps room
// inside its strokes for the colour that fills it.
int LineWidth(int pixelHeight) {
    return std::max(2, pixelHeight / 64);
}

// Each set pixel's chamfer distance (3 per straight step, 4 per diagonal step) to the
// nearest unset pixel; the canvas's surroundings count as unset.
std::vector<int> InsideDistance(const std::vector<uint8_t>& canvas, int width, int height) {
    std::vector<int> d(canvas.size());
    auto at = [&](int x, int y) {
        return x < 0 || y < 0 || x >= width || y >= height ? 0
                                                           : d[static_cast<size_t>(y * width + x)];
    };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            size_t i = static_cast<size_t>(y * width + x);
            if (!canvas[i]) continue;
            d[i] = std::min(
                {at(x - 1, y) + 3, at(x, y - 1) + 3, at(x - 1, y - 1) + 4, at(x + 1, y - 1) + 4});
        }
    for (int y = height - 1; y >= 0; --y)
        for (int x = width - 1; x >= 0; --x) {
            size_t i = static_cast<size_t>(y * width + x);
            if (!canvas[i]) continue;
            d[i] = std::min({d[i], at(x + 1, y) + 3, at(x, y + 1) + 3, at(x + 1, y + 1) + 4,
                             at(x - 1, y + 1) + 4});
        }
    return d;
}

void ApplyStyle(std::vector<uint8_t>& canvas, int width, int height, LxFontStyle style,
                int pixelHeight) {
    if (style == LxFontStyle::Plain) return;
    if (style == LxFontStyle::Mirrored) {
        for (int y = 0; y < height; ++y)
            std::reverse(canvas.begin() + y * width, canvas.begin() + (y + 1) * width);
        return;
    }
    // Distances are in thirds of a pixel. The inline is the band just inside the
    // outline, so the two drawn together give a double-width line.
    int line = 3 * LineWidth(pixelHeight);
    int from = style == LxFontStyle::Outline ? 0 : line;
    std::vector<int> d = InsideDistance(canvas, width, height);
    for (size_t i = 0; i < canvas.size(); ++i)
        canvas[i] = d[i] > from && d[i] <= from + line;
}

class Renderer {
  public:
    ~Renderer() {
        if (m_face) FT_Done_Face(m_face);
        if (m_library) FT_Done_FreeType(m_library);
    }
    bool Open(const LxFontRequest& request, std::string* error) {
        if (FT_Init_FreeType(&m_library) != 0) return Fail(error, "cannot start FreeType");
        if (FT_New_Face(m_library, request.ttfPath.c_str(), 0, &m_face) != 0)
            return Fail(error, "cannot open font " + request.ttfPath);
        if (request.pixelHeight < 4 || request.pixelHeight > 1024 ||
            FT_Set_Pixel_Sizes(m_face, 0, static_cast<FT_UInt>(request.pixelHeight)) != 0)
            return Fail(error, "unusable pixel height " + std::to_string(request.pixelHeight));
        m_ascender = static_cast<int>((m_face->size->metrics.ascender + 63) >> 6);
        int descender = static_cast<int>(-m_face->size->metrics.descender + 63) >> 6;
        m_height = m_ascender + descender;
        return true;
    }

    // The record of one glyph; empty when the text cannot be drawn.
    std::string Record(int code, const std::string& latin2, LxFontStyle style, int pixelHeight) {
        std::wstring text = talvik::Latin2ToWide(latin2);
        int width = 0;
        for (wchar_t c : text) {
            if (FT_Load_Char(m_face, static_cast<FT_ULong>(c), FT_LOAD_DEFAULT) != 0) return {};
            width += static_cast<int>((m_face->glyph->advance.x + 32) >> 6);
        }
        width = std::max(width, 1);
        std::vector<uint8_t> canvas(static_cast<size_t>(width * m_height));
        int pen = 0;
        for (wchar_t c : text) {
            if (FT_Load_Char(m_face, static_cast<FT_ULong>(c), FT_LOAD_RENDER) != 0) return {};
            const FT_GlyphSlot g = m_face->glyph;
            Blit(canvas, width, g->bitmap, pen + g->bitmap_left, m_ascender - g->bitmap_top);
            pen += static_cast<int>((g->advance.x + 32) >> 6);
        }
        ApplyStyle(canvas, width, m_height, style, pixelHeight);
        std::vector<uint8_t> rows;
        for (int y = m_height - 1; y >= 0; --y)
            LxEncodeRow(canvas.data() + static_cast<size_t>(y * width), width, rows);
        if (rows.size() > kMaxRecord || width > 65535) return {};
        std::string record(1, static_cast<char>(code));
        Put32(record, static_cast<uint32_t>(rows.size()));
        Put32(record, 0);
        Put16(record, width);
        Put16(record, m_height);
        record.append(rows.begin(), rows.end());
        return record;
    }

  private:
    static bool Fail(std::string* error, const std::string& text) {
        *error = text;
        return false;
    }
    void Blit(std::vector<uint8_t>& canvas, int width, const FT_Bitmap& bitmap, int left,
              int top) const {
        for (unsigned r = 0; r < bitmap.rows; ++r) {
            int y = top + static_cast<int>(r);
            if (y < 0 || y >= m_height) continue;
            const uint8_t* src = bitmap.buffer + static_cast<ptrdiff_t>(r) * bitmap.pitch;
            for (unsigned c = 0; c < bitmap.width; ++c) {
                int x = left + static_cast<int>(c);
                if (x >= 0 && x < width && src[c] >= 128)
                    canvas[static_cast<size_t>(y * width + x)] = 1;
            }
        }
    }

    FT_Library m_library = nullptr;
    FT_Face m_face = nullptr;
    int m_ascender = 0;
    int m_height = 0;
};
} // namespace

bool ParseFontStyle(const std::string& name, LxFontStyle* style) {
    static const std::pair<const char*, LxFontStyle> kStyles[] = {
        {"plain", LxFontStyle::Plain},
        {"mirrored", LxFontStyle::Mirrored},
        {"outline", LxFontStyle::Outline},
        {"inline", LxFontStyle::Inline}};
    for (const auto& [styleName, value] : kStyles)
        if (name == styleName) {
            *style = value;
            return true;
        }
    return false;
}

bool WriteFont(const LxFontRequest& request, int* glyphs, std::string* error) {
    *glyphs = 0;
    Renderer renderer;
    if (!renderer.Open(request, error)) return false;
    std::string base;
    for (const auto& [code, text] : Letters()) {
        std::string record = renderer.Record(code, text, request.style, request.pixelHeight);
        if (record.empty()) continue;
        base += record;
        ++*glyphs;
    }
    std::string prefix = request.folder.empty() ? "" : request.folder + "/";
    std::string description = "<Font base=\"" + request.name + ".fnt\">\n";
    if (!Save(prefix + request.name + ".fnt", base) ||
        !Save(prefix + request.name + ".xml", description)) {
        *error = "cannot write " + prefix + request.name + ".fnt/.xml";
        return false;
    }
    return true;
}
