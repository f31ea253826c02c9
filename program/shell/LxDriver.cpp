// The recognition driver (see LxDriver.h): the sound messages, the timer kept by the
// main loop, the tick and the letter overlay.
//
// A tick, in order: copy new capture bytes into the recording (recording) or check for
// the end (playback); pick the analysis position (the newest 1024 bytes, or the play
// position); feed 512 samples to the engine; read the class scores (one evaluator, an
// evaluator chosen by a short vote, or a weighted mixture of several); smooth them over
// nSmooth frames into the histories; measure level, pitch and voicing; tell the screen;
// then follow the utterance (2 waiting, 3 inside, 4 ended) and recognise it (5). The
// utterance's start and end are judged against the room's background, measured on all
// the new sound of the tick rather than on the analysed block alone (see Background).
//
// Every index into the fixed rings and histories is kept in range whatever a screen
// sets (nSmooth, nHistoryLen) or an evaluator answers (its count), and an engine
// exception ends the tick it happened in, with both busy flags cleared.
#include "shell/LxDriver.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "Evaluator.h"
#include "Exceptions.h"
#include "Hypothesis.h"
#include "SoundBuffer.h"
#include "media/LxRLEFonts.h"
#include "media/LxSoundBuffer.h"
#include "media/LxSurface.h"
#include "reading/LxLetters.h"
#include "shell/LxClock.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxEngineBinding.h"
#include "shell/LxPitch.h"
#include "shell/LxProgram.h"

unsigned char bBusy = 0;
unsigned char bRecognising = 0;
float aFrameRing[8][32] = {};
float aPhonemeRing[8][16] = {};
int nFrame = 0;
unsigned char aLetterTable[24] = {};
int nCaptureRead = 0;
int nRecordWrite = 0;
int nRecorded = 0;
int nUtteranceBegin = 0, nUtteranceBeginCopy = 0, nUtteranceEnd = 0;
int bDriverOff = 0;
LxDriverHooks g_DriverHooks;

