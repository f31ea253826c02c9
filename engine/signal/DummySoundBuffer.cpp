// DummySoundBuffer(n): a sound buffer of n samples that the host fills itself (data,
// length, sps, complete) before it runs the chain. Running it starts a new utterance:
// every module of the folder it was made in drops its data. The samples start as
// zeros, sps and complete at 0.
#include <cstring>

#include "core/Arguments.h"
#include "core/Report.h"
#include "signal/ResetModules.h"
#include "signal/SampleBuffer.h"

namespace {
// Larger buffers are refused rather than allocated on a script's word.
constexpr double kMaxSamples = 100000000;

class DummySoundBuffer : public SampleBuffer {
  public:
    DummySoundBuffer(int32_t samples, Folder* home) : SampleBuffer(samples), home_(home) {
        home_->AddRef();
    }
    ~DummySoundBuffer() override { home_->Release(); }

    int Process() override {
        ResetModules(home_);
        return 0;
    }

  private:
    Folder* home_; // held: a reset must not walk a folder that is gone
};
} // namespace

Interface* NewDummySoundBuffer(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 1);
    double samples = 0;
    if (!args.GetNumber(0, &samples) || !(samples >= 1) || samples > kMaxSamples) {
        report("DummySoundBuffer: First parameter must be 'Number' Interface");
        return nullptr;
    }
    Obtained<Folder> home = Obtain<Folder>(context, "Folder");
    if (!home) {
        report("DummySoundBuffer: Must be called from 'Folder' Interface");
        return nullptr;
    }
    auto* buffer = new DummySoundBuffer(static_cast<int32_t>(samples), home.get());
    return buffer;
}
