// The data tools' writers, checked by reading their output back with the program's own
// readers: a TrueType font rendered into a bitmap font, pictures (PNG and BMP) turned
// into masks and multi-layer pictures.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "FontWriter.h"
#include "PictureWriter.h"
#include "media/LxDraw.h"
#include "media/LxFile.h"
#include "media/LxMLRLEBitmap.h"
#include "media/LxRLEFonts.h"
#include "reading/LxLetters.h"
#include "support/TempFolder.h"

namespace {
const char* const kSerif = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf";

class DataTools : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        CLxFile::SetRoots("", "data\\");
    }
};

// An image from text rows: each character picks a colour from the legend.
LxImage ImageOf(const std::vector<std::string>& rows,
                const std::vector<std::pair<char, uint32_t>>& legend) {
    LxImage image;
    image.width = static_cast<int>(rows[0].size());
    image.height = static_cast<int>(rows.size());
    for (const std::string& row : rows)
        for (char c : row)
            for (const auto& [key, colour] : legend)
                if (key == c) image.pixels.push_back(colour);
    return image;
}

std::vector<std::string> Picture(const CLxRLEBitmap& mask) {
    std::vector<std::string> rows(static_cast<size_t>(mask.m_nHeight),
                                  std::string(static_cast<size_t>(mask.m_nWidth), '.'));
    mask.EachRun([&](int x, int row, int n, bool set) {
        if (set) rows[static_cast<size_t>(row)].replace(static_cast<size_t>(x), n, n, '#');
    });
    return rows;
}

TEST_F(DataTools, TheFontReadsBackWithOneHeightAndTheLetterCodes) {
    if (!std::filesystem::exists(kSerif)) GTEST_SKIP() << "fonts-dejavu-core is not installed";
    std::filesystem::create_directories("f");
    int glyphs = 0;
    std::string error;
    ASSERT_TRUE(WriteFont(LxFontRequest{kSerif, 24, "f", "t"}, &glyphs, &error)) << error;
    CLxRLEFonts font;
    ASSERT_TRUE(font.Load("f\\t.xml"));
    int present = 0;
    for (int code = 0; code < 256; ++code) {
        const CLxRLEBitmap* glyph = font.Glyph(code);
        if (!glyph) continue;
        ++present;
        EXPECT_EQ(glyph->m_nHeight, font.Height()) << code;
        // The writer's rows are already in the program's normal form.
        CLxRLEBitmap normal(*glyph);
        normal.Fit(glyph->m_nWidth, glyph->m_nHeight);
        EXPECT_EQ(normal.m_data, glyph->m_data) << code;
    }
    EXPECT_EQ(present, glyphs);
    EXPECT_GE(font.Height(), 24);
    for (int absent : {36, 64, 10, 0x80})
        EXPECT_EQ(font.Glyph(absent), nullptr) << absent;
    const CLxRLEBitmap* space = font.Glyph(' ');
    ASSERT_NE(space, nullptr);
    EXPECT_GT(space->m_nWidth, 0);
    EXPECT_EQ(space->m_rcExtent.top, space->m_nHeight); // nothing set
    for (const char* letter : {"A", "a", "\xD5", "\xF5", "\xDB", "\xFB", "cs", "Dzs", "dzs"}) {
        const CLxRLEBitmap* glyph = font.Glyph(DecodeLetter(letter));
        ASSERT_NE(glyph, nullptr) << letter;
        EXPECT_LT(glyph->m_rcExtent.top, glyph->m_rcExtent.bottom) << letter;
    }
    // A digraph is drawn as its two letters side by side.
    EXPECT_EQ(font.TextWidth("cs"), font.TextWidth("c") + font.TextWidth("s") - 2);
    EXPECT_GT(font.TextWidth("cs"), 0);

    CLxSurface surface;
    surface.Create(100, 40);
    LxSurfaceDesc desc;
    ASSERT_EQ(surface.Lock(nullptr, &desc), 0);
    font.Attach(&desc);
    font.SetColors(255, 255, 255);
    EXPECT_EQ(font.DrawText("Ab", 2, 2), font.TextWidth("Ab"));
    int lit = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 100; ++x)
            lit += GetPixel(&surface, x, y) == 0xFFFFFF;
    EXPECT_GT(lit, 30);
}

