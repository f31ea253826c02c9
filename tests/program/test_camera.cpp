// The camera mirror: the device-format conversions and the upside-down and mirror
// corrections by pixel, the hand-over of frames between the capture thread and the
// window thread, the display rectangle moved by the group origin, the frames of the
// test-pattern and file sources drawn there the right way round, the source rectangle
// keys, and a machine without a device (no camera source, and V4L2 with no device node
// or a node that is no device) saying so and drawing nothing. A real V4L2 device is
// tried where the machine has one.
#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>
#include <string>
#include <vector>

#include "media/LxCamera.h"
#include "media/LxCameraFrame.h"
#include "media/LxPatternSource.h"
#include "media/LxV4L2Source.h"
#include "test_controls_support.h"

using namespace ui_test;

namespace {
constexpr uint32_t kBackground = 0x203040;

// Waits (up to five seconds, for a loaded machine) for the camera's next frame and draws it.
bool DrawNextFrame(CLxCamera* camera) {
    for (int waited = 0; waited < 5000; waited += 5) {
        if (camera->DrawPendingFrame()) return true;
        SDL_Delay(5);
    }
    return false;
}

class Camera : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        WritePicture("data/bg.bmp", kBackground);
        WriteFile("data/c.xml", "<Lexo background=\"bg\">\n<group name=\"fo\" position=\"10,20\">\n"
                                "</group>\n</Lexo>\n");
        gui_ = std::make_unique<CLxCGUI>("data\\c.xml");
        FillRectPixel(g_pDrawSurface, nullptr, kBackground);
        g_bMirror = 0;
    }
    void TearDown() override {
        delete g_pCamera;
        gui_.reset();
        g_bMirror = 0;
        UiTest::TearDown();
    }
    // A camera in group "fo" at (0, 0)-(100, 100), as the screens make it.
    CLxCamera* Make(std::unique_ptr<ILxCameraSource> source) {
        RECT r{0, 0, 100, 100};
        CLxControl::Descriptor d{gui_.get(), gui_->FindGroup("fo"), "Camera", &r, 1};
        return new CLxCamera(&d, std::move(source));
    }
    std::unique_ptr<CLxCGUI> gui_;
};
} // namespace

TEST(CameraFrames, DeviceFormatsBecomeRgbPixels) {
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes; // two pixels
        void (*convert)(const uint8_t*, int, int, int, uint32_t*);
        uint32_t first, second;
    };
    const Case cases[] = {
        {"BGR24", {0x10, 0x20, 0x30, 0xFF, 0x00, 0x80}, ConvertBGR24, 0x302010, 0x8000FF},
        {"RGB24", {0x10, 0x20, 0x30, 0xFF, 0x00, 0x80}, ConvertRGB24, 0x102030, 0xFF0080},
        // Y0 U Y1 V: white and black share their colour difference.
        {"YUYV grey", {235, 128, 16, 128}, ConvertYUYV, 0xFFFFFF, 0x000000},
        // BT.601 red (82, 90, 240); the clamp keeps it in range.
        {"YUYV red", {82, 90, 82, 240}, ConvertYUYV, 0xFF0000, 0xFF0000},
    };
    for (const Case& c : cases) {
        uint32_t out[2] = {1, 1};
        c.convert(c.bytes.data(), 2, 1, static_cast<int>(c.bytes.size()), out);
        auto near = [](uint32_t a, uint32_t b) {
            for (int shift = 0; shift < 24; shift += 8) {
                int d = int(a >> shift & 0xFF) - int(b >> shift & 0xFF);
                if (d < -2 || d > 2) return false;
            }
            return (a >> 24) == 0;
        };
        EXPECT_TRUE(near(out[0], c.first)) << c.name << " " << std::hex << out[0];
        EXPECT_TRUE(near(out[1], c.second)) << c.name << " " << std::hex << out[1];
    }
}

TEST(CameraFrames, RowsWithPaddingAreSkipped) {
    // Two rows of one BGR pixel, each row padded to 4 bytes.
    const uint8_t bytes[] = {1, 2, 3, 0xEE, 4, 5, 6, 0xEE};
    uint32_t out[2];
    ConvertBGR24(bytes, 1, 2, 4, out);
    EXPECT_EQ(out[0], 0x030201u);
    EXPECT_EQ(out[1], 0x060504u);
}

TEST(CameraFrames, FlipAndMirror) {
    // 3 x 3, odd height: the middle row stays.
    std::vector<uint32_t> p{1, 2, 3, 4, 5, 6, 7, 8, 9};
    FlipRows(p.data(), 3, 3);
    EXPECT_EQ(p, (std::vector<uint32_t>{7, 8, 9, 4, 5, 6, 1, 2, 3}));
    MirrorRows(p.data(), 3, 3);
    EXPECT_EQ(p, (std::vector<uint32_t>{9, 8, 7, 6, 5, 4, 3, 2, 1}));
}

