// DummyMap(frames, bands): a map of frames x bands values that the host fills itself
// (data, frames, bands, complete) before it runs the chain. Running it starts a new
// utterance: every module of the folder it was made in drops its data. The values start
// as zeros, the block full-sized and not complete.
#include <cmath>
#include <cstring>
#include <memory>

#include "Map.h"
#include "core/Arguments.h"
#include "core/ModuleBase.h"
#include "core/Report.h"
#include "core/ZeroedArray.h"
#include "signal/ResetModules.h"

namespace {
// Larger maps are refused rather than allocated on a script's word.
constexpr double kMaxValues = 100000000;

class DummyMap : public ModuleBase, public virtual Map {
  public:
    DummyMap(int32_t frameCount, int32_t bandCount, Folder* home)
        : values_(MakeZeroed<float>(static_cast<size_t>(frameCount) * bandCount)), home_(home) {
        home_->AddRef();
        data = values_.get();
        frames = frameCount;
        bands = bandCount;
        capacity = frameCount * bandCount;
    }
    ~DummyMap() override { home_->Release(); }

    int Process() override {
        ResetModules(home_);
        return 0;
    }

    void* GetInterface(const char* name) override { return AnswerAs<Map>(this, "Map", name); }

  private:
    ZeroedArray<float> values_;
    Folder* home_; // held: a reset must not walk a folder that is gone
};
} // namespace

Interface* NewDummyMap(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 2);
    double frames = 0, bands = 0;
    if (!args.GetNumber(0, &frames) || !(frames >= 1) || frames > kMaxValues) {
        report("DummyMap: First parameter must be 'Number' Interface");
        return nullptr;
    }
    if (!args.GetNumber(1, &bands) || !(bands >= 1) ||
        std::trunc(frames) * std::trunc(bands) > kMaxValues) {
        report("DummyMap: Secund parameter must be 'Number' Interface");
        return nullptr;
    }
    Obtained<Folder> home = Obtain<Folder>(context, "Folder");
    if (!home) {
        report("DummyMap: Must be called from 'Folder' Interface");
        return nullptr;
    }
    auto* map = new DummyMap(static_cast<int32_t>(frames), static_cast<int32_t>(bands), home.get());
    return map;
}
