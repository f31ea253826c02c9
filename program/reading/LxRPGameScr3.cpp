// Reading game 3 for an extra letter; see LxRPGameScr3.h. A round draws its two
// pictures into a fresh background and stacks each member's sprites (in the heavy
// sprite font) at the member's place under them. A drop checks both unfinished
// pictures: each sprite lying wholly inside one counts, a member the word has as right
// and any other as wrong.
#include "reading/LxRPGameScr3.h"

#include "media/LxFontServer.h"
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

void CLxRPGameScr3::Build() {
    ReloadBoard();
    ClearSprites();
    for (int i = 0; i < 2; ++i) {
        size_t word = static_cast<size_t>(m_nPage + i);
        m_targets[i] = Target{};
        if (word >= m_words.size()) continue;
        std::string syllables;
        DrawWordPicture(m_words[word], kPictures[i], &syllables);
        m_targets[i] = Target{TextToCodes(syllables.c_str()), false};
    }
    AddMemberSprites(ServedFont(kSpriteFont), kCopies, kSpriteY);
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
    const Sprite* dropped = Dropped();
    RECT droppedRect{};
    bool keep = !dropped || !dropped->control->GetDrawRect(&droppedRect);
    for (int i = 0; i < 2; ++i) {
        Target& target = m_targets[i];
        if (target.done) continue;
        if (dropped && LiesInside(droppedRect, kPictures[i])) keep = true;
        CLxControl* noted = nullptr;
        bool wrong = false;
        for (const Sprite& sprite : m_sprites) {
            RECT r;
            if (!sprite.control || !sprite.control->GetDrawRect(&r) || !LiesInside(r, kPictures[i]))
                continue;
            if (!Contains(target, sprite.code))
                wrong = true;
            else if (!noted)
                noted = sprite.control;
        }
        if (wrong || !noted) continue;
        target.done = true;
        noted->m_nFlags &= ~kEnabled;
        DrawTick(kLargeTick, kPictures[i]);
    }
    if (!keep) SendHome(*dropped);
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
