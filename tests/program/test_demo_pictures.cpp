// The pictures of things of the demo data: laying clip art out (cutting it to the
// drawing, scaling it without dark fringes, blending it over a card), and the word list
// itself, which must give every key word of the course a picture and every practised
// sound enough small pictures for the fixation screen's six places.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "PictureFit.h"
#include "core/TextCodec.h"
#include "media/LxCallPic.h"
#include "media/LxDraw.h"
#include "media/LxFile.h"
#include "reading/LxLetters.h"
#include "shell/LxProgramData.h"
#include "support/TempFolder.h"

namespace {

LxImage Image(int width, int height, std::vector<uint32_t> pixels) {
    LxImage image;
    image.width = width, image.height = height, image.pixels = std::move(pixels);
    return image;
}

TEST(PictureFit, CropKeepsOnlyWhatIsDrawn) {
    const uint32_t faint = 0x10FF0000, drawn = 0xFF00FF00;
    struct Case {
        const char* what;
        LxImage image;
        int width, height;
        uint32_t first;
    } cases[] = {
        {"one pixel in the middle", Image(3, 3, {0, 0, 0, 0, drawn, 0, 0, 0, 0}), 1, 1, drawn},
        {"faint pixels are left out", Image(3, 2, {faint, 0, 0, 0, drawn, drawn}), 2, 1, drawn},
        {"a corner to a corner", Image(2, 2, {drawn, 0, 0, drawn}), 2, 2, drawn},
    };
    for (const Case& c : cases) {
        LxImage cut = CropToDrawing(c.image);
        EXPECT_EQ(cut.width, c.width) << c.what;
        EXPECT_EQ(cut.height, c.height) << c.what;
        ASSERT_FALSE(cut.pixels.empty()) << c.what;
        EXPECT_EQ(cut.pixels[0], c.first) << c.what;
    }
    EXPECT_TRUE(CropToDrawing(Image(2, 1, {faint, 0})).pixels.empty());
}

TEST(PictureFit, FitKeepsTheShape) {
    struct Case {
        int width, height, boxWidth, boxHeight, outWidth, outHeight;
    } cases[] = {
        {100, 50, 40, 40, 40, 20},
        {50, 100, 40, 40, 20, 40},
        {10, 10, 40, 20, 20, 20},
        {1000, 3, 100, 100, 100, 1},
    };
    for (const Case& c : cases) {
        LxImage in =
            Image(c.width, c.height,
                  std::vector<uint32_t>(static_cast<size_t>(c.width) * c.height, 0xFF000000));
        LxImage out = FitInto(in, c.boxWidth, c.boxHeight);
        EXPECT_EQ(out.width, c.outWidth) << c.width << "x" << c.height;
        EXPECT_EQ(out.height, c.outHeight) << c.width << "x" << c.height;
    }
}

// Transparent pixels (here black with alpha 0) must not darken what they are averaged
// with: a red pixel and a transparent one become half-covered red, not dark red.
TEST(PictureFit, ShrinkingLeavesNoDarkFringe) {
    LxImage out = FitInto(Image(2, 1, {0xFFFF0000, 0x00000000}), 1, 1);
    ASSERT_EQ(out.pixels.size(), 1u);
    EXPECT_EQ(out.pixels[0] & 0xFFFFFF, 0xFF0000u);
    EXPECT_NEAR(static_cast<int>(out.pixels[0] >> 24), 128, 1);
}

TEST(PictureFit, BlendsOverTheSurfaceAndCentres) {
    CLxSurface* s = CreateSurface(4, 4);
    FillRectRGB(s, nullptr, 0x000000);
    DrawCentredIn(s, Image(2, 2, std::vector<uint32_t>(4, 0x80FFFFFF)), 0, 0, 4, 4);
    EXPECT_EQ(GetPixel(s, 0, 0), 0x000000u);
    EXPECT_EQ(GetPixel(s, 1, 1), 0x808080u);
    EXPECT_EQ(GetPixel(s, 2, 2), 0x808080u);
    EXPECT_EQ(GetPixel(s, 3, 3), 0x000000u);
    FreeSurface(&s);
}

// The word list and the course as the source tree has them.
class DemoPictures : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        std::filesystem::create_directories("data");
        const std::filesystem::path data = LEXORA_SOURCE_DATA;
        for (const char* file : {"olvfej_tem.xml", "beszedjav.xml", "callpic.xml"})
            std::filesystem::copy_file(data / "lexora" / file,
                                       std::filesystem::path("data") / file);
        CLxFile::SetRoots(".\\", "data\\");
        LoadAlphabet("data\\olvfej_tem.xml", "data\\beszedjav.xml");
        std::ifstream list(data / "pictures" / "words.txt");
        std::string line, word;
        while (std::getline(list, line)) {
            std::istringstream fields(line);
            if (line.empty() || line[0] == '#' || !(fields >> word)) continue;
            words_.push_back(talvik::Utf8ToLatin2(word));
        }
    }

    int Begin(unsigned char letter) const {
        int count = 0;
        for (const std::string& w : words_)
            count += ToLower(DecodeLetter(w.c_str())) == letter;
        return count;
    }

    bool Listed(const std::string& word) const {
        for (const std::string& w : words_)
            if (w == word) return true;
        return false;
    }

    std::vector<std::string> words_;
};

TEST_F(DemoPictures, EveryCourseLetterHasACallPictureWithAListedKeyWord) {
    CLxCallPic calls("data\\callpic.xml");
    ASSERT_TRUE(LoadCourse("data\\olvfej_tem.xml"));
    ASSERT_GT(g_nLastCourseEntry, 0);
    for (int i = 0; i <= g_nLastCourseEntry; ++i) {
        unsigned char letter = g_aCourse[i][0];
        if (IsExtraLetter(letter)) continue; // shown with its members' call pictures
        int entry = calls.FindLetter(letter);
        ASSERT_GE(entry, 0) << talvik::Latin2ToUtf8(EncodeLetter(letter));
        EXPECT_TRUE(Listed(CodesToText(calls.Entry(entry).Word())))
            << talvik::Latin2ToUtf8(CodesToText(calls.Entry(entry).Word()));
        if (*calls.Entry(entry).SecondWord()) {
            EXPECT_TRUE(Listed(CodesToText(calls.Entry(entry).SecondWord())));
        }
    }
}

// The nine therapy sounds and the consonants of the course's lessons fill the
// fixation screen's six picture places with words that begin with them.
TEST_F(DemoPictures, EveryPractisedSoundHasSixPictures) {
    std::vector<unsigned char> sounds;
    // The nine therapy sounds lead the therapy letter order; the vowels follow them.
    for (const unsigned char* p = TherapyOrder() + 1; *p && p <= TherapyOrder() + 9; ++p)
        sounds.push_back(*p);
    for (const char* lesson : {"m", "t", "l", "s", "sz"})
        sounds.push_back(DecodeLetter(lesson));
    for (unsigned char sound : sounds)
        EXPECT_GE(Begin(sound), 6) << talvik::Latin2ToUtf8(EncodeLetter(sound));
}

} // namespace
