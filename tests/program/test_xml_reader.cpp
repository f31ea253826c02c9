// The XML-like file reader: tag scanning, attribute lookup, the typed readers with their
// shared last position and rectangle, list splitting, and the UTF-8 conversion on open.
#include <cfloat>
#include <climits>
#include <string>
#include <vector>

#include "media/LxFile.h"
#include "shell/LxXMLParser.h"
#include "support/TempFolder.h"

namespace {

class XMLReaderTest : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        CLxFile::SetRoots(".\\", "data\\");
    }
    // Opens the text as a file and returns every tag the scan gives.
    std::vector<std::string> Tags(const std::string& text) {
        WriteFile("data/t.xml", text);
        std::vector<std::string> tags;
        if (!reader_.Open("data\\t.xml")) return {"<not opened>"};
        while (char* tag = reader_.NextTag())
            tags.push_back(tag);
        return tags;
    }
    CLxXMLParser reader_;
};

struct AttrCase {
    const char* tag;
    const char* name;
    const char* expected; // null: no value
};

const AttrCase kAttrs[] = {
    {"control type = \"button\" name='x'", "type", "button"},
    {"control type = \"button\" name='x'", "name", "x"},
    {"control help=\"\" type=\"b\"", "help", nullptr},
    {"control typeface=\"serif\" type=\"b\"", "type", "b"},
    {"control filename=\"a.bmp\" name=\"n\"", "name", "a.bmp"}, // a name ending another
    {"control a='it\"s'", "a", "it\"s"},
    {"control a=\"it's\"", "a", "it's"},
    {"control type=\"open", "type", nullptr},
    {"control type=bare", "type", nullptr},
    {"control type=\"b\"", "size", nullptr},
    {"control type=\"b\"", "", nullptr},
};

TEST_F(XMLReaderTest, AttributesByName) {
    for (const AttrCase& c : kAttrs) {
        std::string tag = c.tag;
        const char* value = reader_.GetAttr(tag.c_str(), c.name);
        if (!c.expected)
            EXPECT_EQ(value, nullptr) << c.tag << " / " << c.name;
        else
            EXPECT_STREQ(value, c.expected) << c.tag << " / " << c.name;
    }
}

struct ScanCase {
    std::string text;
    std::vector<std::string> tags;
};

TEST_F(XMLReaderTest, TagsInFileOrder) {
    const ScanCase cases[] = {
        {"<a>\n<  b c='1'  >", {"a", "b c='1'"}},
        {"<!-- <control type=\"x\"> --><d>", {"!-- <control type=\"x\"> --", "d"}},
        {"<a><b", {"a"}},
        {"<a> x > <b>", {"a"}},
        {"<a><><b>", {"a"}},
        {"< >", {""}},
        {"no tags here", {}},
        {"<!-- open <a>", {}},
        {std::string("<a>\0<b>", 7), {"a", "b"}},
        {"<a>\xC3", {"a"}},
    };
    for (const ScanCase& c : cases)
        EXPECT_EQ(Tags(c.text), c.tags) << c.text;
}

TEST_F(XMLReaderTest, LongTagsAndValuesAreCut) {
    std::string value(9000, 'v');
    auto tags = Tags("<c k=\"" + value + "\"><" + std::string(9000, 'x') + "><d>");
    ASSERT_EQ(tags.size(), 3u);
    EXPECT_EQ(tags[0].size(), 8191u);
    EXPECT_EQ(tags[1], std::string(8191, 'x'));
    EXPECT_EQ(tags[2], "d");
    std::string tag = "c k=\"" + value + "\"";
    EXPECT_EQ(std::string(reader_.GetAttr(tag.c_str(), "k")), std::string(8191, 'v'));
}

TEST_F(XMLReaderTest, UTF8WithMarkBecomesLatin2) {
    const struct {
        const char* utf8;
        const char* latin2;
    } cases[] = {
        {"\xC3\xA1", "\xE1"}, {"\xC5\x91", "\xF5"}, {"\xC5\x90", "\xD5"},
        {"\xC5\xB0", "\xDB"}, {"\xC5\xB1", "\xFB"}, {"\xC3\x89", "\xC9"},
    };
    for (const auto& c : cases) {
        auto tags = Tags(std::string("\xEF\xBB\xBF<t v='") + c.utf8 + "'>");
        ASSERT_EQ(tags.size(), 1u) << c.utf8;
        EXPECT_EQ(tags[0], std::string("t v='") + c.latin2 + "'");
    }
    // Without the mark, bytes stay as they are.
    EXPECT_EQ(Tags("<t v='\xC5\x91'>"), std::vector<std::string>{"t v='\xC5\x91'"});
}

TEST_F(XMLReaderTest, OpensArchivedFilesAndFailsOnMissingOnes) {
    ASSERT_TRUE(WriteZip("data4.zip", {{"screen.xml", "<control type='button'>", true}}));
    ASSERT_TRUE(reader_.Open("data\\screen.xml"));
    EXPECT_STREQ(reader_.GetFile(), "data\\screen.xml");
    EXPECT_STREQ(reader_.NextTag(), "control type='button'");
    EXPECT_EQ(reader_.NextTag(), nullptr);

    ASSERT_TRUE(reader_.Open("data\\screen.xml"));
    EXPECT_FALSE(reader_.Open("data\\missing.xml"));
    EXPECT_EQ(reader_.NextTag(), nullptr);
}

