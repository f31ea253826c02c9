// The object tree and the interpreter: lookup, storing and releasing, exports,
// keywords, messages, and the static objects that must survive every script.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "Exceptions.h"
#include "Number.h"
#include "core/Arguments.h"
#include "core/ClassObject.h"
#include "core/FolderBase.h"
#include "core/Report.h"
#include "core/Root.h"
#include "support/EngineTest.h"

namespace {
int g_destroyed = 0;

// A folder that counts its destructions.
class Probe : public FolderBase {
  public:
    ~Probe() override { ++g_destroyed; }
};

Interface* NewProbe(Input*, Interface*) {
    return new Probe;
}

// Follows the factory convention with one required Number parameter.
Interface* NewNeedsNumber(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 1);
    double value = 0;
    if (!args.GetNumber(0, &value)) {
        report("NeedsNumber: First parameter must be 'Number' Interface");
        return nullptr;
    }
    return new Probe;
}

Interface* ThrowIndexError(Input*, Interface*) {
    throw new IndexError;
}

class ObjectModel : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        static ClassObject probe(NewProbe, ClassObject::kEvaluated, "");
        static ClassObject needs(NewNeedsNumber, ClassObject::kCalled, "");
        static ClassObject thrower(ThrowIndexError, ClassObject::kEvaluated, "");
        static ClassObject helped(NewProbe, ClassObject::kCalled, "Helped: a class with help");
        ClassFolder()->Set("Probe", 5, &probe, 1);
        ClassFolder()->Set("NeedsNumber", 11, &needs, 1);
        ClassFolder()->Set("Thrower", 7, &thrower, 1);
        ClassFolder()->Set("Helped", 6, &helped, 1);
        g_destroyed = 0;
    }
};

// Objects that a statement still uses when it drops their last owner, or builds and then
// moves past, go when the statement ends.
TEST_F(ObjectModel, StatementsFreeWhatTheyDrop) {
    struct Case {
        const char* script;
        int destroyed;
    } cases[] = {
        {"x = new Probe; x.a = (x = 0)", 1},       // the receiver leaves its folder
        {"f = new Folder; f { new Probe }", 1},    // a block's value nobody keeps
        {"p = new Probe; p { q = new Probe }", 0}, // kept values stay
    };
    for (const Case& c : cases) {
        g_destroyed = 0;
        Run(c.script);
        EXPECT_EQ(g_destroyed, c.destroyed) << c.script;
        Run("x = 0; f = 0; p = 0");
    }
}

TEST_F(ObjectModel, ListShowsCountsAndNamesNewestFirst) {
    EXPECT_EQ(Run("f = new Folder;f.a = 1;f.b = new Folder;f.c = f.a;list f"),
              "02 c\n01 b\n02 a\n");
}

TEST_F(ObjectModel, StaticFoldersShowAsZeroAndOutliveEveryScript) {
    Run("list root;list root;help Folder;list classes;new Terminal;root;classes;5");
    std::string listing = Run("list root");
    for (const char* name : {"00 classes", "00 bin", "00 proc", "00 usr", "00 etc", "00 dev"})
        EXPECT_NE(listing.find(name), std::string::npos) << name;
    EXPECT_EQ(listing.find("00 classes"), listing.rfind('\n', listing.size() - 2) + 1);
}

TEST_F(ObjectModel, ReplacingAMemberReleasesTheOldOneAndKeepsItsPlace) {
    Run("p = new Folder;p.a = new Probe;p.b = 1");
    EXPECT_EQ(g_destroyed, 0);
    Run("p.a = 2");
    EXPECT_EQ(g_destroyed, 1);
    EXPECT_EQ(Run("list p"), "01 b\n01 a\n");
    Run("p.b = new Probe;p = 0");
    EXPECT_EQ(g_destroyed, 2);
}

TEST_F(ObjectModel, TemporariesDieAtTheEndOfTheirStatement) {
    Run("new Probe;x = 1");
    EXPECT_EQ(g_destroyed, 1);
}

TEST_F(ObjectModel, NamesAreCutAt32Characters) {
    const std::string full = "abcdefghijklmnopqrstuvwxyz0123456789";
    Interface* value = new Probe;
    RootFolder()->Set(full.c_str(), static_cast<int>(full.size()), value, 0);
    EXPECT_EQ(RootFolder()->Find(full.c_str(), static_cast<int>(full.size())), nullptr);
    EXPECT_EQ(RootFolder()->Find(full.c_str(), 32), value);
    RootFolder()->Set(full.c_str(), 32, nullptr, 0);
    EXPECT_EQ(g_destroyed, 1);
}

