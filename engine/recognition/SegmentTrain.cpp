// SegmentTrain(cb, class, edges, cue, cue, ...): training lines for a segment model.
// Every other Step (Process calls Step) produces, for each segment of the cluster bound
// with distinct ends, one line of the cue values and the class number:
//
//     0.250000,12.000000,3
//
// and offers the text as an Input once; the Step between produces nothing and returns
// -1, so a module folder runs the consumers once per produced text. The first and the
// last segment are left out unless edges is not 0, and a negative class writes no
// line. The text is held to a fixed 16384 characters: lines that do not fit are
// dropped, with a message.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ACue.h"
#include "ClusterBound.h"
#include "Number.h"
#include "core/Arguments.h"
#include "core/Hold.h"
#include "core/ModuleBase.h"
#include "core/Report.h"
#include "recognition/OfferedText.h"

namespace {
constexpr size_t kMaxText = 16384;

class SegmentTrain : public ModuleBase, public virtual Input {
  public:
    SegmentTrain(ClusterBound* cb, Number* classNumber, Number* edges, std::vector<ACue*> cues)
        : cb_(cb), class_(classNumber), edges_(edges), cues_(std::move(cues)) {
        cb_->AddRef();
        class_->AddRef();
        edges_->AddRef();
    }
    // Takes over the references of the cues.
    ~SegmentTrain() override {
        cb_->Release();
        class_->Release();
        edges_->Release();
        for (ACue* cue : cues_)
            cue->Release();
    }

    int Process() override { return Step(); }
    int Step() override {
        produce_ = !produce_;
        if (!produce_) return -1;
        text_.Offer(Lines());
        return 1;
    }

    const char* Read(int* length, int* kind) override { return text_.Read(length, kind); }
    const char* Current(int* length, int* kind) override { return text_.Current(length, kind); }
    void Rewind() override { text_.Rewind(); }

    void* GetInterface(const char* name) override {
        if (!std::strcmp(name, "Input")) {
            AddRef();
            return static_cast<Input*>(this);
        }
        return ModuleBase::GetInterface(name);
    }

  private:
    std::string Lines() {
        std::string text;
        int classNumber = static_cast<int>(class_->value);
        if (class_->value < 0) return text;
        bool edges = edges_->value != 0, full = false;
        int32_t segments = cb_->count - 1;
        for (int32_t i = 0; i < segments; ++i) {
            if (!edges && (i == 0 || i == segments - 1)) continue;
            int32_t b0 = cb_->Boundary(i), b1 = cb_->Boundary(i + 1);
            if (b0 == b1) continue;
            std::string line = Line(b0, b1, classNumber);
            if (text.size() + line.size() > kMaxText) {
                full = true;
                break;
            }
            text += line;
        }
        if (full)
            report("SegmentTrain: training text exceeded the %d character limit",
                   static_cast<int>(kMaxText));
        return text;
    }

    std::string Line(int32_t b0, int32_t b1, int classNumber) {
        std::string line;
        char number[64];
        for (size_t k = 0; k < cues_.size(); ++k) {
            std::snprintf(number, sizeof number, k ? ",%f" : "%f",
                          static_cast<double>(cues_[k]->Value(b0, b1)));
            line += number;
        }
        std::snprintf(number, sizeof number, ",%d\n", classNumber);
        return line + number;
    }

    ClusterBound* cb_;
    Number* class_;
    Number* edges_;
    std::vector<ACue*> cues_;
    bool produce_ = false;
    OfferedText text_;
};
} // namespace

Interface* NewSegmentTrain(Input* lexer, Interface* context) {
    Arguments args(lexer, context);
    auto cb = args.Get<ClusterBound>(0, "ClusterBound");
    if (!cb) {
        report("SegmentTrain: First parameter must be 'ClusterBound' Interface");
        return nullptr;
    }
    auto classNumber = args.Size() > 1 ? args.Get<Number>(1, "Number") : nullptr;
    if (!classNumber) {
        report("SegmentTrain: Second parameter must be 'Number' Interface");
        return nullptr;
    }
    auto edges = args.Size() > 2 ? args.Get<Number>(2, "Number") : nullptr;
    if (!edges) {
        report("SegmentTrain: Third parameter must be 'Number' Interface");
        return nullptr;
    }
    std::vector<Obtained<ACue>> cues;
    for (int i = 3; i < args.Size(); ++i)
        if (auto cue = args.Get<ACue>(i, "ACue")) cues.push_back(std::move(cue));
    if (cues.empty()) {
        report("SegmentTrain: Fourth parameter must be 'ACue' Interface");
        return nullptr;
    }
    auto* train = new SegmentTrain(cb.get(), classNumber.get(), edges.get(), HandOver(cues));
    Hold self(train);
    train->Link(args.At(0));
    for (int i = 3; i < args.Size(); ++i)
        if (args.Get<ACue>(i, "ACue")) train->Link(args.At(i));
    return train;
}
