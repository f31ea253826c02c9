// The memory games; see LxMemoryScr.h and LxMemoryExtScr.h. Building reads the
// description's own attributes with the program's XML reader, deals the card names to
// the board's check boxes and paints every card's face and back into the state pictures
// of group "fo", so the check boxes show the back while unselected and the face while
// selected. A click on a card has already toggled it when the screen hears of it.
#include "reading/LxMemoryScr.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>

#include "media/LxDraw.h"
#include "media/LxSoundHelpers.h"
#include "media/LxSoundServer.h"
#include "shell/LxClock.h"
#include "shell/LxMainWindow.h"
#include "shell/LxMessages.h"
#include "shell/LxProgram.h"
#include "shell/LxXMLParser.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"
#include "ui/LxGroup.h"

namespace {
const char* const kEndSound = "data\\sounds\\MemoryEnd.wav";
const char* const kHelpName = "Memory";
constexpr int kMaxPlainNames = 36, kMaxExtendedNames = 256;
constexpr int kMaxLayouts = 8; // up to 8 items: a choice of layouts
constexpr uint32_t kOutlineRed = 0xFF0000;
constexpr int kDigits = 10; // the extended game's backs memory0 to memory9

bool IsNamed(const CLxMouseEvent* event, const char* fullName) {
    return event->m_pControl && event->m_pControl->GetFullName() == fullName;
}

std::vector<std::string> Split(std::string text, int max) {
    std::vector<char*> items(static_cast<size_t>(max));
    int n = CLxXMLParser::SplitList(text.data(), items.data(), max);
    return std::vector<std::string>(items.begin(), items.begin() + n);
}

int RandomBelow(std::mt19937& random, int n) {
    return n > 0 ? static_cast<int>(random() % static_cast<unsigned>(n)) : 0;
}
} // namespace

std::vector<std::string> ExtendedMemoryDeck(const std::vector<std::string>& names, int cards,
                                            std::mt19937& random) {
    std::vector<std::string> distinct;
    for (const std::string& name : names)
        if (!name.empty() && std::find(distinct.begin(), distinct.end(), name) == distinct.end())
            distinct.push_back(name);
    int pairs = std::min(static_cast<int>(distinct.size()), std::max(cards, 0) / 2);
    // The first pairs places of a partial shuffle are a random choice of distinct names.
    for (int i = 0; i < pairs; ++i)
        std::swap(distinct[i],
                  distinct[i + RandomBelow(random, static_cast<int>(distinct.size()) - i)]);
    std::vector<std::string> deck;
    for (int i = 0; i < pairs; ++i) {
        deck.push_back(distinct[i]);
        deck.push_back(distinct[i]);
    }
    int size = static_cast<int>(deck.size());
    for (int k = 0; k < size * size; ++k)
        std::swap(deck[RandomBelow(random, size)], deck[RandomBelow(random, size)]);
    return deck;
}

CLxMemoryScr::CLxMemoryScr(const char* descriptionPath, UINT answer)
    : CLxMemoryScr(descriptionPath, answer, false) {}

CLxMemoryScr::CLxMemoryScr(const char* descriptionPath, UINT answer, bool extended)
    : CLxScreen(descriptionPath), m_nAnswer(answer), m_random(static_cast<unsigned>(LxClock())) {
    m_szName = kHelpName;
    ReadDescription(extended);
    Deal(extended ? ExtendedMemoryDeck(m_list, m_nColumns * m_nRows, m_random) : PlainLayout());
    Look look = extended ? Look{2, 2} : Look{4, 4};
    CLxSurface* back = LoadBack(extended);
    for (const Card& card : m_cards) {
        if (card.name.empty()) continue;
        CLxSurface* face = LoadBitmap((m_folder + "\\" + card.name + ".bmp").c_str());
        DrawCardPictures(card, face, back, look);
        FreeSurface(&face);
    }
    FreeSurface(&back);
    if (g_pSoundServer) m_pEndSound = g_pSoundServer->GetSound(kEndSound, -1, -1);
    if (m_pGUI) m_pGUI->DrawBackground(nullptr, nullptr, true);
}

CLxMemoryScr::~CLxMemoryScr() {
    if (m_pEndSound && g_pSoundServer) g_pSoundServer->ReleaseSound(m_pEndSound);
}

void CLxMemoryScr::ReadDescription(bool extended) {
    CLxXMLParser reader;
    if (!m_pGUI || !reader.Open(m_pGUI->GetFile())) return;
    while (char* tag = reader.NextTag()) {
        if (LxTagStarts(tag, "Lexo")) {
            if (const char* path = reader.GetAttr(tag, "path")) m_folder = path;
            int size[2];
            if (extended && reader.GetIntList(tag, "size", size, 2) == 2 && size[0] > 0 &&
                size[1] > 0 && size[0] <= kMaxBoardSide && size[1] <= kMaxBoardSide) {
                m_nColumns = size[0];
                m_nRows = size[1];
            }
        } else if (LxTagIs(tag, "pictures")) {
            if (const char* names = reader.GetAttr(tag, "name"))
                m_list = Split(names, extended ? kMaxExtendedNames : kMaxPlainNames);
        }
    }
}

std::vector<std::string> CLxMemoryScr::PlainLayout() {
    int n = static_cast<int>(m_list.size());
    if (n < 1 || n > kMaxLayouts) return m_list;
    return Split(m_list[RandomBelow(m_random, n)], kMaxPlainNames);
}

