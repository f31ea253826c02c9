// The time diagram: a history of values 0..1 (not owned) drawn as bars rising from the
// bottom of the control's first rectangle, green up to a threshold line and red above
// it, with a grid of eight columns, a dashed marker line and a line at the current
// position. With the flag 16 the threshold and marker lines are shown and the user may
// drag the threshold; the screen hears of each change through Notify and reads
// m_nThreshold. Levels are fractions of the height in 1/32768.
//
// A screen that feeds the diagram from a running history calls DrawColumn on every new
// value: only that value's column is repainted and the position line moves after it.
#pragma once
#include "ui/LxControl.h"

struct LxCursor;

class CLxTimeDiagramm : public CLxControl {
  public:
    static constexpr int kFull = 32768;
    // The control flag that shows the threshold and marker lines and allows the drag.
    static constexpr int kLevels = 16;

    CLxTimeDiagramm(CLxCGUI* gui, CLxGroup* group, CLxXMLParser* reader, const char* tag);

    void Draw() override;
    void OnLeave(CLxMouseEvent* event) override;
    void OnMove(CLxMouseEvent* event) override;
    void OnDrag(CLxMouseEvent* event) override;
    void OnButtonDown(CLxMouseEvent* event) override;
    void OnButtonUp(CLxMouseEvent* event) override;

    // New values (not copied); the position line stays at the same share of the width.
    void SetData(float* values, int count);
    // Sets the threshold and the marker (clamped to 0..32768) and draws.
    void SetLevels(int threshold, int marker);
    // i < 0: the position line goes to the second column and all is drawn; otherwise the
    // column of value i (modulo the count) is redrawn and the line put after it.
    void DrawColumn(int i);

    int m_nThreshold = 0;
    int m_nMarker = 0;
    int m_nWidth = 0;
    int m_nCursorX = 0;
    float* m_pValues = nullptr;
    int m_nValues = 0;
    const LxCursor* m_pArrow;
    const LxCursor* m_pSizeNS;
    int m_bDragging = 0;

  private:
    // The first rectangle, with m_nWidth refreshed from it; false without one or when it
    // has no width or no height.
    bool Layout(RECT* r);
    bool HasData() const;
    // The threshold line's height above the bottom; 0 when the levels are hidden.
    int ThresholdHeight(const RECT& r) const;
    // Repaints everything of the diagram that lies in the columns x0..x1 (exclusive).
    void Paint(const RECT& r, int x0, int x1);
    void PaintBars(const RECT& r, int x0, int x1);
    void Bar(int x0, int x1, int bottom, float value, int height, int threshold);
    // Whether y is within 4 pixels of the shown threshold line.
    bool NearThreshold(int y) const;
};
