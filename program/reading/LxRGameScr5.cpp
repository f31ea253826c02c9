// Reading game 5; see LxRGameScr5.h. The pictures are drawn into the background; the
// letters are sprites "sprites.00" to "sprites.07", the even ones showing the first
// letter and the odd ones the second, stacked on two places. The screen checks the open
// pictures after every drop.
#include "reading/LxRGameScr5.h"

#include "media/LxFontServer.h"
#include "media/LxRLEFonts.h"
#include "reading/LxCourse.h"
#include "reading/LxLetters.h"
#include "ui/LxCGUI.h"
#include "ui/LxSprite.h"

namespace {
const char* const kSpriteFont = "data\\fonts\\tnr32p.xml";
constexpr int kPictureLeft = 8, kPictureStep = 164, kPictureSize = 160, kPictureTop = 360;
constexpr int kStackX[2] = {220, 440}, kStackY = 200;

std::string LowerCodes(const std::string& word) {
    std::string codes = TextToCodes(word.c_str());
    for (char& c : codes)
        c = static_cast<char>(ToLower(static_cast<unsigned char>(c)));
    return codes;
}
} // namespace

CLxRGameScr5::CLxRGameScr5(const char* descriptionPath)
    : CLxReadingGame(descriptionPath, 5, "RGame") {
    m_szName = "RGame5";
    std::vector<std::string> letters = LessonList(m_nLetter, "game5", "characters", 2);
    std::vector<std::string> words = LessonList(m_nLetter, "game5", "words", kPictures);
    for (size_t k = 0; k < words.size(); ++k) {
        int x = kPictureLeft + kPictureStep * static_cast<int>(k);
        Picture picture{{x, kPictureTop, x + kPictureSize, kPictureTop + kPictureSize},
                        LowerCodes(words[k])};
        DrawWordPicture(words[k], picture.rect, nullptr);
        m_pictures.push_back(picture);
    }
    CLxRLEFonts* font = ServedFont(kSpriteFont);
    ClearSprites();
    for (int i = 0; i < kCopies * 2; ++i) {
        size_t which = i % 2;
        if (which >= letters.size()) continue; // a single letter makes one stack
        unsigned char letter = DecodeLetter(letters[which].c_str());
        int width = GlyphWidth(font, letter);
        if (width == 0) continue; // a letter the font lacks has no sprite
        AddNumberedSprite(font, letter, kStackX[which] - width / 2, kStackY, LetterColour(letter));
    }
    m_pGUI->DrawBackground(nullptr, nullptr, true);
}

bool CLxRGameScr5::InWord(const Picture& picture, unsigned char letter) const {
    return picture.codes.find(static_cast<char>(ToLower(letter))) != std::string::npos;
}

int CLxRGameScr5::OnMouseEvent(CLxMouseEvent* event) {
    if (int sent = CLxReadingGame::OnMouseEvent(event)) return sent;
    if (!TrackDrop(event)) return 0;
    const Sprite* dropped = Dropped();
    bool home = dropped && !InOpenPicture(SpriteRect(*dropped));
    Check();
    if (home) SendHome(*dropped);
    return 0;
}

bool CLxRGameScr5::InOpenPicture(const RECT& r) const {
    for (const Picture& picture : m_pictures)
        if (!picture.done && LiesInside(r, picture.rect)) return true;
    return false;
}

void CLxRGameScr5::Check() {
    bool all = true;
    for (Picture& picture : m_pictures) {
        if (picture.done) continue;
        const Sprite* right = nullptr;
        bool wrong = false;
        for (const Sprite& s : m_sprites) {
            RECT r = SpriteRect(s);
            if (!InWord(picture, s.code))
                wrong = wrong || Overlaps(r, picture.rect);
            else if (!right && LiesInside(r, picture.rect))
                right = &s;
        }
        if (wrong || !right) {
            all = false;
            continue;
        }
        picture.done = true;
        right->control->m_nFlags &= ~kEnabled;
        DrawTick(kSmallTick, picture.rect);
    }
    if (all) End();
}
