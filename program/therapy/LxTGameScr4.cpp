// The picture board; see LxTGameScr4.h. The words come from the "words" attribute of
// the "picture" element of the game's description, each looked up in the small-picture
// catalogue. The small pictures are sprites of their own group "kepek"; the slots are
// sprites too, whose two pictures the screen owns and fills when a picture is dropped.
#include "therapy/LxTGameScr4.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "media/LxDraw.h"
#include "media/LxSmallPic.h"
#include "media/LxSurface.h"
#include "shell/LxProgram.h"
#include "shell/LxXMLParser.h"
#include "ui/LxCGUI.h"
#include "ui/LxGroup.h"
#include "ui/LxSprite.h"

namespace {
constexpr int kGame = 4;
constexpr RECT kBoard{0, 110, 660, 600}; // where the small pictures can be dragged
constexpr int kSlotTop = 120, kSmallTop = 340, kSmallRowStep = 84, kSmallStep = 82;
constexpr int kLeft = 12;
constexpr uint32_t kEmptySlot = 0xfff4dc;
constexpr float kSmallShade = 0.9f;
constexpr int kFrameWidth = 2;

// The catalogue picture scaled into a new size x size surface; an empty slot's colour
// without a catalogue or a picture file.
CLxSurface* ScaledPicture(int picture, int size) {
    CLxSurface* out = CreateSurface(size, size);
    RECT all{0, 0, size, size};
    FillRectRGB(out, &all, kEmptySlot);
    const char* path = g_pSmallPics ? g_pSmallPics->PicturePath(picture) : "";
    if (!*path) return out;
    if (CLxSurface* source = LoadBitmap(path)) {
        BltSurface(out, &all, source, nullptr, 0);
        FreeSurface(&source);
    }
    return out;
}

void Frame(CLxSurface* s, int size) {
    for (int i = 0; i < kFrameWidth; ++i) {
        RECT edges[4] = {{0, i, size, i + 1},
                         {0, size - 1 - i, size, size - i},
                         {i, 0, i + 1, size},
                         {size - 1 - i, 0, size - i, size}};
        for (const RECT& e : edges)
            FillRectRGB(s, &e, CLxTGameScr4::kFrameColour);
    }
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}
} // namespace

CLxTGameScr4::CLxTGameScr4(const char* descriptionPath) : CLxTGameScr(descriptionPath) {
    m_szName = "TGame4";
    std::string extra = ExtraDescription(descriptionPath, kGame);
    m_pGUI->LoadDescription(extra.c_str());
    ReadWords(extra.c_str());
    CLxGroup::Descriptor group{m_pGUI, "kepek", {}, 0, 0};
    CLxGroup* pictures = new CLxGroup(&group);
    for (int slot = 0; slot < kSlots; ++slot) {
        char name[8];
        std::snprintf(name, sizeof name, "v%02d", slot);
        RECT r = SlotRect(slot);
        CLxSprite::Descriptor d{m_pGUI, pictures, m_pGUI->StoreText(name), r, r, {}, false, false};
        m_apSlots[slot] = new CLxBMPSprite(&d);
        FillSlot(slot, -1);
    }
    for (int n = 0; n < kPerPage; ++n) {
        char name[8];
        std::snprintf(name, sizeof name, "s%02d", n);
        CLxSprite::Descriptor d{m_pGUI, pictures, m_pGUI->StoreText(name), HomeRect(n), kBoard, {},
                                false,  false};
        m_apSmall[n] = new CLxBMPSprite(&d);
    }
    SelectGameButton(kGame);
    ShowPage(0);
}

CLxTGameScr4::~CLxTGameScr4() {
    for (auto& pair : m_apSmallPictures)
        for (CLxSurface*& picture : pair)
            FreeSurface(&picture);
    for (auto& pair : m_apSlotPictures)
        for (CLxSurface*& picture : pair)
            FreeSurface(&picture);
}

RECT CLxTGameScr4::SlotRect(int slot) {
    int left = kLeft + slot * (kSlotSize + 20);
    return RECT{left, kSlotTop, left + kSlotSize, kSlotTop + kSlotSize};
}

