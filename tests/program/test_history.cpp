// The therapy history page: rows per day, the exact page form, reading back values and
// multi-character practised letters, older pages without "min", and a full record.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "media/LxFile.h"
#include "reading/LxLetters.h"
#include "shell/LxClock.h"
#include "shell/LxTHistory.h"
#include "shell/LxUserRecords.h"
#include "support/TempFolder.h"

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Ten codes: a placeholder for the "min" column, then nine therapy letters.
const char kTherapy[] = "<character order=\"_, s, sz, zs, c, cs, r, l, k, g\"/>\n";
const char kPath[] = "save\\theraphy\\abc\\history.html";

class HistoryTest : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        CLxFile::SetRoots(".\\", "data\\");
        WriteFile("data/beszedjav.xml", kTherapy);
        LoadAlphabet("data\\none.xml", "data\\beszedjav.xml");
        std::filesystem::create_directories("save/theraphy/abc");
        for (int i = 0; i < kTaskValues; ++i)
            values_[i] = 100 + i;
    }
    int values_[kTaskValues];
};

TEST_F(HistoryTest, PageRowsAndCells) {
    CLxTHistory history(TextToCodes("Kovács Éva").c_str());
    values_[2] = int(0x80000000u | 0x1005); // only the low 12 bits are shown
    history.AddEntry(20110307, values_, TextToCodes("sz").c_str());
    history.AddEntry(20110308, values_, "");
    ASSERT_TRUE(history.Save(kPath));
    std::string page = ReadFile("save/theraphy/abc/history.html");
    EXPECT_EQ(page.find("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\r\n"
                        "<HTML>\r\n"),
              0u);
    EXPECT_NE(page.find("<P><B>Név:</B> <I>Kovács Éva</I></P>\r\n"), std::string::npos);
    EXPECT_NE(page.find("<TR><TD BGCOLOR = \"#FF6600\"><B>Dátum</B></TD><TD BGCOLOR = "
                        "\"#FF9900\" ALIGN = \"CENTER\"><B>min</B></TD><TD BGCOLOR = "
                        "\"#FF9900\" ALIGN = \"CENTER\"><B>s</B></TD><TD BGCOLOR = \"#FF9900\" "
                        "ALIGN = \"CENTER\"><B>sz</B></TD>"),
              std::string::npos);
    EXPECT_NE(page.find("<TR><TD BGCOLOR = \"#FF9999\">2011.03.07.</TD><TD>100</TD><TD>101</TD>"
                        "<TD><FONT COLOR = \"#c00000\"><B>  5</B></FONT></TD><TD>103</TD>"),
              std::string::npos);
    EXPECT_NE(page.find("<TD>109</TD><TD>sz</TD></TR>\r\n"), std::string::npos);
    EXPECT_NE(page.find("<TD>109</TD><TD>&nbsp;</TD></TR>\r\n"), std::string::npos);
    EXPECT_EQ(page.substr(page.size() - 28), "</TABLE>\r\n</BODY>\r\n</HTML>\r\n");
}

int s_today = 0;
int FakeToday() {
    return s_today;
}

// AddToday takes the day from the program's date: the same day replaces the last row,
// a later day adds one.
TEST_F(HistoryTest, TodayComesFromTheProgramsDate) {
    LxSetToday(FakeToday);
    CLxTHistory history("abc");
    const struct {
        int today;
        int rows;
    } days[] = {{20110307, 1}, {20110307, 1}, {20110308, 2}, {20120101, 3}};
    for (const auto& day : days) {
        SCOPED_TRACE(day.today);
        s_today = day.today;
        history.AddToday(values_, "s");
        ASSERT_EQ(history.GetCount(), day.rows);
        int date = 0;
        ASSERT_TRUE(history.GetEntry(day.rows - 1, &date, nullptr, nullptr));
        EXPECT_EQ(date, day.today);
    }
    LxSetToday(nullptr);
    int today = LxToday();
    EXPECT_GE(today, 20240101);
    EXPECT_GE(today % 100, 1);
    EXPECT_LE(today % 100, 31);
    EXPECT_GE(today / 100 % 100, 1);
    EXPECT_LE(today / 100 % 100, 12);
}

