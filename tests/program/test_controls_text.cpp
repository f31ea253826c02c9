// Text controls: the attributes a description gives them, drawing with colours and the
// caret, editing keys and typed characters, the caret from a click, number fields, and
// text areas (wrapping, "#" breaks, cut words, up and down, selection, capacity). Also
// the faults mended: a full text pool, a caret past the text, a text area of more lines
// than its table and a font without glyphs.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "test_controls_support.h"
#include "ui/LxGroup.h"
#include "ui/LxText.h"
#include "ui/LxTextArea.h"

using namespace ui_test;

namespace {
class Texts : public UiTest {
  protected:
    // One description with the given controls in group "g" at (0, 0).
    std::unique_ptr<CLxCGUI> Load(const std::string& controls) {
        WriteFile("data/t.xml", "<Lexo>\n<group name=\"g\" position=\"0,0\">\n</group>\n" +
                                    controls + "</Lexo>\n");
        return std::make_unique<CLxCGUI>("data\\t.xml");
    }
    static CLxText* Text(CLxCGUI* gui, const char* name) {
        return static_cast<CLxText*>(gui->FindControl(name));
    }
    static void Key(CLxControl* c, int key) {
        CLxKeyEvent e(c, kKeyDown, key, 0);
        c->OnKeyDown(&e);
    }
    static void Char(CLxControl* c, int key) {
        CLxKeyEvent e(c, kKeyChar, key, 0);
        c->OnChar(&e);
    }
};

TEST_F(Texts, AttributesAndTheirDefaults) {
    auto gui =
        Load("<control type=\"text\" name=\"a\" length=\"600\" text=\"abc\" font=\"tnr12\" "
             "align=\"right\" color=\"0x102030\" acolor=\"255\" rect=\"0,0,100,20\">\n"
             "<common rect=\"0,0,100,20\"/></control>\n"
             "<control type=\"textfield\" name=\"b\" text=\"hello\" align=\"left\" color=\"16\" "
             "rect=\"0,0,10,10\"><common/></control>\n"
             "<control type=\"textfield\" name=\"c\" length=\"-3\" align=\"center\" "
             "rect=\"0,0,10,10\"><common/></control>\n"
             "<control type=\"numberfield\" name=\"n\" range=\"5,9\" rect=\"0,0,10,10\">"
             "<common/></control>\n"
             "<control type=\"numberfield\" name=\"m\" rect=\"0,0,10,10\"><common/></control>\n"
             "<control type=\"textarea\" name=\"t\" length=\"600\" rect=\"0,0,10,10\"><common/>"
             "</control>\n"
             "<control type=\"textarea\" name=\"u\" length=\"9000\" rect=\"0,0,10,10\"><common/>"
             "</control>\n");
    CLxText* a = Text(gui.get(), "g.a");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->m_nFlags, 56);
    EXPECT_EQ(a->m_nLength, 511);
    EXPECT_STREQ(a->GetText(), "abc");
    EXPECT_EQ(a->m_nAlign, 1);
    EXPECT_EQ(a->m_nColor, 0x102030);
    EXPECT_EQ(a->m_nHoverColor, 255);
    EXPECT_EQ(a->m_pFont, g_pFontServer->GetFont("data\\fonts\\tnr12.xml"));
    CLxText* b = Text(gui.get(), "g.b");
    EXPECT_EQ(b->m_nFlags, 60);
    EXPECT_EQ(b->m_nLength, 5);
    EXPECT_EQ(b->m_nAlign, 0); // "left" is not a recognised word
    EXPECT_EQ(b->m_nColor, 16);
    EXPECT_EQ(b->m_nHoverColor, 16);
    EXPECT_EQ(b->m_pFont, g_pFontServer->GetFont("data\\fonts\\tnr32.xml"));
    CLxText* c = Text(gui.get(), "g.c");
    EXPECT_EQ(c->m_nLength, 32);
    EXPECT_EQ(c->m_nAlign, 2);
    EXPECT_EQ(c->m_nColor, 0x404040);
    auto* n = static_cast<CLxNumberField*>(gui->FindControl("g.n"));
    EXPECT_EQ(n->m_nType, kNumberField);
    EXPECT_EQ(n->m_nLength, 31);
    EXPECT_EQ(n->m_nMin, 5);
    EXPECT_EQ(n->m_nMax, 9);
    auto* m = static_cast<CLxNumberField*>(gui->FindControl("g.m"));
    EXPECT_EQ(m->m_nMin, 0);
    EXPECT_EQ(m->m_nMax, 50);
    auto* t = static_cast<CLxTextArea*>(gui->FindControl("g.t"));
    EXPECT_EQ(t->m_nFlags, 60);
    EXPECT_EQ(t->m_nLength, 600);
    EXPECT_EQ(static_cast<CLxTextArea*>(gui->FindControl("g.u"))->m_nLength, 4095);
}

