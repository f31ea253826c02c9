// The time diagram: bars and their colours read back by pixel, one-pixel columns for
// long histories, the level lines and the grid, the threshold drag and the cursor shape,
// column updates, new data, the colours over the camera video, and the empty cases that
// must draw nothing and divide by nothing.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "shell/LxProgram.h"
#include "test_controls_support.h"
#include "ui/LxCursor.h"
#include "ui/LxTimeDiagramm.h"

using namespace ui_test;

namespace {
constexpr uint32_t kBackground = 0x112233;
constexpr uint32_t kGreen = 0x00C000, kRed = 0xC00000;
constexpr int kLeft = 100, kTop = 100, kRight = 500, kBottom = 200; // 400 x 100

class Diagram : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        WritePicture("data/bg.bmp", kBackground);
        WriteFile("data/d.xml", "<Lexo background=\"bg\">\n<group name=\"g\" position=\"0,0\">\n"
                                "</group>\n<control type=\"timediagramm\" name=\"d\">"
                                "<common rect=\"100,100,400,100\"/></control>\n</Lexo>\n");
        gui_ = std::make_unique<CLxCGUI>("data\\d.xml");
        gui_->m_pListener = &recorder_;
        d_ = static_cast<CLxTimeDiagramm*>(gui_->FindControl("g.d"));
        ASSERT_NE(d_, nullptr);
    }
    void TearDown() override {
        g_bVideoRunning = 0;
        LxSetCursor(nullptr);
        gui_.reset();
        UiTest::TearDown();
    }
    // Values with every odd one at v, the even ones 0.
    void Alternate(int count, float v) {
        values_.assign(count, 0.0f);
        for (int i = 1; i < count; i += 2)
            values_[i] = v;
        d_->SetData(values_.data(), count);
    }
    void Mouse(int type, int x, int y) {
        CLxMouseEvent e(d_, x, y, type, type == kMouseDrag ? MK_LBUTTON : 0);
        switch (type) {
        case kMouseMove:
            d_->OnMove(&e);
            break;
        case kMouseDown:
            d_->OnButtonDown(&e);
            break;
        case kMouseDrag:
            d_->OnDrag(&e);
            break;
        case kMouseUp:
            d_->OnButtonUp(&e);
            break;
        case kMouseLeave:
            d_->OnLeave(&e);
            break;
        default:
            break;
        }
    }
    std::unique_ptr<CLxCGUI> gui_;
    CLxTimeDiagramm* d_ = nullptr;
    Recorder recorder_;
    std::vector<float> values_;
};

TEST_F(Diagram, ReadFromADescription) {
    EXPECT_EQ(d_->m_nType, kTimeDiagramm);
    EXPECT_EQ(d_->m_nFlags, 44);
    EXPECT_EQ(d_->m_pValues, nullptr);
}

TEST_F(Diagram, FiftyValuesOnFourHundredPixelsAreEightPixelBars) {
    d_->m_nFlags |= CLxTimeDiagramm::kLevels;
    d_->m_nThreshold = 32768 * 3 / 10; // the line 29 pixels above the bottom
    Alternate(50, 0.5f);               // odd bars 50 pixels high
    d_->Draw();
    EXPECT_EQ(d_->m_nWidth, 400);
    struct Case {
        int x, y;
        uint32_t rgb;
    } cases[] = {
        {108, 198, kGreen},
        {115, 198, kGreen},
        {116, 198, kBackground},
        {107, 198, kBackground},
        {110, 172, kGreen},
        {110, 171, 0x902090},
        {110, 170, kRed},
        {110, 150, kRed},
        {110, 149, kBackground},
        {124, 160, kRed},
        {kLeft, 120, 0},
        {kRight, 120, 0},
        {kRight - 1, 140, kBackground},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Pixel(c.x, c.y), c.rgb) << c.x << "," << c.y;
}

TEST_F(Diagram, WithoutLevelsEveryBarCountsAsAboveTheThreshold) {
    d_->m_nThreshold = 32768;
    Alternate(50, 0.5f);
    d_->Draw();
    EXPECT_EQ(Pixel(110, 199), kRed);
    EXPECT_EQ(Pixel(110, 150), kRed);
    EXPECT_NE(Pixel(104, 170), 0u); // no threshold or marker lines
}

TEST_F(Diagram, LongHistoriesDrawOnePixelColumns) {
    d_->m_nFlags |= CLxTimeDiagramm::kLevels;
    d_->m_nThreshold = 32768 / 4;
    for (int count : {400, 800}) {
        values_.assign(count, 0.0f);
        // Column x shows value x * count / 400: the first 100 columns are full height.
        for (int i = 0; i < count / 4; ++i)
            values_[i] = 1.0f;
        d_->SetData(values_.data(), count);
        d_->Draw();
        EXPECT_EQ(Pixel(kLeft + 99, 190), kGreen) << count;
        EXPECT_EQ(Pixel(kLeft + 99, 110), kRed) << count;
        EXPECT_EQ(Pixel(kLeft + 101, 110), kBackground) << count;
    }
}