TEST_F(HistoryTest, SameDayReplacesTheLastEntry) {
    CLxTHistory history("abc");
    history.AddToday(values_, "s");
    values_[1] = 7;
    history.AddToday(values_, "r");
    ASSERT_EQ(history.GetCount(), 1);
    int read[kTaskValues] = {};
    char letters[32] = {};
    ASSERT_TRUE(history.GetEntry(0, nullptr, read, letters));
    EXPECT_EQ(read[1], 7);
    EXPECT_STREQ(letters, "r");
    ASSERT_TRUE(history.Save(kPath));
    std::string page = ReadFile("save/theraphy/abc/history.html");
    EXPECT_EQ(page.find("<TR><TD BGCOLOR = \"#FF9999\">"),
              page.rfind("<TR><TD BGCOLOR = \"#FF9999\">"));
}

TEST_F(HistoryTest, RoundTripKeepsDatesValuesAndPractisedLetters) {
    CLxTHistory saved(TextToCodes("Kő Ádám").c_str());
    std::string practised = TextToCodes("szcszsr"); // sz, cs, zs, r: four codes
    saved.AddEntry(20110307, values_, practised.c_str());
    values_[0] = 0x1234; // shown as its low 12 bits
    saved.AddEntry(20120101, values_, "");
    ASSERT_TRUE(saved.Save(kPath));

    CLxTHistory loaded;
    ASSERT_TRUE(loaded.Load(kPath));
    EXPECT_EQ(std::string(loaded.GetName()), TextToCodes("Kő Ádám"));
    ASSERT_EQ(loaded.GetCount(), 2);
    int date = 0, read[kTaskValues] = {};
    char letters[32] = {};
    ASSERT_TRUE(loaded.GetEntry(0, &date, read, letters));
    EXPECT_EQ(date, 20110307);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(read[i], 100 + i) << i;
    EXPECT_EQ(std::string(letters), practised);
    ASSERT_TRUE(loaded.GetEntry(1, &date, read, letters));
    EXPECT_EQ(date, 20120101);
    EXPECT_EQ(read[0], 0x234);
    EXPECT_STREQ(letters, "");
    EXPECT_EQ(loaded.FindDate(20120101), 1);
    EXPECT_EQ(loaded.FindDate(20990101), -1);
    EXPECT_FALSE(loaded.GetEntry(2, &date, read, letters));
    EXPECT_FALSE(loaded.GetEntry(-1, &date, read, letters));
}

TEST_F(HistoryTest, OlderPageWithoutMinShiftsItsColumns) {
    std::string header = "<TR><TD>Dátum</TD>";
    for (int i = 0; i < 9; ++i)
        header += "<TD>x</TD>";
    WriteFile("old.html", "<P><B>Név:</B> <I>Anna</I></P>\n<TABLE>\n" + header +
                              "<TD>aktiv</TD></TR>\n"
                              "<TR><TD>2010.05.06.</TD><TD>1</TD><TD>2</TD><TD>3</TD><TD>4</TD>"
                              "<TD>5</TD><TD>6</TD><TD>7</TD><TD>8</TD><TD>9</TD><TD>s</TD></TR>\n"
                              "<TR><TD>2010.05.07.\n");
    CLxTHistory history;
    ASSERT_TRUE(history.Load("old.html"));
    EXPECT_STREQ(history.GetName(), "Anna");
    ASSERT_EQ(history.GetCount(), 1); // the row without a date is skipped
    int date = 0, read[kTaskValues] = {};
    char letters[32] = {};
    ASSERT_TRUE(history.GetEntry(0, &date, read, letters));
    EXPECT_EQ(date, 20100506);
    EXPECT_EQ(read[0], 40);
    for (int i = 1; i < 10; ++i)
        EXPECT_EQ(read[i], i) << i;
    EXPECT_STREQ(letters, "s");
}

TEST_F(HistoryTest, MissingPageLeavesTheRecord) {
    CLxTHistory history("abc");
    history.AddEntry(20110307, values_, "s");
    EXPECT_FALSE(history.Load("save\\theraphy\\nobody\\history.html"));
    EXPECT_EQ(history.GetCount(), 1);
    EXPECT_STREQ(history.GetName(), "abc");
}

