// Button groups: the choice of a state picture, groups read from a description (their
// pictures, origins and the tag that ends them), groups built in code, expanding the
// pictures, and the description's pools when they run full.
#include <gtest/gtest.h>

#include <string>

#include "media/LxDraw.h"
#include "media/LxFile.h"
#include "support/TempFolder.h"
#include "ui/LxCGUI.h"
#include "ui/LxGroup.h"

namespace {
class Groups : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        CLxFile::SetRoots("", "data\\");
    }
    // A 4 x 4 bitmap of one colour.
    static void Picture(const char* path, uint32_t rgb) {
        CLxSurface s;
        s.Create(4, 4);
        FillRectPixel(&s, nullptr, rgb);
        ASSERT_TRUE(SaveBitmap(&s, path));
    }
    static uint32_t Colour(CLxSurface* s) { return s ? GetPixel(s, 0, 0) : 0xDEAD; }
};

TEST_F(Groups, PictureOfAStateFallsBackWithoutTheMouseThenEnabled) {
    CLxCGUI gui(nullptr);
    CLxSurface* p[6];
    const uint32_t colours[6] = {0x10, 0x20, 0x40, 0x50, 0x60, 0x70}; // states 0 2 4 5 6 7
    for (int i = 0; i < 6; ++i) {
        p[i] = CreateSurface(2, 2);
        FillRectPixel(p[i], nullptr, colours[i]);
    }
    CLxSurface* missingFive = p[3];
    p[3] = nullptr;
    CLxSurface* missingTwo = p[1];
    p[1] = nullptr;
    delete missingFive;
    delete missingTwo;
    CLxGroup::Descriptor d{&gui, "fo", {p[0], p[1], p[2], p[3], p[4], p[5]}, 10, 20};
    auto* group = new CLxGroup(&d);
    EXPECT_EQ(gui.FindGroup("fo"), group);
    EXPECT_EQ(group->m_nFlags, -1);
    const struct {
        int state;
        uint32_t colour;
    } cases[] = {
        {4, 0x40}, {5, 0x40}, // 5 missing: 4
        {1, 0x10},            // disabled under the mouse: 0
        {3, 0x60},            // 3 and 2 missing: the enabled 6
        {7, 0x70}, {6, 0x60}, {0, 0x10}, {8 + 4, 0x40},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Colour(group->GetPicture(c.state)), c.colour) << c.state;
    delete group;
    EXPECT_EQ(gui.FindGroup("fo"), nullptr);
}

TEST_F(Groups, DescriptionReadsGroupsAndTheirPictures) {
    WriteFile("data/scr/screen.xml",
              "<Lexo>\n"
              "<group name=\"fo\" position=\"100,50\">\n"
              "  <unselected passive=\"n\" active=\"a\" disabled=\"d\"/>\n"
              "  <unselected passive=\"n2.bmp\"/>\n"
              "  <selected passive=\"s\" active=\"nincs\"/>\n"
              "</group>\n"
              "<group name=\"al\">\n" // no position: the one read before
              "</group>\n"
              "<group name=\"fo\" position=\"1,1\"><selected passive=\"n\"/></group>\n"
              "</Lexo>\n");
    Picture("data/scr/n.bmp", 0x000040);
    Picture("data/scr/a.bmp", 0x000050);
    Picture("data/scr/d.bmp", 0x000010);
    Picture("data/scr/n2.bmp", 0x000044);
    Picture("data/scr/s.bmp", 0x000060);
    testing::internal::CaptureStdout();
    CLxCGUI gui("data\\scr\\screen.xml");
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("File not found! data\\scr\\nincs.bmp"), std::string::npos);
    CLxGroup* fo = gui.FindGroup("fo");
    ASSERT_NE(fo, nullptr);
    EXPECT_EQ(fo->m_nX, 100);
    EXPECT_EQ(fo->m_nY, 50);
    EXPECT_EQ(Colour(fo->GetPicture(4)), 0x000044u); // the second "unselected" replaced it
    EXPECT_EQ(Colour(fo->GetPicture(5)), 0x000050u);
    EXPECT_EQ(Colour(fo->GetPicture(0)), 0x000010u);
    EXPECT_EQ(Colour(fo->GetPicture(6)), 0x000060u);
    // A missing file still fills its slot, with an empty picture.
    ASSERT_NE(fo->m_aPictures[7], nullptr);
    EXPECT_EQ(fo->m_aPictures[7]->m_pSurface, nullptr);
    EXPECT_EQ(fo->m_aPictures[2], nullptr); // no "disabled" on the selected tag
    CLxGroup* al = gui.FindGroup("al");
    ASSERT_NE(al, nullptr);
    EXPECT_EQ(al->m_nX, 100);
    EXPECT_EQ(al->GetPicture(4), nullptr);
    // The second "fo" tag continued the first group; its pictures were not read.
    EXPECT_EQ(gui.m_pGroups, al);
    EXPECT_EQ(al->m_pNext, fo);
    EXPECT_EQ(fo->m_pNext, nullptr);
}

TEST_F(Groups, ExpandingOnlyAtTheOrigin) {
    CLxCGUI gui(nullptr);
    CLxSurface* picture = CreateSurface(4, 4);
    FillRectPixel(picture, nullptr, 0xFFFFFF);
    CLxGroup::Descriptor d{
        &gui, "g", {nullptr, nullptr, picture, nullptr, nullptr, nullptr}, 10, 0};
    CLxGroup group(&d);
    EXPECT_TRUE(group.ExpandBitmaps(800, 600));
    EXPECT_EQ(group.GetPicture(4)->m_pSurface->w, 4);
    group.SetPosition(0, 0);
    EXPECT_TRUE(group.ExpandBitmaps(800, 600));
    CLxSurface* grown = group.GetPicture(4);
    EXPECT_EQ(grown->m_pSurface->w, 800);
    EXPECT_EQ(GetPixel(grown, 3, 3), 0xFFFFFFu);
    EXPECT_EQ(GetPixel(grown, 4, 4), 0u);
}

TEST_F(Groups, GroupWithoutDescriptionIsEmpty) {
    CLxSurface* picture = CreateSurface(2, 2);
    CLxGroup::Descriptor d{
        nullptr, "x", {picture, nullptr, nullptr, nullptr, nullptr, nullptr}, 5, 5};
    CLxGroup group(&d);
    EXPECT_EQ(group.GetPicture(0), nullptr);
    EXPECT_EQ(group.m_szName, nullptr);
    delete picture; // not taken over
}

TEST_F(Groups, PoolsDropWhatDoesNotFit) {
    CLxCGUI gui(nullptr);
    std::string big(5000, 'a');
    char* first = gui.StoreText(big.c_str());
    EXPECT_EQ(std::string(first), big);
    char* second = gui.StoreText(big.c_str());
    EXPECT_STREQ(second, "");
    EXPECT_EQ(second, gui.StoreText(nullptr)); // the shared empty text
    EXPECT_EQ(gui.TextUsed(), 5001);
    EXPECT_STREQ(gui.StoreText("ok"), "ok");
    RECT r{1, 2, 3, 4};
    for (int i = 0; i < CLxCGUI::kMaxRects; ++i)
        ASSERT_NE(gui.AddRect(&r), nullptr);
    EXPECT_EQ(gui.AddRect(&r), nullptr);
}
} // namespace
