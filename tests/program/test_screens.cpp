// Screens and the dispatch of the window's messages: hot and pressed control, the order
// of control and listener events, the target choice among overlapping, hidden and
// disabled controls and marked rectangles, keys, the help bubble and the setters.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "test_controls_support.h"
#include "ui/LxButton.h"
#include "ui/LxGroup.h"
#include "ui/LxScreen.h"
#include "ui/LxSprite.h"

using namespace ui_test;

namespace {
std::vector<std::string>* g_log = nullptr;

// A button that writes its handler calls into the log before doing what a button does.
class Probe : public CLxButton {
  public:
    Probe(CLxCGUI* gui, CLxGroup* group, const char* name, RECT r)
        : CLxButton(Ref({gui, group, name, &r, 1})) {}
    static const Descriptor* Ref(const Descriptor& d) { return &d; }
    void Note(const char* what) {
        if (g_log) g_log->push_back(std::string(m_szName) + " " + what);
    }
    void OnEnter(CLxMouseEvent* e) override { Note("enter"), CLxButton::OnEnter(e); }
    void OnLeave(CLxMouseEvent* e) override { Note("leave"), CLxButton::OnLeave(e); }
    void OnMove(CLxMouseEvent*) override { Note("move"); }
    void OnDrag(CLxMouseEvent*) override { Note("drag"); }
    void OnClick(CLxMouseEvent*) override { Note("click"); }
    void OnButtonDown(CLxMouseEvent*) override { Note("down"); }
    void OnButtonUp(CLxMouseEvent*) override { Note("up"); }
    void OnKeyDown(CLxKeyEvent*) override { Note("keydown"); }
    void OnKeyUp(CLxKeyEvent*) override { Note("keyup"); }
    void OnChar(CLxKeyEvent*) override { Note("char"); }
};

// A listener that logs into the same log as the probes.
class SharedRecorder : public ILxMouseListener {
  public:
    int OnMouseEvent(CLxMouseEvent* e) override {
        g_log->push_back("L " + Recorder::Name(e->m_pControl) + " " + std::to_string(e->m_nType));
        if (deleteOn == e->m_nType) delete e->m_pControl;
        return 0;
    }
    int deleteOn = 0;
};

struct Msg {
    UINT msg;
    int buttons, x, y;
};

class Dispatch : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        g_log = &log_;
        gui_ = std::make_unique<CLxCGUI>(nullptr);
        CLxGroup::Descriptor d{gui_.get(), "g", {}, 0, 0};
        group_ = new CLxGroup(&d);
        a_ = new Probe(gui_.get(), group_, "A", {10, 10, 50, 50});
        b_ = new Probe(gui_.get(), group_, "B", {100, 10, 150, 50});
        gui_->m_pListener = &listener_;
    }
    void TearDown() override {
        gui_.reset();
        g_log = nullptr;
        UiTest::TearDown();
    }
    void Feed(const std::vector<Msg>& msgs) {
        for (const Msg& m : msgs)
            gui_->DispatchMouse(m.msg, m.buttons, At(m.x, m.y));
    }
    std::vector<std::string> log_;
    SharedRecorder listener_;
    std::unique_ptr<CLxCGUI> gui_;
    CLxGroup* group_ = nullptr;
    Probe* a_ = nullptr;
    Probe* b_ = nullptr;
};

using Log = std::vector<std::string>;

TEST_F(Dispatch, SequencesOfMessagesGiveEventsInOrder) {
    const struct {
        const char* name;
        std::vector<Msg> msgs;
        Log expected;
    } cases[] = {
        {"press and release on A",
         {{WM_MOUSEMOVE, 0, 20, 20}, {WM_LBUTTONDOWN, 1, 20, 20}, {WM_LBUTTONUP, 0, 20, 20}},
         {"A enter", "L A 3", "A move", "A down", "L A 6", "A up", "L A 7", "A click", "L A 1"}},
        {"press on A, drag onto B, release there",
         {{WM_MOUSEMOVE, 0, 20, 20},
          {WM_LBUTTONDOWN, 1, 20, 20},
          {WM_MOUSEMOVE, 1, 60, 20},
          {WM_MOUSEMOVE, 1, 120, 20},
          {WM_LBUTTONUP, 0, 120, 20}},
         {"A enter", "L A 3", "A move", "A down", "L A 6", "A drag", "L A 2", "A drag", "L A 2",
          "A leave", "L A 4", "L A 8", "B enter", "L B 3", "B up", "L B 7"}},
        {"moving over A and off everything",
         {{WM_MOUSEMOVE, 0, 20, 20}, {WM_MOUSEMOVE, 0, 21, 20}, {WM_MOUSEMOVE, 0, 70, 70}},
         {"A enter", "L A 3", "A move", "A move", "A leave", "L A 4"}},
        {"other messages are ignored", {{515, 1, 20, 20}, {516, 2, 20, 20}}, {}},
    };
    for (const auto& c : cases) {
        log_.clear();
        gui_->m_pHot = gui_->m_pPressed = nullptr;
        a_->m_nFlags = b_->m_nFlags = kEnabled | kVisible;
        Feed(c.msgs);
        EXPECT_EQ(log_, c.expected) << c.name;
    }
}