TEST(CameraFrames, SlotHandsOverOnlyTheNewestFrame) {
    CLxFrameSlot slot;
    LxCameraFrame taken;
    EXPECT_FALSE(slot.Take(&taken));
    slot.Back().nWidth = 1;
    EXPECT_TRUE(slot.Publish()); // nothing was waiting: wake the window thread
    slot.Back().nWidth = 2;
    EXPECT_FALSE(slot.Publish()); // the first was not taken: no second wake-up
    ASSERT_TRUE(slot.Take(&taken));
    EXPECT_EQ(taken.nWidth, 2);
    EXPECT_FALSE(slot.Take(&taken));
    slot.Back().nWidth = 3;
    EXPECT_TRUE(slot.Publish());
}

TEST_F(Camera, NoDeviceLeavesAnInertControlAndSaysSo) {
    testing::internal::CaptureStdout();
    CLxCamera* camera = Make(MakeNoCameraSource());
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("No video capture device such as a USB WebCam was detected."),
              std::string::npos);
    EXPECT_EQ(g_pCamera, camera);
    EXPECT_EQ(gui_->FindControl("fo.Camera"), camera);
    EXPECT_EQ(camera->m_nState, CLxCamera::kNoDevice);
    EXPECT_EQ(camera->SetRunning(true), 0);
    EXPECT_FALSE(camera->DrawPendingFrame());
    EXPECT_EQ(Pixel(200, 300), kBackground);
    // The size stays the one before any device.
    EXPECT_EQ(camera->m_nFrameWidth, 358);
    EXPECT_EQ(camera->m_nFrameHeight, 240);
}

TEST_F(Camera, V4L2WithoutADeviceSaysSo) {
    // No node at all, and a node that is a plain file (its ioctls fail).
    WriteFile("nodes/video0", "not a device");
    for (const char* pattern : {"nowhere/video%d", "nodes/video%d"}) {
        CLxV4L2Source source(pattern);
        std::string message;
        EXPECT_FALSE(source.Open(&message)) << pattern;
        EXPECT_EQ(message, kNoCameraMessage) << pattern;
        CLxFrameSlot slot;
        EXPECT_FALSE(source.Start(&slot, nullptr)) << pattern;
        source.Stop();
    }
}

TEST_F(Camera, ANewCameraReplacesTheOld) {
    Make(MakeNoCameraSource());
    CLxCamera* second = Make(MakeNoCameraSource());
    EXPECT_EQ(g_pCamera, second);
    EXPECT_EQ(gui_->FindControl("fo.Camera"), second); // the first left the description
    delete second;
    EXPECT_EQ(g_pCamera, nullptr);
}

TEST_F(Camera, DisplayRectangleIsMovedByTheGroupOrigin) {
    CLxCamera* camera = Make(std::make_unique<CLxPatternSource>(""));
    EXPECT_EQ(camera->m_pRects[0].left, 10); // the control's rectangle, moved too
    camera->SetDisplayRect(88, 178, 568, 538);
    RECT d = camera->m_rcDisplay;
    EXPECT_EQ((std::vector<int>{d.left, d.top, d.right, d.bottom}),
              (std::vector<int>{98, 198, 578, 558}));
    RECT drawn;
    ASSERT_TRUE(camera->GetDrawRect(&drawn));
    EXPECT_EQ(drawn.left, 98);
    EXPECT_EQ(drawn.bottom, 558);

    int before = g_nCameraFrames; // before the capture thread can count its first frame
    ASSERT_EQ(camera->SetRunning(true), 1);
    ASSERT_TRUE(DrawNextFrame(camera));
    EXPECT_GT(g_nCameraFrames, before);
    // Whole frame into (98, 198)-(578, 558), upright: red top left, yellow bottom right.
    EXPECT_EQ(Pixel(98, 198), CLxPatternSource::kTopLeft);
    EXPECT_EQ(Pixel(577, 198), CLxPatternSource::kTopRight);
    EXPECT_EQ(Pixel(98, 557), CLxPatternSource::kBottomLeft);
    EXPECT_EQ(Pixel(577, 557), CLxPatternSource::kBottomRight);
    for (POINT outside : {POINT{97, 198}, POINT{98, 197}, POINT{578, 557}, POINT{577, 558}})
        EXPECT_EQ(Pixel(outside.x, outside.y), kBackground) << outside.x << "," << outside.y;
    EXPECT_EQ(camera->SetRunning(false), 1);
    EXPECT_EQ(camera->m_nState, CLxCamera::kStopped);
}

