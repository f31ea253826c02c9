// Line reading, the console and the terminal's read-execute loop, and typing into
// the focused window.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "Number.h"
#include "core/ActiveWindow.h"
#include "core/Console.h"
#include "core/LineReader.h"
#include "support/EngineTest.h"
#include "support/FakeConnection.h"

namespace {
// Every line a reader gives until its end.
std::vector<std::string> Lines(Input* reader) {
    std::vector<std::string> lines;
    int length = 0, kind = 0;
    while (const char* line = reader->Read(&length, &kind)) {
        EXPECT_EQ(kind, kKindText);
        lines.emplace_back(line, length);
        if (lines.size() > 100) break;
    }
    return lines;
}

struct LineCase {
    const char* name;
    std::vector<std::string> chunks;
    std::vector<std::string> lines;
};

void PrintTo(const LineCase& c, std::ostream* os) {
    *os << c.name;
}

class LineReaderTable : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineReaderTable, CutsChunksIntoLines) {
    auto* source = new FakeConnection(GetParam().chunks);
    LineReader reader(source);
    EXPECT_EQ(Lines(&reader), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Chunks, LineReaderTable,
    ::testing::Values(LineCase{"CarriageReturnIsKept", {"abc\r\n"}, {"abc\r"}},
                      LineCase{"TwoLinesInOneChunk", {"a\r\nb\r\n"}, {"a\r", "b\r"}},
                      LineCase{"TabSplitsTheLine", {"a\tb\r\n"}, {"a", "b\r"}},
                      LineCase{"LineGoesOnInTheNextChunk", {"ab", "c\r\n"}, {"abc\r"}},
                      LineCase{
                          "LineFeedInTheNextChunk", {"abc\r", "\ndef\r\n"}, {"abc\r", "def\r"}},
                      LineCase{"LineEndsAtTheStartGiveEmptyLines", {"\n\nx"}, {"", "", "x"}},
                      LineCase{"NulEndsALine", {std::string("a\0b\n", 4)}, {"a", "b"}},
                      LineCase{"EmptySourceGivesNothing", {""}, {}},
                      LineCase{"LongLineComesInPieces",
                               {std::string(9000, 'a') + "\r\n"},
                               {std::string(8191, 'a'), std::string(809, 'a') + "\r"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LineReader, RewindStartsTheSourceAgain) {
    auto* source = new FakeConnection({"one\ntwo\n"});
    LineReader reader(source);
    int length = 0, kind = 0;
    reader.Read(&length, &kind);
    reader.Rewind();
    EXPECT_EQ(Lines(&reader), (std::vector<std::string>{"one", "two"}));
}

TEST(LineReader, HoldsItsSourceUntilItGoes) {
    auto* source = new FakeConnection({});
    source->AddRef();
    {
        LineReader reader(source);
        EXPECT_EQ(source->RefCount(), 2);
    }
    EXPECT_EQ(source->RefCount(), 1);
    source->Release();
}

// A pipe whose write end the test fills; the console reads the other end.
struct Pipe {
    int fds[2] = {-1, -1};
    Pipe() { EXPECT_EQ(pipe(fds), 0); }
    ~Pipe() {
        for (int fd : fds)
            if (fd >= 0) close(fd);
    }
    void Feed(const std::string& bytes) {
        EXPECT_EQ(write(fds[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        close(fds[1]);
        fds[1] = -1;
    }
};

struct ConsoleCase {
    const char* name;
    std::string typed;
    std::vector<std::string> lines;
};

void PrintTo(const ConsoleCase& c, std::ostream* os) {
    *os << c.name;
}

class ConsoleTable : public ::testing::TestWithParam<ConsoleCase> {};

TEST_P(ConsoleTable, ReadsLinesAsTypedWithCarriageReturns) {
    Pipe in;
    in.Feed(GetParam().typed);
    Console console(in.fds[0], STDOUT_FILENO);
    EXPECT_EQ(Lines(&console), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Input, ConsoleTable,
    ::testing::Values(ConsoleCase{"BareLineFeedBecomesCrLf", "a\n", {"a\r\n"}},
                      ConsoleCase{"CrLfStays", "b\r\n", {"b\r\n"}},
                      ConsoleCase{"EmptyLine", "\nx\n", {"\r\n", "x\r\n"}},
                      ConsoleCase{"LastLineWithoutEnd", "a\nlast", {"a\r\n", "last"}},
                      ConsoleCase{
                          "BytesPassUnchangedFromAPipe", "\xF5\xC5\x91\n", {"\xF5\xC5\x91\r\n"}},
                      ConsoleCase{"LongLineInPieces",
                                  std::string(1030, 'z') + "\n",
                                  {std::string(1024, 'z'), "zzzzzz\r\n"}},
                      ConsoleCase{"EndOfInput", "", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Console, LeavesTheRestOfTheInputToTheNextReader) {
    Pipe in;
    in.Feed("one\ntwo\n");
    {
        Console first(in.fds[0], STDOUT_FILENO);
        int length = 0, kind = 0;
        first.Read(&length, &kind);
    }
    Console second(in.fds[0], STDOUT_FILENO);
    EXPECT_EQ(Lines(&second), std::vector<std::string>{"two\r\n"});
}

TEST(Console, WritesRawBytesToAPipe) {
    Pipe out;
    {
        Console console(STDIN_FILENO, out.fds[1]);
        console.Write("\xF5 ok\r\n");
    }
    close(out.fds[1]);
    out.fds[1] = -1;
    char buffer[64];
    ssize_t n = read(out.fds[0], buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer, n > 0 ? n : 0), "\xF5 ok\r\n");
}

// Sets the locale variables for one test and puts the old values back.
class LocaleEnvironment {
  public:
    explicit LocaleEnvironment(const char* lang) {
        for (const char* name : kNames) {
            const char* value = std::getenv(name);
            saved_.push_back(value ? std::optional<std::string>(value) : std::nullopt);
            unsetenv(name);
        }
        setenv("LANG", lang, 1);
    }
    ~LocaleEnvironment() {
        for (size_t i = 0; i < 3; ++i) {
            if (saved_[i])
                setenv(kNames[i], saved_[i]->c_str(), 1);
            else
                unsetenv(kNames[i]);
        }
    }

  private:
    static constexpr const char* kNames[3] = {"LC_ALL", "LC_CTYPE", "LANG"};
    std::vector<std::optional<std::string>> saved_;
};

// A pseudo-terminal without echo: the console sees a terminal on the secondary side.
class PseudoTerminal : public ::testing::Test {
  protected:
    void SetUp() override {
        primary_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (primary_ < 0 || grantpt(primary_) || unlockpt(primary_))
            GTEST_SKIP() << "no pseudo-terminals here";
        secondary_ = open(ptsname(primary_), O_RDWR | O_NOCTTY);
        ASSERT_GE(secondary_, 0);
        termios mode;
        ASSERT_EQ(tcgetattr(secondary_, &mode), 0);
        mode.c_lflag &= ~ECHO;
        ASSERT_EQ(tcsetattr(secondary_, TCSANOW, &mode), 0);
    }
    void TearDown() override {
        if (secondary_ >= 0) close(secondary_);
        if (primary_ >= 0) close(primary_);
    }
    // Waits for count bytes from the terminal (a hang guard, not a time limit).
    std::string Take(size_t count) {
        std::string bytes;
        while (bytes.size() < count) {
            pollfd wait = {primary_, POLLIN, 0};
            if (poll(&wait, 1, 10000) <= 0) break;
            char buffer[256];
            ssize_t n = read(primary_, buffer, sizeof buffer);
            if (n <= 0) break;
            bytes.append(buffer, n);
        }
        return bytes;
    }

    int primary_ = -1, secondary_ = -1;
};

TEST_F(PseudoTerminal, Utf8TerminalGetsUtf8AndTypedTextInBrightWhite) {
    LocaleEnvironment utf8("hu_HU.UTF-8");
    Console console(secondary_, secondary_);
    console.Write("\xF5");
    EXPECT_EQ(Take(2), "\xC5\x91");

    ASSERT_EQ(write(primary_, "\xC5\x91x\n", 4), 4);
    int length = 0, kind = 0;
    const char* line = console.Read(&length, &kind);
    ASSERT_TRUE(line);
    EXPECT_EQ(std::string(line, length), "\xF5x\r\n");
    EXPECT_EQ(Take(11), "\x1b[1;97m\x1b[0m");
}

TEST_F(PseudoTerminal, OtherTerminalsGetTheEngineBytes) {
    LocaleEnvironment latin2("hu_HU.ISO-8859-2");
    Console console(secondary_, secondary_);
    console.Write("\xF5");
    EXPECT_EQ(Take(1), "\xF5");
}

// Terminal loops in the root: its plain "log" goes, so messages reach the
// terminal that the factory exports as "log".
class TerminalLoop : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        RootFolder()->Set("log", 3, nullptr, 0);
    }
    void TearDown() override {
        for (const char* name : {"t", "fake", "a", "b", "c", "x", "v1", "v2", "v3"})
            RootFolder()->Set(name, static_cast<int>(std::strlen(name)), nullptr, 0);
        RootFolder()->Export("log", 3, nullptr);
        EngineTest::TearDown();
    }
    FakeConnection* Loop(std::vector<std::string> lines) {
        auto* fake = new FakeConnection(std::move(lines));
        RootFolder()->Set("fake", 4, fake, 0);
        Run("t = new Terminal(fake); t()");
        return fake;
    }
    // The value of a Number in the root, or "none".
    std::string Value(const char* name) {
        auto* number =
            QueryInterface<Number>(RootFolder()->Find(name, std::strlen(name)), "Number");
        if (!number) return "none";
        std::string text = std::to_string(static_cast<int>(number->value));
        number->Release();
        return text;
    }
};

struct LoopCase {
    const char* name;
    std::vector<std::string> lines;
    std::string written;                                     // prompts and messages
    std::vector<std::pair<const char*, const char*>> values; // root members afterwards
};

void PrintTo(const LoopCase& c, std::ostream* os) {
    *os << c.name;
}

class TerminalLoopTable : public TerminalLoop, public ::testing::WithParamInterface<LoopCase> {};

TEST_P(TerminalLoopTable, RunsEachLineInTheContext) {
    FakeConnection* fake = Loop(GetParam().lines);
    EXPECT_EQ(fake->Written(), GetParam().written);
    for (auto [name, value] : GetParam().values)
        EXPECT_EQ(Value(name), value) << name;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, TerminalLoopTable,
    ::testing::Values(
        LoopCase{"TwoStatementsOnOneLine", {"a = 1; b = 2\r\n"}, "> > ", {{"a", "1"}, {"b", "2"}}},
        LoopCase{"LineOfBlanksRunsNothing", {"   \r\n", "a = 1\r\n"}, "> > > ", {{"a", "1"}}},
        LoopCase{"EachLineIsItsOwnStatement",
                 {"a = 1\r\n", "b = 2\r\n"},
                 "> > > ",
                 {{"a", "1"}, {"b", "2"}}},
        LoopCase{"ClosingBracketEndsTheLoop",
                 {"a = 1\r\n", ")\r\n", "c = 3\r\n"},
                 "> > ",
                 {{"a", "1"}, {"c", "none"}}},
        LoopCase{"LinesAreExpanded",
                 {"for i 1..3 v[i] = [i];\r\n"},
                 "> > ",
                 {{"v1", "1"}, {"v2", "2"}, {"v3", "3"}}},
        LoopCase{"MessagesComeToTheTerminal",
                 {"nothere\r\n", "a = 1\r\n"},
                 "> Warning: 'nothere' not Found\r\n> > ",
                 {{"a", "1"}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TerminalLoop, HoldsItselfWhileItsLoopRuns) {
    // The line drops both stored references; the next line is still read from it.
    FakeConnection* fake = Loop({"export log = 0; t = 0\r\n", "x = 1\r\n"});
    EXPECT_EQ(Value("x"), "1");
    EXPECT_EQ(fake->RefCount(), 1); // the terminal is gone and let go of it
}

TEST_F(TerminalLoop, CallingStatementGoesOnAfterTheLoop) {
    auto* fake = new FakeConnection({"a = 1\r\n"});
    RootFolder()->Set("fake", 4, fake, 0);
    Run("t = new Terminal(fake); t(); b = 2");
    EXPECT_EQ(Value("a"), "1");
    EXPECT_EQ(Value("b"), "2");
}

TEST_F(TerminalLoop, WriteLineEndsWithCrLfAndWritesGoToTheTarget) {
    Loop({});
    auto* terminal = QueryInterface<Output>(RootFolder()->Find("t", 1), "Output");
    ASSERT_TRUE(terminal);
    terminal->WriteLine("line");
    terminal->Write("raw", 3);
    terminal->Release();
    auto* fake = dynamic_cast<FakeConnection*>(RootFolder()->Find("fake", 4));
    EXPECT_EQ(fake->Written(), "> line\r\nraw");
}

struct FactoryCase {
    const char* name;
    const char* argument;
    const char* message; // "" when the terminal is made
};

void PrintTo(const FactoryCase& c, std::ostream* os) {
    *os << c.name;
}

// The factory in a folder "box" that has its own exported "log".
class TerminalFactory : public EngineTest, public ::testing::WithParamInterface<FactoryCase> {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        box_ = new FolderBase;
        RootFolder()->Set("box", 3, box_, 0);
        box_->Export("log", 3, new StringSink);
        RootFolder()->Set("fake", 4, new FakeConnection({}), 0);
        RootFolder()->Set("outonly", 7, new FakeConnection({}, false, true), 0);
    }
    void TearDown() override {
        for (const char* name : {"box", "fake", "outonly"})
            RootFolder()->Set(name, static_cast<int>(std::strlen(name)), nullptr, 0);
        EngineTest::TearDown();
    }
    FolderBase* box_ = nullptr;
};

TEST_P(TerminalFactory, ChecksItsArgumentAndExportsTheLog) {
    std::string messages =
        Run(std::string("box { t = new Terminal(") + GetParam().argument + ") }");
    Interface* made = box_->Find("t", 1);
    Interface* log = box_->FindExport("log", 3);
    if (*GetParam().message) {
        EXPECT_NE(messages.find(GetParam().message), std::string::npos) << messages;
        EXPECT_FALSE(made);
        EXPECT_FALSE(log); // removed: messages go to the next "log" up
    } else {
        EXPECT_EQ(messages, "");
        ASSERT_TRUE(made);
        EXPECT_EQ(log, made);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, TerminalFactory,
    ::testing::Values(FactoryCase{"InputAndOutput", "root.fake", ""},
                      FactoryCase{"OutputOnly", "root.outonly",
                                  "Terminal: Parameter must implement 'Input' Interface\n"},
                      FactoryCase{"InputOnly", "\"text\"",
                                  "Terminal: Parameter must implement 'Output' Interface\n"},
                      FactoryCase{"Nothing", "",
                                  "Terminal: Parameter must implement 'Input' Interface\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// Typing goes into a buffer instead of a display.
std::string g_typed;
const char* TypeIntoBuffer(const char* text, int count) {
    g_typed.append(text, count);
    return nullptr;
}

class ActiveWindowTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        g_typed.clear();
        previous_ = SetTypist(TypeIntoBuffer);
    }
    void TearDown() override {
        SetTypist(previous_);
        RootFolder()->Set("aw", 2, nullptr, 0);
        EngineTest::TearDown();
    }
    Typist previous_ = nullptr;
};

TEST_F(ActiveWindowTest, CallTypesItsArgument) {
    Run("aw = new ActiveWindow(); aw(\"hi \xF5\")");
    EXPECT_EQ(g_typed, "hi \xF5");
}

TEST_F(ActiveWindowTest, WriteLineTypesTheTextAndALineFeed) {
    Run("aw = new ActiveWindow(); out = aw; list 7");
    EXPECT_EQ(g_typed, "7\n");
}

TEST_F(ActiveWindowTest, IsAFolderToo) {
    Run("aw = new ActiveWindow(); aw { n = 5 }");
    auto* window = RootFolder()->Find("aw", 2);
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->Find("n", 1));
    EXPECT_EQ(g_typed, "");
    for (const char* name : {"Output", "Folder", "Interface"}) {
        auto* part = static_cast<Interface*>(window->GetInterface(name));
        EXPECT_TRUE(part) << name;
        if (part) window->Release();
    }
}

TEST_F(ActiveWindowTest, WithoutADisplayReportsOnceAndTypesNothing) {
    SetTypist(previous_);
    const char* display = std::getenv("DISPLAY");
    std::string saved = display ? display : "";
    unsetenv("DISPLAY");
    std::string messages = Run("aw = new ActiveWindow(); aw(\"a\"); aw(\"b\")");
    if (display) setenv("DISPLAY", saved.c_str(), 1);
    EXPECT_EQ(messages, "ActiveWindow: No display to type into\n");
}
} // namespace
