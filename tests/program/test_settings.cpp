// Settings files: the exact written form, a full round trip, what a load reports, the
// caps that keep hand-edited files inside the tables, and the child's paths.
#include <filesystem>
#include <fstream>
#include <iterator>

#include "media/LxFile.h"
#include "reading/LxLetters.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxSettings.h"
#include "shell/LxUserRecords.h"
#include "support/TempFolder.h"

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SettingsTest : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        CLxFile::SetRoots(".\\", "data\\");
        std::filesystem::create_directories("save/theraphy/abc");
        ResetSettings();
    }
};

const char kDefaultFile[] =
    "<Lexo>\r\n"
    "<globals volume = \"-1\" min = \"0.002\" max = \"0.750\"/>\r\n"
    "<recogniser useminlevel = \"n\"/>\r\n"
    "<user icon = \"0\"/>\r\n"
    "<theraphyGame1 speed = \"100\"/>\r\n"
    "<theraphyGame2 game = \"4\" time = \"16\" level = \"32\" positions = "
    "\"230,220,210,200\"/>\r\n"
    "<theraphyGame3 high = \"100\" speed = \"30\"/>\r\n"
    "<theraphyGame5 split = \"0.780,0.600\" time = \"30\"/>\r\n"
    "<theraphyGame6 high = \"100\" norm = \"0.750,0.600\" speed = \"100\"/>\r\n"
    "<theraphy3 group = \"zs1\" pictures = \"0,1,2\"/>\r\n"
    "<theraphy4 sentence = \"0\"/>\r\n"
    "</Lexo>";

TEST_F(SettingsTest, DefaultsAreWrittenInTheFileFormat) {
    ASSERT_TRUE(SaveSettings(nullptr));
    EXPECT_EQ(ReadFile("save/settings.xml"), kDefaultFile);
    EXPECT_FALSE(std::filesystem::exists("save/settings.xml.tmp"));
}

