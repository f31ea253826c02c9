// The demo course as the source tree has it gives reading games 2 to 7 what they need:
// the vowel and consonant lessons offer every game, each game finds its material, every
// picture word is in the demo word list, and each picture can be won with the lesson's
// letters (games 4 and 5).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/TextCodec.h"
#include "media/LxFile.h"
#include "reading/LxCourse.h"
#include "reading/LxLetters.h"
#include "shell/LxProgramData.h"
#include "support/TempFolder.h"

namespace {

class DemoReadingGames : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        std::filesystem::create_directories("data");
        const std::filesystem::path data = LEXORA_SOURCE_DATA;
        for (const char* file : {"olvfej_tem.xml", "beszedjav.xml"})
            std::filesystem::copy_file(data / "lexora" / file,
                                       std::filesystem::path("data") / file);
        CLxFile::SetRoots(".\\", "data\\");
        LoadAlphabet("data\\olvfej_tem.xml", "data\\beszedjav.xml");
        ASSERT_TRUE(LoadCourse("data\\olvfej_tem.xml"));
        std::ifstream list(data / "pictures" / "words.txt");
        std::string line, word;
        while (std::getline(list, line)) {
            std::istringstream fields(line);
            if (line.empty() || line[0] == '#' || !(fields >> word)) continue;
            words_.push_back(talvik::Utf8ToLatin2(word));
        }
    }
    bool Listed(const std::string& word) const {
        for (const std::string& w : words_)
            if (w == word) return true;
        return false;
    }
    static std::vector<std::string> List(unsigned char letter, const char* game, const char* attr) {
        return LessonList(letter, game, attr, 16);
    }
    std::vector<std::string> words_;
};

TEST_F(DemoReadingGames, TheVowelAndConsonantLessonsOfferEveryGameWithItsMaterial) {
    for (const char* lesson : {"a", "m"}) {
        SCOPED_TRACE(lesson);
        unsigned char letter = DecodeLetter(lesson);
        g_nCourseLetter = letter;
        g_nCourseLesson = -1;
        ResolveCoursePosition();
        for (int game = 2; game <= 6; ++game)
            EXPECT_TRUE(LessonOffers(game)) << game;
        EXPECT_EQ(LessonSeventhGame(), 1);
        const struct {
            const char *game, *attr;
        } material[] = {
            {"game2", "words"},       {"game3a", "characters"}, {"game3b", "characters"},
            {"game4a", "characters"}, {"game4b", "characters"}, {"game4b", "words"},
            {"game5", "characters"},  {"game5", "words"},       {"game6", "characters"},
            {"game7", "words"},       {"game7", "sentences"}};
        for (const auto& m : material)
            EXPECT_FALSE(List(letter, m.game, m.attr).empty()) << m.game << " " << m.attr;
        for (const char* game : {"game2", "game4b", "game5"})
            for (const std::string& word : List(letter, game, "words"))
                EXPECT_TRUE(Listed(word)) << game << " " << talvik::Latin2ToUtf8(word);
    }
}

TEST_F(DemoReadingGames, EveryPictureOfGamesFourAndFiveCanBeWon) {
    for (const char* lesson : {"a", "m"}) {
        SCOPED_TRACE(lesson);
        unsigned char letter = DecodeLetter(lesson);
        std::string letters;
        for (const std::string& l : List(letter, "game4b", "characters"))
            letters += static_cast<char>(DecodeLetter(l.c_str()));
        for (const std::string& word : List(letter, "game4b", "words")) {
            unsigned char first = ToLower(DecodeLetter(word.c_str()));
            EXPECT_NE(letters.find(static_cast<char>(first)), std::string::npos)
                << talvik::Latin2ToUtf8(word);
        }
        std::vector<std::string> two = List(letter, "game5", "characters");
        ASSERT_EQ(two.size(), 2u);
        for (const std::string& word : List(letter, "game5", "words")) {
            std::string codes = TextToCodes(word.c_str());
            int holds = 0;
            for (const std::string& l : two)
                holds +=
                    codes.find(static_cast<char>(DecodeLetter(l.c_str()))) != std::string::npos;
            EXPECT_EQ(holds, 1) << talvik::Latin2ToUtf8(word); // one letter, not both
        }
    }
}

} // namespace
