// Tests of engine-to-OS path conversion. Each test works inside a fresh temporary
// folder that is the working folder for the test and is removed afterwards; a case
// lists the entries to create (a trailing '/' makes a folder), an engine path and the
// OS path expected.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/Path.h"

namespace fs = std::filesystem;

namespace talvik {
namespace {

struct Case {
    std::vector<std::string> entries;
    std::string path;
    bool forReading;
    std::string expected;
};

// The UTF-8 and Latin-2 spellings of a Hungarian word with every long accent.
constexpr const char* kWordUtf8 = "\xC3\xA1rv\xC3\xADzt\xC5\xB1r\xC5\x91";
constexpr const char* kWordLatin2 = "\xE1rv\xEDzt\xFBr\xF5";

class PathTest : public testing::Test {
  protected:
    void SetUp() override {
        char folder[] = "/tmp/talvik-path-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        folder_ = folder;
        previous_ = fs::current_path();
        fs::current_path(folder_);
    }

    void TearDown() override {
        fs::current_path(previous_);
        fs::remove_all(folder_);
    }

    static void Create(const std::vector<std::string>& entries) {
        for (const std::string& entry : entries) {
            if (entry.back() == '/') {
                fs::create_directories(entry);
                continue;
            }
            fs::path file(entry);
            if (file.has_parent_path()) fs::create_directories(file.parent_path());
            std::ofstream(file) << "x";
        }
    }

    // Runs each case in an emptied working folder.
    void Check(const std::vector<Case>& cases) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::PrintToString(c.path));
            for (const fs::directory_entry& entry : fs::directory_iterator(folder_)) {
                fs::remove_all(entry.path());
            }
            Create(c.entries);
            EXPECT_EQ(OsPath(c.path, c.forReading), c.expected);
        }
    }

    std::string folder_;
    fs::path previous_;
};

TEST_F(PathTest, SpellingWithoutLookup) {
    Check({
        {{}, "", true, "."},
        {{}, "Data\\Sub\\File.txt", false, "Data/Sub/File.txt"},
        {{}, "a\\\\b//\\c", false, "a/b/c"},
        {{}, "Data\\", false, "Data/"},
        {{}, "/abs\\Path", false, "/abs/Path"},
        {{}, "\\\\abs", false, "/abs"},
        {{}, kWordLatin2, false, kWordUtf8},
        {{"data/file.txt"}, "Data\\File.txt", false, "Data/File.txt"},
    });
}

TEST_F(PathTest, CaseInsensitiveLookup) {
    Check({
        {{"data/sub/file.txt"}, "Data\\Sub\\File.txt", true, "data/sub/file.txt"},
        {{"data/sub/file.txt"}, "DATA\\\\SUB/FILE.TXT", true, "data/sub/file.txt"},
        {{"data/"}, "Data\\", true, "data/"},
        {{"Data/File.txt", "data/file.txt"}, "Data\\File.txt", true, "Data/File.txt"},
        {{"Data/File.txt", "data/file.txt"}, "data\\file.txt", true, "data/file.txt"},
        // The exact name wins component by component, even when it leads nowhere.
        {{"data/a.txt", "DATA/b.txt"}, "data\\B.txt", true, "data/B.txt"},
        // Without an exact name the first entry in byte order wins.
        {{"Data/f", "data/f"}, "DATA\\F", true, "Data/f"},
        {{kWordUtf8}, kWordLatin2, true, kWordUtf8},
        // Capital long accents fold onto the small letters.
        {{kWordUtf8}, "\xC1RV\xCDZT\xDBR\xD5", true, kWordUtf8},
        {{"\xC5\xBDsak.txt"}, "\xBESAK.TXT", true, "\xC5\xBDsak.txt"},
    });
}

TEST_F(PathTest, MissingComponentsPassThrough) {
    Check({
        {{}, "Nope\\File.txt", true, "Nope/File.txt"},
        {{"data/"}, "Data\\Missing\\File.txt", true, "data/Missing/File.txt"},
        {{"data/sub/"}, "Data\\Sub\\File.txt", true, "data/sub/File.txt"},
        {{"data/file.txt"}, "Data\\File.txt\\More", true, "data/file.txt/More"},
    });
}

TEST_F(PathTest, AbsolutePathsAreLookedUpFromTheRoot) {
    Create({"data/sub/file.txt"});
    std::string engine = EnginePath(folder_) + "\\DATA\\Sub\\FILE.TXT";
    EXPECT_EQ(OsPath(engine, true), folder_ + "/data/sub/file.txt");
    EXPECT_EQ(OsPath("/" + folder_, true), folder_);
}

TEST_F(PathTest, ListedNamesOpenAgain) {
    // The euro sign has no Latin-2 byte, so the engine sees and uses '?' in its place.
    const std::string names[] = {kWordUtf8, "\xE2\x82\xAC.txt", "na\xC3\xAFve"};
    for (const std::string& name : names) {
        Create({name});
        EXPECT_EQ(OsPath(EnginePath(name), true), name);
    }
}

TEST(EnginePath, Conversions) {
    const struct {
        std::string os;
        std::string engine;
    } cases[] = {
        {kWordUtf8, kWordLatin2},
        {"data/sub/file.txt", "data\\sub\\file.txt"},
        {"\xE2\x82\xAC", "?"},
        {"\xC5", "?"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EnginePath(c.os), c.engine) << c.os;
}

} // namespace
} // namespace talvik

TEST(PathParts, FolderOfAndReplaceExtension) {
    const struct {
        const char* path;
        const char* folder;
        const char* wav; // with ".wav" for its extension
    } cases[] = {
        {"data\\fonts\\tnr.xml", "data\\fonts\\", "data\\fonts\\tnr.wav"},
        {"tnr.xml", "", "tnr.wav"},
        {"tnr", "", "tnr.wav"},
        {"", "", ".wav"},
        {"data/rec/a.b.c", "data/rec/", "data/rec/a.wav"},
        {"da.ta\\rec", "da.ta\\", "da.ta\\rec.wav"},
        {"data\\", "data\\", "data\\.wav"},
        {".\\x.xml", ".\\", ".\\x.wav"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(talvik::FolderOf(c.path), c.folder);
        EXPECT_EQ(talvik::ReplaceExtension(c.path, ".wav"), c.wav);
    }
}