TEST_F(Texts, TextFieldEditing) {
    auto gui = Load("<control type=\"textfield\" name=\"f\" length=\"5\" rect=\"0,0,400,20\">"
                    "<common rect=\"0,0,400,20\"/></control>\n"
                    "<control type=\"textfield\" name=\"narrow\" length=\"50\" "
                    "rect=\"0,0,30,20\"><common rect=\"0,0,30,20\"/></control>\n");
    CLxText* f = Text(gui.get(), "g.f");
    const struct {
        const char* text;
        int caret;
        int key; // negative: a character
        const char* after;
        int caretAfter;
    } cases[] = {
        {"abcde", 5, -'x', "abcde", 5}, // full
        {"abc", 0, VK_BACK, "abc", 0},   {"abc", 2, VK_BACK, "ac", 1},
        {"abc", 3, VK_DELETE, "abc", 3}, {"abc", 1, VK_DELETE, "ac", 1},
        {"abc", 2, VK_ESCAPE, "", 0},    {"abc", 0, VK_END, "abc", 3},
        {"abc", 2, VK_HOME, "abc", 0},   {"abc", 0, VK_LEFT, "abc", 0},
        {"abc", 3, VK_RIGHT, "abc", 3},  {"abc", 1, VK_RIGHT, "abc", 2},
        {"abc", 1, -'x', "axbc", 2},     {"abc", 1, -'^', "abc", 1},
        {"abc", 1, -'~', "abc", 1}, // no glyph
        {"abc", 1, -300, "abc", 1},
    };
    for (const auto& c : cases) {
        f->SetText(c.text);
        f->m_nCaret = c.caret;
        if (c.key < 0)
            Char(f, -c.key);
        else
            Key(f, c.key);
        EXPECT_STREQ(f->GetText(), c.after) << c.text << " " << c.key;
        EXPECT_EQ(f->m_nCaret, c.caretAfter) << c.text << " " << c.key;
    }
    // Width: 30 pixels take a fourth letter (21 + 5 + 3 < 30) but no fifth (28 + 8).
    CLxText* narrow = Text(gui.get(), "g.narrow");
    for (int i = 0; i < 5; ++i)
        Char(narrow, 'a');
    EXPECT_STREQ(narrow->GetText(), "aaaa");
    // Without the editing bit, keys and characters do nothing.
    f->SetText("ab");
    f->m_nFlags &= ~kEditing;
    Key(f, VK_ESCAPE);
    Char(f, 'x');
    EXPECT_STREQ(f->GetText(), "ab");
}

TEST_F(Texts, CaretStaysInsideAShorterText) {
    auto gui = Load("<control type=\"textfield\" name=\"f\" length=\"20\" rect=\"0,0,400,20\">"
                    "<common rect=\"0,0,400,20\"/></control>\n");
    CLxText* f = Text(gui.get(), "g.f");
    f->SetText("abcdefgh");
    f->m_nCaret = 8;
    f->SetText("ab");
    EXPECT_EQ(f->m_nCaret, 2);
    f->m_nCaret = 40; // however it got there
    Key(f, VK_BACK);
    EXPECT_STREQ(f->GetText(), "a");
    f->m_nCaret = 40;
    Key(f, VK_DELETE);
    EXPECT_STREQ(f->GetText(), "a");
    f->m_nFlags |= kHot;
    f->m_nCaret = 40;
    f->Draw();
}

