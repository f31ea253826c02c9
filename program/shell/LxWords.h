// The practice words of the sound development screens: up to 256 words of letter codes,
// loaded at start-up from "save\theraphy\words.html" and written back at shut-down when
// they changed. The file is an HTML table, five words to a row, that a therapist can open
// in a browser (and edit: what the list cannot hold is kept and written back).
#pragma once

constexpr int kMaxWords = 256;
constexpr int kWordBytes = 64;

extern char g_aWords[kMaxWords][kWordBytes]; // 0-terminated letter codes, at most 63
extern int g_nWords;

// True when at least one word was read; a missing file leaves the list empty.
bool LoadWords();
// Writes the list anew; false when it could not be written (the old file stays) or the
// file exists but could not be read at the last load (it is never overwritten then).
bool SaveWords();
// SaveWords when the list differs from what was last loaded or saved; true otherwise.
bool SaveWordsIfChanged();
