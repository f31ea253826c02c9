// The window procedure's rules: screens replaced, pushed, popped and saved, the
// replaced ones deleted only when the outermost call returns; the stand-in menu screen's
// buttons sending their messages; F11 screenshots; mouse input on an empty client area.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <string>
#include <vector>

#include "reading/LxMainScr.h"
#include "shell/LxDriver.h"
#include "shell/LxMainWindow.h"
#include "shell/LxMessages.h"
#include "shell/LxProgram.h"
#include "shell/LxProgramData.h"
#include "shell/LxScreenSwitch.h"
#include "shell/LxScreenTable.h"
#include "shell/LxWindowProc.h"
#include "test_controls_support.h"
#include "ui/LxCGUI.h"

using namespace ui_test;

namespace {

std::vector<std::string> g_events;

// A screen without a description that logs its life and, when told, sends a message
// from inside its own timer handler.
class Stub : public CLxScreen {
  public:
    explicit Stub(std::string name) : label(std::move(name)) { g_events.push_back("new " + label); }
    ~Stub() override { g_events.push_back("delete " + label); }
    int OnKeyEvent(CLxKeyEvent*) override { return 0; }
    int OnTimerEvent(CLxTimerEvent*) override {
        g_events.push_back("timer " + label);
        if (sendOnTimer) {
            LxSendMessage(sendOnTimer);
            // Still running after the switch: this screen must not be deleted yet.
            g_events.push_back("after " + label);
        }
        return 0;
    }
    void Refresh() override { g_events.push_back("refresh " + label); }
    void OnAnswer(UINT msg, WPARAM wParam) override {
        g_events.push_back("answer " + label + " " + std::to_string(msg) + " " +
                           std::to_string(long(wParam)));
    }
    std::string label;
    UINT sendOnTimer = 0;
};

int g_made = 0;
CLxScreen* MakeStub(UINT msg, WPARAM, LPARAM) {
    return new Stub(std::to_string(msg) + "#" + std::to_string(++g_made));
}

Stub* Active() {
    return static_cast<Stub*>(g_pActiveScreen);
}

class WindowProcTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        g_events.clear();
        g_made = 0;
        ClearScreenTable();
        for (UINT msg : {kMsgMainScreen, kMsgExtendedMemory, kMsgUserSelection, kMsgTherapySetup})
            RegisterScreen(msg, MakeStub);
        LxSetMessageHandler(WindowProc);
    }
    void TearDown() override {
        DeleteAllScreens();
        ClearScreenTable();
        LxSetMessageHandler(nullptr);
        UiTest::TearDown();
    }
};

TEST_F(WindowProcTest, ACreatedScreenReplacesTheActiveOneAfterTheHandlerReturns) {
    WindowProc(1024, 0, 0);
    ASSERT_NE(Active(), nullptr);
    Active()->sendOnTimer = 1024;
    WindowProc(kMsgTimer, 444, 0);
    EXPECT_EQ(g_events, (std::vector<std::string>{"new 1024#1", "timer 1024#1", "new 1024#2",
                                                  "after 1024#1", "delete 1024#1"}));
    EXPECT_EQ(Active()->label, "1024#2");
}

TEST_F(WindowProcTest, TheBackStackKeepsThreeAndPopsBackToEmpty) {
    WindowProc(1024, 0, 0);
    for (int i = 0; i < 4; ++i)
        WindowProc(1053, 0, 0);
    // The first screen fell off the bottom of the stack and is gone.
    EXPECT_EQ(g_events.back(), "delete 1024#1");
    EXPECT_EQ(Active()->label, "1053#5");
    const char* returned[] = {"1053#4", "1053#3", "1053#2"};
    for (const char* label : returned) {
        WindowProc(1054, 0, 0);
        ASSERT_NE(Active(), nullptr);
        EXPECT_EQ(Active()->label, label);
    }
    WindowProc(1054, 0, 0);
    EXPECT_EQ(Active(), nullptr);
    // Without a screen, events go nowhere and nothing breaks.
    WindowProc(kMsgTimer, 444, 0);
    WindowProc(kMsgLButtonDown, 1, 10 | 10 << 16);
    WindowProc(1054, 0, 0);
    EXPECT_EQ(Active(), nullptr);
}

