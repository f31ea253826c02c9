// Masks and multi-layer pictures: the row encoding, normalisation and extent, drawing
// with colour and weight at each depth (clipped to the target), scaling, fitting, and
// files that are short or lie about their sizes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/LxFile.h"
#include "media/LxMLRLEBitmap.h"
#include "media/LxRLEBitmap.h"
#include "media/LxRLEPen.h"
#include "support/TempFolder.h"

namespace {
using Bytes = std::vector<uint8_t>;

std::string Le16(int v) {
    return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF)};
}
std::string Le32(uint32_t v) {
    return Le16(static_cast<int>(v & 0xFFFF)) + Le16(static_cast<int>(v >> 16));
}
std::string Str(const Bytes& b) {
    return std::string(b.begin(), b.end());
}
std::string RleFile(int w, int h, const Bytes& rows, uint32_t tag = 0) {
    return Le32(tag) + Le16(w) + Le16(h) + Str(rows);
}

// The mask as text rows from the top: '#' set, '.' clear.
std::vector<std::string> Picture(const CLxRLEBitmap& mask) {
    std::vector<std::string> rows(static_cast<size_t>(mask.m_nHeight),
                                  std::string(static_cast<size_t>(mask.m_nWidth), '.'));
    mask.EachRun([&](int x, int row, int n, bool set) {
        if (set) rows[static_cast<size_t>(row)].replace(static_cast<size_t>(x), n, n, '#');
    });
    return rows;
}

// A mask built from text rows (top first) through the encoder, stored bottom first.
CLxRLEBitmap MaskOf(const std::vector<std::string>& rows) {
    Bytes data;
    int width = rows.empty() ? 0 : static_cast<int>(rows[0].size());
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        Bytes pixels;
        for (char c : *it)
            pixels.push_back(c == '#');
        LxEncodeRow(pixels.data(), width, data);
    }
    CLxRLEBitmap mask;
    mask.SetData(7, width, static_cast<int>(rows.size()), static_cast<int>(data.size()),
                 data.data());
    return mask;
}

class Masks : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        CLxFile::SetRoots("", "data\\");
    }
    // A surface of the depth, every pixel set to fill (a pixel value of that depth).
    void MakeSurface(int bits, int w, int h, uint32_t fill) {
        SDL_Surface* s = nullptr;
        if (bits == 32) s = SDL_CreateRGBSurface(0, w, h, 32, 0xFF0000, 0xFF00, 0xFF, 0);
        if (bits == 24) s = SDL_CreateRGBSurface(0, w, h, 24, 0xFF0000, 0xFF00, 0xFF, 0);
        if (bits == 16) s = SDL_CreateRGBSurface(0, w, h, 16, 0xF800, 0x07E0, 0x1F, 0);
        ASSERT_NE(s, nullptr);
        surface_.Attach(s);
        SDL_FillRect(s, nullptr, fill);
    }
    uint32_t At(int x, int y) {
        SDL_Surface* s = surface_.m_pSurface;
        const uint8_t* p =
            static_cast<uint8_t*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
        if (s->format->BytesPerPixel == 2) return p[0] | p[1] << 8;
        return p[0] | p[1] << 8 | p[2] << 16;
    }
    // The pixels of a row as '#' (equal to value) and '.'.
    std::string Row(int y, uint32_t value) {
        std::string row;
        for (int x = 0; x < surface_.m_pSurface->w; ++x)
            row += At(x, y) == value ? '#' : '.';
        return row;
    }

    CLxSurface surface_;
};

TEST(RowEncoding, RunsAlternateFromSetAndSplitAt255) {
    const struct {
        std::string pixels; // '#' set; a repeat count replaces long strings below
        int repeat;         // the pixels repeated this often
        Bytes encoded;
    } cases[] = {
        {"#", 5, {5}},                       // one full set run: one byte
        {".", 600, {0, 255, 0, 255, 0, 90}}, // all clear: 0, then the clear run split
        {"#", 600, {255, 0, 255, 0, 90}},    // a long set run, no trailing clear byte
        {"..##", 1, {0, 2, 2}},              // begins clear
        {"##..", 1, {2, 2}},                 // ends clear
        {"#.#.#", 1, {1, 1, 1, 1, 1}},
    };
    for (const auto& c : cases) {
        Bytes pixels;
        for (int i = 0; i < c.repeat; ++i)
            for (char ch : c.pixels)
                pixels.push_back(ch == '#');
        Bytes out;
        LxEncodeRow(pixels.data(), static_cast<int>(pixels.size()), out);
        EXPECT_EQ(out, c.encoded) << c.pixels << " x" << c.repeat;
    }
}

