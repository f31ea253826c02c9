// Directories and files seen from scripts: lookups that reach the disk and are
// cached, incremental reading, appending, running files as scripts, listings.
#include <gtest/gtest.h>

#include <cmath>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "Folder.h"
#include "Input.h"
#include "Number.h"
#include "core/EngineLock.h"
#include "core/File.h"
#include "core/StringInput.h"
#include "support/EngineTest.h"

namespace {
// Every test mounts its own working folder, so nothing cached by an earlier test
// (in another temporary folder) answers for it.
class FilesTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        Run("mnt = new Directory(\"\")");
    }

    bool RootHas(const char* name) {
        return RootFolder()->PlainMembers().Lookup(name, static_cast<int>(strlen(name)));
    }
};

std::string Chunk(Input* input) {
    int length = 0, kind = 0;
    const char* text = input->Read(&length, &kind);
    if (!text) return "<none>";
    EXPECT_EQ(kind, 103);
    EXPECT_EQ(text[length], 0) << "chunks are NUL-terminated";
    return std::string(text, length);
}

TEST_F(FilesTest, ScriptRunsInTheCallersContext) {
    WriteFile("data/hello", "hello_x = 5;\r\n");
    Run("hello_f = new Folder; hello_f { root.mnt.data.hello() }");
    EXPECT_EQ(NumberAt("hello_f.hello_x"), 5);
    EXPECT_FALSE(RootHas("hello_x"));
}

TEST_F(FilesTest, SecondRunReusesCacheAndRereadsWholeFile) {
    WriteFile("data/hello", "hello_x = 5;\r\n");
    EXPECT_EQ(Run("mnt.data.hello()"), "");
    EXPECT_EQ(NumberAt("hello_x"), 5);
    Interface* data = Member("mnt.data");
    Interface* hello = Member("mnt.data.hello");
    Run("hello_x = 0");
    Run("mnt.data.hello()");
    EXPECT_EQ(NumberAt("hello_x"), 5);
    EXPECT_EQ(Member("mnt.data"), data);
    EXPECT_EQ(Member("mnt.data.hello"), hello);

    auto* folder = QueryInterface<Folder>(data, "Folder");
    ASSERT_TRUE(folder);
    EXPECT_STREQ(folder->Name(), "data");
    folder->Release();
    folder = QueryInterface<Folder>(Member("mnt"), "Folder");
    EXPECT_STREQ(folder->Name(), "mnt");
    folder->Release();
}

TEST_F(FilesTest, CallValueIsTheLastStatementsValue) {
    WriteFile("data/two", "last_a = 1;\r\nlast_b = 2");
    Interface* value = Evaluate("mnt.data.two()");
    EXPECT_EQ(value, Member("last_b"));
}

TEST_F(FilesTest, ReadDeliversOnlyNewTextAndRewindDeliversAll) {
    WriteFile("data/notes", "one\n");
    EngineGuard guard;
    auto* notes = QueryInterface<Input>(Member("mnt.data.notes"), "Input");
    ASSERT_TRUE(notes);
    EXPECT_EQ(Chunk(notes), "one\n");
    EXPECT_EQ(Chunk(notes), "<none>");
    Run("mnt.data.notes(\"two\")");
    EXPECT_EQ(Chunk(notes), "two\n");
    EXPECT_EQ(Chunk(notes), "<none>");
    notes->Rewind();
    EXPECT_EQ(Chunk(notes), "one\ntwo\n");
    // A file rewritten shorter than what was delivered is read from its start.
    WriteFile("data/notes", "x");
    EXPECT_EQ(Chunk(notes), "x");
    notes->Release();
}

TEST_F(FilesTest, AppendCreatesMissingFileWhichIsFoundLater) {
    WriteFile("data/keep", "");
    EXPECT_EQ(Run("list mnt.data.fresh"),
              "File error during opening file data/fresh: No such file or directory\n");
    Run("mnt.data.fresh(\"line\")");
    EXPECT_EQ(ReadFile("data/fresh"), "line\n");
    EXPECT_EQ(Run("list mnt.data.fresh"), "line\n\n");
}

TEST_F(FilesTest, MissingFileReportsTheOpeningError) {
    EXPECT_EQ(Run("list mnt.nothere"),
              "File error during opening file nothere: No such file or directory\n");
    EXPECT_EQ(Run("mnt.nothere()"),
              "File error during opening file nothere: No such file or directory\n");
}