TEST_F(HistoryTest, EmptyRecordWritesNothing) {
    CLxTHistory history("abc");
    EXPECT_FALSE(history.Save(kPath));
    EXPECT_FALSE(std::filesystem::exists("save/theraphy/abc/history.html"));
}

// The 257th therapy day drops the oldest one instead of writing past the record.
TEST_F(HistoryTest, FullRecordDropsTheOldestDay) {
    CLxTHistory history("abc");
    for (int day = 0; day < kHistoryEntries + 1; ++day) {
        values_[0] = day;
        history.AddEntry(20000000 + day, values_, "s");
    }
    ASSERT_EQ(history.GetCount(), kHistoryEntries);
    int date = 0, read[kTaskValues] = {};
    ASSERT_TRUE(history.GetEntry(0, &date, read, nullptr));
    EXPECT_EQ(date, 20000001);
    EXPECT_EQ(read[0], 1);
    ASSERT_TRUE(history.GetEntry(kHistoryEntries - 1, &date, read, nullptr));
    EXPECT_EQ(date, 20000000 + kHistoryEntries);
    EXPECT_EQ(history.FindDate(20000000), -1);
}

// Rows of a page, each "<TR>" line up to the table's end.
std::string RowsOf(const std::string& page) {
    size_t header = page.find("<TR>");
    size_t first = page.find("<TR>", header + 4);
    return page.substr(first, page.find("</TABLE>") - first);
}

// A page with more days than the record holds keeps its newest days, as adding does:
// the next save must not drop the days the therapist added last.
TEST_F(HistoryTest, LongPageKeepsItsNewestDays) {
    CLxTHistory older("abc"), newer("abc");
    for (int day = 0; day < kHistoryEntries; ++day)
        older.AddEntry(20000000 + day, values_, "s");
    for (int day = 0; day < 4; ++day)
        newer.AddEntry(21000000 + day, values_, "s");
    ASSERT_TRUE(older.Save(kPath));
    std::string page = ReadFile("save/theraphy/abc/history.html");
    ASSERT_TRUE(newer.Save("save\\theraphy\\abc\\newer.html"));
    page.insert(page.find("</TABLE>"), RowsOf(ReadFile("save/theraphy/abc/newer.html")));
    WriteFile("save/theraphy/abc/history.html", page);

    CLxTHistory loaded;
    ASSERT_TRUE(loaded.Load(kPath));
    ASSERT_EQ(loaded.GetCount(), kHistoryEntries);
    int date = 0;
    ASSERT_TRUE(loaded.GetEntry(kHistoryEntries - 1, &date, nullptr, nullptr));
    EXPECT_EQ(date, 21000003);
    ASSERT_TRUE(loaded.GetEntry(0, &date, nullptr, nullptr));
    EXPECT_EQ(date, 20000004);
}

// A letter order longer than the task values takes only as many values as there are.
TEST_F(HistoryTest, LongLetterOrderTakesTwentyValues) {
    std::string order = "_";
    for (char c = 'a'; c <= 'z'; ++c)
        order += std::string(", ") + c;
    WriteFile("data/long.xml", "<character order=\"" + order + "\"/>");
    LoadAlphabet("data\\none.xml", "data\\long.xml");
    CLxTHistory history("abc");
    history.AddEntry(20110307, values_, std::string(40, 'a').c_str());
    int read[kTaskValues + 4];
    std::fill(read, read + kTaskValues + 4, -5);
    char letters[32];
    ASSERT_TRUE(history.GetEntry(0, nullptr, read, letters));
    EXPECT_EQ(read[kTaskValues - 1], 100 + kTaskValues - 1);
    EXPECT_EQ(read[kTaskValues], -5);
    EXPECT_EQ(std::strlen(letters), 23u);
    ASSERT_TRUE(history.Save(kPath));
    CLxTHistory loaded;
    ASSERT_TRUE(loaded.Load(kPath));
    ASSERT_TRUE(loaded.GetEntry(0, nullptr, read, letters));
    EXPECT_EQ(read[kTaskValues - 1], 100 + kTaskValues - 1);
    EXPECT_EQ(std::string(letters), std::string(23, 'a'));
}

} // namespace