TEST_F(XMLReaderTest, RectanglesAndPositionsCarryOver) {
    struct {
        const char* tag;
        LxRect rect;
    } rects[] = {
        {"r rect='10,20,30,40'", {10, 20, 40, 60}},
        {"r", {10, 20, 40, 60}},
        {"r rect=' 1, 2'", {1, 2, 31, 42}},
        {"r rect='5,,7'", {5, 2, 12, 42}},
        {"r rect='2147483647,0,10,0'", {INT_MAX, 0, INT_MAX, 0}},
    };
    for (const auto& c : rects) {
        LxRect r = reader_.GetRect(c.tag);
        EXPECT_EQ((std::vector<int>{r.left, r.top, r.right, r.bottom}),
                  (std::vector<int>{c.rect.left, c.rect.top, c.rect.right, c.rect.bottom}))
            << c.tag;
    }
    struct {
        const char* tag;
        int x, y;
    } positions[] = {
        {"p position='5, 6'", 5, 6},
        {"p position='7'", 5, 6},
        {"p", 5, 6},
        {"p position='-3,4'", -3, 4},
    };
    for (const auto& c : positions) {
        LxPoint p = reader_.GetPosition(c.tag);
        EXPECT_EQ(p.x, c.x) << c.tag;
        EXPECT_EQ(p.y, c.y) << c.tag;
    }
}

TEST_F(XMLReaderTest, NumbersAndLists) {
    int n = 0;
    float f = 0;
    EXPECT_TRUE(reader_.GetInt("s volume=' 12 '", "volume", &n));
    EXPECT_EQ(n, 12);
    EXPECT_TRUE(reader_.GetInt("s volume='99999999999'", "volume", &n));
    EXPECT_EQ(n, INT_MAX);
    EXPECT_FALSE(reader_.GetInt("s", "volume", &n));
    EXPECT_TRUE(reader_.GetFloat("s level='0.002'", "level", &f));
    EXPECT_FLOAT_EQ(f, 0.002f);
    EXPECT_TRUE(reader_.GetFloat("s level='1e99'", "level", &f));
    EXPECT_EQ(f, FLT_MAX);

    for (const char* tag : {"s pictures='1,2,3'", "s pictures='1, 2, 3'"}) {
        int out[3] = {};
        EXPECT_EQ(reader_.GetIntList(tag, "pictures", out, 3), 3) << tag;
        EXPECT_EQ((std::vector<int>(out, out + 3)), (std::vector<int>{1, 2, 3})) << tag;
    }
    int small[3] = {0, 0, -7};
    EXPECT_EQ(reader_.GetIntList("s p='4,5,6,7'", "p", small, 2), 4); // the real count
    EXPECT_EQ(small[2], -7);                                          // nothing past max
    EXPECT_EQ(reader_.GetIntList("s", "p", small, 2), -1);
    float floats[2] = {};
    EXPECT_EQ(reader_.GetFloatList("s w='0.5, 1.25'", "w", floats, 2), 2);
    EXPECT_FLOAT_EQ(floats[1], 1.25f);
}

TEST_F(XMLReaderTest, SplitsListsWithQuotes) {
    struct {
        std::string text;
        int max;
        std::vector<std::string> items;
    } cases[] = {
        {" a, \"b,c\" , 'd' ", 8, {"a", "b,c", "d"}},
        {"a,,b", 8, {"a", "", "b"}},
        {"a,b,c", 2, {"a", "b"}},
        {"  ", 8, {}},
        {"'open,x", 8, {"'open", "x"}},
    };
    for (auto& c : cases) {
        std::vector<char> text(c.text.begin(), c.text.end());
        text.push_back(0);
        char* items[8];
        int count = CLxXMLParser::SplitList(text.data(), items, c.max);
        EXPECT_EQ(std::vector<std::string>(items, items + count), c.items) << c.text;
    }
    char blanks[] = " \t x \r\n";
    EXPECT_STREQ(CLxXMLParser::Trim(blanks), "x");
}

// The readers' two ways of naming a tag: by the word it starts with, or by its whole
// element name.
TEST(TagWords, PrefixOrWholeName) {
    struct Case {
        const char* tag;
        const char* word;
        bool starts, is;
    } cases[] = {
        {"game1 words=\"a\"", "game", true, false},
        {"game1 words=\"a\"", "game1", true, true},
        {"game2a", "game2", true, false},
        {"/session", "/session", true, true},
        {"/session", "session", false, false},
        {"sound\tname=\"x\"", "sound", true, true},
        {"sound/", "sound", true, true},
        {"", "x", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LxTagStarts(c.tag, c.word), c.starts) << c.tag << " " << c.word;
        EXPECT_EQ(LxTagIs(c.tag, c.word), c.is) << c.tag << " " << c.word;
    }
    EXPECT_FALSE(LxTagStarts(nullptr, "x"));
}

} // namespace
