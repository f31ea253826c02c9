// The memory games: the deal (layouts, choices, the extended deck), turning cards,
// pairs and mismatches, the end after the last pair, and the seed from the clock. The
// description is a small board of check boxes over one-colour state pictures; faces and
// backs are one-colour pictures, so a pixel tells which one a state picture holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "reading/LxMemoryExtScr.h"
#include "reading/LxMemoryScr.h"
#include "shell/LxClock.h"
#include "shell/LxMessages.h"
#include "shell/LxProgram.h"
#include "test_controls_support.h"
#include "ui/LxGroup.h"

namespace {

using namespace ui_test;

constexpr uint32_t kBack = 0x204060, kFaceA = 0xC03030, kFaceB = 0x30C030, kFaceC = 0x3030C0;

int g_now = 0;
int FakeClock() {
    return g_now;
}

std::vector<UINT> g_sent;
LRESULT Record(UINT msg, WPARAM, LPARAM) {
    g_sent.push_back(msg);
    return 0;
}

// The games without their pause while two cards are shown.
class QuickMemory : public CLxMemoryScr {
  public:
    using CLxMemoryScr::CLxMemoryScr;
    void ShowPair() override { ++shown; }
    int shown = 0;
};

class QuickExtendedMemory : public CLxMemoryExtScr {
  public:
    using CLxMemoryExtScr::CLxMemoryExtScr;
    void ShowPair() override {}
};

// A board of rows x columns cards of 100 x 100 pixels at (10 + 110 c, 10 + 110 r).
std::string Board(int rows, int columns) {
    std::string cards;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            cards += "<control type=\"checkbox\" name=\"k" + std::to_string(r) + std::to_string(c) +
                     "\" help=\"\">\n<common rect=\"" + std::to_string(10 + 110 * c) + "," +
                     std::to_string(10 + 110 * r) + ",100,100\"/>\n</control>\n";
    return cards;
}

class MemoryTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        const char* states[] = {"fo_0", "fo_2", "fo_4", "fo_5", "fo_6", "fo_7"};
        for (const char* name : states)
            WritePicture(std::string("data/") + name + ".bmp", 0x101010);
        WritePicture("data/bg.bmp", 0x000000);
        WritePicture("data/mem/memory.bmp", kBack, 40, 40);
        WritePicture("data/mem/a.bmp", kFaceA, 40, 40);
        WritePicture("data/mem/b.bmp", kFaceB, 40, 40);
        WritePicture("data/mem/c.bmp", kFaceC, 40, 40);
        g_now = 1000;
        LxSetClock(FakeClock);
        g_sent.clear();
        LxSetMessageHandler(Record);
    }
    void TearDown() override {
        LxSetMessageHandler(nullptr);
        LxSetClock(nullptr);
        UiTest::TearDown();
    }
    // A description with the board, "al.vissza", and the root and "pictures" attributes.
    static void WriteDescription(const std::string& root, const std::string& names, int rows,
                                 int columns) {
        WriteFile("data/memory.xml",
                  "<Lexo background=\"bg\" " + root + ">\n<pictures name=\"" + names +
                      "\"/>\n<group name=\"fo\" position=\"0,0\">\n"
                      "<unselected disabled=\"fo_0\" passive=\"fo_4\" active=\"fo_5\"/>\n"
                      "<selected disabled=\"fo_2\" passive=\"fo_6\" active=\"fo_7\"/>\n"
                      "</group>\n" +
                      Board(rows, columns) +
                      "<group name=\"al\" position=\"0,0\">\n</group>\n"
                      "<control type=\"button\" name=\"vissza\" help=\"\">\n"
                      "<common rect=\"700,500,80,40\"/>\n</control>\n</Lexo>\n");
    }
    // Turns a card as a click does: the check box toggles, then the screen hears of it.
    static void Turn(CLxScreen* screen, const char* name) {
        CLxControl* card = screen->GetGUI()->FindControl(name);
        ASSERT_NE(card, nullptr) << name;
        card->OnClick(nullptr);
        CLxMouseEvent event(card, 0, 0, kMouseClick, 1);
        screen->OnMouseEvent(&event);
    }
    static bool Visible(CLxScreen* screen, const char* name) {
        return screen->GetGUI()->FindControl(name)->m_nFlags & kVisible;
    }
    static bool Selected(CLxScreen* screen, const char* name) {
        return screen->GetGUI()->FindControl(name)->m_nFlags & kSelected;
    }
    static std::vector<std::string> Names(const CLxMemoryScr& screen) {
        std::vector<std::string> names;
        for (const auto& card : screen.Cards())
            names.push_back(card.name);
        return names;
    }
    static void Tick(CLxScreen* screen, int message = kMsgTimer) {
        CLxTimerEvent event(0, message, 0);
        screen->OnTimerEvent(&event);
    }
};

