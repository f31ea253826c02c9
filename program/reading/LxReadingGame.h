// What reading games 2 to 7 share, on top of the reading screen: the game's screen name
// and selected game button, the lesson's lists (plain, or groups of quoted lists), the
// letter colours, the small pictures and ticks drawn into the background, the end sound
// that plays once when the game is finished (kept apart from the spoken help), and the
// change-over delay between a game's two parts, counted down by the window timer.
#pragma once
#include <string>
#include <vector>

#include "reading/LxReadingScr.h"

class CBSoundBuffer;

inline constexpr uint32_t kVowelColour = 0xFF0000, kConsonantColour = 0x04A820;
inline constexpr int kChangeOverTicks = 8; // window-timer events between two parts
inline constexpr const char* kSmallTick = "data\\buttons\\pipa_160x160.bmp";
inline constexpr const char* kLargeTick = "data\\buttons\\pipa_200x200.bmp";

// Red for a vowel, green for any other letter.
uint32_t LetterColour(unsigned char code);

// The lesson's list as groups: a list of at least groupFrom items is one group; a
// shorter one is a list of groups, each item a quoted list of its own. At most maxGroups
// groups of maxItems items.
std::vector<std::vector<std::string>> LessonGroups(unsigned char letter, const char* game,
                                                   const char* attr, int groupFrom, int maxGroups,
                                                   int maxItems);

class CLxReadingGame : public CLxReadingScr {
  public:
    // prefix "RGame" or "RPGame"; the end sound is data\sounds\<prefix><game>End.wav.
    CLxReadingGame(const char* descriptionPath, int game, const char* prefix);
    ~CLxReadingGame() override;

    // Counts the change-over delay down on the window timer.
    int OnTimerEvent(CLxTimerEvent* event) override;

    bool Ended() const { return m_bEnded; }
    int ChangeOverDelay() const { return m_nDelay; }

  protected:
    // Plays the end sound, the first time only.
    void End();
    void StartChangeOver() { m_nDelay = kChangeOverTicks; }
    // The second part of a two-part game, when the delay has run out.
    virtual void ChangeOver() {}

    // The small picture of a word scaled into rect of the background; false when the
    // catalogue lacks the word. The word's syllabified form goes to syllables (the word
    // itself without a picture).
    bool DrawWordPicture(const std::string& word, const RECT& rect, std::string* syllables);
    // The tick picture (white transparent) over rect of the background and the screen.
    void DrawTick(const char* path, const RECT& rect);

  private:
    CBSoundBuffer* m_pEndSound = nullptr;
    bool m_bEnded = false;
    int m_nDelay = 0;
};