// The styled fonts keep the plain glyph's size: the mirrored glyph is the plain one
// back to front; the outline and the inline lie inside the plain glyph, apart from
// each other, and the outline holds the plain glyph's edge.
TEST_F(DataTools, StyledGlyphsAreVariantsOfThePlainGlyph) {
    if (!std::filesystem::exists(kSerif)) GTEST_SKIP() << "fonts-dejavu-core is not installed";
    std::filesystem::create_directories("f");
    int glyphs = 0;
    std::string error;
    const struct {
        const char* name;
        LxFontStyle style;
    } styles[] = {{"p", LxFontStyle::Plain},
                  {"r", LxFontStyle::Mirrored},
                  {"o", LxFontStyle::Outline},
                  {"i", LxFontStyle::Inline}};
    std::vector<std::vector<std::string>> shapes;
    for (const auto& [name, style] : styles) {
        LxFontRequest request{kSerif, 96, "f", name};
        request.style = style;
        ASSERT_TRUE(WriteFont(request, &glyphs, &error)) << error;
        CLxRLEFonts font;
        ASSERT_TRUE(font.Load((std::string("f\\") + name + ".xml").c_str()));
        const CLxRLEBitmap* glyph = font.Glyph('R');
        ASSERT_NE(glyph, nullptr) << name;
        shapes.push_back(Picture(*glyph));
    }
    const auto& plain = shapes[0];
    const auto& outline = shapes[2];
    const auto& inner = shapes[3];
    int plainSet = 0, outlineSet = 0, innerSet = 0;
    bool edgeKept = true;
    for (size_t y = 0; y < plain.size(); ++y) {
        std::string back(plain[y].rbegin(), plain[y].rend());
        EXPECT_EQ(shapes[1][y], back) << y;
        for (size_t x = 0; x < plain[y].size(); ++x) {
            bool set = plain[y][x] == '#';
            plainSet += set;
            outlineSet += outline[y][x] == '#';
            innerSet += inner[y][x] == '#';
            EXPECT_FALSE(outline[y][x] == '#' && !set) << x << "," << y;
            EXPECT_FALSE(inner[y][x] == '#' && (!set || outline[y][x] == '#')) << x << "," << y;
            bool edge = set && (x == 0 || plain[y][x - 1] != '#' || x + 1 == plain[y].size() ||
                                plain[y][x + 1] != '#');
            if (edge && outline[y][x] != '#') edgeKept = false;
        }
    }
    EXPECT_TRUE(edgeKept);
    EXPECT_GT(outlineSet, 0);
    EXPECT_GT(innerSet, 0);
    EXPECT_LT(outlineSet, plainSet);
    LxFontStyle style;
    EXPECT_TRUE(ParseFontStyle("outline", &style));
    EXPECT_EQ(style, LxFontStyle::Outline);
    EXPECT_FALSE(ParseFontStyle("bold", &style));
}

TEST_F(DataTools, AFontThatCannotBeRenderedIsReported) {
    int glyphs = 5;
    std::string error;
    EXPECT_FALSE(WriteFont(LxFontRequest{"missing.ttf", 24, ".", "t"}, &glyphs, &error));
    EXPECT_EQ(glyphs, 0);
    EXPECT_NE(error.find("missing.ttf"), std::string::npos);
}

