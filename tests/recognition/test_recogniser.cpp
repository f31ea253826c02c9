// The data folder's letter recogniser, end to end, the way the program drives it: the
// recogniser script builds "mod", "mod_sb" and "mod_classic" from the trained networks
// of data/lexora/recogniser; an utterance goes into mod_classic.wfi, mod_classic.start()
// runs the search and mod_classic.te's node holds the letter. The speech is made at
// test time by espeak-ng (a voice, speed and pitch kept out of training), laid into a
// stream of background and cut by the program's own driver code (the cut tool
// tools/lexora-cut feeds the driver as the sound device does), so the recogniser is
// checked on the cut the program hands it; without those tools the speech cases are
// skipped. The same
// letters must mostly survive a noisy or reverberant room, a child-like pitch and a quiet
// voice; Hungarian speech that is no letter name and non-speech (a tone, noise, silence,
// a tap, breath, a cough, a whistle, a chord) must give no letter. Held therapy sounds
// and vowels (espeak-ng's phonemes, stretched by sox) fed to mod.wfi as the driver
// feeds it, the newest 512 samples a tick, get their own class in most ticks, also in
// noise, and each tick's scores are those of its block alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "Evaluator.h"
#include "Hypothesis.h"
#include "Language.h"
#include "signal/SignalTest.h"

namespace {
constexpr int kRate = 22050;
const std::string kData = std::string(TALVIK_SCRIPTS) + "/../../data/lexora/";

// The samples of a 16-bit mono WAV file (its "data" chunk); empty when unreadable.
std::vector<float> ReadWav(const std::string& path) {
    std::string file = ReadFile(path);
    std::vector<float> samples;
    for (size_t at = 12; at + 8 <= file.size();) {
        uint32_t size = 0;
        for (int i = 0; i < 4; ++i)
            size |= static_cast<uint32_t>(static_cast<unsigned char>(file[at + 4 + i])) << 8 * i;
        if (file.compare(at, 4, "data") == 0) {
            for (size_t i = at + 8; i + 1 < file.size() && i + 1 < at + 8 + size; i += 2)
                samples.push_back(static_cast<float>(
                    static_cast<int16_t>(static_cast<unsigned char>(file[i]) |
                                         static_cast<unsigned char>(file[i + 1]) << 8)));
            break;
        }
        at += 8 + size + (size & 1);
    }
    return samples;
}

// SAMPLES as a 22050 Hz 16-bit mono WAV file, clipped to 16 bits.
void WriteWav(const std::string& path, const std::vector<float>& samples) {
    auto number = [](std::string& out, uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out += static_cast<char>(value >> 8 * i & 0xff);
    };
    uint32_t size = static_cast<uint32_t>(samples.size() * 2);
    std::string file = "RIFF";
    number(file, 36 + size, 4);
    file += "WAVEfmt ";
    number(file, 16, 4);
    number(file, 1, 2); // PCM
    number(file, 1, 2); // mono
    number(file, kRate, 4);
    number(file, kRate * 2, 4);
    number(file, 2, 2);
    number(file, 16, 2);
    file += "data";
    number(file, size, 4);
    for (float x : samples)
        number(file,
               static_cast<uint16_t>(
                   static_cast<int16_t>(std::lround(std::clamp(x, -32768.0f, 32767.0f)))),
               2);
    WriteFile(path, file);
}

bool Have(const char* tool) {
    return std::system((std::string("command -v ") + tool + " > /dev/null 2>&1").c_str()) == 0;
}

// Letter names (UTF-8 for espeak-ng, hence the escapes: \xc3\xa9 is an e with acute,
// \xc3\xa1 an a with acute) and the recogniser's symbols (C = cs, S = sz, Z = zs,
// G = gy).
const struct {
    const char* name;
    char symbol;
} kLetters[] = {
    {"b\xc3\xa9", 'b'},  {"c\xc3\xa9", 'c'}, {"cs\xc3\xa9", 'C'}, {"d\xc3\xa9", 'd'},
    {"ef", 'f'},         {"g\xc3\xa9", 'g'}, {"gy\xc3\xa9", 'G'}, {"h\xc3\xa1", 'h'},
    {"j\xc3\xa9", 'j'},  {"k\xc3\xa1", 'k'}, {"el", 'l'},         {"ely", 'L'},
    {"em", 'm'},         {"en", 'n'},        {"eny", 'N'},        {"p\xc3\xa9", 'p'},
    {"er", 'r'},         {"es", 's'},        {"esz", 'S'},        {"t\xc3\xa9", 't'},
    {"ty\xc3\xa9", 'T'}, {"v\xc3\xa9", 'v'}, {"z\xc3\xa9", 'z'},  {"zs\xc3\xa9", 'Z'},
};

class Recogniser : public SignalTest {
  protected:
    void SetUp() override {
        SignalTest::SetUp();
        for (const char* name : {"letters.net", "letters.trf", "neutral.net", "neutral.trf",
                                 "sounds.net", "sounds.trf"})
            WriteFile(std::string("data/recogniser/") + name,
                      ReadFile(kData + "recogniser/" + name));
        std::string printed = In(ReadFile(kData + "recogniser24x3"));
        ASSERT_EQ(printed.find("rror"), std::string::npos) << printed;
        // The shipped networks' files are complete: building them warns of nothing.
        ASSERT_EQ(printed.find("ANNEvaluator"), std::string::npos) << printed;
    }

