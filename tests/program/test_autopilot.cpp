// The autopilot: scripts parsed into commands, errors with their line numbers, waits
// that hand the loop back, and clicks that find a control by name and reach it through
// the window procedure at its centre, whatever the window's size.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <iterator>
#include <string>
#include <vector>

#include "reading/LxMainScr.h"
#include "shell/LxAutopilot.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxMainWindow.h"
#include "shell/LxMessages.h"
#include "shell/LxProgram.h"
#include "shell/LxProgramData.h"
#include "shell/LxWindowProc.h"
#include "test_controls_support.h"

using namespace ui_test;
using Kind = CLxAutopilot::Kind;

namespace {

TEST(Autopilot, AScriptBecomesItsCommands) {
    CLxAutopilot pilot;
    ASSERT_TRUE(pilot.Parse("# the main screen\n"
                            "\n"
                            "message 1062\n"
                            "  message 1039 109 1034  \r\n"
                            "click fo.jatek1\n"
                            "drag jobb.sprite -5 600\n"
                            "drag kepek.s00 kepek.v01\n"
                            "type  árvíztűrő tükör \n"
                            "key Return\n"
                            "wait 250\n"
                            "shot\n"
                            "dump\n"
                            "quit\n"))
        << pilot.Error();
    const struct {
        Kind kind;
        int line;
        const char* text;
        long a, b, c;
    } expected[] = {
        {Kind::Message, 3, "", 1062, 0, 0},     {Kind::Message, 4, "", 1039, 109, 1034},
        {Kind::Click, 5, "fo.jatek1", 0, 0, 0}, {Kind::Drag, 6, "jobb.sprite", -5, 600, 0},
        {Kind::Drag, 7, "kepek.s00", 0, 0, 0},  {Kind::Type, 8, "árvíztűrő tükör", 0, 0, 0},
        {Kind::Key, 9, "Return", 0, 0, 0},      {Kind::Wait, 10, "", 250, 0, 0},
        {Kind::Shot, 11, "", 0, 0, 0},          {Kind::Dump, 12, "", 0, 0, 0},
        {Kind::Quit, 13, "", 0, 0, 0},
    };
    const auto& commands = pilot.Commands();
    ASSERT_EQ(commands.size(), std::size(expected));
    for (size_t i = 0; i < commands.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(commands[i].kind, expected[i].kind);
        EXPECT_EQ(commands[i].line, expected[i].line);
        EXPECT_EQ(commands[i].text, expected[i].text);
        EXPECT_EQ(commands[i].numbers[0], expected[i].a);
        EXPECT_EQ(commands[i].numbers[1], expected[i].b);
        EXPECT_EQ(commands[i].numbers[2], expected[i].c);
    }
    EXPECT_EQ(commands[4].target, "kepek.v01");
    EXPECT_EQ(commands[3].target, "");
}

// A script file is UTF-8, the controls' names are in the program's own codec.
TEST(Autopilot, ControlNamesAreReadAsUtf8) {
    CLxAutopilot pilot;
    ASSERT_TRUE(pilot.Parse("click f\xC3\xB6.felvetel\ndrag kepek.s00 f\xC3\xB6.v00\n"))
        << pilot.Error();
    ASSERT_EQ(pilot.Commands().size(), 2u);
    EXPECT_EQ(pilot.Commands()[0].text, "fö.felvetel");
    EXPECT_EQ(pilot.Commands()[1].target, "fö.v00");
}

TEST(Autopilot, AnErrorNamesItsLine) {
    const struct {
        const char* script;
        const char* error;
    } cases[] = {
        {"jump 3", "line 1: unknown command \"jump\""},
        {"# fine\n\nclick", "line 3: click needs a name"},
        {"wait\n", "line 1: wait needs more numbers"},
        {"dump\nwait soon", "line 2: \"soon\" is not a number"},
        {"wait -1", "line 1: a wait cannot be negative"},
        {"message", "line 1: message needs more numbers"},
        {"message 1024 0 0 0", "line 1: too much after message"},
        {"message 10x24", "line 1: \"10x24\" is not a number"},
        {"drag fo.a 10", "line 1: drag needs more numbers"},
        {"drag fo.a fo.b 10", "line 1: \"fo.b\" is not a number"},
        {"drag fo.a 10 fo.b", "line 1: \"fo.b\" is not a number"},
        {"click fo.a fo.b", "line 1: too much after click"},
        {"quit now", "line 1: too much after quit"},
        {"key", "line 1: key needs a name"},
        {"state", "line 1: state needs a name"},
        {"key Nosuchkey", "line 1: unknown key \"Nosuchkey\""},
        {"key F13", "line 1: unknown key \"F13\""}, // a key the screens never see
        {"type   ", "line 1: type needs a text"},
        {"Click fo.a", "line 1: unknown command \"Click\""},
    };
    for (const auto& c : cases) {
        CLxAutopilot pilot;
        EXPECT_FALSE(pilot.Parse(c.script)) << c.script;
        EXPECT_EQ(pilot.Error(), c.error) << c.script;
    }
}

TEST(Autopilot, AWaitHandsTheLoopBackUntilItsTimeIsUp) {
    CLxAutopilot pilot;
    ASSERT_TRUE(pilot.Parse("wait 100\nwait 0\ndump\n"));
    EXPECT_EQ(pilot.Poll(1000), 100);
    EXPECT_EQ(pilot.Poll(1040), 60);
    EXPECT_EQ(pilot.Poll(1100), 0); // the second wait is already over
    testing::internal::CaptureStdout();
    int last = pilot.Poll(1100); // the dump, the last command
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(last, -1);
    EXPECT_EQ(out.find("autopilot: screen="), 0u) << out;
    EXPECT_EQ(pilot.Poll(2000), -1); // done
    EXPECT_FALSE(pilot.Failed());
}

std::vector<UINT> g_sent;
LRESULT Record(UINT msg, WPARAM, LPARAM) {
    g_sent.push_back(msg);
    return 0;
}

// A main screen with two buttons in a real (hidden, dummy-driver) window.
class AutopilotWindow : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        WriteFile("data/menu.xml", "<Lexo>\n<group name=\"fo\" position=\"0,0\">\n</group>\n"
                                   "<control type=\"button\" name=\"info\" help=\"Info\">\n"
                                   "<common rect=\"100,100,200,50\"/>\n</control>\n"
                                   "<control type=\"button\" name=\"memory\" help=\"Back\">\n"
                                   "<common rect=\"600,500,100,60\"/>\n</control>\n</Lexo>\n");
        ASSERT_TRUE(CreateMainWindow());
        g_pActiveScreen = new CLxMainScr("data\\menu.xml");
        g_sent.clear();
        LxSetMessageHandler(Record);
    }
    void TearDown() override {
        delete g_pActiveScreen;
        g_pActiveScreen = nullptr;
        LxSetMessageHandler(nullptr);
        DestroyMainWindow();
        UiTest::TearDown();
    }
    static std::string Run(CLxAutopilot* pilot, const std::string& script) {
        if (!pilot->Parse(script)) return pilot->Error();
        while (pilot->Poll(0) >= 0) {
        }
        return pilot->Error();
    }
};