TEST_F(DataTools, MasksSetDarkOrOpaquePixels) {
    const std::vector<std::string> rows = {"kw.g", "wwkk", "..gk"};
    const std::vector<std::pair<char, uint32_t>> legend = {
        {'k', 0xFF000000}, {'w', 0xFFFFFFFF}, {'g', 0xFF606060}, {'.', 0x00000000}};
    const struct {
        int threshold;
        bool alpha;
        std::vector<std::string> mask;
    } cases[] = {
        {128, false, {"#..#", "..##", "..##"}}, // transparent black is not set
        {50, false, {"#...", "..##", "...#"}},
        {127, true, {"##.#", "####", "..##"}},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(SaveBytes("m.rle", EncodeMask(ImageOf(rows, legend), c.threshold, c.alpha)));
        CLxRLEBitmap mask("m.rle");
        EXPECT_EQ(Picture(mask), c.mask) << c.threshold << (c.alpha ? " alpha" : "");
    }
    // A row wider than one run byte.
    LxImage wide;
    wide.width = 600;
    wide.height = 1;
    wide.pixels.assign(600, 0xFF000000);
    wide.pixels[0] = 0xFFFFFFFF;
    ASSERT_TRUE(SaveBytes("w.rle", EncodeMask(wide, 128, false)));
    CLxRLEBitmap mask("w.rle");
    EXPECT_EQ(Picture(mask)[0], "." + std::string(599, '#'));
    EXPECT_EQ(mask.m_data, (std::vector<uint8_t>{0, 1, 255, 0, 255, 0, 89}));
}

TEST_F(DataTools, LayeredPicturesRenderBackToTheirColours) {
    const std::vector<std::string> rows = {"bbbbr", "bggbr", "bgb.r", "bbbbb"};
    const std::vector<std::pair<char, uint32_t>> legend = {
        {'b', 0xFF102030}, {'r', 0xFFFF0000}, {'g', 0xFF00FF00}, {'.', 0x00FFFFFF}};
    LxImage image = ImageOf(rows, legend);
    ASSERT_TRUE(SaveBytes("p.mlr", EncodeLayers(image)));
    CLxMLRLEBitmap picture("p.mlr");
    EXPECT_EQ(picture.m_nWidth, 5);
    EXPECT_EQ(picture.m_nHeight, 4);
    EXPECT_EQ(picture.m_nBackground, 0x102030u); // the most common colour
    CLxSurface* surface = picture.CreateSurface();
    ASSERT_NE(surface, nullptr);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) {
            uint32_t p = image.pixels[static_cast<size_t>(y * 5 + x)];
            uint32_t expected = p >> 24 ? p & 0xFFFFFF : 0x102030;
            EXPECT_EQ(GetPixel(surface, x, y), expected) << x << "," << y;
        }
    delete surface;
}

TEST_F(DataTools, PicturesAreReadFromPngAndBmp) {
    const uint32_t colours[] = {0xFF112233, 0x80445566, 0xFF778899,
                                0x00000000, 0xFFFFFFFF, 0xFF000000};
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = 3;
    png.height = 2;
    png.format = PNG_FORMAT_BGRA;
    ASSERT_TRUE(png_image_write_to_file(&png, "p.png", 0, colours, 0, nullptr));
    LxImage image;
    std::string error;
    ASSERT_TRUE(ReadImage("p.png", &image, &error)) << error;
    EXPECT_EQ(image.width, 3);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.pixels, std::vector<uint32_t>(std::begin(colours), std::end(colours)));

    CLxSurface surface;
    surface.Create(2, 2);
    RECT corner{1, 0, 2, 1};
    FillRectColor(&surface, &corner, 0xABCDEF);
    ASSERT_TRUE(SaveBitmap(&surface, "p.BMP"));
    ASSERT_TRUE(ReadImage("p.BMP", &image, &error)) << error;
    EXPECT_EQ(image.pixels,
              (std::vector<uint32_t>{0xFF000000, 0xFFABCDEF, 0xFF000000, 0xFF000000}));

    WriteFile("bad.png", "not a picture");
    for (const char* path : {"bad.png", "missing.bmp", "p.gif"}) {
        error.clear();
        EXPECT_FALSE(ReadImage(path, &image, &error)) << path;
        EXPECT_NE(error.find(path), std::string::npos) << error;
    }
}
} // namespace
