// The voice-detection benchmark: the engine's VoiceDetect against the voice-activity
// detector of Debian's libwebrtc-audio-processing, in the same run, on a minute of
// espeak-ng's Hungarian speech with pauses, clean and with white noise at 10 dB SNR.
//
// The minute is made here: phrases spoken by espeak-ng (each trimmed of its own
// silence by sox, so where each phrase lies is known to the sample) laid one after the
// other with pauses of 0.6 to 1.4 s. VoiceDetect reads it at 22050 Hz in blocks of
// 100 ms, as the microphone delivers it; the peer reads the same sound resampled by
// sox to 16 kHz (the rates it takes) in its 10 ms frames, and its frame decisions
// become utterances by joining speech frames less than 300 ms apart (a pause inside a
// phrase is not an end). Both are timed as wall time, best of several runs, and
// reported as times faster than real time.
//
// Agreement: for each spoken phrase, the detected utterance that overlaps it most;
// how far its start and end lie from the phrase's (median and worst, in ms), phrases
// missed, utterances that hold no phrase, and the share of 10 ms frames on which the
// two detectors agree whether there is speech.
//
// Needs espeak-ng and sox; the peer is loaded at run time (libwebrtc_audio_processing.so.1).
#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "ClusterBound.h"
#include "Folder.h"
#include "Module.h"
#include "SoundBuffer.h"

