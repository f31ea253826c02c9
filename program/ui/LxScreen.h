// The base of every page the user sees. A screen owns the controls of one description
// (LxCGUI.h), hears keys, mouse actions on its controls and timer ticks through the
// three listener interfaces, and offers setters of its controls' state by full name.
// With a description that has a group "fo", the screen shows a help bubble with the
// control's help text while the mouse is over a control.
#pragma once
#include "media/LxWin.h"
#include "ui/LxEvents.h"

class CLxBMPSprite;
class CLxCGUI;
class CLxControl;
class CLxSurface;

class CLxScreen : public ILxKeyListener, public ILxMouseListener, public ILxTimerListener {
  public:
    // The help bubble may be this wide at most (exclusive), in pixels of text.
    static constexpr int kMaxHelpWidth = 392;

    CLxScreen();
    explicit CLxScreen(const char* descriptionPath);
    CLxScreen(const CLxScreen&) = delete;
    CLxScreen& operator=(const CLxScreen&) = delete;
    virtual ~CLxScreen();

    int OnKeyEvent(CLxKeyEvent* event) override = 0;
    // The help bubble; derived screens call it first from their own handler.
    int OnMouseEvent(CLxMouseEvent* event) override;
    int OnTimerEvent(CLxTimerEvent* event) override = 0;
    // Draws the whole screen again; the main window calls it when the screen comes back
    // to the front. Screens that keep state outside their controls show it first.
    virtual void Refresh();
    // The answer of a screen pushed over this one (1054, 1066, 1070, ...; wParam -1 for
    // none), after this one came back to the front and drew itself again.
    virtual void OnAnswer(UINT, WPARAM) {}

    // The control's flags AND its group's flags.
    bool GetControlState(const char* name, int* state);
    // Replaces the control's flags and draws it.
    bool SetControlState(const char* name, int flags);
    // Sets (on) or clears the bits and draws the control.
    bool SetControlFlag(const char* name, int bits, bool on);
    // Sets the text of a text kind (types 3 to 6); other controls are left alone. True
    // when the control exists.
    bool SetControlText(const char* name, const char* text);
    // The description tells its screen that a control is going away.
    void ForgetControl(const CLxControl* control);

    const char* GetName() const { return m_szName; }
    CLxCGUI* GetGUI() const { return m_pGUI; }

    CLxSurface* m_pHelpSurface = nullptr;
    CLxBMPSprite* m_pHelpSprite = nullptr;
    const char* m_szName = nullptr;
    const char* m_szLastHelp = nullptr;
    CLxCGUI* m_pGUI = nullptr;

  private:
    void CreateHelp();
    void ShowHelp(CLxMouseEvent* event);
    void HideHelp();
};