namespace {

constexpr int kBlockSamples = 512;
constexpr int kBlockBytes = kBlockSamples * 2;
constexpr int kRate = 22050;
constexpr int kPreRoll = 5512;           // bytes kept before the voice's onset (125 ms)
constexpr int kQuietMs = 444;            // quiet that ends an utterance
constexpr int kShortestUtterance = 6000; // bytes; shorter ones are not recognised
constexpr int kMaxClasses = 31;          // score vectors hold classes 1 to 31
constexpr int kSmoothedClasses = 19;
constexpr int kTherapySounds = 9; // classes 1 to 9
constexpr int kVoteFrames = 4;
const char kConsonantSymbols[] = "bcCdfgGhjklLmnNprsStTvzZ";
const char* const kConsonantLetters[24] = {"b", "c", "cs", "d",  "f",  "g", "gy", "h",
                                           "j", "k", "l",  "ly", "m",  "n", "ny", "p",
                                           "r", "s", "sz", "t",  "ty", "v", "z",  "zs"};

// The background, measured on every new sample while recording or playing back. The new
// samples are cut into steps of 128, and two levels (on the block's scale) slide over them
// in those steps: the short level of the newest 512 samples, the measure the voice set-up
// screen shows against the user's minimum, and the long level of the newest 2048 samples,
// which swings far less in pink or brown noise or a room's echo than 512 samples do.
//
// The noise floor follows the long level down fast and up slowly (3 dB a second), so it
// settles on the room's steady noise and hardly moves during a word, yet a lasting loud
// sound lifts it until it no longer counts as voice. Voice is there while the short level
// is over the user's minimum and the long level is 6 dB over the floor; it has stopped
// once either falls under its mark, the long level's being 3 dB over the floor or, where
// the background itself swings more, the swing the long level was last seen to make over
// the floor while nobody spoke (at most the 6 dB of voice). A long level 20 dB under the
// utterance's loudest short level is the room's echo dying away, not voice. In a quiet
// room the floor's marks lie far under the minimum, so the minimum alone decides, as the
// screen shows it.
constexpr int kStepSamples = 128;
constexpr int kStepBytes = kStepSamples * 2;
constexpr int kShortSteps = kBlockSamples / kStepSamples;
constexpr int kLongSteps = 16;          // 2048 samples, 93 ms
constexpr int kLongestScan = 44100;     // bytes: at most a second of new sound per tick
constexpr float kStartOverFloor = 4;    // 6 dB
constexpr float kEndOverFloor = 2;      // 3 dB
constexpr float kFloorFall = 0.25f;     // share of the way down per step
constexpr int kSettleSteps = 43;        // 250 ms in which the floor is the quietest level
constexpr float kFloorRise = 1.0040f;   // per step: 10^(0.3 * 128 / 22050), 3 dB a second
constexpr float kEchoUnderPeak = 100;   // 20 dB: a room's echo of the word, no more voice
constexpr float kSwingFall = 0.9990f;   // per step: the remembered swing fades, 0.75 dB a second
constexpr float kQuietestFloor = 1e-6f; // the floor rises from here after digital silence

struct Background {
    float fFloor;             // -1 until a level was measured
    float fSwing;             // the long level's recent swing over the floor, a ratio
    float aStep[kLongSteps];  // levels of the newest steps, oldest first
    int aStepPos[kLongSteps]; // their positions in the recording
    int nSteps;               // how many of them belong to the current run
    int nScanned;             // recording position measured up to; -1: none
    float fLong;              // the long level at the newest step
    float fPeakShort;         // the loudest levels since the last onset
    float fPeakLong;
    int nMeasured; // levels measured in this run
};
constexpr Background kUnmeasured = {-1, kEndOverFloor, {}, {}, 0, -1, 0, 0, 0, 0};
Background s_bg = kUnmeasured;

// The timer.
bool s_bRunning = false;
int s_nMessage = 0;
int s_nNext = 0; // clock of the next tick
int s_nPeriod = 25;
int s_nLastId = 0;

int HistoryLen() {
    return std::clamp(g_Driver.nHistoryLen, 1, kHistoryMax);
}
int SmoothFrames() {
    return std::clamp(g_Driver.nSmooth, 0, 8);
}
int RingRow(int back) {
    return static_cast<int>(static_cast<unsigned>(nFrame - back) & 7u);
}

uint8_t* BufferBytes(CBSoundBuffer* buffer) {
    if (!buffer) return nullptr;
    void *region1, *region2;
    unsigned len1, len2;
    if (buffer->Lock(0, 0, &region1, &len1, &region2, &len2, CBSoundBuffer::kLockAll))
        return nullptr;
    return static_cast<uint8_t*>(region1);
}

int Size(CBSoundBuffer* buffer) {
    return buffer ? static_cast<int>(buffer->GetSize()) : 0;
}

int16_t SampleAt(const uint8_t* bytes, int pos) {
    return static_cast<int16_t>(bytes[pos] | bytes[pos + 1] << 8);
}

void AdvanceWrite() {
    int len = HistoryLen();
    g_Driver.nWrite = (std::max(g_Driver.nWrite, 0) + 1) % len;
}

void ClearHistories() {
    int len = HistoryLen();
    for (float* row : g_Driver.aHistory)
        std::fill(row, row + len, 0.0f);
}

void TellScreen(int timerId, int message) {
    if (!g_pActiveScreen) return;
    if (g_DriverHooks.pfnTimerEvent) g_DriverHooks.pfnTimerEvent(timerId, message);
    DrawLetterOverlay(g_pDrawSurface);
}

void RedrawScreen() {
    if (g_pActiveScreen && g_DriverHooks.pfnRedraw) g_DriverHooks.pfnRedraw();
}

void StopSound() {
    if (g_pRecording) g_pRecording->Stop();
    if (g_pCaptureRing) g_pCaptureRing->Stop();
}

// A new run measures its own background from where it starts in the recording.
void ResetRun(int scanFrom) {
    g_Driver.nWrite = 0;
    g_Driver.nBestClass = -1;
    s_bg = kUnmeasured;
    s_bg.nScanned = scanFrom;
}

// Whether 1087 paused playback (and the next one resumes it).
bool bPlaybackPaused = false;

// 1086. The ring restarts at 0 and is read from 0 before the first tick can run, so no
// sound of an earlier recording reaches this one. The last recording's length is
// forgotten, so a take that captures nothing is empty rather than the previous one.
void StartRecording() {
    ResetRun(0);
    bPlaybackPaused = false;
    nRecorded = 0;
    if (g_pActiveScreen && g_DriverHooks.pfnStopSounds) g_DriverHooks.pfnStopSounds();
    StopSound();
    DriverPauseTimer();
    ClearHistories();
    nRecordWrite = 0;
    nCaptureRead = 0;
    if (g_pCaptureRing) {
        g_pCaptureRing->SetPosition(0);
        g_pCaptureRing->StartRecord(true);
    }
    DriverStartTimer(kMsgRecord);
    RedrawScreen();
}

void PlayRecording() {
    if (!g_pRecording) return;
    g_pRecording->SetPosition(0);
    g_pRecording->StartPlay(false);
}

// 1085.
void StartPlayBack() {
    ResetRun(-1);
    bPlaybackPaused = false;
    DriverPauseTimer();
    ClearHistories();
    DriverStartTimer(kMsgPlayBack);
    StopSound();
    PlayRecording();
    RedrawScreen();
}

// 1087. The state is kept here rather than read from the player: the button's own click
// sound takes the output device before this message arrives, so the recording no longer
// plays when it is paused. Resuming plays on from where playback stood.
void PauseOrResume() {
    if (!g_pRecording) return;
    if (!bPlaybackPaused) {
        bPlaybackPaused = true;
        DriverPauseTimer();
        g_pRecording->Stop();
        return;
    }
    bPlaybackPaused = false;
    DriverStartTimer(kMsgPlayBack);
    unsigned played = 0;
    g_pRecording->GetPositions(&played, nullptr);
    if (played > 0 && played < g_pRecording->GetSize())
        g_pRecording->ContinuePlay();
    else
        PlayRecording();
}

// Recording: the bytes the capture ring gained since the last tick go to the recording.
// At the recording's end only the recording restarts: the ring keeps its own position.
void MoveCapturedSound() {
    const uint8_t* ring = BufferBytes(g_pCaptureRing);
    uint8_t* recording = BufferBytes(g_pRecording);
    int ringSize = Size(g_pCaptureRing), recordingSize = Size(g_pRecording);
    if (!ring || !recording) return;
    if (nCaptureRead < 0 || nCaptureRead >= ringSize) nCaptureRead = 0;
    if (nRecordWrite < 0 || nRecordWrite >= recordingSize) nRecordWrite = 0;
    unsigned writePos;
    g_pCaptureRing->GetPositions(nullptr, &writePos);
    int w = static_cast<int>(std::min<unsigned>(writePos, unsigned(ringSize)));
    if (w < nCaptureRead) w += ringSize;
    int n = std::min(w - nCaptureRead, recordingSize - nRecordWrite);
    if (n <= 0) return;
    int first = std::min(n, ringSize - nCaptureRead);
    std::memcpy(recording + nRecordWrite, ring + nCaptureRead, first);
    std::memcpy(recording + nRecordWrite + first, ring, n - first);
    nCaptureRead += n;
    if (nCaptureRead >= ringSize) nCaptureRead -= ringSize;
    nRecordWrite += n;
    nRecorded = nRecordWrite;
    if (nRecordWrite >= recordingSize) nRecordWrite = 0;
}

// Copies len bytes of the recording from begin as float samples; an utterance that runs
// over the end of the recording goes on at its start.
void CopyUtterance(const uint8_t* recording, int size, int begin, int len, float* out) {
    for (int i = 0; i + 1 < len; i += 2) {
        int low = (begin + i) % size, high = (begin + i + 1) % size;
        out[i / 2] = static_cast<int16_t>(recording[low] | recording[high] << 8);
    }
}

// The engine buffer that takes the block: usable only when it can hold it.
LxEngineRef<SoundBuffer> BlockBuffer(const char* name) {
    LxEngineRef<SoundBuffer> buffer = EngineGet<SoundBuffer>(name, "SoundBuffer");
    if (buffer && (!buffer->data || buffer->capacity < kBlockSamples)) buffer.Reset();
    return buffer;
}

LxEngineRef<Evaluator> NamedEvaluator(int n) {
    char name[32];
    std::snprintf(name, sizeof name, "mod.anne%d", n);
    return EngineGet<Evaluator>(name, "Evaluator");
}

// Copies classes 1 .. count - 1 (at most 31) of an evaluation into score.
void TakeScores(Evaluator* evaluator, float* score) {
    const float* s = evaluator->Evaluate(0, 0);
    int last = std::min(evaluator->count - 1, kMaxClasses);
    for (int k = 1; s && k <= last; k++)
        score[k] = s[k];
}

// Evaluator selection: the class with the largest normalised score summed over the last
// frames (this one included); ties keep the first.
int VoteClass(Evaluator* evaluator) {
    float* row = aPhonemeRing[RingRow(0)];
    std::fill(row, row + 16, 0.0f);
    const float* s = evaluator->Evaluate(0, 0);
    int last = std::min(evaluator->count - 1, 15);
    if (!s) return 1;
    float sum = 0;
    for (int k = 1; k <= last; k++)
        sum += s[k];
    for (int k = 1; k <= last; k++)
        row[k] = sum != 0 ? s[k] / sum : s[k];
    int frames = std::min(nFrame, kVoteFrames), best = 1;
    float bestSum = -1;
    for (int k = 1; k <= last; k++) {
        float total = 0;
        for (int back = 0; back < frames; back++)
            total += aPhonemeRing[RingRow(back)][k];
        if (total > bestSum) {
            bestSum = total;
            best = k;
        }
    }
    return best;
}

// The class scores into score[1..31]; false when there are none. Advances the
// history write index in every case.
bool ClassScores(LxEngineRef<Evaluator> evaluator, float* score) {
    // The count, truncated; NaN or a value too large for an int never reaches the cast.
    double count = evaluator ? EngineNumber("mod.annen", 0) : 0;
    int n = count >= 64 ? 64 : count > 0 ? static_cast<int>(count) : 0;
    if (n > 1) {
        float weight[kMaxClasses + 1] = {};
        int outputs = std::min(evaluator->count, kMaxClasses + 1);
        if (const float* w = evaluator->Evaluate(0, 1))
            std::copy(w, w + std::max(outputs, 0), weight);
        evaluator.Reset();
        AdvanceWrite();
        for (int j = 1; j < std::min(n + 1, outputs); j++) {
            LxEngineRef<Evaluator> e = NamedEvaluator(j);
            if (!e) continue;
            const float* s = e->Evaluate(0, 0);
            int last = std::min(e->count - 1, kMaxClasses);
            for (int k = 1; s && k <= last; k++)
                score[k] += weight[j] * s[k];
        }
        return true;
    }
    if (evaluator && evaluator->count < 9) {
        int k = VoteClass(evaluator.Get());
        evaluator = NamedEvaluator(k);
    }
    AdvanceWrite();
    if (!evaluator) return false;
    TakeScores(evaluator.Get(), score);
    return true;
}

// The best class is one of the letters of the therapy letter order (after its first,
// which is no letter): the nine therapy sounds and the vowels after them. Without an
// order, one of the nine sounds.
int BestOfClasses() {
    int letters = int(std::strlen(reinterpret_cast<const char*>(TherapyOrder()))) - 1;
    return letters > 0 ? std::min(letters, kSmoothedClasses) : kTherapySounds;
}

// The smoothed class histories and the best class.
void SmoothScores(const float* score) {
    int frames = std::min(nFrame, SmoothFrames());
    float* row = aFrameRing[RingRow(0)];
    float total[kSmoothedClasses + 1] = {};
    for (int k = 1; k <= kSmoothedClasses; k++) {
        row[k - 1] = score[k];
        for (int back = 0; back < frames; back++)
            total[k] += aFrameRing[RingRow(back)][k - 1];
        g_Driver.aHistory[k][g_Driver.nWrite] = frames ? total[k] / frames : 0.0f;
    }
    int best = 1;
    float bestTotal = -1;
    for (int k = 1, last = BestOfClasses(); k <= last; k++) {
        if (total[k] > bestTotal) {
            bestTotal = total[k];
            best = k;
        }
    }
    if (best != g_Driver.nBestClass) {
        g_Driver.nBestClass = best;
        g_Driver.nBestClock = LxClock();
    }
}

float RingMean(int column, int frames) {
    if (frames == 0) return 0;
    float sum = 0;
    for (int back = 0; back < frames; back++)
        sum += aFrameRing[RingRow(back)][column];
    return sum / frames;
}

// Level, pitch and voicing of the block (all 0 without one); the level.
float Measure(float* x) {
    double energy = 0;
    float pitch = 0, voicing = 0;
    if (x) {
        double squares = 0, sum = 0;
        for (int i = 0; i < kBlockSamples; i++) {
            squares += double(x[i]) * x[i];
            sum += x[i];
        }
        energy = (squares - sum) / kBlockSamples;
        pitch = PitchEstimate(x, kBlockSamples, 50, 800, &voicing);
    }
    float* row = aFrameRing[RingRow(0)];
    int w = g_Driver.nWrite;
    const float scale = 1.0f / (1 << 30);
    row[kRingPitch] = x ? (500 - pitch) / 500 : 0.0f;
    row[kRingLevel] = static_cast<float>(energy * scale * 8);
    float level;
    if (g_Driver.nState == kDriverWaiting || g_Driver.nState == kDriverUtterance) {
        level = static_cast<float>(energy * scale * 16);
    } else {
        int frames = std::min(nFrame, SmoothFrames());
        level = RingMean(kRingLevel, frames);
        g_Driver.aHistory[kRowPitch][w] = RingMean(kRingPitch, frames);
    }
    g_Driver.aHistory[kRowLevel][w] = level;
    g_Driver.aHistory[kRowSilence][w] = g_Driver.fMinLevel > level ? 1.0f : 0.0f;
    g_Driver.aHistory[kRowVoicing][w] = voicing * 10;
    nFrame++;
    return level;
}

// Whether the levels stand out as voice over the background as it is known now (before
// the floor is measured, the minimum alone decides).
bool StartsVoice(float shortLevel, float longLevel) {
    return shortLevel > g_Driver.fMinLevel && longLevel > s_bg.fFloor * kStartOverFloor;
}
bool KeepsVoice(float shortLevel, float longLevel) {
    float mark = std::clamp(s_bg.fSwing, kEndOverFloor, kStartOverFloor);
    return shortLevel >= g_Driver.fMinLevel && longLevel >= s_bg.fFloor * mark &&
           longLevel * kEchoUnderPeak >= s_bg.fPeakShort;
}

// The level of one step on the block's scale.
float StepLevel(const uint8_t* recording, int pos) {
    double squares = 0, sum = 0;
    for (int i = 0; i < kStepSamples; i++) {
        double x = SampleAt(recording, pos + 2 * i);
        squares += x * x;
        sum += x;
    }
    return static_cast<float>((squares - sum) / kStepSamples / (1 << 30) * 16);
}

float MeanOfNewest(int steps) {
    steps = std::min(steps, s_bg.nSteps);
    float sum = 0;
    for (int i = kLongSteps - steps; i < kLongSteps; i++)
        sum += s_bg.aStep[i];
    return sum / steps;
}

// Where the voice that was just heard began: the first of the run of loud steps that
// ends at the newest loud one. A step is loud 3 dB over the floor: a word's first sounds
// (a breathy h, the hiss before a k's burst) are weaker than the mark that tells voice,
// in noise and under the user's minimum in a quiet room alike.
int OnsetPosition() {
    float mark = std::max(s_bg.fFloor, kQuietestFloor) * kEndOverFloor;
    int oldest = kLongSteps - s_bg.nSteps, last = kLongSteps - 1;
    while (last > oldest && s_bg.aStep[last] <= mark)
        last--;
    int first = last;
    while (first > oldest && s_bg.aStep[first - 1] > mark)
        first--;
    return s_bg.aStepPos[first];
}

// The floor follows the long level; while nobody speaks, the swing over it is remembered,
// and so is every swing while the floor settles, when voice and noise are not yet told
// apart (an utterance opened then on a swell of noise must still end in that noise).
void FollowFloor(float level, bool speaking) {
    bool settling = s_bg.nMeasured < kSettleSteps;
    if (s_bg.fFloor < 0) {
        s_bg.fFloor = level;
    } else if (level < s_bg.fFloor) {
        s_bg.fFloor += (level - s_bg.fFloor) * (settling ? 1 : kFloorFall);
    } else {
        s_bg.fFloor = std::min(level, std::max(s_bg.fFloor, kQuietestFloor) * kFloorRise);
    }
    s_bg.fSwing *= kSwingFall;
    if ((settling || !speaking) && s_bg.fFloor > 0)
        s_bg.fSwing = std::max(s_bg.fSwing, level / s_bg.fFloor);
}

// Measures the steps that arrived up to end (the end of the analysed block) and follows
// the noise floor over them. Returns the position of the first step of voice, or -1.
// Playback and a recording that went round its end start again from the block.
int ScanNewSound(const uint8_t* recording, int end) {
    int from = s_bg.nScanned;
    if (from < 0 || from > end || end - from > kLongestScan) {
        from = end - kBlockBytes;
        s_bg.nSteps = 0;
    }
    int onset = -1;
    for (; from + kStepBytes <= end; from += kStepBytes) {
        std::copy(s_bg.aStep + 1, s_bg.aStep + kLongSteps, s_bg.aStep);
        std::copy(s_bg.aStepPos + 1, s_bg.aStepPos + kLongSteps, s_bg.aStepPos);
        s_bg.aStep[kLongSteps - 1] = StepLevel(recording, from);
        s_bg.aStepPos[kLongSteps - 1] = from;
        s_bg.nSteps = std::min(s_bg.nSteps + 1, kLongSteps);
        if (s_bg.nSteps < kShortSteps) continue;
        s_bg.nMeasured++;
        float shortLevel = MeanOfNewest(kShortSteps);
        s_bg.fLong = MeanOfNewest(kLongSteps);
        bool voice = StartsVoice(shortLevel, s_bg.fLong);
        if (onset < 0 && voice && g_Driver.nState == kDriverWaiting) {
            s_bg.fPeakShort = shortLevel;
            s_bg.fPeakLong = s_bg.fLong;
            onset = OnsetPosition();
        }
        s_bg.fPeakShort = std::max(s_bg.fPeakShort, shortLevel);
        s_bg.fPeakLong = std::max(s_bg.fPeakLong, s_bg.fLong);
        FollowFloor(s_bg.fLong, voice || g_Driver.nState == kDriverUtterance);
    }
    s_bg.nScanned = from;
    return onset;
}

// Waiting for voice, and the end of the utterance after a quiet spell. The utterance
// begins 125 ms before the onset found in the new sound, wherever the capture blocks
// fall; it ends after kQuietMs in which the analysed block's level (the newest 512
// samples) and the long level no longer keep voice, counted from the onset at the
// earliest (the tick that found the onset may already be quiet again: a short first
// sound must not end the word it begins). One that never stood out
// from the background as it is known by then (steady noise heard before the floor was
// measured, or a lasting sound the floor rose to) is dropped, and the driver waits for
// voice again.
void FollowUtterance(int p, float level, int onset) {
    if (g_Driver.nState == kDriverWaiting) {
        std::printf("Wait: %d %f\n", p, level);
        if (onset >= 0) {
            int begin = std::max(onset - kPreRoll, 0);
            nUtteranceBegin = nUtteranceBeginCopy = begin;
            nUtteranceEnd = -1;
            g_Driver.nState = kDriverUtterance;
            g_Driver.nBestClock = LxClock();
            std::printf("ProcessBegin: %d\n", begin);
        }
    } else if (g_Driver.nState == kDriverUtterance) {
        bool loud = KeepsVoice(level, s_bg.fLong);
        if (!loud && LxClock() - g_Driver.nBestClock > kQuietMs) {
            bool stoodOut = StartsVoice(s_bg.fPeakShort, s_bg.fPeakLong);
            g_Driver.nState = stoodOut ? kDriverEnded : kDriverWaiting;
            nUtteranceEnd = p;
        }
        if (loud) g_Driver.nBestClock = LxClock();
    }
}

// The recognised letter: the first character of the result, as one of the consonant
// symbols; anything else (a vowel, noise) shows no letter.
void TakeResult() {
    LxEngineRef<Hypothesis> result = EngineGet<Hypothesis>("mod_classic.te", "Hypothesis");
    if (!result || !result->node || !result->node->letters || !result->node->letters[0]) return;
    char symbol = static_cast<char>(result->node->letters[0]);
    const char* found = symbol ? std::strchr(kConsonantSymbols, symbol) : nullptr;
    g_Driver.aLetters[0] = found ? aLetterTable[found - kConsonantSymbols] : 0;
}

// The whole utterance, copied in two parts when it runs over the end of the
// recording, through the engine's whole-utterance recogniser.
void RecogniseUtterance() {
    LxEngineRef<SoundBuffer> buffer = EngineGet<SoundBuffer>("mod_classic.wfi", "SoundBuffer");
    const uint8_t* recording = BufferBytes(g_pRecording);
    int size = Size(g_pRecording);
    if (!buffer) return;
    int len = nUtteranceEnd - nUtteranceBegin;
    if (len < 0) len += size;
    len = std::min(len, std::max(buffer->capacity, 0));
    if (len > kShortestUtterance && recording && buffer->data && nUtteranceBegin >= 0 &&
        nUtteranceBegin < size) {
        bRecognising = 1;
        CopyUtterance(recording, size, nUtteranceBegin, len, buffer->data);
        buffer->length = len / 2;
        buffer->sps = kRate;
        buffer->complete = 1;
        EngineRun("mod_classic.start()");
        TakeResult();
        bRecognising = 0;
    }
    g_Driver.nState = kDriverRecognised;
}

void Tick(int timerId, int message) {
    if (message == kMsgRecord) MoveCapturedSound();
    int p;
    if (message == kMsgPlayBack) {
        unsigned read = 0;
        if (g_pRecording) g_pRecording->GetPositions(&read, nullptr);
        p = static_cast<int>(std::min<unsigned>(read, unsigned(Size(g_pRecording))));
        if (p >= nRecorded) {
            LxSendMessage(kMsgStop);
            if (g_pActiveScreen && g_DriverHooks.pfnTimerEvent)
                g_DriverHooks.pfnTimerEvent(0, kMsgStop);
        }
    } else {
        p = nRecordWrite - kBlockBytes;
    }
    // Nothing to analyse yet, or a block that would run past the recording.
    const uint8_t* recording = BufferBytes(g_pRecording);
    if (!recording || p < 0 || p + kBlockBytes > Size(g_pRecording)) return;

    bool perPhoneme = g_Driver.nState == kDriverPhonemes;
    LxEngineRef<SoundBuffer> buffer = BlockBuffer(perPhoneme ? "mod.wfi" : "mod_sb.wfi");
    LxEngineRef<Evaluator> evaluator;
    if (perPhoneme) {
        evaluator = EngineGet<Evaluator>("mod.anne", "Evaluator");
        EngineRun("mod.sp");
    }
    if (buffer) {
        for (int i = 0; i < kBlockSamples; i++)
            buffer->data[i] = SampleAt(recording, p + 2 * i);
        buffer->length = kBlockSamples;
        buffer->sps = kRate;
        buffer->complete = 0;
        if (perPhoneme) EngineRun("mod.start()");
    }

    float score[kMaxClasses + 1] = {};
    if (ClassScores(std::move(evaluator), score)) SmoothScores(score);
    float level = Measure(buffer ? buffer->data : nullptr);
    TellScreen(timerId, message);
    bBusy = 0;
    if (!buffer) return;

    FollowUtterance(p, level, ScanNewSound(recording, p + kBlockBytes));
    bool wasRecognising = bRecognising;
    if (!bRecognising && g_Driver.nState == kDriverEnded) {
        buffer.Reset();
        RecogniseUtterance();
    }
    if (!wasRecognising) TellScreen(timerId, message);
}

} // namespace