TEST_F(Masks, LoadNormalisesEveryRowAndCutsWhatLies) {
    const struct {
        const char* title;
        int w, h;
        Bytes file, normalised;
        int top, bottom;
    } cases[] = {
        {"empty runs merge", 30, 1, {10, 0, 20}, {30}, 0, 1},
        {"long runs stay split", 600, 1, {255, 0, 255, 0, 90}, {255, 0, 255, 0, 90}, 0, 1},
        {"merged runs cap at 255", 300, 1, {200, 0, 100}, {255, 0, 45}, 0, 1},
        {"a pair of empty runs goes", 5, 1, {0, 0, 5}, {5}, 0, 1},
        {"a run past the width is cut", 4, 2, {10, 1, 3}, {4, 1, 3}, 0, 2},
        {"surplus rows are dropped", 2, 1, {2, 2, 2}, {2}, 0, 1},
        {"a short last row is padded clear", 6, 2, {0, 6, 2}, {0, 6, 2, 4}, 0, 1},
        {"more rows claimed than stored", 3, 1000, {3}, {3}, 999, 1000},
        {"no set pixels", 3, 2, {0, 3, 0, 3}, {0, 3, 0, 3}, 2, 0},
        {"exactly 8 bytes: no rows", 4, 3, {}, {}, 3, 0},
    };
    for (const auto& c : cases) {
        WriteFile("m.rle", RleFile(c.w, c.h, c.file, 0xA1B2C3D4));
        CLxRLEBitmap mask("m.rle");
        EXPECT_EQ(mask.m_data, c.normalised) << c.title;
        EXPECT_EQ(mask.m_nWidth, c.w) << c.title;
        EXPECT_EQ(mask.m_nHeight, c.h) << c.title;
        EXPECT_EQ(mask.m_nTag, 0xA1B2C3D4u) << c.title;
        EXPECT_EQ(mask.m_rcExtent.left, 0) << c.title;
        EXPECT_EQ(mask.m_rcExtent.right, c.w) << c.title;
        EXPECT_EQ(mask.m_rcExtent.top, c.top) << c.title;
        EXPECT_EQ(mask.m_rcExtent.bottom, c.bottom) << c.title;
    }
}

TEST_F(Masks, ExtentCountsRowsFromTheTopWhileTheyAreStoredFromTheBottom) {
    // Stored bottom first: empty, set, empty, set, empty.
    WriteFile("m.rle", RleFile(3, 5, {0, 3, 1, 2, 0, 3, 0, 1, 2, 0, 3}));
    CLxRLEBitmap mask("m.rle");
    EXPECT_EQ(mask.m_rcExtent.top, 1);
    EXPECT_EQ(mask.m_rcExtent.bottom, 4);
    EXPECT_EQ(Picture(mask), (std::vector<std::string>{"...", ".##", "...", "#..", "..."}));
}

TEST_F(Masks, UnreadableFilesLeaveTheMaskEmpty) {
    WriteFile("short.rle", std::string("\0\0\0\0\4\0", 6));
    for (const char* path : {"missing.rle", "short.rle"}) {
        CLxRLEBitmap mask(path);
        EXPECT_EQ(mask.Data(), nullptr) << path;
        EXPECT_EQ(mask.m_nWidth, 0) << path;
        EXPECT_EQ(mask.m_nHeight, 0) << path;
    }
}