TEST_F(AutopilotWindow, AControlNameGivesItsCentre) {
    POINT p{};
    EXPECT_TRUE(ControlCentre(g_pActiveScreen->GetGUI(), "fo.info", &p));
    EXPECT_EQ(p.x, 200);
    EXPECT_EQ(p.y, 125);
    EXPECT_TRUE(ControlCentre(g_pActiveScreen->GetGUI(), "fo.memory", &p));
    EXPECT_EQ(p.x, 650);
    EXPECT_EQ(p.y, 530);
    EXPECT_FALSE(ControlCentre(g_pActiveScreen->GetGUI(), "info", &p));
    EXPECT_FALSE(ControlCentre(g_pActiveScreen->GetGUI(), "fo.nothing", &p));
    EXPECT_FALSE(ControlCentre(nullptr, "fo.info", &p));
}

TEST_F(AutopilotWindow, AClickReachesTheControlThroughTheWindowProcedureAtAnySize) {
    const struct {
        int width, height;
    } sizes[] = {{800, 600}, {1000, 750}, {640, 480}, {1600, 1200}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(size.width);
        SDL_SetWindowSize(g_pWindow, size.width, size.height);
        int w = 0, h = 0;
        GetClientSize(&w, &h);
        ASSERT_EQ(w, size.width);
        g_sent.clear();
        CLxAutopilot pilot;
        EXPECT_EQ(Run(&pilot, "click fo.info\nclick fo.memory\n"), "");
        EXPECT_EQ(g_sent, (std::vector<UINT>{kMsgInfoScreen, kMsgMemoryGame}));
    }
}

