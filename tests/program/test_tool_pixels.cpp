// The data tools' output drawn by the program and compared pixel by pixel with its
// source. Fonts: FreeType renders the letters here again into glyph boxes by the font
// tool's rule (the face's ascender to its descender, pen at the rounded advances, grey
// levels of 128 and more set), and text the program draws with the written font must
// match those boxes at every pixel. Pictures: a PNG or BMP written here goes through the
// picture tool's reader and encoders, and the drawn mask and layered picture must match
// the tool's rules (mask: dark and opaque, or alpha above a threshold; layers: opaque
// colours over the commonest one, transparent pixels as that background).
#include <gtest/gtest.h>
#include <png.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "FontWriter.h"
#include "PictureWriter.h"
#include "media/LxDraw.h"
#include "media/LxFile.h"
#include "media/LxMLRLEBitmap.h"
#include "media/LxRLEBitmap.h"
#include "media/LxRLEFonts.h"
#include "reading/LxLetters.h"
#include "support/TempFolder.h"

namespace {

const char* const kFonts = "/usr/share/fonts/truetype/dejavu/";

// Expected pixels of a surface, with the first difference from a drawn one.
struct Canvas {
    int width, height;
    std::vector<uint32_t> pixels;
    Canvas(int w, int h, uint32_t fill) : width(w), height(h), pixels(size_t(w) * h, fill) {}
    void Set(int x, int y, uint32_t colour) {
        if (x >= 0 && y >= 0 && x < width && y < height) pixels[size_t(y) * width + x] = colour;
    }
    // "" when surface matches every pixel, else where and how it differs first, and the
    // number of differing pixels.
    std::string Compare(CLxSurface* surface) const {
        std::string first;
        int wrong = 0;
        for (int y = 0; y < height; y++)
            for (int x = 0; x < width; x++) {
                uint32_t want = pixels[size_t(y) * width + x], got = GetPixel(surface, x, y);
                if (want == got) continue;
                if (!wrong++) {
                    char text[80];
                    std::snprintf(text, sizeof text, "(%d,%d) drawn %06X, expected %06X", x, y, got,
                                  want);
                    first = text;
                }
            }
        return wrong ? first + "; " + std::to_string(wrong) + " pixels differ" : "";
    }
};

void Fill(CLxSurface* surface, uint32_t rgb) {
    FillRectColor(surface, nullptr, rgb);
}

// FreeType's rendering of glyph boxes, by the font tool's rule.
class Reference {
  public:
    ~Reference() {
        if (m_face) FT_Done_Face(m_face);
        if (m_library) FT_Done_FreeType(m_library);
    }
    bool Open(const std::string& path, int pixels) {
        if (FT_Init_FreeType(&m_library) || FT_New_Face(m_library, path.c_str(), 0, &m_face) ||
            FT_Set_Pixel_Sizes(m_face, 0, FT_UInt(pixels)))
            return false;
        m_ascender = int((m_face->size->metrics.ascender + 63) >> 6);
        height = m_ascender + int((-m_face->size->metrics.descender + 63) >> 6);
        return true;
    }
    // The set pixels of text's box (rows top first) and its width.
    std::vector<bool> Box(const std::wstring& text, int* width) {
        *width = 0;
        for (wchar_t c : text) {
            EXPECT_EQ(FT_Load_Char(m_face, FT_ULong(c), FT_LOAD_DEFAULT), 0);
            *width += int((m_face->glyph->advance.x + 32) >> 6);
        }
        *width = std::max(*width, 1);
        std::vector<bool> box(size_t(*width) * height);
        int pen = 0;
        for (wchar_t c : text) {
            EXPECT_EQ(FT_Load_Char(m_face, FT_ULong(c), FT_LOAD_RENDER), 0);
            const FT_Bitmap& b = m_face->glyph->bitmap;
            EXPECT_EQ(b.pixel_mode, FT_PIXEL_MODE_GRAY); // 8-bit grey levels
            for (unsigned r = 0; r < b.rows; r++)
                for (unsigned col = 0; col < b.width; col++) {
                    int x = pen + m_face->glyph->bitmap_left + int(col);
                    int y = m_ascender - m_face->glyph->bitmap_top + int(r);
                    if (x >= 0 && x < *width && y >= 0 && y < height &&
                        b.buffer[ptrdiff_t(r) * b.pitch + col] >= 128)
                        box[size_t(y) * *width + x] = true;
                }
            pen += int((m_face->glyph->advance.x + 32) >> 6);
        }
        return box;
    }
    int height = 0;

