// The picture board with a small-picture catalogue of its own: the words of the game's
// description on two pages of sixteen (entries past the list and words without a
// picture show picture 0), the page buttons, and a small picture dragged with the
// mouse onto a slot (wholly inside: the slot shows it, framed in red under the mouse)
// or beside one (nothing changes); the picture always goes back to its place.
#include <gtest/gtest.h>

#include "media/LxDraw.h"
#include "media/LxSmallPic.h"
#include "shell/LxProgram.h"
#include "test_therapy_support.h"
#include "therapy/LxTGameScr4.h"
#include "ui/LxCGUI.h"
#include "ui/LxSprite.h"

using namespace therapy_test;

namespace {
constexpr int kCataloguePictures = 24;

// Picture i of the catalogue is all of one colour.
uint32_t Colour(int i) {
    return 0x102030u + static_cast<uint32_t>(i) * 0x050403u;
}

class PictureBoard : public TherapyTest {
  protected:
    void SetUp() override {
        TherapyTest::SetUp();
        std::string catalogue = "<Lexo path=\"\\smallpic\\\">\n";
        for (int i = 0; i < kCataloguePictures; ++i) {
            std::string word = "w" + std::to_string(i);
            catalogue +=
                "<picture name=\"p" + std::to_string(i) + "\" syllable=\"" + word + "\"/>\n";
            ui_test::WritePicture("data/smallpic/p" + std::to_string(i) + ".bmp", Colour(i), 96,
                                  96);
        }
        WriteFile("data/smallpic.xml", catalogue);
        g_pSmallPics = new CLxSmallPic("data\\smallpic.xml");
        // 20 words: the third has no picture.
        std::string words;
        for (int i = 0; i < 20; ++i)
            words += (i ? "," : "") + (i == 2 ? std::string("nincs") : "w" + std::to_string(i + 1));
        WriteFile("data/beszedjavj_4.xml",
                  "<Lexo>\n<picture words=\"" + words +
                      "\"/>\n<group name=\"ha\" position=\"0,0\">\n</group>\n" +
                      Button("k1", 12, 520) + Button("k2", 80, 520) + "</Lexo>\n");
    }
    void TearDown() override {
        delete g_pSmallPics;
        g_pSmallPics = nullptr;
        TherapyTest::TearDown();
    }
    static POINT Centre(const RECT& r) {
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    // Presses on small picture n, moves the mouse to (x, y) in steps and releases it.
    static void DragTo(CLxTGameScr4* s, int n, POINT to) {
        CLxCGUI* gui = s->GetGUI();
        POINT from = Centre(CLxTGameScr4::HomeRect(n));
        gui->DispatchMouse(WM_MOUSEMOVE, 0, ui_test::At(from.x, from.y));
        gui->DispatchMouse(WM_LBUTTONDOWN, MK_LBUTTON, ui_test::At(from.x, from.y));
        for (int i = 1; i <= 4; ++i)
            gui->DispatchMouse(
                WM_MOUSEMOVE, MK_LBUTTON,
                ui_test::At(from.x + (to.x - from.x) * i / 4, from.y + (to.y - from.y) * i / 4));
        gui->DispatchMouse(WM_LBUTTONUP, 0, ui_test::At(to.x, to.y));
    }
    static uint32_t Full(CLxTGameScr4* s, int n) {
        return GetPixel(s->Small(n)->m_aPictures[5], 36, 36);
    }
};

TEST_F(PictureBoard, PagesShowTheListsPictures) {
    CLxTGameScr4 s("data\\beszedjavj.xml");
    EXPECT_EQ(s.Words(), 20);
    struct Case {
        int entry, picture;
    } cases[] = {{0, 1}, {1, 2}, {2, 0}, {3, 4}, {19, 20}, {20, 0}, {31, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(s.PictureOf(c.entry), c.picture) << c.entry;
    EXPECT_EQ(Full(&s, 0), Colour(1));
    EXPECT_EQ(Full(&s, 2), Colour(0));
    EXPECT_EQ(Pixel(48, 376), GetPixel(s.Small(0)->m_aPictures[4], 36, 36)); // shaded on screen
    EXPECT_NE(GetPixel(s.Small(0)->m_aPictures[4], 36, 36), Colour(1));
    EXPECT_EQ(State(&s, "ha.k1") & kSelected, kSelected);
    Click(&s, "ha.k2");
    EXPECT_EQ(s.Offset(), 16);
    EXPECT_EQ(Full(&s, 0), Colour(17));
    EXPECT_EQ(Full(&s, 3), Colour(20));
    EXPECT_EQ(Full(&s, 4), Colour(0)); // past the list
    EXPECT_EQ(State(&s, "ha.k2") & kSelected, kSelected);
    EXPECT_EQ(State(&s, "ha.k1") & kSelected, 0);
    Click(&s, "ha.k1");
    EXPECT_EQ(Full(&s, 0), Colour(1));
}

TEST_F(PictureBoard, DropInsideAndOutsideASlot) {
    struct Case {
        const char* what;
        int dx, dy; // the drop point against the slot's centre
        bool filled;
    } cases[] = {
        {"in the middle", 0, 0, true},
        {"near the edge, still wholly inside", 60, -60, true},
        {"half over the edge", 100, 0, false},
        {"below the slots", 0, 150, false},
    };
    for (const Case& c : cases) {
        CLxTGameScr4 s("data\\beszedjavj.xml");
        POINT centre = Centre(CLxTGameScr4::SlotRect(1));
        uint32_t empty = Pixel(centre.x, centre.y);
        DragTo(&s, 3, POINT{centre.x + c.dx, centre.y + c.dy});
        EXPECT_EQ(Pixel(centre.x, centre.y), c.filled ? Colour(4) : empty) << c.what;
        RECT r{};
        s.Small(3)->GetDrawRect(&r);
        RECT home = CLxTGameScr4::HomeRect(3);
        EXPECT_EQ(r.left, home.left) << c.what;
        EXPECT_EQ(r.top, home.top) << c.what;
        EXPECT_EQ(s.Small(3)->m_nFlags & kHot, 0) << c.what;
        EXPECT_EQ(Pixel(home.left + 36, home.top + 36),
                  GetPixel(s.Small(3)->m_aPictures[4], 36, 36))
            << c.what;
        // The slot's second picture is framed in red.
        if (c.filled) {
            CLxSurface* framed = s.Slot(1)->m_aPictures[5];
            EXPECT_EQ(GetPixel(framed, 0, 100), CLxTGameScr4::kFrameColour) << c.what;
            EXPECT_EQ(GetPixel(framed, 1, 100), CLxTGameScr4::kFrameColour) << c.what;
            EXPECT_EQ(GetPixel(framed, 2, 100), Colour(4)) << c.what;
            EXPECT_EQ(GetPixel(s.Slot(1)->m_aPictures[4], 0, 100), Colour(4)) << c.what;
        }
    }
}

TEST_F(PictureBoard, WithoutACatalogueTheBoardStillWorks) {
    delete g_pSmallPics;
    g_pSmallPics = nullptr;
    CLxTGameScr4 s("data\\beszedjavj.xml");
    EXPECT_EQ(s.Words(), 20);
    EXPECT_EQ(s.PictureOf(0), 0);
    DragTo(&s, 0, Centre(CLxTGameScr4::SlotRect(0)));
    RECT r{};
    s.Small(0)->GetDrawRect(&r);
    EXPECT_EQ(r.left, CLxTGameScr4::HomeRect(0).left);
}
} // namespace
