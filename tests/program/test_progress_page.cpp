// The progress page beside a child's history: written with the history, UTF-8 with its
// character set declared, a chart line per practised sound over the days with the dates
// on its axis, the days in Hungarian with their recordings as links, printable on A4;
// an empty history and a bad month do not break it.
#include <gtest/gtest.h>

#include "core/TextCodec.h"
#include "shell/LxProgressPage.h"
#include "test_children_support.h"

using namespace therapy_test;

namespace {

class Progress : public ChildrenTest {
  protected:
    // The page's UTF-8 form of a text written here (the program's text).
    static std::string U8(const char* text) { return talvik::Latin2ToUtf8(text); }
    static size_t Count(const std::string& text, const std::string& part) {
        size_t n = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
            ++n;
        return n;
    }
};

TEST_F(Progress, SavingTheDayWritesThePageBesideTheHistory) {
    ASSERT_EQ(CreateChild(Codes("Ödön").c_str()), LxChildMade::Created);
    std::string page = ReadAll(Disk("save/theraphy/Ödön/haladas.html"));
    ASSERT_FALSE(page.empty());
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(page.find(U8("Ödön - haladás")), std::string::npos) << "UTF-8, in Hungarian";
    EXPECT_NE(page.find("@page { size: A4;"), std::string::npos);
    EXPECT_NE(page.find(U8("2026. december 10.")), std::string::npos);
}

TEST_F(Progress, OneLinePerPractisedSoundAndTheDaysWithTheirRecordings) {
    std::snprintf(g_szUserName, sizeof g_szUserName, "%s", Codes("Győző").c_str());
    CLxTHistory history(g_szUserName);
    const unsigned char* order = TherapyOrder();
    int values[kTaskValues];
    for (int& v : values)
        v = kTaskNotPractised | 70;
    values[1] = 40;
    values[4] = 55;
    char sAndR[] = {char(order[1]), char(order[4]), 0};
    history.AddEntry(20260901, values, sAndR);
    values[1] = 65;
    history.AddEntry(20260915, values, sAndR);
    history.AddEntry(20260026, values, ""); // a month the page cannot name
    WriteFile(Disk("save/theraphy/Gyöözöö/2026.09.15/öröm.wav"), "RIFF");
    WriteFile(Disk("save/theraphy/Gyöözöö/2026.09.15/note.txt"), "x");
    std::string page = MakeProgressPage(history, g_szUserName);
    EXPECT_EQ(Count(page, "<polyline class=\"sound\""), 2u);
    EXPECT_NE(page.find("data-sound=\"s\""), std::string::npos);
    EXPECT_NE(page.find("data-sound=\"r\""), std::string::npos);
    EXPECT_NE(page.find(">09.01.</text>"), std::string::npos) << "dates on the axis";
    EXPECT_NE(page.find(">09.15.</text>"), std::string::npos);
    EXPECT_EQ(Count(page, "<circle "), 4u) << "two sounds on two days";
    EXPECT_NE(page.find(U8("2026. szeptember 15.")), std::string::npos);
    EXPECT_NE(page.find("2026. ? 26."), std::string::npos);
    EXPECT_NE(page.find("<a href=\"2026.09.15/%C3%B6r%C3%B6m.wav\">" + U8("öröm") + "</a>"),
              std::string::npos);
    EXPECT_EQ(page.find("note"), std::string::npos);
    EXPECT_NE(page.find("Nincs hanganyag"), std::string::npos) << "the first day has none";
    EXPECT_NE(page.find("<td>s, r</td>"), std::string::npos) << "each sound by its name";
}

TEST_F(Progress, AnEmptyHistorySaysSo) {
    CLxTHistory history("Anna");
    std::string page = MakeProgressPage(history, "Anna");
    EXPECT_NE(page.find(U8("Még nincs terápiás nap.")), std::string::npos);
    EXPECT_EQ(page.find("<svg"), std::string::npos);
}

} // namespace
