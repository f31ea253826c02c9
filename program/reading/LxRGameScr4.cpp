// Reading game 4; see LxRGameScr4.h. The pictures are drawn into the background and are
// the targets; the letters are sprites "sprites.NN" spread over a row under them. The
// screen checks the open targets after every drop: a target is done when every sprite
// lies wholly inside it exactly when the sprite's letter is the target's.
#include "reading/LxRGameScr4.h"

#include "media/LxCallPic.h"
#include "media/LxDraw.h"
#include "media/LxFontServer.h"
#include "media/LxRLEFonts.h"
#include "reading/LxCourse.h"
#include "reading/LxLetters.h"
#include "shell/LxProgram.h"
#include "ui/LxCGUI.h"
#include "ui/LxSprite.h"

namespace {
const char* const kLargeFont = "data\\fonts\\tnr48.xml";
const char* const kSmallFont = "data\\fonts\\tnr32.xml";
const RECT kCallPicture{230, 200, 430, 400};
const RECT kPairCallPictures[2] = {{100, 200, 300, 400}, {360, 200, 560, 400}};
const RECT kWordPictures[CLxRGameScr4::kPictures] = {
    {100, 180, 260, 340}, {400, 180, 560, 340}, {100, 420, 260, 580}, {400, 420, 560, 580}};
constexpr int kLettersLeft = 120, kLettersSpan = 420, kPartALettersY = 440, kPartBLettersY = 360;
} // namespace

CLxRGameScr4::CLxRGameScr4(const char* descriptionPath)
    : CLxReadingGame(descriptionPath, 4, "RGame") {
    m_szName = "RGame4";
    ClearSprites();
    m_lettersA = LessonList(m_nLetter, "game4a", "characters", kMaxLetters);
    m_lettersB = LessonList(m_nLetter, "game4b", "characters", kMaxLetters);
    m_words = LessonList(m_nLetter, "game4b", "words", kPictures);
    // A lesson without part a letters plays part b at once.
    if (m_lettersA.empty() && !m_lettersB.empty())
        BuildPartB();
    else
        BuildPartA();
    m_pGUI->DrawBackground(nullptr, nullptr, true);
}

// The call picture of each member is a target for that member's sprites.
void CLxRGameScr4::BuildPartA() {
    bool pair = IsVowelPair(m_nLetter);
    for (int i = 0; i < (pair ? 2 : 1); ++i) {
        unsigned char member = ToLower(i == 0 ? PairShort(m_nLetter) : PairLong(m_nLetter));
        RECT rect = pair ? kPairCallPictures[i] : kCallPicture;
        m_targets.push_back({rect, member});
        int index = g_pCallPics ? g_pCallPics->FindLetter(member) : -1;
        if (index < 0) continue; // the target stays, without its picture
        CLxSurface* picture = LoadBitmap(g_pCallPics->PicturePath(index));
        if (picture->m_pSurface && m_pGUI->m_pBackground)
            BltSurface(m_pGUI->m_pBackground, &rect, picture, nullptr, 0);
        FreeSurface(&picture);
    }
    AddSprites(m_lettersA, kLargeFont, kPartALettersY);
}

// Each word's picture is a target for the sprites of the word's first letter.
void CLxRGameScr4::BuildPartB() {
    m_bPartB = true;
    m_targets.clear();
    for (size_t i = 0; i < m_words.size(); ++i) {
        DrawWordPicture(m_words[i], kWordPictures[i], nullptr);
        m_targets.push_back({kWordPictures[i], ToLower(DecodeLetter(m_words[i].c_str()))});
    }
    AddSprites(m_lettersB, kSmallFont, kPartBLettersY);
}

// A letter the font lacks has no sprite.
void CLxRGameScr4::AddSprites(const std::vector<std::string>& letters, const char* fontPath,
                              int y) {
    CLxRLEFonts* font = ServedFont(fontPath);
    int n = static_cast<int>(letters.size());
    for (int i = 0; i < n; ++i) {
        unsigned char letter = DecodeLetter(letters[i].c_str());
        int width = GlyphWidth(font, letter);
        if (width == 0) continue;
        int x = kLettersLeft + Spread(i, n, kLettersSpan) - width / 2;
        AddNumberedSprite(font, letter, x, y, LetterColour(letter));
    }
}

int CLxRGameScr4::OnMouseEvent(CLxMouseEvent* event) {
    if (int sent = CLxReadingGame::OnMouseEvent(event)) return sent;
    if (!TrackDrop(event) || ChangeOverDelay() > 0) return 0;
    const Sprite* dropped = Dropped();
    bool home = dropped && !InOpenTarget(SpriteRect(*dropped));
    Check();
    if (home) SendHome(*dropped);
    return 0;
}

bool CLxRGameScr4::InOpenTarget(const RECT& r) const {
    for (const Target& target : m_targets)
        if (!target.done && LiesInside(r, target.rect)) return true;
    return false;
}

bool CLxRGameScr4::IsDone(const Target& target) const {
    for (const Sprite& s : m_sprites)
        if (LiesInside(SpriteRect(s), target.rect) != (ToLower(s.code) == target.letter))
            return false;
    return true;
}

void CLxRGameScr4::Check() {
    bool all = true;
    for (Target& target : m_targets) {
        if (target.done) continue;
        if (!IsDone(target)) {
            all = false;
            continue;
        }
        target.done = true;
        DrawTick(m_bPartB ? kSmallTick : kLargeTick, target.rect);
        for (const Sprite& s : m_sprites) {
            if (ToLower(s.code) != target.letter) continue;
            s.control->m_nFlags &= ~kEnabled;
            s.control->Draw();
        }
    }
    if (!all) return;
    if (!m_bPartB && !m_lettersB.empty())
        StartChangeOver();
    else
        End();
}

// Part b on a fresh background: the letter card again, the part a sprites gone.
void CLxRGameScr4::ChangeOver() {
    ReloadBoard();
    ClearSprites();
    BuildPartB();
    m_pGUI->DrawBackground(nullptr, nullptr, true);
}