  private:
    FT_Library m_library = nullptr;
    FT_Face m_face = nullptr;
    int m_ascender = 0;
};

struct FontCase {
    const char* title;
    const char* file;
    int pixels;
};

class ToolFontPixels : public TempFolderTest, public ::testing::WithParamInterface<FontCase> {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        CLxFile::SetRoots("", "data\\");
    }
};

// One letter of the drawn text: as the program writes it, as the font renders it.
struct Piece {
    const char* text;
    const wchar_t* wide;
    bool accent; // drawn after "$"
};

const Piece kPieces[] = {
    {"W", L"W", false},
    {"g", L"g", false},
    {"j", L"j", true},
    {"cs", L"cs", false},
    {"ő", L"ő", false},
    {"Dzs", L"Dzs", true},
    {"Ű", L"Ű", false},
    {"Ö", L"Ö", false},
    {"Öő", L"Öő", false},
    {"Q", L"Q", false},
    {"@", L"", false}, // moves to the next multiple of
                       // 32 pixels
    {"y", L"y", false},
    {".", L".", false},
};

TEST_P(ToolFontPixels, DrawnTextMatchesFreeTypeAtEveryPixel) {
    const FontCase& c = GetParam();
    std::string ttf = std::string(kFonts) + c.file;
    if (!std::filesystem::exists(ttf)) GTEST_SKIP() << ttf << " is not installed";
    std::filesystem::create_directories("f");
    int glyphs = 0;
    std::string error;
    ASSERT_TRUE(WriteFont(LxFontRequest{ttf, c.pixels, "f", "t"}, &glyphs, &error)) << error;
    CLxRLEFonts font;
    ASSERT_TRUE(font.Load("f\\t.xml"));
    Reference reference;
    ASSERT_TRUE(reference.Open(ttf, c.pixels));
    const int h = reference.height;
    ASSERT_EQ(font.Height(), h);

    const uint32_t white = 0xFFFFFF, red = 0xFF0000, green = 0x00FF00, grey = 0x303030;
    const uint32_t background = 0x000040;
    CLxSurface surface;
    surface.Create(40 * c.pixels, 2 * h + 12);
    Fill(&surface, background);
    Canvas expected(40 * c.pixels, 2 * h + 12, background);
    LxSurfaceDesc desc;
    ASSERT_EQ(surface.Lock(nullptr, &desc), 0);
    font.Attach(&desc);
    font.SetColors(255, 255, 255, 255, 0, 0);

    // A line of text: glyph boxes side by side, 2 pixels apart, from (3, 4).
    std::string text;
    int x = 3, measured = 0; // TextWidth counts no tabs
    for (const Piece& piece : kPieces) {
        text += std::string(piece.accent ? "$" : "") + piece.text;
        if (!*piece.wide) {
            x = (x + 32) / 32 * 32;
            continue;
        }
        int width;
        std::vector<bool> box = reference.Box(piece.wide, &width);
        const CLxRLEBitmap* glyph = font.Glyph(DecodeLetter(piece.text));
        ASSERT_NE(glyph, nullptr) << piece.text;
        EXPECT_EQ(glyph->m_nWidth, width) << piece.text;
        for (int row = 0; row < h; row++)
            for (int col = 0; col < width; col++)
                if (box[size_t(row) * width + col])
                    expected.Set(x + col, 4 + row, piece.accent ? red : white);
        x += width + 2;
        measured += width + 2;
    }
    EXPECT_EQ(font.DrawText(text.c_str(), 3, 4), x - 3);
    EXPECT_EQ(font.TextWidth(text.c_str()), measured);

    // A glyph drawn opaque paints its whole box: the clear pixels in the background.
    int width;
    std::vector<bool> box = reference.Box(L"ő", &width);
    EXPECT_EQ(font.DrawCharOpaque(DecodeLetter("ő"), green, grey, 5, h + 8), width);
    for (int row = 0; row < h; row++)
        for (int col = 0; col < width; col++)
            expected.Set(5 + col, h + 8 + row, box[size_t(row) * width + col] ? green : grey);
    font.Attach(nullptr);
    EXPECT_EQ(expected.Compare(&surface), "");
}

