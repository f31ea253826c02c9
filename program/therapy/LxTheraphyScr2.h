// The sound-development screen ("Theraphy2", "data\beszedjav2.xml"): the child practises
// the day's therapy letters in a camera mirror and sees, live, which letter the
// recogniser hears and how well. Its pages ("jobb.m0" ... "jobb.m4"): the mirror with one
// big letter, one giant letter on a dark page, the mirror with the nine task letters,
// the nine letters on the dark page, and the time diagrams of the day's letters with
// their levels. The letters are lit on every driver tick (LxSoundLetters.h); the mirror
// pages need a camera, and without one only pages 1, 3 and 4 can be chosen.
#pragma once
#include "therapy/LxLetterDiagrams.h"
#include "therapy/LxTheraphyScr.h"

class CLxCamera;

class CLxTheraphyScr2 : public CLxTheraphyScr {
  public:
    // The mirror's rectangle and the part of the camera picture it shows.
    static constexpr RECT kMirror = {88, 178, 568, 538};
    static constexpr RECT kCameraSource = {0, 0, 320, 240};
    static constexpr uint32_t kDarkPage = 0x301800;
    static constexpr int kAllPages = 31, kPagesWithoutCamera = 26;
    static constexpr int kPeriod = 30;

    explicit CLxTheraphyScr2(const char* descriptionPath);
    int OnKeyEvent(CLxKeyEvent* event) override;
    int OnMouseEvent(CLxMouseEvent* event) override;
    int OnTimerEvent(CLxTimerEvent* event) override;
    void ShowPage() override;
    void Refresh() override;

    // Pages 0 and 2 show the camera; 1 and 3 the dark page; 2 and 3 nine letters.
    static bool IsMirrorPage(int page) { return page == 0 || page == 2; }
    static bool IsNineLetterPage(int page) { return page == 2 || page == 3; }
    int PageMask() const;

    CLxLetterDiagrams m_diagrams{this};

  private:
    void SetPageButtons();
    // The driver's overlay for the page: fonts, slots and their colours.
    void SetOverlay();
    void DrawMirrorOutlines();
    void EraseDarkLetters();

    CLxCamera* m_pCamera = nullptr;
};
