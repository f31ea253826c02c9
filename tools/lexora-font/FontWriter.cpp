// The font renderer; see FontWriter.h. A glyph is composed on a one-byte-per-pixel
// canvas from the FreeType bitmaps of its characters (grey levels of 128 and more are
// set), then encoded row by row with the program's own row encoder.
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
    std::string Record(int code, const std::string& latin2) {
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

bool WriteFont(const LxFontRequest& request, int* glyphs, std::string* error) {
    *glyphs = 0;
    Renderer renderer;
    if (!renderer.Open(request, error)) return false;
    std::string base;
    for (const auto& [code, text] : Letters()) {
        std::string record = renderer.Record(code, text);
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