TEST_F(Masks, SetDataCopiesTheBytesAsTheyAre) {
    const Bytes rows = {10, 0, 20};
    CLxRLEBitmap mask;
    mask.SetData(5, 30, 1, 3, rows.data());
    EXPECT_EQ(mask.m_data, rows);
    EXPECT_EQ(mask.m_rcExtent.bottom, 1);
    mask.SetData(6, 1, 1, 1, nullptr);
    EXPECT_EQ(mask.m_nTag, 5u);
    CLxRLEBitmap copy(mask);
    EXPECT_EQ(copy.m_data, rows);
    EXPECT_EQ(copy.m_nWidth, 30);
}

TEST_F(Masks, DrawPaintsBlendsOrKeepsAtEveryDepth) {
    const struct {
        int bits;
        uint32_t fill;   // pixel value before
        uint32_t colour; // drawing colour
        uint32_t result; // covered pixels after
    } cases[] = {
        {32, 0x808080, 0x00FF0000, 0xFF0000}, {32, 0x808080, 0xFF000000, 0x808080},
        {32, 0x808080, 0x40000000, 0x202020}, {32, 0x102030, 0x80FFFFFF, 0x878F97},
        {24, 0x808080, 0x00FF0000, 0xFF0000}, {24, 0x808080, 0xFF000000, 0x808080},
        {24, 0x808080, 0x40000000, 0x202020}, {16, 0x8410, 0x00FF0000, 0xF800},
        {16, 0x8410, 0xFF000000, 0x8410},     {16, 0x8410, 0x40000000, 0x2104},
        {16, 0xFFFF, 0x40000000, 0x39E7},
    };
    // Three rows, top first: "##.", ".#.", "###".
    CLxRLEBitmap mask = MaskOf({"##.", ".#.", "###"});
    for (const auto& c : cases) {
        MakeSurface(c.bits, 6, 5, c.fill);
        EXPECT_EQ(mask.Draw(&surface_, 2, 1, c.colour), 0);
        std::string where = std::to_string(c.bits) + " bits, colour " + std::to_string(c.colour);
        if (c.result == c.fill) {
            for (int y = 0; y < 5; ++y)
                EXPECT_EQ(Row(y, c.fill), "######") << where;
            continue;
        }
        EXPECT_EQ(Row(0, c.result), "......") << where;
        EXPECT_EQ(Row(1, c.result), "..##..") << where;
        EXPECT_EQ(Row(2, c.result), "...#..") << where;
        EXPECT_EQ(Row(3, c.result), "..###.") << where;
        EXPECT_EQ(Row(4, c.result), "......") << where;
        EXPECT_EQ(At(4, 1), c.fill) << where;
    }
}

TEST_F(Masks, DrawIsClippedToTheSurface) {
    CLxRLEBitmap mask = MaskOf({"####", "####", "####"});
    const struct {
        int x, y;
        std::vector<std::string> rows;
    } cases[] = {
        {-2, -1, {"##...", "##...", ".....", "....."}},
        {3, 2, {".....", ".....", "...##", "...##"}},
        {-10, 0, {".....", ".....", ".....", "....."}},
        {0, 100, {".....", ".....", ".....", "....."}},
    };
    for (const auto& c : cases)
        for (int bits : {16, 24, 32}) {
            MakeSurface(bits, 5, 4, 0);
            uint32_t red = bits == 16 ? 0xF800 : 0xFF0000;
            mask.Draw(&surface_, c.x, c.y, 0x00FF0000);
            for (int y = 0; y < 4; ++y)
                EXPECT_EQ(Row(y, red), c.rows[static_cast<size_t>(y)])
                    << bits << " bits at " << c.x << "," << c.y;
        }
}

TEST_F(Masks, ALongSplitRunDrawsUnbroken) {
    WriteFile("m.rle", RleFile(600, 1, {255, 0, 255, 0, 90}));
    CLxRLEBitmap mask("m.rle");
    MakeSurface(32, 602, 1, 0);
    mask.Draw(&surface_, 1, 0, 0x00FFFFFF);
    EXPECT_EQ(Row(0, 0xFFFFFF), "." + std::string(600, '#') + ".");
}

