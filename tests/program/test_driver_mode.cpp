// The one call with which a screen sets the driver's mode: every field it names is
// written, the overlay slots from 0 with the letter after the last cleared, and nothing
// beyond the block's 32 slots.
#include <gtest/gtest.h>

#include <algorithm>

#include "shell/LxDriverBlock.h"

namespace {

class DriverMode : public testing::Test {
  protected:
    void SetUp() override { g_Driver = LxDriverBlock{}; }
    void TearDown() override { g_Driver = LxDriverBlock{}; }
};

TEST_F(DriverMode, OneCallSetsStatePeriodSmoothingAndFonts) {
    auto* font = reinterpret_cast<CLxRLEFonts*>(0x1000);
    auto* font2 = reinterpret_cast<CLxRLEFonts*>(0x2000);
    SetDriverMode({kDriverWaiting, 15, 2, font, font2});
    EXPECT_EQ(g_Driver.nState, 2);
    EXPECT_EQ(g_Driver.nPeriod, 15);
    EXPECT_EQ(g_Driver.nSmooth, 2);
    EXPECT_EQ(g_Driver.pOverlayFont, font);
    EXPECT_EQ(g_Driver.pOverlayFont2, font2);
    SetDriverMode({kDriverLevels, 10, 4});
    EXPECT_EQ(g_Driver.nState, 0);
    EXPECT_EQ(g_Driver.pOverlayFont, nullptr);
    EXPECT_EQ(g_Driver.pOverlayFont2, nullptr);
}

TEST_F(DriverMode, SlotsFillFromTheFirstAndEndTheOverlay) {
    const struct {
        int count;
        int cleared; // the letter cleared after the slots, -1 for none
    } cases[] = {{0, 0}, {1, 1}, {2, 2}, {32, -1}, {40, -1}, {-3, 0}};
    LxOverlaySlot slots[40];
    for (int i = 0; i < 40; ++i)
        slots[i] = {static_cast<unsigned char>('a' + i % 26), 0x100 + i, RECT{i, i, i + 9, i + 9}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        for (unsigned char& letter : g_Driver.aLetters)
            letter = 'x';
        g_Driver.aColors[0] = 7;
        g_Driver.aColors2[0] = 9;
        SetDriverMode({kDriverPhonemes, 25, 2, nullptr, nullptr, slots, c.count});
        int written = std::min(std::max(c.count, 0), kOverlaySlots);
        for (int i = 0; i < written; ++i) {
            EXPECT_EQ(g_Driver.aLetters[i], slots[i].letter);
            EXPECT_EQ(g_Driver.aColors[i], slots[i].colour);
            EXPECT_EQ(g_Driver.aRects[i].right, slots[i].box.right);
        }
        if (c.cleared >= 0) {
            EXPECT_EQ(g_Driver.aLetters[c.cleared], 0);
            if (c.cleared + 1 < kOverlaySlots) {
                EXPECT_EQ(g_Driver.aLetters[c.cleared + 1], 'x');
            }
        }
        if (written == 0) {
            EXPECT_EQ(g_Driver.aColors[0], 7); // colours of no slot are kept
        }
        EXPECT_EQ(g_Driver.aColors2[0], 9);
    }
}

} // namespace
