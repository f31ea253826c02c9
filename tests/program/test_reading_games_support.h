// What the tests of reading games 2 to 7 share: the reading screens' data folder with a
// course whose lessons carry the games' material, a small-picture catalogue of solid
// pictures, the tick pictures and the box shapes of game 2.
#pragma once
#include <string>

#include "media/LxSmallPic.h"
#include "test_reading_support.h"

namespace reading_test {

constexpr uint32_t kTick = 0x00C000;

inline uint32_t PictureColour(int i) {
    return 0x102030u + 0x101010u * static_cast<uint32_t>(i);
}

class ReadingGamesTest : public ReadingTest {
  protected:
    // Writes the course with these lessons (after the alphabet's "character" element)
    // and loads it again; the entries are a, m, ií, t, s, b-p.
    static void WriteCourse(const std::string& sessions) {
        WriteFile("data/olvfej_tem.xml",
                  "<Lexora>\n<character vowels=\"a, á, e, i, í, ií, ő\" consonants=\"b, m, p, "
                  "s, sz, t, zs\" pairs=\"ií\" order=\"a, m, ií, t, s, b-p\"></character>\n" +
                      sessions + "</Lexora>\n");
        LoadAlphabet("data\\olvfej_tem.xml", "data\\beszedjav.xml");
        ASSERT_TRUE(LoadCourse("data\\olvfej_tem.xml"));
    }
    void SetUp() override {
        ReadingTest::SetUp();
        const char* words[][2] = {{"maci", "ma|ci"}, {"alma", "al|ma"},  {"t\xF6k", "t\xF6k"},
                                  {"iglu", "ig|lu"}, {"\xEDj", "\xEDj"}, {"m\xE9h", "m\xE9h"},
                                  {"sas", "sas"},    {"malac", "ma|lac"}};
        std::string catalogue = "<Lexo path=\"\\smallpic\\\">\n";
        int i = 0;
        for (auto& w : words) {
            std::string name = "p" + std::to_string(i);
            catalogue += "<picture name=\"" + name + "\" word=\"" + w[0] + "\" syllable=\"" + w[1] +
                         "\"/>\n";
            WritePicture("data/smallpic/" + name + ".bmp", PictureColour(i), 96, 96);
            ++i;
        }
        WriteFile("data/smallpic.xml", catalogue + "</Lexo>\n");
        g_pSmallPics = new CLxSmallPic("data\\smallpic.xml");
        // The ticks: a green square in a white frame (white is transparent).
        for (int size : {160, 200}) {
            std::string path =
                "data/buttons/pipa_" + std::to_string(size) + "x" + std::to_string(size) + ".bmp";
            WritePicture(path, kTick, size, size);
        }
        WritePicture("data/buttons/game1_01r.bmp", 0x804040, 64, 64);
        WritePicture("data/buttons/game1_01g.bmp", 0x408040, 64, 64);
    }
    void TearDown() override {
        delete g_pSmallPics;
        g_pSmallPics = nullptr;
        ReadingTest::TearDown();
    }
    static CLxControl* Control(CLxScreen* s, const char* name) {
        return s->GetGUI()->FindControl(name);
    }
    // Presses a control (a sprite), moves its top-left corner to (x, y) and lets it go
    // there: a click, or the release given.
    static void Drop(CLxScreen* s, const char* name, int x, int y, int release = kMouseClick) {
        CLxControl* c = Control(s, name);
        ASSERT_NE(c, nullptr) << name;
        CLxMouseEvent down(c, x, y, kMouseDown, 1);
        s->OnMouseEvent(&down);
        c->MoveTo(x, y);
        CLxMouseEvent up(c, x, y, release, 1);
        s->OnMouseEvent(&up);
    }
    // Where a control lies now; empty without it.
    static RECT Where(CLxScreen* s, const char* name) {
        RECT r{};
        if (CLxControl* c = Control(s, name)) c->GetDrawRect(&r);
        return r;
    }
    // Ticks a check box as a click does and tells the screen.
    static int Click(CLxScreen* s, const char* name) {
        CLxControl* c = Control(s, name);
        EXPECT_NE(c, nullptr) << name;
        if (!c) return -1;
        c->OnClick(nullptr);
        CLxMouseEvent e(c, 0, 0, kMouseClick, 1);
        return s->OnMouseEvent(&e);
    }
    static uint32_t Back(CLxScreen* s, int x, int y) {
        return GetPixel(s->GetGUI()->m_pBackground, x, y);
    }
};

} // namespace reading_test
