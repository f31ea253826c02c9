// Reading game 6, "read the table": the rows a lesson's list gives, the syllables of a
// consonant and the letters of a vowel and a vowel pair with their sound boxes, each
// box speaking its syllable from the sound bank (silent when the bank lacks it), and a
// single column or no material at all.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "media/LxSoundDevice.h"
#include "media/LxSoundServer.h"
#include "reading/LxRGameScr6.h"
#include "test_reading_games_support.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"
#include "ui/LxSoundBox.h"

using namespace reading_test;

namespace {

using Rows = std::vector<std::vector<std::string>>;

TEST(Game6Rows, APlainListFillsBothRowsAndTwoGroupsOneEach) {
    const struct {
        std::vector<std::string> items;
        Rows rows;
    } cases[] = {
        {{}, {}},
        {{"a", "e", "i"}, {{"a", "e", "i"}, {"a", "e", "i"}}},
        {{"a"}, {{"a"}, {"a"}}},
        {{"a, e", "o, u"}, {{"a", "e"}, {"o", "u"}}},
        {{"a, e"}, {{"a", "e"}, {"a", "e"}}},
        {{"a, e", "o", "i, u"}, {{"a", "e"}, {"o"}}}, // a third group has no row
    };
    for (const auto& c : cases)
        EXPECT_EQ(TableRows(c.items, 16), c.rows) << c.items.size();
    std::vector<std::string> many(20, "a");
    EXPECT_EQ(TableRows(many, 16)[0].size(), 16u);
}

class Game6 : public ReadingGamesTest {
  protected:
    void SetUp() override {
        ReadingGamesTest::SetUp();
        WriteCourse("<session character=\"a\"><game6 characters=\"a, \xE1, e\"/></session>\n"
                    "<session character=\"m\"><game6 characters=\"a, e, i\"/></session>\n"
                    "<session character=\"i\xED\"><game6 characters=\"'i, \xED', '\xED'\"/>"
                    "</session>\n"
                    "<session character=\"t\"><game6 characters=\"o\"/></session>\n"
                    "<session character=\"s\"><game6/></session>\n");
        std::string wave = "RIFF" + Le32(36 + 200) + "WAVEfmt " + Le32(16) + Le16(1) + Le16(1) +
                           Le32(22050) + Le32(44100) + Le16(2) + Le16(16) + "data" + Le32(200) +
                           std::string(200, '\0');
        WriteFile("data/speech/ma.wav", wave);
        WriteFile("data/speech/am.wav", wave);
        WriteFile("data/speech/soundbank.xml",
                  "<Lexo>\n<sound name=\"ma\" wave=\"ma.wav\"/>\n<sound name=\"am\" "
                  "wave=\"am.wav\"/>\n</Lexo>\n");
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        g_pPlayer = new CLxSoundDevice(false);
        ASSERT_TRUE(g_pPlayer->OpenPlayer(-1, -1));
        g_pSoundServer = new CLxSoundServer;
    }
    void TearDown() override {
        delete g_pSoundServer;
        g_pSoundServer = nullptr;
        delete g_pPlayer;
        g_pPlayer = nullptr;
        ReadingGamesTest::TearDown();
    }
    std::unique_ptr<CLxRGameScr6> Open(int entry) {
        Choose(entry);
        return std::make_unique<CLxRGameScr6>("data\\olvfej.xml");
    }
    static RECT Bounds(CLxScreen* s, const char* name) {
        RECT r{};
        if (CLxControl* c = Control(s, name)) c->GetBounds(&r);
        return r;
    }
    static const char* SoundOf(CLxScreen* s, const char* name) {
        auto* box = dynamic_cast<CLxSoundBox*>(Control(s, name));
        return box && box->m_pSound ? g_pSoundServer->GetKey(box->m_pSound) : nullptr;
    }
};

TEST_F(Game6, AConsonantsTableHasItsSyllablesBothWays) {
    auto screen = Open(1); // m: ma, me, mi over am, em, im
    EXPECT_STREQ(screen->GetName(), "RGame6s");
    EXPECT_TRUE(Control(screen.get(), "fo.jatek6")->m_nFlags & kSelected);
    const struct {
        const char* name;
        int centre, top;
        const char* sound;
    } boxes[] = {
        {"szotag.sb00", 40, 240, "data\\speech\\ma.wav"},
        {"szotag.sb01", 335, 240, nullptr}, // "me" is not in the bank: silent
        {"szotag.sb02", 630, 240, nullptr},
        {"szotag.sb10", 40, 400, "data\\speech\\am.wav"},
    };
    for (const auto& b : boxes) {
        RECT r = Bounds(screen.get(), b.name);
        EXPECT_NEAR((r.left + r.right) / 2, b.centre, 1) << b.name;
        EXPECT_EQ(r.top, b.top) << b.name;
        EXPECT_EQ(r.bottom, b.top + 128) << b.name;
        const char* sound = SoundOf(screen.get(), b.name);
        if (b.sound)
            EXPECT_STREQ(sound, b.sound) << b.name;
        else
            EXPECT_EQ(sound, nullptr) << b.name;
    }
    EXPECT_EQ(Control(screen.get(), "szotag.sb20"), nullptr);
    // "ma": the consonant in green, the vowel 2 pixels after it in red; "Ma" below it.
    int m = ::GlyphWidth("data\\fonts\\tnr32.xml", 'm'),
        a = ::GlyphWidth("data\\fonts\\tnr32.xml", 'a');
    int left = 40 - (m + 2 + a) / 2;
    EXPECT_EQ(Back(screen.get(), left, 241), 0x04A820u);
    EXPECT_EQ(Back(screen.get(), left + m + 2, 241), 0xFF0000u);
    EXPECT_EQ(Back(screen.get(), left + m, 241), kBackground);
    int big = ::GlyphWidth("data\\fonts\\tnr32.xml", 'M');
    EXPECT_EQ(Back(screen.get(), 40 - (big + 2 + a) / 2, 305), 0x04A820u);
}

TEST_F(Game6, AVowelHasOneRowOfLettersAndAVowelPairTwo) {
    auto vowel = Open(0); // a
    EXPECT_STREQ(vowel->GetName(), "RGame6g");
    EXPECT_EQ(Bounds(vowel.get(), "szotag.sb00").top, 300);
    EXPECT_NE(Control(vowel.get(), "szotag.sb02"), nullptr);
    EXPECT_EQ(Control(vowel.get(), "szotag.sb10"), nullptr);
    int a = ::GlyphWidth("data\\fonts\\tnr32.xml", 'a');
    EXPECT_EQ(Back(vowel.get(), 40 - a / 2, 301), 0xFF0000u);

    auto pair = Open(2); // ií: i, í over í
    EXPECT_EQ(Bounds(pair.get(), "szotag.sb00").top, 240);
    EXPECT_EQ(Bounds(pair.get(), "szotag.sb10").top, 400);
    EXPECT_NE(Control(pair.get(), "szotag.sb01"), nullptr);
    EXPECT_EQ(Control(pair.get(), "szotag.sb11"), nullptr);
}

TEST_F(Game6, ASingleColumnIsCentredAndNoMaterialLeavesTheTableEmpty) {
    auto one = Open(3); // t: "to" and "ot"
    RECT r = Bounds(one.get(), "szotag.sb00");
    EXPECT_NEAR((r.left + r.right) / 2, 40 + 295, 1);
    EXPECT_NE(Control(one.get(), "szotag.sb10"), nullptr);
    auto none = Open(4); // s
    EXPECT_EQ(none->GetGUI()->FindGroup("szotag"), nullptr);
    CLxMouseEvent e(nullptr, 0, 0, kMouseClick, 1);
    none->OnMouseEvent(&e);
    EXPECT_FALSE(none->Ended()); // game 6 has no end
}

} // namespace
