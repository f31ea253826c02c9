// Phoneme sets and language graphs: codes from a phoneme list, the pronunciation tree
// of a word list (shared prefixes, end markers, "*" links, rebuilds), the number
// automaton (shape, letters, refused files), and graphs kept alive by any held node.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Language.h"
#include "Module.h"
#include "Phonemes.h"
#include "core/TextCodec.h"
#include "signal/SignalTest.h"

namespace {
class LanguageTest : public SignalTest {
  protected:
    Phonemes* Set(const std::string& name) {
        auto* p = QueryInterface<Phonemes>(Get(name), "Phonemes");
        if (p) p->Release();
        return p;
    }
    Language* Graph(const std::string& name) {
        auto* l = QueryInterface<Language>(Get(name), "Language");
        if (l) l->Release();
        return l;
    }
    void Process(const std::string& name) {
        auto* m = QueryInterface<Module>(Get(name), "Module");
        m->Process();
        m->Release();
    }
    // The successors of a node as "code:letters" items.
    static std::vector<std::string> Successors(Language* node) {
        std::vector<std::string> out;
        for (Language* s = node ? node->First() : nullptr; s; s = s->Next()) {
            out.push_back(std::to_string(s->code) + ":" + talvik::WideToLatin2(s->letters));
        }
        return out;
    }
    static Language* Child(Language* node, int code) {
        for (Language* s = node->First(); s; s = s->Next())
            if (s->code == code) return s;
        return nullptr;
    }
};

using Items = std::vector<std::string>;

TEST_F(LanguageTest, PhonemeListLinesAreCodes) {
    WriteFile("p.txt", "a \xE1\n\nb \"c c\"\nlongsymbol_1_x\n");
    EXPECT_EQ(In("p = new SimplePhonemes(new File(\"p.txt\"))"), "");
    Phonemes* p = Set("p");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Code("\xE1"), 1);
    EXPECT_EQ(p->Code("a"), 1);
    EXPECT_EQ(p->Code("b"), 3);              // the empty line used up code 2
    EXPECT_EQ(p->Code("c"), 3);              // quotes delimit too
    EXPECT_EQ(p->Code("longsymbol_1_y"), 4); // the same in the first 11 characters
    EXPECT_EQ(p->Code("x"), -1);
    EXPECT_STREQ(p->Symbol(1), "a");
    EXPECT_STREQ(p->Symbol(2), "");
    EXPECT_EQ(p->Count(), 4);
}

TEST_F(LanguageTest, PhonemeSeparatorAndMessages) {
    EXPECT_EQ(In("p = new SimplePhonemes(\"a,b\", \",\")"), "");
    EXPECT_EQ(Set("p")->Code("b"), 1);
    EXPECT_EQ(In("q = new SimplePhonemes(\"a b\", \"ab\")"),
              "SimplePhonemes: separator must be a character\n");
    EXPECT_EQ(Set("q")->Code("b"), 1);
    EXPECT_EQ(In("r = new SimplePhonemes(5)"),
              "SimplePhonemes: First parameter must be 'Input' Interface\n"
              "Warning: '(' not Found\n");
    EXPECT_EQ(In("d = new Dictionary(5, p)"),
              "Dictionary: First parameter error\nWarning: '(' not Found\n");
    EXPECT_EQ(In("d = new Dictionary(\"x\", 5)"),
              "Dictionary: Second parameter error\nWarning: '(' not Found\n");
    EXPECT_EQ(In("n = new NumberUnit(5, p)"),
              "NumberUnit: First parameter error\nWarning: '(' not Found\n");
    EXPECT_EQ(In("n = new NumberUnit(\"x\", 5)"),
              "NumberUnit: Second parameter must be 'Phonemes' interface\n"
              "Warning: '(' not Found\n");
}

TEST_F(LanguageTest, DictionaryTreeSharesPrefixes) {
    In("p = new SimplePhonemes(\"k\\na\\nt\\no\")");
    WriteFile("w.txt", "k a t = kat\nk a t = kat\nk o = k\xF3\n");
    In("d = new Dictionary(new File(\"w.txt\"), p)");
    Language* d = Graph("d");
    EXPECT_EQ(d->Next(), nullptr);
    Language* root = d->First();
    EXPECT_EQ(Successors(root), Items{}); // built when processed
    Process("d");
    root = d->First();
    ASSERT_EQ(Successors(root), Items{"1:"});
    Language* k = Child(root, 1);
    EXPECT_EQ(Successors(k), (Items{"2:", "4:k\xF3"}));
    EXPECT_EQ(Successors(Child(k, 2)), Items{"3:kat"});
    EXPECT_EQ(Successors(Child(Child(k, 2), 3)), Items{"-1:"}); // one end marker
    EXPECT_EQ(Successors(Child(k, 4)), Items{"-1:"});
    // The tree follows its input at the next processing.
    WriteFile("w.txt", "o = o\n");
    Process("d");
    EXPECT_EQ(Successors(d->First()), Items{"4:o"});
}

