// The console host talvik, run as a separate process against the built library:
// piped input through the console terminal, -e texts, script files, help, and a
// missing library.
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/EngineTest.h"

namespace {
struct HostRun {
    std::string out, err;
    int status = -1;
};

// Runs the host with shell-quoted arguments, input fed through a pipe. No library
// search path is passed on: the host finds the library beside itself or not at all.
HostRun RunHost(const std::string& arguments, const std::string& input,
                const std::string& host = TALVIK_HOST) {
    WriteFile("input.txt", input);
    std::string command =
        "cat input.txt | env -u LD_LIBRARY_PATH '" + host + "' " + arguments + " 2>stderr.txt";
    HostRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.out.append(buffer, n);
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = ReadFile("stderr.txt");
    return run;
}

struct HostCase {
    const char* name;
    const char* arguments;
    std::string input;
    std::string out;
    int status;
};

void PrintTo(const HostCase& c, std::ostream* os) {
    *os << c.name;
}

class HostTable : public EngineTest, public ::testing::WithParamInterface<HostCase> {};

TEST_P(HostTable, RunsScriptsThroughTheConsoleTerminal) {
    WriteFile("script", "y = 3;\r\nlist y\r\n");
    HostRun run = RunHost(GetParam().arguments, GetParam().input);
    EXPECT_EQ(run.out, GetParam().out);
    EXPECT_EQ(run.status, GetParam().status);
    EXPECT_EQ(run.err, "");
}

INSTANTIATE_TEST_SUITE_P(
    Runs, HostTable,
    ::testing::Values(HostCase{"TwoStatementsOnOneLine", "", "x = 5; list x\n", "> 5\r\n> ", 0},
                      HostCase{"LineOfBlanksRunsNothing", "", "   \n", "> > ", 0},
                      HostCase{"CrLfInput", "", "list 1\r\nlist 2\r\n", "> 1\r\n> 2\r\n> ", 0},
                      HostCase{"MessagesReachTheConsole", "", "list nothere\n",
                               "> Warning: 'nothere' not Found\r\n> ", 0},
                      HostCase{"ClosingBracketEndsTheLoop", "", ")\nlist 1\n", "> ", 0},
                      HostCase{"RawBytesOnAPipe", "", "list \"\xF5\"\n", "> \xF5\r\n> ", 0},
                      HostCase{"Text", "-e 'x = 7;list x'", "", "7\r\n", 0},
                      HostCase{"TextsInOrder", "-e 'x = 1' -e 'list x'", "", "1\r\n", 0},
                      HostCase{"InteractiveAfterTexts", "-e 'x = 2' -i", "list x\n", "> 2\r\n> ",
                               0},
                      HostCase{"ScriptFile", "script", "", "3\r\n", 0},
                      HostCase{"FileAfterText", "-e 'y = 1;list y' script", "", "1\r\n3\r\n", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EngineTest, HostListsTheRootAfterThePrompt) {
    // The start-up script mounts the working folder and starts the window thread.
    std::string startup = RootFolder()->Find("mnt", 3) ? "01 sys\r\n01 mnt\r\n" : "";
    HostRun run = RunHost("", "list root\n");
    // term: its member, the "log" and "out" exports, the running loop's hold on
    // itself, the hold of the statement term() that runs it, and the listing's
    // hold on "out".
    EXPECT_EQ(run.out, "> 06 term\r\n03 con\r\n" + startup +
                           "00 dev\r\n00 etc\r\n00 usr\r\n00 proc\r\n00 bin\r\n00 classes\r\n> ");
    EXPECT_EQ(run.status, 0);
}

TEST_F(EngineTest, HostShowsItsHelp) {
    HostRun run = RunHost("--help", "");
    EXPECT_EQ(run.out.rfind("usage: talvik", 0), 0u) << run.out;
    EXPECT_EQ(run.status, 0);
}

TEST_F(EngineTest, HostRefusesUnknownOptionsAndMissingFiles) {
    HostRun option = RunHost("-x", "");
    EXPECT_EQ(option.status, 1);
    EXPECT_EQ(option.err.rfind("talvik: unknown option -x", 0), 0u) << option.err;
    HostRun file = RunHost("nofile", "");
    EXPECT_EQ(file.status, 1);
    EXPECT_EQ(file.err.rfind("talvik: cannot read nofile", 0), 0u) << file.err;
}

TEST_F(EngineTest, HostWithoutItsLibrarySaysSoAndFails) {
    std::filesystem::create_directory("alone");
    std::filesystem::copy_file(TALVIK_HOST, "alone/talvik");
    std::filesystem::permissions("alone/talvik", std::filesystem::perms::owner_all);
    HostRun run = RunHost("-e 'x = 1'", "", "alone/talvik");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind("talvik: cannot load the engine library libtalviklib.so", 0), 0u)
        << run.err;
    EXPECT_EQ(run.out, "");
}
// The language's examples, run as a script file: ranges, for-lines, quoted names,
// number tokens, paths, warnings, listings, file append and run, wildcards, a
// module folder with Wait (which reads one line from the console) and help.
TEST_F(EngineTest, HostRunsTheExamplesScript) {
    std::string script = std::string(TALVIK_SCRIPTS) + "/examples";
    HostRun run = RunHost("'" + script + "'", "\n");
    EXPECT_EQ(run.out, ReadFile(script + ".out"));
    EXPECT_EQ(run.status, 0);
}
} // namespace

namespace {
// Every registered class, listed by the host through the class folder (newest first):
// all 92 of them.
TEST_F(EngineTest, HostListsEveryClass) {
    const char* expected[] = {"Directory",
                              "WinSys",
                              "File",
                              "Folder",
                              "Console",
                              "Terminal",
                              "HTTPTerminal",
                              "ActiveWindow",
                              "Service",
                              "Socket",
                              "ModuleFolder",
                              "Wait",
                              "DummySoundBuffer",
                              "Spectrum",
                              "WavFileIn",
                              "WavFileOut",
                              "WavOutput",
                              "MicIn",
                              "VoiceDetect",
                              "ConcatSB",
                              "PreEmpSB",
                              "SoundBufferCache",
                              "SpecTextIn",
                              "NormalizeFrames",
                              "NormalizeMap",
                              "NormalizeMeanDev",
                              "NormMeanDevBand",
                              "NormMeanDevBandFile",
                              "MeanSubsMap",
                              "CombineMaps",
                              "DummyMap",
                              "LineSpectrum",
                              "LobeIntegration",
                              "SBS",
                              "SBS_Bark",
                              "ANNEvaluator",
                              "EvalCache",
                              "EvalCache2",
                              "SimplePhonemes",
                              "Dictionary",
                              "NumberUnit",
                              "BandEnergyRect",
                              "BandEnergyTriang",
                              "MFCC",
                              "LPC",
                              "LPCcepstrum",
                              "LPCspectrum",
                              "LogMap",
                              "CubRMap",
                              "RastaMap",
                              "FeatureMap",
                              "FAGC",
                              "FBand",
                              "FDerivative",
                              "FNoiseGate",
                              "FNormMeanDevOnline",
                              "FRasta",
                              "FShortAdapt",
                              "FSMedian",
                              "FSum",
                              "FWSum",
                              "ACuesDump",
                              "ACBegin",
                              "ACDiff",
                              "ACDuration",
                              "ACEnd",
                              "ACMaxMin",
                              "ACMean",
                              "ACMiddle",
                              "ACModS",
                              "PQEngine",
                              "MPQEngine",
                              "CalcHeuristic",
                              "ANNClusters",
                              "FakeClusters",
                              "DatFile",
                              "SegmentTrain",
                              "CompareResult",
                              "CompareNumberResult",
                              "DatTravers",
                              "MakeWSP",
                              "StringFileOut",
                              "MapFileOut",
                              "MapOutForHTK",
                              "HTK_FBLE",
                              "FindPhoneme",
                              "ModifySoundBuffer",
                              "Window",
                              "TransWindow",
                              "MapDisplay",
                              "FeatureDisplay",
                              "HypothesisDisplay"};
    static_assert(std::size(expected) == 92);
    HostRun run = RunHost("-e '? classes'", "");
    std::string listing;
    for (auto it = std::rbegin(expected); it != std::rend(expected); ++it)
        listing += std::string("00 ") + *it + "\r\n";
    EXPECT_EQ(run.out, listing);
    EXPECT_EQ(run.status, 0);
}
} // namespace
