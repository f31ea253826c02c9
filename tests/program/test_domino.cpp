// The domino game: which word may follow which letter, tiles made from the lesson's
// pairs (none for a word without a picture), a drop near the chain's next place (32
// pixels off places the tile, 33 do not), the hand refilled from the stock, and the
// end after nine tiles. The lesson of "m" holds the pairs; the small pictures are the
// shared reading-game catalogue with the same pictures in data/domino.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reading/LxRDominoScr.h"
#include "test_reading_games_support.h"
#include "ui/LxSprite.h"

namespace {

using namespace reading_test;

class DominoTest : public ReadingGamesTest {
  protected:
    void SetUp() override {
        ReadingGamesTest::SetUp();
        for (int i = 0; i < 8; ++i)
            WritePicture("data/domino/p" + std::to_string(i) + ".bmp", PictureColour(i), 96, 96);
    }
    // The lesson of "m" (entry 1) with these pairs.
    static void WritePairs(const std::string& pairs) {
        WriteCourse("<session character=\"m\"><game1/><domino pairs=\"" + pairs +
                    "\"/></session>\n");
        Choose(1);
    }
    // Twelve tiles whose words all hold "a" and "m", their letters "a" or "m": any tile
    // fits after any other.
    static std::string Fitting(int n) {
        std::string pairs;
        const char* words[] = {"'maci, a'", "'alma, m'", "'malac, a'"};
        for (int i = 0; i < n; ++i)
            pairs += std::string(i ? ", " : "") + words[i % 3];
        return pairs;
    }
    static RECT Where(const CLxRDominoScr::Tile& tile) {
        RECT at{};
        tile.sprite->GetDrawRect(&at);
        return at;
    }
    // Presses on the tile, moves it to (x, y) and lets it go, as a drag does.
    static void DragTo(CLxRDominoScr* game, int f, int x, int y) {
        CLxBMPSprite* sprite = game->Tiles()[f].sprite;
        CLxMouseEvent down(sprite, 0, 0, kMouseDown, 1);
        game->OnMouseEvent(&down);
        sprite->MoveTo(x - sprite->OriginX(), y - sprite->OriginY());
        CLxMouseEvent up(sprite, x, y, kMouseClick, 0);
        game->OnMouseEvent(&up);
    }
    // A tile of the hand (1 to 9) that may follow the last one.
    static int Fits(const CLxRDominoScr& game) {
        const auto& tiles = game.Tiles();
        for (int f = 1; f < static_cast<int>(tiles.size()); ++f)
            if (tiles[f].sprite && tiles[f].sprite->Is(kEnabled) &&
                DominoFits(tiles[f].word, tiles[game.LastTile()].letter))
                return f;
        return -1;
    }
};

TEST_F(DominoTest, AWordFitsWhenItHoldsTheLetter) {
    const struct {
        const char* word;
        const char* letter;
        bool fits;
    } cases[] = {
        {"alma", "m", true},   {"alma", "a", true},  {"t\xF6k", "m", false}, {"maci", "M", true},
        {"\xE1g", "a", false}, {"sas", "sz", false}, {"szamos", "sz", true}, {"mama", "t", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DominoFits(c.word, Code(c.letter)), c.fits) << c.word << " after " << c.letter;
}

TEST_F(DominoTest, TilesLieAtTheStartAndInTheHand) {
    WritePairs(Fitting(12));
    CLxRDominoScr game("data\\olvfej.xml");
    ASSERT_EQ(game.Tiles().size(), 12u);
    EXPECT_STREQ(game.GetName(), "Domino");
    EXPECT_EQ(game.ChainLength(), 1);
    const auto& tiles = game.Tiles();
    EXPECT_EQ(Where(tiles[0]).left, 16);
    EXPECT_EQ(Where(tiles[0]).top, 440);
    EXPECT_EQ(tiles[0].sprite->m_nFlags, kVisible | kSelected);
    EXPECT_EQ(Where(tiles[1]).left, 36);
    EXPECT_EQ(Where(tiles[1]).top, 180);
    EXPECT_EQ(Where(tiles[4]).left, 196);
    EXPECT_EQ(Where(tiles[4]).top, 260);
    EXPECT_EQ(tiles[9].sprite->m_nFlags, kVisible | kEnabled);
    EXPECT_EQ(tiles[10].sprite->m_nFlags, 0);
    EXPECT_NE(game.GetGUI()->FindControl("fo.d11"), nullptr);
}

TEST_F(DominoTest, WordsWithoutAPictureGiveNoTileAndAnItemWithoutACommaIsAlma) {
    WritePairs("'maci, a', 'zebra, m', 'lonely'");
    CLxRDominoScr game("data\\olvfej.xml");
    ASSERT_EQ(game.Tiles().size(), 3u);
    int zebra = -1, lonely = -1;
    for (int f = 0; f < 3; ++f) {
        if (game.Tiles()[f].word == "zebra") zebra = f;
        if (game.Tiles()[f].letter == 'x') lonely = f;
    }
    ASSERT_GE(zebra, 0);
    EXPECT_EQ(game.Tiles()[zebra].sprite, nullptr);
    ASSERT_GE(lonely, 0);
    EXPECT_EQ(game.Tiles()[lonely].word, "alma");
    EXPECT_NE(game.Tiles()[lonely].sprite, nullptr);
}

TEST_F(DominoTest, ADropThirtyTwoPixelsOffIsPlacedAndThirtyThreeGoesBack) {
    const struct {
        int dx, dy;
        bool placed;
    } cases[] = {{32, 0, true}, {0, -32, true}, {-32, 32, true}, {33, 0, false}, {0, 33, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.dx) + "," + std::to_string(c.dy));
        WritePairs(Fitting(12));
        CLxRDominoScr game("data\\olvfej.xml");
        int f = Fits(game);
        ASSERT_GT(f, 0);
        RECT from = Where(game.Tiles()[f]);
        POINT target = CLxRDominoScr::Target(1);
        DragTo(&game, f, target.x + c.dx, target.y + c.dy);
        RECT at = Where(game.Tiles()[f]);
        if (c.placed) {
            EXPECT_EQ(game.ChainLength(), 2);
            EXPECT_EQ(game.LastTile(), f);
            EXPECT_EQ(at.left, 80);
            EXPECT_EQ(at.top, 504);
            EXPECT_EQ(game.Tiles()[f].sprite->m_nFlags, kVisible);
            // The stock's next tile takes the place in the hand.
            EXPECT_EQ(Where(game.Tiles()[9]).left, from.left);
            EXPECT_EQ(Where(game.Tiles()[9]).top, from.top);
        } else {
            EXPECT_EQ(game.ChainLength(), 1);
            EXPECT_EQ(at.left, from.left);
            EXPECT_EQ(at.top, from.top);
        }
    }
}

TEST_F(DominoTest, AWordThatDoesNotFitGoesBackFromThePlace) {
    WritePairs("'maci, t', 'alma, t', 'malac, t'");
    CLxRDominoScr game("data\\olvfej.xml");
    RECT from = Where(game.Tiles()[1]);
    POINT target = CLxRDominoScr::Target(1);
    DragTo(&game, 1, target.x, target.y);
    EXPECT_EQ(game.ChainLength(), 1);
    EXPECT_EQ(Where(game.Tiles()[1]).left, from.left);
}

TEST_F(DominoTest, NineTilesInTheChainEndTheGame) {
    WritePairs(Fitting(12));
    CLxRDominoScr game("data\\olvfej.xml");
    for (int n = 1; n < CLxRDominoScr::kChainEnd; ++n) {
        EXPECT_FALSE(game.Ended());
        int f = Fits(game);
        ASSERT_GT(f, 0) << "chain " << n;
        POINT target = CLxRDominoScr::Target(n);
        DragTo(&game, f, target.x, target.y);
        EXPECT_EQ(game.ChainLength(), n + 1);
    }
    EXPECT_TRUE(game.Ended());
    // A placed tile no longer moves.
    int placed = game.LastTile();
    EXPECT_FALSE(game.Tiles()[placed].sprite->Is(kEnabled));
}

TEST_F(DominoTest, TheShuffleComesFromTheClock) {
    WritePairs(Fitting(12));
    auto order = [] {
        CLxRDominoScr game("data\\olvfej.xml");
        std::string words;
        for (const auto& tile : game.Tiles())
            words += tile.word + std::to_string(tile.letter) + " ";
        return words;
    };
    g_nNow = 777;
    std::string first = order();
    EXPECT_EQ(order(), first);
    bool differs = false;
    for (g_nNow = 0; g_nNow < 20 && !differs; ++g_nNow)
        differs = order() != first;
    EXPECT_TRUE(differs);
}

} // namespace