TEST_F(Dispatch, TargetIsTheNewestLiveControlUnderTheMouse) {
    auto* over = new Probe(gui_.get(), group_, "C", {30, 30, 70, 70}); // overlaps A, newer
    const struct {
        const char* name;
        int aFlags, cFlags, groupFlags, x, y;
        const char* expected;
    } cases[] = {
        {"newer of two overlapping", 12, 12, -1, 40, 40, "C"},
        {"newer one disabled", 12, 8, -1, 40, 40, "A"},
        {"newer one hidden", 12, 4, -1, 40, 40, "A"},
        {"group hidden", 12, 12, ~8, 40, 40, "-"},
        {"group disabled", 12, 12, ~4, 40, 40, "-"},
        {"left and top edges included", 12, 12, -1, 10, 10, "A"},
        {"right and bottom edges included", 12, 0, -1, 50, 50, "A"},
        {"outside", 12, 12, -1, 51, 20, "-"},
    };
    for (const auto& c : cases) {
        gui_->m_pHot = gui_->m_pPressed = nullptr;
        a_->m_nFlags = c.aFlags;
        over->m_nFlags = c.cFlags;
        group_->m_nFlags = c.groupFlags;
        gui_->DispatchMouse(WM_MOUSEMOVE, 0, At(c.x, c.y));
        EXPECT_EQ(Recorder::Name(gui_->m_pHot), c.expected) << c.name;
    }
}

TEST_F(Dispatch, HighlightRectanglesNeverHitTouchRectanglesDo) {
    WriteFile("data/d.xml", "<Lexo>\n<group name=\"g\" position=\"100,100\">\n</group>\n"
                            "<control type=\"button\" name=\"k\">\n"
                            "<common rect=\"0,0,10,10\"/><highlight rect=\"20,0,10,10\"/>"
                            "<touch rect=\"40,0,10,10\"/>\n</control>\n</Lexo>\n");
    CLxCGUI gui("data\\d.xml");
    CLxControl* k = gui.FindControl("g.k");
    ASSERT_NE(k, nullptr);
    ASSERT_EQ(k->m_nRects, 3);
    EXPECT_TRUE(k->HitTest(105, 105));
    EXPECT_FALSE(k->HitTest(125, 105));
    EXPECT_TRUE(k->HitTest(145, 105));
    EXPECT_TRUE(k->HitTest(150, 110));
    EXPECT_FALSE(k->HitTest(151, 105));
    k->m_nFlags &= ~kVisible;
    EXPECT_FALSE(k->HitTest(105, 105));
}

TEST_F(Dispatch, KeysGoToTheHotControlWhileNoButtonIsHeld) {
    struct Owner : CLxScreen {
        int OnKeyEvent(CLxKeyEvent* e) override {
            types.push_back(e->m_nType);
            keys.push_back(e->m_nKey);
            return 0;
        }
        int OnTimerEvent(CLxTimerEvent*) override { return 0; }
        std::vector<int> types, keys;
    } owner;
    gui_->m_pOwner = &owner;
    gui_->DispatchKey(WM_KEYDOWN, 'x', 0); // no hot control
    EXPECT_TRUE(log_.empty());
    gui_->DispatchMouse(WM_MOUSEMOVE, 0, At(20, 20));
    log_.clear();
    gui_->DispatchKey(WM_KEYDOWN, VK_LEFT, 7);
    gui_->DispatchKey(WM_KEYUP, VK_LEFT, 7);
    gui_->DispatchKey(WM_CHAR, 'q', 7);
    gui_->DispatchKey(300, 'q', 7);
    EXPECT_EQ(log_, (Log{"A keydown", "A keyup", "A char"}));
    EXPECT_EQ(owner.types, (std::vector<int>{kKeyDown, kKeyUp, kKeyChar}));
    EXPECT_EQ(owner.keys, (std::vector<int>{VK_LEFT, VK_LEFT, 'q'}));
    gui_->DispatchMouse(WM_LBUTTONDOWN, 1, At(20, 20));
    log_.clear();
    gui_->DispatchKey(WM_KEYDOWN, 'x', 0); // the button is held
    EXPECT_TRUE(log_.empty());
    gui_->m_pOwner = nullptr;
}

TEST_F(Dispatch, AListenerMayDeleteTheControlItHearsOf) {
    const int types[] = {kMouseEnter, kMouseDown, kMouseUp, kMouseLeave};
    for (int type : types) {
        listener_.deleteOn = type;
        auto* c = new Probe(gui_.get(), group_, "D", {300, 300, 320, 320});
        Feed({{WM_MOUSEMOVE, 0, 310, 310},
              {WM_LBUTTONDOWN, 1, 310, 310},
              {WM_LBUTTONUP, 0, 310, 310},
              {WM_MOUSEMOVE, 0, 0, 0}});
        if (gui_->HasControl(c)) delete c;
        EXPECT_EQ(gui_->m_pHot, nullptr) << type;
        EXPECT_EQ(gui_->m_pPressed, nullptr) << type;
    }
}

TEST_F(Dispatch, DeletingTheHotOrPressedControlForgetsIt) {
    Feed({{WM_MOUSEMOVE, 0, 20, 20}, {WM_LBUTTONDOWN, 1, 20, 20}});
    EXPECT_EQ(gui_->m_pHot, a_);
    EXPECT_EQ(gui_->m_pPressed, a_);
    delete a_;
    EXPECT_EQ(gui_->m_pHot, nullptr);
    EXPECT_EQ(gui_->m_pPressed, nullptr);
    Feed({{WM_LBUTTONUP, 0, 20, 20}});
}
} // namespace
