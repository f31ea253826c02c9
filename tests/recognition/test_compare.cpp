// Comparing recognised results with expected texts: the running score line, the
// messages of each kind of comparison, accented expected texts, the score line as a
// read-once text re-armed by every comparison (so a score file gets every score), the
// Hungarian number words, and the factories' messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Input.h"
#include "Module.h"
#include "recognition/FakeResults.h"
#include "recognition/NumberWords.h"
#include "signal/SignalTest.h"

namespace {
#define kRefused "Warning: '(' not Found\n"

using Steps = std::vector<std::pair<std::wstring, int>>;

class Compare : public SignalTest {
  protected:
    void SetUp() override {
        SignalTest::SetUp();
        engine = new FakeHypothesis;
        Put(folder, "h", engine);
        In("d = new Folder; d.ort = \"alma\"");
        sink_->Take();
    }
    void Put(const std::string& where, const std::string& name, Interface* object) {
        auto* home = QueryInterface<Folder>(Evaluate(where), "Folder");
        home->Set(name.c_str(), static_cast<int>(name.size()), object, 0);
        home->Release();
    }
    // Processes a module of the folder; returns what it reported.
    std::string Process(const std::string& name) {
        auto* m = QueryInterface<Module>(Get(name), "Module");
        EXPECT_NE(m, nullptr);
        if (!m) return "";
        sink_->Take();
        EXPECT_EQ(m->Process(), 0);
        m->Release();
        return sink_->Take();
    }
    // A Read (or Current) of an Input member: its text, or "(none)".
    std::string Text(const std::string& name, bool current = false) {
        auto* input = QueryInterface<Input>(Get(name), "Input");
        EXPECT_NE(input, nullptr);
        if (!input) return "";
        int length = -1, kind = 0;
        const char* text = current ? input->Current(&length, &kind) : input->Read(&length, &kind);
        input->Release();
        if (!text) return "(none)";
        EXPECT_EQ(kind, kKindText);
        return std::string(text, length);
    }

