// Where lexora works: a build tree keeps working in its own folder; an installed
// program reads the installed data and writes records and screenshots into the user's
// data folder, which its first start makes, copying (never moving) the records an older
// lexora left elsewhere.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "media/LxFile.h"
#include "media/LxSaveFile.h"
#include "shell/LxPlaces.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class PlacesTest : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        WriteFile("prefix/share/lexora/data/lexora.xml", "installed");
        fs::create_directories("prefix/bin");
        bin_ = folder_ + "/prefix/bin";
        data_ = folder_ + "/prefix/share/lexora";
    }
    void TearDown() override {
        g_Places = LxPlaces{};
        CLxFile::SetRoots(".\\", "data\\");
        TempFolderTest::TearDown();
    }
    LxPlaces Installed(const char* xdg, const char* home) {
        return FindPlaces(bin_, "../share/lexora", folder_ + "/started", xdg, home);
    }

    std::string bin_, data_;
};

TEST_F(PlacesTest, ABuildTreeWorksInItsOwnFolder) {
    LxPlaces places = FindPlaces(folder_, "../share/lexora", folder_, nullptr, "/home/x");
    EXPECT_FALSE(places.installed);
    EXPECT_EQ(places.FirstRoot(), ".\\");
    EXPECT_EQ(places.SecondRoot(), "data\\");
    std::string said = "old";
    ASSERT_TRUE(EnterPlaces(places, &said));
    EXPECT_EQ(said, "");
    EXPECT_EQ(fs::current_path().string(), folder_); // no folder changed
}

struct UserFolderCase {
    const char* title;
    const char* xdg;
    const char* home;
    const char* user;               // below the test's folder; null: none can be told
    std::vector<std::string> older; // below the test's folder
};

class UserFolder : public PlacesTest, public ::testing::WithParamInterface<UserFolderCase> {};

TEST_P(UserFolder, ComesFromTheEnvironment) {
    const UserFolderCase& c = GetParam();
    std::string xdg = c.xdg ? folder_ + c.xdg : "", home = c.home ? folder_ + c.home : "";
    if (c.xdg && c.xdg[0] != '/') xdg = c.xdg; // a relative one, as it was given
    LxPlaces places = Installed(c.xdg ? xdg.c_str() : nullptr, c.home ? home.c_str() : nullptr);
    ASSERT_TRUE(places.installed);
    EXPECT_EQ(places.dataFolder, data_);
    EXPECT_EQ(places.userFolder, c.user ? folder_ + c.user : "");
    std::vector<std::string> older;
    for (const std::string& o : c.older)
        older.push_back(folder_ + o);
    EXPECT_EQ(places.olderFolders, older);
}

const UserFolderCase kUserFolders[] = {
    {"the default below HOME", nullptr, "/home", "/home/.local/share/lexora", {"/started"}},
    {"XDG_DATA_HOME when set; the default is then an older place",
     "/xdg",
     "/home",
     "/xdg/lexora",
     {"/started", "/home/.local/share/lexora"}},
    {"a trailing slash changes nothing",
     "/xdg/",
     "/home",
     "/xdg/lexora",
     {"/started", "/home/.local/share/lexora"}},
    {"a relative XDG_DATA_HOME is ignored",
     "rel",
     "/home",
     "/home/.local/share/lexora",
     {"/started"}},
    {"XDG_DATA_HOME without HOME", "/xdg", nullptr, "/xdg/lexora", {"/started"}},
    {"neither", nullptr, nullptr, nullptr, {}},
};