TEST_F(ObjectModel, ParentRootAndExports) {
    Run("a = new Folder;a.b = new Folder;a.b.c = new Folder;export shared = 7");
    EXPECT_EQ(Member("a.b.c.shared"), Member("shared"));
    EXPECT_EQ(Member("a.b.c.parent"), Member("a.b"));
    EXPECT_EQ(Member("a.b.c.root"), RootFolder());
    EXPECT_EQ(RootFolder()->Find("parent", 6), nullptr);
    // A plain object answers "parent" and "root" with the root.
    EXPECT_EQ(Member("shared.parent"), RootFolder());
    Run("a { export inner = 3 }");
    EXPECT_NE(Member("a.b.c.inner"), nullptr);
    EXPECT_EQ(Run("inner"), "Warning: 'inner' not Found\n");
}

TEST_F(ObjectModel, ExportMovesAPlainMemberAndSetStoresWithoutEvaluating) {
    Run("m = 4;export m;set s.t");
    EXPECT_EQ(Run("list root").find(" m\n"), std::string::npos);
    EXPECT_NE(Member("m"), nullptr);
    EXPECT_EQ(Run("set q = 5;list q"), "5\n");
    Run("export missing.x = 1");
    EXPECT_EQ(Member("missing"), nullptr);
}

TEST_F(ObjectModel, AssignmentCreatesTheLastStepOfAPath) {
    Run("a = new Folder;a.b = new Folder;a.b.x = 5");
    EXPECT_EQ(Run("list a.b.x"), "5\n");
    EXPECT_EQ(Run("nothere.x = 5"), "Warning: 'nothere' not Found\n");
}

TEST_F(ObjectModel, ListShowsNumbersAndTexts) {
    EXPECT_EQ(Run("list 0.1"), "0.100000000000000005551115123126\n");
    EXPECT_EQ(Run("? \"a\\tb\""), "a\tb\n");
    EXPECT_EQ(Run("'my name' = 1;list 'my name'"), "1\n");
}

TEST_F(ObjectModel, WarningsNameTheTokenCutAt31) {
    EXPECT_EQ(Run("missing"), "Warning: 'missing' not Found\n");
    EXPECT_EQ(Run("abcdefghijklmnopqrstuvwxyz0123456789"),
              "Warning: 'abcdefghijklmnopqrstuvwxyz01234' not Found\n");
    EXPECT_EQ(Run("x = missing"), "Warning: 'missing' not Found\n");
}

TEST_F(ObjectModel, FactoryErrorsReportTheirMessageThenTheBracket) {
    EXPECT_EQ(Run("x = new NeedsNumber(\"text\")"),
              "NeedsNumber: First parameter must be 'Number' Interface\n"
              "Warning: '(' not Found\n");
    EXPECT_EQ(Run("x = new NeedsNumber(5);list x"), "");
    EXPECT_EQ(Run("y = new NeedsNumber"), "");
    EXPECT_EQ(Member("y"), ClassFolder()->Find("NeedsNumber", 11));
}

TEST_F(ObjectModel, StatementsSplitOnCarriageReturnsButNotOnBareLineFeeds) {
    Run("a = 1\r\nb = 2\r\n");
    EXPECT_EQ(Run("list a;list b"), "1\n2\n");
    Run("c = 3\nd = 4\n");
    // The joined line reads c = 3d = 4: d gets 4, and so does c.
    EXPECT_EQ(Run("list d;list c"), "4\n4\n");
}

TEST_F(ObjectModel, BracesRunStatementsInsideAFolder) {
    Run("f = new Folder;f { a = 1; b = 2 };g = 3");
    EXPECT_EQ(Run("list f"), "01 b\n01 a\n");
    EXPECT_EQ(Run("list g"), "3\n");
}

TEST_F(ObjectModel, AssignmentWithNothingOnTheLeftStoresNothing) {
    EXPECT_EQ(Evaluate("= 5"), RootFolder());
    EXPECT_EQ(Run("list root").find("05"), std::string::npos);
}

TEST_F(ObjectModel, ACommentIsEndedByAnEqualsSignButNeverNamesTheTarget) {
    Run("w /* x = 5;");
    EXPECT_EQ(Run("list w"), "5\n");
}

TEST_F(ObjectModel, HelpWritesTheClassHelpText) {
    EXPECT_EQ(Run("help Helped"), "Helped: a class with help\n");
    EXPECT_EQ(Run("man Helped"), "Helped: a class with help\n");
    EXPECT_EQ(Run("help Folder"), "\n");
}

TEST_F(ObjectModel, ExceptionsReachTheCallerOfRun) {
    int code = 0;
    try {
        Evaluate("x = 1;new Thrower;after_throw = 2");
    } catch (IndexError* e) {
        code = e->code;
        delete e;
    }
    EXPECT_EQ(code, 2);
    EXPECT_EQ(RootFolder()->Find("after_throw", 11), nullptr);
}

