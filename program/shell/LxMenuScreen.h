// A screen made only of its description: a button whose name is "m" followed by a
// program message number ("m1062") sends that message when it is clicked. The main
// screen and the information screen are such screens until screens of their own
// replace them. A time diagram "fo.szint" shows the level while the driver records or
// plays back.
#pragma once
#include "ui/LxScreen.h"

class CLxTimeDiagramm;

// The main screen's description: without it the program has nothing to show.
constexpr const char* kMainScreenDescription = "data\\lexora.xml";

class CLxMenuScreen : public CLxScreen {
  public:
    explicit CLxMenuScreen(const char* descriptionPath);

    int OnKeyEvent(CLxKeyEvent* event) override;
    int OnMouseEvent(CLxMouseEvent* event) override;
    int OnTimerEvent(CLxTimerEvent* event) override;

  private:
    CLxTimeDiagramm* m_pLevel = nullptr;
};

// The message a control's name asks for, or 0.
int MenuMessage(const char* controlName);
// Registers the screens made only of descriptions: the main screen (1024) and the
// information screen (1062).
void RegisterMenuScreens();
