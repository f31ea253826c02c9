// The volume slider over a fake microphone volume: the range, page and tick taken from
// the mixer, the disabled slider without a volume control, the Ctrl rule, the mixer
// written after a drag or a click, the callback that moves the thumb, the level bar, and
// an empty mixer range.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "media/LxVolume.h"
#include "shell/LxDriverBlock.h"
#include "test_controls_support.h"
#include "ui/LxVolumeSlider.h"

using namespace ui_test;

namespace {
// What the fake volume reports and what was done to it.
struct FakeState {
    bool control = true;
    uint32_t min = 0, max = 63, volume = 20;
    int sets = 0;
    IVolume::Callback callback = nullptr;
    void* user = nullptr;
    bool deleted = false;
};
FakeState g_fake;

class VolumeFake : public IVolume {
  public:
    ~VolumeFake() override { g_fake.deleted = true; }
    bool HasVolumeControl() override { return g_fake.control; }
    void EnableLine() override {}
    void DisableLine() override {}
    uint32_t GetSteps() override { return g_fake.max - g_fake.min + 1; }
    uint32_t GetMinVolume() override { return g_fake.min; }
    uint32_t GetMaxVolume() override { return g_fake.max; }
    uint32_t GetVolume() override { return g_fake.volume; }
    void SetVolume(uint32_t value) override {
        g_fake.volume = value;
        ++g_fake.sets;
    }
    void SetCallback(Callback callback, void* user) override {
        g_fake.callback = callback;
        g_fake.user = user;
    }
};

IVolume* MakeFake() {
    return new VolumeFake;
}

class VolumeSlider : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        g_fake = FakeState{};
        LxSetVolumeFactory(MakeFake);
    }
    void TearDown() override {
        gui_.reset();
        LxSetVolumeFactory(nullptr);
        g_Driver.nWrite = 0;
        g_Driver.aHistory[kRowLevel][7] = 0;
        UiTest::TearDown();
    }
    // A horizontal volume slider of 202 x 40 pixels at (0, 0).
    CLxVolumeSlider* Load() {
        WriteFile("data/v.xml", "<Lexo>\n<group name=\"g\" position=\"0,0\">\n</group>\n"
                                "<control type=\"volumeslider\" name=\"v\" range=\"0,10\">"
                                "<common rect=\"0,0,202,40\"/></control>\n</Lexo>\n");
        gui_ = std::make_unique<CLxCGUI>("data\\v.xml");
        return static_cast<CLxVolumeSlider*>(gui_->FindControl("g.v"));
    }
    static void Mouse(CLxControl* c, int type, int x, int y, int buttons) {
        CLxMouseEvent e(c, x, y, type, buttons);
        switch (type) {
        case kMouseMove:
            c->OnMove(&e);
            break;
        case kMouseDown:
            c->OnButtonDown(&e);
            break;
        case kMouseDrag:
            c->OnDrag(&e);
            break;
        case kMouseUp:
            c->OnButtonUp(&e);
            break;
        case kMouseClick:
            c->OnClick(&e);
            break;
        default:
            break;
        }
    }
    std::unique_ptr<CLxCGUI> gui_;
};

TEST_F(VolumeSlider, TakesItsRangeFromTheMixer) {
    struct Case {
        uint32_t min, max, volume;
        int page, tick, value;
    } cases[] = {
        {0, 63, 20, 3, 3, 20}, // a sixteenth of the range
        {0, 65535, 30000, 4095, 4095, 30000},
        {0, 16, 5, 2, 1, 5},           // small ranges step by 2, ticks every 1
        {5, 5, 5, 2, 1, 5},            // an empty range
        {0, 100, UINT32_MAX, 6, 6, 0}, // a failed read gives the minimum
        {10, 20, 30, 2, 1, 20},        // out of range: clamped
    };
    for (const Case& c : cases) {
        g_fake = FakeState{};
        g_fake.min = c.min;
        g_fake.max = c.max;
        g_fake.volume = c.volume;
        CLxVolumeSlider* s = Load();
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->m_nType, kVolumeSlider);
        EXPECT_EQ(s->m_nFlags, 44) << c.max;
        EXPECT_EQ(s->m_nMin, static_cast<int>(c.min)) << c.max;
        EXPECT_EQ(s->m_nMax, static_cast<int>(c.max)) << c.max;
        EXPECT_EQ(s->m_nPage, c.page) << c.max;
        EXPECT_EQ(s->m_nTick, c.tick) << c.max;
        EXPECT_EQ(s->m_nValue, c.value) << c.max;
        EXPECT_EQ(g_fake.user, s);
    }
    g_fake.deleted = false;
    gui_.reset();
    EXPECT_TRUE(g_fake.deleted); // the control owns its volume
}

TEST_F(VolumeSlider, WithoutAVolumeControlItIsDisabledAndShowsNoLevel) {
    g_fake.control = false;
    g_Driver.nWrite = 7;
    g_Driver.aHistory[kRowLevel][7] = 1.0f;
    CLxVolumeSlider* s = Load();
    EXPECT_EQ(s->m_nFlags, 40);
    EXPECT_EQ(g_fake.callback, nullptr);
    EXPECT_EQ(s->m_nMax, 10); // the description's range stays
    s->Draw();
    EXPECT_NE(Pixel(50, 20), 0x30u);
    gui_.reset();
    EXPECT_TRUE(g_fake.deleted); // kept until the control goes
}