TEST_F(LanguageTest, DictionaryLinksAndUnknownPhonemes) {
    In("p = new SimplePhonemes(\"a\\nb\")");
    WriteFile("w.txt", "a = A\nb *\n \r\nx a = ?\n");
    In("d = new Dictionary(new File(\"w.txt\"), p)");
    Process("d");
    EXPECT_EQ(sink_->Take(), "Dictionary: Unknown phoneme x\n");
    Language* root = Graph("d")->First();
    // The blank line gives the root an end marker; the unknown phoneme counts as one.
    EXPECT_EQ(Successors(root), (Items{"1:A", "2:", "-1:"}));
    EXPECT_EQ(Successors(Child(root, -1)), Items{"1:?"});
    // "b *": b continues with every first-level word there was, sharing its successors.
    Language* b = Child(root, 2);
    EXPECT_EQ(Successors(b), (Items{"1:A", "2:"}));
    EXPECT_EQ(Successors(Child(b, 1)), Items{"-1:"});
}

// An inner node held by a search keeps its tree after the dictionary rebuilt it.
TEST_F(LanguageTest, HeldNodeKeepsItsGraph) {
    In("p = new SimplePhonemes(\"a\\nb\")");
    In("d = new Dictionary(\"a b = ab\", p)");
    Process("d");
    Language* a = Child(Graph("d")->First(), 1);
    a->AddRef();
    Process("d"); // a new tree; the old one lives on through a
    Process("d");
    EXPECT_EQ(Successors(a), Items{"2:ab"});
    a->Release();
}

const char* kAutomaton =
    "<?xml version=\"1.0\"?>\n<LANGUAGE><AUTOMATA><AUTOMATON NUMBEROFSTATES=\"2\" "
    "NUMBEROFCONNECTIONS=\"3\" PROBABILITIES=\"0.5,0.25,1\" NODES=\"0,2\" "
    "TRANSITIONS=\"1,1,0\" LETTERS=\"egy,kett\xF5,*\" PHONEMES=\"e,k,~\"/>"
    "</AUTOMATA></LANGUAGE>\n";

TEST_F(LanguageTest, NumberAutomatonShape) {
    In("p = new SimplePhonemes(\"~\\ne\\nk\")");
    WriteFile("n.xml", kAutomaton);
    EXPECT_EQ(In("n = new NumberUnit(\"n.xml\", p)"), "");
    Language* start = Graph("n");
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->code, 1);
    ASSERT_EQ(Successors(start), Items{"1:"}); // the entry node
    Language* entry = start->First();
    // State 0 leaves by connections 0 and 1, highest index first.
    EXPECT_EQ(Successors(entry), (Items{"3:kett\xF5", "2:egy"}));
    EXPECT_FLOAT_EQ(entry->First()->Next()->probability, 0.5f);
    // Both lead to state 1, left by connection 2 ("*": no letters), back to state 0.
    Language* two = entry->First();
    EXPECT_EQ(Successors(two), Items{"1:"});
    EXPECT_EQ(Successors(two->First()), (Items{"3:kett\xF5", "2:egy"}));
}

TEST_F(LanguageTest, NumberAutomatonFromUtf16) {
    In("p = new SimplePhonemes(\"~\\ne\\nk\")");
    std::string bytes = "\xFF\xFE";
    for (const char* c = kAutomaton; *c; ++c) {
        bytes += *c;
        bytes += '\0';
    }
    WriteFile("n16.xml", bytes); // \xF5 as a one-byte code: U+00F5 in UTF-16
    EXPECT_EQ(In("n = new NumberUnit(\"n16.xml\", p)"), "");
    EXPECT_EQ(Successors(Graph("n")->First()).size(), 2u);
}

TEST_F(LanguageTest, NumberAutomatonRefusals) {
    In("p = new SimplePhonemes(\"~\\ne\\nk\")");
    struct Case {
        const char* from;
        const char* to;
        const char* message;
    };
    const Case cases[] = {
        {"NODES=\"0,2\"", "NODES=\"0\"",
         "NumberUnit: Attribute NODES does not contain right number of items\n"},
        {"PROBABILITIES=\"0.5,0.25,1\"", "PROBABILITIES=\"1\"",
         "NumberUnit: Attribute PROBABILITIES does not contain right number of items\n"},
        {"LETTERS=\"egy,kett\xF5,*\"", "",
         "NumberUnit: Attribute LETTERS does not contain right number of items\n"},
        {"TRANSITIONS=\"1,1,0\"", "TRANSITIONS=\"1,7,0\"",
         "NumberUnit: Attribute TRANSITIONS holds a state out of range\n"},
        {"NODES=\"0,2\"", "NODES=\"2,0\"",
         "NumberUnit: Attribute NODES holds a connection out of order or range\n"},
        {"<AUTOMATA>", "<AUTOMATON_LIST>",
         "NumberUnit : Warning, /LANGUAGE/AUTOMATA/AUTOMATON not found!\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.to);
        std::string text = kAutomaton;
        text.replace(text.find(c.from), std::string(c.from).size(), c.to);
        WriteFile("bad.xml", text);
        EXPECT_EQ(In("n = new NumberUnit(\"bad.xml\", p)"),
                  std::string(c.message) + "Warning: '(' not Found\n");
    }
    EXPECT_EQ(In("n = new NumberUnit(\"nincs.xml\", p)"),
              "XMLParser: File Not Found nincs.xml\n"
              "NumberUnit : Warning, /LANGUAGE/AUTOMATA/AUTOMATON not found!\n"
              "Warning: '(' not Found\n");
}
} // namespace