namespace {
constexpr int kRate = 22050, kPeerRate = 16000;
constexpr int kBlock = kRate / 10;          // 100 ms blocks, as from the microphone
constexpr int kPeerFrame = kPeerRate / 100; // 10 ms frames
constexpr double kJoinGap = 0.3;            // the peer's pauses shorter than this join
constexpr int kRuns = 5;
const char* const kPhrases[] = {"Jó reggelt kívánok!",
                                "A macska a kertben alszik.",
                                "Hány óra van most?",
                                "Szeretem a piros almát.",
                                "Holnap elmegyünk a nagymamához.",
                                "Ez egy szép nap.",
                                "A kutya ugat.",
                                "Kérek egy pohár vizet.",
                                "Hol van a labda?",
                                "Az autó gyorsan megy az úton.",
                                "Nézd, ott repül egy madár!",
                                "Köszönöm szépen."};

struct Span {
    double begin, end; // seconds
};

double Now() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

bool Shell(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

// The 16-bit samples of a mono WAV file that sox wrote (a 44-byte header).
std::vector<int16_t> ReadWav(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<int16_t> samples;
    for (size_t i = 44; i + 1 < bytes.size(); i += 2)
        samples.push_back(static_cast<int16_t>(static_cast<uint8_t>(bytes[i]) |
                                               static_cast<uint8_t>(bytes[i + 1]) << 8));
    return samples;
}

void WriteWav(const std::string& path, const std::vector<int16_t>& samples, int rate) {
    auto u32 = [](uint32_t v) { return std::string(reinterpret_cast<char*>(&v), 4); };
    auto u16 = [](uint16_t v) { return std::string(reinterpret_cast<char*>(&v), 2); };
    uint32_t bytes = static_cast<uint32_t>(samples.size() * 2);
    std::ofstream out(path, std::ios::binary);
    out << "RIFF" << u32(36 + bytes) << "WAVEfmt " << u32(16) << u16(1) << u16(1)
        << u32(static_cast<uint32_t>(rate)) << u32(static_cast<uint32_t>(rate * 2)) << u16(2)
        << u16(16) << "data" << u32(bytes);
    out.write(reinterpret_cast<const char*>(samples.data()), bytes);
}

// A minute of phrases and pauses at 22050 Hz, with where each phrase lies.
bool MakeSpeech(std::vector<int16_t>* minute, std::vector<Span>* phrases) {
    uint32_t seed = 7;
    for (int i = 0; minute->size() < static_cast<size_t>(60 * kRate); ++i) {
        const char* text = kPhrases[i % (sizeof kPhrases / sizeof *kPhrases)];
        std::string speed = std::to_string(150 + 15 * (i % 4)); // words per minute
        if (!Shell("espeak-ng -v hu -s " + speed + " -w spoken.wav '" + text +
                   "' && sox spoken.wav -r 22050 -c 1 -b 16 phrase.wav silence 1 0.02 0.5% "
                   "reverse silence 1 0.02 0.5% reverse"))
            return false;
        std::vector<int16_t> phrase = ReadWav("phrase.wav");
        seed = seed * 1664525u + 1013904223u;
        size_t pause = static_cast<size_t>((0.6 + 0.8 * (seed >> 8) / double(1 << 24)) * kRate);
        minute->insert(minute->end(), pause, 0);
        phrases->push_back(
            {minute->size() / double(kRate), (minute->size() + phrase.size()) / double(kRate)});
        minute->insert(minute->end(), phrase.begin(), phrase.end());
    }
    minute->insert(minute->end(), kRate, 0);
    return true;
}

// The clean minute with white noise added at the given SNR (against the speech's power).
std::vector<int16_t> WithNoise(const std::vector<int16_t>& clean, const std::vector<Span>& phrases,
                               double snrDb) {
    double power = 0;
    size_t count = 0;
    for (const Span& p : phrases)
        for (size_t i = static_cast<size_t>(p.begin * kRate); i < p.end * kRate; ++i)
            power += double(clean[i]) * clean[i], ++count;
    double noiseRms = std::sqrt(power / count / std::pow(10.0, snrDb / 10));
    std::vector<int16_t> noisy(clean.size());
    uint32_t seed = 99;
    for (size_t i = 0; i < clean.size(); ++i) {
        double gauss = 0; // a sum of uniforms: near enough to white Gaussian noise
        for (int k = 0; k < 12; ++k) {
            seed = seed * 1664525u + 1013904223u;
            gauss += (seed >> 8) / double(1 << 24);
        }
        double v = clean[i] + (gauss - 6) * noiseRms;
        noisy[i] = static_cast<int16_t>(std::clamp(v, -32768.0, 32767.0));
    }
    return noisy;
}

// The engine's VoiceDetect over the stream in 100 ms blocks: its utterances.
std::vector<Span> EngineUtterances(Folder* root, const std::vector<int16_t>& stream, int run) {
    std::string name = "vd" + std::to_string(run), source = "src" + std::to_string(run);
    Interface* made = root->Run((source + " = new DummySoundBuffer(" + std::to_string(kBlock) +
                                 "); " + name + " = new VoiceDetect(" + source + ", 0)")
                                    .c_str(),
                                root);
    (void)made;
    auto* src = static_cast<SoundBuffer*>(
        root->Find(source.c_str(), static_cast<int>(source.size()))->GetInterface("SoundBuffer"));
    Interface* detector = root->Find(name.c_str(), static_cast<int>(name.size()));
    auto* module = static_cast<Module*>(detector->GetInterface("Module"));
    auto* bound = static_cast<ClusterBound*>(detector->GetInterface("ClusterBound"));
    std::vector<Span> found;
    for (size_t at = 0; at < stream.size(); at += kBlock) {
        size_t n = std::min<size_t>(kBlock, stream.size() - at);
        for (size_t i = 0; i < n; ++i)
            src->data[i] = stream[at + i];
        src->length = static_cast<int32_t>(n);
        if (module->Process() != 1 || bound->count < 2) continue;
        found.push_back({(double(at) + bound->Boundary(0)) / kRate,
                         (double(at) + bound->Boundary(bound->count - 1)) / kRate});
    }
    src->Release();
    module->Release();
    bound->Release();
    return found;
}

struct Peer {
    void* (*Create)();
    void (*Free)(void*);
    int (*Init)(void*);
    int (*SetMode)(void*, int);
    int (*Process)(void*, int, const int16_t*, size_t);
};

bool LoadPeer(Peer* peer) {
    void* library = dlopen("libwebrtc_audio_processing.so.1", RTLD_NOW);
    if (!library) return false;
    peer->Create = reinterpret_cast<void* (*)()>(dlsym(library, "WebRtcVad_Create"));
    peer->Free = reinterpret_cast<void (*)(void*)>(dlsym(library, "WebRtcVad_Free"));
    peer->Init = reinterpret_cast<int (*)(void*)>(dlsym(library, "WebRtcVad_Init"));
    peer->SetMode = reinterpret_cast<int (*)(void*, int)>(dlsym(library, "WebRtcVad_set_mode"));
    peer->Process = reinterpret_cast<int (*)(void*, int, const int16_t*, size_t)>(
        dlsym(library, "WebRtcVad_Process"));
    return peer->Create && peer->Free && peer->Init && peer->SetMode && peer->Process;
}

// The peer's frame decisions over a 16 kHz stream.
std::vector<bool> PeerFrames(const Peer& peer, const std::vector<int16_t>& stream) {
    void* vad = peer.Create();
    peer.Init(vad);
    peer.SetMode(vad, 2);
    std::vector<bool> speech;
    for (size_t at = 0; at + kPeerFrame <= stream.size(); at += kPeerFrame)
        speech.push_back(peer.Process(vad, kPeerRate, stream.data() + at, kPeerFrame) == 1);
    peer.Free(vad);
    return speech;
}

std::vector<Span> Joined(const std::vector<bool>& frames) {
    std::vector<Span> spans;
    for (size_t i = 0; i < frames.size(); ++i) {
        if (!frames[i]) continue;
        double begin = i / 100.0, end = (i + 1) / 100.0;
        if (!spans.empty() && begin - spans.back().end < kJoinGap)
            spans.back().end = end;
        else
            spans.push_back({begin, end});
    }
    return spans;
}

double Overlap(const Span& a, const Span& b) {
    return std::max(0.0, std::min(a.end, b.end) - std::max(a.begin, b.begin));
}

std::vector<bool> AsFrames(const std::vector<Span>& spans, size_t frames) {
    std::vector<bool> out(frames, false);
    for (const Span& s : spans)
        for (size_t i = static_cast<size_t>(s.begin * 100); i < s.end * 100 && i < frames; ++i)
            out[i] = true;
    return out;
}

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// How the utterances found match the phrases spoken.
void Report(const char* who, const std::vector<Span>& found, const std::vector<Span>& phrases) {
    std::vector<double> starts, ends;
    int missed = 0;
    std::vector<bool> used(found.size(), false);
    for (const Span& p : phrases) {
        size_t best = found.size();
        double most = 0;
        for (size_t i = 0; i < found.size(); ++i)
            if (Overlap(p, found[i]) > most) most = Overlap(p, found[i]), best = i;
        if (best == found.size()) {
            ++missed;
            continue;
        }
        used[best] = true;
        starts.push_back(std::abs(found[best].begin - p.begin) * 1000);
        ends.push_back(std::abs(found[best].end - p.end) * 1000);
    }
    int extra = static_cast<int>(std::count(used.begin(), used.end(), false));
    auto worst = [](const std::vector<double>& v) {
        return v.empty() ? 0.0 : *std::max_element(v.begin(), v.end());
    };
    std::printf("  %-12s %3zu utterances; start off by %4.0f ms median, %5.0f worst; end off by "
                "%4.0f ms median, %5.0f worst; %d of %zu phrases missed; %d utterances of no "
                "phrase\n",
                who, found.size(), Median(starts), worst(starts), Median(ends), worst(ends), missed,
                phrases.size(), extra);
}

void Compare(const char* title, Folder* root, const Peer* peer, const std::vector<int16_t>& stream,
             const std::vector<Span>& phrases, int* run) {
    WriteWav("stream.wav", stream, kRate);
    Shell("sox stream.wav -r 16000 stream16.wav");
    std::vector<int16_t> stream16 = ReadWav("stream16.wav");
    double seconds = stream.size() / double(kRate);
    std::vector<Span> engine;
    double engineBest = 1e9;
    for (int r = 0; r < kRuns; ++r) {
        double start = Now();
        engine = EngineUtterances(root, stream, (*run)++);
        engineBest = std::min(engineBest, Now() - start);
    }
    std::printf("%s (%.1f s, %zu phrases)\n", title, seconds, phrases.size());
    std::printf("  %-12s %8.0f times faster than real time\n", "VoiceDetect", seconds / engineBest);
    Report("VoiceDetect", engine, phrases);
    if (!peer) return;
    std::vector<bool> frames;
    double peerBest = 1e9;
    for (int r = 0; r < kRuns; ++r) {
        double start = Now();
        frames = PeerFrames(*peer, stream16);
        peerBest = std::min(peerBest, Now() - start);
    }
    std::printf("  %-12s %8.0f times faster than real time\n", "webrtc VAD", seconds / peerBest);
    std::vector<Span> peerSpans = Joined(frames);
    Report("webrtc VAD", peerSpans, phrases);
    std::vector<bool> ours = AsFrames(engine, frames.size()),
                      theirs = AsFrames(peerSpans, frames.size());
    size_t agree = 0;
    for (size_t i = 0; i < frames.size(); ++i)
        agree += ours[i] == theirs[i];
    std::printf("  the two agree on %.1f%% of 10 ms frames\n", 100.0 * agree / frames.size());
}
} // namespace

int main() {
    char folder[] = "/tmp/voice-bench-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder)) return 1;
    void* library = dlopen(TALVIK_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        std::fprintf(stderr, "cannot load %s: %s\n", TALVIK_LIBRARY, dlerror());
        return 1;
    }
    auto* root = *static_cast<Folder**>(dlsym(library, "export_root"));
    std::vector<int16_t> clean;
    std::vector<Span> phrases;
    if (!MakeSpeech(&clean, &phrases)) {
        std::fprintf(stderr, "espeak-ng and sox are needed to make the speech\n");
        return 1;
    }
    Peer peer;
    bool hasPeer = LoadPeer(&peer);
    if (!hasPeer) std::printf("the peer is missing: apt-get install libwebrtc-audio-processing1\n");
    int run = 0;
    Compare("espeak-ng speech with pauses, clean", root, hasPeer ? &peer : nullptr, clean, phrases,
            &run);
    Compare("the same with white noise at 10 dB SNR", root, hasPeer ? &peer : nullptr,
            WithNoise(clean, phrases, 10), phrases, &run);
    Shell(std::string("rm -rf ") + folder);
    return 0;
}