TEST_F(MemoryTest, TheListIsTheLayoutInRowOrder) {
    WriteDescription("path=\"data\\mem\"", "'a, b, a, b'", 2, 2);
    QuickMemory game("data\\memory.xml", kMsgMainScreen);
    EXPECT_EQ(Names(game), (std::vector<std::string>{"a", "b", "a", "b"}));
    EXPECT_EQ(game.Remaining(), 4);
    EXPECT_EQ(game.Cards()[0].pair, game.Cards()[2].pair);
    EXPECT_NE(game.Cards()[0].pair, game.Cards()[1].pair);
}

TEST_F(MemoryTest, FacesLieInTheSelectedPicturesAndBacksInThePassiveOnes) {
    WriteDescription("path=\"data\\mem\"", "'a, b, a, b'", 2, 2);
    QuickMemory game("data\\memory.xml", kMsgMainScreen);
    CLxGroup* group = game.GetGUI()->FindGroup("fo");
    ASSERT_NE(group, nullptr);
    // Card k01 covers (120, 10)-(220, 110): its pictures lie 4 pixels inside.
    EXPECT_EQ(GetPixel(group->m_aPictures[4], 170, 60), kBack);
    EXPECT_EQ(GetPixel(group->m_aPictures[6], 170, 60), kFaceB);
    EXPECT_EQ(GetPixel(group->m_aPictures[7], 170, 60), kFaceB);
    EXPECT_EQ(GetPixel(group->m_aPictures[6], 121, 11), 0x101010u); // outside the inset
    EXPECT_EQ(GetPixel(group->m_aPictures[5], 170, 60), kBack);
    EXPECT_EQ(GetPixel(group->m_aPictures[5], 123, 13), 0xFF0000u); // the hot outline
}

TEST_F(MemoryTest, AMatchRemovesBothCardsAndAMismatchTurnsThemBack) {
    WriteDescription("path=\"data\\mem\"", "'a, b, a, b'", 2, 2);
    QuickMemory game("data\\memory.xml", kMsgMainScreen);
    Turn(&game, "fo.k00");
    Turn(&game, "fo.k01"); // a and b
    EXPECT_EQ(game.shown, 1);
    EXPECT_FALSE(Selected(&game, "fo.k00"));
    EXPECT_FALSE(Selected(&game, "fo.k01"));
    EXPECT_TRUE(Visible(&game, "fo.k00"));
    EXPECT_EQ(game.Remaining(), 4);
    Turn(&game, "fo.k00");
    Turn(&game, "fo.k10"); // a and a: the first column goes
    EXPECT_FALSE(Visible(&game, "fo.k00"));
    EXPECT_FALSE(Visible(&game, "fo.k10"));
    EXPECT_TRUE(Visible(&game, "fo.k01"));
    EXPECT_EQ(game.Remaining(), 2);
    EXPECT_FALSE(game.Ended());
}

TEST_F(MemoryTest, ACardTurnedBackByItsOwnClickClosesTheFirstCard) {
    WriteDescription("path=\"data\\mem\"", "'a, b, a, b'", 2, 2);
    QuickMemory game("data\\memory.xml", kMsgMainScreen);
    Turn(&game, "fo.k00");
    Turn(&game, "fo.k00"); // back down
    Turn(&game, "fo.k01");
    Turn(&game, "fo.k11"); // b and b: a pair, not a with b
    EXPECT_EQ(game.shown, 1);
    EXPECT_FALSE(Visible(&game, "fo.k01"));
    EXPECT_TRUE(Visible(&game, "fo.k00"));
}

TEST_F(MemoryTest, TheLastPairEndsTheGameAfterSixteenWindowTicks) {
    WriteDescription("path=\"data\\mem\"", "'a, b, a, b'", 2, 2);
    QuickMemory game("data\\memory.xml", kMsgMainScreen);
    Tick(&game);
    EXPECT_EQ(game.EndDelay(), 0);
    Turn(&game, "fo.k00");
    Turn(&game, "fo.k10");
    Turn(&game, "fo.k01");
    Turn(&game, "fo.k11");
    EXPECT_EQ(game.Remaining(), 0);
    EXPECT_TRUE(game.Ended());
    EXPECT_EQ(game.EndDelay(), CLxMemoryScr::kEndDelayTicks);
    Tick(&game, kMsgRecord); // driver ticks do not count
    for (int k = 1; k < CLxMemoryScr::kEndDelayTicks; ++k)
        Tick(&game);
    EXPECT_TRUE(g_sent.empty());
    Tick(&game);
    EXPECT_EQ(g_sent, (std::vector<UINT>{kMsgMainScreen}));
    Tick(&game);
    EXPECT_EQ(g_sent.size(), 1u); // once
}

TEST_F(MemoryTest, BackLeavesWithTheAnswer) {
    WriteDescription("path=\"data\\mem\"", "'a, b, a, b'", 2, 2);
    QuickMemory game("data\\memory.xml", kMsgExtendedMemoryDone);
    Turn(&game, "al.vissza");
    EXPECT_EQ(g_sent, (std::vector<UINT>{kMsgExtendedMemoryDone}));
}

