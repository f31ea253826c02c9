// A fixture for the program's tests: each test runs in a fresh temporary working folder
// that is removed afterwards. Helpers write loose files and small zip archives there.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

class TempFolderTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    std::string folder_;
    std::string previous_;
};

// One member of a zip archive written by WriteZip.
struct ZipMember {
    std::string name; // as stored, with slashes
    std::string content;
    bool deflate = false;
};

// Writes a file below the current working folder, creating its folders.
void WriteFile(const std::string& path, const std::string& content);
// Writes a zip archive with minizip's writer; false when it could not be written.
bool WriteZip(const std::string& path, const std::vector<ZipMember>& members);
