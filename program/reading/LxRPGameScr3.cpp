// Reading game 3 for an extra letter; see LxRPGameScr3.h. A round draws its two
// pictures into a fresh background and stacks each member's sprites (in the heavy
// sprite font) at the member's place under them. A drop checks both unfinished
// pictures: each sprite lying wholly inside one counts, a member the word has as right
// and any other as wrong.
#include "reading/LxRPGameScr3.h"

#include <cstdio>

#include "media/LxRLEFonts.h"
#include "reading/LxCourse.h"
#include "reading/LxLetters.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"
#include "ui/LxSprite.h"

namespace {
const char* const kSpriteFont = "data\\fonts\\tnr32p.xml";
constexpr int kSpriteY = 520;
} // namespace

CLxRPGameScr3::CLxRPGameScr3(const char* descriptionPath)
    : CLxReadingGame(descriptionPath, 3, "RPGame") {
    m_szName = "RPGame3";
    m_words = LessonList(m_nLetter, "game3", "words", kMaxPictures);
    Build();
}

CLxControl* CLxRPGameScr3::MemberSprite(int m, int copy) const {
    size_t i = static_cast<size_t>(m * kCopies + copy);
    return m >= 0 && copy >= 0 && copy < kCopies && i < m_sprites.size() ? m_sprites[i].control
                                                                         : nullptr;
}

void CLxRPGameScr3::Build() {
    ReloadBoard();
    ClearSprites();
    m_sprites.clear();
    for (int i = 0; i < 2; ++i) {
        size_t word = static_cast<size_t>(m_nPage + i);
        m_targets[i] = Target{};
        if (word >= m_words.size()) continue;
        std::string syllables;
        DrawWordPicture(m_words[word], kPictures[i], &syllables);
        m_targets[i] = Target{TextToCodes(syllables.c_str()), false};
    }
    CLxRLEFonts* font = ReadingFont(kSpriteFont);
    int k = MemberCount();
    for (int m = 0; m < k; ++m) {
        unsigned char member = Member(m);
        const CLxRLEBitmap* glyph = font ? font->Glyph(member) : nullptr;
        int x = (290 + 580 * m) / k + 48 - (glyph ? glyph->m_nWidth : 0) / 2;
        uint32_t colour = LetterColour(member);
        for (int copy = 0; copy < kCopies; ++copy) {
            char name[16];
            std::snprintf(name, sizeof name, "%d%d", m, copy);
            m_sprites.push_back(
                AddLetterSprite(name, font, member, x, kSpriteY, colour, colour, colour));
        }
    }
    m_pGUI->DrawBackground(nullptr, nullptr, true);
}

bool CLxRPGameScr3::Contains(const Target& target, unsigned char member) const {
    for (unsigned char code : target.codes)
        if (ToLower(code) == ToLower(member)) return true;
    return false;
}

int CLxRPGameScr3::OnMouseEvent(CLxMouseEvent* event) {
    if (int sent = CLxReadingScr::OnMouseEvent(event)) return sent;
    if (TrackDrop(event)) Check();
    return 0;
}

void CLxRPGameScr3::Check() {
    CLxControl* dropped = Dropped();
    RECT droppedRect{};
    bool keep = !dropped || !dropped->GetDrawRect(&droppedRect);
    for (int i = 0; i < 2; ++i) {
        Target& target = m_targets[i];
        if (target.done) continue;
        if (dropped && LiesInside(droppedRect, kPictures[i])) keep = true;
        CLxControl* noted = nullptr;
        bool wrong = false;
        for (size_t s = 0; s < m_sprites.size(); ++s) {
            RECT r;
            CLxControl* sprite = m_sprites[s].control;
            if (!sprite || !sprite->GetDrawRect(&r) || !LiesInside(r, kPictures[i])) continue;
            if (!Contains(target, m_sprites[s].code))
                wrong = true;
            else if (!noted)
                noted = sprite;
        }
        if (wrong || !noted) continue;
        target.done = true;
        noted->m_nFlags &= ~kEnabled;
        DrawTick(kLargeTick, kPictures[i]);
    }
    if (!keep) {
        for (const Sprite& sprite : m_sprites)
            if (sprite.control == dropped) MoveSprite(dropped, sprite.home.x, sprite.home.y);
    }
    if (!m_targets[0].done || !m_targets[1].done || ChangeOverDelay() > 0 || Ended()) return;
    if (m_nPage < kLastPage && static_cast<size_t>(m_nPage + 2) < m_words.size())
        StartChangeOver();
    else
        End();
}

void CLxRPGameScr3::ChangeOver() {
    m_nPage += 2;
    Build();
}
