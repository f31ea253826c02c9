// Module folder benchmarks: one build, and 1,000 passes, over n modules. The
// modules are Waits (with no root "term" they only look for it and answer 0) under
// a nested ModuleFolder as the first source, linked either as a chain (each
// consumes the one before: the longest run lists, so the dearest build) or as a
// binary tree (module i consumes module i/2, as signal chains fan out). n = 0 is
// the cost of the scripts themselves.
#include <benchmark/benchmark.h>

#include <string>

#include "LoadedEngine.h"

namespace {
enum Shape { kChain, kTree };

// Builds the folder bench_mods_<n>_<shape> with modules m1 .. mn; returns its name,
// or "" when the modules are not there.
std::string MakeModules(Interface* root, int n, int shape) {
    std::string name = "bench_mods_" + std::to_string(n) + "_" + std::to_string(shape);
    std::string script = name + " = new ModuleFolder();";
    if (n > 0) script += name + ".m1 = new ModuleFolder();";
    if (n > 1)
        script += "\nfor i 2.." + std::to_string(n) + " " + name + ".m[i] = new Wait(" + name +
                  (shape == kChain ? ".m[i-1]);" : ".m[i/2]);");
    Dispose(root->Run(script.c_str(), root));
    std::string last = name + (n > 0 ? ".m" + std::to_string(n) : "");
    return root->Run(last.c_str(), root) ? name : "";
}

void BM_ModuleBuild(benchmark::State& state) {
    Interface* root = LoadedRoot();
    if (!root) return state.SkipWithError("library not loaded");
    std::string name =
        MakeModules(root, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    if (name.empty()) return state.SkipWithError("modules not made");
    std::string build = name + ".build()";
    for (auto _ : state)
        Dispose(root->Run(build.c_str(), root));
}
BENCHMARK(BM_ModuleBuild)
    ->ArgsProduct({{0, 10, 30, 100, 300}, {kChain, kTree}})
    ->ArgNames({"n", "tree"})
    ->Unit(benchmark::kMicrosecond);

// One script of 1,000 start() calls per iteration.
void BM_ModulePasses(benchmark::State& state) {
    Interface* root = LoadedRoot();
    if (!root) return state.SkipWithError("library not loaded");
    int n = static_cast<int>(state.range(0));
    std::string name = MakeModules(root, n, static_cast<int>(state.range(1)));
    if (name.empty()) return state.SkipWithError("modules not made");
    Dispose(root->Run((name + ".build()").c_str(), root));
    std::string passes = "for i 1..1000 " + name + ".start();";
    for (auto _ : state)
        Dispose(root->Run(passes.c_str(), root));
    state.SetItemsProcessed(state.iterations() * 1000 * n);
}
BENCHMARK(BM_ModulePasses)
    ->ArgsProduct({{0, 10, 30, 100, 300}, {kChain, kTree}})
    ->ArgNames({"n", "tree"})
    ->Unit(benchmark::kMicrosecond);
} // namespace
