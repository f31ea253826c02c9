// Module folders: the run lists build computes, the order in which start runs
// modules that answer 0, more (> 0) or nothing (< 0), the lifetime of what build
// took, script use, and Wait. Modules here are probes whose Process and Step
// answer scripted values and log each call.
#include <gtest/gtest.h>
#include <semaphore.h>
#include <time.h>

#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Input.h"
#include "Output.h"
#include "core/Arguments.h"
#include "core/ClassObject.h"
#include "core/EngineLock.h"
#include "core/ModuleFolder.h"
#include "core/Root.h"
#include "core/TextChannel.h"
#include "support/EngineTest.h"

namespace {
std::vector<std::string> g_log;
int g_destroyed = 0;

// The calls logged since the last time, separated by blanks.
std::string TakeLog() {
    std::string text;
    for (const std::string& entry : g_log)
        text += (text.empty() ? "" : " ") + entry;
    g_log.clear();
    return text;
}

class Probe : public ModuleBase {
  public:
    explicit Probe(std::string name, std::vector<int> process = {}, std::vector<int> steps = {})
        : name_(std::move(name)), process_(std::move(process)), steps_(std::move(steps)) {}
    ~Probe() override { ++g_destroyed; }

    int Process() override {
        g_log.push_back(name_);
        return Next(process_, processed_);
    }
    int Step() override {
        g_log.push_back(name_ + ".step");
        return Next(steps_, stepped_);
    }

  private:
    // The scripted answers in turn, then 0.
    static int Next(const std::vector<int>& answers, size_t& used) {
        return used < answers.size() ? answers[used++] : 0;
    }

    std::string name_;
    std::vector<int> process_, steps_;
    size_t processed_ = 0, stepped_ = 0;
};

// ModuleProbe("name", source): a probe for scripts, linked to its source if given.
Interface* NewModuleProbe(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 2);
    std::string name;
    if (!args.GetText(0, &name)) return nullptr;
    auto* probe = new Probe(name);
    if (args.At(1) != context) probe->Link(args.At(1));
    return probe;
}

// A root "term" made of a line source and a text sink.
class FakeTerm : public TextChannel {
  public:
    void Write(const char* text, int count) override { written.append(text, count); }
    const char* Read(int* length, int* kind) override {
        ++reads;
        if (onRead) onRead();
        *length = 1;
        *kind = kKindText;
        return "\r";
    }
    const char* Current(int* length, int* kind) override { return Read(length, kind); }
    void Rewind() override {}

    std::string written;
    int reads = 0;
    std::function<void()> onRead;
};

class Modules : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        static ClassObject probe(NewModuleProbe, ClassObject::kCalled, "");
        ClassFolder()->Set("ModuleProbe", 11, &probe, 1);
        g_log.clear();
        g_destroyed = 0;
    }
    void TearDown() override {
        ClassFolder()->Set("ModuleProbe", 11, nullptr, 1);
        for (const char* name : {"mf", "x", "w", "op", "term"})
            RootFolder()->Set(name, static_cast<int>(std::strlen(name)), nullptr, 0);
        EngineTest::TearDown();
    }

    // A module folder held by the test, released at the end.
    std::unique_ptr<ModuleFolder, void (*)(ModuleFolder*)> NewFolder() {
        auto* folder = new ModuleFolder;
        folder->AddRef();
        return {folder, [](ModuleFolder* f) { f->Release(); }};
    }
    static void Store(ModuleFolder* folder, const char* name, Interface* module) {
        folder->Set(name, static_cast<int>(std::strlen(name)), module, 0);
    }
};

std::vector<Module*> RunList(Module* module) {
    std::vector<Module*> list;
    for (Module** entry = module->runList; entry && *entry; ++entry)
        list.push_back(*entry);
    return list;
}

TEST_F(Modules, BuildGivesEachModuleItsLaterConsumers) {
    auto folder = NewFolder();
    auto* s = new Probe("s");
    auto* p = new Probe("p");
    auto* m = new Probe("m");
    p->Link(s);
    m->Link(p);
    Store(folder.get(), "s", s);
    Store(folder.get(), "p", p);
    Store(folder.get(), "m", m);
    EXPECT_EQ(s->runList, nullptr);
    folder->Build();
    EXPECT_EQ(RunList(s), (std::vector<Module*>{p, m}));
    EXPECT_EQ(RunList(p), (std::vector<Module*>{m}));
    ASSERT_NE(m->runList, nullptr);
    EXPECT_EQ(m->runList[0], nullptr);
    folder->Start();
    EXPECT_EQ(TakeLog(), "s p m");
}

struct ProbeSetup {
    const char* name;
    std::vector<const char*> sources;
    std::vector<int> process = {}, steps = {};
};

struct ScheduleCase {
    const char* title;
    std::vector<ProbeSetup> modules; // in the order they are stored
    const char* log;                 // of one pass
};