TEST_F(Masks, LyingSizesDrawOnlyWhatIsStored) {
    // Height 65535 over three bytes: the one stored row is the bottom one.
    CLxRLEBitmap tall;
    tall.SetData(0, 3, 65535, 3, Bytes{1, 1, 1}.data());
    MakeSurface(32, 4, 4, 0);
    EXPECT_EQ(tall.Draw(&surface_, 0, -65531, 0x00FFFFFF), 0);
    EXPECT_EQ(Row(3, 0xFFFFFF), "#.#.");
    EXPECT_EQ(Row(2, 0xFFFFFF), "....");

    // A run that claims more than the width stops at the width.
    CLxRLEBitmap wide;
    wide.SetData(0, 2, 1, 1, Bytes{255}.data());
    MakeSurface(32, 4, 1, 0);
    wide.Draw(&surface_, 0, 0, 0x00FFFFFF);
    EXPECT_EQ(Row(0, 0xFFFFFF), "##..");
}

TEST_F(Masks, DrawReportsTheLockErrorAndSkipsEmptyMasks) {
    CLxRLEBitmap mask = MaskOf({"#"});
    CLxSurface empty;
    EXPECT_EQ(mask.Draw(&empty, 0, 0, 0), -1);
    EXPECT_EQ(mask.Draw(nullptr, 0, 0, 0), E_POINTER);
    MakeSurface(32, 2, 2, 0x123456);
    EXPECT_EQ(CLxRLEBitmap().Draw(&surface_, 0, 0, 0), 0);
    EXPECT_EQ(Row(0, 0x123456), "##");
}

TEST_F(Masks, ScaleMapsRowsToTheNearestAndRunsProportionally) {
    const struct {
        std::vector<std::string> from;
        int w, h;
        std::vector<std::string> to;
    } cases[] = {
        {{"#..#", "####"}, 8, 4, {"##....##", "##....##", "########", "########"}},
        {{"#..#", "####"}, 2, 1, {"##"}}, // row 0 copies the bottom row
        {{"##..", "..##", "#.#."}, 4, 2, {"..##", "#.#."}},
        {{"#"}, 300, 1, {std::string(300, '#')}},
    };
    for (const auto& c : cases) {
        CLxRLEBitmap mask = MaskOf(c.from);
        mask.Scale(c.w, c.h);
        EXPECT_EQ(Picture(mask), c.to) << c.from[0] << " to " << c.w << "x" << c.h;
    }
    CLxRLEBitmap absent;
    absent.Scale(4, 4);
    EXPECT_EQ(absent.m_nWidth, 0);
    CLxRLEBitmap mask = MaskOf({"##"});
    mask.Scale(0, 3);
    EXPECT_EQ(mask.Data(), nullptr);
}

TEST_F(Masks, FitCentresCutsAndPads) {
    const struct {
        std::vector<std::string> from;
        int w, h;
        std::vector<std::string> to;
    } cases[] = {
        // Stored bottom first: one empty row below, the two rows, two empty rows above.
        {{"#####", "#...#"}, 5, 5, {".....", ".....", "#####", "#...#", "....."}},
        {{"##", "#."}, 5, 2, {".##..", ".#..."}},
        {{"##..##"}, 2, 1, {".."}},
        {{"#.##.#"}, 3, 1, {".##"}},
        {{"a", "b", "c", "d"}, 1, 2, {".", "."}},
        {{"#", ".", "#", "."}, 1, 2, {".", "#"}},
        {{"#", "#", ".", "."}, 1, 2, {"#", "."}},
    };
    for (const auto& c : cases) {
        CLxRLEBitmap mask = MaskOf(c.from);
        mask.Fit(c.w, c.h);
        EXPECT_EQ(mask.m_nWidth, c.w);
        EXPECT_EQ(Picture(mask), c.to) << c.from[0] << " to " << c.w << "x" << c.h;
    }
}

class Pictures : public Masks {
  protected:
    static std::string Layer(int x, int y, int w, int h, uint32_t colour, const Bytes& rows) {
        return Le16(x) + Le16(y) + Le16(w) + Le16(h) + Le32(colour) + Str(rows);
    }
    static std::string Header(int w, int h, uint32_t background) {
        return Le32(0) + Le16(w) + Le16(h) + Le32(background);
    }
};

