// Reading game 1, "say the letter", for a single letter. It shows the letter's call
// picture with the letter in both cases and its key word, then listens. For a vowel the
// recogniser's class scores light the big letter while the child holds the vowel (and,
// for a vowel pair, the long letter after a longer hold). For a consonant the driver
// waits for an utterance and recognises it; when it heard the right consonant the key
// word appears in large letters. A lesson that lists words for game 1 shows the words
// instead and does not listen.
#pragma once
#include "reading/LxReadingScr.h"

class CLxSurface;

// How long (ms) the vowel must be held before the short letter lights, and before the
// long letter of a vowel pair takes over.
constexpr int kVowelSettleMs = 81;
constexpr int kVowelLongMs = 361;

// The call picture of a letter as a 32-bit surface, with the key word and the letter in
// both cases drawn on it (the second word and the long letter too for a vowel pair);
// null, after "call pic not found.", when the catalogue has no picture for the letter.
CLxSurface* MakeCallPicture(unsigned char letter);
// The overlay weight of a class score: 0 (solid) for 1, 255 (invisible) for 0.
int ScoreWeight(float score);

class CLxRGameScr1 : public CLxReadingScr {
  public:
    explicit CLxRGameScr1(const char* descriptionPath);
    ~CLxRGameScr1() override;

    int OnTimerEvent(CLxTimerEvent* event) override;

    // Whether the lesson gave this game words (the screen then does not listen).
    bool ShowsWords() const { return m_bWords; }

  private:
    void SetUp();
    bool DrawWords();
    void ShowRecognised();
    void DrawLargeWord(const char* codes);
    void LightVowel(const CLxTimerEvent* event);

    bool m_bWords = false;
};
