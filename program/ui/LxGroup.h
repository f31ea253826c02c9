// A group of controls on a screen: its name (the first half of every control's full
// name, "fo" in "fo.vissza"), its origin, the group flags that can hide (8) or
// disable (4) all its controls, and up to eight pictures of its area, one per visual
// state (bit 0 under the mouse, bit 1 selected, bit 2 enabled). A control shows its
// own rectangle out of the picture of its state.
#pragma once
#include "media/LxSurface.h"

class CLxCGUI;
class CLxXMLParser;

class CLxGroup {
  public:
    // What a screen gives to build a group in code.
    struct Descriptor {
        CLxCGUI* gui;
        const char* name;
        // Pictures for the states 0, 2, 4, 5, 6 and 7, taken over by the group.
        CLxSurface* pictures[6];
        int x, y;
    };

    // Reads a group from a description whose reader stands on the group's tag.
    CLxGroup(CLxCGUI* gui, CLxXMLParser* reader, char* tag);
    explicit CLxGroup(const Descriptor* descriptor);
    CLxGroup(const CLxGroup&) = delete;
    CLxGroup& operator=(const CLxGroup&) = delete;
    virtual ~CLxGroup();

    // The picture of a state: without a picture for it, the state without the mouse,
    // then the enabled form; null when none of them has one.
    CLxSurface* GetPicture(int state) const;
    void SetPosition(int x, int y);
    // At origin (0, 0), makes every picture width x height (black outside the old one).
    bool ExpandBitmaps(int width, int height);
    void DeleteControls();

    CLxGroup* m_pNext = nullptr;
    CLxCGUI* m_pCGUI = nullptr;
    CLxSurface* m_aPictures[8] = {};
    int m_nX = 0, m_nY = 0;
    char* m_szName = nullptr;
    int m_nFlags = -1;
};