TEST_F(VolumeSlider, OnlyCtrlChangesTheVolume) {
    CLxVolumeSlider* s = Load(); // 0..63 at 20, page 3
    s->Draw();
    int x = (s->m_rcThumb.left + s->m_rcThumb.right) / 2;
    for (int buttons : {0, MK_LBUTTON}) {
        Mouse(s, kMouseMove, 195, 20, buttons);
        Mouse(s, kMouseDown, x, 20, buttons);
        Mouse(s, kMouseDrag, x + 50, 20, buttons | MK_LBUTTON);
        Mouse(s, kMouseClick, 195, 20, buttons);
    }
    EXPECT_EQ(s->m_nValue, 20);
    EXPECT_EQ(g_fake.sets, 0);
    EXPECT_EQ(g_fake.volume, 20u);

    Mouse(s, kMouseMove, 195, 20, MK_CONTROL); // after the thumb
    Mouse(s, kMouseClick, 195, 20, MK_CONTROL);
    EXPECT_EQ(s->m_nValue, 23);
    EXPECT_EQ(g_fake.sets, 1);
    EXPECT_EQ(g_fake.volume, 23u);

    s->Draw();
    x = (s->m_rcThumb.left + s->m_rcThumb.right) / 2;
    Mouse(s, kMouseDown, x, 20, MK_CONTROL | MK_LBUTTON);
    Mouse(s, kMouseDrag, x + 500, 20, MK_CONTROL | MK_LBUTTON);
    EXPECT_EQ(s->m_nValue, 63);
    EXPECT_EQ(g_fake.volume, 63u);
    Mouse(s, kMouseDrag, x - 500, 20, MK_LBUTTON); // Ctrl let go: the drag is ignored
    EXPECT_EQ(s->m_nValue, 63);
    Mouse(s, kMouseUp, x - 500, 20, MK_LBUTTON);
    Mouse(s, kMouseDrag, x - 500, 20, MK_CONTROL | MK_LBUTTON); // no drag any more
    EXPECT_EQ(g_fake.sets, 2);
}

TEST_F(VolumeSlider, TheMixerCallbackMovesTheThumb) {
    CLxVolumeSlider* s = Load();
    s->Draw();
    int before = s->m_rcThumb.left;
    ASSERT_NE(g_fake.callback, nullptr);
    g_fake.volume = 63;
    g_fake.callback(63, g_fake.user);
    EXPECT_EQ(s->m_nValue, 63);
    EXPECT_GT(s->m_rcThumb.left, before);
    EXPECT_EQ(s->m_rcThumb.right, 202); // drawn at the far end
    g_fake.volume = UINT32_MAX;         // a failed read
    g_fake.callback(0, g_fake.user);
    EXPECT_EQ(s->m_nValue, 0);
}

TEST_F(VolumeSlider, TheLevelBarShowsTheNewestLevel) {
    g_fake.volume = 63; // the thumb out of the way, at the right end
    CLxVolumeSlider* s = Load();
    g_Driver.nWrite = 7;
    struct Case {
        float level;
        int lastFilled; // 0: nothing
    } cases[] = {{0.5f, 100}, {0.0f, 0}, {-0.5f, 0}, {2.0f, 200}};
    for (const Case& c : cases) {
        Clear();
        g_Driver.aHistory[kRowLevel][7] = c.level;
        s->Draw();
        // The band is 3h/8 + 1 in from the top and the bottom: rows 16 to 23.
        if (c.lastFilled > 0) {
            EXPECT_EQ(Pixel(1, 16), 0x30u) << c.level;
            EXPECT_EQ(Pixel(c.lastFilled, 23), 0x30u) << c.level;
            EXPECT_NE(Pixel(1, 15), 0x30u) << c.level;
            EXPECT_NE(Pixel(1, 24), 0x30u) << c.level;
        }
        EXPECT_NE(Pixel(c.lastFilled + 1, 20), 0x30u) << c.level;
    }
}

TEST_F(VolumeSlider, AnEmptyMixerRangeIsSafe) {
    g_fake.min = g_fake.max = g_fake.volume = 5;
    CLxVolumeSlider* s = Load();
    s->Draw();
    for (int x : {1, 100, 200}) {
        Mouse(s, kMouseMove, x, 20, MK_CONTROL);
        Mouse(s, kMouseDown, x, 20, MK_CONTROL | MK_LBUTTON);
        Mouse(s, kMouseDrag, x + 30, 20, MK_CONTROL | MK_LBUTTON);
        Mouse(s, kMouseUp, x + 30, 20, MK_CONTROL);
        Mouse(s, kMouseClick, x, 20, MK_CONTROL);
    }
    EXPECT_EQ(s->m_nValue, 5);
    EXPECT_EQ(g_fake.volume, 5u);
}
TEST_F(VolumeSlider, WithoutRectanglesNothingIsDrawn) {
    WriteFile("data/n.xml", "<Lexo>\n<group name=\"g\" position=\"0,0\">\n</group>\n"
                            "<control type=\"volumeslider\" name=\"n\"></control>\n</Lexo>\n");
    gui_ = std::make_unique<CLxCGUI>("data\\n.xml");
    auto* s = static_cast<CLxVolumeSlider*>(gui_->FindControl("g.n"));
    ASSERT_NE(s, nullptr);
    g_Driver.nWrite = 7;
    g_Driver.aHistory[kRowLevel][7] = 1.0f;
    Clear();
    s->Draw();
    g_fake.callback(20, g_fake.user);
    Mouse(s, kMouseDown, 0, 0, MK_CONTROL | MK_LBUTTON);
    Mouse(s, kMouseDrag, 50, 0, MK_CONTROL | MK_LBUTTON);
    EXPECT_EQ(Pixel(1, 0), 0u);
    EXPECT_EQ(g_fake.sets, 0);
}
} // namespace
