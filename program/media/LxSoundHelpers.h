// The program's common sound sequences: playing and stopping buffers on the player
// device, the capture ring, and WAV files in and out of buffers. Each checks its
// arguments, so callers may pass what they have (a null buffer, no device).
#pragma once
#include "media/LxSoundBuffer.h"

// A new buffer of samples on the player or the capture device; null without the device
// or when the size is refused.
CBSoundBuffer* CreateSoundBuffer(unsigned samples, unsigned rate, unsigned bits);
CBSoundBuffer* CreateCaptureBuffer(unsigned samples, unsigned rate, unsigned bits);

void PlaySound(CBSoundBuffer* buffer, bool loop, bool rewind);
void StopSound(CBSoundBuffer* buffer);
// The buffer's status; 2 for no buffer.
int SoundStatus(CBSoundBuffer* buffer);
// Waits while the sound plays (not while it loops), then stops, frees and clears it.
void FreeSound(CBSoundBuffer** buffer);
void StartCaptureRing(CBSoundBuffer* ring);
void StopCaptureRing(CBSoundBuffer* ring);
// Zeroes the first samples of the buffer (at most its size).
void ClearSound(CBSoundBuffer* buffer, unsigned samples);

// A new buffer on the player device with the file's part startMs..endMs (startMs -1:
// the whole file) converted to the program's format; null with a message on failure.
CBSoundBuffer* LoadWave(const char* path, int startMs, int endMs);
// Writes the file's part, converted, at the start of buffer; the bytes written. What does
// not fit is left out with a message, and the buffer keeps its data.
unsigned ReadWave(CBSoundBuffer* buffer, const char* path, int startMs, int endMs);
// Copies the file's part unconverted into buffer from samplePos (in the file's samples);
// the bytes written.
unsigned InsertWave(CBSoundBuffer* buffer, unsigned samplePos, const char* path, int startMs,
                    int endMs);
// Writes bytes start..end of the buffer (round its end when end <= start) as a WAV file
// named below the first data root. Written to a temporary file, then renamed, so a file
// is never left half written. False when the name leaves the root or writing fails.
bool WriteWave(CBSoundBuffer* buffer, const char* name, unsigned start, unsigned end);