const ScheduleCase kSchedules[] = {
    {"all answer 0: once each in order", {{"s", {}}, {"p", {"s"}}, {"m", {"p"}}}, "s p m"},
    {"more from the source: consumers after every Step, the last (0) included",
     {{"s", {}, {1}, {1, 1, 0}}, {"p", {"s"}}, {"m", {"p"}}},
     "s p m s.step p m s.step p m s.step p m"},
    {"nothing from a module: non-consumers in the pass, consumers once after its Step",
     {{"a", {}, {-1}}, {"b", {}}, {"c", {"a"}}},
     "a b a.step c"},
    {"consumers of consumers are left out too",
     {{"a", {}, {-1}}, {"b", {"a"}}, {"c", {"b"}}, {"d", {}}},
     "a d a.step b c"},
    {"a Step with nothing ends the stepping", {{"s", {}, {1}, {-1}}, {"p", {"s"}}}, "s p s.step"},
    {"a consumer with more is stepped before its source",
     {{"s", {}, {1}}, {"p", {"s"}, {1}}, {"m", {"p"}}},
     "s p m p.step m s.step p m"},
    {"a consumer with nothing after its source's Step ends that walk",
     {{"s", {}, {1}}, {"p", {"s"}, {0, -1}}, {"m", {"p"}}},
     "s p m s.step p"},
    {"a module with more and no consumers is still stepped", {{"s", {}, {1}}}, "s s.step"},
    {"a consumer stored before its source is not in its run list",
     {{"c", {"s"}}, {"s", {}, {-1}}},
     "c s s.step"},
    {"a source with two consumers",
     {{"s", {}, {1}, {0}}, {"p", {"s"}}, {"q", {"s"}}, {"r", {}}},
     "s p q r s.step p q"},
};

TEST_F(Modules, StartRunsModulesByTheirAnswers) {
    for (const ScheduleCase& c : kSchedules) {
        SCOPED_TRACE(c.title);
        {
            auto folder = NewFolder();
            std::map<std::string, Probe*> probes;
            for (const ProbeSetup& setup : c.modules)
                probes[setup.name] = new Probe(setup.name, setup.process, setup.steps);
            for (const ProbeSetup& setup : c.modules)
                for (const char* source : setup.sources)
                    probes[setup.name]->Link(probes[source]);
            for (const ProbeSetup& setup : c.modules)
                Store(folder.get(), setup.name, probes[setup.name]);
            folder->Build();
            folder->Start();
            EXPECT_EQ(TakeLog(), c.log);
        }
        EXPECT_EQ(g_destroyed, static_cast<int>(c.modules.size()));
        g_destroyed = 0;
    }
}

TEST_F(Modules, StartBeforeBuildDoesNothingAndGivesTheFolder) {
    Run("mf = new ModuleFolder();mf.s = new ModuleProbe(\"s\");x = mf.start()");
    EXPECT_EQ(TakeLog(), "");
    EXPECT_EQ(Member("x"), Member("mf"));
}

TEST_F(Modules, BuildAndStartHideMembersOfTheirNames) {
    struct {
        const char* name;
        bool reachable;
    } const kNames[] = {{"build", false}, {"start", false}, {"Build", true},
                        {"builds", true}, {"star", true},   {"startx", true}};
    auto folder = NewFolder();
    for (const auto& c : kNames) {
        SCOPED_TRACE(c.name);
        auto* probe = new Probe(c.name);
        Store(folder.get(), c.name, probe);
        Interface* found = folder->Find(c.name, static_cast<int>(std::strlen(c.name)));
        EXPECT_EQ(found == static_cast<Interface*>(probe), c.reachable);
        EXPECT_NE(found, nullptr);
    }
}

TEST_F(Modules, ModulesTakenByBuildLiveUntilTheNextBuild) {
    auto folder = NewFolder();
    Store(folder.get(), "s", new Probe("s"));
    Store(folder.get(), "m", new Probe("m"));
    folder->Build();
    Store(folder.get(), "s", nullptr);
    EXPECT_EQ(g_destroyed, 0);
    folder->Start();
    EXPECT_EQ(TakeLog(), "s m");
    folder->Build();
    EXPECT_EQ(g_destroyed, 1);
    folder->Start();
    EXPECT_EQ(TakeLog(), "m");
}

TEST_F(Modules, RunListsGoWithTheirFolder) {
    auto* s = new Probe("s");
    auto* p = new Probe("p");
    s->AddRef();
    p->Link(s);
    {
        auto folder = NewFolder();
        Store(folder.get(), "s", s);
        Store(folder.get(), "p", p);
        folder->Build();
        folder->Build(); // the first build's lists are let go of here
        EXPECT_EQ(RunList(s), (std::vector<Module*>{p}));
    }
    EXPECT_EQ(s->runList, nullptr);
    EXPECT_EQ(p->runList, nullptr);
    s->Release();
    EXPECT_EQ(g_destroyed, 2);
}

