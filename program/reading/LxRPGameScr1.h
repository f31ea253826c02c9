// Reading game 1 for an extra letter (letters taught together, such as a voiced and an
// unvoiced consonant "b-p"): one call-picture panel per member, side by side. When the
// second member is a vowel the members are lit by their class scores while the child
// says them; otherwise the driver waits for an utterance, and a recognised member shows
// its key word over its panel.
#pragma once
#include "media/LxWin.h"
#include "reading/LxReadingScr.h"

class CLxRPGameScr1 : public CLxReadingScr {
  public:
    // Below this class score a member stays dark.
    static constexpr float kMinScore = 0.3f;

    explicit CLxRPGameScr1(const char* descriptionPath);
    ~CLxRPGameScr1() override;

    int OnTimerEvent(CLxTimerEvent* event) override;

    // The panel (and overlay slot) of member i of n members; false when there is none.
    static bool PanelRect(int n, int i, RECT* out);

  private:
    void SetUp();
    void ShowRecognised();
    void LightMembers();
};
