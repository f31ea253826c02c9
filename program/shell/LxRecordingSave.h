// Saving the last recording (program message 1088, after the driver has stopped): under
// a word's name as "save\speech\<word>.wav", or without one as "out%03d.wav", numbered
// by g_nOutFile after the highest number already in the working folder.
#pragma once

// word: letter codes, or null for a numbered file; recordedBytes: the bytes of the last
// recording at the start of g_pRecording. Nothing is written, and no number is used,
// when nothing was recorded or the word is not a usable file name. True when written.
bool SaveRecording(const char* word, int recordedBytes);
