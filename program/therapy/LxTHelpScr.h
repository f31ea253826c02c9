// The help page ("THelp"), pushed over a screen with the page's name: the picture
// "data\help\<name>.bmp" in the text area, scrolled by "fo.sb" when it is taller, or
// else the text of "data\help\<name>.xml" (its "help..." tags' "text" attribute).
#pragma once
#include "ui/LxScreen.h"

class CLxTHelpScr : public CLxScreen {
  public:
    CLxTHelpScr(const char* descriptionPath, const char* page);
    ~CLxTHelpScr() override;

    int OnKeyEvent(CLxKeyEvent* event) override;
    int OnMouseEvent(CLxMouseEvent* event) override;
    int OnTimerEvent(CLxTimerEvent* event) override;

  private:
    // The picture's part from the scroll bar's row, over the text area's background.
    void DrawPicture();
    void ReadText(const char* page);

    CLxSurface* m_pPicture = nullptr;
};