TEST_F(WindowProcTest, AScreenComingBackDrawsItselfAndThenHearsTheAnswer) {
    WindowProc(kMsgMainScreen, 0, 0);
    WindowProc(kMsgUserSelection, 0, 0);
    g_events.clear();
    WindowProc(kMsgUserSelected, 3, 0);
    EXPECT_EQ(g_events, (std::vector<std::string>{"refresh 1024#1", "answer 1024#1 1054 3",
                                                  "delete 1053#2"}));
}

TEST_F(WindowProcTest, TheSavedScreenComesBackOnceAndOnlyWhenThereIsOne) {
    WindowProc(1063, 0, 0); // nothing saved: nothing happens
    EXPECT_TRUE(g_events.empty());
    WindowProc(1024, 0, 0);
    WindowProc(1033, 0, 0);
    EXPECT_EQ(Active()->label, "1033#2");
    WindowProc(1063, 0, 0);
    EXPECT_EQ(Active()->label, "1024#1");
    EXPECT_EQ(g_events.back(), "delete 1033#2");
    WindowProc(1063, 0, 0); // the saved screen was taken back: the active one stays
    ASSERT_NE(Active(), nullptr);
    EXPECT_EQ(Active()->label, "1024#1");
}

TEST_F(WindowProcTest, MessagesWithoutAScreenKeepTheActiveOne) {
    WindowProc(1024, 0, 0);
    for (UINT msg : {1025u, 1032u, 1039u, 1062u, 1075u, 1051u})
        WindowProc(msg, 'a', 0);
    ASSERT_NE(Active(), nullptr);
    EXPECT_EQ(Active()->label, "1024#1");
}

// Every switching rule lives in the screen table; modules only give factories.
TEST_F(WindowProcTest, TheScreenTableRoutesEachMessageByItsRule) {
    ClearScreenTable();
    for (UINT msg = kFirstProgramMessage; msg <= kLastProgramMessage; ++msg)
        RegisterScreen(msg, MakeStub);
    const struct {
        UINT msg;
        LxSwitch how;
    } cases[] = {
        {1024, LxSwitch::Create}, {1031, LxSwitch::Create},       {1033, LxSwitch::CreateSaving},
        {1038, LxSwitch::Create}, {1040, LxSwitch::Create},       {1047, LxSwitch::Create},
        {1050, LxSwitch::Create}, {1051, LxSwitch::None},         {1052, LxSwitch::None},
        {1053, LxSwitch::Push},   {1054, LxSwitch::Pop},          {1055, LxSwitch::Push},
        {1056, LxSwitch::Pop},    {1057, LxSwitch::Push},         {1058, LxSwitch::Pop},
        {1059, LxSwitch::None},   {1060, LxSwitch::None},         {1061, LxSwitch::Create},
        {1062, LxSwitch::Create}, {1063, LxSwitch::RestoreSaved}, {1064, LxSwitch::None},
        {1065, LxSwitch::Push},   {1066, LxSwitch::Pop},          {1067, LxSwitch::Push},
        {1068, LxSwitch::Pop},    {1069, LxSwitch::Push},         {1070, LxSwitch::Pop},
        {1071, LxSwitch::Push},   {1072, LxSwitch::Pop},          {1073, LxSwitch::Push},
        {1074, LxSwitch::Pop},    {1075, LxSwitch::PushOver},     {1076, LxSwitch::Pop},
        {1077, LxSwitch::None},   {1083, LxSwitch::None},         {1084, LxSwitch::None},
        {1088, LxSwitch::None},   {1023, LxSwitch::None},         {1089, LxSwitch::None},
    };
    for (const auto& c : cases) {
        LxRoute route = RouteMessage(c.msg, 0);
        EXPECT_EQ(route.how, c.how) << c.msg;
        bool builds =
            c.how != LxSwitch::None && c.how != LxSwitch::Pop && c.how != LxSwitch::RestoreSaved;
        EXPECT_EQ(route.make != nullptr, builds) << c.msg;
    }
    // Without a factory a building rule goes nowhere.
    ClearScreenTable();
    EXPECT_EQ(RouteMessage(kMsgInfoScreen, 0).how, LxSwitch::None);
    EXPECT_EQ(RouteMessage(kMsgHelpDone, 0).how, LxSwitch::Pop);
}