void DriverInit(Interface* root) {
    g_Driver = {};
    g_Driver.pRoot = root;
    g_Driver.nPeriod = 25;
    g_Driver.fMinLevel = 0.002f;
    g_Driver.fMaxLevel = 0.75f;
    g_Driver.nHistoryLen = 512;
    g_Driver.nSmooth = 4;
    bBusy = bRecognising = 0;
    bDriverOff = 0;
    nFrame = 0;
    std::memset(aFrameRing, 0, sizeof aFrameRing);
    std::memset(aPhonemeRing, 0, sizeof aPhonemeRing);
    nCaptureRead = nRecordWrite = nRecorded = 0;
    nUtteranceBegin = nUtteranceBeginCopy = nUtteranceEnd = 0;
    s_bg = kUnmeasured;
    for (int i = 0; i < 24; i++)
        aLetterTable[i] = DecodeLetter(kConsonantLetters[i]);
}

bool DriverMessage(UINT msg) {
    switch (msg) {
    case kMsgStop:
    case kMsgStopAndSave:
        bPlaybackPaused = false;
        StopSound();
        DriverStopTimer();
        return true;
    case kMsgPlayBack:
        StartPlayBack();
        return true;
    case kMsgRecord:
        StartRecording();
        return true;
    case kMsgPause:
        PauseOrResume();
        return true;
    default:
        return false;
    }
}

