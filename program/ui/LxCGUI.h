// A screen description: what a screen's XML file says about its look, owned for the
// screen's life. It holds the background picture, the groups of controls with their
// state pictures (LxGroup.h), the controls (LxControl.h), a rectangle pool and a text
// pool that groups and controls take their names and rectangles from. The pools never
// shrink and never overflow: a text that does not fit becomes the shared empty text, a
// rectangle that does not fit is dropped.
//
// Reading walks the file tag by tag: "Lexo" names the background, "group" starts a
// group or returns to one of the same name, "control" with a "type" makes a control of
// the current group, which reads its rectangle tags after it.
//
// The description also dispatches the window's mouse and key messages to its controls:
// it keeps the hot control (under the mouse) and the pressed one (where the left button
// went down), calls the control's own handler first and then tells the screen.
#pragma once
#include <string>

#include "media/LxSurface.h"
#include "media/LxWin.h"
#include "ui/LxEvents.h"

class CBSoundBuffer;
class CLxControl;
class CLxGroup;
class CLxScreen;
class CLxXMLParser;

class CLxCGUI {
  public:
    static constexpr int kMaxRects = 1024;
    // True once every rectangle of the pool is taken.
    bool RectsFull() const { return m_nRects >= kMaxRects; }
    static constexpr int kTextBytes = 8192;

    // Reads the description (none for null) and fetches the click and asterisk sounds.
    explicit CLxCGUI(const char* descriptionPath);
    CLxCGUI(const CLxCGUI&) = delete;
    CLxCGUI& operator=(const CLxCGUI&) = delete;
    virtual ~CLxCGUI();

    // Reads a further description into this one (screens merge extra descriptions).
    void LoadDescription(const char* path);

    // The first control whose full name ("group.name") is fullName.
    CLxControl* FindControl(const char* fullName) const;
    CLxGroup* FindGroup(const char* name) const;
    // Put a control or a group in front of its list (their constructors call these).
    void AddControl(CLxControl* control);
    void AddGroup(CLxGroup* group);
    // Unlinks a control (its destructor calls it); forgets it as hot or pressed control.
    void RemoveControl(CLxControl* control);
    // Unlinks a group and deletes its controls (its destructor calls it).
    void RemoveGroup(CLxGroup* group);
    // Deletes every control of the group, keeping the group.
    void DeleteGroupControls(CLxGroup* group);
    bool HasControl(const CLxControl* control) const;

    // A place in the rectangle pool holding rect, or null when the pool is full.
    RECT* AddRect(const RECT* rect);
    // n zeroed bytes of the text pool, or the shared empty text when they do not fit.
    char* AllocText(int n);
    // A copy of s in the text pool; the shared empty text for null or when it does not fit.
    char* StoreText(const char* s);
    // Whether text is the shared empty text (which must never be written to).
    static bool IsSharedEmpty(const char* text);
    int TextUsed() const { return m_nText; }

    // Redraws a region (null: all): the background under it when withBackground, then
    // every visible control but except whose rectangles meet it, newest first.
    void DrawBackground(const RECT* rect, CLxControl* except, bool withBackground);
    // Frees and reloads the background picture from its file.
    CLxSurface* ReloadBackground();
    const char* GetFile() const { return m_file.c_str(); }

    // Passes an event to the screen (controls report value changes so).
    void Notify(CLxMouseEvent* event);
    void StopSounds();
    void PlayClick();
    void PlayAsterisk();
    // Prints every control's full name and the text pool use, for the F5 key.
    void DumpControls();

    // Window messages: 256, 257, 258 keys; 512, 513, 514 mouse, lParam = x | y << 16.
    void DispatchKey(UINT msg, WPARAM wParam, LPARAM lParam);
    void DispatchMouse(UINT msg, WPARAM wParam, LPARAM lParam);

    CLxControl* m_pControls = nullptr;
    CLxGroup* m_pGroups = nullptr;
    RECT m_aRects[kMaxRects] = {};
    char m_aText[kTextBytes] = {};
    int m_nRects = 0;
    int m_nText = 0;
    CLxSurface* m_pBackground = nullptr;
    char m_szBackground[256] = {};
    CBSoundBuffer* m_pAsterisk = nullptr;
    CBSoundBuffer* m_pClick = nullptr;
    CLxControl* m_pHot = nullptr;
    CLxControl* m_pPressed = nullptr;
    ILxMouseListener* m_pListener = nullptr;
    CLxScreen* m_pOwner = nullptr;

  private:
    // Sends a mouse event to the control's handler and, when tell, to the listener;
    // false when the control is gone afterwards.
    bool Send(CLxControl* control, void (CLxControl::*handler)(CLxMouseEvent*), int type, int x,
              int y, int buttons, bool tell);

    std::string m_file;
};

// Room for a text control's length characters in gui's pool, filled from text (which
// may be null). Without a GUI or room in its pool the control gets ownEmpty, its private
// one-byte buffer, and length becomes 0, so the shared empty text is never written to.
char* LxControlText(CLxCGUI* gui, int* length, char* ownEmpty, const char* text);
