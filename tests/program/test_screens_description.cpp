// Screen descriptions: the controls a description makes (types, flags, absolute
// rectangles, the tags that end their lists), finding controls by full name, removing
// them, redrawing regions, the F5 dump, and the screen built on a description with its
// setters and help bubble.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "media/LxFontServer.h"
#include "shell/LxProgram.h"
#include "test_controls_support.h"
#include "ui/LxButton.h"
#include "ui/LxGroup.h"
#include "ui/LxScreen.h"
#include "ui/LxSprite.h"

using namespace ui_test;

namespace {
constexpr uint32_t kBackground = 0x111111;

// The states' colours: state s is drawn in 0x10 * s (0 is 0x000001, not black).
uint32_t StateColour(int s) {
    return s ? 0x10u * s : 1u;
}

class Screens : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        WritePicture("data/scr/hatter.bmp", kBackground);
        const char* names[] = {"fo_0", "fo_2", "fo_4", "fo_5", "fo_6", "fo_7"};
        const int states[] = {0, 2, 4, 5, 6, 7};
        for (int i = 0; i < 6; ++i)
            WritePicture(std::string("data/scr/") + names[i] + ".bmp", StateColour(states[i]));
    }
    // A description with a background, group "fo" at (100, 50) with state pictures, and
    // the given controls.
    static void Describe(const std::string& controls) {
        WriteFile("data/scr/s.xml",
                  "<Lexo background=\"hatter\">\n"
                  "<group name=\"fo\" position=\"100,50\">\n"
                  "<unselected disabled=\"fo_0\" passive=\"fo_4\" active=\"fo_5\"/>\n"
                  "<selected disabled=\"fo_2\" passive=\"fo_6\" active=\"fo_7\"/>\n"
                  "</group>\n" +
                      controls + "</Lexo>\n");
    }
};

class TestScreen : public CLxScreen {
  public:
    using CLxScreen::CLxScreen;
    int OnKeyEvent(CLxKeyEvent*) override { return 0; }
    int OnTimerEvent(CLxTimerEvent*) override { return 0; }
};

TEST_F(Screens, ControlsAreReadWithTheirRectanglesAndFlags) {
    Describe("<control name=\"nogroup\"/>\n"
             "<control type=\"button\" name=\"vissza\" help=\"Vissza\">\n"
             "  <common rect=\"20,40,100,30\"/><common rect=\"-5,0,5,9\"/>\n"
             "</control>\n"
             "<control name=\"notype\"><common rect=\"0,0,1,1\"/></control>\n"
             "<control type=\"checkbox\" name=\"first\"><common rect=\"0,0,10,10\"/>\n"
             "<control type=\"button\" name=\"eaten\"><common rect=\"0,0,10,10\"/>\n"
             "</control>\n"
             "<group name=\"al\" position=\"0,0\"></group>\n"
             "<control type=\"button\" name=\"b\"><common rect=\"1,2,3,4\"/><common/></control>\n"
             "<group name=\"fo\"><unselected passive=\"fo_6\"/></group>\n"
             "<control type=\"button\" name=\"again\"><common rect=\"0,0,5,5\"/></control>\n");
    CLxCGUI gui("data\\scr\\s.xml");
    EXPECT_EQ(gui.FindControl("nogroup"), nullptr);
    EXPECT_EQ(gui.FindControl("fo.notype"), nullptr);
    EXPECT_EQ(gui.FindControl("fo.eaten"), nullptr);
    EXPECT_EQ(gui.FindControl("vissza"), nullptr);
    CLxControl* v = gui.FindControl("fo.vissza");
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->m_nType, kButton);
    EXPECT_EQ(v->m_nFlags, 44);
    EXPECT_STREQ(v->m_szHelp, "Vissza");
    ASSERT_EQ(v->m_nRects, 1); // x + w = 0 is skipped
    EXPECT_EQ(v->m_pRects[0].left, 120);
    EXPECT_EQ(v->m_pRects[0].top, 90);
    EXPECT_EQ(v->m_pRects[0].right, 220);
    EXPECT_EQ(v->m_pRects[0].bottom, 120);
    CLxControl* first = gui.FindControl("fo.first");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->m_nType, kCheckBox);
    EXPECT_EQ(first->m_szHelp, nullptr);
    CLxControl* b = gui.FindControl("al.b");
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(b->m_nRects, 2); // a rectangle without "rect" repeats the one before
    EXPECT_EQ(b->m_pRects[1].left, 1);
    EXPECT_EQ(b->m_pRects[1].bottom, 6);
    // The repeated group continues the first one and keeps its pictures.
    CLxControl* again = gui.FindControl("fo.again");
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->m_pGroup, v->m_pGroup);
    EXPECT_EQ(again->m_pRects[0].left, 100);
    EXPECT_EQ(GetPixel(v->m_pGroup->GetPicture(4), 0, 0), StateColour(4));
}