    // The first letter of the answer to an utterance; 0 when there is none (nor when the
    // driver cut no utterance: the program then shows no letter).
    char Recognise(const std::vector<float>& samples) {
        if (samples.empty()) return 0;
        SoundBuffer* sb = Buffer("mod_classic.wfi");
        EXPECT_NE(sb, nullptr);
        if (!sb || static_cast<int32_t>(samples.size()) > sb->capacity) return '?';
        std::copy(samples.begin(), samples.end(), sb->data);
        sb->length = static_cast<int32_t>(samples.size());
        sb->sps = kRate;
        sb->complete = 1;
        In("mod_classic.start()");
        auto* te = QueryInterface<Hypothesis>(Get("mod_classic.te"), "Hypothesis");
        EXPECT_NE(te, nullptr);
        if (!te) return '?';
        char letter = te->node && te->node->letters ? static_cast<char>(te->node->letters[0]) : 0;
        te->Release();
        return letter;
    }

    // One tick of the driver's per-frame scoring: BLOCK (512 samples) into mod.wfi,
    // mod.start(), and mod.anne's scores (classes 0 ... 19); empty when missing.
    std::vector<float> ScoreBlock(const std::vector<float>& block) {
        SoundBuffer* sb = Buffer("mod.wfi");
        auto* anne = QueryInterface<Evaluator>(Get("mod.anne"), "Evaluator");
        std::vector<float> scores;
        if (sb && anne && block.size() <= static_cast<size_t>(sb->capacity)) {
            std::copy(block.begin(), block.end(), sb->data);
            sb->length = static_cast<int32_t>(block.size());
            sb->sps = kRate;
            sb->complete = 0;
            In("mod.start()");
            if (const float* s = anne->Evaluate(0, 0)) scores.assign(s, s + anne->count);
        }
        if (anne) anne->Release();
        return scores;
    }

    // The driver's cut: the sound laid into a stream, a second of faint noise before it
    // and 1.2 s after it (white noise of the deviation NOISE over the whole stream too,
    // as a room's noise reaches the microphone), fed through the program's driver in the
    // sound device's blocks; what it hands the recogniser. Empty when it cut nothing.
    // OPTIONS go to lexora-cut ("-min 0": the voice set-up's noise slider at 0).
    static std::vector<float> Cut(const std::vector<float>& sound, float noise = 0,
                                  const std::string& options = "") {
        std::vector<float> stream(kRate, 0.0f);
        stream.insert(stream.end(), sound.begin(), sound.end());
        stream.resize(stream.size() + kRate * 12 / 10, 0.0f);
        std::mt19937 random(7);
        std::normal_distribution<float> faint(0.0f, 30.0f);
        for (float& x : stream)
            x += faint(random);
        if (noise > 0) AddNoise(stream, noise);
        WriteWav("stream.wav", stream);
        WriteFile("cut.lst", "stream.wav utterance.wav\n");
        std::string command = std::string(LEXORA_CUT) + " " + options + " cut.lst cut > cut.txt";
        if (std::system(command.c_str()) != 0 ||
            ReadFile("cut.txt").find(" cut ") == std::string::npos)
            return {};
        return ReadWav("cut/utterance.wav");
    }

    // The regression test's voice (m8 at speed 150 and pitch 50, which no training take
    // uses) saying TEXT, espeak-ng's silence around it cut off, then the sox EFFECTS.
    static std::vector<float> Say(const std::string& text, const std::string& effects = "") {
        std::string command = "espeak-ng -v hu+m8 -s 150 -p 50 -w said.wav '" + text +
                              "' && sox -q said.wav -r 22050 -b 16 -c 1 speech.wav "
                              "silence 1 0.005 0.3% reverse silence 1 0.005 0.3% reverse " +
                              effects;
        if (std::system(command.c_str()) != 0) return {};
        return ReadWav("speech.wav");
    }

