// The fixation screen; see LxTheraphyScr3.h.
#include "therapy/LxTheraphyScr3.h"

#include <cstdio>
#include <cstring>

#include "media/LxCamera.h"
#include "media/LxDraw.h"
#include "media/LxFile.h"
#include "media/LxFontServer.h"
#include "media/LxRLEFonts.h"
#include "media/LxSmallPic.h"
#include "reading/LxLetters.h"
#include "shell/LxDriver.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxMessages.h"
#include "shell/LxProgram.h"
#include "shell/LxSettings.h"
#include "therapy/LxSoundLetters.h"
#include "ui/LxCGUI.h"
#include "ui/LxGroup.h"
#include "ui/LxSprite.h"

namespace {
constexpr int kPeriod = 25, kSmooth = 4;
const char* const kLetterFont = "data\\fonts\\tnr128.xml";
const char* const kWordFont = "data\\fonts\\tnr32.xml";
const char* const kOutlineFont = "data\\fonts\\tnr32o.xml";
const char* const kEmptyFrame = "data\\smallpic\\keret.bmp";
constexpr uint32_t kLetterColour = 0xF00000;
constexpr int kWordAboveBottom = 56;
constexpr float kDarker = 0.8f;
constexpr float kQuietFactor = 0.0625f;
constexpr int kLetterScale = 255;
constexpr int kGroupRows = 4, kGroupNumbers = 4;
constexpr int kFirstPage = 5, kLastPage = 7;

std::string FrameName(int i) {
    char name[16];
    std::snprintf(name, sizeof name, "fo.v%02d", i);
    return name;
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}
} // namespace

std::string CLxTheraphyScr3::FullScreenDescription(const std::string& descriptionPath) {
    size_t dot = descriptionPath.rfind('.');
    if (dot == std::string::npos) return descriptionPath + "f";
    return descriptionPath.substr(0, dot) + "f" + descriptionPath.substr(dot);
}

CLxTheraphyScr3::CLxTheraphyScr3(const char* descriptionPath, int view)
    : CLxTheraphyScr(view & kFullScreen ? FullScreenDescription(descriptionPath).c_str()
                                        : descriptionPath),
      m_description(descriptionPath) {
    m_szName = "Theraphy3";
    int page = view & 7;
    m_nPage = (page >= kFirstPage ? page : 0) | (view & kFullScreen);
    const LxOverlaySlot slot[] = {{0, int(kLetterColour), {0, 0, 0, 0}}};
    SetDriverMode({kDriverPhonemes, kPeriod, kSmooth, ServedFont(kLetterFont), nullptr, slot, 1});
    SetControlState("fo.szoveg", 0);
    SetControlState("fo.szobe", 8);
    SetControlFlag("fo.minta", kEnabled, false);
    SetControlFlag("fo.rogzites", kSelected, true);
    std::string group = g_Settings.szTherapy3Group;
    m_cLetter = DecodeLetter(group.c_str());
    int used = LetterLength(m_cLetter);
    if (int(group.size()) > used && group[size_t(used)] >= '1' && group[size_t(used)] <= '4')
        m_nNumber = group[size_t(used)] - '0';
    for (int i = 0; i < kFrames; ++i)
        m_aFramePictures[i] = g_Settings.aTherapy3Pictures[i];
    BuildSprites();
    BuildCamera();
    if (!FindRow(m_cLetter, &m_nRow)) m_nRow = 1;
    for (int i = 0; i < kFrames; ++i)
        if (view & kFirstFrameBit << i) SetControlFlag(FrameName(i).c_str(), kSelected, true);
    ShowPage();
    ShowRecorderState();
    if (!FullScreen()) SetControlState("fo.szoveg", kVisible);
}

// The camera shows only in the full-screen view; it can be chosen when the machine has
// a camera and the data set the full-screen description.
void CLxTheraphyScr3::BuildCamera() {
    if (!m_pGUI) return;
    RECT r = kCameraRect;
    CLxControl::Descriptor d{m_pGUI, m_pGUI->FindGroup("fo"), "Camera", &r, 1};
    m_pCamera = new CLxCamera(&d);
    m_pCamera->SetDisplayRect(r.left, r.top, r.right, r.bottom);
    m_pCamera->SetSourceRect(kCameraSource.left, kCameraSource.top, kCameraSource.right,
                             kCameraSource.bottom);
    bool camera = m_pCamera->m_nState != CLxCamera::kNoDevice;
    m_pCamera->SetRunning(camera && FullScreen());
    SetControlFlag("fo.Camera", kVisible, camera && FullScreen());
    SetControlFlag("jobb.fullscreen", kEnabled,
                   camera && CLxFile::Exists(FullScreenDescription(m_description).c_str()));
    SetControlFlag("alja.tukor", kEnabled, camera && FullScreen());
}

