// The notice band: shown over the bottom of the screen when asked (as after a failed
// save), and taken away by the window's timer once its time is up.
#include "media/LxDraw.h"
#include "media/LxSaveFile.h"
#include "shell/LxClock.h"
#include "shell/LxNotice.h"
#include "test_controls_support.h"

using namespace ui_test;

namespace {

int g_now = 0;
int Now() {
    return g_now;
}

class Notice : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        LxSetClock(Now);
        g_now = 1000;
    }
    void TearDown() override {
        NoticeTick(g_now + 100000);
        LxSetClock(nullptr);
        UiTest::TearDown();
    }
};

TEST_F(Notice, ShownForAWhileThenGone) {
    Clear();
    ShowNotice("Nem sikerült menteni");
    EXPECT_TRUE(NoticeShown());
    EXPECT_EQ(Pixel(790, 595), 0x8B1A1Au);
    EXPECT_EQ(Pixel(400, 300), 0u) << "the rest of the screen is untouched";
    g_now += 3000;
    NoticeTick(g_now);
    EXPECT_TRUE(NoticeShown());
    g_now += 4000;
    NoticeTick(g_now);
    EXPECT_FALSE(NoticeShown());
}

} // namespace