TEST_F(MemoryTest, CardsWithoutANameAreHiddenAndALoneCardNeedNotBeFound) {
    // Three names for four places: the fourth is hidden, "c" has no partner.
    WriteDescription("path=\"data\\mem\"", "'a, c, a'", 2, 2);
    QuickMemory game("data\\memory.xml", kMsgMainScreen);
    EXPECT_FALSE(Visible(&game, "fo.k11"));
    EXPECT_EQ(game.Remaining(), 2);
    Turn(&game, "fo.k00");
    Turn(&game, "fo.k10");
    EXPECT_TRUE(game.Ended());
}

TEST_F(MemoryTest, AFewItemsAreLayoutsOneOfWhichIsTaken) {
    WriteDescription("path=\"data\\mem\"", "'a, b, a, b', 'b, a, b, a', 'a, a, b, b'", 2, 2);
    std::map<std::vector<std::string>, int> seen;
    for (g_now = 0; g_now < 40; ++g_now) {
        QuickMemory game("data\\memory.xml", kMsgMainScreen);
        ++seen[Names(game)];
    }
    EXPECT_GE(seen.size(), 2u);
    for (const auto& [names, n] : seen) {
        SCOPED_TRACE(names[0] + names[1] + names[2] + names[3]);
        EXPECT_EQ(std::count(names.begin(), names.end(), "a"), 2);
        EXPECT_EQ(std::count(names.begin(), names.end(), "b"), 2);
    }
}

TEST_F(MemoryTest, TheDealComesFromTheClock) {
    WriteDescription("path=\"data\\mem\" size=\"4,2\"", "a, b, c, d, e, f, g, h, i, j", 2, 4);
    g_now = 4321;
    QuickExtendedMemory first("data\\memory.xml", kMsgExtendedMemoryDone);
    QuickExtendedMemory again("data\\memory.xml", kMsgExtendedMemoryDone);
    EXPECT_EQ(Names(first), Names(again));
    bool differs = false;
    for (g_now = 0; g_now < 20 && !differs; ++g_now) {
        QuickExtendedMemory other("data\\memory.xml", kMsgExtendedMemoryDone);
        differs = Names(other) != Names(first);
    }
    EXPECT_TRUE(differs);
}

TEST_F(MemoryTest, TheExtendedDeckHoldsEachChosenNameTwiceAndFillsEverySlot) {
    const struct {
        int names, cards, pairs;
    } cases[] = {{10, 16, 8}, {10, 8, 4}, {3, 16, 3}, {0, 16, 0}, {5, 9, 4}, {1, 2, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.names) + " names, " + std::to_string(c.cards) + " cards");
        std::vector<std::string> names;
        for (int i = 0; i < c.names; ++i)
            names.push_back("n" + std::to_string(i));
        for (unsigned seed = 0; seed < 50; ++seed) {
            std::mt19937 random(seed);
            std::vector<std::string> deck = ExtendedMemoryDeck(names, c.cards, random);
            ASSERT_EQ(static_cast<int>(deck.size()), 2 * c.pairs);
            for (const std::string& name : deck) {
                EXPECT_FALSE(name.empty());
                EXPECT_EQ(std::count(deck.begin(), deck.end(), name), 2) << name;
            }
        }
    }
}

TEST_F(MemoryTest, RepeatedNamesAreOneNameInTheExtendedDeck) {
    std::mt19937 random(7);
    auto deck = ExtendedMemoryDeck({"a", "a", "a", "b"}, 16, random);
    EXPECT_EQ(deck.size(), 4u);
    EXPECT_EQ(std::count(deck.begin(), deck.end(), "a"), 2);
}

TEST_F(MemoryTest, TheExtendedGameDealsTheBoardOfItsSizeWithARandomBack) {
    WritePicture("data/mem/memory7.bmp", 0x777777, 40, 40);
    WriteDescription("path=\"data\\mem\" size=\"4,2\"", "a, b, c, a, b, c, a", 2, 4);
    QuickExtendedMemory game("data\\memory.xml", kMsgExtendedMemoryDone);
    std::vector<std::string> names = Names(game);
    ASSERT_EQ(names.size(), 8u);
    // Three distinct names: three pairs, the last two places empty and hidden.
    EXPECT_EQ(game.Remaining(), 6);
    EXPECT_TRUE(names[6].empty() && names[7].empty());
    EXPECT_FALSE(Visible(&game, "fo.k12"));
    CLxGroup* group = game.GetGUI()->FindGroup("fo");
    EXPECT_EQ(GetPixel(group->m_aPictures[4], 60, 60), 0x777777u); // the only back there is
}

TEST_F(MemoryTest, AnExtendedGameWithoutBackPicturesStillStarts) {
    WriteDescription("path=\"data\\nothing\" size=\"2,2\"", "a, b", 2, 2);
    QuickExtendedMemory game("data\\memory.xml", kMsgExtendedMemoryDone);
    EXPECT_EQ(game.Remaining(), 4);
    CLxGroup* group = game.GetGUI()->FindGroup("fo");
    EXPECT_EQ(GetPixel(group->m_aPictures[4], 60, 60), 0x101010u);
}

} // namespace