int CLxTheraphyScr3::View() const {
    int view = m_nPage;
    for (int i = 0; i < kFrames; ++i) {
        CLxControl* frame = m_pGUI ? m_pGUI->FindControl(FrameName(i).c_str()) : nullptr;
        if (frame && frame->Is(kSelected)) view |= kFirstFrameBit << i;
    }
    return view;
}

void CLxTheraphyScr3::Rebuild(int view) {
    LxSendMessage(kMsgFixation, WPARAM(view));
}

RECT CLxTheraphyScr3::Home(int sprite) const {
    if (FullScreen()) {
        int y = kFullHomeStep * sprite;
        return RECT{kFullHomeX, y, kFullHomeX + kSpriteSize, y + kSpriteSize};
    }
    return RECT{kHomeStep * sprite, kHomeY, kHomeStep * sprite + kSpriteSize, kHomeY + kSpriteSize};
}

CLxTheraphyScr3::~CLxTheraphyScr3() {
    // The sprites point at pictures this screen owns: they go first.
    if (m_pGUI && m_pSpriteGroup) m_pGUI->DeleteGroupControls(m_pSpriteGroup);
}

void CLxTheraphyScr3::BuildSprites() {
    if (!m_pGUI) return;
    POINT origin = FullScreen() ? POINT{0, 0} : kSpriteGroup;
    CLxGroup::Descriptor g{m_pGUI, "kepek", {}, origin.x, origin.y};
    m_pSpriteGroup = new CLxGroup(&g);
    for (int k = 0; k < kSprites; ++k) {
        for (auto& picture : m_aSpritePictures[k]) {
            picture = std::make_unique<CLxSurface>();
            picture->Create(kSpriteSize, kSpriteSize);
        }
        char name[8];
        std::snprintf(name, sizeof name, "s%02d", k);
        CLxSprite::Descriptor d{m_pGUI,
                                m_pSpriteGroup,
                                name,
                                Home(k),
                                FullScreen() ? kFullDragArea : kDragArea,
                                {nullptr, m_aSpritePictures[k][0].get(),
                                 m_aSpritePictures[k][1].get(), nullptr, nullptr},
                                false,
                                true};
        m_apSprites[k] = new CLxBMPSprite(&d);
        m_apSprites[k]->m_nFlags = kEnabled;
    }
}

std::string CLxTheraphyScr3::ButtonName(char kind, int row, const std::string& what) const {
    return std::string("bv.") + kind + char('0' + row) + what;
}

bool CLxTheraphyScr3::FindRow(unsigned char letter, int* row) const {
    if (!m_pGUI || !letter) return false;
    for (int r = kGroupRows; r >= 1; --r)
        if (m_pGUI->FindControl(ButtonName('b', r, EncodeLetter(letter)).c_str())) {
            *row = r;
            return true;
        }
    return false;
}

void CLxTheraphyScr3::GoHome(int sprite) {
    CLxBMPSprite* s = m_apSprites[sprite];
    if (!s || s->m_nRects <= 0) return;
    if (m_pGUI) m_pGUI->DrawBackground(&s->m_pRects[0], s, true);
    RECT home = Home(sprite);
    s->SetRect(&home);
    s->m_nFlags &= ~kHot;
    s->Draw();
}

bool CLxTheraphyScr3::LoadGroup() {
    if (!g_pSmallPics || !m_cLetter) return false;
    std::string name = EncodeLetter(m_cLetter) + char('0' + m_nNumber);
    int group = g_pSmallPics->FindGroup(name.c_str());
    if (group < 0) return false;
    std::snprintf(g_Settings.szTherapy3Group, sizeof g_Settings.szTherapy3Group, "%s",
                  name.c_str());
    for (int n = 1; n <= kGroupNumbers; ++n) {
        std::string number = ButtonName('c', m_nRow, std::string(1, char('0' + n)));
        std::string other = EncodeLetter(m_cLetter) + char('0' + n);
        int state = n == m_nNumber ? 14 : g_pSmallPics->FindGroup(other.c_str()) < 0 ? 8 : 12;
        SetControlState(number.c_str(), state);
    }
    SetControlFlag(ButtonName('b', m_nRow, EncodeLetter(m_cLetter)).c_str(), kSelected, true);
    int count = std::min(kSprites, g_pSmallPics->GroupSize(group));
    for (int k = 0; k < kSprites; ++k) {
        m_aGroupPictures[k] = k < count ? g_pSmallPics->GroupMember(group, k) : -1;
        CLxBMPSprite* sprite = m_apSprites[k];
        if (!sprite) continue;
        if (m_aGroupPictures[k] < 0) {
            sprite->m_nFlags &= ~kVisible;
            continue;
        }
        CLxSurface* picture = LoadBitmap(g_pSmallPics->PicturePath(m_aGroupPictures[k]));
        BltSurface(m_aSpritePictures[k][0].get(), nullptr, picture, nullptr, 0);
        BltSurface(m_aSpritePictures[k][1].get(), nullptr, picture, nullptr, 0);
        Shade(m_aSpritePictures[k][1].get(), nullptr, kDarker);
        FreeSurface(&picture);
        GoHome(k);
        sprite->m_nFlags |= Page() ? kVisible | kEnabled : kEnabled;
    }
    if (m_pGUI) m_pGUI->DrawBackground(nullptr, nullptr, true);
    return true;
}

