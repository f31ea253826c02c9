// The words list page: five cells a row with padding, reading back, and a missing file;
// pages written by editors and words the list cannot hold survive a load and a save.
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

// What the list cannot hold (an over-long word, words beyond 256) is kept as it was read
// and written back after the list, so a load and a save lose nothing.
TEST_F(WordsTest, WordsTheListCannotHoldSurviveASave) {
    std::string longWord(100, 'x');
    std::string page = "<TD>" + longWord + "</TD><TD>&nbsp;</TD>";
    for (int i = 0; i < 300; ++i)
        page += "<TD>w" + std::to_string(i) + "</TD>";
    page += "<TD>open";
    WriteFile("save/theraphy/words.html", page);
    ASSERT_TRUE(LoadWords());
    EXPECT_EQ(g_nWords, kMaxWords);
    EXPECT_EQ(std::string(g_aWords[0]), TextToCodes("w0"));
    ASSERT_TRUE(SaveWords());
    ASSERT_TRUE(LoadWords());
    EXPECT_EQ(g_nWords, kMaxWords);
    std::string saved = ReadFile("save/theraphy/words.html");
    EXPECT_NE(saved.find("<TD>" + longWord + "</TD>"), std::string::npos);
    EXPECT_NE(saved.find("<TD>w299</TD>"), std::string::npos);
}

struct PageCase {
    const char* name;
    std::string page;
    std::vector<std::string> words; // as text
};

class WordPages : public WordsTest, public ::testing::WithParamInterface<PageCase> {};

TEST_P(WordPages, ReadTheWords) {
    WriteFile("save/theraphy/words.html", GetParam().page);
    LoadWords();
    std::vector<std::string> words;
    for (int i = 0; i < g_nWords; ++i)
        words.push_back(CodesToText(g_aWords[i]));
    EXPECT_EQ(words, GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, WordPages,
    ::testing::Values(
        // HTML editors write lower-case tags, with attributes.
        PageCase{"lower_case", "<tr><td>alma</td><td class=\"w\">szék</TD></tr>", {"alma", "szék"}},
        // A page saved in UTF-8: "körte" must not become two letters for its "ö".
        PageCase{"utf8", "<td>k\xc3\xb6rte</td><td>\xc5\x91sz</td>", {"körte", "ősz"}},
        PageCase{"latin2", "<TD>körte</TD>", {"körte"}},
        // Tags that only start like a cell are not cells.
        PageCase{"not_cells", "<TDX>no</TDX><thead>no</thead><TD>igen</TD>", {"igen"}}),
    [](const auto& info) { return std::string(info.param.name); });

// A list nobody changed is not written: the therapist's own page stays byte for byte.
TEST_F(WordsTest, UnchangedListIsNotRewritten) {
    std::string page = "<P>my notes</P><td>alma</td>";
    WriteFile("save/theraphy/words.html", page);
    ASSERT_TRUE(LoadWords());
    EXPECT_TRUE(SaveWordsIfChanged());
    EXPECT_EQ(ReadFile("save/theraphy/words.html"), page);
    SetWords({"alma", "körte"});
    EXPECT_TRUE(SaveWordsIfChanged());
    EXPECT_NE(ReadFile("save/theraphy/words.html").find("<TD>körte</TD>"), std::string::npos);
}

// A page that is there but cannot be read is never replaced by an empty list.
TEST_F(WordsTest, UnreadablePageIsNeverOverwritten) {
    std::filesystem::create_directory("save/theraphy/words.html");
    EXPECT_FALSE(LoadWords());
    SetWords({"alma"});
    EXPECT_FALSE(SaveWordsIfChanged());
    EXPECT_TRUE(std::filesystem::is_directory("save/theraphy/words.html"));
}

TEST_F(WordsTest, MissingFileLeavesTheListEmpty) {
    SetWords({"alma"});
    EXPECT_FALSE(LoadWords());
    EXPECT_EQ(g_nWords, 0);
}

} // namespace
