// The shared base of the WAV writers: each run takes the source's current block as a
// WAV image (see WavTool.h) and hands it to the writer's sink.
#pragma once
#include <string>

#include "SoundBuffer.h"
#include "core/ModuleBase.h"

class WavWriter : public ModuleBase {
  public:
    explicit WavWriter(SoundBuffer* source);
    ~WavWriter() override;

    int Process() override;

  protected:
    virtual void Deliver(const std::string& image) = 0;

  private:
    SoundBuffer* source_;
};