TEST_F(Screens, AMissingDescriptionGivesAnEmptyScreen) {
    TestScreen screen("data\\scr\\nincs.xml");
    ASSERT_NE(screen.m_pGUI, nullptr);
    EXPECT_EQ(screen.m_pGUI->m_pControls, nullptr);
    EXPECT_EQ(screen.m_pHelpSprite, nullptr);
    EXPECT_STREQ(screen.GetName(), "Base");
    int state = 0;
    EXPECT_FALSE(screen.GetControlState("fo.x", &state));
    EXPECT_FALSE(screen.SetControlState("fo.x", 0));
}

TEST_F(Screens, ButtonsShowThePictureOfTheirState) {
    Describe("<control type=\"button\" name=\"b\"><common rect=\"20,40,100,30\"/></control>\n"
             "<control type=\"checkbox\" name=\"c\"><common rect=\"200,40,50,30\"/></control>\n");
    TestScreen screen("data\\scr\\s.xml");
    CLxCGUI* gui = screen.m_pGUI;
    gui->DrawBackground(nullptr, nullptr, true);
    EXPECT_EQ(Pixel(0, 0), kBackground);
    EXPECT_EQ(Pixel(150, 100), StateColour(4));
    gui->DispatchMouse(WM_MOUSEMOVE, 0, At(150, 100));
    EXPECT_EQ(Pixel(150, 100), StateColour(5));
    const struct {
        int flags;
        uint32_t colour;
    } cases[] = {{kEnabled | kVisible, StateColour(4)},
                 {kEnabled | kVisible | kHot, StateColour(5)},
                 {kVisible | kSelected, StateColour(2)},
                 {kVisible | kHot, StateColour(0)},
                 {kEnabled | kVisible | kSelected | kHot, StateColour(7)}};
    for (const auto& c : cases) {
        EXPECT_TRUE(screen.SetControlState("fo.b", c.flags));
        EXPECT_EQ(Pixel(150, 100), c.colour) << c.flags;
    }
    // A check box clicked twice returns to its unselected picture.
    gui->DispatchMouse(WM_MOUSEMOVE, 0, At(320, 100));
    for (uint32_t expected : {StateColour(7), StateColour(5)}) {
        gui->DispatchMouse(WM_LBUTTONDOWN, 1, At(320, 100));
        gui->DispatchMouse(WM_LBUTTONUP, 0, At(320, 100));
        EXPECT_EQ(Pixel(320, 100), expected);
    }
    int state = 0;
    EXPECT_TRUE(screen.GetControlState("fo.c", &state));
    EXPECT_EQ(state, 45);
    EXPECT_TRUE(screen.SetControlFlag("fo.c", kEnabled, false));
    EXPECT_EQ(Pixel(320, 100), StateColour(0));
    EXPECT_FALSE(screen.GetControlState("fo.c", nullptr));
    EXPECT_TRUE(screen.SetControlText("fo.c", "x")); // not a text: left alone
    // A hidden group draws nothing.
    Clear();
    gui->FindGroup("fo")->m_nFlags &= ~kVisible;
    gui->DrawBackground(nullptr, nullptr, false);
    EXPECT_EQ(Pixel(150, 100), 0u);
}

TEST_F(Screens, WithoutPicturesButtonsUseTheBackgroundOrNothing) {
    WriteFile("data/scr/n.xml", "<Lexo background=\"hatter\">\n<group name=\"g\" position=\"0,0\">"
                                "\n</group>\n<control type=\"button\" name=\"b\">"
                                "<common rect=\"0,0,10,10\"/></control>\n");
    WriteFile("data/scr/e.xml", "<Lexo>\n<group name=\"g\" position=\"0,0\">\n</group>\n"
                                "<control type=\"button\" name=\"b\">"
                                "<common rect=\"0,0,10,10\"/></control>\n");
    CLxCGUI withBackground("data\\scr\\n.xml");
    withBackground.FindControl("g.b")->Draw();
    EXPECT_EQ(Pixel(5, 5), kBackground);
    EXPECT_EQ(Pixel(50, 50), 0u);
    Clear();
    CLxCGUI bare("data\\scr\\e.xml");
    bare.FindControl("g.b")->Draw(); // nothing to blit from
    bare.DrawBackground(nullptr, nullptr, true);
    EXPECT_EQ(Pixel(5, 5), 0u);
}

