// Engine benchmarks: loading the library with its start-up script (in a fresh
// child process each time, since a library loads once per process), and the
// short scripts a host runs on every driver tick.
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "LoadedEngine.h"

namespace {
// fork, dlopen (which builds the root, registers every class and runs the
// start-up script), then exit: the cost a host pays once at start.
void BM_LoadLibrary(benchmark::State& state) {
    for (auto _ : state) {
        pid_t child = fork();
        if (child == 0) {
            void* library = dlopen(TALVIK_LIBRARY, RTLD_NOW);
            _exit(library && dlsym(library, "export_root") ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("load failed");
    }
}
BENCHMARK(BM_LoadLibrary)->Unit(benchmark::kMillisecond);

// The process-start floor the load is measured against: fork and exit alone.
void BM_ForkOnly(benchmark::State& state) {
    for (auto _ : state) {
        pid_t child = fork();
        if (child == 0) _exit(0);
        int status = 0;
        waitpid(child, &status, 0);
    }
}
BENCHMARK(BM_ForkOnly)->Unit(benchmark::kMillisecond);

void BM_RunAssignment(benchmark::State& state) {
    Interface* root = LoadedRoot();
    if (!root) return state.SkipWithError("library not loaded");
    for (auto _ : state)
        Dispose(root->Run("bench_x = 5", root));
}
BENCHMARK(BM_RunAssignment);

void BM_RunPathLookup(benchmark::State& state) {
    Interface* root = LoadedRoot();
    if (!root) return state.SkipWithError("library not loaded");
    Dispose(root->Run("bench_a = new Folder;bench_a.b = new Folder;bench_a.b.c = 1", root));
    for (auto _ : state)
        Dispose(root->Run("bench_a.b.c", root));
}
BENCHMARK(BM_RunPathLookup);

// Name lookup grows with the members of a folder.
void BM_FindAmongMembers(benchmark::State& state) {
    Interface* root = LoadedRoot();
    if (!root) return state.SkipWithError("library not loaded");
    std::string fill = "bench_f = new Folder;bench_f{\nfor i 1.." + std::to_string(state.range(0)) +
                       " m[i] = 1;\n}";
    Dispose(root->Run(fill.c_str(), root));
    for (auto _ : state)
        Dispose(root->Run("bench_f.m1", root));
}
BENCHMARK(BM_FindAmongMembers)->Arg(10)->Arg(100)->Arg(1000);

// Storing n members into a fresh folder, one statement each: about n steps, not n^2.
void BM_StoreMembers(benchmark::State& state) {
    Interface* root = LoadedRoot();
    if (!root) return state.SkipWithError("library not loaded");
    std::string fill = "bench_s{\n";
    for (int i = 0; i < state.range(0); ++i)
        fill += "m" + std::to_string(i) + " = 1;\n";
    fill += "}";
    for (auto _ : state) {
        Dispose(root->Run("bench_s = new Folder", root));
        Dispose(root->Run(fill.c_str(), root));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_StoreMembers)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond);

// A for-line that fills most of an expanded line.
void BM_ExpandForLine(benchmark::State& state) {
    Interface* root = LoadedRoot();
    if (!root) return state.SkipWithError("library not loaded");
    for (auto _ : state)
        Dispose(root->Run("bench_g = new Folder;bench_g{\nfor i 1..2000 v[i]=[i];\n}", root));
}
BENCHMARK(BM_ExpandForLine)->Unit(benchmark::kMicrosecond);
} // namespace

BENCHMARK_MAIN();
