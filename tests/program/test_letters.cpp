// Letter codes: decoding and encoding Hungarian letters, the alphabet and therapy order
// read from their files, and the letter-aware collation.
#include <string>
#include <vector>

#include "core/TextCodec.h"
#include "media/LxFile.h"
#include "reading/LxLetters.h"
#include "support/TempFolder.h"

namespace {

using Codes = std::vector<unsigned char>;

Codes ToVector(const std::string& codes) {
    return Codes(codes.begin(), codes.end());
}
Codes ToVector(const unsigned char* list) {
    Codes codes;
    for (; *list; ++list)
        codes.push_back(*list);
    return codes;
}
std::string FromVector(const Codes& codes) {
    return std::string(codes.begin(), codes.end());
}

const char kAlphabet[] =
    "<Lexora>\n<character vowels=\"a, \xE1, e, \xE9, i, \xED, o, \xF3, \xF6, \xF5, u, \xFA, "
    "\xFC, \xFB, i\xED, o\xF3, \xF6\xF5, u\xFA, \xFC\xFB\"\n consonants=\"b, c, cs, d, dz, dzs, "
    "f, g, gy, h, j, k, l, ly, m, n, ny, p, r, s, sz, t, ty, v, z, zs\"\n pairs=\"i\xED, o\xF3, "
    "\xF6\xF5, u\xFA, \xFC\xFB\" order=\"a, m, i\xED, t, b-p, s-sz-zs\"\n sort=\"a, b, c, cs, "
    "d, dz, dzs, e, f, g, gy, h, i, j, k, l, ly, m, n, ny, o, \xF6, p, q, r, s, sz, t, ty, u, "
    "\xFC, v, z, zs\"></character>\n<session character=\"a\"><game1/></session>\n</Lexora>\n";
const char kTherapy[] = "<character order=\"_, a, e\"/>\n<sentence0 text=\"Ez alma.\"/>\n"
                        "<character order=\"_, s, sz, zs, b-p\"/>\n";
const Codes kVowels = {'a', 225, 'e', 233, 'i', 237, 'o', 243, 246, 245,
                       'u', 250, 252, 251, 248, 249, 253, 254, 255};

class LettersTest : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        CLxFile::SetRoots(".\\", "data\\");
        WriteFile("data/olvfej_tem.xml", kAlphabet);
        WriteFile("data/beszedjav.xml", kTherapy);
        LoadAlphabet("data\\olvfej_tem.xml", "data\\beszedjav.xml");
    }
};

TEST_F(LettersTest, DecodesOneLetterAndTheBytesItTakes) {
    const struct {
        const char* text;
        int code, used;
    } cases[] = {
        {"dzsungel", 227, 3},
        {"Dzsungel", 195, 3},
        {"DZSUNGEL", 'D', 1},
        {"ccs", 235, 3},
        {"cs", 224, 2},
        {"c", 'c', 1},
        {"i\xED", 248, 2},
        {"i", 'i', 1},
        {"b-pa", 128, 3},
        {"b", 'b', 1},
        {"\\n", 10, 2},
        {"ddzs", 238, 4},
        {"ddz", 236, 3},
        {"\xF6\xF5", 253, 2},
        {"Ssz", 210, 3},
        {"sZ", 's', 1},
        {"s-sz-zs", 129, 7},
        {"s-x", 's', 1},
        {"", 0, 0},
        // A stray byte whose code has a longer text form still takes one byte.
        {"\xC3", 195, 1},
    };
    for (const auto& c : cases) {
        int used = -1;
        EXPECT_EQ(DecodeLetter(c.text, &used), c.code) << c.text;
        EXPECT_EQ(used, c.used) << c.text;
    }
}

