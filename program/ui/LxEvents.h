// What a screen hears: key, mouse and timer events, and the three listener interfaces a
// screen implements to receive them. Events are made on the dispatcher's stack and are
// valid only during the call; listeners must not keep them.
#pragma once
#include <cstdint>

class CLxControl;

// Mouse event types.
enum {
    kMouseClick = 1,       // left button released over the control it was pressed on
    kMouseDrag = 2,        // moved with the left button down
    kMouseEnter = 3,       // came over a control
    kMouseLeave = 4,       // left the hot control
    kMouseMove = 5,        // moved with no button down (controls only)
    kMouseDown = 6,        // left button pressed
    kMouseUp = 7,          // left button released
    kMouseReleasedOut = 8, // released after the mouse left the control
};

// Key event types.
enum { kKeyDown = 1, kKeyUp = 2, kKeyChar = 3 };

class CLxKeyEvent {
  public:
    CLxKeyEvent(CLxControl* control, int type, int key, int data)
        : m_pControl(control), m_nType(type), m_nKey(key), m_nData(data) {}
    virtual ~CLxKeyEvent() = default;

    CLxControl* m_pControl;
    int m_nType;
    int m_nKey;  // virtual-key code or character
    int m_nData; // lParam of the key message
};

class CLxMouseEvent {
  public:
    CLxMouseEvent(CLxControl* control, int x, int y, int type, int buttons)
        : m_pControl(control), m_nX(x), m_nY(y), m_nType(type), m_nButtons(buttons) {}
    virtual ~CLxMouseEvent() = default;

    CLxControl* m_pControl;
    int m_nX, m_nY; // drawing-surface pixels
    int m_nType;
    int m_nButtons; // wParam of the mouse message: 1 left button, 8 Ctrl
};

class CLxTimerEvent {
  public:
    CLxTimerEvent(int timerId, int message, int64_t clock)
        : m_nTimerId(timerId), m_nMessage(message), m_nClock(clock) {}
    virtual ~CLxTimerEvent() = default;

    int m_nTimerId; // 0 for the window timer
    int m_nMessage; // 275 window timer; 1084, 1085, 1086 from the recognition driver
    int64_t m_nClock;
};

class ILxKeyListener {
  public:
    virtual int OnKeyEvent(CLxKeyEvent* event) = 0;

  protected:
    ~ILxKeyListener() = default;
};

class ILxMouseListener {
  public:
    virtual int OnMouseEvent(CLxMouseEvent* event) = 0;

  protected:
    ~ILxMouseListener() = default;
};

class ILxTimerListener {
  public:
    virtual int OnTimerEvent(CLxTimerEvent* event) = 0;

  protected:
    ~ILxTimerListener() = default;
};