int CLxTheraphyScr3::Drop(int sprite) {
    CLxBMPSprite* s = sprite >= 0 && sprite < kSprites ? m_apSprites[sprite] : nullptr;
    if (!s || s->m_nRects <= 0) return -1;
    int landed = -1;
    for (int i = 0; i < kFrames && landed < 0; ++i) {
        CLxControl* frame = m_pGUI->FindControl(FrameName(i).c_str());
        RECT r;
        if (!frame || !frame->GetDrawRect(&r)) continue;
        RECT wide{r.left - kSlack, r.top - kSlack, r.right + kSlack, r.bottom + kSlack};
        if (!Inside(s->m_pRects[0], wide)) continue;
        landed = i;
        m_aFramePictures[i] = sprite;
        g_Settings.aTherapy3Pictures[i] = sprite;
        frame->m_nFlags |= kEnabled | kVisible | kHot;
        DrawFrame(i);
    }
    GoHome(sprite);
    return landed;
}

void CLxTheraphyScr3::WriteWord(CLxSurface* surface, const RECT& frame, const char* word) {
    CLxRLEFonts* font = ServedFont(kWordFont);
    CLxRLEFonts* outline = ServedFont(kOutlineFont);
    LxSurfaceDesc locked;
    if (!font || !word || surface->Lock(nullptr, &locked) != 0) return;
    int x = (frame.left + frame.right - font->TextWidth(word)) / 2;
    int y = frame.bottom - kWordAboveBottom;
    int reach = FullScreen() ? 2 : 1;
    if (outline) {
        outline->Attach(&locked);
        outline->SetColors(0, 0, 0);
        for (int dy = -reach; dy <= reach; ++dy)
            for (int dx = -reach; dx <= reach; ++dx)
                outline->DrawText(word, x + dx, y + dy);
        outline->Attach(nullptr);
    }
    font->Attach(&locked);
    font->SetColors(240, 240, 0);
    font->DrawText(word, x, y);
    font->Attach(nullptr);
}

void CLxTheraphyScr3::DrawFrame(int i) {
    int k = m_aFramePictures[i];
    CLxControl* frame = m_pGUI ? m_pGUI->FindControl(FrameName(i).c_str()) : nullptr;
    CLxGroup* fo = m_pGUI ? m_pGUI->FindGroup("fo") : nullptr;
    RECT r;
    if (k < 0 || k >= kSprites || m_aGroupPictures[k] < 0 || !Mode() || !frame || !fo ||
        !frame->GetDrawRect(&r))
        return;
    int index = m_aGroupPictures[k];
    CLxSurface* picture = LoadBitmap(Mode() == 3 ? kEmptyFrame : g_pSmallPics->PicturePath(index));
    std::string word = g_pSmallPics->Picture(index).word;
    OffsetRect(&r, -fo->m_nX, -fo->m_nY);
    // The full-screen view's frames are smaller: the picture and its word are laid out
    // at the windowed size first.
    CLxSurface* laidOut = nullptr;
    if (FullScreen()) {
        laidOut = CreateSurface(kFullFrameSize, kFullFrameSize);
        RECT whole{0, 0, kFullFrameSize, kFullFrameSize};
        BltSurface(laidOut, &whole, picture, nullptr, 0);
        if (Mode() >= 2) WriteWord(laidOut, whole, word.c_str());
    }
    for (int state = 4; state <= 7; ++state) {
        CLxSurface* target = fo->m_aPictures[state];
        if (!target) continue;
        if (laidOut) {
            BltSurface(target, &r, laidOut, nullptr, 0);
            continue;
        }
        BltSurface(target, &r, picture, nullptr, 0);
        if (Mode() >= 2) WriteWord(target, r, word.c_str());
    }
    FreeSurface(&laidOut);
    FreeSurface(&picture);
    frame->Draw();
}