TEST_F(Camera, MirrorTurnsThePictureLeftToRight) {
    CLxCamera* camera = Make(std::make_unique<CLxPatternSource>(""));
    camera->SetDisplayRect(0, 0, 320, 240);
    camera->SetMirror(true);
    EXPECT_EQ(g_bMirror, 1);
    ASSERT_EQ(camera->SetRunning(true), 1);
    ASSERT_TRUE(DrawNextFrame(camera));
    EXPECT_EQ(Pixel(10, 20), CLxPatternSource::kTopRight);
    EXPECT_EQ(Pixel(329, 20), CLxPatternSource::kTopLeft);
    EXPECT_EQ(Pixel(10, 259), CLxPatternSource::kBottomRight);
}

TEST_F(Camera, FileSourcePlaysItsPictureWhole) {
    // 64 x 48: the left half one colour, the right another.
    CLxSurface picture;
    picture.Create(64, 48);
    RECT left{0, 0, 32, 48}, right{32, 0, 64, 48};
    FillRectPixel(&picture, &left, 0x112200);
    FillRectPixel(&picture, &right, 0x0000EE);
    ASSERT_TRUE(SaveBitmap(&picture, "frame.bmp"));
    CLxCamera* camera = Make(std::make_unique<CLxPatternSource>("frame.bmp"));
    EXPECT_EQ(camera->m_nFrameWidth, 64);
    EXPECT_EQ(camera->m_nFrameHeight, 48);
    camera->SetDisplayRect(0, 0, 128, 96);
    ASSERT_EQ(camera->SetRunning(true), 1);
    ASSERT_TRUE(DrawNextFrame(camera));
    EXPECT_EQ(Pixel(10, 20), 0x112200u);
    EXPECT_EQ(Pixel(137, 115), 0x0000EEu);
}

TEST_F(Camera, UnreadableFileIsNoCamera) {
    testing::internal::CaptureStdout();
    CLxCamera* camera = Make(std::make_unique<CLxPatternSource>("missing.bmp"));
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(camera->m_nState, CLxCamera::kNoDevice);
    EXPECT_NE(out.find("missing.bmp"), std::string::npos);
}

TEST_F(Camera, SourceRectangleKeysStayInsideTheFrame) {
    CLxCamera* camera = Make(std::make_unique<CLxPatternSource>("")); // 640 x 480
    camera->SetDisplayRect(0, 0, 480, 360);                           // 4:3
    struct Case {
        RECT start;
        int key;
        RECT expected;
    };
    const Case cases[] = {
        {{0, 0, 320, 240}, 37, {0, 0, 320, 240}},      // left at the edge
        {{5, 5, 325, 245}, 37, {4, 5, 324, 245}},      // left
        {{5, 0, 325, 240}, 38, {5, 0, 325, 240}},      // up at the edge
        {{5, 5, 325, 245}, 38, {5, 4, 325, 244}},      // up
        {{320, 5, 640, 245}, 39, {320, 5, 640, 245}},  // right at the edge
        {{5, 5, 325, 245}, 39, {6, 5, 326, 245}},      // right
        {{5, 240, 325, 480}, 40, {5, 240, 325, 480}},  // down at the edge
        {{5, 5, 325, 245}, 40, {5, 6, 325, 246}},      // down
        {{10, 10, 410, 310}, 107, {11, 11, 409, 309}}, // plus: 398 wide, 298 high
        {{10, 10, 330, 250}, 107, {10, 10, 330, 250}}, // plus stops at half the width
        {{10, 10, 410, 310}, 109, {9, 9, 411, 310}},   // minus: 402 wide, 301 high
        {{0, 10, 400, 310}, 109, {0, 10, 400, 310}},   // minus stops at the left edge
        {{1, 1, 639, 470}, 109, {1, 1, 639, 470}},     // minus stops below the width
    };
    for (const Case& c : cases) {
        camera->m_rcSource = c.start;
        CLxKeyEvent e(camera, 0, c.key, 0);
        camera->OnKeyUp(&e);
        const RECT& s = camera->m_rcSource;
        EXPECT_EQ((std::vector<int>{s.left, s.top, s.right, s.bottom}),
                  (std::vector<int>{c.expected.left, c.expected.top, c.expected.right,
                                    c.expected.bottom}))
            << "key " << c.key << " from " << c.start.left << "," << c.start.top;
    }
}

// Only where the machine has a camera (never in CI): the first device gives a frame.
TEST_F(Camera, RealDeviceGivesFrames) {
    struct stat info;
    if (stat("/dev/video0", &info) != 0) GTEST_SKIP() << "no video capture device";
    auto source = std::make_unique<CLxV4L2Source>();
    std::string message;
    if (!source->Open(&message)) GTEST_SKIP() << message;
    CLxCamera* camera = Make(std::move(source));
    camera->SetDisplayRect(88, 178, 568, 538);
    ASSERT_EQ(camera->SetRunning(true), 1);
    EXPECT_TRUE(DrawNextFrame(camera));
}
