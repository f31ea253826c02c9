// The words list page: five cells a row with padding, reading back, and a missing file.
#include <filesystem>
#include <fstream>
#include <iterator>

#include "media/LxFile.h"
#include "reading/LxLetters.h"
#include "shell/LxWords.h"
#include "support/TempFolder.h"

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class WordsTest : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        CLxFile::SetRoots(".\\", "data\\");
        std::filesystem::create_directories("save/theraphy");
    }
    void TearDown() override {
        g_nWords = 0;
        TempFolderTest::TearDown();
    }
    static void SetWords(const std::vector<std::string>& words) {
        g_nWords = 0;
        for (const std::string& w : words)
            std::snprintf(g_aWords[g_nWords++], kWordBytes, "%s", TextToCodes(w.c_str()).c_str());
    }
};

TEST_F(WordsTest, SevenWordsMakeTwoRowsWithPadding) {
    SetWords({"alma", "csiga", "szék", "zsák", "ősz", "cica", "répa"});
    ASSERT_TRUE(SaveWords());
    std::string page = ReadFile("save/theraphy/words.html");
    EXPECT_EQ(page.find("<!DOCTYPE HTML PUBLIC"), 0u);
    EXPECT_NE(page.find("<H3>Szavak a beszédjavítás-terápia hangfejlesztés moduljához</H3>\r\n"),
              std::string::npos);
    EXPECT_NE(page.find("<TR>\r\n\t<TD>alma</TD><TD>csiga</TD><TD>szék</TD><TD>zsák</TD>"
                        "<TD>ősz</TD>\r\n</TR>\r\n<TR>\r\n\t<TD>cica</TD><TD>répa</TD>"
                        "<TD>&nbsp;</TD><TD>&nbsp;</TD><TD>&nbsp;</TD>\r\n</TR>\r\n"
                        "</TABLE>\r\n</BODY>\r\n</HTML>"),
              std::string::npos);
    EXPECT_EQ(page.substr(page.size() - 7), "</HTML>");

    g_nWords = 0;
    ASSERT_TRUE(LoadWords());
    ASSERT_EQ(g_nWords, 7);
    EXPECT_EQ(std::string(g_aWords[1]), TextToCodes("csiga"));
    EXPECT_EQ(std::string(g_aWords[6]), TextToCodes("répa"));
}

TEST_F(WordsTest, CellsAreCutAndCounted) {
    std::string page = "<TD>" + std::string(100, 'x') + "</TD><TD>&nbsp;</TD>";
    for (int i = 0; i < 300; ++i)
        page += "<TD>w</TD>";
    page += "<TD>open";
    WriteFile("save/theraphy/words.html", page);
    ASSERT_TRUE(LoadWords());
    EXPECT_EQ(g_nWords, kMaxWords);
    EXPECT_EQ(std::string(g_aWords[0]), std::string(kWordBytes - 1, 'x'));
    EXPECT_STREQ(g_aWords[1], "w");
}

TEST_F(WordsTest, MissingFileLeavesTheListEmpty) {
    SetWords({"alma"});
    EXPECT_FALSE(LoadWords());
    EXPECT_EQ(g_nWords, 0);
}

} // namespace
