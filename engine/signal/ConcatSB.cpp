// ConcatSB(source): collects the blocks of a source into one growing buffer. Each
// non-empty block is appended and nothing is passed on (Process returns -1); an empty
// block passes the whole collection on. The collection is never emptied. The array
// starts at 1,000,000 samples and doubles when a block does not fit; a block that
// would take it past the sound-buffer limit is refused with a message and dropped.
#include <algorithm>

#include "core/Arguments.h"
#include "core/Hold.h"
#include "core/Report.h"
#include "signal/SampleBuffer.h"

namespace {
class ConcatSB : public SampleBuffer {
  public:
    explicit ConcatSB(SoundBuffer* source) : SampleBuffer(kDefaultCapacity), source_(source) {
        source_->AddRef();
        length = 0;
    }
    ~ConcatSB() override { source_->Release(); }

    int Process() override {
        complete = source_->complete;
        sps = source_->sps;
        int32_t added = source_->data ? std::max(source_->length, 0) : 0;
        if (added == 0) return 0;
        if (!Reserve(static_cast<int64_t>(length) + added)) {
            report("ConcatSB: Too many samples, block dropped");
            return -1;
        }
        std::copy(source_->data, source_->data + added, data + length);
        length += added;
        return -1;
    }

  private:
    SoundBuffer* source_;
};
} // namespace

Interface* NewConcatSB(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 1);
    auto source = args.Get<SoundBuffer>(0, "SoundBuffer");
    if (!source) {
        report("ConcatSB: First parameter must be 'SoundBuffer' Interface");
        return nullptr;
    }
    auto* concat = new ConcatSB(source.get());
    Hold self(concat);
    concat->Link(args.At(0));
    return concat;
}