TEST_F(Pictures, LayersPaintInOrderOverTheBackground) {
    // Rows run downward; the second layer covers the first.
    WriteFile("p.mlr", Header(5, 3, 0x0000FF) + Layer(0, 0, 3, 2, 0xFF0000, {3, 1, 2}) +
                           Layer(1, 1, 2, 2, 0x00FF00, {2, 2}));
    CLxMLRLEBitmap picture("p.mlr");
    EXPECT_EQ(picture.m_nWidth, 5);
    EXPECT_EQ(picture.m_nBackground, 0x0000FFu);
    for (int bits : {32, 16}) {
        MakeSurface(bits, 6, 4, 0);
        LxSurfaceDesc desc;
        ASSERT_EQ(surface_.Lock(nullptr, &desc), 0);
        picture.Render(desc, true);
        auto value = [&](uint32_t rgb) { return bits == 16 ? CLxRLEPen::Pack565(rgb) : rgb; };
        EXPECT_EQ(Row(0, value(0xFF0000)), "###...") << bits;
        EXPECT_EQ(Row(1, value(0xFF0000)), "#.....") << bits;
        EXPECT_EQ(Row(1, value(0x00FF00)), ".##...") << bits;
        EXPECT_EQ(Row(2, value(0x00FF00)), ".##...") << bits;
        EXPECT_EQ(Row(1, value(0x0000FF)), "...##.") << bits;
        EXPECT_EQ(Row(3, 0), "######") << bits;
        EXPECT_EQ(At(5, 0), 0u) << bits;
    }
}

TEST_F(Pictures, LayersAreClippedToTheCanvasAndShortFilesEndThePicture) {
    const struct {
        const char* title;
        std::string file;
        std::vector<std::string> red; // rows of a 4 x 3 target painted red
    } cases[] = {
        {"layer beyond the canvas",
         Header(3, 2, 0) + Layer(1, 1, 5, 3, 0xFF0000, {5, 5, 5}),
         {"....", ".##.", "...."}},
        {"layer far outside",
         Header(3, 2, 0) + Layer(60000, 60000, 9, 9, 0xFF0000, {9}),
         {"....", "....", "...."}},
        {"rows cut short",
         Header(4, 3, 0) + Layer(0, 0, 4, 3, 0xFF0000, {4, 0}),
         {"####", "....", "...."}},
        {"half a header",
         Header(4, 3, 0) + Layer(0, 0, 2, 1, 0xFF0000, {2}) + "\1\0\1\0\1",
         {"##..", "....", "...."}},
        {"zero-width layer",
         Header(4, 3, 0) + Layer(0, 0, 0, 65535, 0xFF0000, {}) + Layer(0, 2, 1, 1, 0xFF0000, {1}),
         {"....", "....", "#..."}},
    };
    for (const auto& c : cases) {
        WriteFile("p.mlr", c.file);
        CLxMLRLEBitmap picture("p.mlr");
        MakeSurface(32, 4, 3, 0);
        EXPECT_EQ(picture.RenderTo(&surface_, true), 0) << c.title;
        for (int y = 0; y < 3; ++y)
            EXPECT_EQ(Row(y, 0xFF0000), c.red[static_cast<size_t>(y)]) << c.title;
    }
}

TEST_F(Pictures, CreateSurfaceHoldsThePictureOnItsBackground) {
    WriteFile("p.mlr", Header(3, 2, 0x102030) + Layer(2, 1, 1, 1, 0xFFFFFF, {1}));
    CLxMLRLEBitmap picture("p.mlr");
    CLxSurface* made = picture.CreateSurface();
    ASSERT_NE(made, nullptr);
    surface_.Attach(made->m_pSurface);
    made->m_pSurface = nullptr;
    delete made;
    EXPECT_EQ(Row(0, 0x102030), "###");
    EXPECT_EQ(Row(1, 0xFFFFFF), "..#");

    WriteFile("short.mlr", Header(3, 2, 0).substr(0, 11));
    for (const char* path : {"missing.mlr", "short.mlr"}) {
        CLxMLRLEBitmap empty(path);
        EXPECT_TRUE(empty.IsEmpty()) << path;
        EXPECT_EQ(empty.CreateSurface(), nullptr) << path;
    }
}
} // namespace
