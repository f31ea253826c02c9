// The language-file reader: the tree it builds from Latin-2 and UTF-16 files, cursor
// paths (names, numbered children, IDs, parents), attribute lists, and input that ends
// in the middle of a tag.
#include <gtest/gtest.h>

#include <string>

#include "core/XMLParser.h"
#include "support/EngineTest.h"

namespace {
const char* kLanguage =
    "<?xml version=\"1.0\"?>\n"
    "<LANGUAGE name=\"sz\xE1mok\">\n"
    " <AUTOMATA count=\"2\">\n"
    "  <AUTOMATON states=\"1,,2,\" weights=\"0.5;1.25\" names=\"egy k\xE9t\"/>\n"
    "  <ITEM ID=\"first\" a=\"1\" a=\"2\">text</ITEM>\n"
    "  <OTHER/>\n"
    " </AUTOMATA>\n"
    "</LANGUAGE>\n";

std::string Utf16(const std::wstring& text) {
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8 & 0xFF);
    }
    return bytes;
}

class XMLParserTest : public EngineTest {};

TEST_F(XMLParserTest, Latin2AndUtf16FilesGiveTheSameTree) {
    WriteFile("latin2.xml", kLanguage);
    std::wstring wide;
    for (const char* c = kLanguage; *c; ++c)
        wide += static_cast<wchar_t>(static_cast<unsigned char>(*c) == 0xE1   ? L'\u00E1'
                                     : static_cast<unsigned char>(*c) == 0xE9 ? L'\u00E9'
                                                                              : *c);
    WriteFile("utf16.xml", Utf16(wide));
    for (const char* file : {"latin2.xml", "utf16.xml"}) {
        SCOPED_TRACE(file);
        XMLParser xml;
        ASSERT_TRUE(xml.Load(file));
        ASSERT_TRUE(xml.Go(L"/LANGUAGE"));
        std::wstring name;
        EXPECT_TRUE(xml.Attribute(L"name", &name));
        EXPECT_EQ(name, L"sz\u00E1mok");
        ASSERT_TRUE(xml.Go(L"AUTOMATA/AUTOMATON"));
        EXPECT_EQ(xml.StringItems(L"names", L" "),
                  (std::vector<std::wstring>{L"egy", L"k\u00E9t"}));
        EXPECT_EQ(xml.Path(), L"/LANGUAGE/AUTOMATA/AUTOMATON");
    }
}

TEST_F(XMLParserTest, PathsFindNamesNumbersAndIds) {
    WriteFile("l.xml", kLanguage);
    struct Case {
        const wchar_t* path;
        bool found;
        const wchar_t* at; // the element the cursor is on afterwards
    };
    const Case cases[] = {
        {L"/LANGUAGE/AUTOMATA/AUTOMATON", true, L"AUTOMATON"},
        {L"/LANGUAGE/AUTOMATA/#2", true, L"ITEM"},      // counts every element
        {L"/LANGUAGE/AUTOMATA/#1#ITEM", true, L"ITEM"}, // the first ITEM
        {L"/LANGUAGE/AUTOMATA/#2#ITEM", false, L"AUTOMATA"},
        {L"/LANGUAGE/AUTOMATA/first", true, L"ITEM"}, // by its ID
        {L"/LANGUAGE/AUTOMATA/NONE", false, L"AUTOMATA"},
        {L"/LANGUAGE/AUTOMATA/OTHER/../ITEM", true, L"ITEM"},
        {L"/LANGUAGE/./AUTOMATA", true, L"AUTOMATA"},
        {L"", true, L"__ROOT"},
    };
    for (const Case& c : cases) {
        XMLParser xml;
        ASSERT_TRUE(xml.Load("l.xml"));
        EXPECT_EQ(xml.Go(c.path), c.found) << c.path;
        EXPECT_EQ(xml.Current()->name, c.at) << c.path;
    }
}

TEST_F(XMLParserTest, NoParentAboveTheRoot) {
    WriteFile("l.xml", kLanguage);
    XMLParser xml;
    ASSERT_TRUE(xml.Load("l.xml"));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(xml.Go(L"../"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "error: there is no more parent node");
    EXPECT_EQ(xml.Current()->name, L"__ROOT");
}

TEST_F(XMLParserTest, AttributesAndTheirItems) {
    WriteFile("l.xml", kLanguage);
    XMLParser xml;
    ASSERT_TRUE(xml.Load("l.xml"));
    ASSERT_TRUE(xml.Go(L"/LANGUAGE/AUTOMATA/AUTOMATON"));
    EXPECT_EQ(xml.CountItems(L"states", L","), 2);
    EXPECT_EQ(xml.IntItems(L"states", L","), (std::vector<int>{1, 2}));
    EXPECT_EQ(xml.DoubleItems(L"weights", L";"), (std::vector<double>{0.5, 1.25}));
    EXPECT_EQ(xml.CountItems(L"missing", L","), -1);
    EXPECT_EQ(xml.AttributeLength(L"missing"), -1);
    EXPECT_EQ(xml.AttributeInt(L"missing", 7), 7);
    ASSERT_TRUE(xml.Go(L"../ITEM"));
    EXPECT_EQ(xml.AttributeInt(L"a", 0), 2); // the later duplicate wins
    EXPECT_EQ(xml.Current()->firstChild->value, L"text");
    ASSERT_TRUE(xml.Go(L"/LANGUAGE/AUTOMATA"));
    EXPECT_EQ(xml.AttributeInt(L"count", 0), 2);
}

TEST_F(XMLParserTest, EmptyValuesAndMissingFiles) {
    WriteFile("e.xml", "<A empty=\"\"><B/></A>");
    XMLParser xml;
    ASSERT_TRUE(xml.Load("e.xml"));
    ASSERT_TRUE(xml.Go(L"/A"));
    EXPECT_EQ(xml.CountItems(L"empty", L","), 0);
    EXPECT_EQ(xml.AttributeLength(L"empty"), 0);
    EXPECT_TRUE(xml.Go(L"B"));
    EXPECT_FALSE(xml.Load("nincs.xml"));
    EXPECT_EQ(sink_->Take(), "XMLParser: File Not Found nincs.xml\n");
    EXPECT_FALSE(xml.Go(L"/A"));
}

// Input that stops inside a tag, an attribute or a quote is taken as far as it goes.
TEST_F(XMLParserTest, TruncatedInputEndsTheTree) {
    const char* cuts[] = {"<",    "<A",    "<A b",  "<A b=",         "<A b=\"x", "<A><B c=\"1\"",
                          "<A><", "<A></", "<?xml", "<A><B/><C>text"};
    for (const char* text : cuts) {
        SCOPED_TRACE(text);
        WriteFile("t.xml", text);
        XMLParser xml;
        EXPECT_TRUE(xml.Load("t.xml"));
        xml.Go(L"/A/B");
    }
    WriteFile("deep.xml", std::string(200000, '<') + "x");
    XMLParser deep;
    EXPECT_TRUE(deep.Load("deep.xml"));
}
} // namespace