    FakeHypothesis* engine = nullptr;
};

TEST_F(Compare, ScoreLineCountsEveryComparison) {
    ASSERT_EQ(In("c = new CompareResult(h, d)"), "");
    struct Case {
        Steps result;
        const char* ort;
        const char* score;
    } cases[] = {
        {{{L"al", 1}, {L"ma", 2}}, "alma", "Match: 1 from 1 (100.000000%)"},
        {{{L"k\x00F6rte", 1}}, "alma", "Match: 1 from 2 (50.000000%)"},
        {{{L"k\x00F6rte", 1}}, "k\xF6rte", "Match: 2 from 3 (66.666667%)"},
        {{}, "alma", "Match: 2 from 4 (50.000000%)"},
        {{{L"szilva", 3}}, "szilva", "Match: 3 from 5 (60.000000%)"},
        {{{L"szilva", 3}}, "szilv", "Match: 3 from 6 (50.000000%)"},
        {{{L"szilva", 3}}, "szilva", "Match: 4 from 7 (57.142857%)"},
    };
    for (const Case& c : cases) {
        engine->Result(c.result);
        In(std::string("d.ort = \"") + c.ort + "\""); // a replaced member is followed
        Process("c");
        EXPECT_EQ(Text("c", true), c.score) << c.ort;
    }
}

TEST_F(Compare, MessagesOfEachOutcome) {
    struct Case {
        const char* what;
        Steps result;
        const char* ort; // nullptr: the data object has no "ort"
        const char* log;
    } cases[] = {
        {"path of two nodes", {{L"al", 1}, {L"ma", 2}}, "alma", "ort: alma\nMatch!!\n"},
        {"trailing blanks dropped", {{L"alma  ", 1}}, "alma", "ort: alma\nMatch!!\n"},
        {"leading blank kept", {{L" alma", 1}}, "alma", "ort: alma\nNot Match!!\n"},
        {"case counts", {{L"Alma", 1}}, "alma", "ort: alma\nNot Match!!\n"},
        {"expected blank kept", {{L"alma", 1}}, "alma ", "ort: alma \nNot Match!!\n"},
        {"accented Latin-2",
         {{L"k\x0151r\x00F6s", 1}},
         "k\xF5r\xF6s",
         "ort: k\xF5r\xF6s\nMatch!!\n"},
        {"accent differs",
         {{L"k\x00F6r\x00F6s", 1}},
         "k\xF5r\xF6s",
         "ort: k\xF5r\xF6s\nNot Match!!\n"},
        {"no result", {}, "alma", "No Hypothesis\n"},
        {"last node without letters", {{L"alma", 1}, {L"", 2}}, "alma", "No Hypothesis\n"},
        {"no ort member", {{L"alma", 1}}, nullptr, "ort: \nNot Match!!\n"},
    };
    for (const Case& c : cases) {
        Fresh();
        engine = new FakeHypothesis;
        Put(folder, "h", engine);
        engine->Result(c.result);
        In(c.ort ? std::string("d = new Folder; d.ort = \"") + c.ort + "\"" : "d = new Folder");
        ASSERT_EQ(In("c = new CompareResult(h, d)"), "") << c.what;
        EXPECT_EQ(Process("c"), c.log) << c.what;
    }
}

// Both texts are compared in their first 1024 characters; a number word in its first
// 256.
TEST_F(Compare, LongTextsAreCut) {
    engine->Result({{std::wstring(700, L'a'), 1}, {std::wstring(800, L'a'), 2}});
    Put(folder + ".d", "ort", new StringInput(std::string(1500, 'a') + "b"));
    In("c = new CompareResult(h, d)");
    EXPECT_EQ(Process("c"), "ort: " + std::string(1024, 'a') + "\nMatch!!\n");

    std::wstring ones;
    for (int i = 0; i < 100; ++i)
        ones += L"egy";
    engine->Result({{ones, 1}});
    In("d.ort = \"85\"; n = new CompareNumberResult(h, d)"); // 85 words, then "e"
    EXPECT_EQ(Process("n"), "Unknown number found!\nMatch!!\n");
}

// An expected-text source that gives nothing.
class Silent : public virtual Input {
  public:
    const char* Read(int*, int*) override { return nullptr; }
    const char* Current(int*, int*) override { return nullptr; }
    void Rewind() override {}
    void* GetInterface(const char* name) override {
        if (std::string(name) != "Input") return Interface::GetInterface(name);
        AddRef();
        return static_cast<Input*>(this);
    }
};

TEST_F(Compare, ExpectedTextThatGivesNothing) {
    Put(folder + ".d", "ort", new Silent);
    engine->Result({{L"alma", 1}});
    In("c = new CompareResult(h, d); n = new CompareNumberResult(h, d)");
    EXPECT_EQ(Process("c"), "Missing ORT line!!\n");
    EXPECT_EQ(Text("c"), "Match: 0 from 1 (0.000000%)");
    EXPECT_EQ(Process("n"), ""); // silent, but counted
    EXPECT_EQ(Text("n"), "Match: 0 from 1 (0.000000%)");
}

TEST_F(Compare, ScoreIsReadOnceAfterEachComparison) {
    In("c = new CompareResult(h, d)");
    EXPECT_EQ(Text("c"), ""); // a fresh object's first Read: the empty score line
    EXPECT_EQ(Text("c"), "(none)");
    EXPECT_EQ(Text("c", true), "");
    // Rewind does not re-arm it either.
    auto* input = QueryInterface<Input>(Get("c"), "Input");
    input->Rewind();
    input->Release();
    EXPECT_EQ(Text("c"), "(none)");
    for (int i = 1; i <= 3; ++i) {
        engine->Result({{L"alma", i}});
        Process("c");
        std::string score =
            "Match: " + std::to_string(i) + " from " + std::to_string(i) + " (100.000000%)";
        EXPECT_EQ(Text("c"), score);
        EXPECT_EQ(Text("c"), "(none)");
        EXPECT_EQ(Text("c", true), score);
    }
}

// The comparison in a module folder after the engine, and a file writer after it: each
// pass writes that pass's score line.
TEST_F(Compare, ScoreFileGetsEveryScore) {
    In("mod = new ModuleFolder()");
    auto* result = new FakeHypothesis;
    Put(folder + ".mod", "te", result);
    ASSERT_EQ(In("mod.cmp = new CompareResult(mod.te, d);"
                 "mod.out = new StringFileOut(mod.cmp, \"scores.txt\"); mod.build()"),
              "");
    const wchar_t* said[] = {L"alma", L"szilva", L"alma"};
    for (const wchar_t* word : said) {
        result->Result({{word, 1}});
        In("mod.start()");
    }
    EXPECT_EQ(ReadFile("scores.txt"), "Match: 1 from 1 (100.000000%)\n"
                                      "Match: 1 from 2 (50.000000%)\n"
                                      "Match: 2 from 3 (66.666667%)\n");
}

TEST_F(Compare, NumberWords) {
    struct Case {
        const wchar_t* words;
        const char* number;
        const char* log;
    } cases[] = {
        {L"sz\x00E1zhuszon\x00F6t", "125", ""},
        {L"k\x00E9tezer", "2000", ""},
        {L"ezeregy", "1001", ""},
        {L"egymilli\x00F3", "1000000", ""},
        {L"hatvanhat", "66", ""},
        {L"hatsz\x00E1zhat", "606", ""},
        {L"kilencsz\x00E1zkilencvenkilenc", "999", ""},
        {L"tizenegy", "11", ""},
        {L"huszonkett\x0151", "22", ""},
        {L"h\x00E1romsz\x00E1zezer", "300000", ""},
        {L"k\x00E9tmilli\x00F3"
         L"egyezerkett\x0151",
         "2001002", ""},
        {L"egysz\x00E1zezeregysz\x00E1z", "100100", ""},
        {L"milli\x00F3"
         L"ezer",
         "1001000", ""},
        {L"nulla", "0", ""},
        {L"tizen", "10-", ""},
        {L"huszon", "20-", ""},
        {L"", "0", ""},
        // Values past 32 bits are printed whole rather than overflowing.
        {L"kilencsz\x00E1zkilencsz\x00E1zkilencsz\x00E1zmilli\x00F3", "2700000000", ""},
        {L"hatvanhat ", "66", "Unknown number found!\n"},
        {L"h\x00E9tx\x00F6t", "7", "Unknown number found!\n"},
        {L"egymilli\x00F3x", "1000000", "Unknown number found!\n"},
        {L"xezerx", "0", "Unknown number found!\nUnknown number found!\n"},
        {L"nulla ", "0", "Unknown number found!\n"},
    };
    for (const Case& c : cases) {
        sink_->Take();
        EXPECT_EQ(talvik::NumberText(c.words), c.number) << c.number;
        EXPECT_EQ(sink_->Take(), c.log) << c.number;
    }
}

// Each word of the table on its own, in table order: a shorter word never hides a
// longer one that starts the same way.
TEST_F(Compare, EveryNumberWordAlone) {
    struct Word {
        const wchar_t* word;
        const char* value;
    } words[] = {
        {L"sz\x00E1z", "100"},
        {L"egysz\x00E1z", "100"},
        {L"k\x00E9tsz\x00E1z", "200"},
        {L"kett\x0151sz\x00E1z", "200"},
        {L"h\x00E1romsz\x00E1z", "300"},
        {L"n\x00E9gysz\x00E1z", "400"},
        {L"\x00F6tsz\x00E1z", "500"},
        {L"hatsz\x00E1z", "600"},
        {L"h\x00E9tsz\x00E1z", "700"},
        {L"nyolcsz\x00E1z", "800"},
        {L"kilencsz\x00E1z", "900"},
        {L"harminc", "30"},
        {L"negyven", "40"},
        {L"\x00F6tven", "50"},
        {L"hatvan", "60"},
        {L"hetven", "70"},
        {L"nyolcvan", "80"},
        {L"kilencven", "90"},
        {L"t\x00EDz", "10"},
        {L"h\x00FAsz", "20"},
        {L"egy", "1"},
        {L"kett\x0151", "2"},
        {L"k\x00E9t", "2"},
        {L"h\x00E1rom", "3"},
        {L"n\x00E9gy", "4"},
        {L"\x00F6t", "5"},
        {L"hat", "6"},
        {L"h\x00E9t", "7"},
        {L"nyolc", "8"},
        {L"kilenc", "9"},
    };
    for (const Word& w : words)
        EXPECT_EQ(talvik::NumberText(w.word), w.value) << w.value;
    EXPECT_EQ(sink_->Take(), "");
}

TEST_F(Compare, NumberResultsAgainstDigits) {
    struct Case {
        Steps result;
        const char* ort;
        const char* log;
    } cases[] = {
        {{{L"sz\x00E1z", 1}, {L"huszon", 2}, {L"\x00F6t", 3}}, "125", "Match!!\n"},
        {{{L"hatvanhat", 1}}, "66", "Match!!\n"},
        {{{L"hatvanhat ", 1}}, "66", "Unknown number found!\nMatch!!\n"},
        {{{L"hatvanhat", 1}}, "66 ", "Not Match!!\n"},
        {{{L"tizen", 1}}, "10-", "Match!!\n"},
        {{{L"tizen", 1}}, "10", "Not Match!!\n"},
        {{{L"nulla", 1}}, "0", "Match!!\n"},
        {{}, "0", "No Hypothesis\n"},
    };
    In("n = new CompareNumberResult(h, d)");
    for (const Case& c : cases) {
        engine->Result(c.result);
        In(std::string("d.ort = \"") + c.ort + "\"");
        EXPECT_EQ(Process("n"), c.log) << c.ort;
    }
    EXPECT_EQ(Text("n"), "Match: 5 from 8 (62.500000%)");

    // A result node with letters but no parent: an empty path text, which is "0".
    engine->Become(nullptr, new FakeNode(L"egy"), 0);
    In("d.ort = \"0\"");
    EXPECT_EQ(Process("n"), "Match!!\n");
}

TEST_F(Compare, FactoryMessages) {
    struct Case {
        const char* script;
        const char* log;
        bool made;
    } cases[] = {
        {"x = new CompareResult(5, d)",
         "CompareResult: First parameter must be 'Hypothesis' Interface\n" kRefused, false},
        {"x = new CompareResult(h)", kRefused, false},
        {"x = new CompareResult(h, 5)", "", true},
        {"x = new CompareNumberResult(5, d)",
         "CompareNumberResult: First parameter must be a 'Hypothesis' Interface\n" kRefused, false},
        {"x = new CompareNumberResult(h)",
         "CompareNumberResult: Second parameter required\n" kRefused, false},
        {"x = new CompareNumberResult(h, 5)",
         "CompareNumberResult: Warning: ort not found, using empty string\n", true},
        {"x = new CompareNumberResult(h, d)", "", true},
    };
    for (const Case& c : cases) {
        Fresh();
        Put(folder, "h", new FakeHypothesis);
        In("d = new Folder; d.ort = \"1\"");
        sink_->Take();
        EXPECT_EQ(In(c.script), c.log) << c.script;
        EXPECT_EQ(Get("x") != nullptr, c.made) << c.script;
    }
}

TEST_F(Compare, InterfacesOfTheComparisons) {
    In("c = new CompareResult(h, d); n = new CompareNumberResult(h, d)");
    auto offers = [](Interface* object, auto* typed, const char* asked) {
        typed = static_cast<decltype(typed)>(object->GetInterface(asked));
        if (typed) typed->Release();
        return typed != nullptr;
    };
    for (const char* name : {"c", "n"}) {
        Interface* object = Get(name);
        EXPECT_TRUE(offers(object, static_cast<Input*>(nullptr), "Input")) << name;
        EXPECT_TRUE(offers(object, static_cast<Module*>(nullptr), "Module")) << name;
        EXPECT_TRUE(offers(object, static_cast<Folder*>(nullptr), "Folder")) << name;
        EXPECT_TRUE(offers(object, static_cast<Interface*>(nullptr), "Interface")) << name;
        EXPECT_FALSE(offers(object, static_cast<Hypothesis*>(nullptr), "Hypothesis")) << name;
    }
}
} // namespace
