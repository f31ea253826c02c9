// The program's first page and its information page. The main screen leads to the
// reading course (game 1 of the first lesson), the therapy preparation and the therapy
// games, the memory game and the information page, and closes the program; beside them
// a small recorder (record, play back, stop) with a level diagram lets the grown-up try
// the microphone before a session. The information page only leads back.
#pragma once
#include "ui/LxScreen.h"

class CLxTimeDiagramm;

// The main screen's description: without it the program has nothing to show.
inline constexpr const char* kMainScreenDescription = "data\\lexora.xml";
inline constexpr const char* kInfoScreenDescription = "data\\info.xml";

class CLxMainScr : public CLxScreen {
  public:
    // Makes the first course entry the current lesson.
    explicit CLxMainScr(const char* descriptionPath);

    int OnKeyEvent(CLxKeyEvent*) override { return 0; }
    // The message the clicked control sends, 0 for none.
    int OnMouseEvent(CLxMouseEvent* event) override;
    // Draws the newest level while the driver records or plays back.
    int OnTimerEvent(CLxTimerEvent* event) override;

  private:
    CLxTimeDiagramm* m_pLevel = nullptr;
};

class CLxInfoScr : public CLxScreen {
  public:
    explicit CLxInfoScr(const char* descriptionPath);

    int OnKeyEvent(CLxKeyEvent*) override { return 0; }
    // "fo.vissza" goes back to the main screen.
    int OnMouseEvent(CLxMouseEvent* event) override;
    int OnTimerEvent(CLxTimerEvent*) override { return 0; }
};
