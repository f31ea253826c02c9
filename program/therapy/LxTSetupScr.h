// The level set-up ("TSetup"), pushed over a therapy screen: the minimum level and each
// therapy letter's own level (0 to 100, in the low bits of the task values, the "not
// practised" bit kept), changed with minus and plus or typed; whether letters are shown
// only above their own level ("useminlevel"); the day's task marks; saving the day.
// The level fields, buttons and letters are in the description ("tf%02d", "nf%02d",
// "bm%02d", "bp%02d" of group "fo"; index 0 is the minimum level).
#pragma once
#include "ui/LxScreen.h"

class CLxTSetupScr : public CLxScreen {
  public:
    static constexpr int kLevels = 10;

    explicit CLxTSetupScr(const char* descriptionPath);

    int OnKeyEvent(CLxKeyEvent* event) override;
    int OnMouseEvent(CLxMouseEvent* event) override;
    int OnTimerEvent(CLxTimerEvent* event) override;

    // A task value after a minus (-1) or plus (+1) step: the level stays within 0 to
    // 100 and the "not practised" bit is kept.
    static int StepLevel(int value, int step);

  private:
    // The levels' controls enabled and coloured by "useminlevel"; everything redrawn.
    void EnableLevels();
    void ShowLevel(int i);
    // Entries below the therapy letter order's length have controls that work.
    static bool HasLevel(int i);
};
