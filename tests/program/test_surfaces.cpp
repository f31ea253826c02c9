// The surface layer: the byte rules of shading, bevels and grey conversion, flood fill
// with its centre, circles, the blit helpers' messages, bitmap files (also from an
// archive) and presentation stretched to the window.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "media/LxDraw.h"
#include "media/LxFile.h"
#include "media/LxVideo.h"
#include "support/TempFolder.h"

namespace {
class Surfaces : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        CLxFile::SetRoots("", "data\\");
        surface_.Create(20, 10);
        ASSERT_NE(surface_.m_pSurface, nullptr);
    }
    uint32_t& Raw(int x, int y) {
        auto* row =
            static_cast<uint8_t*>(surface_.m_pSurface->pixels) + y * surface_.m_pSurface->pitch;
        return reinterpret_cast<uint32_t*>(row)[x];
    }
    void Paint(uint32_t pixel) {
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 20; ++x)
                Raw(x, y) = pixel;
    }

    CLxSurface surface_;
};

TEST(BitmapPath, FolderOfTheBaseAndTheExtension) {
    struct Case {
        const char* base;
        const char* name;
        const char* path;
    };
    const Case cases[] = {
        {"data\\a\\b.xml", "x", "data\\a\\x.bmp"},
        {"data\\a\\b.xml", "x.BMP", "data\\a\\x.BMP"},
        {nullptr, "x", "x.bmp"},
        {"", "pics\\y.bmp", "pics\\y.bmp"},
        {"nofolder.xml", "x", "x.bmp"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MakeBitmapPath(c.base, c.name), c.path) << c.name;
}

TEST_F(Surfaces, ShadeDarkensLightensAndKeepsEveryByte) {
    const struct {
        float factor;
        uint32_t result;
    } cases[] = {{1.0f, 0x00FF8040}, {0.5f, 0x007F4020}, {2.0f, 0x80FFC0A0}, {-1.0f, 0x00FF8040}};
    for (const auto& c : cases) {
        Paint(0x00FF8040);
        Shade(&surface_, nullptr, c.factor);
        EXPECT_EQ(Raw(3, 3), c.result) << c.factor;
    }
    // A rectangle reaching past the surface is clipped, not followed.
    Paint(0x00FF8040);
    RECT past{18, 8, 40, 30};
    Shade(&surface_, &past, 0.5f);
    EXPECT_EQ(Raw(19, 9), 0x007F4020u);
    EXPECT_EQ(Raw(17, 9), 0x00FF8040u);
}

TEST_F(Surfaces, BevelShadesOnlyTheEdgesWithoutInnerFactor) {
    Paint(0x00808080);
    RECT r{2, 2, 8, 8};
    Bevel(&surface_, &r, 0.0f, 2.0f, 0.5f);
    EXPECT_EQ(Raw(4, 4), 0x00808080u);          // inside
    EXPECT_EQ(Raw(4, 2) & 0xFFFFFF, 0xC0C0C0u); // top: light
    EXPECT_EQ(Raw(2, 4) & 0xFFFFFF, 0xC0C0C0u); // left: light
    EXPECT_EQ(Raw(4, 7) & 0xFFFFFF, 0x404040u); // bottom: dark
    EXPECT_EQ(Raw(7, 4) & 0xFFFFFF, 0x404040u); // right: dark
    EXPECT_EQ(Raw(8, 4), 0x00808080u);          // outside
    Bevel(&surface_, &r, 0.5f, 1.0f, 1.0f);
    EXPECT_EQ(Raw(4, 4), 0x00404040u);
}

TEST_F(Surfaces, GreyscaleWeighsTheThreeBytes) {
    Paint(0x00FF0000); // bytes from the lowest address: 00 00 FF
    Greyscale(&surface_, nullptr, 1.0f);
    EXPECT_EQ(Raw(0, 0), 0x00515151u); // 255 * 0.32 = 81
    CLxSurface wide;
    wide.Attach(SDL_CreateRGBSurfaceWithFormat(0, 4, 4, 16, SDL_PIXELFORMAT_RGB565));
    FillRectColor(&wide, nullptr, 0xFFFFFF);
    Greyscale(&wide, nullptr, 1.0f);
    uint32_t grey = GetPixel(&wide, 1, 1);
    EXPECT_EQ(grey >> 16 & 0xFF, grey & 0xFF); // a grey: red and blue agree
    EXPECT_GT(grey & 0xFF, 0u);
}

TEST_F(Surfaces, SixteenBitPixelsConvertBothWays) {
    CLxSurface wide;
    wide.Attach(SDL_CreateRGBSurfaceWithFormat(0, 4, 4, 16, SDL_PIXELFORMAT_RGB565));
    EXPECT_EQ(ColorToPixel(&wide, 0xFF8040), 0xFC08u);
    FillRectColor(&wide, nullptr, 0xFF8040);
    EXPECT_EQ(GetPixel(&wide, 0, 0), 0xF88040u);
    EXPECT_EQ(ColorToPixel(&surface_, 0x123456), 0x123456u);
    EXPECT_EQ(GetPixel(&wide, 4, 0), 0u); // outside
    EXPECT_EQ(GetPixel(&wide, -1, 0), 0u);
}

TEST_F(Surfaces, FloodFillFillsTheAreaAndFindsItsCentre) {
    Paint(0x00FFFFFF);
    RECT box{2, 1, 12, 9}; // outline; inside 8 x 6 pixels
    FrameRect(&surface_, &box, 0x000000);
    POINT centre{-1, -1};
    EXPECT_EQ(FloodFill(&surface_, 5, 5, 0xFF0000, &centre), 48);
    EXPECT_EQ(centre.x, 6); // mean of 3 .. 10
    EXPECT_EQ(centre.y, 4); // mean of 2 .. 7
    EXPECT_EQ(Raw(3, 2) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(Raw(1, 1) & 0xFFFFFF, 0xFFFFFFu); // outside the outline
    // Already the fill colour: nothing, centre (0, 0).
    EXPECT_EQ(FloodFill(&surface_, 5, 5, 0xFF0000, &centre), 0);
    EXPECT_EQ(centre.x, 0);
    // Eight pixels or fewer: no centre.
    RECT small{14, 1, 18, 5}; // inside 2 x 2
    FrameRect(&surface_, &small, 0x000000);
    EXPECT_EQ(FloodFill(&surface_, 15, 2, 0x00FF00, &centre), 4);
    EXPECT_EQ(centre.y, 0);
    // A seed off the surface fills nothing.
    for (auto [x, y] : {std::pair{-1, 0}, {20, 0}, {0, 10}, {0, -5}})
        EXPECT_EQ(FloodFill(&surface_, x, y, 0x0000FF, nullptr), 0);
}

TEST(FloodFillLarge, WholeProgramSurfaceWithAComb) {
    CLxSurface big;
    big.Create(800, 600);
    FillRectPixel(&big, nullptr, 0xFFFFFF);
    for (int x = 10; x < 800; x += 20) // teeth hanging from the top, rising from the bottom
        DrawLine(&big, x, x % 40 ? 0 : 599, x, x % 40 ? 590 : 10, 0);
    EXPECT_GT(FloodFill(&big, 0, 0, 0x00FF00, nullptr), 400000);
    EXPECT_EQ(GetPixel(&big, 799, 599), 0x00FF00u);
}

TEST_F(Surfaces, CirclesOutlineAndDisc) {
    Paint(0);
    RECT square{0, 0, 9, 9}; // r = 4, centre (4, 4)
    FillCircle(&surface_, &square, 0x00FF00);
    EXPECT_EQ(Raw(4, 4), 0x00FF00u);
    EXPECT_EQ(Raw(0, 4), 0x00FF00u);
    EXPECT_EQ(Raw(8, 4), 0x00FF00u);
    EXPECT_EQ(Raw(0, 0), 0u);
    Paint(0);
    DrawCircle(&surface_, &square, 0x0000FF);
    EXPECT_EQ(Raw(4, 0), 0x0000FFu);
    EXPECT_EQ(Raw(4, 8), 0x0000FFu);
    EXPECT_EQ(Raw(4, 4), 0u);
    // Not square: the rectangle filled with a colour reference.
    RECT wide{10, 0, 20, 4};
    FillCircle(&surface_, &wide, 0x0000FF); // red as a colour reference
    EXPECT_EQ(Raw(15, 2) & 0xFFFFFF, 0xFF0000u);
}

TEST_F(Surfaces, BlitHelpersReportMissingSurfaces) {
    CLxSurface empty, source;
    source.Create(4, 4);
    FillRectPixel(&source, nullptr, 0x112233);
    Paint(0);
    testing::internal::CaptureStdout();
    EXPECT_EQ(BltSurface(&surface_, nullptr, &empty, nullptr, 0), 0);
    EXPECT_EQ(BltSurface(nullptr, nullptr, &source, nullptr, 0), E_POINTER);
    EXPECT_EQ(BltSurfaceFast(nullptr, 0, 0, &source, nullptr, 0), E_POINTER);
    EXPECT_EQ(BltSurface(&empty, nullptr, &source, nullptr, 0), E_POINTER);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "blt:80004003\nbltfast:80004003\nblt:80004003\n");
    EXPECT_EQ(Raw(0, 0), 0u); // the empty source drew nothing
    // Scaled over the whole surface; fast at a point.
    BltSurface(&surface_, nullptr, &source, nullptr, 0);
    EXPECT_EQ(Raw(19, 9), 0x112233u);
    Paint(0);
    BltSurfaceFast(&surface_, 18, 8, &source, nullptr, 0);
    EXPECT_EQ(Raw(19, 9), 0x112233u);
    EXPECT_EQ(Raw(17, 9), 0u);
    // With a colour key the keyed pixels stay.
    FillRectPixel(&source, nullptr, 0xFF00FF);
    source.SetColorKey(0xFF00FF);
    BltSurface(&surface_, nullptr, &source, nullptr, 0);
    EXPECT_EQ(Raw(19, 9), 0x112233u);
}

TEST_F(Surfaces, LockClipsAndEmptyWrappersFail) {
    LxSurfaceDesc d;
    RECT part{15, 5, 30, 30};
    ASSERT_EQ(surface_.Lock(&part, &d), 0);
    EXPECT_EQ(d.nWidth, 5);
    EXPECT_EQ(d.nHeight, 5);
    EXPECT_EQ(d.nBitsPerPixel, 32);
    EXPECT_EQ(d.pPixels, reinterpret_cast<uint8_t*>(&Raw(15, 5)));
    RECT outside{30, 0, 40, 5};
    EXPECT_EQ(surface_.Lock(&outside, &d), -1);
    CLxSurface empty;
    EXPECT_EQ(empty.Lock(nullptr, &d), -1);
    int w = -1, h = -1;
    EXPECT_FALSE(GetSurfaceSize(&empty, &w, &h));
    EXPECT_EQ(w, 0);
    EXPECT_TRUE(GetSurfaceSize(&surface_, &w, &h));
    EXPECT_EQ(w, 20);
    BITMAPINFOHEADER info;
    surface_.GetBitmapInfo(&info);
    EXPECT_EQ(info.biHeight, -10);
    EXPECT_EQ(info.biSizeImage, 800u);
}

TEST_F(Surfaces, BitmapsSaveLoadAndReportTheirSize) {
    Paint(0x00102030);
    ASSERT_TRUE(SaveBitmap(&surface_, "pic.bmp"));
    CLxSurface* loaded = LoadBitmap("PIC.bmp"); // found whatever the case
    ASSERT_NE(loaded->m_pSurface, nullptr);
    EXPECT_EQ(GetPixel(loaded, 7, 7), 0x102030u);
    FreeSurface(&loaded);
    EXPECT_EQ(loaded, nullptr);
    int w = 0, h = 0;
    EXPECT_TRUE(ReadBitmapSize("pic", &w, &h));
    EXPECT_EQ(w, 20);
    EXPECT_EQ(h, 10);

    testing::internal::CaptureStdout();
    CLxSurface* missing = LoadBitmap("data\\nincs.bmp");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "File not found! data\\nincs.bmp (data/nincs.bmp)\n");
    EXPECT_EQ(missing->m_pSurface, nullptr);
    EXPECT_EQ(LoadBitmapInto(&surface_, "data\\nincs.bmp"), E_FAIL);
    delete missing;
    EXPECT_FALSE(ReadBitmapSize("nincs", &w, &h));
    EXPECT_EQ(w, 0);
}