TEST_F(Diagram, LevelLinesGridAndPositionLine) {
    d_->m_nFlags |= CLxTimeDiagramm::kLevels;
    values_.assign(50, 0.0f);
    d_->SetData(values_.data(), 50);
    d_->m_nCursorX = 310;
    d_->SetLevels(16384, 8192); // threshold at y 150, marker at y 175
    EXPECT_EQ(Pixel(120, 150), 0x902090u);
    EXPECT_EQ(Pixel(104, 175), 0u); // dashes from (100 + 4) & ~3, 4 long, every 8
    EXPECT_EQ(Pixel(107, 175), 0u);
    EXPECT_EQ(Pixel(108, 175), kBackground);
    EXPECT_EQ(Pixel(112, 175), 0u);
    EXPECT_EQ(Pixel(150, 100), 0x808080u); // grid at 100 + 400 / 8: two of every four rows
    EXPECT_EQ(Pixel(150, 101), 0x808080u);
    EXPECT_EQ(Pixel(150, 102), kBackground);
    EXPECT_EQ(Pixel(150, 104), 0x808080u);
    EXPECT_EQ(Pixel(310, 120), kRed); // the position line
    d_->SetLevels(-5, 40000);
    EXPECT_EQ(d_->m_nThreshold, 0);
    EXPECT_EQ(d_->m_nMarker, 32768);
    EXPECT_EQ(Pixel(120, 199), 0x902090u); // a line at the bottom stays inside
    EXPECT_EQ(Pixel(120, 100), 0u);
}

TEST_F(Diagram, ThresholdDragClampsAndNotifies) {
    d_->m_nFlags |= CLxTimeDiagramm::kLevels;
    Alternate(50, 0.5f);
    struct Case {
        int downY, dragY;
        int threshold;
        size_t notices;
    } cases[] = {
        {153, 50, 32768, 1},  // above the top
        {147, 250, 0, 1},     // below the bottom
        {154, 175, 8192, 1},  // a quarter of the height
        {156, 120, 16384, 0}, // pressed too far from the line: no drag
    };
    for (const Case& c : cases) {
        d_->m_nThreshold = 16384; // the line at y 150
        recorder_.log.clear();
        Mouse(kMouseDown, 300, c.downY);
        Mouse(kMouseDrag, 300, c.dragY);
        EXPECT_EQ(d_->m_nThreshold, c.threshold) << c.downY;
        EXPECT_EQ(recorder_.log.size(), c.notices) << c.downY;
        if (c.notices) {
            EXPECT_EQ(LxGetCursor(), LxLoadCursor(IDC_SIZENS));
        }
        Mouse(kMouseUp, 300, c.dragY);
        Mouse(kMouseDrag, 300, 120); // the drag has ended
        EXPECT_EQ(d_->m_nThreshold, c.threshold) << c.downY;
    }
    d_->m_nFlags &= ~CLxTimeDiagramm::kLevels; // hidden lines cannot be dragged
    Mouse(kMouseDown, 300, kBottom);
    Mouse(kMouseDrag, 300, 120);
    EXPECT_EQ(d_->m_nThreshold, 16384);
}

TEST_F(Diagram, CursorShapeFollowsTheThresholdLine) {
    d_->m_nFlags |= CLxTimeDiagramm::kLevels;
    d_->m_nThreshold = 16384;
    const LxCursor* arrow = LxLoadCursor(IDC_ARROW);
    const LxCursor* size = LxLoadCursor(IDC_SIZENS);
    struct Case {
        int y;
        const LxCursor* shape;
    } cases[] = {{150, size}, {146, size}, {154, size}, {145, arrow}, {155, arrow}};
    for (const Case& c : cases) {
        Mouse(kMouseMove, 300, c.y);
        EXPECT_EQ(LxGetCursor(), c.shape) << c.y;
    }
    Mouse(kMouseMove, 300, 150);
    Mouse(kMouseLeave, 600, 150);
    EXPECT_EQ(LxGetCursor(), arrow);
}

TEST_F(Diagram, CursorShapesWithAndWithoutVideo) {
    const LxCursor* arrow = LxLoadCursor(IDC_ARROW);
    const LxCursor* size = LxLoadCursor(IDC_SIZENS);
    EXPECT_EQ(LxLoadCursor(12345), arrow);
    EXPECT_EQ(LxSetCursor(size), arrow); // no video: only remembered
    EXPECT_EQ(LxGetCursor(), size);
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    EXPECT_EQ(LxSetCursor(nullptr), size); // null is the arrow
    EXPECT_EQ(LxSetCursor(size), arrow);
    EXPECT_EQ(LxSetCursor(size), size);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    EXPECT_EQ(LxSetCursor(arrow), size); // after the video is gone
}

