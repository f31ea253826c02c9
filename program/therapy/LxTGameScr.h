// The therapy-games screen: the header of the current child (name, picture, last
// therapy day), the recorder buttons, the tabs to the other therapy screens and the six
// game buttons. On its own it is the menu of the games; each voice-driven game derives
// from it, reads its own extra description into the same controls and plays on the
// recognition driver's timer events, reading the driver's per-step histories.
// Clicks become synchronous messages to the main window, which switches screens and
// drives the recorder; the screen only mirrors the recorder's state in its buttons.
#pragma once
#include <string>

#include "ui/LxScreen.h"

class CLxTGameScr : public CLxScreen {
  public:
    explicit CLxTGameScr(const char* descriptionPath);

    int OnKeyEvent(CLxKeyEvent* event) override;
    int OnMouseEvent(CLxMouseEvent* event) override;
    int OnTimerEvent(CLxTimerEvent* event) override;
    // Puts the driver back into level play (a pushed screen may have changed its mode)
    // and redraws the whole screen. Games copy their settings into their sliders first.
    void Refresh() override;

    // Header of a child; -1 is the current one (g_szUserName).
    void ShowUserHeader(int index);
    // The four recorder buttons' states, each with the visible bit added.
    void SetRecorderButtons(int record, int stop, int pause, int play);
    // Record and play back enabled, stop selected, pause hidden: nothing runs.
    void ShowRecorderStopped();
    // Game button n selected, the others plain; the menu's text hidden.
    void SelectGameButton(int n);

    // The recogniser mode of every game: levels only, ticking every period ms (10 but in
    // the mole game), 4 smoothing frames.
    static constexpr int kGamePeriod = 10;
    static void SetLevelPlay(int period = kGamePeriod);
    // The description of game n beside the base one: "data\beszedjavj.xml" gives
    // "data\beszedjavj_3.xml" for game 3 (only the file name's extension is cut).
    static std::string ExtraDescription(const char* path, int game);

  protected:
    bool IsSelected(const char* name);
    // Draws the child's picture into the name button's pictures (states 12 and 13).
    void DrawUserPicture(int icon);
    // Lays a game's scene into the background: strip copied over below (the lower edge
    // repeats it), then the scene's picture stretched over scene.
    void LayScene(const RECT& strip, const RECT& below, const char* picture, const RECT& scene);
    // The value of a slider, or fallback when there is none.
    int SliderValue(const char* name, int fallback);
    void SetSliderValue(const char* name, int value);
    // The driver's write index when the event is a driver step not yet played (the
    // window timer and the second event of one driver step are not), else -1. One game
    // step per driver step keeps a game's speed and counts independent of how many
    // events the driver sends per step.
    int NewDriverStep(const CLxTimerEvent* event);
    // Redraws the union of a moved control's old and new rectangles, cut to area.
    void RedrawMoved(const RECT& before, const RECT& after, const RECT& area);

  private:
    void Click(const char* name);
    void SaveDay();

    int m_nLastWrite = -1;
};
