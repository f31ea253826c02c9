// The child selection ("TUserLoad"), pushed over a therapy screen: the children found
// under "save\theraphy" in a scrolled list with their pictures, choosing one (answer
// 1054 with 0), cycling a child's picture, and creating a child by typing a name into
// "fo.szo" and pressing Enter. Going back restores the settings of when it opened and
// leaves the current child as it was.
#pragma once
#include <vector>

#include "shell/LxChildren.h"
#include "ui/LxScreen.h"

class CLxTUserLoadScr : public CLxScreen {
  public:
    explicit CLxTUserLoadScr(const char* descriptionPath);

    int OnKeyEvent(CLxKeyEvent* event) override;
    int OnMouseEvent(CLxMouseEvent* event) override;
    int OnTimerEvent(CLxTimerEvent* event) override;

    const std::vector<LxChild>& Children() const { return m_children; }
    // Lists the children again and shows their rows.
    void Scan();

  private:
    void FillRows();
    // The child a row stands for after scrolling; -1 for a row beyond the list.
    int ChildAt(int row);
    void NextPicture(int child);
    void Create(const char* text);

    std::vector<LxChild> m_children;
};