// What a file run as a script may be instead of a script: each ends with a message
// and the engine goes on.
struct HostileFileCase {
    const char* name;
    const char* script;  // run in the working folder, after the file was made
    const char* printed; // the start of what it prints
};

class HostileFiles : public FilesTest, public ::testing::WithParamInterface<HostileFileCase> {};

TEST_P(HostileFiles, EndWithAMessage) {
    WriteFile("nul", std::string("nul_a = 1;\0nul_b = 2;\nnul_c = 3;\n", 33));
    std::filesystem::create_directory("dir");
    mkfifo("fifo", 0600);
    WriteFile("self", "mnt.self()\n");
    WriteFile("big", "");
    std::filesystem::resize_file("big", File::kMaxSize + 1);
    std::string printed = Run(GetParam().script);
    EXPECT_EQ(printed.substr(0, strlen(GetParam().printed)), GetParam().printed) << printed;
    EXPECT_EQ(Run("list 1"), "1\n") << "the engine still answers";
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, HostileFiles,
    ::testing::Values(
        // A NUL ends the text: what follows it is not run, and nothing spins.
        HostileFileCase{"nul", "mnt.nul(); list nul_a; list nul_c",
                        "1\nWarning: 'nul_c' not Found\n"},
        HostileFileCase{"device", "mnt.'/dev/zero'()",
                        "File error during opening file /dev/zero: Invalid argument\n"},
        HostileFileCase{"fifo", "mnt.fifo()",
                        "File error during opening file fifo: Invalid argument\n"},
        HostileFileCase{"directory", "mnt.dir()", ""},
        HostileFileCase{"big", "mnt.big()", "File error during opening file big: File too large\n"},
        HostileFileCase{"self", "mnt.self()", "Warning: script nested too deeply\n"}),
    [](const auto& info) { return std::string(info.param.name); });

struct WildcardCase {
    const char* pattern;
    const char* file; // the file that the pattern reaches
};

class Wildcards : public FilesTest, public ::testing::WithParamInterface<WildcardCase> {};

TEST_P(Wildcards, TakeFirstSortedMatchAndCacheItUnderThePattern) {
    for (const char* name : {"b1.wav", "a2.wav", "A0.WAV", "a1.wav"})
        WriteFile(std::string("data/") + name, "");
    std::string lookup = std::string("mnt.data.'") + GetParam().pattern + "'";
    Run(lookup + "(\"first\")");
    EXPECT_EQ(ReadFile(std::string("data/") + GetParam().file), "first\n");
    // A file that sorts before the match appears; the cached match still answers.
    Interface* cached = Member(lookup.c_str());
    WriteFile("data/0.wav", "");
    WriteFile("data/00", "");
    EXPECT_EQ(Member(lookup.c_str()), cached);
    Run(lookup + "(\"second\")");
    EXPECT_EQ(ReadFile(std::string("data/") + GetParam().file), "first\nsecond\n");
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, Wildcards,
    ::testing::Values(WildcardCase{"a*.wav", "a1.wav"}, WildcardCase{"*.wav", "a1.wav"},
                      WildcardCase{"?2.wav", "a2.wav"}, WildcardCase{"*.WAV", "A0.WAV"},
                      WildcardCase{"B*", "b1.wav"}, WildcardCase{"*", "A0.WAV"}));

TEST_F(FilesTest, ListingShowsTheDiskSortedWithDotsAsZeroCounts) {
    WriteFile("b", "");
    WriteFile("a", "");
    std::filesystem::create_directory("d");
    const char* expected = "00 .\n00 ..\n00 a\n00 b\n00 d\n";
    EXPECT_EQ(Run("list mnt"), expected);
    EXPECT_EQ(Run("list mnt"), expected);
    EXPECT_EQ(Run("list mnt.d"), "00 .\n00 ..\n");
}

// Without a carriage return or semicolon the two lines are one statement, which
// stores le_b and gives its value to le_a. (The first line assigns a stored number:
// a literal there would be dropped unfreed by the joined statement.)
struct LineEndCase {
    const char* script;
    double a;
};

class LineEnds : public FilesTest, public ::testing::WithParamInterface<LineEndCase> {};

