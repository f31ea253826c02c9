// The chooser list ("TList"), pushed over a therapy screen with a count and an array of
// texts (the sender keeps them alive until the answer): the texts in scrolled rows,
// answering with the chosen text's index (the opening message + 1; wParam -1 for none).
// The recordings list ("data\beszedjavf.xml", with "fo.play%02d" buttons) also plays a
// row's recording of the shown therapy day and shows the recognised letter beside it.
#pragma once
#include "media/LxWin.h"
#include "ui/LxScreen.h"

class CLxTListScr : public CLxScreen {
  public:
    CLxTListScr(const char* descriptionPath, int count, const char* const* texts, UINT answer);

    int OnKeyEvent(CLxKeyEvent* event) override;
    int OnMouseEvent(CLxMouseEvent* event) override;
    int OnTimerEvent(CLxTimerEvent* event) override;

  private:
    void FillRows();
    // The text a row stands for after scrolling; -1 for a row beyond the list.
    int TextAt(int row);
    bool HasPlayButtons();

    int m_nCount;
    const char* const* m_aTexts;
    UINT m_nAnswer;
    char m_szHelp[16] = {};
};
