// The base of every control: an active area of a screen that lives in its description's
// control list, takes its name and rectangles from the description's pools, draws
// itself into the drawing surface when its state changes and receives the mouse and key
// events of the dispatcher (LxCGUI.h).
//
// Rectangles are absolute (the group origin is added when they are made). In the pool a
// "highlight" rectangle (drawn, never hit) has bit 31 of its bottom set and a "touch"
// rectangle (hit, never drawn) bit 31 of its right; drawing clears the bottom's bit and
// skips rectangles whose right is not positive.
#pragma once
#include <string>

#include "media/LxWin.h"
#include "ui/LxEvents.h"

class CLxCGUI;
class CLxGroup;
class CLxXMLParser;
class CLxSurface;

// Control state bits; a control's effective state is its flags AND its group's flags.
enum {
    kHot = 1,
    kSelected = 2,
    kEnabled = 4,
    kVisible = 8,
    kAcceptsChars = 16,
    kEditing = 32,
    kSelectionColours = 64,
};

// Type codes.
enum {
    kPlainControl = 0,
    kButton = 1,
    kCheckBox = 2,
    kText = 3,
    kTextField = 4,
    kNumberField = 5,
    kTextArea = 6,
    kRLESprite = 7,
    kBMPSprite = 8,
    kScrollBar = 11,
    kSlider = 12,
    kSoundBox = 13,
    kTimeDiagramm = 14,
    kVolumeSlider = 15,
};

constexpr int kRectMarker = static_cast<int>(0x80000000u);

class CLxControl {
  public:
    // What a screen gives to build a control in code; rectangles relative to the group.
    struct Descriptor {
        CLxCGUI* gui;
        CLxGroup* group;
        const char* name;
        const RECT* rects;
        int count;
    };

    // Built in code: flags 12 (enabled, visible).
    CLxControl(const Descriptor* descriptor, int type);
    // Built from a description whose reader stands on the control's tag: name and help
    // are read, flags 44. A derived class reads its own attributes of the tag; the
    // loader then reads the rectangle tags that follow (ReadRects).
    CLxControl(CLxCGUI* gui, CLxGroup* group, CLxXMLParser* reader, const char* tag, int type);
    CLxControl(const CLxControl&) = delete;
    CLxControl& operator=(const CLxControl&) = delete;
    virtual ~CLxControl();

    virtual void SetRect(const RECT* rect);
    virtual void Draw() = 0;
    virtual void OnEnter(CLxMouseEvent* event);
    virtual void OnLeave(CLxMouseEvent* event);
    virtual void OnMove(CLxMouseEvent*) {}
    virtual void OnDrag(CLxMouseEvent*) {}
    virtual void OnClick(CLxMouseEvent*) {}
    virtual void OnButtonDown(CLxMouseEvent*) {}
    virtual void OnButtonUp(CLxMouseEvent*) {}
    virtual void OnKeyDown(CLxKeyEvent*) {}
    virtual void OnKeyUp(CLxKeyEvent*) {}
    virtual void OnChar(CLxKeyEvent*) {}
    // The text kinds take a new text; other controls ignore it.
    virtual void SetText(const char*) {}

    // Group name, ".", name; the name alone without group.
    std::string GetFullName() const;
    // Flags AND group flags; 0 without group.
    int GetState() const;
    // Whether the control's and the group's flags both hold all the bits.
    bool Is(int bits) const;
    bool HitTest(int x, int y) const;
    // The union of the rectangles as stored (marker bits included); empty without any.
    void GetBounds(RECT* out) const;
    void MoveTo(int x, int y);
    void SetSize(int w, int h);
    // The first rectangle as it is drawn (marker bit of the bottom cleared); false
    // without rectangles.
    bool GetDrawRect(RECT* out) const;
    int OriginX() const;
    int OriginY() const;
    // Reads the "common", "highlight" and "touch" tags after the control's tag, and
    // uses up the first other tag.
    void ReadRects(CLxXMLParser* reader);

    CLxControl* m_pNext = nullptr;
    int m_nType;
    CLxCGUI* m_pGUI;
    CLxGroup* m_pGroup;
    const char* m_szName = "";
    const char* m_szHelp = nullptr;
    RECT* m_pRects = nullptr;
    int m_nRects = 0;
    int m_nFlags;

  protected:
    // Adds a rectangle given relative to the group origin, with the marker bits.
    void AddRect(RECT rect, bool highlight, bool touch);
    // Blits the rectangles of the control from picture (a picture of the group's area)
    // to the drawing surface; nothing without a picture or when not visible.
    void BlitRects(CLxSurface* picture) const;
};