TEST_F(Texts, NumberFields) {
    auto gui = Load("<control type=\"numberfield\" name=\"n\" length=\"3\" range=\"0,500\" "
                    "rect=\"0,0,400,20\"><common rect=\"0,0,400,20\"/></control>\n"
                    "<control type=\"numberfield\" name=\"s\" length=\"1\" range=\"0,500\" "
                    "rect=\"0,0,400,20\"><common rect=\"0,0,400,20\"/></control>\n");
    auto* n = static_cast<CLxNumberField*>(gui->FindControl("g.n"));
    Char(n, 'a');
    Char(n, '7');
    Char(n, '2');
    EXPECT_STREQ(n->GetText(), "72");
    n->m_nCaret = 0;
    Char(n, '1');
    EXPECT_STREQ(n->GetText(), "172");
    n->SetValue(900);
    EXPECT_STREQ(n->GetText(), "500");
    n->SetText("999");
    EXPECT_EQ(n->GetValue(), 500);
    n->SetValue(-4);
    EXPECT_EQ(n->GetValue(), 0);
    auto* s = static_cast<CLxNumberField*>(gui->FindControl("g.s"));
    s->SetValue(100); // longer than the field: cut, nothing written past it
    EXPECT_STREQ(s->GetText(), "1");
}

TEST_F(Texts, CaretFromAClick) {
    auto gui = Load("<group name=\"h\" position=\"100,0\"></group>\n"
                    "<control type=\"textfield\" name=\"f\" text=\"a~aa\" rect=\"0,0,400,20\">"
                    "<common rect=\"0,0,400,20\"/></control>\n");
    CLxText* f = Text(gui.get(), "h.f");
    // Letters start at 100 + 2 and take 7 pixels each; '~' takes 2 and no glyph, so a
    // caret after it moves back before it.
    const struct {
        int x, caret;
    } cases[] = {{100, 0}, {105, 0}, {106, 1}, {112, 1}, {116, 3}, {300, 4}};
    for (const auto& c : cases) {
        CLxMouseEvent up(f, c.x, 5, kMouseUp, 0);
        f->OnButtonUp(&up);
        EXPECT_EQ(f->m_nCaret, c.caret) << c.x;
    }
}

TEST_F(Texts, DrawingWithColoursAndTheCaret) {
    WritePicture("data/bg.bmp", 0x111111);
    WriteFile("data/d.xml", "<Lexo background=\"bg\">\n<group name=\"g\" position=\"0,0\">"
                            "\n</group>\n<control type=\"textfield\" name=\"f\" text=\"ab\" "
                            "color=\"0x0000F0\" acolor=\"0x00F000\" rect=\"0,0,100,20\">"
                            "<common rect=\"0,0,100,20\"/></control>\n");
    CLxCGUI gui("data\\d.xml");
    CLxText* f = Text(&gui, "g.f");
    f->Draw();
    // Vertically centred: (0 + 20 - 8) / 2 = 6; left aligned at 2.
    EXPECT_EQ(Pixel(2, 6), 0x0000F0u);
    EXPECT_EQ(Pixel(2, 5), 0x111111u);
    EXPECT_EQ(Pixel(1, 6), 0x111111u);
    gui.DispatchMouse(WM_MOUSEMOVE, 0, At(50, 10));
    EXPECT_EQ(Pixel(2, 6), 0x00F000u);
    f->m_nCaret = 1;
    f->Draw();
    // The caret's glyph at 2 + 7 - 2 = 7 in the colour XOR 0x1F1F1F.
    EXPECT_EQ(Pixel(7, 6), 0x1F1FEFu);
}