const FontCase kFontCases[] = {
    {"sans 20", "DejaVuSans.ttf", 20},
    {"serif bold 13", "DejaVuSerif-Bold.ttf", 13},
    {"mono 31", "DejaVuSansMono.ttf", 31},
};

template <typename Case> std::string Title(const ::testing::TestParamInfo<Case>& info) {
    std::string name;
    for (const char* p = info.param.title; *p; p++)
        name += std::isalnum(uint8_t(*p)) ? *p : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Fonts, ToolFontPixels, ::testing::ValuesIn(kFontCases), Title<FontCase>);

// The source picture, 300 x 20, in three bands: black with a white end (a black run
// longer than one run byte), five colours under alpha levels either side of the opaque
// limit, and opaque greys whose luminance is their level (every threshold's edge).
LxImage Source() {
    const uint32_t colours[] = {0x102030, 0xFF0000, 0x00FF00, 0x0000FF, 0xE0E0E0};
    const uint32_t alphas[] = {0xFF, 0x80, 0x7F, 0x00, 0xFF};
    LxImage image;
    image.width = 300;
    image.height = 20;
    for (int y = 0; y < image.height; y++)
        for (int x = 0; x < image.width; x++) {
            uint32_t p;
            if (y < 6)
                p = x < 270 ? 0xFF000000 : 0xFFFFFFFF;
            else if (y < 12)
                p = alphas[(x / 2 + y) % 5] << 24 | colours[(x / 5 + y) % 5];
            else
                p = 0xFF000000 | 0x010101u * uint32_t((x * 7 + y * 3) % 256);
            image.pixels.push_back(p);
        }
    return image;
}

bool WritePng(const LxImage& image, const char* path) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = png_uint_32(image.width);
    png.height = png_uint_32(image.height);
    png.format = PNG_FORMAT_BGRA; // little-endian 0xAARRGGBB words
    return png_image_write_to_file(&png, path, 0, image.pixels.data(), 0, nullptr);
}

// A BMP of the picture through the program's own writer; its pixels are all opaque.
bool WriteBmp(LxImage* image, const char* path) {
    CLxSurface surface;
    surface.Create(image->width, image->height);
    LxSurfaceDesc desc;
    if (surface.Lock(nullptr, &desc) != 0) return false;
    for (int y = 0; y < image->height; y++)
        for (int x = 0; x < image->width; x++) {
            uint32_t& p = image->pixels[size_t(y) * image->width + x];
            p |= 0xFF000000;
            reinterpret_cast<uint32_t*>(desc.pPixels + ptrdiff_t(y) * desc.nPitch)[x] =
                p & 0xFFFFFF;
        }
    return SaveBitmap(&surface, path);
}

struct PictureCase {
    const char* title;
    bool bmp;
    int threshold;
    bool alpha;
};

class ToolPicturePixels : public TempFolderTest,
                          public ::testing::WithParamInterface<PictureCase> {};