TEST_F(WindowProcTest, TheLetterAndExtraGameRulesLookAtTheCourse) {
    RegisterScreen(kMsgReading, MakeStub);
    RegisterScreen(kMsgReadingExtraGame, MakeStub);
    g_nCourseLesson = 2;
    g_nCourseLetter = 'x';
    LxRoute letter = RouteMessage(kMsgReadingLetter, 'm');
    EXPECT_EQ(letter.how, LxSwitch::Create);
    EXPECT_EQ(letter.msg, kMsgReading); // built as the current lesson's game
    EXPECT_EQ(g_nCourseLetter, 'm');
    EXPECT_EQ(g_nCourseLesson, -1);
    EXPECT_EQ(RouteMessage(kMsgReadingExtraGame, 0).how, LxSwitch::None); // no lesson
    g_nCourseLesson = 0;
    g_aCourse[0][7] = 0;
    EXPECT_EQ(RouteMessage(kMsgReadingExtraGame, 0).how, LxSwitch::None); // no extra game
    g_aCourse[0][7] = 2;
    EXPECT_EQ(RouteMessage(kMsgReadingExtraGame, 0).how, LxSwitch::Create);
    g_aCourse[0][7] = 0;
    g_nCourseLesson = -1;
}

TEST_F(WindowProcTest, TheWindowTimerReachesScreensOnlyWhileTheDriverRests) {
    WindowProc(1024, 0, 0);
    g_nDriverTimer = 7;
    WindowProc(kMsgTimer, 444, 0);
    g_nDriverTimer = 0;
    WindowProc(kMsgTimer, 444, 0);
    EXPECT_EQ(g_events, (std::vector<std::string>{"new 1024#1", "timer 1024#1"}));
}

TEST_F(WindowProcTest, F11WritesNumberedScreenshotsIntoItsFolder) {
    g_pScreenSurface = CreateSurface(800, 600);
    g_nScreenshot = 0;
    WindowProc(kMsgKeyUp, 122, 0); // no folder: nothing written
    mkdir("srceenshoots", 0755);
    WindowProc(kMsgKeyUp, 122, 0);
    WindowProc(kMsgKeyUp, 122, 0);
    struct stat st;
    EXPECT_NE(stat("srceenshoots/00000000.bmp", &st), 0);
    EXPECT_EQ(stat("srceenshoots/00000001.bmp", &st), 0);
    EXPECT_EQ(stat("srceenshoots/00000002.bmp", &st), 0);
    FreeSurface(&g_pScreenSurface);
}

TEST_F(WindowProcTest, F11NeverOverwritesTheScreenshotsOfAnEarlierRun) {
    g_pScreenSurface = CreateSurface(800, 600);
    g_nScreenshot = 0;
    WriteFile("srceenshoots/00000000.bmp", "earlier");
    WriteFile("srceenshoots/00000001.bmp", "earlier");
    WindowProc(kMsgKeyUp, 122, 0);
    std::ifstream kept("srceenshoots/00000001.bmp");
    std::string text;
    kept >> text;
    EXPECT_EQ(text, "earlier");
    struct stat st;
    EXPECT_EQ(stat("srceenshoots/00000002.bmp", &st), 0);
    FreeSurface(&g_pScreenSurface);
}

std::vector<UINT> g_sent;
LRESULT Record(UINT msg, WPARAM, LPARAM) {
    g_sent.push_back(msg);
    return 0;
}

TEST_F(WindowProcTest, EachMainScreenButtonSendsItsMessage) {
    const struct {
        const char* name;
        UINT msg;
    } buttons[] = {{"kilepes", kMsgClose},
                   {"olvfej", kMsgReading},
                   {"beszjav", kMsgTherapyPreparation},
                   {"jatekok", kMsgTherapyGames},
                   {"memory", kMsgMemoryGame},
                   {"info", kMsgInfoScreen},
                   {"felvetel", kMsgRecord},
                   {"lejatszas", kMsgPlayBack},
                   {"allj", kMsgStop},
                   {"cim", 0}};
    std::string controls;
    int y = 0;
    for (const auto& b : buttons) {
        controls += std::string("<control type=\"button\" name=\"") + b.name +
                    "\" help=\"\">\n<common rect=\"100," + std::to_string(y) +
                    ",200,50\"/>\n</control>\n";
        y += 55;
    }
    WriteFile("data/menu.xml",
              "<Lexo>\n<group name=\"fo\" position=\"0,0\">\n</group>\n" + controls + "</Lexo>\n");
    CLxMainScr screen("data\\menu.xml");
    LxSetMessageHandler(Record);
    CLxCGUI* gui = screen.GetGUI();
    ASSERT_NE(gui, nullptr);
    y = 0;
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.name);
        g_sent.clear();
        gui->DispatchMouse(kMsgMouseMove, 0, 150 | (y + 20) << 16);
        gui->DispatchMouse(kMsgLButtonDown, 1, 150 | (y + 20) << 16);
        gui->DispatchMouse(kMsgLButtonUp, 0, 150 | (y + 20) << 16);
        EXPECT_EQ(g_sent, b.msg ? std::vector<UINT>{b.msg} : std::vector<UINT>{});
        y += 55;
    }
}