RECT CLxTGameScr4::HomeRect(int n) {
    int left = kLeft + (n % 8) * kSmallStep, top = kSmallTop + (n / 8) * kSmallRowStep;
    return RECT{left, top, left + kSmallSize, top + kSmallSize};
}

void CLxTGameScr4::ReadWords(const char* path) {
    CLxXMLParser xml;
    if (!xml.Open(path)) return;
    while (char* tag = xml.NextTag()) {
        if (!LxTagIs(tag, "picture")) continue;
        char* words = xml.GetAttr(tag, "words");
        if (!words) return;
        char* items[kMaxWords];
        m_nWords = CLxXMLParser::SplitList(words, items, kMaxWords);
        for (int i = 0; i < m_nWords; ++i) {
            int picture = g_pSmallPics ? g_pSmallPics->FindPicture(items[i]) : -1;
            m_aPictures[i] = picture >= 0 ? picture : 0;
        }
        return;
    }
}

void CLxTGameScr4::ShowPage(int offset) {
    m_nOffset = offset;
    for (int n = 0; n < kPerPage; ++n) {
        CLxSurface* shaded = ScaledPicture(PictureOf(offset + n), kSmallSize);
        CLxSurface* full = ScaledPicture(PictureOf(offset + n), kSmallSize);
        Shade(shaded, nullptr, kSmallShade);
        CLxBMPSprite* small = m_apSmall[n];
        small->m_aPictures[4] = small->m_aPictures[6] = shaded;
        small->m_aPictures[5] = small->m_aPictures[7] = full;
        for (CLxSurface*& old : m_apSmallPictures[n])
            FreeSurface(&old);
        m_apSmallPictures[n][0] = shaded;
        m_apSmallPictures[n][1] = full;
        RECT home = HomeRect(n);
        small->MoveTo(home.left, home.top);
        small->m_nFlags &= ~kHot;
    }
    SetControlFlag("ha.k1", kSelected, offset == 0);
    SetControlFlag("ha.k2", kSelected, offset != 0);
    Refresh();
}

void CLxTGameScr4::FillSlot(int slot, int picture) {
    CLxSurface* plain = ScaledPicture(picture, kSlotSize);
    CLxSurface* framed = ScaledPicture(picture, kSlotSize);
    Frame(framed, kSlotSize);
    CLxBMPSprite* sprite = m_apSlots[slot];
    sprite->m_aPictures[4] = sprite->m_aPictures[6] = plain;
    sprite->m_aPictures[5] = sprite->m_aPictures[7] = framed;
    for (CLxSurface*& old : m_apSlotPictures[slot])
        FreeSurface(&old);
    m_apSlotPictures[slot][0] = plain;
    m_apSlotPictures[slot][1] = framed;
}

int CLxTGameScr4::OnMouseEvent(CLxMouseEvent* event) {
    CLxTGameScr::OnMouseEvent(event);
    if (!event->m_pControl) return 0;
    std::string name = event->m_pControl->GetFullName();
    if (event->m_nType == kMouseClick && (name == "ha.k1" || name == "ha.k2")) {
        ShowPage(name == "ha.k1" ? 0 : kPerPage);
        return 0;
    }
    if (event->m_nType != kMouseUp) return 0;
    for (int n = 0; n < kPerPage; ++n)
        if (event->m_pControl == m_apSmall[n]) Drop(n);
    return 0;
}

void CLxTGameScr4::Drop(int n) {
    CLxBMPSprite* small = m_apSmall[n];
    RECT dropped{};
    small->GetDrawRect(&dropped);
    for (int slot = 0; slot < kSlots; ++slot) {
        RECT target = SlotRect(slot);
        if (!Inside(dropped, target)) continue;
        FillSlot(slot, PictureOf(m_nOffset + n));
        m_pGUI->DrawBackground(&target, nullptr, true);
        break;
    }
    RECT home = HomeRect(n);
    small->MoveTo(home.left, home.top);
    small->m_nFlags &= ~kHot;
    m_pGUI->DrawBackground(&dropped, nullptr, true);
    m_pGUI->DrawBackground(&home, nullptr, true);
}
