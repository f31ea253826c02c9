// The memory game: cards lie face down on a board, the child turns two at a time, a
// pair with the same picture leaves the board, two different ones turn back. When the
// last pair has gone the end sound plays and, 16 window-timer ticks later (1.6 s), the
// game answers with the message it was given (the main screen, or the extended game's
// return to the screen it was opened from).
//
// The description names the picture folder ("path" of its root element) and the cards
// ("name" of its element "pictures"); the cards are its check boxes "fo.k<row><column>",
// taken in row order. The face of a card is "<folder>\<name>.bmp", drawn into the
// selected state pictures of group "fo"; the back is "<folder>\memory.bmp" in the
// passive ones. A card list of up to 8 items is a choice of layouts (each item a quoted
// list; a single one is the layout), one of which is taken at random; a longer list is
// the layout itself. The
// random generator is seeded from the program's clock.
//
// The extended memory game (LxMemoryExtScr.h) deals a random deck of pairs instead.
#pragma once
#include <random>
#include <string>
#include <vector>

#include "reading/LxExerciseHelp.h"
#include "ui/LxScreen.h"

class CBSoundBuffer;

class CLxMemoryScr : public CLxScreen {
  public:
    static constexpr int kEndDelayTicks = 16; // window-timer ticks after the last pair
    static constexpr int kShowPairMs = 600;   // both cards stay turned this long
    static constexpr int kMaxBoardSide = 8;   // "fo.k<row><column>", digits 0 to 7

    // answer: the message sent when the game ends or the child leaves.
    CLxMemoryScr(const char* descriptionPath, UINT answer);
    ~CLxMemoryScr() override;

    int OnKeyEvent(CLxKeyEvent*) override { return 0; }
    int OnMouseEvent(CLxMouseEvent* event) override;
    // Counts the end delay down on the window timer; at 0 sends the answer.
    int OnTimerEvent(CLxTimerEvent* event) override;

    struct Card {
        CLxControl* control;
        std::string name; // empty: no card in this place (hidden)
        int pair;         // the index of the first card with the same name
    };
    const std::vector<Card>& Cards() const { return m_cards; }
    // The cards still on the board that have a partner.
    int Remaining() const { return m_nRemaining; }
    int EndDelay() const { return m_nEndDelay; }
    bool Ended() const { return m_bEnded; }

  protected:
    struct Look {
        int inset;    // pictures lie in the card's rectangle shrunk by this
        int outlines; // red outlines of the hot pictures
    };
    // extended: the deck is dealt as the extended game deals it.
    CLxMemoryScr(const char* descriptionPath, UINT answer, bool extended);
    // Shows both turned cards for a moment before they are compared; the window thread
    // waits meanwhile, so no third card can be turned.
    virtual void ShowPair();

  private:
    void ReadDescription(bool extended);
    std::vector<std::string> PlainLayout();
    void Deal(const std::vector<std::string>& names);
    void DrawCardPictures(const Card& card, CLxSurface* face, CLxSurface* back, Look look);
    CLxSurface* LoadBack(bool extended);
    void TurnCard(int index);

    UINT m_nAnswer;
    std::mt19937 m_random;
    std::string m_folder;
    std::vector<std::string> m_list; // the description's card list
    int m_nColumns = 4, m_nRows = 4; // the extended game's board
    std::vector<Card> m_cards;
    int m_nFirst = -1; // the card turned first, -1 for none
    int m_nRemaining = 0;
    int m_nEndDelay = 0;
    bool m_bEnded = false;
    CBSoundBuffer* m_pEndSound = nullptr;
    CLxExerciseHelp m_help;
};

// The extended game's deck: of the distinct names, min(their number, cards / 2) chosen
// at random, each twice, shuffled with (deck size)^2 swaps of two random places.
std::vector<std::string> ExtendedMemoryDeck(const std::vector<std::string>& names, int cards,
                                            std::mt19937& random);