INSTANTIATE_TEST_SUITE_P(Environment, UserFolder, ::testing::ValuesIn(kUserFolders),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

TEST_F(PlacesTest, WithoutAnyUserFolderItSaysWhy) {
    std::string said;
    EXPECT_FALSE(EnterPlaces(Installed(nullptr, nullptr), &said));
    EXPECT_NE(said.find("HOME"), std::string::npos) << said;
}

TEST_F(PlacesTest, TheFirstStartMakesTheFoldersAndWorksInTheData) {
    LxPlaces places = Installed(nullptr, (folder_ + "/home").c_str());
    std::string said;
    ASSERT_TRUE(EnterPlaces(places, &said));
    EXPECT_EQ(said, ""); // no older records anywhere
    EXPECT_EQ(CopiedRecordsNotice(), "");
    for (const char* made : {"save/theraphy", "save/speech", "srceenshoots"})
        EXPECT_TRUE(fs::is_directory(places.userFolder + "/" + made)) << made;
    EXPECT_EQ(fs::current_path().string(), data_);
    EXPECT_TRUE(g_Places.installed);
}

// With the installed roots, data files come from the installed data and records go
// into the user's folder, nowhere else.
TEST_F(PlacesTest, DataIsReadFromTheInstalledFolderAndRecordsWrittenToTheUsers) {
    LxPlaces places = Installed(nullptr, (folder_ + "/home").c_str());
    std::string said;
    ASSERT_TRUE(EnterPlaces(places, &said));
    CLxFile::SetRoots(g_Places.FirstRoot().c_str(), g_Places.SecondRoot().c_str());

    CLxFile data;
    ASSERT_TRUE(data.Open("data\\lexora.xml"));
    char text[16] = {};
    EXPECT_EQ(data.Read(text, sizeof text), 9);
    EXPECT_STREQ(text, "installed");

    CLxSaveFile record("save\\settings.xml");
    record.Line("mine");
    ASSERT_TRUE(record.Commit());
    EXPECT_EQ(ReadFile(places.userFolder + "/save/settings.xml"), "mine\r\n");
    EXPECT_FALSE(fs::exists(data_ + "/save"));
    CLxFile back;
    EXPECT_TRUE(back.Open("save\\settings.xml"));
}

TEST_F(PlacesTest, TheFirstStartCopiesOlderRecordsAndKeepsThem) {
    WriteFile("started/save/theraphy/Anna/settings.xml", "anna");
    WriteFile("started/save/speech/alma.wav", "RIFF");
    std::string said;
    LxPlaces places = Installed(nullptr, (folder_ + "/home").c_str());
    ASSERT_TRUE(EnterPlaces(places, &said));

    EXPECT_NE(said.find(folder_ + "/started/save"), std::string::npos) << said;
    EXPECT_NE(said.find(places.userFolder + "/save"), std::string::npos) << said;
    EXPECT_EQ(ReadFile(places.userFolder + "/save/theraphy/Anna/settings.xml"), "anna");
    EXPECT_EQ(ReadFile(places.userFolder + "/save/speech/alma.wav"), "RIFF");
    EXPECT_EQ(ReadFile(folder_ + "/started/save/theraphy/Anna/settings.xml"), "anna");
    EXPECT_EQ(ReadFile(folder_ + "/started/save/speech/alma.wav"), "RIFF");

    // Later starts leave the user's folder to the user: nothing is copied again.
    WriteFile(folder_ + "/started/save/theraphy/Anna/settings.xml", "changed");
    WriteFile(folder_ + "/started/save/theraphy/Bence/settings.xml", "bence");
    ASSERT_TRUE(EnterPlaces(places, &said));
    EXPECT_EQ(said, "");
    EXPECT_EQ(ReadFile(places.userFolder + "/save/theraphy/Anna/settings.xml"), "anna");
    EXPECT_FALSE(fs::exists(places.userFolder + "/save/theraphy/Bence"));
}

// Records kept elsewhere behind a link named "save" are copied, not the link.
TEST_F(PlacesTest, AnOlderSaveThatIsALinkIsCopiedFromWhereItLeads) {
    WriteFile("stick/save/theraphy/Anna/settings.xml", "anna");
    fs::create_directories("started");
    fs::create_directory_symlink(folder_ + "/stick/save", "started/save");
    std::string said;
    LxPlaces places = Installed(nullptr, (folder_ + "/home").c_str());
    ASSERT_TRUE(EnterPlaces(places, &said));
    EXPECT_FALSE(fs::is_symlink(places.userFolder + "/save"));
    EXPECT_EQ(ReadFile(places.userFolder + "/save/theraphy/Anna/settings.xml"), "anna");
    EXPECT_NE(said.find(folder_ + "/stick/save"), std::string::npos) << said;
}

TEST_F(PlacesTest, TheDefaultFolderIsAnOlderPlaceWhenXdgDataHomeMoves) {
    WriteFile("home/.local/share/lexora/save/theraphy/Ödön/settings.xml", "ödön");
    WriteFile("started/save/other", "not records: no theraphy folder");
    std::string said;
    LxPlaces places = Installed((folder_ + "/xdg").c_str(), (folder_ + "/home").c_str());
    ASSERT_TRUE(EnterPlaces(places, &said));
    EXPECT_EQ(ReadFile(folder_ + "/xdg/lexora/save/theraphy/Ödön/settings.xml"), "ödön");
    EXPECT_FALSE(fs::exists(folder_ + "/xdg/lexora/save/other"));
    EXPECT_TRUE(fs::exists(folder_ + "/home/.local/share/lexora/save/theraphy/Ödön"));
}

// Records in both older places all come along; where both hold a file, the start
// folder's is taken, and both places are named.
TEST_F(PlacesTest, EveryOlderPlaceIsCopiedTheFirstOneWinning) {
    WriteFile("started/save/theraphy/Anna/settings.xml", "started");
    WriteFile("started/save/theraphy/words.html", "started words");
    WriteFile("home/.local/share/lexora/save/theraphy/Anna/settings.xml", "default");
    WriteFile("home/.local/share/lexora/save/theraphy/Bence/settings.xml", "bence");
    std::string said;
    LxPlaces places = Installed((folder_ + "/xdg").c_str(), (folder_ + "/home").c_str());
    ASSERT_TRUE(EnterPlaces(places, &said));
    EXPECT_EQ(ReadFile(folder_ + "/xdg/lexora/save/theraphy/Anna/settings.xml"), "started");
    EXPECT_EQ(ReadFile(folder_ + "/xdg/lexora/save/theraphy/Bence/settings.xml"), "bence");
    EXPECT_EQ(ReadFile(folder_ + "/xdg/lexora/save/theraphy/words.html"), "started words");
    EXPECT_NE(said.find(folder_ + "/started/save"), std::string::npos) << said;
    EXPECT_NE(said.find(folder_ + "/home/.local/share/lexora/save"), std::string::npos) << said;
    // The screen's notice is short: the home is "~".
    std::string notice = CopiedRecordsNotice();
    EXPECT_NE(notice.find(": " + folder_ + "/started/save, ~/.local/share/lexora/save"),
              std::string::npos)
        << notice;
}

TEST_F(PlacesTest, AUserFolderThatCannotBeMadeIsSaid) {
    WriteFile("home/.local/share", "a file where the folder should be");
    std::string said;
    EXPECT_FALSE(EnterPlaces(Installed(nullptr, (folder_ + "/home").c_str()), &said));
    EXPECT_NE(said.find(folder_ + "/home/.local/share/lexora"), std::string::npos) << said;
    EXPECT_FALSE(g_Places.installed);
}

} // namespace
