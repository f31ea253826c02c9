// Children and their folders: listing, creating (a name that exists in any letter case
// selects that child and keeps its records), names that cannot leave the save folder,
// "ő", "ű" and capitals round-tripping through folder names, and the child selection
// screen's rows, scrolling, picture cycling and going back.
#include <gtest/gtest.h>

#include "shell/LxSettings.h"
#include "test_children_support.h"
#include "therapy/LxTUserLoadScr.h"

using namespace therapy_test;

namespace {

class Children : public ChildrenTest {};

TEST_F(Children, ANewChildHasAFolderSettingsAndOneDay) {
    g_aTaskValues[3] = 55;
    EXPECT_EQ(CreateChild(Codes("Kiss Anna").c_str()), LxChildMade::Created);
    EXPECT_EQ(std::string(g_szUserName), Codes("Kiss Anna"));
    EXPECT_TRUE(std::filesystem::exists("save/theraphy/Kiss Anna/settings.xml"));
    CLxTHistory page;
    ASSERT_TRUE(page.Load("save\\theraphy\\Kiss Anna\\history.html"));
    ASSERT_EQ(page.GetCount(), 1);
    int date = 0, values[kTaskValues] = {};
    page.GetEntry(0, &date, values, nullptr);
    EXPECT_EQ(date, 20261210);
    EXPECT_EQ(values[3], 55);
}

TEST_F(Children, AnExistingNameInAnyCaseSelectsThatChildAndKeepsItsRecords) {
    ASSERT_EQ(CreateChild(Codes("Ödön").c_str()), LxChildMade::Created);
    g_Settings.nIcon = 4;
    g_aTaskValues[2] = 77;
    ASSERT_TRUE(SaveTherapyDay());
    std::string settings = ReadAll(Disk("save/theraphy/Ödön/settings.xml"));
    std::string history = ReadAll(Disk("save/theraphy/Ödön/history.html"));
    ResetSettings();
    ResetTaskValues();
    g_szUserName[0] = 0;
    for (const char* again : {"Ödön", "ÖDÖN", "ödön"}) {
        EXPECT_EQ(CreateChild(Codes(again).c_str()), LxChildMade::Existing) << again;
        EXPECT_EQ(std::string(g_szUserName), Codes("Ödön")) << again;
        EXPECT_EQ(g_Settings.nIcon, 4) << again;
        EXPECT_EQ(ReadAll(Disk("save/theraphy/Ödön/settings.xml")), settings) << again;
        EXPECT_EQ(ReadAll(Disk("save/theraphy/Ödön/history.html")), history) << again;
    }
    EXPECT_EQ(ScanChildren().size(), 1u);
}

TEST_F(Children, NamesNeverLeaveTheSaveFolder) {
    const char* refused[] = {"", "..", "."};
    for (const char* name : refused)
        EXPECT_EQ(CreateChild(name), LxChildMade::Refused) << '"' << name << '"';
    const struct {
        const char* typed;
        const char* folder;
    } kept[] = {
        {"../../x", "save/theraphy/.._.._x"},
        {"a\\b", "save/theraphy/a_b"},
        {"c:d", "save/theraphy/c_d"},
    };
    for (const auto& c : kept) {
        EXPECT_EQ(CreateChild(Codes(c.typed).c_str()), LxChildMade::Created) << c.typed;
        EXPECT_TRUE(std::filesystem::exists(std::string(c.folder) + "/settings.xml")) << c.typed;
    }
    EXPECT_FALSE(std::filesystem::exists("../x"));
    EXPECT_EQ(CreateChild(std::string(40, 'a').c_str()), LxChildMade::Refused) << "too long";
}

TEST_F(Children, LongVowelsAndCapitalsRoundTripThroughTheFolderName) {
    for (const char* name : {"Győző", "Űrhajós Üllő", "BENCE", "Úr Ödön"}) {
        g_szUserName[0] = 0;
        ASSERT_EQ(CreateChild(Codes(name).c_str()), LxChildMade::Created) << name;
    }
    EXPECT_TRUE(std::filesystem::exists(Disk("save/theraphy/Gyöözöö")));
    EXPECT_TRUE(std::filesystem::exists(Disk("save/theraphy/ÜÜrhajós Üllöö")));
    std::vector<std::string> names;
    for (const LxChild& child : ScanChildren())
        names.push_back(CodesToText(child.name.c_str()));
    EXPECT_EQ(names, (std::vector<std::string>{"BENCE", "Győző", "Úr Ödön", "Űrhajós Üllő"}));
}

TEST_F(Children, TheListSkipsFoldersWithoutSettingsAndReadsPictures) {
    MakeChild("Anna", 3);
    MakeChild("Béla", 0);
    std::filesystem::create_directories("save/theraphy/nobody");
    WriteFile("save/theraphy/stray.txt", "x");
    auto children = ScanChildren();
    ASSERT_EQ(children.size(), 2u);
    EXPECT_EQ(children[0].name, "Anna");
    EXPECT_EQ(children[0].icon, 3);
    EXPECT_EQ(children[1].name, Codes("Béla"));
}

TEST_F(Children, AnUnreadableHistoryGivesAFreshOneNotThePreviousChilds) {
    delete g_pHistory;
    g_pHistory = new CLxTHistory("Other");
    g_pHistory->AddEntry(20200101, g_aTaskValues, "s");
    MakeChild("Anna", 0);
    ChooseChild("Anna");
    EXPECT_EQ(g_pHistory->GetCount(), 0);
    EXPECT_STREQ(g_pHistory->GetName(), "Anna");
}

class UserLoad : public ChildrenTest {};

TEST_F(UserLoad, RowsShowTheChildrenAndHideTheRest) {
    MakeChild("Anna", 0);
    MakeChild("Béla", 0);
    CLxTUserLoadScr s("data\\beszedjavu.xml");
    EXPECT_STREQ(s.GetName(), "TUserLoad");
    EXPECT_EQ(Shown(&s, "fo.tf00"), "Anna");
    EXPECT_EQ(Shown(&s, "fo.tf01"), "Béla");
    EXPECT_TRUE(State(&s, "fo.tf01") & kVisible);
    EXPECT_FALSE(State(&s, "fo.tf02") & kVisible);
    EXPECT_FALSE(State(&s, "fo.icon03") & kVisible);
    EXPECT_FALSE(State(&s, "fo.sb") & kVisible) << "two children fit";
    EXPECT_EQ(Shown(&s, "fo.szo"), "új felhasználó");
}

TEST_F(UserLoad, ChoosingARowAfterScrollingPicksThatChildAndRowsBeyondAnswerNothing) {
    for (const char* name : {"A1", "A2", "A3", "A4", "A5", "A6"})
        MakeChild(name, 0);
    CLxTUserLoadScr s("data\\beszedjavu.xml");
    auto* bar = ListScrollBar(&s);
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(State(&s, "fo.sb") & kVisible);
    bar->SetValue(2);
    Click(&s, "fo.sb");
    EXPECT_EQ(Shown(&s, "fo.tf00"), "A3");
    sent_.clear();
    Click(&s, "fo.tf03"); // row 3 at scroll 2: the sixth child
    EXPECT_STREQ(g_szUserName, "A6");
    ASSERT_EQ(sent_.size(), 1u);
    EXPECT_EQ(sent_[0].msg, kMsgUserSelected);

    // The list shrinks under a scrolled view: a row past its end does nothing.
    std::filesystem::remove_all("save/theraphy/A6");
    std::filesystem::remove_all("save/theraphy/A5");
    s.Scan();
    bar->m_nValue = 2;
    sent_.clear();
    g_szUserName[0] = 0;
    Click(&s, "fo.tf03");
    EXPECT_TRUE(sent_.empty());
    EXPECT_STREQ(g_szUserName, "");
}

TEST_F(UserLoad, EnterInTheNameFieldCreatesTheChildOnce) {
    CLxTUserLoadScr s("data\\beszedjavu.xml");
    Type(&s, "fo.szo", "Ödön", kKeyDown); // the key itself is not a character
    EXPECT_TRUE(s.Children().empty());
    Type(&s, "fo.szo", "Ödön");
    ASSERT_EQ(s.Children().size(), 1u);
    EXPECT_EQ(Shown(&s, "fo.tf00"), "Ödön");
    EXPECT_EQ(std::string(g_szUserName), Codes("Ödön"));
    EXPECT_EQ(Shown(&s, "fo.szo"), "új felhasználó");
    Type(&s, "fo.szo", "új felhasználó"); // the placeholder is no name
    Type(&s, "fo.szo", "");
    EXPECT_EQ(s.Children().size(), 1u);
}

TEST_F(UserLoad, PicturesCycleToTheNextExistingOneElseTheFirst) {
    ui_test::WritePicture("data/icons/icon06.bmp", 0x123456, 20, 20);
    const struct { int icon, next; } cases[] = {{5, 6}, {6, 1}, {0, 1}};
    for (const auto& c : cases) {
        MakeChild("Anna", c.icon);
        CLxTUserLoadScr s("data\\beszedjavu.xml");
        Click(&s, "fo.icon00");
        ASSERT_EQ(s.Children().size(), 1u);
        EXPECT_EQ(s.Children()[0].icon, c.next) << c.icon;
        EXPECT_EQ(ScanChildren()[0].icon, c.next) << "saved, from " << c.icon;
    }
}

TEST_F(UserLoad, BackRestoresTheSettingsAndKeepsTheChild) {
    std::snprintf(g_szUserName, sizeof g_szUserName, "Anna");
    g_Settings.nGame3Speed = 42;
    CLxTUserLoadScr s("data\\beszedjavu.xml");
    g_Settings.nGame3Speed = 7;
    Click(&s, "al.vissza");
    EXPECT_EQ(g_Settings.nGame3Speed, 42);
    EXPECT_STREQ(g_szUserName, "Anna");
    ASSERT_EQ(sent_.size(), 1u);
    EXPECT_EQ(sent_[0].msg, kMsgUserSelected);
}

} // namespace
