// MakeWSP(name, cb, hypothesis, cb2): writes the recognised segmentation of an
// utterance as a project file of the Pelva annotation tool, "<name>.wsp", each time it
// runs. The project names the utterance's WAV file, carries the expected sentence
// (cb2's "ort" member) and the phoneme text of the annotation (cb2's own text up to
// its first "="), and lists the boundary of every hypothesis of the result's chain in
// milliseconds, with one link pair per boundary. Without a result both lists are
// empty. A file that cannot be created is reported and the run gives nothing.
#include <cstdio>
#include <string>

#include "ClusterBound.h"
#include "Hypothesis.h"
#include "core/Arguments.h"
#include "core/Hold.h"
#include "core/ModuleBase.h"
#include "core/Path.h"
#include "core/Report.h"
#include "recognition/HypothesisChain.h"
#include "recognition/SourceText.h"

namespace {
constexpr size_t kMaxWspName = 63;
// The sentence, phoneme, time and link texts are each cut at this many bytes.
constexpr size_t kMaxField = 4095;

// The first chunk of an Input from its start, cut at kMaxField; "" for none.
std::string Text(Input* input) {
    if (!input) return "";
    input->Rewind();
    int length = 0, kind = 0;
    const char* chunk = input->Read(&length, &kind);
    if (!chunk || length < 0) return "";
    return std::string(chunk, std::min(static_cast<size_t>(length), kMaxField));
}

void Append(std::string* field, const std::string& item) {
    if (field->size() + item.size() <= kMaxField) *field += item;
}

class MakeWSP : public ModuleBase {
  public:
    MakeWSP(Input* name, ClusterBound* cb, Hypothesis* hypothesis, ClusterBound* cb2)
        : name_(name), cb_(cb), hypothesis_(hypothesis), cb2_(cb2) {
        name_->AddRef();
        cb_->AddRef();
        hypothesis_->AddRef();
        cb2_->AddRef();
    }
    ~MakeWSP() override {
        name_->Release();
        cb_->Release();
        hypothesis_->Release();
        cb2_->Release();
    }

    int Process() override {
        std::string name;
        if (!talvik::SourceText(name_, &name, kMaxWspName)) {
            report("MakeWSP: No file name");
            return -1;
        }
        std::string file = name + ".wsp";
        FILE* out = std::fopen(talvik::OsPath(file, false).c_str(), "wb");
        if (!out) {
            report("MakeWSP: Cannot open '%s' for writing", file.c_str());
            return -1;
        }
        auto* ort = QueryInterface<Input>(cb2_->Find("ort", 3), "Input");
        std::string sentence = Text(ort);
        if (ort) ort->Release();
        auto* own = QueryInterface<Input>(cb2_, "Input");
        std::string phonemes = Text(own);
        if (own) own->Release();
        phonemes.resize(std::min(phonemes.find('='), phonemes.size()));

        std::string times, links;
        if (hypothesis_->node) {
            int number = 0;
            for (Hypothesis* step : talvik::Chain(hypothesis_)) {
                int32_t frame =
                    step->end >= 0 && step->end < cb_->count ? cb_->Boundary(step->end) : 0;
                auto ms = static_cast<long long>(static_cast<double>(frame) * cb_->frameMs);
                Append(&times, std::to_string(ms) + " ");
                Append(&links, "(" + std::to_string(number) + ";" + std::to_string(number) + ") ");
                ++number;
            }
        }
        size_t slash = name.find_last_of("\\/");
        std::string wave = slash == std::string::npos ? name : name.substr(slash + 1);
        std::fprintf(out,
                     "Pelva 1.01\nWave=%s.wav\nSpectrum-Type=0\nVisible=0 500\nWork=0 0\n"
                     "Play=0 0\nSentence=%s\nPhonemes=%s\nLines=%s\nLinks=%s\n",
                     wave.c_str(), sentence.c_str(), phonemes.c_str(), times.c_str(),
                     links.c_str());
        std::fclose(out);
        return 0;
    }

  private:
    Input* name_;
    ClusterBound* cb_;
    Hypothesis* hypothesis_;
    ClusterBound* cb2_;
};
} // namespace

Interface* NewMakeWSP(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 4);
    auto name = args.Get<Input>(0, "Input");
    if (!name) {
        report("MakeWSP: First parameter must be 'Input' Interface");
        return nullptr;
    }
    auto cb = args.Get<ClusterBound>(1, "ClusterBound");
    if (!cb) {
        report("MakeWSP: Second parameter must be 'Clusterbound' Interface");
        return nullptr;
    }
    auto hypothesis = args.Get<Hypothesis>(2, "Hypothesis");
    if (!hypothesis) {
        report("MakeWSP: Third parameter must be 'Hypothesis' Interface");
        return nullptr;
    }
    auto cb2 = args.Get<ClusterBound>(3, "ClusterBound");
    if (!cb2) {
        report("MakeWSP: Fourth parameter must be 'ClusterBound' Interface");
        return nullptr;
    }
    auto* wsp = new MakeWSP(name.get(), cb.get(), hypothesis.get(), cb2.get());
    Hold self(wsp);
    for (int i = 0; i < 4; ++i)
        wsp->Link(args.At(i));
    return wsp;
}
