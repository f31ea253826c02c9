// Reading along on the automation screen: the child reads a sentence aloud and a caret
// follows. The sentence (letter codes) carries a "$" before every practised letter; the
// caret stops at each vowel of the therapy letter order until the recogniser is sure of
// a vowel, passes over the other letters while it is unsure, and a marked vowel said
// right loses its mark. A pause of 0.3 s at a word's end selects the next word (after
// the last, the first again); a pause inside a word sends the caret back to the word's
// start. Each step takes the silence flag, the recogniser's best class and its score
// and the time in milliseconds, so a test drives it on a clock of its own.
#pragma once
#include <cstdint>
#include <string>

class CLxReadAlong {
  public:
    // The copy of the shown text holds at most this many codes.
    static constexpr int kMaxText = 511;
    // The practised letters with their long and capital forms: at most this many codes.
    static constexpr int kMaxMarked = 63;
    static constexpr float kSure = 0.5328f, kUnsure = 0.36f;
    static constexpr int kPauseMs = 300, kSilenceMs = 150;
    static constexpr uint32_t kPauseColour = 0xFFFFFF, kListenColour = 0;
    enum State { kPause = 0, kWaiting = 1, kListening = 2, kHeard = 3 };

    // The letters of the practised tasks, their long forms and the capitals of both.
    static std::string PractisedLetters();
    // The text with a "$" before each letter of marked; marks that would make it longer
    // than kMaxText are left out.
    static std::string MarkText(const std::string& text, const std::string& marked);
    static bool EndsWord(unsigned char c);

    // Starts on a marked text: caret 0, the first word selected.
    void Start(const std::string& marked, int nowMs);
    // One driver tick. bestClass is the recogniser's best class (-1 for none) and score
    // its score. True when the text changed (a mark was taken out).
    bool Step(bool silence, int bestClass, float score, int nowMs);

    std::string m_text;
    int m_nCaret = 0;
    int m_nSelStart = 0, m_nSelEnd = -1; // both included
    int m_nState = kPause;
    int m_nTime = 0;
    // What the two overlay letters show: the letter heard ("*" unsure, 0 none) and the
    // letter expected, with the expected letter's colour.
    unsigned char m_cHeard = 0;
    unsigned char m_cExpected = 0;
    uint32_t m_nExpectedColour = kPauseColour;

  private:
    unsigned char At(int i) const;
    unsigned char Expected() const;
    void SelectFirstWord();
    void SelectNextWord();
    // The first index from i on that ends a word (or the text's length).
    int WordEnd(int i) const;
    void Listen(bool silence, int bestClass, float score, int nowMs, bool* changed);
};