TEST_F(Screens, DrawBackgroundRedrawsOnlyWhatMeetsTheRegion) {
    Describe("<control type=\"button\" name=\"a\"><common rect=\"0,0,50,50\"/></control>\n"
             "<control type=\"button\" name=\"b\"><common rect=\"300,0,50,50\"/></control>\n"
             "<control type=\"button\" name=\"c\"><common rect=\"25,25,50,50\"/></control>\n");
    CLxCGUI gui("data\\scr\\s.xml");
    CLxControl* a = gui.FindControl("fo.a");
    a->m_nFlags |= kSelected;
    RECT region{-20, -20, 130, 80};
    gui.DrawBackground(&region, nullptr, true);
    EXPECT_EQ(region.left, -20); // the caller's rectangle is kept
    EXPECT_EQ(Pixel(5, 5), kBackground);
    EXPECT_EQ(Pixel(400, 60), 0u);             // b lies outside the region
    EXPECT_EQ(Pixel(130, 80), StateColour(6)); // a over c where they overlap
    EXPECT_EQ(Pixel(170, 120), StateColour(4));
    Clear();
    gui.DrawBackground(nullptr, a, false);
    EXPECT_EQ(Pixel(110, 55), 0u); // a is left out
    EXPECT_EQ(Pixel(130, 80), StateColour(4));
    EXPECT_EQ(Pixel(410, 60), StateColour(4));
}

TEST_F(Screens, RemovingAndDeletingControls) {
    Describe("<control type=\"button\" name=\"a\"><common rect=\"0,0,50,50\"/></control>\n"
             "<group name=\"al\" position=\"0,0\"></group>\n"
             "<control type=\"button\" name=\"b\"><common rect=\"0,0,5,5\"/></control>\n"
             "<control type=\"button\" name=\"c\"><common rect=\"0,0,5,5\"/></control>\n");
    CLxCGUI gui("data\\scr\\s.xml");
    CLxGroup* al = gui.FindGroup("al");
    gui.DeleteGroupControls(al);
    EXPECT_EQ(gui.FindControl("al.b"), nullptr);
    EXPECT_EQ(gui.FindControl("al.c"), nullptr);
    EXPECT_EQ(gui.FindGroup("al"), al);
    EXPECT_NE(gui.FindControl("fo.a"), nullptr);
    delete gui.FindGroup("fo");
    EXPECT_EQ(gui.m_pControls, nullptr);
}

TEST_F(Screens, DumpListsFullNamesAndTheTextPool) {
    Describe("<control type=\"button\" name=\"a\"><common rect=\"0,0,50,50\"/></control>\n"
             "<control type=\"button\" name=\"b\"><common rect=\"0,0,5,5\"/></control>\n");
    CLxCGUI gui("data\\scr\\s.xml");
    std::fflush(stdout);
    testing::internal::CaptureStdout();
    gui.DumpControls();
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "fo.b\nfo.a\nText mem: " + std::to_string(gui.TextUsed()) + " 8192\n");
}

TEST_F(Screens, PoolsThatRunFullDropRectanglesAndTexts) {
    CLxCGUI gui(nullptr);
    CLxGroup::Descriptor gd{&gui, "g", {}, 0, 0};
    auto* group = new CLxGroup(&gd);
    std::vector<RECT> many(1100, RECT{0, 0, 10, 10});
    CLxControl::Descriptor d{&gui, group, "big", many.data(), 1100};
    auto* big = new CLxButton(&d);
    EXPECT_EQ(big->m_nRects, CLxCGUI::kMaxRects);
    CLxControl::Descriptor none{&gui, group, "none", many.data(), 1};
    auto* late = new CLxButton(&none);
    EXPECT_EQ(late->m_nRects, 0); // never hit, never drawn, and nothing breaks
    EXPECT_FALSE(late->HitTest(5, 5));
    late->SetRect(&many[0]);
    late->MoveTo(1, 1);
    late->SetSize(3, 3);
    late->Draw();
    RECT bounds;
    late->GetBounds(&bounds);
    EXPECT_TRUE(IsRectEmpty(&bounds));
    std::string longName(9000, 'x');
    CLxControl::Descriptor named{&gui, group, longName.c_str(), nullptr, 0};
    auto* unnamed = new CLxButton(&named);
    EXPECT_STREQ(unnamed->m_szName, "");
    EXPECT_TRUE(CLxCGUI::IsSharedEmpty(unnamed->m_szName));
}

// A description with more rectangles than the pool holds: the controls past it are left
// out, and the screen (with its help sprite) is built without storing past the pool.
TEST_F(Screens, DescriptionBeyondTheRectanglePoolLeavesControlsOut) {
    std::string controls;
    for (int i = 0; i < CLxCGUI::kMaxRects + 10; ++i)
        controls += "<control type=\"button\" name=\"b" + std::to_string(i) +
                    "\"><common rect=\"0,0,5,5\"/></control>\n";
    Describe(controls);
    TestScreen screen("data\\scr\\s.xml");
    EXPECT_NE(screen.m_pGUI->FindControl("fo.b0"), nullptr);
    EXPECT_EQ(screen.m_pGUI->FindControl("fo.b1030"), nullptr);
}

