// CombineMaps(first, second): two maps joined band-wise, the first's bands followed by
// the second's, over the frames both have. Sources of different frame counts are cut to
// the smaller one, with a warning at every such block; the block is complete only when
// both are. The output holds the first source's frames and both sources' bands at our
// construction; what either delivers beyond that is dropped.
#include <algorithm>
#include <cstring>
#include <memory>

#include "Map.h"
#include "core/Arguments.h"
#include "core/Hold.h"
#include "core/ModuleBase.h"
#include "core/Report.h"
#include "core/ZeroedArray.h"

namespace {
class CombineMaps : public ModuleBase, public virtual Map {
  public:
    CombineMaps(Map* first, Map* second)
        : first_(first), second_(second), maxFrames_(std::max(first->frames, 1)),
          firstBands_(std::max(first->bands, 0)), secondBands_(std::max(second->bands, 0)) {
        first_->AddRef();
        second_->AddRef();
        capacity = maxFrames_ * (firstBands_ + secondBands_);
        values_ = MakeZeroed<float>(std::max(capacity, 1));
        data = values_.get();
        bands = firstBands_ + secondBands_;
    }
    ~CombineMaps() override {
        first_->Release();
        second_->Release();
    }

    int Process() override {
        if (first_->frames != second_->frames) report("CombineMaps Warning: Not equal sizes");
        frames = std::clamp(std::min(first_->frames, second_->frames), 0, maxFrames_);
        int b1 = Bands(first_, firstBands_), b2 = Bands(second_, secondBands_);
        bands = b1 + b2;
        for (int b = 0; b < b1; ++b)
            std::copy_n(first_->data + b * first_->frames, frames, data + b * frames);
        for (int b = 0; b < b2; ++b)
            std::copy_n(second_->data + b * second_->frames, frames, data + (b1 + b) * frames);
        complete = first_->complete == 1 && second_->complete == 1;
        return 0;
    }

    void* GetInterface(const char* name) override { return AnswerAs<Map>(this, "Map", name); }

  private:
    // The bands of a source we have room for; none while it has no data.
    static int Bands(Map* source, int room) {
        return source->data ? std::clamp(source->bands, 0, room) : 0;
    }

    Map* first_;
    Map* second_;
    int maxFrames_, firstBands_, secondBands_;
    ZeroedArray<float> values_;
};

// The output of two sources larger than this many floats is refused.
constexpr double kMaxValues = 100000000;
} // namespace

Interface* NewCombineMaps(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 2);
    auto first = args.Get<Map>(0, "Map");
    if (!first) {
        report("CombineMaps: First parameter error");
        return nullptr;
    }
    auto second = args.Get<Map>(1, "Map");
    double size = second ? double(std::max(first->frames, 1)) *
                               (std::max(first->bands, 0) + std::max(second->bands, 0))
                         : 0;
    if (!second || size > kMaxValues) {
        report("CombineMaps: Second parameter error");
        return nullptr;
    }
    auto* map = new CombineMaps(first.get(), second.get());
    Hold self(map);
    map->Link(args.At(0));
    map->Link(args.At(1));
    return map;
}
