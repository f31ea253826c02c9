// The program's start without what it needs: a copy of lexora in a folder without
// libtalviklib.so, the program without its main screen's description, or without a
// display for its window, or installed for a user it cannot find a data folder for,
// says what is missing and ends with exit code 1.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/TempFolder.h"

namespace {

class ProgramStart : public TempFolderTest {
  protected:
    // Runs command in the test's folder; its exit code, with standard error in *err.
    static int Run(const std::string& command, std::string* err) {
        int status = std::system((command + " 2>err.txt >out.txt").c_str());
        FILE* f = std::fopen("err.txt", "r");
        char text[1024] = {};
        size_t n = f ? std::fread(text, 1, sizeof text - 1, f) : 0;
        if (f) std::fclose(f);
        err->assign(text, n);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

struct MissingCase {
    const char* name;
    const char* environment;
    const char* files; // made in the working folder first
    const char* said;
};

class ProgramMissing : public ProgramStart, public ::testing::WithParamInterface<MissingCase> {};

// The autopilot (an empty script here) keeps the message box away, as in every
// unattended run.
TEST_P(ProgramMissing, SaysWhatAndEndsWithCode1) {
    ASSERT_EQ(std::system(GetParam().files), 0);
    std::string err;
    EXPECT_EQ(Run(std::string("env ") + GetParam().environment +
                      " LEXORA_AUTOPILOT=/dev/null SDL_AUDIODRIVER=dummy "
                      "ASAN_OPTIONS=detect_leaks=0 '" +
                      LEXORA_PROGRAM + "'",
                  &err),
              1);
    EXPECT_NE(err.find(GetParam().said), std::string::npos) << err;
}

INSTANTIATE_TEST_SUITE_P(
    Start, ProgramMissing,
    ::testing::Values(MissingCase{"main_screen", "SDL_VIDEODRIVER=dummy", "true", "lexora.xml"},
                      MissingCase{"display", "-u DISPLAY SDL_VIDEODRIVER=x11",
                                  "mkdir data && echo '<Lexo/>' > data/lexora.xml", "ablaka"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProgramStart, WithoutTheEngineItSaysSoAndEndsWithCode1) {
    ASSERT_EQ(std::system(("cp '" + std::string(LEXORA_PROGRAM) + "' lexora").c_str()), 0);
    // No display and no library path: the default search cannot find the engine either.
    std::string command =
        "env -u LD_LIBRARY_PATH SDL_VIDEODRIVER=dummy ASAN_OPTIONS=detect_leaks=0 "
        "./lexora 2>err.txt >out.txt";
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    FILE* f = std::fopen("err.txt", "r");
    ASSERT_NE(f, nullptr);
    char text[256] = {};
    size_t n = std::fread(text, 1, sizeof text - 1, f);
    std::fclose(f);
    EXPECT_NE(std::string(text, n).find("libtalviklib.so"), std::string::npos) << text;
}

// An installed copy (bin beside share/lexora/data) with neither HOME nor XDG_DATA_HOME
// has nowhere to keep records: it says so before it loads anything.
TEST_F(ProgramStart, InstalledWithoutAHomeItSaysSoAndEndsWithCode1) {
    ASSERT_EQ(std::system(("mkdir -p bin share/lexora/data && cp '" + std::string(LEXORA_PROGRAM) +
                           "' bin/lexora")
                              .c_str()),
              0);
    std::string err;
    EXPECT_EQ(Run("env -u HOME -u XDG_DATA_HOME LEXORA_AUTOPILOT=/dev/null "
                  "SDL_VIDEODRIVER=dummy ASAN_OPTIONS=detect_leaks=0 bin/lexora",
                  &err),
              1);
    EXPECT_NE(err.find("HOME"), std::string::npos) << err;
}

} // namespace
