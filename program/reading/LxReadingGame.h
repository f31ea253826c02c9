// What reading games 2 to 7 share, on top of the reading screen: the game's screen name
// and selected game button, the lesson's lists (plain, or groups of quoted lists), the
// letter colours, the small pictures and ticks drawn into the background, the end sound
// that plays once when the game is finished (kept apart from the spoken help), and the
// change-over delay between a game's two parts, counted down by the window timer.
// The board pieces several games share: letter sprites that the child drags (group
// "sprites", listed in m_sprites, each remembering its home, one dropped where it does
// not belong going back there), and a row of check boxes: its darkened strip with its
// letter, and the state pictures of its group "c<row>".
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "reading/LxReadingScr.h"

class CBSoundBuffer;
class CLxGroup;
class CLxRLEFonts;
class CLxRLESprite;
class CLxSurface;

inline constexpr uint32_t kVowelColour = 0xFF0000, kConsonantColour = 0x04A820;
inline constexpr int kChangeOverTicks = 8; // window-timer events between two parts
inline constexpr const char* kSmallTick = "data\\buttons\\pipa_160x160.bmp";
inline constexpr const char* kLargeTick = "data\\buttons\\pipa_200x200.bmp";

// Sprites are dragged inside the board: the screen left of the buttons, under the card.
inline constexpr RECT kSpriteClip{0, 128, 666, 600};
// A row of check boxes has six state pictures, for the states disabled, disabled
// selected, normal, hot, selected and hot selected (0, 2, 4, 5, 6, 7); the items are
// drawn in these colours (the disabled selected picture is each game's own), and in the
// hot pictures traced again in the outline colours.
inline constexpr int kRowStates = 6;
inline constexpr uint32_t kRowColours[kRowStates] = {0x404040, 0,        0x0000A0,
                                                     0x0000F0, 0x00A0A0, 0x00F0F0};
inline constexpr uint32_t kRowOutlineColours[kRowStates] = {0, 0, 0, 0x0000FF, 0, 0x00FFFF};
inline constexpr int kRowDisabledSelected = 1; // its place among the pictures
inline constexpr int kRowHeight = 48;
// The rows' font and the outline font that traces their items when hot.
inline constexpr const char* kRowFont = "data\\fonts\\tnr32.xml";
inline constexpr const char* kRowOutlineFont = "data\\fonts\\tnr32o.xml";

// Red for a vowel, green for any other letter.
uint32_t LetterColour(unsigned char code);
// The normal and accent colours (0xRRGGBB) of drawn text.
void SetTextColours(CLxRLEFonts* font, uint32_t normal, uint32_t accent);
// Where item k of n stands along a span: k × span / (n − 1); a single item stands in the
// middle of the span.
int Spread(int k, int n, int span);
// The width of a letter's glyph in the font of a path; 0 without the font or the glyph.
int GlyphWidth(const char* fontPath, unsigned char code);
// Whether inner lies wholly inside outer; whether a and b share a pixel.
bool LiesInside(const RECT& inner, const RECT& outer);
bool Overlaps(const RECT& a, const RECT& b);

// Draws with a font into a surface for as long as it lives (nothing when it cannot).
class CLxFontPen {
  public:
    CLxFontPen(CLxRLEFonts* font, CLxSurface* surface);
    ~CLxFontPen();
    CLxFontPen(const CLxFontPen&) = delete;
    CLxFontPen& operator=(const CLxFontPen&) = delete;
    // The font while it is attached, else null.
    CLxRLEFonts* operator->() const { return m_pFont; }
    explicit operator bool() const { return m_pFont != nullptr; }

  private:
    CLxRLEFonts* m_pFont = nullptr;
    CLxSurface* m_pSurface = nullptr;
};

// The lesson's list as groups: a list of at least groupFrom items is one group; a
// shorter one is a list of groups, each item a quoted list of its own. At most maxGroups
// groups of maxItems items.
std::vector<std::vector<std::string>> LessonGroups(unsigned char letter, const char* game,
                                                   const char* attr, int groupFrom, int maxGroups,
                                                   int maxItems);

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
    // Member m's sprite of that copy, as AddMemberSprites made them; null when none.
    CLxControl* MemberSprite(int m, int copy) const;

  protected:
    // A letter sprite of the group "sprites": its control (null when the font lacks the
    // letter's glyph), its letter code, and its home, where a misplaced drop sends it.
    struct Sprite {
        CLxRLESprite* control = nullptr;
        unsigned char code = 0;
        POINT home{};
    };

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
    // The background as its file has it with the letter card on it, before a new board.
    void ReloadBoard();

    // The group "sprites" emptied (made on first use), and the sprite list with it.
    CLxGroup* ClearSprites();
    // Adds to the list a sprite "sprites.<name>" of a letter's glyph with its top-left
    // corner, its home, at (x, y), painted in colour (normal), hotColour and
    // disabledColour; it has no control when the font lacks the glyph.
    const Sprite& AddLetterSprite(const char* name, CLxRLEFonts* font, unsigned char code, int x,
                                  int y, uint32_t colour, uint32_t hotColour,
                                  uint32_t disabledColour);
    // The same named "NN" by its place in the list and painted in one colour.
    const Sprite& AddNumberedSprite(CLxRLEFonts* font, unsigned char code, int x, int y,
                                    uint32_t colour);
    // For each member m, copies sprites "sprites.<m><copy>" stacked at y and centred on
    // (290 + 580 m) / MemberCount() + 48; painted in the member's letter colour, or when
    // normalColour is given, in that when neither hot nor disabled.
    void AddMemberSprites(CLxRLEFonts* font, int copies, int y,
                          std::optional<uint32_t> normalColour = std::nullopt);
    // Where a sprite lies now; empty for one without a control.
    static RECT SpriteRect(const Sprite& sprite);
    // Moves a sprite to (x, y) and redraws where it was and where it is.
    void MoveSprite(CLxControl* sprite, int x, int y);
    // Moves a sprite back to its home.
    void SendHome(const Sprite& sprite);
    // Remembers the control the button went down on; true for a click or a release
    // outside (the moments a dragged sprite is dropped).
    bool TrackDrop(const CLxMouseEvent* event);
    // The listed sprite the button last went down on, or null.
    const Sprite* Dropped() const;

    // Darkens the strip of the row at y where its items stand and draws the row's letter
    // in colour at its left.
    void DrawRowHead(int y, unsigned char letter, uint32_t colour);
    // Pictures of the background's strip (0, y)–(800, y + height) for the row states from
    // first on (those before stay null: a row never in them), of which the row's group
    // "c<row>" at (0, y) takes ownership.
    static void MakeRowPictures(CLxSurface* background, int y, int height,
                                CLxSurface* out[kRowStates], int first = 0);
    CLxGroup* AddRowGroup(int row, int y, CLxSurface* const pictures[kRowStates]);

    std::vector<Sprite> m_sprites;

  private:
    CLxControl* m_pPressed = nullptr;
    int m_nMemberCopies = 0;
    CBSoundBuffer* m_pEndSound = nullptr;
    bool m_bEnded = false;
    int m_nDelay = 0;
};
