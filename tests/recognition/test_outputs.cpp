// Result outputs and corpus traversal: list files (CR LF lines, extensions, blank
// lines) and "Database" folder trees walked entry by entry, a module folder running
// its chain once per entry, the .wsp project of a result, and the line writer.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Input.h"
#include "Module.h"
#include "core/TextCodec.h"
#include "recognition/FakeResults.h"
#include "signal/SignalTest.h"

namespace {
#define kRefused "Warning: '(' not Found\n"

class Outputs : public SignalTest {
  protected:
    template <class T> T* Add(const std::string& name, T* object) {
        auto* home = QueryInterface<Folder>(Evaluate(folder), "Folder");
        home->Set(name.c_str(), static_cast<int>(name.size()), object, 0);
        home->Release();
        return object;
    }
    int Step(const std::string& name, bool process = false) {
        auto* m = QueryInterface<Module>(Get(name), "Module");
        int result = process ? m->Process() : m->Step();
        m->Release();
        return result;
    }
    int Process(const std::string& name) { return Step(name, true); }
    // Gives a folder of this test's folder a "Database" text.
    void Text(const std::string& where, const std::string& text) {
        auto* home = QueryInterface<Folder>(Get(where), "Folder");
        home->Set("Database", 8, new StringInput(text), 0);
        home->Release();
    }
    std::string Entry(const std::string& name, bool current = false) {
        auto* input = QueryInterface<Input>(Get(name), "Input");
        int length = 0, kind = 0;
        const char* text = current ? input->Current(&length, &kind) : input->Read(&length, &kind);
        input->Release();
        EXPECT_EQ(kind, kKindText);
        return text ? std::string(text, length) : "(none)";
    }
    // Every entry of a traversal from its Process on, then what ended it.
    std::vector<std::string> Walk(const std::string& name) {
        std::vector<std::string> entries;
        for (int more = Process(name); more == 1 && entries.size() < 100; more = Step(name))
            entries.push_back(Entry(name));
        entries.push_back(std::to_string(Step(name)));
        return entries;
    }
    // The quoted engine path of this test's folder.
    std::string Quoted() { return "'root'.'" + folder + "'"; }
};

using Entries = std::vector<std::string>;

TEST_F(Outputs, ListEntries) {
    struct Case {
        const char* what;
        const char* list;
        Entries entries;
    } cases[] = {
        {"extensions cut", "a.wav\nb\nx.y\n", {"a", "b", "x.y", "-1"}},
        {"CR LF lines", "a.wav\r\nb.wav\r\nc\r\n", {"a", "b", "c", "-1"}},
        {"trailing blanks, blank lines", "a.wav  \r\n\r\n \t\nb.wav\t\n", {"a", "b", "-1"}},
        {"four characters stay", ".wav\nab.c\n", {".wav", "ab.c", "-1"}},
        {"path kept", "data\\kids\\anna.wav\n", {"data\\kids\\anna", "-1"}},
        {"no final line end", "a.wav\nb.wav", {"a", "b", "-1"}},
        {"empty list", "", {"-1"}},
    };
    for (const Case& c : cases) {
        Fresh();
        WriteFile("list.txt", c.list);
        ASSERT_EQ(In("t = new DatTravers(new File(\"list.txt\"))"), "") << c.what;
        EXPECT_EQ(Walk("t"), c.entries) << c.what;
        EXPECT_EQ(Walk("t"), c.entries) << c.what << ", again"; // Process starts again
    }
}

TEST_F(Outputs, EntryIsReadAtEveryRead) {
    WriteFile("list.txt", "a.wav\nb.wav\n");
    In("t = new DatTravers(new File(\"list.txt\"))");
    EXPECT_EQ(Process("t"), 1);
    EXPECT_EQ(Entry("t"), "a");
    EXPECT_EQ(Entry("t"), "a");
    EXPECT_EQ(Entry("t", true), "a");
    EXPECT_EQ(Step("t"), 1);
    EXPECT_EQ(Entry("t"), "b");
    EXPECT_EQ(Step("t"), -1);
}

// Statements on lines of their own; DIRs that name no folder, or a folder without a
// "Database", are passed over.
TEST_F(Outputs, DatabaseTree) {
    In("db = new Folder; db.sub = new Folder; db.plain = new Folder; db.n = 5");
    Text("db", "DIR sub\nDIR plain\nDIR n\nDIR nothing\nDAT \"x.wav\"\n");
    Text("db.sub", "DAT skipped\r\nDAT y\r\n"); // CR LF lines
    ASSERT_EQ(In("t = new DatTravers(db)"), "");
    EXPECT_EQ(Walk("t"), (Entries{Quoted() + ".'db'.'sub'.'y'", Quoted() + ".'db'.'x'", "-1"}));
}

TEST_F(Outputs, DatabaseStatementsOnOneLine) {
    In("db = new Folder; db.a = new Folder; db.a.b = new Folder;"
       "db.Database = \"DAT one; DIR a; DAT two\";"
       "db.a.Database = \"first; DAT three; DIR b; DAT four\";"
       "db.a.b.Database = \"first; DAT five\";");
    ASSERT_EQ(In("t = new DatTravers(db)"), "");
    std::string db = Quoted() + ".'db'";
    EXPECT_EQ(Walk("t"), (Entries{db + ".'one'", db + ".'a'.'three'", db + ".'a'.'b'.'five'",
                                  db + ".'a'.'four'", db + ".'two'", "-1"}));
}

// Folders that name each other descend only so far, and the walk still ends.
TEST_F(Outputs, DatabaseCycleEnds) {
    In("a = new Folder; a.b = new Folder");
    Text("a", "DAT top\nDIR b\n");
    Text("a.b", "first\nDIR parent\n");
    ASSERT_EQ(In("t = new DatTravers(a)"), "");
    Entries entries = Walk("t");
    EXPECT_EQ(entries, (Entries{Quoted() + ".'a'.'top'", "-1"}));
    EXPECT_EQ(sink_->Take(), "DatTravers: 'Database' folders nested deeper than 64 levels\n");
}

TEST_F(Outputs, TraversalArguments) {
    EXPECT_EQ(In("t = new DatTravers()"), kRefused);
    EXPECT_EQ(In("t = new DatTravers(5)"), kRefused);
    EXPECT_EQ(Get("t"), nullptr);
    In("f = new Folder"); // a folder without "Database" is no corpus
    EXPECT_EQ(In("t = new DatTravers(f)"), kRefused);
}

// A module folder runs its chain once per entry; a writer after the traversal gets
// each entry (and does not restart the list it reads).
TEST_F(Outputs, ModuleFolderRunsOncePerEntry) {
    WriteFile("list.txt", "a.wav\r\nb.wav\r\nc.wav\r\n");
    ASSERT_EQ(In("mod = new ModuleFolder(); mod.t = new DatTravers(new File(\"list.txt\"));"
                 "mod.out = new StringFileOut(mod.t, \"names.txt\"); mod.build(); mod.start()"),
              "");
    EXPECT_EQ(ReadFile("names.txt"), "a\nb\nc\n");
    In("mod.start()");
    EXPECT_EQ(ReadFile("names.txt"), "a\nb\nc\na\nb\nc\n");
}

class Wsp : public Outputs {
  protected:
    void SetUp() override {
        Outputs::SetUp();
        cb = Add("cb", new FakeBounds);
        cb->SetBounds({0, 10, 25}, 10.0f);
        cb2 = Add("cb2", new FakeBounds);
        cb2->Annotate("bab", "b a b = bab");
        engine = Add("h", new FakeHypothesis);
        engine->Result({{L"ba", 1}, {L"b", 2}});
    }
    static std::string Project(const std::string& wave, const std::string& sentence,
                               const std::string& phonemes, const std::string& lines,
                               const std::string& links) {
        return "Pelva 1.01\nWave=" + wave + ".wav\nSpectrum-Type=0\nVisible=0 500\nWork=0 0\n" +
               "Play=0 0\nSentence=" + sentence + "\nPhonemes=" + phonemes + "\nLines=" + lines +
               "\nLinks=" + links + "\n";
    }
    FakeBounds *cb = nullptr, *cb2 = nullptr;
    FakeHypothesis* engine = nullptr;
};

TEST_F(Wsp, ProjectOfAResult) {
    ASSERT_EQ(In("w = new MakeWSP(\"utt\", cb, h, cb2)"), "");
    EXPECT_EQ(Process("w"), 0);
    EXPECT_EQ(ReadFile("utt.wsp"),
              Project("utt", "bab", "b a b ", "0 100 250 ", "(0;0) (1;1) (2;2) "));

    // The next utterance: the name is read again, a shorter chain, truncated times.
    cb->SetBounds({0, 7}, 11.61f);
    engine->Result({{L"bab", 1}});
    In("w2 = new MakeWSP(\"out\\\\kids/utt2\", cb, h, cb2)");
    std::filesystem::create_directories("out/kids");
    EXPECT_EQ(Process("w2"), 0);
    EXPECT_EQ(ReadFile("out/kids/utt2.wsp"),
              Project("utt2", "bab", "b a b ", "0 81 ", "(0;0) (1;1) "));
    std::remove("utt.wsp");
    EXPECT_EQ(Process("w"), 0); // a string name serves every run
    EXPECT_EQ(ReadFile("utt.wsp"), Project("utt", "bab", "b a b ", "0 81 ", "(0;0) (1;1) "));
}

TEST_F(Wsp, WithoutResultOrAnnotation) {
    engine->Result({});
    auto* bare = Add("bare", new FakeBounds);
    bare->SetBounds({0, 5}, 10.0f);
    ASSERT_EQ(In("w = new MakeWSP(\"u\", cb, h, bare)"), "");
    EXPECT_EQ(Process("w"), 0);
    EXPECT_EQ(ReadFile("u.wsp"), Project("u", "", "", "", ""));
}

TEST_F(Wsp, UnwritableFileIsReported) {
    ASSERT_EQ(In("w = new MakeWSP(\"nofolder\\\\utt\", cb, h, cb2)"), "");
    EXPECT_EQ(Process("w"), -1);
    EXPECT_EQ(sink_->Take(), "MakeWSP: Cannot open 'nofolder\\utt.wsp' for writing\n");
}

TEST_F(Wsp, LongNamesAreCut) {
    std::string name(80, 'n');
    ASSERT_EQ(In("w = new MakeWSP(\"" + name + "\", cb, h, cb2)"), "");
    EXPECT_EQ(Process("w"), 0);
    EXPECT_TRUE(std::filesystem::exists(name.substr(0, 63) + ".wsp"));
}

TEST_F(Wsp, FactoryMessages) {
    struct Case {
        const char* script;
        const char* log;
    } cases[] = {
        {"w = new MakeWSP(5, cb, h, cb2)", "MakeWSP: First parameter must be 'Input' Interface\n"},
        {"w = new MakeWSP(\"u\", h, h, cb2)",
         "MakeWSP: Second parameter must be 'Clusterbound' Interface\n"},
        {"w = new MakeWSP(\"u\", cb, cb, cb2)",
         "MakeWSP: Third parameter must be 'Hypothesis' Interface\n"},
        {"w = new MakeWSP(\"u\", cb, h)",
         "MakeWSP: Fourth parameter must be 'ClusterBound' Interface\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(In(c.script), std::string(c.log) + kRefused) << c.script;
        EXPECT_EQ(Get("w"), nullptr) << c.script;
        sink_->Take();
    }
}

TEST_F(Outputs, LineWriter) {
    WriteFile("out.txt", "old text\n");
    ASSERT_EQ(In("s = new StringFileOut(\"hello\", \"out.txt\")"), "");
    EXPECT_EQ(ReadFile("out.txt"), ""); // replaced at creation
    EXPECT_EQ(Process("s"), 0);
    EXPECT_EQ(Process("s"), 0); // a plain text is rewound: each run writes it
    EXPECT_EQ(ReadFile("out.txt"), "hello\nhello\n");

    ASSERT_EQ(In("e = new StringFileOut(\"\", \"empty.txt\")"), "");
    EXPECT_EQ(Process("e"), 0);
    EXPECT_EQ(ReadFile("empty.txt"), "");

    ASSERT_EQ(In("a = new StringFileOut(\"\xE1rv\xEDz\", \"\xE1rv\xEDz.txt\")"), "");
    EXPECT_EQ(Process("a"), 0);
    // The name is an engine text: on disk it is UTF-8; the line keeps its bytes.
    EXPECT_EQ(ReadFile(talvik::Latin2ToUtf8("\xE1rv\xEDz.txt")), "\xE1rv\xEDz\n");
}

TEST_F(Outputs, LineWriterMessages) {
    struct Case {
        const char* script;
        const char* log;
    } cases[] = {
        {"s = new StringFileOut(5, \"x.txt\")",
         "StringFileOut: First parameter must be 'Input' Interface\n" kRefused},
        {"s = new StringFileOut(\"a\", 5)",
         "StringFileOut: Second parameter must be 'Input' Interface\n" kRefused},
        {"s = new StringFileOut(\"a\")",
         "StringFileOut: Second parameter must be 'Input' Interface\n" kRefused},
        {"s = new StringFileOut(\"a\", \"nofolder\\\\x.txt\")",
         "StringFileOut: Cannot open 'nofolder\\x.txt' for writing\n" kRefused},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(In(c.script), c.log) << c.script;
        EXPECT_EQ(Get("s"), nullptr) << c.script;
        sink_->Take();
    }
}
} // namespace
