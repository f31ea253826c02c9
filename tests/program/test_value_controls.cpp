// Scroll bars, sliders and sprites: reading and clamping values, arrow and page clicks,
// drags, the thumb drawn across the whole track, the empty-range cases that must not
// divide by zero, sprite drags kept inside the clip and the pictures and masks drawn.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "media/LxRLEBitmap.h"
#include "test_controls_support.h"
#include "ui/LxGroup.h"
#include "ui/LxScrollBar.h"
#include "ui/LxSprite.h"

using namespace ui_test;

namespace {
class Values : public UiTest {
  protected:
    template <class T> T* Load(const std::string& control) {
        WriteFile("data/v.xml", "<Lexo>\n<group name=\"g\" position=\"0,0\">\n</group>\n" +
                                    control + "</Lexo>\n");
        gui_ = std::make_unique<CLxCGUI>("data\\v.xml");
        return static_cast<T*>(gui_->FindControl("g.v"));
    }
    void Mouse(CLxControl* c, int type, int x, int y, int buttons = 0) {
        CLxMouseEvent e(c, x, y, type, buttons);
        switch (type) {
        case kMouseMove:
            c->OnMove(&e);
            break;
        case kMouseDown:
            c->OnButtonDown(&e);
            break;
        case kMouseDrag:
            c->OnDrag(&e);
            break;
        case kMouseUp:
            c->OnButtonUp(&e);
            break;
        case kMouseClick:
            c->OnClick(&e);
            break;
        default:
            break;
        }
    }
    std::unique_ptr<CLxCGUI> gui_;
};

TEST_F(Values, ScrollBarRangeDefaultsAndClamps) {
    auto* s = Load<CLxScrollBar>("<control type=\"scrollbar\" name=\"v\" range=\"100,0\" "
                                 "value=\"95\" page=\"10\"><common rect=\"0,0,200,20\"/>"
                                 "</control>\n");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->m_nFlags, 44);
    EXPECT_EQ(s->m_nMin, 0);
    EXPECT_EQ(s->m_nMax, 100);
    EXPECT_EQ(s->m_nValue, 90);
    s->SetValue(-5);
    EXPECT_EQ(s->m_nValue, 0);
    s->SetRange(10, 20);
    EXPECT_EQ(s->m_nValue, 10);
    auto* d = Load<CLxScrollBar>("<control type=\"scrollbar\" name=\"v\">"
                                 "<common rect=\"0,0,200,20\"/></control>\n");
    EXPECT_EQ(d->m_nPage, 12);
    EXPECT_EQ(d->m_nValue, 50);
    auto* sl = Load<CLxSlider>("<control type=\"slider\" name=\"v\" value=\"100\">"
                               "<common rect=\"0,0,200,20\"/></control>\n");
    EXPECT_EQ(sl->m_nPage, 6);
    EXPECT_EQ(sl->m_nTick, 6);
    EXPECT_EQ(sl->m_nValue, 100);
}

TEST_F(Values, ScrollBarClicksAndDragStopAtTheLimits) {
    auto* s = Load<CLxScrollBar>("<control type=\"scrollbar\" name=\"v\" range=\"0,100\" "
                                 "value=\"90\" page=\"10\"><common rect=\"0,0,200,20\"/>"
                                 "</control>\n");
    s->Draw();
    Mouse(s, kMouseMove, 195, 10); // second arrow
    EXPECT_EQ(s->m_nPart, 2);
    Mouse(s, kMouseClick, 195, 10);
    EXPECT_EQ(s->m_nValue, 90);
    Mouse(s, kMouseMove, 5, 10);
    Mouse(s, kMouseClick, 5, 10);
    EXPECT_EQ(s->m_nValue, 89);
    s->SetValue(5);
    s->Draw();
    Mouse(s, kMouseMove, 25, 10); // track before the thumb
    EXPECT_EQ(s->m_nPart, 4);
    Mouse(s, kMouseClick, 25, 10);
    EXPECT_EQ(s->m_nValue, 0);
    int x = (s->m_rcThumb.left + s->m_rcThumb.right) / 2;
    Mouse(s, kMouseDown, x, 10);
    Mouse(s, kMouseDrag, x + 500, 10, MK_LBUTTON);
    EXPECT_EQ(s->m_nValue, 90);
    Mouse(s, kMouseUp, x + 500, 10);
    Mouse(s, kMouseDrag, x, 10, MK_LBUTTON); // no drag any more
    EXPECT_EQ(s->m_nValue, 90);
}

TEST_F(Values, APageAsLargeAsTheRangeFillsTheTrack) {
    auto* s = Load<CLxScrollBar>("<control type=\"scrollbar\" name=\"v\" range=\"0,100\" "
                                 "page=\"100\"><common rect=\"0,0,200,20\"/></control>\n");
    s->Draw();
    EXPECT_EQ(s->m_rcThumb.left, 20);
    EXPECT_EQ(s->m_rcThumb.right, 180);
}

