// The front-end benchmark: one minute of 22050 Hz speech-like sound through the
// engine's analysis chain (WAV input, pre-emphasis, spectrum, triangular Bark bands,
// log, 13 cepstra as feature streams and their derivatives), against sphinx_fe computing 13 cepstra
// of the same audio. Both are timed as wall time on one core, best of several runs, and reported as
// times faster than real time, with their ratio.
//
// The WAV input holds at most 1,000,000 samples (45 s at 22050 Hz), so the minute is
// written as two files of 30 s that the chain reads in turn; sphinx_fe reads the
// whole minute from one file. The chain is built before each timed run, so the times
// are of the analysis alone; sphinx_fe's include its process start (a few ms).
//
// Both also run as whole processes on the same files: the talvik host builds and runs
// the chain from a script given on its command line (library load, start-up script and
// chain build included), against the same sphinx_fe; each is measured as CPU time (user
// and system) and peak resident memory of the child, best of several runs. Those run
// first, while this process is a few MB: a child's peak includes what it shared with
// its parent until it started its program.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "talvik.h"

namespace {
constexpr int kRate = 22050;
constexpr int kSeconds = 60;
constexpr int kRuns = 5;

double Now() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Voiced stretches with a gliding pitch and five harmonics, hiss and pauses.
std::vector<int16_t> SpeechLike(int samples) {
    std::vector<int16_t> out(samples);
    uint32_t noise = 12345;
    double phase = 0;
    for (int i = 0; i < samples; ++i) {
        double t = static_cast<double>(i) / kRate;
        double syllable = std::fmod(t, 0.4);
        double pitch = 110 + 40 * std::sin(2 * M_PI * 0.3 * t);
        phase += 2 * M_PI * pitch / kRate;
        double voiced = 0;
        for (int h = 1; h <= 5; ++h)
            voiced += std::sin(h * phase) / h;
        noise = noise * 1664525u + 1013904223u;
        double hiss = (static_cast<double>(noise >> 8) / (1 << 24) - 0.5) * 2;
        double value = syllable < 0.25 ? 6000 * voiced : syllable < 0.32 ? 2500 * hiss : 50 * hiss;
        out[i] = static_cast<int16_t>(std::clamp(value, -32767.0, 32767.0));
    }
    return out;
}

void Put(std::string& s, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        s += static_cast<char>(v >> 8 * i & 0xFF);
}

bool WriteWav(const std::string& path, const int16_t* samples, int count) {
    std::string s = "RIFF";
    Put(s, 36 + 2 * count, 4);
    s += "WAVEfmt ";
    Put(s, 16, 4);
    Put(s, 1, 2);
    Put(s, 1, 2);
    Put(s, kRate, 4);
    Put(s, 2 * kRate, 4);
    Put(s, 2, 2);
    Put(s, 16, 2);
    s += "data";
    Put(s, 2 * count, 4);
    for (int i = 0; i < count; ++i)
        Put(s, static_cast<uint16_t>(samples[i]), 2);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(s.data(), 1, s.size(), f) == s.size();
    return std::fclose(f) == 0 && ok;
}

void Dispose(Interface* value) {
    if (!value) return;
    value->AddRef();
    value->Release();
}

// The chain of one half, in a module folder of its own.
std::string Chain(const std::string& folder, const std::string& wav) {
    return folder + " = new ModuleFolder(); " + folder + " { w = new WavFileIn(\"" + wav +
           "\"); p = new PreEmpSB(w); s = new Spectrum(p, 512, 220, 512, 1); "
           "b = new BandEnergyTriang(s, w, \"Bark\", 11025, 20, 1.5); l = new LogMap(b); "
           "m = new MFCC(l, 13);\nfor i 0..12 f[i] = new FBand(m, [i]); d[i] = new "
           "FDerivative(f[i], 0);\n}; " +
           folder + ".build()";
}

// Best wall time of the engine over the two halves; negative when it failed.
double TimeEngine(Interface* root, int run) {
    std::string first = "fe" + std::to_string(run) + "a", second = "fe" + std::to_string(run) + "b";
    Dispose(root->Run((Chain(first, "half1") + "; " + Chain(second, "half2")).c_str(), root));
    if (!root->Run((second + ".d12").c_str(), root)) return -1;
    double start = Now();
    Dispose(root->Run((first + ".start(); " + second + ".start()").c_str(), root));
    return Now() - start;
}

// Runs sphinx_fe on the minute in the calling (child) process; returns only on failure.
void ExecSphinx() {
    execlp("sphinx_fe", "sphinx_fe", "-i", "all.wav", "-o", "all.mfc", "-mswav", "yes", "-samprate",
           "22050", "-nfft", "512", "-wlen", "0.02322", "-frate", "100", "-nfilt", "20", "-ncep",
           "13", "-lowerf", "0", "-upperf", "11025", "-dither", "no", static_cast<char*>(nullptr));
}

// Runs the talvik host on the chain over both halves; returns only on failure.
void ExecTalvik() {
    std::string script =
        Chain("a", "half1") + "; " + Chain("b", "half2") + "; a.start(); b.start()";
    execl(TALVIK_HOST, "talvik", "-e", script.c_str(), static_cast<char*>(nullptr));
}

struct ChildCost {
    double wall = -1, cpu = -1; // seconds; negative when the child failed
    long peakKb = 0;
};

// Runs exec in a child with its output thrown away and measures it.
ChildCost RunChild(void (*exec)()) {
    ChildCost cost;
    std::fflush(stdout); // the child must not write our buffered lines again
    double start = Now();
    pid_t child = fork();
    if (child == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        exec();
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return cost;
    cost.wall = Now() - start;
    auto seconds = [](timeval t) { return static_cast<double>(t.tv_sec) + t.tv_usec * 1e-6; };
    cost.cpu = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    cost.peakKb = usage.ru_maxrss;
    return cost;
}

// The run of least CPU time among kRuns.
ChildCost BestOf(void (*exec)()) {
    ChildCost best;
    for (int run = 0; run < kRuns; ++run) {
        ChildCost cost = RunChild(exec);
        if (cost.cpu >= 0 && (best.cpu < 0 || cost.cpu < best.cpu)) best = cost;
    }
    return best;
}

void ReportWholeProcesses(const ChildCost& talvik, const ChildCost& sphinx) {
    std::printf("whole processes, best of %d by CPU time:\n", kRuns);
    if (talvik.cpu < 0) {
        std::printf("talvik: failed\n");
        return;
    }
    std::printf("talvik:    %7.1f ms CPU, %7.1f ms wall, peak %6ld kB\n", talvik.cpu * 1e3,
                talvik.wall * 1e3, talvik.peakKb);
    if (sphinx.cpu < 0) return;
    std::printf("sphinx_fe: %7.1f ms CPU, %7.1f ms wall, peak %6ld kB\n", sphinx.cpu * 1e3,
                sphinx.wall * 1e3, sphinx.peakKb);
    std::printf("talvik / sphinx_fe: CPU %.2f, peak memory %.2f\n", talvik.cpu / sphinx.cpu,
                static_cast<double>(talvik.peakKb) / static_cast<double>(sphinx.peakKb));
}
} // namespace

// The minute as one file and as two halves.
bool WriteSound() {
    std::vector<int16_t> audio = SpeechLike(kRate * kSeconds);
    int half = static_cast<int>(audio.size() / 2);
    return WriteWav("all.wav", audio.data(), static_cast<int>(audio.size())) &&
           WriteWav("half1.wav", audio.data(), half) &&
           WriteWav("half2.wav", audio.data() + half, static_cast<int>(audio.size()) - half);
}

int main() {
    char folder[] = "/tmp/talvik-frontend-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0) return std::perror("temporary folder"), 1;
    if (!WriteSound()) return std::perror("writing the sound"), 1;
    // First, while this process is still small: a child's peak resident size counts
    // what it shared with us until its exec.
    ChildCost talvikProcess = BestOf(ExecTalvik), sphinxProcess = BestOf(ExecSphinx);

    void* library = dlopen(TALVIK_LIBRARY, RTLD_NOW);
    if (!library) return std::fprintf(stderr, "%s\n", dlerror()), 1;
    auto* root = *static_cast<Folder**>(dlsym(library, "export_root"));

    // The engine's messages ("Processing ...") are not part of the report.
    std::fflush(stdout);
    int console = dup(1), quiet = open("/dev/null", O_WRONLY);
    double engine = 1e9, sphinx = 1e9;
    for (int run = 0; run < kRuns; ++run) {
        dup2(quiet, 1);
        double e = TimeEngine(root, run);
        std::fflush(stdout);
        dup2(console, 1);
        if (e < 0) return std::fprintf(stderr, "the engine's chain could not be built\n"), 1;
        engine = std::min(engine, e);
        ChildCost s = RunChild(ExecSphinx);
        if (s.wall >= 0) sphinx = std::min(sphinx, s.wall);
    }
    std::printf("audio: %d s at %d Hz, best of %d runs\n", kSeconds, kRate, kRuns);
    std::printf("engine chain: %8.1f ms, %6.0f x real time\n", engine * 1e3, kSeconds / engine);
    if (sphinx > 1e8) {
        std::printf("sphinx_fe: not run (install sphinxbase-utils)\n");
        return 0;
    }
    std::printf("sphinx_fe:    %8.1f ms, %6.0f x real time\n", sphinx * 1e3, kSeconds / sphinx);
    std::printf("engine / sphinx_fe speed: %.2f\n", sphinx / engine);
    ReportWholeProcesses(talvikProcess, sphinxProcess);
    return 0;
}
