// Scroll bars and sliders: value controls drawn from shaded rectangles. A bar lies
// horizontally when its first rectangle is wider than high. The scroll bar keeps
// min <= value and value + page <= max; the slider min <= value <= max. Clicks step by
// one (scroll-bar arrows) or a page, a drag on the thumb follows the mouse; the screen
// learns of a change from the click or drag event the dispatcher passes on.
#pragma once
#include "ui/LxControl.h"

class CLxScrollBar : public CLxControl {
  public:
    CLxScrollBar(CLxCGUI* gui, CLxGroup* group, CLxXMLParser* reader, const char* tag,
                 int type = kScrollBar);

    void Draw() override;
    void OnEnter(CLxMouseEvent* event) override;
    void OnLeave(CLxMouseEvent* event) override;
    void OnMove(CLxMouseEvent* event) override;
    void OnDrag(CLxMouseEvent* event) override;
    void OnClick(CLxMouseEvent* event) override;
    void OnButtonDown(CLxMouseEvent* event) override;
    void OnButtonUp(CLxMouseEvent* event) override;

    // Sets the range and keeps the value inside; no drawing.
    void SetRange(int min, int max);
    void SetValue(int v);

    int m_nMin = 0, m_nMax = 100;
    int m_nPage = 0;
    int m_nValue = 0;
    int m_nTick = 0; // sliders only
    RECT m_rcThumb{};
    POINT m_ptDrag{-1, 0};
    int m_nDragValue = 0;
    int m_nPart = 0;

  protected:
    bool Horizontal(const RECT& r) const;
    // The largest value allowed.
    virtual int Top() const { return m_nMax - m_nPage; }
    void Clamp();
    // The rectangle in drawing coordinates from along/across coordinates of the bar.
    RECT Axis(const RECT& r, int a0, int c0, int a1, int c1) const;
    void BlitBackground(const RECT& r) const;
    virtual int PartAt(int x, int y) const;
};

class CLxSlider : public CLxScrollBar {
  public:
    CLxSlider(CLxCGUI* gui, CLxGroup* group, CLxXMLParser* reader, const char* tag,
              int type = kSlider);

    void Draw() override;
    void OnMove(CLxMouseEvent* event) override;
    void OnDrag(CLxMouseEvent* event) override;
    void OnClick(CLxMouseEvent* event) override;

  protected:
    int Top() const override { return m_nMax; }
    int PartAt(int x, int y) const override;
};
