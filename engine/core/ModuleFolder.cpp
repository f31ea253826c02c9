// ModuleFolder and its scheduling; see ModuleFolder.h.
//
// build takes a reference to every member that is a Module, oldest first (the
// module list), and gives each module m a run list: the modules after m that
// consume m's output, directly or through other modules after m, in list order.
//
// start walks the module list calling Process until one answers non-zero:
//  - > 0: the module has more to give; the rest of the list runs, then the module
//    is stepped and its run list processed after each Step for as long as it has more;
//  - < 0: it produced nothing, so the rest of the pass leaves its consumers out;
//    they run after its Step instead.
// The same rule applies again, recursively, below every module that answers
// non-zero (Run). Positions in the lists are indices into the module list.
#include "core/ModuleFolder.h"

#include <cstring>
#include <numeric>
#include <span>
#include <vector>

#include "core/Arguments.h"

// "build" and "start": called from scripts as mod.build() and mod.start(). They
// outlive their folder when a script keeps one, and then do nothing.
class ModuleFolder::Operation : public Interface {
  public:
    Operation(ModuleFolder* folder, void (ModuleFolder::*action)())
        : folder_(folder), action_(action) {}

    Interface* Call(Input* lexer, Interface*) override {
        if (lexer) {
            int level = lexer->Depth();
            lexer->SkipBlock(level); // the empty argument list
        }
        if (folder_) (folder_->*action_)();
        return folder_; // none when the folder went during the operation
    }
    void Orphan() { folder_ = nullptr; }

  private:
    ModuleFolder* folder_;
    void (ModuleFolder::*action_)();
};

// The result of one build: the module list with a reference to each module, and
// the run lists, both as indices and as the nullptr-terminated arrays that each
// module's runList points at.
class ModuleFolder::Schedule {
  public:
    explicit Schedule(NameList& members);
    ~Schedule();
    Schedule(const Schedule&) = delete;
    Schedule& operator=(const Schedule&) = delete;

    void Pass() { Walk(order_, {}); }

  private:
    using Span = std::span<const int>;

    void Walk(Span list, Span skip);
    void Run(int m, Span rest, Span skip);

    std::vector<Module*> modules_;
    std::vector<int> order_; // 0 .. n-1: the whole module list
    std::vector<std::vector<int>> runs_;
    std::vector<std::vector<Module*>> runLists_;
};

ModuleFolder::Schedule::Schedule(NameList& members) {
    std::list<NameList::Node>& nodes = members.Nodes();
    for (auto node = nodes.rbegin(); node != nodes.rend(); ++node)
        if (auto* module = QueryInterface<Module>(node->object, "Module"))
            modules_.push_back(module);
    int n = static_cast<int>(modules_.size());
    order_.resize(n);
    std::iota(order_.begin(), order_.end(), 0);
    runs_.resize(n);
    runLists_.resize(n);
    std::vector<char> marked;
    for (int m = 0; m < n; ++m) {
        marked.assign(n, 0);
        marked[m] = 1;
        for (int k = m; k < n; ++k) {
            if (!marked[k]) continue;
            for (int l = k + 1; l < n; ++l)
                if (!marked[l] && modules_[k]->IsDependant(modules_[l])) marked[l] = 1;
        }
        for (int l = m + 1; l < n; ++l) {
            if (!marked[l]) continue;
            runs_[m].push_back(l);
            runLists_[m].push_back(modules_[l]);
        }
        runLists_[m].push_back(nullptr);
        modules_[m]->runList = runLists_[m].data();
    }
}

ModuleFolder::Schedule::~Schedule() {
    // A later build, here or in another folder, may have given a module a new list.
    for (size_t i = 0; i < modules_.size(); ++i)
        if (modules_[i]->runList == runLists_[i].data()) modules_[i]->runList = nullptr;
    for (Module* module : modules_)
        module->Release();
}

// Processes the list, leaving out the entries of skip as they come, up to the first
// module that answers non-zero; the rest of the list then runs below that module.
void ModuleFolder::Schedule::Walk(Span list, Span skip) {
    for (size_t i = 0; i < list.size(); ++i) {
        int x = list[i];
        if (!skip.empty() && skip.front() == x) {
            skip = skip.subspan(1);
            continue;
        }
        int result = modules_[x]->Process();
        if (result == 0) continue;
        Run(x, list.subspan(i + 1), result > 0 ? skip : Span(runs_[x]));
        return;
    }
}

// Module m answered non-zero: finish the remaining list, then step m and process
// its consumers after each Step until m has no more to give.
void ModuleFolder::Schedule::Run(int m, Span rest, Span skip) {
    Walk(rest, skip);
    Span consumers(runs_[m]);
    for (;;) {
        int more = modules_[m]->Step();
        if (more < 0) return;
        for (size_t i = 0; i < consumers.size(); ++i) {
            int result = modules_[consumers[i]]->Process();
            if (result == 0) continue;
            if (result > 0) Run(consumers[i], consumers.subspan(i + 1), {});
            break;
        }
        if (more == 0) return;
    }
}

ModuleFolder::ModuleFolder()
    : build_(new Operation(this, &ModuleFolder::Build)),
      start_(new Operation(this, &ModuleFolder::Start)) {
    build_->AddRef();
    start_->AddRef();
}

ModuleFolder::~ModuleFolder() {
    build_->Orphan();
    start_->Orphan();
    build_->Release();
    start_->Release();
}

Interface* ModuleFolder::Find(const char* name, int length) {
    if (name && length == 5) {
        if (!std::memcmp(name, "build", 5)) return build_;
        if (!std::memcmp(name, "start", 5)) return start_;
    }
    return ModuleBase::Find(name, length);
}

void ModuleFolder::Build() {
    schedule_ = std::make_shared<Schedule>(PlainMembers());
}

void ModuleFolder::Start() {
    std::shared_ptr<Schedule> schedule = schedule_; // kept whatever the pass does
    if (schedule) schedule->Pass();
}

Interface* NewModuleFolder(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 0);
    return new ModuleFolder;
}
