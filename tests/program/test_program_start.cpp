// The program's start without its engine: a copy of lexora in a folder without
// libtalviklib.so says so and ends with exit code 1, before any window exists.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/TempFolder.h"

namespace {

class ProgramStart : public TempFolderTest {};

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

} // namespace
