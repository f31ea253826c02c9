// Sprites: movable pictures built by screens in code, which the user may drag inside a
// clip rectangle. A bitmap sprite shows the part of its state picture under its
// rectangle (or the whole picture scaled into it), an RLE sprite paints one of its
// masks in that mask's colour. A sprite has exactly one rectangle.
#pragma once
#include <cstdint>

#include "ui/LxControl.h"

class CLxRLEBitmap;
class CLxSurface;

class CLxSprite : public CLxControl {
  public:
    struct Descriptor {
        CLxCGUI* gui;
        CLxGroup* group;
        const char* name;
        RECT position; // relative to the group origin
        RECT clip;     // absolute
        // Pictures for the states 0, 4, 5, 6 and 7 (not owned).
        CLxSurface* pictures[5];
        bool keyed;   // blit with the picture's colour key
        bool stretch; // scale the whole picture into the rectangle
    };

    CLxSprite(const Descriptor* d, int type);

    void OnDrag(CLxMouseEvent* event) override;
    void OnButtonDown(CLxMouseEvent* event) override;
    void OnButtonUp(CLxMouseEvent* event) override;

    RECT m_rcClip;
    POINT m_ptDrag{-1, 0};
};

class CLxBMPSprite : public CLxSprite {
  public:
    explicit CLxBMPSprite(const Descriptor* d);

    void Draw() override;
    // The picture drawn for a state: the state's own, else without the selected bit,
    // else the enabled bit alone, else the passive picture; null when none.
    CLxSurface* PictureFor(int state) const;

    CLxSurface* m_aPictures[8] = {};
    bool m_bKeyed;
    bool m_bStretch;
};

class CLxRLESprite : public CLxSprite {
  public:
    // A sprite description with three masks and their colours for the slots 0, 4, 5.
    struct RLEDescriptor {
        Descriptor sprite;
        const CLxRLEBitmap* masks[3];
        uint32_t colours[3];
    };

    explicit CLxRLESprite(const RLEDescriptor* d);

    void Draw() override;
    // The slot drawn for a state: s = state & 5, else s & 4, else 4; -1 when empty.
    int SlotFor(int state) const;

    const CLxRLEBitmap* m_apMasks[8] = {};
    uint32_t m_aColours[8];
};