// The help bubble: a card of the text's width + 4 below the control, moved left at the
// clip's right edge and above the control near its bottom; none for 392 pixels or more.
class Bubble : public Screens {
  protected:
    static std::string Repeat(char c, int n) { return std::string(n, c); }
};

TEST_F(Bubble, ShownOnEnterHiddenOnLeave) {
    Describe("<control type=\"button\" name=\"a\" help=\"ab\"><common rect=\"0,0,50,20\"/>"
             "</control>\n"
             "<control type=\"button\" name=\"low\" help=\"ab\"><common rect=\"0,530,50,10\"/>"
             "</control>\n");
    TestScreen screen("data\\scr\\s.xml");
    CLxCGUI* gui = screen.m_pGUI;
    ASSERT_NE(screen.m_pHelpSprite, nullptr);
    EXPECT_NE(gui->FindControl("fo.sphelp"), nullptr);
    gui->DrawBackground(nullptr, nullptr, true);
    CLxRLEFonts* font = g_pFontServer->GetFont("data\\fonts\\tnr12.xml");
    int w = font->TextWidth("ab") + 4, h = kGlyphHeight + 4;
    gui->DispatchMouse(WM_MOUSEMOVE, 0, At(120, 60));
    RECT r = screen.m_pHelpSprite->m_pRects[0];
    EXPECT_EQ(r.left, 120);
    EXPECT_EQ(r.top, 74);
    EXPECT_EQ(r.right - r.left, w);
    EXPECT_EQ(r.bottom - r.top, h);
    EXPECT_EQ(Pixel(120, 74), 0u);                    // the frame
    EXPECT_EQ(Pixel(120 + w - 2, 75), 0xEF8BACu);     // the card
    EXPECT_EQ(Pixel(122, 76), 0u);                    // the text
    gui->DispatchMouse(WM_MOUSEMOVE, 0, At(700, 10)); // leave
    EXPECT_FALSE(screen.m_pHelpSprite->m_nFlags & kVisible);
    EXPECT_EQ(Pixel(122, 76), kBackground);
    EXPECT_EQ(screen.m_szLastHelp, nullptr);
    // Near the bottom the card goes above the control.
    gui->DispatchMouse(WM_MOUSEMOVE, 0, At(110, 585));
    r = screen.m_pHelpSprite->m_pRects[0];
    EXPECT_EQ(r.top, 580 - h - 4);
    gui->DispatchMouse(WM_LBUTTONDOWN, 1, At(110, 585));
    gui->DispatchMouse(WM_LBUTTONUP, 0, At(110, 585)); // a click hides it
    EXPECT_FALSE(screen.m_pHelpSprite->m_nFlags & kVisible);
}

TEST_F(Bubble, WidthLimitAndRightEdge) {
    std::string fits = Repeat('a', 55) + "c", wide = Repeat('a', 56);
    CLxRLEFonts* font = g_pFontServer->GetFont("data\\fonts\\tnr12.xml");
    ASSERT_EQ(font->TextWidth(fits.c_str()), 391);
    ASSERT_EQ(font->TextWidth(wide.c_str()), 392);
    Describe("<control type=\"button\" name=\"a\" help=\"" + fits +
             "\"><common rect=\"600,0,50,20\"/></control>\n"
             "<control type=\"button\" name=\"b\" help=\"" +
             wide + "\"><common rect=\"0,100,50,20\"/></control>\n");
    TestScreen screen("data\\scr\\s.xml");
    screen.m_pGUI->DispatchMouse(WM_MOUSEMOVE, 0, At(710, 60));
    ASSERT_TRUE(screen.m_pHelpSprite->m_nFlags & kVisible);
    EXPECT_EQ(screen.m_pHelpSprite->m_pRects[0].right, 800);
    screen.m_pGUI->DispatchMouse(WM_MOUSEMOVE, 0, At(110, 160));
    EXPECT_FALSE(screen.m_pHelpSprite->m_nFlags & kVisible);
}

TEST_F(Bubble, DeletingTheGroupForgetsTheBubble) {
    Describe("<control type=\"button\" name=\"a\" help=\"ab\"><common rect=\"0,0,50,20\"/>"
             "</control>\n");
    TestScreen screen("data\\scr\\s.xml");
    screen.m_pGUI->FindGroup("fo")->DeleteControls();
    EXPECT_EQ(screen.m_pHelpSprite, nullptr);
    CLxMouseEvent enter(nullptr, 0, 0, kMouseEnter, 0);
    screen.OnMouseEvent(&enter);
}
} // namespace