TEST_P(ToolPicturePixels, MaskDrawsTheToolsRule) {
    const PictureCase& c = GetParam();
    LxImage source = Source();
    const char* path = c.bmp ? "s.bmp" : "s.png";
    ASSERT_TRUE(c.bmp ? WriteBmp(&source, path) : WritePng(source, path));
    LxImage image;
    std::string error;
    ASSERT_TRUE(ReadImage(path, &image, &error)) << error;
    ASSERT_TRUE(SaveBytes("m.rle", EncodeMask(image, c.threshold, c.alpha)));
    CLxRLEBitmap mask("m.rle");
    ASSERT_EQ(mask.m_nWidth, source.width);
    ASSERT_EQ(mask.m_nHeight, source.height);

    // Drawn at (4, 3) on a larger surface: nothing may reach past the mask's box.
    const uint32_t paper = 0x123456, ink = 0xFF00FF;
    CLxSurface surface;
    surface.Create(source.width + 8, source.height + 6);
    Fill(&surface, paper);
    EXPECT_EQ(mask.Draw(&surface, 4, 3, ink), 0);
    Canvas expected(source.width + 8, source.height + 6, paper);
    int set = 0;
    for (int y = 0; y < source.height; y++)
        for (int x = 0; x < source.width; x++) {
            uint32_t p = source.pixels[size_t(y) * source.width + x];
            int alpha = int(p >> 24),
                level = int(p >> 16 & 0xFF) * 299 + int(p >> 8 & 0xFF) * 587 + int(p & 0xFF) * 114;
            bool on = c.alpha ? alpha > c.threshold : alpha >= 128 && level / 1000 < c.threshold;
            if (on) expected.Set(4 + x, 3 + y, ink), set++;
        }
    EXPECT_EQ(expected.Compare(&surface), "");
    bool none = c.alpha ? c.threshold >= 255 : c.threshold <= 0;
    EXPECT_EQ(set == 0, none) << set;
}

class ToolLayerPixels : public TempFolderTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ToolLayerPixels, LayeredPictureDrawsTheSource) {
    const bool bmp = GetParam();
    LxImage source = Source();
    const char* path = bmp ? "s.bmp" : "s.png";
    ASSERT_TRUE(bmp ? WriteBmp(&source, path) : WritePng(source, path));
    LxImage image;
    std::string error;
    ASSERT_TRUE(ReadImage(path, &image, &error)) << error;
    ASSERT_TRUE(SaveBytes("p.mlr", EncodeLayers(image)));
    CLxMLRLEBitmap picture("p.mlr");
    ASSERT_EQ(picture.m_nWidth, source.width);
    ASSERT_EQ(picture.m_nHeight, source.height);
    std::map<uint32_t, int> counts;
    for (uint32_t p : source.pixels)
        if (p >> 24 >= 128) counts[p & 0xFFFFFF]++;
    uint32_t commonest = 0xFFFFFF;
    for (const auto& [colour, count] : counts)
        if (count > counts[commonest]) commonest = colour;
    EXPECT_EQ(commonest, 0u); // black, by the picture's design
    EXPECT_EQ(picture.m_nBackground, commonest);

    // On its own surface: every opaque pixel in its colour, the rest background.
    CLxSurface* own = picture.CreateSurface();
    ASSERT_NE(own, nullptr);
    Canvas whole(source.width, source.height, 0);
    // Over a filled surface without the background: that colour and the transparent
    // pixels leave the surface as it was, outside the canvas too.
    const uint32_t paper = 0x123456;
    CLxSurface surface;
    surface.Create(source.width + 5, source.height + 5);
    Fill(&surface, paper);
    EXPECT_EQ(picture.RenderTo(&surface, false), 0);
    Canvas over(source.width + 5, source.height + 5, paper);
    for (int y = 0; y < source.height; y++)
        for (int x = 0; x < source.width; x++) {
            uint32_t p = source.pixels[size_t(y) * source.width + x];
            bool opaque = p >> 24 >= 128;
            whole.Set(x, y, opaque ? p & 0xFFFFFF : commonest);
            if (opaque && (p & 0xFFFFFF) != commonest) over.Set(x, y, p & 0xFFFFFF);
        }
    EXPECT_EQ(whole.Compare(own), "");
    EXPECT_EQ(over.Compare(&surface), "");
    delete own;
}

const PictureCase kPictureCases[] = {
    {"png dark below 128", false, 128, false},
    {"png dark below 200", false, 200, false},
    {"png dark below 0 sets nothing", false, 0, false},
    {"png alpha above 127", false, 127, true},
    {"png alpha above 0", false, 0, true},
    {"png alpha above 255 sets nothing", false, 255, true},
    {"bmp dark below 128", true, 128, false},
    {"bmp alpha above 127 sets all", true, 127, true},
};

INSTANTIATE_TEST_SUITE_P(Pictures, ToolPicturePixels, ::testing::ValuesIn(kPictureCases),
                         Title<PictureCase>);
INSTANTIATE_TEST_SUITE_P(Pictures, ToolLayerPixels, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "bmp" : "png");
                         });

} // namespace
