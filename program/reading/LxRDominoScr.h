// The domino game, a lesson's seventh game: the child builds a chain of word tiles in
// which each tile's word holds the letter shown on the tile before it. A tile shows the
// word's picture on its left half and a letter on its right; the first tile lies at
// the start of the chain, up to nine more wait in the hand. A tile dropped within 32
// pixels of the chain's next place whose word fits joins the chain, and a tile from the
// stock takes its place in the hand; anything else goes back. Nine tiles in the chain
// end the game with its sound. The screen is the reading screen itself.
//
// The lesson's element "domino" gives "pairs": up to 32 quoted items of a word and a
// letter ("'alma, m', 'mama, a'"); the tiles are shuffled, with the random generator
// seeded from the program's clock. A word the small-picture catalogue lacks gives no tile.
#pragma once
#include <random>
#include <string>
#include <vector>

#include "reading/LxReadingScr.h"

class CLxBMPSprite;
class CLxSurface;

// Whether a tile with this word may follow a tile with this letter: the word holds the
// letter, or, for a letter that is not a vowel, its long (doubled) form.
bool DominoFits(const std::string& word, unsigned char letter);

class CLxRDominoScr : public CLxReadingScr {
  public:
    static constexpr int kMaxTiles = 32;
    static constexpr int kChainEnd = 9;  // tiles in a finished chain
    static constexpr int kHandTiles = 9; // tiles 1 to 9 start in the hand
    static constexpr int kSlack = 32;    // pixels a drop may miss its place by

    explicit CLxRDominoScr(const char* descriptionPath);
    ~CLxRDominoScr() override;

    int OnMouseEvent(CLxMouseEvent* event) override;
    int OnTimerEvent(CLxTimerEvent*) override { return 0; }

    struct Tile {
        std::string word;
        unsigned char letter = 0;
        CLxBMPSprite* sprite = nullptr; // null: no picture, no tile
        CLxSurface* looks[3] = {};      // normal, disabled, hot
    };
    const std::vector<Tile>& Tiles() const { return m_tiles; }
    int ChainLength() const { return m_nChain; }
    int LastTile() const { return m_nLast; }
    bool Ended() const { return m_bEnded; }
    // The place where the next tile of a chain of n tiles goes.
    static POINT Target(int n);

  private:
    void ReadTiles();
    void MakeTile(int f);
    void DrawSlots();
    void Drop(int f);

    std::mt19937 m_random;
    std::vector<Tile> m_tiles;
    int m_nChain = 1;
    int m_nLast = 0;
    POINT m_ptFrom{0, 0}; // where the tile being moved came from
    bool m_bEnded = false;
    CBSoundBuffer* m_pEndSound = nullptr;
};
