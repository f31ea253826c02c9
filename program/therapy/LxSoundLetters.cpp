// The therapy screens' lit letters; see LxSoundLetters.h.
#include "therapy/LxSoundLetters.h"

#include <cstring>

#include "reading/LxCourse.h"
#include "reading/LxLetters.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxSettings.h"
#include "shell/LxUserRecords.h"
#include "therapy/LxTasks.h"

namespace {
constexpr int kBoxWidth = 67, kBoxHeight = 89;
constexpr POINT kNineCorners[kNineLetters] = {{92, 178},  {160, 268}, {228, 358},
                                              {296, 448}, {364, 358}, {432, 268},
                                              {500, 178}, {296, 268}, {296, 178}};
constexpr int kNineScale = 239;

float Score(int row) {
    return g_Driver.aHistory[row][g_Driver.nWrite];
}

bool LoudEnough(float factor) {
    return Score(kRowLevel) > g_Driver.fMinLevel * factor;
}

int WithWeight(uint32_t colour, int weight) {
    return int((colour & 0xFFFFFF) | uint32_t(weight) << 24);
}

uint32_t Blend(uint32_t colour, float f) {
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        float c = float(colour >> shift & 0xFF), y = float(kOutlineYellow >> shift & 0xFF);
        out |= uint32_t(f * c + (1 - f) * y) << shift;
    }
    return out;
}
} // namespace

float TaskLevel(int task) {
    return float(g_aTaskValues[task] & kTaskValueMask) / 100.0f;
}

RECT NineLetterBox(int slot) {
    POINT p = kNineCorners[slot];
    return RECT{p.x, p.y, p.x + kBoxWidth, p.y + kBoxHeight};
}

void FillNineLetters() {
    const char* day = reinterpret_cast<const char*>(g_Driver.aScreenLetters);
    for (int i = 0; i < kNineLetters; ++i) {
        unsigned char letter = TaskLetter(i + 1);
        g_Driver.aLetters[i] = letter && std::strchr(day, letter) ? letter : ' ';
        g_Driver.aRects[i] = NineLetterBox(i);
    }
    g_Driver.aLetters[kNineLetters] = 0;
}

void LightNineLetters() {
    for (int i = 0; i < kNineLetters; ++i) {
        if (g_Driver.aLetters[i] == ' ') continue;
        float f = Score(i + 1);
        bool counts = LoudEnough(0.0625f) && (f >= TaskLevel(i + 1) || !g_Settings.bUseMinLevel);
        uint32_t colour = uint32_t(g_Driver.aColors[i]);
        if (!counts) {
            g_Driver.aColors[i] = WithWeight(colour, 0xFF);
            g_Driver.aColors2[i] = int(kOutlineYellow);
            continue;
        }
        g_Driver.aColors[i] = WithWeight(colour, int((1 - f) * kNineScale));
        g_Driver.aColors2[i] = WithWeight(Blend(colour, f), int(f * kNineScale));
    }
}

void LightBestDayLetter(float levelFactor, int scale) {
    g_Driver.aLetters[0] = 0;
    const unsigned char* day = g_Driver.aScreenLetters;
    if (!LoudEnough(levelFactor) || !day[0]) return;
    int best = 256;
    for (size_t i = 0; i < sizeof g_Driver.aScreenLetters && day[i]; ++i) {
        int k = TherapyPlace(day[i]); // place 0 is no task
        if (k <= 0 || k >= kTaskValues) continue;
        float p = Score(k);
        if (!(p > TaskLevel(0) && (p > TaskLevel(k) || !g_Settings.bUseMinLevel))) continue;
        int w = int((1 - p) * scale);
        if (w >= best) continue;
        best = w;
        g_Driver.aLetters[0] = day[i];
        g_Driver.aColors[0] = WithWeight(uint32_t(g_Driver.aColors[0]), w);
    }
}