TEST_P(LineEnds, CarriageReturnOrSemicolonEndsAStatement) {
    Run("le_a = 0; le_b = 0; le_one = 1");
    WriteFile("data/ends", GetParam().script);
    Run("mnt.data.ends()");
    EXPECT_EQ(NumberAt("le_a"), GetParam().a);
    EXPECT_EQ(NumberAt("le_b"), 2);
}

INSTANTIATE_TEST_SUITE_P(Scripts, LineEnds,
                         ::testing::Values(LineEndCase{"le_a = le_one\r\nle_b = 2\r\n", 1},
                                           LineEndCase{"le_a = le_one;\nle_b = 2;\n", 1},
                                           LineEndCase{"le_a = le_one\nle_b = 2\n", 2}));

TEST_F(FilesTest, LongPathsAreKeptWhole) {
    std::string folder = std::string(40, 'd') + "/" + std::string(40, 'e');
    std::string name(70, 'f');
    std::filesystem::create_directories(folder);
    Run("long_d = new Directory(\"" + folder + "\")");
    Run("long_d.'" + name + "'(\"kept\")");
    EXPECT_EQ(ReadFile(folder + "/" + name), "kept\n");
    EXPECT_EQ(Run("list long_d"), "00 .\n00 ..\n00 " + name + "\n");
    Run("long_f = new File(\"" + folder + "/" + name + "\"); long_f(\"again\")");
    EXPECT_EQ(ReadFile(folder + "/" + name), "kept\nagain\n");
}

TEST_F(FilesTest, PathsLongerThanTheOsAllowsAreRefused) {
    std::string path(File::kMaxPath + 1, 'p');
    RootFolder()->Set("too_long", 8, new StringInput(path), 0);
    std::string error =
        "File error during opening file " + path.substr(0, 100) + "...: File name too long\n";
    for (const char* script : {"too_d = new Directory(too_long)", "too_f = new File(too_long)"}) {
        std::string out = Run(script);
        EXPECT_EQ(out.substr(0, error.size()), error) << script;
    }
    EXPECT_FALSE(RootHas("too_d"));
    EXPECT_FALSE(RootHas("too_f"));
    RootFolder()->Set("too_long", 8, nullptr, 0);
}

TEST_F(FilesTest, NameWithASlashStaysInsideItsFolder) {
    WriteFile("data/log", "");
    Run("mnt.data/log(\"x\")");
    Run("mnt.DATA/LOG(\"y\")");
    EXPECT_EQ(ReadFile("data/log"), "x\ny\n");
    EXPECT_FALSE(std::filesystem::exists("log"));
    EXPECT_FALSE(std::filesystem::exists("LOG"));
}

TEST_F(FilesTest, ScriptMayReadItsOwnFileWhileRunning) {
    const std::string script = "list root.mnt.data.self\r\nself_after = 1\r\n";
    WriteFile("data/self", script);
    EXPECT_EQ(Run("mnt.data.self()"), script + "\n");
    EXPECT_EQ(NumberAt("self_after"), 1);
}

// The file's last owner lets go of it while the file is working: inside the script,
// or in the call's own argument, before the file appends or runs.
struct DropCase {
    const char* script;
    const char* content; // data/drop afterwards
};

class DropsItsOwnFile : public FilesTest, public ::testing::WithParamInterface<DropCase> {};

TEST_P(DropsItsOwnFile, FileWorksToTheEnd) {
    const char* script = "root.mnt.data.drop = 0\r\ndrop_after = 2\r\n";
    WriteFile("data/drop", script);
    Run("drop_after = 0");
    Run(GetParam().script);
    EXPECT_EQ(NumberAt("drop_after"), 2);
    EXPECT_EQ(ReadFile("data/drop"), std::string(script) + GetParam().content);
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, DropsItsOwnFile,
    ::testing::Values(DropCase{"mnt.data.drop()", ""},
                      DropCase{"mnt.data.drop(mnt.data.drop = 0)", ""},
                      DropCase{"mnt.data.drop(mnt.data.drop = \"line\"); drop_after = 2",
                               "line\n"}));

TEST_F(FilesTest, FileClassTakesOneParenthesisedPath) {
    Run("made_f = new File(\"made\"); made_f(\"z\")");
    EXPECT_EQ(ReadFile("made"), "z\n");
    Run("made_g = new File;");
    EXPECT_FALSE(RootHas("made_g"));
}
} // namespace
