// WavFileIn(name, [silence]): loads a WAV file into its sound buffer each time it
// runs. The name Input is read once per run (not rewound) and taken as a stem: ".wav"
// is always appended. After a load, "silence" zero samples are appended (cut at the
// capacity), every module of the folder the object was made in drops its data
// (Discard(-1)), and the block is marked complete. A failed load keeps the previous
// block and answers -1.
#pragma once
#include "Folder.h"
#include "Input.h"
#include "signal/SampleBuffer.h"

class WavFileIn : public SampleBuffer {
  public:
    WavFileIn(Input* name, int32_t silence, Folder* home);
    ~WavFileIn() override;

    int Process() override;

  private:
    // Loads the file into data; false (after its message) when it cannot.
    bool Load(const std::string& file);

    Input* name_;
    int32_t silence_;
    Folder* home_; // held: a reset must not walk a folder that is gone
};
