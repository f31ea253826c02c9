// Saving through a temporary file: a save that cannot be written keeps the old file,
// leaves no temporary behind and is reported, in Hungarian, to the window's notice.
#include <filesystem>
#include <fstream>
#include <iterator>

#include "media/LxFile.h"
#include "media/LxSaveFile.h"
#include "support/TempFolder.h"

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string g_notice;

class SaveFileTest : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        CLxFile::SetRoots(".\\", "data\\");
        g_notice.clear();
        g_pfnSaveFailed = [](const std::string& text) { g_notice = text; };
    }
    void TearDown() override {
        g_pfnSaveFailed = nullptr;
        TempFolderTest::TearDown();
    }
};

TEST_F(SaveFileTest, WrittenFileReplacesTheOldOne) {
    std::ofstream("record") << "old";
    CLxSaveFile file("record");
    file.Line("new");
    EXPECT_TRUE(file.Commit());
    EXPECT_EQ(ReadFile("record"), "new\r\n");
    EXPECT_FALSE(std::filesystem::exists("record.tmp"));
    EXPECT_EQ(g_notice, "");
}

// Root may write anywhere, so the failure is made by a folder where the temporary file
// would go (the same as a read-only or full save folder to the code).
TEST_F(SaveFileTest, FailedSaveKeepsTheOldFileAndTellsTheUser) {
    std::ofstream("record") << "old";
    std::filesystem::create_directory("record.tmp");
    CLxSaveFile file("record");
    file.Line("new");
    EXPECT_FALSE(file.Commit());
    EXPECT_EQ(ReadFile("record"), "old");
    EXPECT_EQ(g_notice.rfind("Nem sikerült menteni: record (", 0), 0u) << g_notice;
}

TEST_F(SaveFileTest, MissingFolderIsReported) {
    CLxSaveFile file("nowhere\\record");
    EXPECT_FALSE(file.IsOpen());
    EXPECT_FALSE(file.Commit());
    EXPECT_NE(g_notice.find("nowhere\\record"), std::string::npos);
}

} // namespace
