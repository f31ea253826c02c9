// Opening a data file as lexora does, in its two layouts: from a build tree, where the
// data lies loose below the first root; and installed, where the first root is the
// user's folder and the data lies below the second, so that each open first misses in
// the user's folder, loose and in its ten numbered archives. A third case is a file the
// user's folder overrides. Each iteration opens a small file, reads it and closes it.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "media/LxFile.h"

namespace {

enum Layout { kBuildTree, kInstalled, kUserOverride };

// The fixture's folder, made once: a build tree's demo folder, a user's folder with
// the folders an installed lexora makes, and an installed data folder.
const std::string& Fixture() {
    static std::string folder = [] {
        char name[] = "/tmp/lexora-files-bench-XXXXXX";
        if (!mkdtemp(name)) std::abort();
        std::string made = name;
        for (const char* file : {"/build/data/fonts/tnr32.xml", "/inst/data/fonts/tnr32.xml",
                                 "/user/data/fonts/own.xml", "/inst/data/fonts/own.xml"}) {
            std::filesystem::create_directories(std::filesystem::path(made + file).parent_path());
            std::ofstream(made + file) << "<Font base=\"tnr32.fnt\"/>\n";
        }
        for (const char* folder : {"/build/save/theraphy", "/user/save/theraphy",
                                   "/user/save/speech", "/user/srceenshoots"})
            std::filesystem::create_directories(made + folder);
        return made;
    }();
    return folder;
}

void BM_OpenDataFile(benchmark::State& state) {
    const std::string& root = Fixture();
    auto layout = static_cast<Layout>(state.range(0));
    if (layout == kBuildTree)
        CLxFile::SetRoots((root + "/build\\").c_str(), (root + "/build/data\\").c_str());
    else
        CLxFile::SetRoots((root + "/user\\").c_str(), (root + "/inst\\").c_str());
    const char* path = layout == kUserOverride ? "data\\fonts\\own.xml" : "data\\fonts\\tnr32.xml";
    char buffer[64];
    for (auto _ : state) {
        CLxFile file;
        if (!file.Open(path)) {
            state.SkipWithError("the data file was not found");
            break;
        }
        benchmark::DoNotOptimize(file.Read(buffer, sizeof buffer));
    }
    CLxFile::SetRoots("", "data\\");
}
BENCHMARK(BM_OpenDataFile)
    ->ArgName("layout")
    ->Arg(kBuildTree)
    ->Arg(kInstalled)
    ->Arg(kUserOverride)
    ->Unit(benchmark::kMicrosecond);

} // namespace
