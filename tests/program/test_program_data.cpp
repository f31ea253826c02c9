// The tables read at start-up: the reading course (lessons and their games) and the
// therapy sentences.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "media/LxFile.h"
#include "reading/LxLetters.h"
#include "shell/LxProgramData.h"
#include "support/TempFolder.h"

namespace {

const char kCourse[] =
    "<Lexora>\n<character vowels=\"a, e, i, o, u\" consonants=\"b, m, s, sz, t\"\n"
    " order=\"a, m,  t,\n sz, a, e\"></character>\n"
    "<session character=\"a\"><game1/><game3/><coloring/></session>\n"
    "<session character=\"sz\"><game2/><game7/></session>\n"
    "<session character=\"q\"><game4/></session>\n"
    "<game5/>\n"
    "<session><game6/></session>\n"
    "<session character=\"m\"><domino/></session>\n</Lexora>\n";

class ProgramDataTest : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        CLxFile::SetRoots(".\\", "data\\");
        WriteFile("data/olvfej_tem.xml", kCourse);
        WriteFile("data/beszedjav.xml", "<character order=\"_, s\"/>\n");
        LoadAlphabet("data\\olvfej_tem.xml", "data\\beszedjav.xml");
    }
    static std::string Entry(int i) {
        return std::string(reinterpret_cast<const char*>(g_aCourse[i]), 8);
    }
};

TEST_F(ProgramDataTest, CourseEntriesCarryTheirLessonsGames) {
    ASSERT_TRUE(LoadCourse("data\\olvfej_tem.xml"));
    EXPECT_EQ(g_nLastCourseEntry, 5);
    const unsigned char sz = DecodeLetter("sz");
    const struct {
        int entry;
        unsigned char bytes[8];
    } cases[] = {
        {0, {'a', 0, 0, 0, 0, 0, 0, 0}}, // a later "a" entry takes the lesson
        {1, {'m', 0, 0, 0, 0, 0, 0, 3}}, // domino
        {2, {'t', 0, 0, 0, 0, 0, 0, 0}}, {3, {sz, 0, 1, 0, 0, 0, 0, 1}}, // game 2 and game 7
        {4, {'a', 1, 0, 1, 0, 0, 0, 2}},                                 // games 1, 3 and colouring
        {5, {'e', 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Entry(c.entry), std::string(reinterpret_cast<const char*>(c.bytes), 8))
            << c.entry;
}

TEST_F(ProgramDataTest, AnOverlongCourseStopsAtTheTable) {
    std::string order;
    for (int i = 0; i < 300; ++i)
        order += i ? ", m" : "m";
    WriteFile("data/long.xml", "<character order=\"" + order +
                                   "\"/>\n"
                                   "<session character=\"m\"><game1/></session>\n");
    ASSERT_TRUE(LoadCourse("data\\long.xml"));
    EXPECT_EQ(g_nLastCourseEntry, kCourseEntries - 1);
    EXPECT_EQ(g_aCourse[kCourseEntries - 1][0], 'm');
    EXPECT_EQ(g_aCourse[kCourseEntries - 1][1], 1);
}

TEST_F(ProgramDataTest, MissingCourseIsAFailureWithAnEmptyTable) {
    ASSERT_TRUE(LoadCourse("data\\olvfej_tem.xml"));
    EXPECT_FALSE(LoadCourse("data\\none.xml"));
    EXPECT_EQ(g_aCourse[0][0], 0);
    EXPECT_EQ(g_nLastCourseEntry, 0);
}

TEST_F(ProgramDataTest, SentencesAreStoredAsLetterCodesAndCut) {
    std::string longText(700, 'a');
    WriteFile("data/s.xml", "<sentence0 text=\"Szép a nap.\"/>\n<sentence7 text=\"" + longText +
                                "\"/>\n<sentence8 text=\"no\"/>\n<sentence3/>\n");
    memset(g_aSentences, 0, sizeof g_aSentences);
    ASSERT_TRUE(LoadSentences("data\\s.xml"));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(g_aSentences[0])),
              TextToCodes("Szép a nap."));
    EXPECT_EQ(strlen(reinterpret_cast<const char*>(g_aSentences[7])), kSentenceBytes - 1u);
    EXPECT_EQ(g_aSentences[3][0], 0);
    EXPECT_FALSE(LoadSentences("data\\none.xml"));
}

} // namespace