TEST_F(Modules, ScriptsBuildAndStartAFolder) {
    EXPECT_EQ(Run("mf = new ModuleFolder();mf.s = new ModuleProbe(\"s\");"
                  "mf.p = new ModuleProbe(\"p\", mf.s);mf.m = new ModuleProbe(\"m\", mf.p);"
                  "x = mf.build();mf.start()"),
              "");
    EXPECT_EQ(TakeLog(), "s p m");
    EXPECT_EQ(Member("x"), Member("mf"));
    Run("mf.start();mf.start()");
    EXPECT_EQ(TakeLog(), "s p m s p m");
}

TEST_F(Modules, AnOperationKeptByAScriptOutlivesItsFolder) {
    Run("mf = new ModuleFolder();mf.s = new ModuleProbe(\"s\");mf.build();op = mf.start;mf = 0");
    EXPECT_EQ(g_destroyed, 1);
    Run("op()");
    EXPECT_EQ(TakeLog(), "");
}

TEST_F(Modules, WaitPromptsOnTermAndReadsALine) {
    auto* term = new FakeTerm;
    RootFolder()->Set("term", 4, term, 0);
    Run("mf = new ModuleFolder();mf.s = new ModuleProbe(\"s\");mf.w = new "
        "Wait(mf.s);mf.build();mf.start()");
    EXPECT_EQ(TakeLog(), "s");
    EXPECT_EQ(term->written, "Press enter...\n");
    EXPECT_EQ(term->reads, 1);
}

TEST_F(Modules, WaitWithoutTermReturnsAtOnce) {
    EXPECT_EQ(Run("mf = new ModuleFolder();mf.s = new ModuleProbe(\"s\");mf.w = new Wait(mf.s);"
                  "mf.m = new ModuleProbe(\"m\", mf.w);mf.build();mf.start()"),
              "");
    EXPECT_EQ(TakeLog(), "s m");
}

// Other threads run scripts while a Wait blocks on the user.
TEST_F(Modules, WaitLetsGoOfTheEngineLockWhileReading) {
    auto* term = new FakeTerm;
    RootFolder()->Set("term", 4, term, 0);
    // Shared with the thread, which outlives the test if the lock is never given back.
    auto locked = std::make_shared<sem_t>();
    sem_init(locked.get(), 0, 0);
    bool tookLock = false;
    term->onRead = [&] {
        std::thread([locked] {
            EngineGuard guard;
            sem_post(locked.get());
        }).detach();
        // A generous bound: only a lock that is never given back exceeds it.
        timespec until;
        clock_gettime(CLOCK_REALTIME, &until);
        until.tv_sec += 60;
        tookLock = sem_timedwait(locked.get(), &until) == 0;
    };
    Run("mf = new ModuleFolder();mf.s = new ModuleProbe(\"s\");mf.w = new "
        "Wait(mf.s);mf.build();mf.start()");
    EXPECT_TRUE(tookLock);
}

TEST_F(Modules, WaitNeedsAModule) {
    const char* const kArguments[] = {"5", "\"text\"", "root", ""};
    for (const char* argument : kArguments) {
        SCOPED_TRACE(argument);
        std::string out = Run(std::string("w = new Wait(") + argument + ")");
        EXPECT_EQ(out.rfind("Wait: Must be bound to a Module\n", 0), 0u) << out;
        EXPECT_EQ(RootFolder()->PlainMembers().Lookup("w", 1), nullptr);
    }
}

// The source dies with the statement; the Wait, stored, stays.
TEST_F(Modules, WaitOnATemporaryModuleSurvivesIt) {
    Run("w = new Wait(new ModuleProbe(\"s\"))");
    EXPECT_EQ(g_destroyed, 1);
    Interface* wait = Member("w");
    ASSERT_NE(wait, nullptr);
    auto* module = QueryInterface<Module>(wait, "Module");
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(module->Process(), 0);
    module->Release();
}

TEST_F(Modules, ModulesAnswerTheirInterfaces) {
    Run("mf = new ModuleFolder()");
    Interface* folder = Member("mf");
    auto* module = QueryInterface<Module>(folder, "Module");
    auto* asFolder = QueryInterface<Folder>(folder, "Folder");
    auto* plain = QueryInterface<Interface>(folder, "Interface");
    EXPECT_EQ(static_cast<Interface*>(module), folder);
    EXPECT_EQ(static_cast<Interface*>(asFolder), folder);
    EXPECT_EQ(plain, folder);
    EXPECT_EQ(folder->GetInterface("Input"), nullptr);
    for (Interface* answer :
         {static_cast<Interface*>(module), static_cast<Interface*>(asFolder), plain})
        if (answer) answer->Release();
}
} // namespace
