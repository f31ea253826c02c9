// The sound-development screen; see LxTheraphyScr2.h.
#include "therapy/LxTheraphyScr2.h"

#include <cstdio>
#include <string>

#include "media/LxCamera.h"
#include "media/LxDraw.h"
#include "media/LxFontServer.h"
#include "media/LxRLEFonts.h"
#include "shell/LxDriver.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxMessages.h"
#include "shell/LxProgram.h"
#include "therapy/LxSoundLetters.h"
#include "ui/LxCGUI.h"
#include "ui/LxGroup.h"

namespace {
constexpr int kSmooth = 4;
constexpr int kPages = 5;
constexpr int kPageButtons = 10;
const char* const kLetterFont = "data\\fonts\\tnr64.xml";
const char* const kOutlineFont = "data\\fonts\\tnr64o.xml";
const char* const kGiantFont = "data\\fonts\\tnr256.xml";
constexpr RECT kBigLetterBox = {228, 180, 428, 380};
constexpr RECT kGiantLetterBox = {228, 178, 428, 538};
constexpr RECT kTextOutOfTheWay = {20, 180, 30, 190};
// Seven outlines round the mirror, from light green to black, each a pixel further in.
constexpr RECT kOutermostOutline = {84, 172, 572, 544};
constexpr uint32_t kOutlineColours[] = {0x90FCD8, 0x78D2B4, 0x60A890, 0x487E6C,
                                        0x305448, 0x182A24, 0x000000};
constexpr float kLoudForOneLetter = 0.25f;
constexpr int kOneLetterScale = 239;
constexpr int kDiagramPage = 4;
// The day's letters the pages take: the diagrams have room for nine.
constexpr int kLettersOnPages = 17, kLettersOnDiagrams = 9;

} // namespace

CLxTheraphyScr2::CLxTheraphyScr2(const char* descriptionPath) : CLxTheraphyScr(descriptionPath) {
    m_szName = "Theraphy2";
    m_nPage = -1;
    g_Driver.aLetters[0] = 0;
    for (int& colour : g_Driver.aColors2)
        colour = int(kOutlineYellow);
    if (m_pGUI) {
        RECT r{0, 0, 100, 100};
        CLxControl::Descriptor d{m_pGUI, m_pGUI->FindGroup("fo"), "Camera", &r, 1};
        m_pCamera = new CLxCamera(&d);
        if (m_pCamera->m_nState == CLxCamera::kNoDevice)
            SetControlFlag("fo.Camera", kVisible, false);
    }
    // The practised word is written on a stone tablet.
    PaintUnder("fo.szavak", "data\\kotabla.bmp", {0, 1, 2, 3, 4, 5, 6, 7});
    SetControlFlag("fo.hangfejlesztes", kSelected, true);
    SetControlFlag("fo.szavak", kEnabled | kVisible, true);
    ShowPage();
    SetControlState("fo.szoveg", kVisible);
}

int CLxTheraphyScr2::PageMask() const {
    return m_pCamera && m_pCamera->m_nState != CLxCamera::kNoDevice ? kAllPages
                                                                    : kPagesWithoutCamera;
}

void CLxTheraphyScr2::SetPageButtons() {
    int mask = PageMask();
    for (int d = 0; d < kPageButtons; ++d) {
        char name[16];
        std::snprintf(name, sizeof name, "jobb.m%d", d);
        SetControlFlag(name, kSelected, d == m_nPage);
        SetControlFlag(name, kEnabled, (mask >> d & 1) != 0);
    }
}

void CLxTheraphyScr2::SetOverlay() {
    bool nine = IsNineLetterPage(m_nPage);
    CLxRLEFonts* font = m_nPage == 1 ? ServedFont(kGiantFont) : ServedFont(kLetterFont);
    CLxRLEFonts* outline = nine ? ServedFont(kOutlineFont) : nullptr;
    uint32_t colour = IsMirrorPage(m_nPage) ? kMirrorLetterColour : kDarkLetterColour;
    LxOverlaySlot slots[kNineLetters] = {};
    for (int i = 0; i < kNineLetters; ++i)
        slots[i] = {0, int(colour), nine ? NineLetterBox(i) : kBigLetterBox};
    if (m_nPage == 1) slots[0].box = kGiantLetterBox;
    if (m_nPage == kDiagramPage) font = outline = nullptr;
    SetDriverMode({kDriverPhonemes, kPeriod, kSmooth, font, outline, slots, kNineLetters});
    if (nine) FillNineLetters();
    for (int& c : g_Driver.aColors2)
        c = int(kOutlineYellow);
}

void CLxTheraphyScr2::DrawMirrorOutlines() {
    CLxSurface* background = m_pGUI ? m_pGUI->m_pBackground : nullptr;
    RECT r = kOutermostOutline;
    for (uint32_t colour : kOutlineColours) {
        OutlineRectRGB(background, &r, colour);
        r = RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    }
}

