// The main window's rules: command-line options, the 4:3 shape while resizing, and the
// mapping of client positions to the drawing surface.
#include <gtest/gtest.h>

#include "shell/LxWindowRules.h"

TEST(OptionValue, FormsThatCountAndFormsThatDoNot) {
    const struct {
        const char* line;
        int expected;
    } cases[] = {
        {"pdrv=2", 2},
        {"pdrv = 2", 2},
        {"cdev=1 pdrv=\t3", 3},
        {"pdrv=2 cdrv=4", 2},
        {"pdrv=2x", -1},
        {"pdrv:2", -1},
        {"pdrv=", -1},
        {"", -1},
        {"xpdrv=7", 7}, // the key is found anywhere, as a plain substring
        {"pdrv=0000000000000000000000000000000000000000000000000000000000000001", -1},
        {"pdrv=99999999999", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetOptionValue(c.line, "pdrv", -1), c.expected) << c.line;
    EXPECT_EQ(GetOptionValue(nullptr, "pdrv", 5), 5);
}

TEST(KeepAspect, EachEdgeKeepsFourToThree) {
    // Frame of 16 x 39 around the client area, as a window manager adds.
    const int fw = 16, fh = 39;
    const struct {
        int edge;
        RECT proposed;
        RECT expected;
    } cases[] = {
        {kEdgeRight, {0, 0, 1000 + fw, 600 + fh}, {0, 0, 1000 + fw, 750 + fh}},
        {kEdgeLeft, {100, 0, 900 + fw, 600 + fh}, {100, 0, 900 + fw, 600 + fh}},
        {kEdgeBottom, {0, 0, 800 + fw, 900 + fh}, {0, 0, 1200 + fw, 900 + fh}},
        {kEdgeBottomRight, {0, 0, 1000 + fw, 600 + fh}, {0, 0, 1000 + fw, 750 + fh}},
        {kEdgeBottomRight, {0, 0, 800 + fw, 900 + fh}, {0, 0, 1200 + fw, 900 + fh}},
        {kEdgeTopLeft, {0, 0, 1000 + fw, 600 + fh}, {0, -150, 1000 + fw, 600 + fh}},
        {kEdgeTopRight, {0, 0, 800 + fw, 900 + fh}, {0, 0, 1200 + fw, 900 + fh}},
        {kEdgeBottomLeft, {0, 0, 800 + fw, 900 + fh}, {-400, 0, 800 + fw, 900 + fh}},
        {0, {0, 0, 123, 456}, {0, 0, 123, 456}},
        {9, {0, 0, 123, 456}, {0, 0, 123, 456}},
    };
    for (const auto& c : cases) {
        RECT r = c.proposed;
        KeepAspect(&r, c.edge, fw, fh);
        EXPECT_EQ(r.left, c.expected.left) << c.edge;
        EXPECT_EQ(r.top, c.expected.top) << c.edge;
        EXPECT_EQ(r.right, c.expected.right) << c.edge;
        EXPECT_EQ(r.bottom, c.expected.bottom) << c.edge;
    }
}

TEST(ClientToSurface, ScalesAndRefusesAnEmptyClientArea) {
    POINT p{};
    ASSERT_TRUE(ClientToSurface(500, 375, 1000, 750, 800, 600, &p));
    EXPECT_EQ(p.x, 400);
    EXPECT_EQ(p.y, 300);
    ASSERT_TRUE(ClientToSurface(799, 599, 800, 600, 800, 600, &p));
    EXPECT_EQ(p.x, 799);
    EXPECT_EQ(p.y, 599);
    // A minimised window has no client area: the position means nothing.
    EXPECT_FALSE(ClientToSurface(10, 10, 0, 0, 800, 600, &p));
    EXPECT_FALSE(ClientToSurface(10, 10, 800, 0, 800, 600, &p));
}
