// Line expansion: ranges, for-lines and the bounds of the expanded line.
#include <gtest/gtest.h>

#include <string>

#include "core/Expander.h"
#include "support/EngineTest.h"

namespace {
std::string Expand(const char* line) {
    Expander expander(line);
    int length = 0, kind = 0;
    const char* out = expander.Read(&length, &kind);
    return out ? out : "<none>";
}

struct ExpandCase {
    const char* line;
    const char* expanded;
};

class ExpanderTable : public ::testing::TestWithParam<ExpandCase> {};

TEST_P(ExpanderTable, RewritesTheLine) {
    EXPECT_EQ(Expand(GetParam().line), GetParam().expanded) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ExpanderTable,
    ::testing::Values(
        ExpandCase{"x = anne[1..3];", "x = anne1,anne2,anne3;"}, ExpandCase{"[2..4]", "2,3,4"},
        ExpandCase{"a[1]", "a[1]"}, ExpandCase{"a[1...3]", "a[1...3]"},
        ExpandCase{"anne[3..1];", ";"}, ExpandCase{"a[ 1 .. 2 ]", "a1,a2"},
        ExpandCase{"\"a[1..2]\"", "\"a[1..2]\""},
        ExpandCase{"'a[1..2]' b[1..2]", "'a[1..2]' b1,b2"}, ExpandCase{"\\[1..2]", "\\[1..2]"},
        ExpandCase{"a[x..2]", "a[x..2]"}, ExpandCase{"a[1..2", "a[1..2"},
        ExpandCase{"for i: 1..3 gain[i] = level[i+10];",
                   "gain1 = level11;gain2 = level12;gain3 = level13;"},
        ExpandCase{"for i 0..2 f[i*2];", "f0;f2;f4;"}, ExpandCase{"for i 1..2 f[I];", "f1;f2;"},
        ExpandCase{"for i 1..2 f[i+];", "f1;f2;"},
        ExpandCase{"for i 5..5 f[i/2],g[i%3],h[i-7];", "f2,g2,h-2;"},
        ExpandCase{"for i 3..1 f[i];", ""}, ExpandCase{"for i 1..2000000000 ", ""},
        ExpandCase{"for 1..2 x[];", "x1;x2;"},
        ExpandCase{"for i 1..2 a[1..2];", "a[1..2];a[1..2];"}, ExpandCase{"  lead", "lead"},
        ExpandCase{"forward[1..2]", "forward1,forward2"}, ExpandCase{"a\r", "a\r"}));

TEST(Expander, SplitsLinesAndSkipsEmptyOnes) {
    Expander expander("a\n\n\nb\nc");
    int length = 0, kind = 0;
    EXPECT_STREQ(expander.Read(&length, &kind), "a");
    EXPECT_STREQ(expander.Read(&length, &kind), "b");
    EXPECT_STREQ(expander.Read(&length, &kind), "c");
    EXPECT_EQ(expander.Read(&length, &kind), nullptr);
}

TEST(Expander, CutsSourceLinesAt1023Characters) {
    std::string line(2000, 'x');
    EXPECT_EQ(Expand(line.c_str()).size(), 1023u);
}

// Expansions that would outgrow the 32768-character line stop at the bound.
TEST(Expander, HugeExpansionsStopAtTheLineBound) {
    for (const char* line : {"x = a[1..999999]", "for i 0..2000000000 x[i];"}) {
        testing::internal::CaptureStdout();
        std::string out = Expand(line);
        std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_LE(out.size(), size_t(Expander::kCapacity)) << line;
        EXPECT_GT(out.size(), size_t(30000)) << line;
        EXPECT_EQ(printed, "Ups\n") << line;
    }
}

TEST(Expander, LongForBodiesAreCutNotOverrun) {
    std::string line = "for i 1000000000..1000000001 ";
    for (int k = 0; k < 330; ++k)
        line += "[i]";
    std::string out = Expand(line.c_str());
    EXPECT_EQ(out.size(), 2u * Expander::kMaxBody);
}

class ExpanderMessages : public EngineTest {};

TEST_F(ExpanderMessages, DivisionByZeroGivesTheLoopValueWithAWarning) {
    EXPECT_EQ(Expand("for i 4..4 f[i/0],g[i%0];"), "f4,g4;");
    EXPECT_NE(sink_->Take().find("division by zero"), std::string::npos);
}

TEST(Expander, ReadsLinesFromAnUpstreamWhoseChunksHoldNul) {
    class Chunks : public virtual Input {
      public:
        const char* Read(int* length, int* kind) override {
            if (done_) return nullptr;
            done_ = true;
            *length = 7;
            *kind = 103;
            return "ab\0cd\nz";
        }
        const char* Current(int*, int*) override { return nullptr; }
        void Rewind() override { done_ = false; }

      private:
        bool done_ = false;
    } chunks;
    Expander expander(&chunks);
    int length = 0, kind = 0;
    EXPECT_STREQ(expander.Read(&length, &kind), "ab");
    EXPECT_EQ(kind, 103);
    EXPECT_EQ(expander.Read(&length, &kind), nullptr);
}
} // namespace