void DriverStartTimer(int message) {
    s_nMessage = message;
    s_nPeriod = std::max(g_Driver.nPeriod, 1);
    s_nNext = LxClock() + s_nPeriod;
    s_bRunning = true;
    if (++s_nLastId <= 0) s_nLastId = 1;
    g_nDriverTimer = s_nLastId;
}

void DriverPauseTimer() {
    s_bRunning = false;
}

void DriverStopTimer() {
    s_bRunning = false;
    g_nDriverTimer = 0;
}

bool DriverTimerRunning() {
    return s_bRunning;
}

UINT DriverRecorderState() {
    return g_nDriverTimer != 0 ? UINT(s_nMessage) : 0;
}

int DriverPoll(int nowMs) {
    if (!s_bRunning) return -1;
    if (nowMs - s_nNext < 0) return s_nNext - nowMs;
    s_nNext += s_nPeriod;
    if (nowMs - s_nNext >= 0) s_nNext = nowMs + s_nPeriod; // late: skip the missed ones
    DriverTick(g_nDriverTimer, s_nMessage);
    if (!s_bRunning) return -1;
    return std::max(s_nNext - nowMs, 0);
}

// The whole tick holds the engine's lock: it writes engine buffers, reads evaluators and
// releases what it took between the scripts it runs.
void DriverTick(int timerId, int message) {
    if (bBusy || bDriverOff) return;
    bBusy = 1;
    LxEngineHold hold;
    try {
        Tick(timerId, message);
    } catch (Exception* e) {
        std::fprintf(stderr, "lexora: driver tick ended by engine exception %d\n", e->code);
        delete e;
        bRecognising = 0;
    }
    bBusy = 0;
}

void DrawLetterOverlay(CLxSurface* surface) {
    CLxRLEFonts* fonts[2] = {g_Driver.pOverlayFont, g_Driver.pOverlayFont2};
    const int* colours[2] = {g_Driver.aColors, g_Driver.aColors2};
    if (!fonts[0] || !surface || g_Driver.nState == kDriverRecognised) return;
    for (int i = 0; i < 32 && g_Driver.aLetters[i]; i++) {
        const RECT& box = g_Driver.aRects[i];
        for (int f = 0; f < 2; f++) {
            const CLxRLEBitmap* glyph = fonts[f] ? fonts[f]->Glyph(g_Driver.aLetters[i]) : nullptr;
            if (!glyph) continue;
            int x = (box.left + box.right - glyph->m_nWidth) / 2;
            int y = (box.top + box.bottom - glyph->m_nHeight) / 2;
            glyph->Draw(surface, x, y, static_cast<uint32_t>(colours[f][i]));
        }
    }
}