TEST_F(SettingsTest, EveryValueSurvivesAChildsRoundTrip) {
    LxSettings& s = g_Settings;
    s = {true,
         7,
         55,
         1,
         2,
         3,
         {9, 8, 7, 6},
         44,
         33,
         {0.5f, 0.25f},
         12,
         66,
         {0.125f, 0.375f},
         77,
         "sz2",
         {5, 6, 7},
         11};
    g_Driver.fMinLevel = 0.125f;
    g_Driver.fMaxLevel = 0.5f;
    std::snprintf(g_aUserSentences[0], kSentenceBytes, "%s", TextToCodes("Ez cica.").c_str());
    std::snprintf(g_aUserSentences[5], kSentenceBytes, "%s", TextToCodes("Szép ősz.").c_str());
    ASSERT_TRUE(SaveSettings("abc"));
    std::string file = ReadFile("save/theraphy/abc/settings.xml");
    EXPECT_NE(file.find("<globals volume = \"-1\" min = \"0.125\" max = \"0.500\"/>"),
              std::string::npos);
    EXPECT_NE(file.find("<sentence5 text =\"Szép ősz.\"/>"), std::string::npos);

    ResetSettings();
    ASSERT_TRUE(LoadSettings("abc"));
    EXPECT_TRUE(s.bUseMinLevel);
    EXPECT_EQ(s.nIcon, 7);
    EXPECT_EQ(s.nGame1Speed, 55);
    EXPECT_EQ((std::vector<int>{s.nGame2Game, s.nGame2Time, s.nGame2Level}),
              (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(std::vector<int>(s.aGame2Positions, s.aGame2Positions + 4),
              (std::vector<int>{9, 8, 7, 6}));
    EXPECT_EQ(s.nGame3High, 44);
    EXPECT_EQ(s.nGame3Speed, 33);
    EXPECT_FLOAT_EQ(s.aGame5Split[0], 0.5f);
    EXPECT_FLOAT_EQ(s.aGame5Split[1], 0.25f);
    EXPECT_EQ(s.nGame5Time, 12);
    EXPECT_EQ(s.nGame6High, 66);
    EXPECT_FLOAT_EQ(s.aGame6Norm[0], 0.125f);
    EXPECT_FLOAT_EQ(s.aGame6Norm[1], 0.375f);
    EXPECT_EQ(s.nGame6Speed, 77);
    EXPECT_STREQ(s.szTherapy3Group, "sz2");
    EXPECT_EQ(std::vector<int>(s.aTherapy3Pictures, s.aTherapy3Pictures + 3),
              (std::vector<int>{5, 6, 7}));
    EXPECT_EQ(s.nTherapy4Sentence, 11);
    EXPECT_FLOAT_EQ(g_Driver.fMinLevel, 0.125f);
    EXPECT_FLOAT_EQ(g_Driver.fMaxLevel, 0.5f);
    EXPECT_EQ(std::string(g_aUserSentences[0]), TextToCodes("Ez cica."));
    EXPECT_EQ(std::string(g_aUserSentences[5]), TextToCodes("Szép ősz."));
    EXPECT_EQ(g_aUserSentences[1][0], 0);
}

struct LoadCase {
    const char* title;
    const char* file;
    bool result;
    int icon;
    bool useMinLevel;
    int pictures0;
};

const LoadCase kLoads[] = {
    {"only a user tag", "<Lexo><user icon = \"3\"/></Lexo>", true, 3, false, 0},
    {"recogniser without its flag", "<recogniser/><user icon = \"4\"/>", false, 4, false, 0},
    {"two pictures", "<theraphy3 group = \"s1\" pictures = \"8,9\"/><user icon=\"5\"/>", false, 5,
     false, 8},
    {"flag beginning with i", "<recogniser useminlevel = \"igen\"/>", true, 0, true, 0},
    {"flag of another letter", "<recogniser useminlevel = \"yes\"/>", true, 0, false, 0},
    {"theraphy3 without group", "<theraphy3 pictures = \"1,2,3\"/>", false, 0, false, 1},
    {"unknown tags and comments", "<!-- <user icon=\"9\"/> --><other a=\"1\"/>", true, 0, false, 0},
};

TEST_F(SettingsTest, LoadReportsMissingValuesAndKeepsWhatWasRead) {
    for (const LoadCase& c : kLoads) {
        ResetSettings();
        WriteFile("save/settings.xml", c.file);
        EXPECT_EQ(LoadSettings(nullptr), c.result) << c.title;
        EXPECT_EQ(g_Settings.nIcon, c.icon) << c.title;
        EXPECT_EQ(g_Settings.bUseMinLevel, c.useMinLevel) << c.title;
        EXPECT_EQ(g_Settings.aTherapy3Pictures[0], c.pictures0) << c.title;
    }
}

TEST_F(SettingsTest, MissingFileChangesNothing) {
    g_Settings.nIcon = 6;
    EXPECT_FALSE(LoadSettings("nobody"));
    EXPECT_EQ(g_Settings.nIcon, 6);
    EXPECT_FLOAT_EQ(g_Driver.fMinLevel, 0.002f);
}

TEST_F(SettingsTest, SentenceTagsOutsideTheSixOrEmptyAreIgnored) {
    std::snprintf(g_aUserSentences[3], kSentenceBytes, "keep");
    WriteFile("save/settings.xml", "<sentence7 text =\"seven\"/><sentence3 text =\"\"/>"
                                   "<sentence2 text =\"Csacsi.\"/>");
    EXPECT_TRUE(LoadSettings(nullptr));
    EXPECT_STREQ(g_aUserSentences[3], "keep");
    EXPECT_EQ(std::string(g_aUserSentences[2]), TextToCodes("Csacsi."));
    for (int n : {0, 1, 4, 5})
        EXPECT_EQ(g_aUserSentences[n][0], 0) << n;
}

// Hand-edited files may hold more than the tables take: nothing is written past them.
TEST_F(SettingsTest, OverlongValuesStayInsideTheirTables) {
    std::string sentence(600, 'a');
    WriteFile("save/settings.xml",
              "<theraphyGame2 game=\"1\" time=\"2\" level=\"3\" positions=\"1,2,3,4,5,6\"/>"
              "<theraphy3 group = \"abcdefghij\" pictures = \"4,5,6,7\"/>"
              "<sentence1 text =\"" +
                  sentence + "\"/>");
    EXPECT_FALSE(LoadSettings(nullptr));
    EXPECT_EQ(std::vector<int>(g_Settings.aGame2Positions, g_Settings.aGame2Positions + 4),
              (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(std::vector<int>(g_Settings.aTherapy3Pictures, g_Settings.aTherapy3Pictures + 3),
              (std::vector<int>{4, 5, 6}));
    EXPECT_STREQ(g_Settings.szTherapy3Group, "abcdefg");
    EXPECT_EQ(std::string(g_aUserSentences[1]), std::string(kSentenceBytes - 1, 'a'));
}

// A group of a three-character letter with its number is whole after a round trip.
TEST_F(SettingsTest, LongestFixationGroupNameFits) {
    std::snprintf(g_Settings.szTherapy3Group, sizeof g_Settings.szTherapy3Group, "dzs1");
    ASSERT_TRUE(SaveSettings(nullptr));
    ResetSettings();
    ASSERT_TRUE(LoadSettings(nullptr));
    EXPECT_STREQ(g_Settings.szTherapy3Group, "dzs1");
}

TEST_F(SettingsTest, UnwritableFileGivesFalseAndLeavesNoTemporary) {
    EXPECT_FALSE(SaveSettings("no such child"));
    EXPECT_FALSE(std::filesystem::exists("save/theraphy/no such child"));
}

TEST(UserRecords, TaskValueDefaults) {
    ResetTaskValues();
    EXPECT_EQ(g_aTaskValues[0], 30);
    for (int i = 1; i < kTaskValues; ++i)
        EXPECT_EQ(unsigned(g_aTaskValues[i]), 0x80000046u) << i;
}

TEST(UserRecords, UserPathsBySelector) {
    const struct {
        const char* user;
        int selector;
        const char* path;
    } cases[] = {
        {"abc", -2, "save\\theraphy\\abc"},
        {"abc", -1, "save\\theraphy\\abc\\history.html"},
        {"abc", 0, "save\\theraphy\\abc\\settings.xml"},
        {"abc", 20110307, "save\\theraphy\\abc\\2011.03.07\\"},
        {"Kő Ádám", -2, "save\\theraphy\\Köö Ádám"},
        // Typed names never leave the save folder.
        {"..", 0, ""},
        {"a\\..\\b", -2, "save\\theraphy\\a_.._b"},
        {"../x", -2, "save\\theraphy\\.._x"},
        {"c:/w", -2, "save\\theraphy\\c__w"},
    };
    for (const auto& c : cases) {
        char out[256];
        std::string codes = TextToCodes(c.user);
        EXPECT_STREQ(MakeUserPath(out, codes.c_str(), c.selector), c.path) << c.user;
    }
}

} // namespace