// Descriptions may hold coordinates near the integer limits: moving stops at them.
TEST(Rectangles, OffsetStopsAtTheIntegerLimits) {
    RECT r{INT_MAX - 5, INT_MIN + 5, INT_MAX, 0};
    OffsetRect(&r, 100, -100);
    EXPECT_EQ(r.left, INT_MAX);
    EXPECT_EQ(r.right, INT_MAX);
    EXPECT_EQ(r.top, INT_MIN);
    EXPECT_EQ(r.bottom, -100);
    RECT s{1, 2, 3, 4};
    OffsetRect(&s, -1, 1);
    EXPECT_EQ(s.left, 0);
    EXPECT_EQ(s.bottom, 5);
}

// A 54-byte picture header for width x height pixels of 24 bits, with no pixels after it.
std::string BitmapHeader(int32_t width, int32_t height) {
    std::string h(54, '\0');
    auto put = [&h](int at, uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            h[at + i] = static_cast<char>(value >> (8 * i));
    };
    h[0] = 'B', h[1] = 'M';
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<uint32_t>(width), 4);
    put(22, static_cast<uint32_t>(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    return h;
}

// Headers that claim more than the file holds, or more than any screen needs, are refused
// before anything is allocated for them; a FIFO in place of a picture never blocks.
TEST_F(Surfaces, LyingPictureFilesAreRefusedWithoutAllocating) {
    WriteFile("huge.bmp", BitmapHeader(40000, 40000));
    WriteFile("short.bmp", BitmapHeader(100, -100) + std::string(300, 'x'));
    WriteFile("negative.bmp", BitmapHeader(-5, 5));
    mkfifo("fifo.bmp", 0600);
    for (const char* name : {"huge.bmp", "short.bmp", "negative.bmp", "fifo.bmp"}) {
        CLxSurface* picture = LoadBitmap(name);
        EXPECT_EQ(picture->m_pSurface, nullptr) << name;
        delete picture;
    }
}

TEST_F(Surfaces, BitmapSizeOfAnArchivedPicture) {
    ASSERT_TRUE(SaveBitmap(&surface_, "pic.bmp"));
    std::FILE* f = std::fopen("pic.bmp", "rb");
    std::string bytes(4096, '\0');
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
    std::fclose(f);
    std::remove("pic.bmp");
    ASSERT_TRUE(WriteZip("data.pics1.zip", {{"pic.bmp", bytes, true}}));
    int w = 0, h = 0;
    EXPECT_TRUE(ReadBitmapSize("data\\pics\\pic", &w, &h));
    EXPECT_EQ(w, 20);
    EXPECT_EQ(h, 10);
}

TEST(Presentation, StretchesToTheWindowAndMapsPointsBack) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SDL_Window* window = SDL_CreateWindow("", 0, 0, 1000, 750, 0);
    ASSERT_NE(window, nullptr) << SDL_GetError();
    CLxVideo video(nullptr, 0, 0, 800, 600);
    CLxSurface* surface = video.CreateSurface();
    FillRectPixel(surface, nullptr, 0x000000);
    RECT corner{792, 592, 800, 600};
    FillRectPixel(surface, &corner, 0xFF0000);
    video.Present(surface, window);
    SDL_Surface* shown = SDL_GetWindowSurface(window);
    ASSERT_EQ(shown->w, 1000);
    auto pixel = [&](int x, int y) {
        auto* row = static_cast<uint8_t*>(shown->pixels) + y * shown->pitch;
        return reinterpret_cast<uint32_t*>(row)[x] & 0xFFFFFF;
    };
    EXPECT_EQ(pixel(999, 749), 0xFF0000u);
    EXPECT_EQ(pixel(990, 740), 0xFF0000u); // 8 pixels became 10
    EXPECT_EQ(pixel(988, 738), 0u);
    POINT p = video.MapPoint(surface, window, POINT{500, 375});
    EXPECT_EQ(p.x, 400);
    EXPECT_EQ(p.y, 300);
    delete surface;
    SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
} // namespace
