// The colouring game: its colours, the area map built from the seeds, a fill staying
// inside its area, the finish, and material that must not be played (seeds outside the
// picture or on its outline, an outline and a finished picture of different sizes).
// The picture is 100 x 100: a frame and a line at x = 50 make a left and a right area;
// the lesson of "m" colours the left one red ("a") and the right one green ("m").
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PictureWriter.h"
#include "reading/LxColoringButton.h"
#include "reading/LxRColoringScr.h"
#include "shell/LxMessages.h"
#include "test_reading_games_support.h"
#include "ui/LxGroup.h"

namespace {

using namespace reading_test;

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00;

class ColoringTest : public ReadingGamesTest {
  protected:
    void SetUp() override {
        ReadingGamesTest::SetUp();
        WriteOutline("data/col/pic.rle", 100, 100);
        WritePicture("data/col/pic.bmp", 0x808000, 100, 100);
        WritePicture("data/buttons/paletta.bmp", 0xC0C0C0, 200, 220);
        WriteReadingFont("tnr24");
        WriteColoringDescription();
    }
    // The frame and the dividing line as a mask.
    static void WriteOutline(const std::string& path, int w, int h) {
        LxImage image;
        image.width = w;
        image.height = h;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                image.pixels.push_back(x == 0 || y == 0 || x == w - 1 || y == h - 1 || x == 50
                                           ? 0xFF000000u
                                           : 0xFFFFFFFFu);
        WriteFile(path, EncodeMask(image, 128, false));
    }
    // The reading description with the palette buttons in group "fo" and the groups
    // "al" and "help".
    static void WriteColoringDescription() {
        std::string palette;
        for (int k = 0; k < 10; ++k)
            palette += "<control type=\"button\" name=\"c" + std::to_string(k) +
                       "\" help=\"\">\n<common rect=\"" + std::to_string(620 + 80 * (k % 2)) + "," +
                       std::to_string(190 + 42 * (k / 2)) + ",40,40\"/>\n</control>\n";
        std::FILE* f = std::fopen("data/olvfej.xml", "rb");
        ASSERT_NE(f, nullptr);
        std::string reading;
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
            reading.append(buffer, n);
        std::fclose(f);
        size_t at = reading.find("</group>\n") + 9;
        reading.insert(at, palette);
        reading.insert(reading.rfind("</Lexo>"),
                       "<group name=\"al\" position=\"0,0\">\n</group>\n"
                       "<control type=\"button\" name=\"vissza\">\n<common "
                       "rect=\"610,500,60,30\"/>\n</control>\n");
        WriteFile("data/coloring.xml", reading);
    }
    // The lesson of "m" (entry 1) colours the picture with these segments.
    static void WriteMaterial(const std::string& segments,
                              const std::string& where = "path=\"col\" name=\"pic\"") {
        WriteCourse("<session character=\"m\"><game1/><coloring " + where + ">" + segments +
                    "</coloring></session>\n");
        Choose(1);
    }
    static std::string TwoAreas() {
        return "<segment character=\"a\" color=\"0xFF0000\" position=\"'20,20'\"/>"
               "<segment character=\"m\" color=\"0x00FF00, 0x0000FF\" position=\"'70,20', "
               "'70,80'\"/>";
    }
    static void ClickArea(CLxRColoringScr* game, int x, int y) {
        CLxMouseEvent event(game->Area(), x, y, kMouseClick, 1);
        game->Area()->OnClick(&event);
        game->OnMouseEvent(&event);
    }
    static void ClickPalette(CLxRColoringScr* game, int k) {
        CLxControl* button = Control(game, ("fo.c" + std::to_string(k)).c_str());
        ASSERT_NE(button, nullptr);
        CLxMouseEvent event(button, 0, 0, kMouseClick, 1);
        game->OnMouseEvent(&event);
    }
    static uint32_t At(CLxRColoringScr* game, int x, int y) {
        return GetPixel(game->Area()->Surface(), x, y);
    }
    static int State(CLxScreen* s, const char* name) {
        int state = 0;
        s->GetControlState(name, &state);
        return state;
    }
};

TEST_F(ColoringTest, MissingColoursAreMadeFromTheGivenOnes) {
    const struct {
        int given;
        uint32_t in[4], out[4];
    } cases[] = {
        {1, {0x00FF00}, {0x00FF00, 0xFF00FF, 0xFF00FF, 0x00FF00}},
        {2, {0x102030, 0x405060}, {0x102030, 0x405060, 0x405060, 0x102030}},
        {3, {1, 2, 3}, {1, 2, 3, 1}},
        {4, {1, 2, 3, 4}, {1, 2, 3, 4}},
    };
    for (const auto& c : cases) {
        LxColoringSegment segment;
        for (int i = 0; i < 4; ++i)
            segment.colours[i] = c.in[i];
        CompleteSegmentColours(&segment, c.given);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(segment.colours[i], c.out[i]) << c.given << " colours, c" << i;
    }
}

TEST_F(ColoringTest, TheAreasAreMappedAndLeftUncoloured) {
    WriteMaterial(TwoAreas());
    CLxRColoringScr game("data\\coloring.xml");
    ASSERT_NE(game.Area(), nullptr);
    ASSERT_EQ(game.Segments().size(), 2u);
    EXPECT_EQ(game.Segments()[1].colours[2], 0x0000FFu);
    EXPECT_EQ(ColoringSegmentAt(game.Map(), 20, 20), 0);
    EXPECT_EQ(ColoringSegmentAt(game.Map(), 70, 80), 1);
    EXPECT_EQ(ColoringSegmentAt(game.Map(), 300, 300), kNoSegment); // outside the picture
    EXPECT_EQ(ColoringSegmentAt(game.Map(), 600, 599), kNoSegment); // the edge
    EXPECT_EQ(ColoringSegmentAt(game.Map(), -1, 5), kNoSegment);
    EXPECT_EQ(At(&game, 20, 20), kUncoloured);
    EXPECT_EQ(At(&game, 70, 20), kUncoloured);
    EXPECT_EQ(At(&game, 50, 30), 0u);          // the outline
    EXPECT_EQ(At(&game, 300, 300), 0xFFFFFFu); // beyond the picture
    EXPECT_TRUE(State(&game, "fo.c0") & kSelected);
    EXPECT_FALSE(State(&game, "fo.c2") & kVisible);
    EXPECT_EQ(game.Area()->m_nColour, kRed);
}

TEST_F(ColoringTest, AFillStaysInsideItsArea) {
    WriteMaterial(TwoAreas());
    CLxRColoringScr game("data\\coloring.xml");
    ClickArea(&game, 20, 20);
    EXPECT_EQ(At(&game, 20, 20), kRed);
    EXPECT_EQ(At(&game, 49, 99 - 2), kRed);
    EXPECT_EQ(At(&game, 50, 40), 0u);
    EXPECT_EQ(At(&game, 51, 40), kUncoloured);
    EXPECT_EQ(At(&game, 200, 200), 0xFFFFFFu);
    EXPECT_FALSE(game.Finished());
}

TEST_F(ColoringTest, ThePaletteChoosesTheColourAndEveryAreaRightFinishes) {
    WriteMaterial(TwoAreas());
    CLxRColoringScr game("data\\coloring.xml");
    ClickPalette(&game, 1);
    EXPECT_EQ(game.Area()->m_nColour, kGreen);
    EXPECT_TRUE(State(&game, "fo.c1") & kSelected);
    EXPECT_FALSE(State(&game, "fo.c0") & kSelected);
    ClickArea(&game, 20, 20); // green into the left area: wrong
    ClickArea(&game, 70, 50);
    EXPECT_FALSE(game.Finished());
    ClickPalette(&game, 0);
    ClickArea(&game, 20, 20);
    EXPECT_TRUE(game.Finished());
    EXPECT_EQ(State(&game, "fo.c0"), kVisible);
    EXPECT_EQ(State(&game, "fo.c1"), kVisible);
    EXPECT_FALSE(game.Area()->m_nFlags & kEnabled);
    EXPECT_EQ(At(&game, 20, 20), 0x808000u); // the finished picture
    EXPECT_EQ(At(&game, 50, 30), 0u);        // under the outline
}

TEST_F(ColoringTest, MovingOverAnAreaSaysItsLetterOnce) {
    WriteMaterial(TwoAreas());
    CLxRColoringScr game("data\\coloring.xml");
    CLxMouseEvent left(game.Area(), 20, 20, kMouseMove, 0),
        right(game.Area(), 70, 70, kMouseMove, 0), outside(game.Area(), 400, 400, kMouseMove, 0),
        leave(game.Area(), 0, 0, kMouseLeave, 0);
    game.Area()->OnMove(&left);
    EXPECT_EQ(game.Speaking(), 0);
    game.Area()->OnMove(&outside);
    EXPECT_EQ(game.Speaking(), 0);
    game.Area()->OnMove(&right);
    EXPECT_EQ(game.Speaking(), 1);
    game.OnMouseEvent(&leave);
    EXPECT_EQ(game.Speaking(), -1);
}

TEST_F(ColoringTest, SeedsOutsideThePictureOrOnItsOutlineAreDropped) {
    WriteMaterial("<segment character=\"a\" color=\"0xFF0000\" position=\"'20,20', '700,20', "
                  "'-3,40', '50,50'\"/>");
    testing::internal::CaptureStdout();
    CLxRColoringScr game("data\\coloring.xml");
    std::string said = testing::internal::GetCapturedStdout();
    EXPECT_NE(said.find("(700, 20)"), std::string::npos) << said;
    EXPECT_NE(said.find("(50, 50)"), std::string::npos) << said;
    ASSERT_EQ(game.Segments().size(), 1u);
    EXPECT_EQ(game.Segments()[0].seeds.size(), 1u);
    EXPECT_EQ(At(&game, 50, 50), 0u); // the outline stays black
    EXPECT_EQ(At(&game, 0, 0), 0u);
    EXPECT_EQ(At(&game, 20, 20), kUncoloured);
    ClickArea(&game, 20, 20);
    EXPECT_TRUE(game.Finished());
}

TEST_F(ColoringTest, AnOutlineThatDoesNotMatchItsPictureFillsNothing) {
    WritePicture("data/col/pic.bmp", 0x808000, 120, 100);
    WriteMaterial(TwoAreas());
    testing::internal::CaptureStdout();
    CLxRColoringScr game("data\\coloring.xml");
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(game.Segments().empty());
    EXPECT_FALSE(game.Area()->m_nFlags & kEnabled);
    ClickArea(&game, 20, 20);
    EXPECT_EQ(At(&game, 20, 20), 0xFFFFFFu);
    EXPECT_FALSE(game.Finished());
    EXPECT_FALSE(State(&game, "fo.c0") & kVisible);
}

TEST_F(ColoringTest, MaterialThatIsMissingOrLeavesTheDataFolderGivesAnEmptyPicture) {
    const char* wheres[] = {"path=\"col\" name=\"none\"", "path=\"..\\col\" name=\"pic\"",
                            "path=\"col\" name=\"..\\pic\"", "name=\"pic\""};
    for (const char* where : wheres) {
        SCOPED_TRACE(where);
        WriteMaterial(TwoAreas(), where);
        testing::internal::CaptureStdout();
        CLxRColoringScr game("data\\coloring.xml");
        testing::internal::GetCapturedStdout();
        EXPECT_TRUE(game.Segments().empty());
        ClickArea(&game, 20, 20);
        EXPECT_EQ(At(&game, 20, 20), 0xFFFFFFu);
    }
}

TEST_F(ColoringTest, AClickOnTheEdgeOfTheAreaFillsNothing) {
    WriteMaterial(TwoAreas());
    CLxRColoringScr game("data\\coloring.xml");
    ClickArea(&game, 600, 600);
    ClickArea(&game, 600, 20);
    EXPECT_EQ(At(&game, 599, 599), 0xFFFFFFu);
    EXPECT_EQ(At(&game, 20, 20), kUncoloured);
}

TEST_F(ColoringTest, BackGoesToReadingGameOne) {
    WriteMaterial(TwoAreas());
    CLxRColoringScr game("data\\coloring.xml");
    CLxControl* back = Control(&game, "al.vissza");
    ASSERT_NE(back, nullptr);
    CLxMouseEvent event(back, 0, 0, kMouseClick, 1);
    g_sent.clear();
    EXPECT_EQ(game.OnMouseEvent(&event), static_cast<int>(kMsgReadingGame1));
    EXPECT_EQ(SentMessages(), (std::vector<UINT>{kMsgReadingGame1}));
}

} // namespace