TEST_F(LettersTest, EncodesTextForms) {
    const struct {
        int code;
        const char* text;
    } cases[] = {
        {214, "\xD6"},  {246, "\xF6"}, {245, "\xF5"}, {213, "\xD5"},     {250, "\xFA"},
        {251, "\xFB"},  {252, "\xFC"}, {224, "cs"},   {192, "Cs"},       {227, "dzs"},
        {238, "ddzs"},  {193, "\xC1"}, {225, "\xE1"}, {253, "\xF6\xF5"}, {255, "\xFC\xFB"},
        {248, "i\xED"}, {10, "\\n"},   {128, "b-p"},  {129, "s-sz-zs"},  {130, "\x82"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EncodeLetter(static_cast<unsigned char>(c.code)), c.text) << c.code;
    // Capitals keep their case through codes and back, as names typed by people must.
    for (const char* text : {"\xD6"
                             "d\xF6n",
                             "\xDAr \xDBr\xFCl", "\xD5sz \xDCll\xF5"})
        EXPECT_EQ(CodesToText(TextToCodes(text).c_str()), text) << text;
    for (int code = 1; code < 256; ++code) {
        std::string form = EncodeLetter(static_cast<unsigned char>(code));
        EXPECT_EQ(LetterLength(static_cast<unsigned char>(code)), static_cast<int>(form.size()))
            << code;
    }
    // Special letters are written with letters, never with control bytes.
    for (int code = 192; code < 256; ++code) {
        for (char c : EncodeLetter(static_cast<unsigned char>(code)))
            EXPECT_GE(static_cast<unsigned char>(c), 'A') << code;
    }
}

TEST_F(LettersTest, WordsRoundTrip) {
    const struct {
        const char* word;
        Codes codes;
    } words[] = {
        {"cseresznye", {224, 'e', 'r', 'e', 231, 230, 'e'}},
        {"Gyula", {196, 'u', 'l', 'a'}},
        {"hossz\xFA", {'h', 'o', 242, 250}},
        {"madzag", {'m', 'a', 226, 'a', 'g'}},
        {"dzsessz", {227, 'e', 242}},
        {"lyuk", {229, 'u', 'k'}},
        {"Ny\xFAl", {198, 250, 'l'}},
        {"ty\xFAk", {232, 250, 'k'}},
        {"Zs\xF3"
         "fi",
         {202, 243, 'f', 'i'}},
        {"k\xF6nny\xFB", {'k', 246, 241, 251}},
        {"asszony", {'a', 242, 'o', 230}},
        {"eg\xE9szs\xE9g", {'e', 'g', 233, 231, 's', 233, 'g'}},
        {"\xC1gi", {193, 'g', 'i'}},
        {"menny", {'m', 'e', 241}},
        {"bridzs", {'b', 'r', 'i', 227}},
        {"CSAK", {'C', 'S', 'A', 'K'}},
        {"t\xF5ke", {'t', 245, 'k', 'e'}},
        {"a\\nb", {'a', 10, 'b'}},
    };
    for (const auto& w : words) {
        std::string codes = TextToCodes(w.word);
        EXPECT_EQ(ToVector(codes), w.codes) << w.word;
        EXPECT_EQ(CodesToText(codes.c_str()), w.word) << w.word;
    }
}

TEST_F(LettersTest, DoubledTextForFileNames) {
    std::string codes = TextToCodes("t\xF5"
                                    "ke \xFBr");
    std::string doubled = ToDoubledText(codes.c_str());
    EXPECT_EQ(doubled, "t\xF6\xF6ke \xFC\xFCr");
    EXPECT_EQ(DoubledTextToCodes(doubled.c_str()), codes);
    EXPECT_EQ(ToDoubledText("\xD5z\xDB"), "\xD6\xD6z\xDC\xDC");
    EXPECT_EQ(ToVector(DoubledTextToCodes("\xD6\xD6z\xDC\xDC")), (Codes{213, 'z', 219}));
    EXPECT_EQ(ToDoubledText(FromVector({224, 10}).c_str()), "cs\\n");
}

TEST_F(LettersTest, CaseLengthAndPairs) {
    const struct {
        unsigned char (*function)(unsigned char);
        int in, out;
    } cases[] = {
        {ToLower, 'A', 'a'},   {ToLower, 192, 224},   {ToLower, 'a', 'a'},   {ToLower, '1', '1'},
        {ToUpper, 'z', 'Z'},   {ToUpper, 255, 223},   {ToUpper, 128, 128},   {LongForm, 'i', 237},
        {LongForm, 'I', 205},  {LongForm, 224, 235},  {LongForm, 192, 203},  {LongForm, 246, 245},
        {LongForm, 214, 213},  {LongForm, 'a', 'a'},  {LongForm, 234, 247},  {ShortForm, 245, 246},
        {ShortForm, 213, 214}, {ShortForm, 238, 227}, {ShortForm, 'e', 'e'}, {PairLong, 253, 245},
        {PairShort, 253, 246}, {PairLong, 248, 237},  {PairShort, 255, 252}, {PairLong, 'a', 'a'},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.function(static_cast<unsigned char>(c.in)), c.out) << c.in;
    EXPECT_TRUE(IsVowelPair(254));
    EXPECT_FALSE(IsVowelPair(222));
    EXPECT_TRUE(IsVowel('A'));
    EXPECT_TRUE(IsVowel(249));
    EXPECT_FALSE(IsVowel('b'));
    EXPECT_TRUE(IsExtraLetter(129));
    EXPECT_FALSE(IsExtraLetter(130));
}

TEST_F(LettersTest, AlphabetReadsAlikeFromLatin2AndUTF8) {
    for (bool utf8 : {false, true}) {
        std::string text = kAlphabet;
        if (utf8) text = "\xEF\xBB\xBF" + talvik::Latin2ToUtf8(text);
        WriteFile("data/olvfej_tem.xml", text);
        LoadAlphabet("data\\olvfej_tem.xml", "data\\beszedjav.xml");
        EXPECT_EQ(ToVector(VowelList()), kVowels) << utf8;
        EXPECT_EQ(ToVector(PairList()), (Codes{248, 249, 253, 254, 255})) << utf8;
        EXPECT_EQ(ToVector(ConsonantList()).size(), 26u) << utf8;
        EXPECT_EQ(ConsonantList()[25], 234) << utf8;
        EXPECT_EQ(ExtraLetterCount(), 2) << utf8;
        // The later therapy "character" element wins.
        EXPECT_EQ(ToVector(TherapyOrder()), (Codes{'_', 's', 231, 234, 128})) << utf8;
    }
}

TEST_F(LettersTest, MissingFilesLeaveEmptyTablesAndPlainOrder) {
    LoadAlphabet("data\\none.xml", "data\\beszedjav.xml");
    EXPECT_EQ(VowelList()[0], 0);
    EXPECT_EQ(ConsonantList()[0], 0);
    EXPECT_EQ(ExtraLetterCount(), 0);
    EXPECT_EQ(TherapyOrder()[1], 's');
    EXPECT_EQ(DecodeLetter("b-p"), 'b');
    EXPECT_EQ(CompareCodes("b", "a"), 1);
    EXPECT_EQ(CompareCodes("\xE1", "b"), 1); // á by its code, after b
    LoadAlphabet("data\\none.xml", "data\\none.xml");
    EXPECT_EQ(TherapyOrder()[0], 0);
}

TEST_F(LettersTest, OverlongListsAreCut) {
    std::string many;
    for (int i = 0; i < 80; ++i)
        many += "a, b-" + std::to_string(i) + ", ";
    WriteFile("data/long.xml", "<character vowels=\"" + many + "\" consonants=\"" + many +
                                   "\" pairs=\"" + many + "\" order=\"" + many + "\">");
    WriteFile("data/longorder.xml", "<character order=\"" + many + "\">");
    LoadAlphabet("data\\long.xml", "data\\longorder.xml");
    EXPECT_EQ(ToVector(VowelList()).size(), 31u);
    EXPECT_EQ(ToVector(ConsonantList()).size(), 63u);
    EXPECT_EQ(ToVector(PairList()).size(), 31u);
    EXPECT_EQ(ToVector(TherapyOrder()).size(), 31u);
    EXPECT_EQ(ExtraLetterCount(), 64);
}

TEST_F(LettersTest, CollationByRank) {
    const struct {
        const char* a;
        const char* b;
        int expected;
    } cases[] = {
        {"ab",
         "\xE1"
         "b",
         -1},
        {"\xE1"
         "b",
         "ab", 1},
        {"b",
         "\xE1"
         "b",
         1},
        {"i", "\xED", -1},
        {"\xED", "i", 1},
        {"a", "ab", -1},
        {"", "", 0},
        {"ab", "AB", 0},
        {"9", "8", 1},
        {"cukor", "csak", -1},
        {"\xF6", "p", -1},
        {"o", "\xF6", -1},
        {"9", "w", -1},
        {"w", "9", 1},
        {"w", "x", -1},
        {"x", "w", 1},
        {"\xE1", "ab", -1},
        {"ab", "\xE1", 1},
    };
    for (const auto& c : cases) {
        std::string a = TextToCodes(c.a), b = TextToCodes(c.b);
        EXPECT_EQ(CompareCodes(a.c_str(), b.c_str()), c.expected) << c.a << " / " << c.b;
    }
}

// Sorting needs a strict weak order: antisymmetric, and transitive in both the order
// and the equivalence. Unlisted letters, digits and vowel variants share ranks here.
TEST_F(LettersTest, CollationIsAStrictWeakOrder) {
    const char* texts[] = {"",
                           "a",
                           "A",
                           "\xE1",
                           "ab",
                           "\xE1"
                           "b",
                           "ac",
                           "\xE1"
                           "c",
                           "b",
                           "w",
                           "x",
                           "9",
                           "8",
                           "w9",
                           "9w",
                           "i",
                           "\xED",
                           "i\xED",
                           "cs",
                           "c",
                           "ccs",
                           "\xF6",
                           "\xF5",
                           "\xF6\xF5",
                           "o",
                           "\xF3",
                           "e",
                           "\xE9",
                           "\xE9"
                           "b"};
    std::vector<std::string> codes;
    for (const char* t : texts)
        codes.push_back(TextToCodes(t));
    auto cmp = [](const std::string& a, const std::string& b) {
        return CompareCodes(a.c_str(), b.c_str());
    };
    for (const auto& a : codes)
        for (const auto& b : codes) {
            ASSERT_EQ(cmp(a, b), -cmp(b, a))
                << CodesToText(a.c_str()) << " / " << CodesToText(b.c_str());
            for (const auto& c : codes) {
                if (cmp(a, b) > 0 || cmp(b, c) > 0) continue;
                ASSERT_LE(cmp(a, c), 0) << CodesToText(a.c_str()) << " " << CodesToText(b.c_str())
                                        << " " << CodesToText(c.c_str());
            }
        }
    std::vector<char*> items;
    for (auto& c : codes)
        items.push_back(c.data());
    SortCodes(items.data(), 0, static_cast<int>(items.size()) - 1);
    for (size_t i = 1; i < items.size(); ++i)
        EXPECT_LE(CompareCodes(items[i - 1], items[i]), 0);
}

} // namespace