TEST_F(Values, EmptyRangesAndShortBarsDoNotDivideByZero) {
    auto* s = Load<CLxScrollBar>("<control type=\"scrollbar\" name=\"v\" range=\"0,5\">"
                                 "<common rect=\"0,0,40,20\"/></control>\n");
    EXPECT_EQ(s->m_nPage, 0);
    s->SetRange(0, 0);
    s->Draw();
    Mouse(s, kMouseDown, 20, 10);
    s->m_ptDrag = {20, 10};
    Mouse(s, kMouseDrag, 30, 10, MK_LBUTTON);
    auto* sl = Load<CLxSlider>("<control type=\"slider\" name=\"v\" range=\"5,5\" trick=\"3\">"
                               "<common rect=\"0,0,200,20\"/></control>\n");
    sl->Draw();
    EXPECT_EQ(sl->m_nValue, 5);
    EXPECT_EQ(sl->m_rcThumb.left, 0);
    auto* zero = Load<CLxSlider>("<control type=\"slider\" name=\"v\">"
                                 "<common rect=\"0,0,0,0\"/></control>\n");
    zero->Draw();
}

TEST_F(Values, SliderDragMovesByTheRoundedShare) {
    auto* sl = Load<CLxSlider>("<control type=\"slider\" name=\"v\" range=\"0,100\" value=\"50\" "
                               "page=\"30\"><common rect=\"0,0,200,20\"/></control>\n");
    sl->Draw();
    int x = (sl->m_rcThumb.left + sl->m_rcThumb.right) / 2;
    Mouse(sl, kMouseDown, x, 10);
    Mouse(sl, kMouseDrag, x + 2, 10, MK_LBUTTON);
    EXPECT_EQ(sl->m_nValue, 51); // (int)(100 * 2 / 190 + 0.5)
    Mouse(sl, kMouseUp, x + 2, 10);
    Mouse(sl, kMouseMove, 195, 10);
    Mouse(sl, kMouseClick, 195, 10);
    EXPECT_EQ(sl->m_nValue, 81);
    Mouse(sl, kMouseClick, 195, 10);
    EXPECT_EQ(sl->m_nValue, 100);
}

TEST_F(Values, SpritesDragInsideTheirClipAndPickTheirPicture) {
    CLxCGUI gui(nullptr);
    CLxGroup::Descriptor gd{&gui, "g", {}, 0, 0};
    auto* group = new CLxGroup(&gd);
    CLxSurface* passive = CreateSurface(20, 20);
    CLxSurface* active = CreateSurface(20, 20);
    FillRectPixel(passive, nullptr, 0x40);
    FillRectPixel(active, nullptr, 0x50);
    CLxSprite::Descriptor d{&gui,
                            group,
                            "s",
                            {10, 10, 30, 30},
                            {0, 0, 100, 100},
                            {nullptr, passive, active, nullptr, nullptr},
                            false,
                            false};
    auto* s = new CLxBMPSprite(&d);
    EXPECT_EQ(s->PictureFor(4), passive);
    EXPECT_EQ(s->PictureFor(5), active);
    EXPECT_EQ(s->PictureFor(7), active); // 7 & 5
    EXPECT_EQ(s->PictureFor(0), passive);
    Mouse(s, kMouseDown, 15, 15);
    Mouse(s, kMouseDrag, 500, 15, MK_LBUTTON);
    EXPECT_EQ(s->m_pRects[0].right, 100);
    EXPECT_EQ(s->m_pRects[0].left, 80);
    EXPECT_EQ(Pixel(90, 15), 0x40u);
    EXPECT_EQ(Pixel(101, 15), 0u);
    Mouse(s, kMouseUp, 500, 15);
    // An RLE sprite paints its mask in the slot's colour, partly outside the surface.
    CLxRLEBitmap mask;
    const uint8_t rows[] = {10, 10, 10, 10};
    mask.SetData(0, 10, 4, 4, rows);
    CLxRLESprite::RLEDescriptor rd{
        {&gui, group, "r", {795, 595, 805, 599}, {0, 0, 800, 600}, {}, false, false},
        {nullptr, &mask, nullptr},
        {0, 0x123456, 0}};
    auto* r = new CLxRLESprite(&rd);
    EXPECT_EQ(r->SlotFor(5), 4);
    EXPECT_EQ(r->SlotFor(1), 4);
    EXPECT_EQ(r->m_aColours[1], 0x020202u);
    r->Draw();
    EXPECT_EQ(Pixel(799, 596), 0x123456u);
    delete passive;
    delete active;
}
} // namespace