TEST_F(AutopilotWindow, AMissingControlStopsTheScriptAtItsLine) {
    CLxAutopilot pilot;
    EXPECT_EQ(Run(&pilot, "click fo.info\n\nclick fo.jatek1\nclick fo.memory\n"),
              "line 3: no control \"fo.jatek1\" on the screen \"Main\"");
    EXPECT_TRUE(pilot.Failed());
    EXPECT_EQ(g_sent, (std::vector<UINT>{kMsgInfoScreen})); // nothing after the error
    CLxAutopilot drag;
    EXPECT_EQ(Run(&drag, "drag fo.none 10 10"),
              "line 1: no control \"fo.none\" on the screen \"Main\"");
    CLxAutopilot onto;
    EXPECT_EQ(Run(&onto, "drag fo.info fo.none"),
              "line 1: no control \"fo.none\" on the screen \"Main\"");
}

TEST_F(AutopilotWindow, MessagesGoAsAScreenSendsThem) {
    CLxAutopilot pilot;
    EXPECT_EQ(Run(&pilot, "message 1062\nmessage 1039 109 1034\n"), "");
    EXPECT_EQ(g_sent, (std::vector<UINT>{kMsgInfoScreen, kMsgReadingLetter}));
}

TEST_F(AutopilotWindow, ADumpTellsScreenStateChildAndLesson) {
    g_Driver.nState = kDriverWaiting;
    g_nCourseLesson = 3;
    CLxAutopilot pilot;
    testing::internal::CaptureStdout();
    EXPECT_EQ(Run(&pilot, "dump\n"), "");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "autopilot: screen=Main state=2 child=- lesson=3\n");
    g_Driver.nState = kDriverLevels;
    g_nCourseLesson = -1;
}

TEST_F(AutopilotWindow, AStateTellsAControlsFlagsAndText) {
    g_pActiveScreen->SetControlState("fo.info", kVisible | kEnabled | kSelected);
    CLxAutopilot pilot;
    testing::internal::CaptureStdout();
    EXPECT_EQ(Run(&pilot, "state fo.info\n"), "");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "autopilot: control=fo.info state=14 text=-\n");
    EXPECT_EQ(Run(&pilot, "state fo.none\n"),
              "line 1: no control \"fo.none\" on the screen \"Main\"");
}

TEST_F(AutopilotWindow, ShotsAreScreenshotsAsF11Takes) {
    g_pScreenSurface = CreateSurface(800, 600);
    g_nScreenshot = 0;
    mkdir("srceenshoots", 0755);
    CLxAutopilot pilot;
    EXPECT_EQ(Run(&pilot, "shot\nkey F11\n"), "");
    struct stat st;
    EXPECT_EQ(stat("srceenshoots/00000000.bmp", &st), 0);
    EXPECT_EQ(stat("srceenshoots/00000001.bmp", &st), 0);
    FreeSurface(&g_pScreenSurface);
}

} // namespace