// The n-th existing card control takes the n-th name; controls past the names are
// hidden, and only cards that have a partner count as remaining.
void CLxMemoryScr::Deal(const std::vector<std::string>& names) {
    if (!m_pGUI) return;
    char control[16];
    for (int row = 0; row < kMaxBoardSide; ++row) {
        for (int column = 0; column < kMaxBoardSide; ++column) {
            std::snprintf(control, sizeof control, "fo.k%d%d", row, column);
            CLxControl* card = m_pGUI->FindControl(control);
            if (!card) continue;
            size_t n = m_cards.size();
            std::string name = n < names.size() ? names[n] : std::string();
            int pair = static_cast<int>(n);
            for (size_t i = 0; i < n; ++i)
                if (!name.empty() && m_cards[i].name == name) pair = m_cards[i].pair;
            m_cards.push_back(Card{card, name, pair});
            if (name.empty()) card->m_nFlags &= ~kVisible;
        }
    }
    for (const Card& card : m_cards) {
        if (card.name.empty()) continue;
        int same = 0;
        for (const Card& other : m_cards)
            same += other.pair == card.pair;
        int place = 0; // this card's place among its equals
        for (const Card& other : m_cards) {
            if (&other == &card) break;
            place += other.pair == card.pair;
        }
        if (place < same / 2 * 2) ++m_nRemaining;
    }
}

void CLxMemoryScr::DrawCardPictures(const Card& card, CLxSurface* face, CLxSurface* back,
                                    Look look) {
    CLxGroup* group = card.control->m_pGroup;
    RECT rect;
    if (!group || !card.control->GetDrawRect(&rect)) return;
    RECT at{rect.left - group->m_nX + look.inset, rect.top - group->m_nY + look.inset,
            rect.right - group->m_nX - look.inset, rect.bottom - group->m_nY - look.inset};
    for (int state = 4; state <= 7; ++state) {
        CLxSurface* picture = group->m_aPictures[state];
        CLxSurface* side = state >= 6 ? face : back;
        if (!picture || !side || !side->m_pSurface) continue;
        BltSurface(picture, &at, side, nullptr, 0);
        if (!(state & kHot)) continue;
        for (int k = 1; k <= look.outlines; ++k) {
            RECT frame{at.left - k, at.top - k, at.right + k, at.bottom + k};
            OutlineRectRGB(picture, &frame, kOutlineRed);
        }
    }
}

// The plain game's back is memory.bmp; the extended game tries each of its ten backs
// once, from a random one on. Null when none loads: the description's pictures stay.
CLxSurface* CLxMemoryScr::LoadBack(bool extended) {
    int tries = extended ? kDigits : 1, first = RandomBelow(m_random, kDigits);
    for (int k = 0; k < tries; ++k) {
        std::string path = m_folder + "\\memory";
        if (extended) path += static_cast<char>('0' + (first + k) % kDigits);
        CLxSurface* back = LoadBitmap((path + ".bmp").c_str());
        if (back->m_pSurface) return back;
        FreeSurface(&back);
    }
    return nullptr;
}

int CLxMemoryScr::OnMouseEvent(CLxMouseEvent* event) {
    CLxScreen::OnMouseEvent(event);
    if (!event || !event->m_pControl) return 0;
    if (IsNamed(event, "help.help")) {
        if (event->m_nType == kMouseEnter) m_help.Show(this, "help.help", kHelpName);
        if (event->m_nType == kMouseLeave) m_help.Hide(this, "help.help");
        return 0;
    }
    if (event->m_nType != kMouseClick) return 0;
    if (IsNamed(event, "al.vissza")) {
        LxSendMessage(m_nAnswer);
        return static_cast<int>(m_nAnswer);
    }
    for (size_t i = 0; i < m_cards.size(); ++i)
        if (m_cards[i].control == event->m_pControl) TurnCard(static_cast<int>(i));
    return 0;
}

void CLxMemoryScr::TurnCard(int index) {
    Card& card = m_cards[index];
    if (card.name.empty()) return;
    if (!(card.control->m_nFlags & kSelected) || m_nFirst == index) {
        m_nFirst = -1; // turned back by its own click
        return;
    }
    if (m_nFirst < 0) {
        m_nFirst = index;
        return;
    }
    Card& first = m_cards[m_nFirst];
    m_nFirst = -1;
    ShowPair();
    if (first.pair == card.pair) {
        m_nRemaining -= 2;
        first.control->m_nFlags &= ~kVisible;
        card.control->m_nFlags &= ~kVisible;
        m_pGUI->DrawBackground(nullptr, nullptr, true);
        if (m_nRemaining > 0 || m_bEnded) return;
        m_bEnded = true;
        if (m_pEndSound) PlaySound(m_pEndSound, false, true);
        m_nEndDelay = kEndDelayTicks;
        return;
    }
    first.control->m_nFlags &= ~kSelected;
    card.control->m_nFlags &= ~kSelected;
    first.control->Draw();
    card.control->Draw();
}

void CLxMemoryScr::ShowPair() {
    Render();
    SDL_Delay(kShowPairMs);
}

int CLxMemoryScr::OnTimerEvent(CLxTimerEvent* event) {
    if (!event || event->m_nMessage != static_cast<int>(kMsgTimer) || m_nEndDelay <= 0) return 0;
    if (--m_nEndDelay > 0) return 0;
    LxSendMessage(m_nAnswer, 0, 0);
    return static_cast<int>(m_nAnswer);
}