TEST_F(WindowProcTest, TheMainScreenStartsTheCourseAtItsFirstLesson) {
    WriteFile("data/menu.xml", "<Lexo>\n<group name=\"fo\" position=\"0,0\">\n</group>\n</Lexo>\n");
    g_aCourse[0][0] = 'm';
    g_nCourseLesson = 5;
    g_nCourseLetter = -1;
    CLxMainScr screen("data\\menu.xml");
    EXPECT_EQ(g_nCourseLesson, 0);
    EXPECT_EQ(g_nCourseLetter, 'm');
    EXPECT_STREQ(screen.GetName(), "Main");
    g_aCourse[0][0] = 0;
    g_nCourseLesson = -1;
}

TEST_F(WindowProcTest, TheInformationScreenLeadsBack) {
    WriteFile("data/menu.xml", "<Lexo>\n<group name=\"fo\" position=\"0,0\">\n</group>\n"
                               "<control type=\"button\" name=\"vissza\" help=\"\">\n"
                               "<common rect=\"100,100,200,50\"/>\n</control>\n</Lexo>\n");
    CLxInfoScr screen("data\\menu.xml");
    g_sent.clear();
    LxSetMessageHandler(Record);
    CLxCGUI* gui = screen.GetGUI();
    ASSERT_NE(gui, nullptr);
    gui->DispatchMouse(kMsgMouseMove, 0, 150 | 120 << 16);
    gui->DispatchMouse(kMsgLButtonDown, 1, 150 | 120 << 16);
    gui->DispatchMouse(kMsgLButtonUp, 0, 150 | 120 << 16);
    EXPECT_EQ(g_sent, (std::vector<UINT>{kMsgMainScreen}));
}

} // namespace

namespace {

std::vector<UINT> g_driven;

// A screen that records from its constructor and stops in its destructor, as the
// listening games do.
class Listener : public CLxScreen {
  public:
    Listener() { LxSendMessage(1086); }
    ~Listener() override { LxSendMessage(1084); }
    int OnKeyEvent(CLxKeyEvent*) override { return 0; }
    int OnTimerEvent(CLxTimerEvent*) override {
        LxSendMessage(1024); // leave from inside the handler
        return 0;
    }
};

CLxScreen* MakeListener(UINT, WPARAM, LPARAM) {
    return new Listener;
}

TEST_F(WindowProcTest, AReplacedScreenDoesNotStopItsSuccessorsRecording) {
    RegisterScreen(kMsgReading, MakeListener);
    WindowProc(1025, 0, 0);
    ASSERT_NE(g_nDriverTimer, 0);
    // The second listener replaces the first, which stops in its destructor after the
    // second has started: the recording must go on.
    WindowProc(1025, 0, 0);
    EXPECT_NE(g_nDriverTimer, 0);
    // Leaving to a screen that does not record stops it.
    WindowProc(1024, 0, 0);
    EXPECT_EQ(g_nDriverTimer, 0);
}

TEST_F(WindowProcTest, ASwitchFromADriverTickWaitsForTheHandlerToReturn) {
    RegisterScreen(kMsgReading, MakeListener);
    WindowProc(1025, 0, 0);
    ConnectDriverToScreens();
    CLxScreen* listener = g_pActiveScreen;
    g_DriverHooks.pfnTimerEvent(1, 1086); // its handler asks for the main screen
    EXPECT_NE(g_pActiveScreen, listener);
    EXPECT_EQ(g_nDriverTimer, 0);
    g_DriverHooks = LxDriverHooks{};
}

} // namespace