void CLxTheraphyScr2::ShowPage() {
    SetControlFlag("fo.szavak", kVisible, true);
    SetControlState("fo.szoveg", 0);
    SetControlText("fo.szoveg", "");
    if (CLxControl* text = m_pGUI ? m_pGUI->FindControl("fo.szoveg") : nullptr)
        text->SetRect(&kTextOutOfTheWay);
    for (int k = 0; k <= kPages; ++k) {
        char name[16];
        std::snprintf(name, sizeof name, "fo.ido%d", k);
        SetControlFlag(name, kVisible, m_nPage == kDiagramPage);
    }
    CLxSurface* background = m_pGUI ? m_pGUI->ReloadBackground() : nullptr;
    bool camera = m_pCamera && m_pCamera->m_nState != CLxCamera::kNoDevice;
    if (m_pCamera) {
        if (IsMirrorPage(m_nPage)) {
            m_pCamera->SetDisplayRect(kMirror.left, kMirror.top, kMirror.right, kMirror.bottom);
            m_pCamera->SetSourceRect(kCameraSource.left, kCameraSource.top, kCameraSource.right,
                                     kCameraSource.bottom);
        }
        m_pCamera->SetRunning(IsMirrorPage(m_nPage));
        SetControlFlag("fo.Camera", kVisible, camera && m_nPage != kDiagramPage);
    }
    if (m_nPage == 1 || m_nPage == 3) FillRectColor(background, &kMirror, kDarkPage);
    m_nAllowed = m_nPage == kDiagramPage ? kLettersOnDiagrams : kLettersOnPages;
    m_diagrams.Show(m_nPage == kDiagramPage);
    if (m_nPage != kDiagramPage) {
        SetControlFlag("fo.szavak", kEnabled | kVisible, true);
        DrawMirrorOutlines();
    }
    SetControlFlag("jobb.tukor", kEnabled, camera && IsMirrorPage(m_nPage));
    SetPageButtons();
    for (int k = 10; k <= 19; ++k) {
        char name[16];
        std::snprintf(name, sizeof name, "fo.fa%02d", k);
        SetControlState(name, 8);
        SetControlState(("fö." + std::string(name + 3)).c_str(), 8);
    }
    SetOverlay();
    if (m_pGUI) m_pGUI->DrawBackground(nullptr, nullptr, true);
}

void CLxTheraphyScr2::Refresh() {
    CLxTheraphyScr::Refresh();
    ShowPage();
}

int CLxTheraphyScr2::OnKeyEvent(CLxKeyEvent* event) {
    if (m_nPage == kDiagramPage && m_diagrams.OnKey(event)) return 0;
    return CLxTheraphyScr::OnKeyEvent(event);
}

int CLxTheraphyScr2::OnMouseEvent(CLxMouseEvent* event) {
    if (m_nPage == kDiagramPage && m_diagrams.OnMouse(event)) return 0;
    if (event && event->m_nType == kMouseClick && event->m_pControl && m_pCamera &&
        event->m_pControl->GetFullName() == "jobb.tukor") {
        m_pCamera->SetMirror(!g_bMirror);
        return 0;
    }
    int answer = CLxTheraphyScr::OnMouseEvent(event);
    // A task marked or unmarked changes the nine letters.
    bool click = event && event->m_nType == kMouseClick;
    if (click && IsNineLetterPage(m_nPage)) FillNineLetters();
    if (click && m_nPage == kDiagramPage) m_diagrams.Show(true);
    return answer;
}

// On the dark pages the last letters are wiped before the driver draws the new ones.
void CLxTheraphyScr2::EraseDarkLetters() {
    CLxRLEFonts* font = g_Driver.pOverlayFont;
    if (!font) return;
    for (int i = 0; i < kOverlaySlots && g_Driver.aLetters[i]; ++i) {
        const CLxRLEBitmap* glyph = font->Glyph(g_Driver.aLetters[i]);
        if (!glyph) continue;
        const RECT& box = g_Driver.aRects[i];
        int x = (box.left + box.right - glyph->m_nWidth) / 2 - 1;
        int y = (box.top + box.bottom - glyph->m_nHeight) / 2 - 1;
        RECT r{x, y, x + glyph->m_nWidth + 2, y + glyph->m_nHeight + 2};
        FillRectColor(g_pDrawSurface, &r, kDarkPage);
    }
}

int CLxTheraphyScr2::OnTimerEvent(CLxTimerEvent* event) {
    CLxTheraphyScr::OnTimerEvent(event);
    if (!event || event->m_nMessage == int(kMsgTimer) || !m_pGUI || !g_pDrawSurface) return 0;
    if (m_nPage == kDiagramPage) m_diagrams.DrawTick();
    if (m_nPage == 1 || m_nPage == 3) EraseDarkLetters();
    if (IsNineLetterPage(m_nPage))
        LightNineLetters();
    else if (m_nPage == 0 || m_nPage == 1)
        LightBestDayLetter(kLoudForOneLetter, kOneLetterScale);
    return 0;
}
