// The settings the program keeps between runs: one set of values for the whole process,
// filled with defaults at start-up and overwritten by "save\settings.xml" or a child's
// settings file. A file replaces only the values it holds. The signal levels live in the
// driver block (g_Driver.fMinLevel, fMaxLevel), where the driver reads them.
#pragma once
#include "shell/LxProgramData.h"

constexpr int kUserSentences = 6;

struct LxSettings {
    bool bUseMinLevel;                       // apply each letter's own level when scores are shown
    int nIcon;                               // the child's picture
    int nGame1Speed;                         // car game
    int nGame2Game, nGame2Time, nGame2Level; // clown game
    int aGame2Positions[4];
    int nGame3High, nGame3Speed; // frog game
    float aGame5Split[2];        // flower game
    int nGame5Time;
    int nGame6High; // mole game
    float aGame6Norm[2];
    int nGame6Speed;
    char szTherapy3Group[8];  // fixation screen: picture group ("dzs1" and the like)
    int aTherapy3Pictures[3]; // and its chosen pictures
    int nTherapy4Sentence;    // automation screen: 0..7 data, 8..13 user
};

extern LxSettings g_Settings;
// The six user sentences as letter codes, each 0-terminated (at most 511 codes).
extern char g_aUserSentences[kUserSentences][kSentenceBytes];

// The start-up state: default settings and levels, no user sentences, default task values.
void ResetSettings();

// Reads "save\settings.xml" (user null) or the child's settings file. False when the
// file cannot be read or a known tag lacks a value; what was read is kept either way.
bool LoadSettings(const char* user);
// Writes the same file; true when it was written completely.
bool SaveSettings(const char* user);