TEST_F(Texts, AFullPoolGivesAFieldThatTakesNothing) {
    CLxCGUI gui(nullptr);
    CLxGroup::Descriptor gd{&gui, "g", {}, 0, 0};
    auto* group = new CLxGroup(&gd);
    std::string filler(8000, 'x');
    gui.StoreText(filler.c_str());
    RECT r{0, 0, 400, 20};
    CLxText::TextDescriptor d{{&gui, group, "f", &r, 1}, nullptr, r, 300, 0, 0, 0};
    auto* f = new CLxTextField(&d);
    f->m_nFlags |= kAcceptsChars | kEditing;
    EXPECT_EQ(f->m_nLength, 0);
    Char(f, 'a');
    f->SetText("abc");
    EXPECT_STREQ(f->GetText(), "");
    EXPECT_EQ(gui.StoreText("q")[0], 'q'); // the pool's shared empty text is untouched
    EXPECT_STREQ(gui.AllocText(9000), "");
}

TEST_F(Texts, WithoutAFontOnlyTheBackgroundIsDrawn) {
    WriteFile("data/fonts/leer.xml", "<Font base=\"nincs.fnt\">");
    auto gui = Load("<control type=\"textfield\" name=\"f\" font=\"leer\" text=\"ab\" "
                    "rect=\"0,0,400,20\"><common rect=\"0,0,400,20\"/></control>\n"
                    "<control type=\"textarea\" name=\"t\" font=\"leer\" text=\"ab\" "
                    "rect=\"0,0,400,20\"><common rect=\"0,0,400,20\"/></control>\n");
    CLxText* f = Text(gui.get(), "g.f");
    f->Draw();
    Char(f, 'a');
    CLxMouseEvent up(f, 30, 5, kMouseUp, 0);
    f->OnButtonUp(&up);
    CLxControl* t = gui->FindControl("g.t");
    t->Draw();
    Char(t, 'a');
    t->OnButtonUp(&up);
    EXPECT_STREQ(static_cast<CLxTextArea*>(t)->GetText(), "ab");
    delete g_pFontServer; // no font server at all
    g_pFontServer = nullptr;
    auto other = Load("<control type=\"text\" name=\"x\" text=\"ab\" rect=\"0,0,9,9\">"
                      "<common rect=\"0,0,9,9\"/></control>\n");
    Text(other.get(), "g.x")->Draw();
    g_pFontServer = new CLxFontServer;
}

// Text areas: letters 7 pixels wide with their spacing ('a'), lines 8 pixels high.
class Areas : public Texts {
  protected:
    CLxTextArea* Area(const char* text, int width = 100, int length = 4095) {
        gui_ = Load("<control type=\"textarea\" name=\"t\" length=\"" + std::to_string(length) +
                    "\" rect=\"0,0," + std::to_string(width) + ",200\"><common rect=\"0,0," +
                    std::to_string(width) + ",200\"/></control>\n");
        auto* t = static_cast<CLxTextArea*>(gui_->FindControl("g.t"));
        t->SetText(text);
        t->Draw();
        return t;
    }
    std::unique_ptr<CLxCGUI> gui_;
};

TEST_F(Areas, WordsWrapAndBreak) {
    // Width 100: the limit is 98; "aaaa " is 4 * 7 + 7 (' ' is 32 % 3 = 2: 6 + 2) = 36.
    const struct {
        const char* text;
        std::vector<int> starts;
    } cases[] = {
        {"aa#aa", {0, 3}},
        {"aaaa aaaa aaaa", {0, 10}},
        {"aaaa aaaa", {0}},
        {"", {0}},
    };
    for (const auto& c : cases) {
        CLxTextArea* t = Area(c.text);
        ASSERT_EQ(t->LineCount(), static_cast<int>(c.starts.size())) << c.text;
        for (size_t i = 0; i < c.starts.size(); ++i)
            EXPECT_EQ(t->LineStart(static_cast<int>(i)), c.starts[i]) << c.text;
        EXPECT_EQ(t->LineStart(t->LineCount()), static_cast<int>(std::strlen(c.text)) + 1);
    }
    // A word longer than the line is cut: 13 letters of 7 pixels fit in 98 - 2.
    Clear();
    Area(std::string(30, 'a').c_str());
    EXPECT_EQ(Pixel(2 + 12 * 7, 0), 0x404040u);
    EXPECT_EQ(Pixel(2 + 13 * 7, 0), 0u);
    EXPECT_EQ(Pixel(2, 8), 0u); // nothing on a second line
}

