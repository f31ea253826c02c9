// Tokens of script text: kinds, texts and the bracket and skip rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Expander.h"
#include "core/Lexer.h"

namespace {
struct Token {
    int kind;
    std::string text;
    bool operator==(const Token& o) const { return kind == o.kind && text == o.text; }
};

std::ostream& operator<<(std::ostream& os, const Token& t) {
    return os << "(" << t.kind << " '" << t.text << "')";
}

// Reads every token, stepping over separators and brackets the way the block does.
std::vector<Token> Tokens(const char* text) {
    Expander expander(text);
    Lexer lexer(&expander);
    std::vector<Token> tokens;
    for (int guard = 0; guard < 100; ++guard) {
        int length = 0, kind = 0;
        const char* token = lexer.Read(&length, &kind);
        if (!token) break;
        tokens.push_back({kind, std::string(token, length)});
        if (kind == 1) lexer.SkipItem(lexer.Depth());
        if (kind == 10) lexer.SkipBlock(lexer.Depth());
        if (kind == 9) lexer.Depth();
    }
    return tokens;
}

struct LexerCase {
    const char* text;
    std::vector<Token> tokens;
};

class LexerTable : public ::testing::TestWithParam<LexerCase> {};

TEST_P(LexerTable, GivesKindsAndTexts) {
    EXPECT_EQ(Tokens(GetParam().text), GetParam().tokens) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, LexerTable,
    ::testing::Values(
        LexerCase{"1.5+2", {{102, "1.5+2"}}}, LexerCase{"1+2", {{102, "1"}, {102, "+2"}}},
        LexerCase{"-3", {{102, "-3"}}}, LexerCase{"+.5", {{102, "+.5"}}},
        LexerCase{".", {{102, "."}}}, LexerCase{"data/sub", {{100, "data/sub"}}},
        LexerCase{"a*b", {{100, "a*b"}}}, LexerCase{"'my name'", {{100, "my name"}}},
        LexerCase{"'a b'.c", {{101, "a b"}, {100, "c"}}}, LexerCase{"\"a\\tb\"", {{103, "a\\tb"}}},
        LexerCase{"\"open", {{103, "open"}}}, LexerCase{"/", {{-1, "/"}}},
        LexerCase{"// note", {{-1, "// note"}}},
        LexerCase{"/* x = y */", {{-1, "/* x "}, {13, "="}, {100, "y"}, {100, "*/"}}},
        LexerCase{"a.b.c", {{101, "a"}, {101, "b"}, {100, "c"}}},
        LexerCase{"x = 5;", {{100, "x"}, {13, "="}, {102, "5"}, {1, ";"}}},
        LexerCase{"f(1, 2)", {{100, "f"}, {9, "("}, {102, "1"}, {1, ","}, {102, "2"}, {10, ")"}}},
        LexerCase{"e5 E", {{100, "e5"}, {100, "E"}}}, LexerCase{"1e5", {{102, "1e5"}}},
        LexerCase{"x \\ y", {{100, "x"}, {5, "\\"}, {100, "y"}}}, LexerCase{"! # $ % & <", {}}));

TEST(Lexer, LineThatEndsInBlanksJoinsTheNext) {
    EXPECT_EQ(Tokens("a   \nb"), (std::vector<Token>{{100, "a"}, {100, "b"}}));
}

TEST(Lexer, CarriageReturnIsASeparator) {
    EXPECT_EQ(Tokens("a\r\nb"), (std::vector<Token>{{100, "a"}, {1, "\r"}, {100, "b"}}));
}

TEST(Lexer, OpeningBracketRaisesDepthAndSkipBlockLowersIt) {
    Expander expander("f(a, (b c), d) next");
    Lexer lexer(&expander);
    int length = 0, kind = 0;
    lexer.Read(&length, &kind);
    lexer.Read(&length, &kind);
    EXPECT_EQ(kind, 9);
    EXPECT_EQ(lexer.Depth(), 1);
    lexer.SkipBlock(1);
    EXPECT_EQ(lexer.Depth(), 0);
    const char* token = lexer.Read(&length, &kind);
    EXPECT_EQ(std::string(token, length), "next");
}

TEST(Lexer, SkipItemStopsOnTheClosingBracketOfItsLevel) {
    Expander expander("(a)");
    Lexer lexer(&expander);
    int length = 0, kind = 0;
    lexer.Read(&length, &kind);
    int level = lexer.Depth();
    lexer.Read(&length, &kind);
    lexer.SkipItem(level);
    lexer.Current(&length, &kind);
    EXPECT_EQ(kind, 10);
    EXPECT_EQ(lexer.Depth(), 1);
}
} // namespace