    static float Rms(const std::vector<float>& sound) {
        double sum = 0;
        for (float x : sound)
            sum += static_cast<double>(x) * x;
        return sound.empty() ? 0.0f : static_cast<float>(std::sqrt(sum / sound.size()));
    }

    // White noise of the deviation LEVEL over the whole of SAMPLES.
    static void AddNoise(std::vector<float>& samples, float level) {
        std::mt19937 random(11);
        std::normal_distribution<float> noise(0.0f, level);
        for (float& x : samples)
            x = std::clamp(x + noise(random), -32768.0f, 32767.0f);
    }
};

TEST_F(Recogniser, BuildsTheObjectsTheProgramDrives) {
    for (const char* path : {"mod.wfi", "mod_sb.wfi", "mod_classic.wfi"})
        EXPECT_NE(Buffer(path), nullptr) << path;
    for (const char* path : {"mod.anne", "mod_classic.e1"}) {
        auto* e = QueryInterface<Evaluator>(Get(path), "Evaluator");
        ASSERT_NE(e, nullptr) << path;
        e->Release();
    }
    auto* te = QueryInterface<Hypothesis>(Get("mod_classic.te"), "Hypothesis");
    ASSERT_NE(te, nullptr);
    te->Release();
}

TEST_F(Recogniser, SaysTheLetterOfSyntheticSpeech) {
    if (!Have("espeak-ng") || !Have("sox")) GTEST_SKIP() << "espeak-ng or sox is missing";
    for (const auto& c : kLetters) {
        SCOPED_TRACE(c.name);
        std::vector<float> speech = Say(c.name);
        ASSERT_GT(speech.size(), 2000u);
        EXPECT_EQ(Recognise(Cut(speech)), c.symbol);
    }
}

// The same voice in the rooms a child practises in: most letters must still be right,
// at least the share the recogniser reaches on its own held-out voices in that room
// (bench/RECOGNISER.md), rounded down; in white noise 20 dB under the voice this voice
// gets two fewer (ká, ely, en, vé go wrong), which the bound admits. The recogniser
// before the room conditions were trained got 7 of 24 in the stronger noise and 17
// quietly.
TEST_F(Recogniser, SaysMostLettersInARoom) {
    if (!Have("espeak-ng") || !Have("sox")) GTEST_SKIP() << "espeak-ng or sox is missing";
    const struct {
        const char* what;
        const char* effects;  // sox effects on the word
        float noiseDb;        // white noise this many dB under the voice; 0: none
        int least;            // letters of 24 that must be right
        const char* cut = ""; // the driver's settings
    } rooms[] = {
        {"white noise 20 dB under the voice", "", 20, 20},
        {"white noise 10 dB under the voice", "", 10, 16},
        {"a reverberant room", "reverb 75 40 100 100 20", 0, 18},
        {"a child-like pitch", "pitch 500", 0, 17},
        // Under the default minimum level most of these start no utterance: for a quiet
        // child the therapist puts the voice set-up's noise slider down.
        {"a quiet voice, -20 dB, the noise slider at 0", "vol 0.1", 0, 19, "-min 0"},
    };
    for (const auto& room : rooms) {
        SCOPED_TRACE(room.what);
        int right = 0;
        std::string wrong;
        for (const auto& c : kLetters) {
            std::vector<float> speech = Say(c.name, room.effects);
            ASSERT_GT(speech.size(), 2000u);
            float noise = room.noiseDb > 0 ? Rms(speech) * std::pow(10.0f, -room.noiseDb / 20) : 0;
            char said = Recognise(Cut(speech, noise, room.cut));
            if (said == c.symbol)
                ++right;
            else
                wrong += std::string(" ") + c.name + "->" + (said ? std::string(1, said) : "none");
        }
        EXPECT_GE(right, room.least) << "wrong:" << wrong;
    }
}

// Hungarian speech that is no letter name: words, syllables and vowels said alone
// (some the recogniser was trained to reject in other voices, some it never heard).
// Fewer than one in four may give a letter, as on the held-out voices (one in ten is
// the aim); the recogniser before the words were trained gave 14 of these 18 a letter.
TEST_F(Recogniser, GivesNoLetterForOtherSpeech) {
    if (!Have("espeak-ng") || !Have("sox")) GTEST_SKIP() << "espeak-ng or sox is missing";
    const char* words[] = {"\xc3\xa9s", "ez",       "nem", "nap",  "igen", "alma",
                           "e",         "\xc3\xbc", "a",   "o",    "itt",  "k\xc3\xa9k",
                           "labda",     "ko",       "mu",  "cica", "tej",  "hol"};
    int letters = 0;
    std::string given;
    for (const char* word : words) {
        std::vector<float> speech = Say(word);
        ASSERT_GT(speech.size(), 1000u) << word;
        char said = Recognise(Cut(speech));
        if (said) {
            ++letters;
            given += std::string(" ") + word + "->" + said;
        }
    }
    EXPECT_LT(letters * 4, static_cast<int>(std::size(words))) << "letters given:" << given;
}

// The driver hands mod.wfi the newest 512 samples at every tick: a tick is about 551
// samples of sound, and the capture device delivers 2048 at a time, so a block is
// often the one before again or lies well after it. The scores must be those of the
// block alone, never of a frame made of the previous block's end and this one's start.
TEST_F(Recogniser, ScoresTheNewestBlockAlone) {
    std::mt19937 random(5);
    std::normal_distribution<float> normal(0.0f, 3000.0f);
    std::vector<float> noise(512), tone(512), quiet(512, 0.0f);
    for (size_t i = 0; i < 512; ++i) {
        noise[i] = normal(random);
        tone[i] = static_cast<float>(8000 * std::sin(2 * M_PI * 700 * i / kRate));
    }
    const struct {
        const char* what;
        const std::vector<float>& before;
        const std::vector<float>& block;
    } cases[] = {
        {"a tone after noise", noise, tone},
        {"noise after a tone", tone, noise},
        {"a tone after quiet", quiet, tone},
        {"the same tone again", tone, tone},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScoreBlock(quiet);
        std::vector<float> alone = ScoreBlock(c.block);
        ScoreBlock(c.before);
        std::vector<float> after = ScoreBlock(c.block);
        ASSERT_EQ(alone.size(), 20u);
        for (size_t k = 1; k < alone.size(); ++k)
            EXPECT_FLOAT_EQ(after[k], alone[k]) << "class " << k;
    }
}

// Held therapy sounds and vowels of the regression test's voice (m8, a voice no
// training take uses, espeak-ng's phonemes stretched by sox), fed to mod.wfi as the
// driver feeds it: the newest 512 samples at every tick of 25 ms (about 551 samples).
// Most ticks' best of the classes 1 ... 18 must be the sound held, clean and, where
// given, in white noise 10 dB under it. The network trained without other vocal tracts
// heard this voice's held a, i and o right in no tick; its l and, in noise, its a, e
// and o are still heard wrong (bench/RECOGNISER.md), so they are not checked here.
TEST_F(Recogniser, ScoresHeldSoundsTickByTick) {
    if (!Have("espeak-ng") || !Have("sox")) GTEST_SKIP() << "espeak-ng or sox is missing";
    const struct {
        const char* phoneme;
        double tempo;
        int sound;  // class in the therapy letter order
        bool noisy; // also checked in noise
    } held[] = {
        {"S::", 0.3, 1, true},  {"s::", 0.3, 2, true},   {"z::", 0.3, 3, true},
        {"Z::", 0.3, 4, true},  {"A::", 0.3, 10, false}, {"E::", 0.3, 12, false},
        {"i::", 0.3, 14, true}, {"o::", 0.3, 15, false}, {"u::", 0.3, 17, true},
    };
    const struct {
        const char* what;
        float noiseDb; // white noise this many dB under the sound; 0: none
        int leastPercent;
    } rooms[] = {{"clean", 0, 80}, {"white noise 10 dB under the sound", 10, 60}};
    for (const auto& h : held) {
        std::string command = std::string("espeak-ng -v hu+m8 -s 150 -p 50 -w said.wav '[[") +
                              h.phoneme +
                              "]]' && sox -q said.wav -r 22050 -b 16 -c 1 held.wav silence 1 "
                              "0.005 0.3% reverse silence 1 0.005 0.3% reverse tempo -s " +
                              std::to_string(h.tempo) + " vol 0.7";
        ASSERT_EQ(std::system(command.c_str()), 0);
        const std::vector<float> clean = ReadWav("held.wav");
        ASSERT_GT(clean.size(), 8u * 512);
        for (const auto& room : rooms) {
            if (room.noiseDb > 0 && !h.noisy) continue;
            SCOPED_TRACE(std::string(h.phoneme) + ", " + room.what);
            std::vector<float> sound = clean;
            if (room.noiseDb > 0) AddNoise(sound, Rms(clean) * std::pow(10.0f, -room.noiseDb / 20));
            int right = 0, ticks = 0;
            std::string heard;
            // The ticks of the middle 80 % of the sound: its onset and fading end are
            // no held sound yet.
            for (double end = 0.1 * sound.size() + 512; end <= 0.9 * sound.size(); end += 551.25) {
                auto last = sound.begin() + static_cast<long>(end);
                std::vector<float> s = ScoreBlock({last - 512, last});
                ASSERT_EQ(s.size(), 20u);
                int best = 1;
                for (int k = 2; k <= 18; ++k)
                    if (s[k] > s[best]) best = k;
                right += best == h.sound;
                ++ticks;
                heard += " " + std::to_string(best);
            }
            EXPECT_GE(right * 100, room.leastPercent * ticks) << "classes heard:" << heard;
        }
    }
}

TEST_F(Recogniser, GivesNoLetterForNonSpeech) {
    std::mt19937 random(3);
    std::normal_distribution<float> normal(0.0f, 1.0f);
    // A sum of sines (frequencies in Hz, a glide to END times each) under ENVELOPE.
    auto sines = [](std::vector<double> hz, double seconds, double end,
                    double (*envelope)(double)) {
        std::vector<float> v(static_cast<size_t>(seconds * kRate));
        std::vector<double> phase(hz.size(), 0.0);
        for (size_t i = 0; i < v.size(); ++i) {
            double t = static_cast<double>(i) / v.size(), sum = 0;
            for (size_t k = 0; k < hz.size(); ++k) {
                phase[k] += 2 * M_PI * hz[k] * (1 + (end - 1) * t) / kRate;
                sum += std::sin(phase[k]);
            }
            v[i] = static_cast<float>(6000 / hz.size() * envelope(t) * sum);
        }
        return v;
    };
    auto steady = [](double) { return 1.0; };
    auto swell = [](double t) { return std::sin(M_PI * t); };
    auto decay = [](double t) { return std::exp(-4 * t); };
    auto tone = [&](double hz, double seconds) { return sines({hz}, seconds, 1, steady); };
    auto noise = [&](float level, double seconds) {
        std::vector<float> v(static_cast<size_t>(seconds * kRate));
        for (float& x : v)
            x = level * normal(random);
        return v;
    };
    // Breath: noise, dulled by a one-pole low-pass, swelling in and out.
    auto breath = [&](double seconds) {
        std::vector<float> v = noise(6000, seconds);
        float low = 0;
        for (size_t i = 0; i < v.size(); ++i) {
            low += 0.2f * (v[i] - low);
            v[i] = low * static_cast<float>(swell(static_cast<double>(i) / v.size()));
        }
        return v;
    };
    // A cough: 40 ms of a voiced buzz, then a burst of noise that dies away.
    auto cough = [&]() {
        std::vector<float> v(static_cast<size_t>(0.04 * kRate));
        for (size_t i = 0; i < v.size(); ++i)
            v[i] = static_cast<float>(3000 * (std::fmod(180.0 * i / kRate, 1.0) * 2 - 1));
        std::vector<float> burst = noise(8000, 0.2);
        for (size_t i = 0; i < burst.size(); ++i)
            burst[i] *= static_cast<float>(decay(static_cast<double>(i) / burst.size()));
        v.insert(v.end(), burst.begin(), burst.end());
        return v;
    };
    // The cough is a known gap of the network (heard as "ef", bench/RECOGNISER.md): it
    // may give a letter, nothing else may.
    const struct {
        const char* what;
        std::vector<float> sound;
        bool knownGap = false;
    } cases[] = {
        {"a tone", tone(1000, 0.6)},
        {"a low hum", tone(120, 0.8)},
        {"loud noise", noise(4000, 0.5)},
        {"silence", noise(0, 0.5)},
        {"a tap", noise(9000, 0.03)},
        {"breath", breath(0.7)},
        {"a cough", cough(), true},
        {"a whistle gliding up", sines({1200}, 0.5, 1.5, swell)},
        {"a chord dying away", sines({262, 330, 392}, 0.9, 1, decay)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        char said = Recognise(Cut(c.sound));
        if (c.knownGap) continue;
        EXPECT_EQ(said, 0);
    }
}
} // namespace
