// The picture catalogues: letters with their key words and default layout, small
// pictures with their words and groups, and what missing entries give.
#include <gtest/gtest.h>

#include <string>

#include "media/LxCallPic.h"
#include "media/LxFile.h"
#include "media/LxSmallPic.h"
#include "reading/LxLetters.h"
#include "support/TempFolder.h"

namespace {
class Catalogues : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        CLxFile::SetRoots("", "data\\");
    }
};

TEST_F(Catalogues, CallPicturesTakeTheLaterLetterAndLayOutDefaults) {
    WriteFile("data/callpic.xml",
              "<Lexo path=\"\\hivo\\\">\n"
              "<character picture=\"alma1\" name=\"a\"><word word=\"alma\" position=\"1,2\"/>"
              "</character>\n"
              "<character picture=\"alma2\" name=\"a\">\n"
              "  <lower position=\"30,40\"/><upper position=\"0,5\"/></character>\n"
              "<character picture=\"iz\" name=\"i\xED\"><word word=\"iz\"/>"
              "<word word=\"\xEDz\"/></character>\n"
              "</Lexo>\n");
    CLxCallPic pics("data\\callpic.xml");
    ASSERT_EQ(pics.Count(), 3);
    int a = pics.FindLetter('a');
    EXPECT_EQ(a, 1);
    EXPECT_STREQ(pics.PicturePath(a), "data\\hivo\\alma2.bmp");
    const LxCallPicEntry& later = pics.Entry(a);
    EXPECT_EQ(later.lower.x, 30);
    EXPECT_EQ(later.lower.y, 40);
    EXPECT_EQ(later.upper.x, 380); // x 0 means not given: 100 - no glyph + 280
    EXPECT_EQ(later.wordAt.y, 316);
    const LxCallPicEntry& first = pics.Entry(0);
    EXPECT_EQ(first.wordAt.x, 1);
    EXPECT_STREQ(first.Word(), TextToCodes("alma").c_str());
    EXPECT_EQ(first.Accented()[0], '$');
    // A vowel pair: both members' places, words at y 316.
    const LxCallPicEntry& pair = pics.Entry(pics.FindLetter(DecodeLetter("i\xED")));
    EXPECT_EQ(pair.lower.x, 20);
    EXPECT_EQ(pair.lower.y, 16);
    EXPECT_EQ(pair.secondLower.x, 316);
    EXPECT_EQ(pair.secondLower.y, 16);
    EXPECT_EQ(pair.upper.x, 280);
    EXPECT_EQ(pair.secondUpper.x, 584);
    EXPECT_EQ(pair.wordAt.y, 316);
    EXPECT_EQ(pair.secondWordAt.y, 316);
    EXPECT_STREQ(pair.SecondWord(), TextToCodes("\xEDz").c_str());
    EXPECT_EQ(pics.FindLetter('b'), -1);
    EXPECT_STREQ(pics.PicturePath(7), "");
}

TEST_F(Catalogues, SmallPicturesWordsAndGroups) {
    WriteFile("data/smallpic.xml",
              "<Lexo path=\"\\kep\\\">\n"
              "<picture syllable=\"al|ma\" name=\"alma\"/>\n"
              "<picture syllable=\"k\xF6r|te\" name=\"korte\" word=\"k\xF6rte\"/>\n"
              "<picture name=\"nosyllable\"/>\n"
              "<Lexo path=\"allat\">\n"
              "<picture syllable=\"ku|tya\" name=\"kutya\"/>\n"
              "<group name=\"gyum\" pictures=\"alma, k\xF6rte, nincs\"/>\n"
              "<group name=\"gyum\" pictures=\"kutya\"/>\n"
              "</Lexo>\n");
    CLxSmallPic pics("data\\smallpic.xml");
    ASSERT_EQ(pics.Count(), 3);
    EXPECT_EQ(pics.Picture(0).word, "alma");
    EXPECT_EQ(pics.FindPicture("k\xF6rte"), 1);
    EXPECT_STREQ(pics.PicturePath(2), "data\\allat\\kutya.bmp");
    EXPECT_STREQ(pics.PicturePath(0), "data\\kep\\alma.bmp");
    EXPECT_STREQ(pics.GroupName(0), "\xD6sszes");
    EXPECT_EQ(pics.GroupSize(0), 3);
    EXPECT_EQ(pics.GroupMember(0, 0), 2); // the last picture of the file
    int fruit = pics.FindGroup("gyum");
    EXPECT_EQ(fruit, 2);             // the later of the two
    EXPECT_EQ(pics.GroupSize(1), 2); // "nincs" was skipped
    EXPECT_EQ(pics.GroupMember(1, 0), 1);
    EXPECT_EQ(pics.GroupMember(1, 1), 0);
    EXPECT_EQ(pics.GroupMember(1, 2), -1);
    EXPECT_EQ(pics.GroupMember(9, 0), -1);
    EXPECT_EQ(pics.FindPicture("nincs"), -1);
}

TEST_F(Catalogues, MissingFilesLeaveEmptyCatalogues) {
    CLxCallPic calls("data\\nincs.xml");
    CLxSmallPic smalls("data\\nincs.xml");
    EXPECT_EQ(calls.Count(), 0);
    EXPECT_EQ(calls.FindLetter('a'), -1);
    EXPECT_STREQ(calls.PicturePath(0), "");
    EXPECT_EQ(smalls.Count(), 0);
    EXPECT_EQ(smalls.GroupMember(0, 0), -1);
    EXPECT_STREQ(smalls.PicturePath(0), "");
}
} // namespace