TEST_F(ObjectModel, RemovingAClassEntryDoesNotDestroyTheClass) {
    Interface* folderClass = ClassFolder()->Find("Folder", 6);
    ClassFolder()->Set("Folder", 6, nullptr, 0);
    EXPECT_EQ(Run("new Folder"), "Warning: 'Folder' not Found\n");
    EXPECT_EQ(ClassFolder()->Find("Folder", 6), nullptr);
    ClassFolder()->Set("Folder", 6, folderClass, 1);
    EXPECT_EQ(Run("f = new Folder;list f"), "");
}

TEST_F(ObjectModel, EmptyNamesCanBeStored) {
    Interface* value = new Probe;
    EXPECT_STREQ(RootFolder()->Set("", 0, value, 0), "");
    EXPECT_EQ(RootFolder()->Find("", 0), value);
    RootFolder()->Set("", 0, nullptr, 0);
}

// A folder stored in two containers must not keep a parent link to one that died.
TEST_F(ObjectModel, ReleasedChildrenForgetTheirParent) {
    Run("a = new Folder;b = new Folder;c = new Folder;a.x = c;b.x = c");
    auto* child = dynamic_cast<Folder*>(Member("c"));
    ASSERT_NE(child, nullptr);
    Run("b = 0");
    EXPECT_EQ(child->Parent(), nullptr);
    EXPECT_EQ(Run("list a.x.root"), Run("list root"));
}

TEST_F(ObjectModel, ReportToWritesToTheNamedOutput) {
    Run("box = new Folder");
    RootFolder()->Find("box", 3)->Set("o", 1, sink_, 0);
    report_to("box.o", "%s %d", "value", 7);
    EXPECT_EQ(sink_->Take(), "value 7\n");
}

TEST_F(ObjectModel, MergeAddsMissingNamesAndMergesFolders) {
    Run("a = new Folder;a.x = 1;a.sub = new Folder;a.sub.p = 1");
    Run("b = new Folder;b.x = 2;b.y = 3;b.sub = new Folder;b.sub.q = 4");
    auto* a = QueryInterface<Folder>(Member("a"), "Folder");
    auto* b = QueryInterface<Folder>(Member("b"), "Folder");
    a->Merge(b);
    a->Release();
    b->Release();
    EXPECT_EQ(Run("list a.x;list a.y;list a.sub.q"), "1\n3\n4\n");
}
} // namespace

namespace {
TEST_F(ObjectModel, AFolderStoredBelowItselfKeepsItsParent) {
    Run("a = new Folder;a.b = new Folder;a.b.c = a");
    EXPECT_EQ(Member("a.parent"), RootFolder());
    EXPECT_EQ(Run("a.b.c.b.nothing"), "Warning: 'nothing' not Found\n");
    Run("a.b.c = 0");
}
} // namespace

namespace {
TEST_F(ObjectModel, DeepNestingEndsWithAMessage) {
    std::string deep = "x = " + std::string(5000, '(') + "1" + std::string(5000, ')');
    EXPECT_NE(Run(deep).find("nested too deeply"), std::string::npos);
    EXPECT_EQ(Run("y = 2;list y"), "2\n");
}
} // namespace

namespace {
TEST_F(ObjectModel, AKeywordRunAsABlockOfItselfEnds) {
    EXPECT_NE(Run("x = ((1list]{3}))").find("nested too deeply"), std::string::npos);
}
} // namespace

namespace {
// Every class is registered once, before any script runs, and "bin" holds the keywords.
TEST(Registry, HoldsEachClassOnceAndTheKeywords) {
    std::set<std::string> names;
    NameIterator* members = ClassFolder()->Members(0);
    const char* name = nullptr;
    while (members->Next(&name))
        EXPECT_TRUE(names.insert(name).second) << name;
    delete members;
    for (const char* expected : {"Directory", "WinSys", "File", "Folder", "Console", "Terminal",
                                 "HTTPTerminal", "ActiveWindow", "ModuleFolder", "Wait"})
        EXPECT_EQ(names.count(expected), 1u) << expected;
    for (const char* keyword : {"export", "new", "set", "help", "man", "list", "?"})
        EXPECT_NE(KeywordFolder()->Find(keyword, static_cast<int>(strlen(keyword))), nullptr)
            << keyword;
    EXPECT_EQ(KeywordFolder()->Find("help", 4), KeywordFolder()->Find("man", 3));
    EXPECT_EQ(KeywordFolder()->Find("list", 4), KeywordFolder()->Find("?", 1));
}
} // namespace