TEST_F(Areas, UpDownAndClicks) {
    CLxTextArea* t = Area("aaaa aaaa aaaa#a#aaaa");
    // "aaaa " is 36 pixels wide: lines [0, 10) [10, 15) [15, 17) [17, 21].
    ASSERT_EQ(t->LineCount(), 4);
    EXPECT_EQ(t->LineStart(1), 10);
    EXPECT_EQ(t->LineStart(2), 15);
    EXPECT_EQ(t->LineStart(3), 17);
    const struct {
        int key, caret;
    } steps[] = {{0, 3},      {VK_DOWN, 13}, {VK_DOWN, 16}, {VK_DOWN, 18}, {VK_DOWN, 18},
                 {VK_UP, 16}, {VK_UP, 11},   {VK_UP, 1},    {VK_UP, 1}};
    for (const auto& s : steps) {
        if (s.key)
            Key(t, s.key);
        else
            t->m_nCaret = s.caret;
        EXPECT_EQ(t->m_nCaret, s.caret) << s.key;
    }
    // A click on the second line, before the middle of its second letter.
    CLxMouseEvent second(t, 2 + 7 + 2, 9, kMouseUp, 0);
    t->OnButtonUp(&second);
    EXPECT_EQ(t->m_nCaret, 11);
    CLxMouseEvent below(t, 10, 150, kMouseUp, 0);
    t->OnButtonUp(&below);
    EXPECT_EQ(t->m_nCaret, 21);
}

TEST_F(Areas, MoreLinesThanTheTableAreSafe) {
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "a#";
    CLxTextArea* t = Area(text.c_str());
    EXPECT_EQ(t->LineCount(), CLxTextArea::kMaxLines);
    t->m_nCaret = static_cast<int>(text.size());
    Key(t, VK_UP);
    Key(t, VK_DOWN);
    CLxMouseEvent far(t, 10, 590, kMouseUp, 0);
    t->OnButtonUp(&far);
    EXPECT_LE(t->m_nCaret, static_cast<int>(text.size()));
}

TEST_F(Areas, SetCaretSelectionAndCapacity) {
    CLxTextArea* t = Area("aaaa");
    t->m_nCaret = 1;
    Clear();
    for (int c : {-1, 4, 1}) {
        t->SetCaret(c);
        EXPECT_EQ(t->m_nCaret, 1);
    }
    EXPECT_EQ(Pixel(2, 0), 0u); // nothing drawn
    t->SetCaret(2);
    EXPECT_EQ(Pixel(2, 0), 0x404040u);
    t->m_nFlags = (t->m_nFlags | kSelectionColours) & ~kEditing;
    t->SetSelectionColors(0xFFFFFF, 0xFFFF00, 0x000080);
    t->SetSelection(1, 1);
    EXPECT_EQ(Pixel(2, 0), 0x404040u);
    EXPECT_EQ(Pixel(9, 0), 0xFFFFFFu);
    EXPECT_EQ(Pixel(14, 0), 0x000080u); // the gap after a selected letter
    // Accent: "$a" paints the letter in the accent colour.
    t->m_nFlags &= ~kSelectionColours;
    t->SetText("$aa");
    t->Draw();
    EXPECT_EQ(Pixel(2, 0), 0xF02020u);
    EXPECT_EQ(Pixel(9, 0), 0x404040u);
    // Capacity: 20 x 200 pixels hold 20 * 200 / 8 = 500 pixels of text.
    CLxTextArea* small = Area("", 20);
    for (int i = 0; i < 100; ++i)
        Char(small, 'a');
    EXPECT_EQ(static_cast<int>(std::strlen(small->GetText())), 71); // 7 * 70 + 8 < 500
    // The length limit.
    CLxTextArea* shortArea = Area("", 400, 3);
    for (int i = 0; i < 5; ++i)
        Char(shortArea, 'a');
    EXPECT_STREQ(shortArea->GetText(), "aaa");
    shortArea->m_nCaret = 3;
    shortArea->SetText("a");
    EXPECT_EQ(shortArea->m_nCaret, 1);
}
} // namespace