void CLxTheraphyScr3::ShowPage() {
    if (m_pGUI && Page() == 0) m_pGUI->ReloadBackground();
    if (Page() != 0) {
        SetControlState("fo.szoveg", 0);
        SetControlText("fo.szoveg", "");
    }
    LoadGroup();
    for (int i = 0; i < kFrames; ++i)
        DrawFrame(i);
    for (CLxBMPSprite* sprite : m_apSprites)
        if (sprite && Page() == 0) sprite->m_nFlags &= ~kVisible;
    if (m_pSpriteGroup) m_pSpriteGroup->m_nFlags = Page() ? -1 : ~kVisible;
    if (CLxGroup* buttons = m_pGUI ? m_pGUI->FindGroup("bv") : nullptr)
        buttons->m_nFlags = Page() ? -1 : ~kVisible;
    for (int page = kFirstPage; page <= kLastPage; ++page) {
        std::string name = "alja.m" + std::to_string(page);
        SetControlFlag(name.c_str(), kSelected, page == Page());
    }
    if (m_pGUI) m_pGUI->DrawBackground(nullptr, nullptr, true);
}

int CLxTheraphyScr3::OnMouseEvent(CLxMouseEvent* event) {
    CLxControl* control = event ? event->m_pControl : nullptr;
    if (!control || (event->m_nType != kMouseClick && event->m_nType != kMouseUp))
        return CLxTheraphyScr::OnMouseEvent(event);
    std::string name = control->GetFullName();
    if (name.size() == 9 && name.compare(0, 7, "kepek.s") == 0) {
        Drop(std::atoi(name.c_str() + 7));
        return 0;
    }
    if (event->m_nType != kMouseClick) return CLxTheraphyScr::OnMouseEvent(event);
    if (name.size() == 7 && name.compare(0, 6, "alja.m") == 0 && name[6] - '0' >= kFirstPage &&
        name[6] - '0' <= kLastPage) {
        if (name[6] - '0' != Page()) {
            m_nPage = (name[6] - '0') | (m_nPage & kFullScreen);
            ShowPage();
        }
        return 0;
    }
    if (name == "jobb.fullscreen" && !FullScreen()) {
        Rebuild(View() | kFullScreen);
        return 0;
    }
    if (name == "also.vissza" && FullScreen()) {
        Rebuild(View() & ~kFullScreen);
        return 0;
    }
    if (name == "alja.tukor" && m_pCamera) {
        m_pCamera->SetMirror(!g_bMirror);
        return 0;
    }
    if (name.size() == 7 && name.compare(0, 4, "fo.v") == 0) {
        for (int i = 0; i < kFrames; ++i)
            if (FrameName(i) != name) SetControlFlag(FrameName(i).c_str(), kSelected, false);
        if (!(control->m_nFlags & kSelected))
            SetControlFlag(name.c_str(), kSelected | kVisible, false);
        if (m_pGUI) m_pGUI->DrawBackground(nullptr, nullptr, true);
        return 0;
    }
    if (name.size() == 6 && name.compare(0, 4, "bv.c") == 0) {
        m_nNumber = name[5] - '0';
        LoadGroup();
        return 0;
    }
    if (name.size() > 5 && name.compare(0, 4, "bv.b") == 0) {
        unsigned char letter = DecodeLetter(name.c_str() + 5);
        int row = name[4] - '0';
        if (letter == m_cLetter) return 0;
        SetControlFlag(ButtonName('b', m_nRow, EncodeLetter(m_cLetter)).c_str(), kSelected, false);
        if (row != m_nRow)
            for (int n = 1; n <= kGroupNumbers; ++n)
                SetControlFlag(ButtonName('c', m_nRow, std::string(1, char('0' + n))).c_str(),
                               kEnabled, false);
        m_cLetter = letter;
        m_nRow = row;
        m_nNumber = 1;
        LoadGroup();
        return 0;
    }
    return CLxTheraphyScr::OnMouseEvent(event);
}

// The best day letter over the selected frame.
int CLxTheraphyScr3::OnTimerEvent(CLxTimerEvent* event) {
    CLxTheraphyScr::OnTimerEvent(event);
    if (!event || event->m_nMessage == int(kMsgTimer) || !m_pGUI) return 0;
    RECT& slot = g_Driver.aRects[0];
    if (g_pDrawSurface && m_pGUI->m_pBackground && slot.right > slot.left)
        m_pGUI->DrawBackground(&slot, nullptr, true);
    g_Driver.aLetters[0] = 0;
    slot = RECT{0, 0, 0, 0};
    for (int i = 0; i < kFrames; ++i) {
        CLxControl* frame = m_pGUI->FindControl(FrameName(i).c_str());
        if (!frame || !frame->Is(kSelected | kVisible) || !frame->GetDrawRect(&slot)) continue;
        g_Driver.aColors[0] = int(kLetterColour);
        LightBestDayLetter(kQuietFactor, kLetterScale);
    }
    return 0;
}
