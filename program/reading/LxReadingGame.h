// What reading games 2 to 7 share, on top of the reading screen: the game's screen name
// and selected game button, the lesson's lists (plain, or groups of quoted lists), the
// letter colours, the small pictures and ticks drawn into the background, the end sound
// that plays once when the game is finished (kept apart from the spoken help), the
// change-over delay between a game's two parts, counted down by the window timer, and
// the letter sprites that games 4 and 5 let the child drag onto pictures: each sprite
// remembers its home, and one dropped where it does not belong goes back there.
#pragma once
#include <string>
#include <vector>

#include "reading/LxReadingScr.h"

class CBSoundBuffer;
class CLxRLEFonts;
class CLxRLESprite;
class CLxSurface;

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

// Where item k of n stands along a span: k × span / (n − 1); a single item stands in the
// middle of the span.
int Spread(int k, int n, int span);
// Whether inner lies wholly inside outer; whether two rectangles share any pixel.
bool LiesInside(const RECT& inner, const RECT& outer);
bool Overlaps(const RECT& a, const RECT& b);

// A font drawing into a surface (the screen's background) for as long as it lives;
// false when the font or the surface is missing.
class CLxSurfaceFont {
  public:
    CLxSurfaceFont(CLxSurface* surface, const char* fontPath);
    ~CLxSurfaceFont();
    CLxSurfaceFont(const CLxSurfaceFont&) = delete;
    CLxSurfaceFont& operator=(const CLxSurfaceFont&) = delete;
    explicit operator bool() const { return m_pFont != nullptr; }
    CLxRLEFonts* operator->() const { return m_pFont; }

  private:
    CLxSurface* m_pSurface = nullptr;
    CLxRLEFonts* m_pFont = nullptr;
};

// The width of a letter's glyph in a font; 0 without the font or the glyph.
int GlyphWidth(const char* fontPath, unsigned char code);

class CLxReadingGame : public CLxReadingScr {
  public:
    // prefix "RGame" or "RPGame"; the end sound is data\sounds\<prefix><game>End.wav
    // (none for a null prefix).
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

    struct LetterSprite {
        CLxRLESprite* sprite;
        unsigned char letter;
        POINT home;
    };
    // A sprite "sprites.NN" (NN its number) showing the letter's glyph of the font in the
    // letter's colour, its top-left corner at (x, y), which is its home.
    void AddLetterSprite(unsigned char letter, const char* fontPath, int x, int y);
    // Deletes every letter sprite.
    void RemoveSprites();
    // Where a sprite lies now.
    static RECT SpriteRect(const LetterSprite& s);
    // The sprite pressed by a button-down event is the dragged one; a press on anything
    // else clears it. The dragged sprite, null when none.
    void TrackDrag(const CLxMouseEvent* event);
    LetterSprite* Dragged();
    void SendHome(LetterSprite* s);
    // Whether the event drops what was dragged: a click or a release away from the control.
    static bool IsDrop(const CLxMouseEvent* event);

    std::vector<LetterSprite> m_sprites;

  private:
    CBSoundBuffer* m_pEndSound = nullptr;
    bool m_bEnded = false;
    int m_nDelay = 0;
    int m_nDragged = -1;
};
