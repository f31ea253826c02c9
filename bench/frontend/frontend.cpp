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
#include <dlfcn.h>
#include <fcntl.h>
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

// Wall time of one sphinx_fe run; negative when it is not there or failed.
double TimeSphinx(const std::string& wav, const std::string& out) {
    double start = Now();
    pid_t child = fork();
    if (child == 0) {
        std::freopen("/dev/null", "w", stderr);
        execlp("sphinx_fe", "sphinx_fe", "-i", wav.c_str(), "-o", out.c_str(), "-mswav", "yes",
               "-samprate", "22050", "-nfft", "512", "-wlen", "0.02322", "-frate", "100", "-nfilt",
               "20", "-ncep", "13", "-lowerf", "0", "-upperf", "11025", "-dither", "no",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    double elapsed = Now() - start;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? elapsed : -1;
}
} // namespace

int main() {
    char folder[] = "/tmp/talvik-frontend-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0) return std::perror("temporary folder"), 1;
    std::vector<int16_t> audio = SpeechLike(kRate * kSeconds);
    int half = static_cast<int>(audio.size() / 2);
    if (!WriteWav("all.wav", audio.data(), static_cast<int>(audio.size())) ||
        !WriteWav("half1.wav", audio.data(), half) ||
        !WriteWav("half2.wav", audio.data() + half, static_cast<int>(audio.size()) - half))
        return std::perror("writing the sound"), 1;

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
        double s = TimeSphinx("all.wav", "all.mfc");
        if (s >= 0) sphinx = std::min(sphinx, s);
    }
    std::printf("audio: %d s at %d Hz, best of %d runs\n", kSeconds, kRate, kRuns);
    std::printf("engine chain: %8.1f ms, %6.0f x real time\n", engine * 1e3, kSeconds / engine);
    if (sphinx > 1e8) {
        std::printf("sphinx_fe: not run (install sphinxbase-utils)\n");
        return 0;
    }
    std::printf("sphinx_fe:    %8.1f ms, %6.0f x real time\n", sphinx * 1e3, kSeconds / sphinx);
    std::printf("engine / sphinx_fe speed: %.2f\n", sphinx / engine);
    return 0;
}