TEST_F(Diagram, DrawColumnRedrawsOneColumnAndMovesThePositionLine) {
    Alternate(50, 0.5f);
    d_->DrawColumn(-1);
    EXPECT_EQ(d_->m_nCursorX, kLeft + 8);
    EXPECT_EQ(Pixel(108, 120), kRed);
    values_[2] = 1.0f;  // column 2 (x 116..123) is redrawn below
    values_[10] = 1.0f; // column 10 is not
    d_->DrawColumn(52); // the index is taken modulo the count
    EXPECT_EQ(d_->m_nCursorX, kLeft + 24);
    EXPECT_EQ(Pixel(120, 110), kRed);
    EXPECT_EQ(Pixel(184, 110), kBackground);
    EXPECT_EQ(Pixel(108, 120), kBackground); // the old position line is gone
    EXPECT_EQ(Pixel(124, 120), kRed);        // the new one
    d_->DrawColumn(49);                      // after the last column the line leaves the diagram
    EXPECT_EQ(d_->m_nCursorX, kRight);
    EXPECT_EQ(Pixel(124, 120), kBackground);
    EXPECT_EQ(Pixel(kRight, 120), 0u); // the frame's right line
}

TEST_F(Diagram, NewDataKeepsThePositionLineAtItsShareOfTheWidth) {
    Alternate(50, 0.5f);
    struct Case {
        int count, cursor;
    } steps[] = {{50, kLeft + 80}, {100, kLeft + 80}, {25, kLeft + 80}, {3, kLeft + 0}};
    d_->m_nCursorX = kLeft + 80;
    for (const Case& s : steps) {
        values_.resize(std::max<size_t>(values_.size(), s.count));
        d_->SetData(values_.data(), s.count);
        EXPECT_EQ(d_->m_nCursorX, s.cursor) << s.count;
    }
    d_->m_nCursorX = kLeft + 24; // inside column 1 of 16 pixels: it goes to its start
    values_.assign(25, 0.0f);
    d_->SetData(values_.data(), 25);
    EXPECT_EQ(d_->m_nCursorX, kLeft + 16);
}

TEST_F(Diagram, OverTheVideoNothingIsBlittedAndColoursKeepTheirHue) {
    g_bVideoRunning = 1;
    FillRectPixel(g_pDrawSurface, nullptr, 0x777777);
    d_->m_nFlags |= CLxTimeDiagramm::kLevels;
    d_->m_nThreshold = 32768 / 4;
    Alternate(50, 1.0f); // wide bars: renderer fills
    d_->Draw();
    EXPECT_EQ(Pixel(110, 190), 0x00B000u);
    EXPECT_EQ(Pixel(110, 110), 0xB00000u);
    EXPECT_EQ(Pixel(104, 110), 0x777777u);
    values_.assign(400, 1.0f); // one-pixel columns: lines
    d_->SetData(values_.data(), 400);
    d_->Draw();
    EXPECT_EQ(Pixel(103, 190), 0x00B000u);
    EXPECT_EQ(Pixel(103, 110), 0xB00000u);
}

TEST_F(Diagram, WithoutDataOrSizeNothingIsDrawnAndNothingDivides) {
    Clear();
    d_->Draw();
    d_->DrawColumn(-1);
    d_->DrawColumn(7);
    values_.assign(4, 1.0f);
    d_->SetData(values_.data(), 0); // rows without data
    d_->DrawColumn(-1);
    d_->DrawColumn(3);
    d_->SetData(nullptr, 4);
    EXPECT_EQ(d_->m_nValues, 0);
    d_->DrawColumn(3);
    for (int x : {kLeft, 110, 300})
        EXPECT_EQ(Pixel(x, 150), 0u) << x;
    // A diagram squeezed to no height or no width.
    d_->m_nFlags |= CLxTimeDiagramm::kLevels;
    d_->SetData(values_.data(), 4);
    for (RECT flat : {RECT{100, 100, 500, 100}, RECT{100, 100, 100, 200}}) {
        d_->m_pRects[0] = flat;
        Mouse(kMouseDown, 300, 100);
        d_->m_bDragging = 1;
        Mouse(kMouseDrag, 300, 90);
        d_->DrawColumn(-1);
        d_->DrawColumn(2);
        d_->SetData(values_.data(), 4);
    }
    EXPECT_EQ(d_->m_nThreshold, 0);
    EXPECT_EQ(Pixel(100, 100), 0u);
}
TEST_F(Diagram, WithoutRectanglesNothingIsDrawn) {
    WriteFile("data/n.xml", "<Lexo>\n<group name=\"g\" position=\"0,0\">\n</group>\n"
                            "<control type=\"timediagramm\" name=\"n\"></control>\n</Lexo>\n");
    CLxCGUI gui("data\\n.xml");
    auto* n = static_cast<CLxTimeDiagramm*>(gui.FindControl("g.n"));
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->m_nRects, 0);
    Clear();
    n->m_nFlags |= CLxTimeDiagramm::kLevels;
    values_.assign(10, 1.0f);
    n->SetData(values_.data(), 10);
    n->SetLevels(100, 100);
    n->DrawColumn(-1);
    n->DrawColumn(4);
    CLxMouseEvent e(n, 0, 0, kMouseDown, MK_LBUTTON);
    n->OnMove(&e);
    n->OnButtonDown(&e);
    n->m_bDragging = 1;
    n->OnDrag(&e);
    EXPECT_EQ(n->m_nThreshold, 100);
    EXPECT_EQ(Pixel(0, 0), 0u);
}
} // namespace
