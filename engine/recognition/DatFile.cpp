// DatFile(name, timebase, phonemes [, cb]): the hand-made annotation of an utterance as a
// cluster bound. Each Process reads the name from its Input and loads "<name>.dat", or
// else "<name>.huo": a text of lines whose first word selects their kind,
//
//     TYP a b c          phoneme names: the labels (codes in the phoneme set)
//     ALL 0 100 250      boundary times in milliseconds
//     ORT words ...      the orthography
//     LBO: f1,f2,f3,text the orthography after three comma fields
//     CMT: a b           labels like TYP, every word kept in the label text
//
// Times become frames with the time base's "sps" and "framedist" (frames per ms =
// sps / 1000 / framedist). With a cluster bound whose boundaries 0 and 1 are the sample
// positions of the detected utterance (a voice detector), the boundaries are shifted
// onto it. The orthography goes to the member "ort"; as an Input the object offers
// "labels = orthography" once per load. Values, labels and the orthography have fixed
// limits; what does not fit is reported and dropped (the last value is overwritten).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ClusterBound.h"
#include "Number.h"
#include "Phonemes.h"
#include "core/Arguments.h"
#include "core/Hold.h"
#include "core/ModuleBase.h"
#include "core/Path.h"
#include "core/Report.h"
#include "core/StringInput.h"
#include "recognition/OfferedText.h"

namespace {
constexpr int kMaxValues = 1024;
constexpr size_t kMaxOrthography = 1024;
constexpr size_t kMaxLabelText = 8192;

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    size_t at = line.find_first_not_of(" \t");
    while (at != std::string::npos) {
        size_t end = line.find_first_of(" \t", at);
        words.push_back(line.substr(at, end == std::string::npos ? end : end - at));
        at = end == std::string::npos ? end : line.find_first_not_of(" \t", end);
    }
    return words;
}

// A time in frames, truncated and saturated to 32 bits (NaN gives 0).
int32_t Frames(double v) {
    if (!(v == v)) return 0;
    v = std::trunc(v);
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return -2147483647 - 1;
    return static_cast<int32_t>(v);
}

bool Slurp(const std::string& file, std::string* content) {
    return talvik::ReadRegularFile(talvik::OsPath(file, true), talvik::kMaxDataFile, content);
}

// A fixed list of values: when full, later values overwrite the last one.
struct Values {
    int32_t at[kMaxValues] = {};
    int n = 0;
    // False when the list was full.
    bool Add(int32_t v) {
        if (n == kMaxValues) {
            at[n - 1] = v;
            return false;
        }
        at[n++] = v;
        return true;
    }
};

class DatFile : public ModuleBase, public virtual ClusterBound, public virtual Input {
  public:
    DatFile(Input* name, Number* sps, Number* frameDist, Phonemes* phonemes, ClusterBound* cb)
        : name_(name), sps_(sps), frameDist_(frameDist), phonemes_(phonemes), cb_(cb) {
        name_->AddRef();
        phonemes_->AddRef();
        if (cb_) cb_->AddRef();
        StoreOrthography();
    }
    // Takes over the references of the time-base numbers.
    ~DatFile() override {
        name_->Release();
        sps_->Release();
        frameDist_->Release();
        phonemes_->Release();
        if (cb_) cb_->Release();
    }

    int Process() override {
        std::string name;
        if (!NameOf(&name)) return 0;
        std::string content, file = name + ".dat";
        if (!Slurp(file, &content)) {
            report("DatFile: File Not Found (%s), trying '.huo'", file.c_str());
            file = name + ".huo";
            if (!Slurp(file, &content)) {
                report("DatFile: File Not Found (%s)", file.c_str());
                return 0;
            }
        }
        double frameDist = frameDist_->value > 0 ? frameDist_->value : 1;
        double sps = sps_->value > 0 && std::isfinite(sps_->value) ? sps_->value : 1000;
        scale_ = sps * 0.001 / frameDist;
        boundaries_.n = labels_.n = 0;
        labelText_.clear();
        orthography_.clear();
        Parse(content);
        if (cb_) Shift(static_cast<int64_t>(std::max(frameDist, 1.0)));
        if (!orthography_.empty() && orthography_.back() == ' ') orthography_.pop_back();
        StoreOrthography();
        text_.Offer(labelText_ + " = " + orthography_);
        frameMs = static_cast<float>(1 / scale_);
        complete = 1;
        count = boundaries_.n;
        return 0;
    }

    int32_t Boundary(int32_t i) override {
        if (boundaries_.n == 0) return 0;
        return boundaries_.at[std::clamp(i, 0, boundaries_.n - 1)];
    }
    int32_t Label(int32_t i) override { return i >= 0 && i < labels_.n ? labels_.at[i] : 0; }

    const char* Read(int* length, int* kind) override { return text_.Read(length, kind); }
    const char* Current(int* length, int* kind) override { return text_.Current(length, kind); }
    void Rewind() override { text_.Rewind(); }

    void* GetInterface(const char* name) override {
        if (!std::strcmp(name, "Input")) {
            AddRef();
            return static_cast<Input*>(this);
        }
        if (!std::strcmp(name, "ClusterBound")) {
            AddRef();
            return static_cast<ClusterBound*>(this);
        }
        return ModuleBase::GetInterface(name);
    }

  private:
    // The utterance's name: a fresh one when the Input has it, else its current one
    // again (a plain text gives itself only once).
    bool NameOf(std::string* name) {
        int length = 0, kind = 0;
        const char* chunk = name_->Read(&length, &kind);
        if (!chunk) chunk = name_->Current(&length, &kind);
        if (!chunk || length <= 0) return false;
        name->assign(chunk, length);
        return true;
    }

    void Parse(const std::string& content) {
        size_t at = 0;
        while (at < content.size()) {
            size_t end = content.find_first_of("\n\r", at);
            if (end == std::string::npos) end = content.size();
            if (end > at) Line(content.substr(at, end - at));
            at = end + 1;
        }
    }

    void Line(const std::string& line) {
        std::vector<std::string> words = Words(line);
        if (words.empty()) return;
        const std::string& kind = words[0];
        if (!kind.compare(0, 4, "LBO:")) return LineOrthography(line);
        if (!kind.compare(0, 4, "CMT:")) return AddLabels(words, "CMT", true);
        if (!kind.compare(0, 3, "TYP")) return AddLabels(words, "TYP", false);
        if (!kind.compare(0, 3, "ALL")) return AddTimes(words);
        if (!kind.compare(0, 3, "ORT")) return WordOrthography(words);
    }

    void AddLabels(const std::vector<std::string>& words, const char* kind, bool keepAll) {
        bool full = false;
        for (size_t i = 1; i < words.size(); ++i) {
            int code = phonemes_->Code(words[i].c_str());
            if (code < 0) report("WARNING: UNKNOWN PHONEME IN DATAFILE \"%s\"", words[i].c_str());
            if (!labels_.Add(code)) full = true;
            if ((code >= 0 || keepAll) && labelText_.size() + 1 + words[i].size() <= kMaxLabelText)
                labelText_ += " " + words[i];
        }
        if (full) report("DatFile: number of values in %s exceeded the %d limit", kind, kMaxValues);
    }

    void AddTimes(const std::vector<std::string>& words) {
        bool full = false;
        for (size_t i = 1; i < words.size(); ++i)
            if (!boundaries_.Add(Frames(std::strtod(words[i].c_str(), nullptr) * scale_)))
                full = true;
        if (full) report("DatFile: number of values in ALL exceeded the %d limit", kMaxValues);
    }

    void WordOrthography(const std::vector<std::string>& words) {
        orthography_.clear();
        for (size_t i = 1; i < words.size(); ++i)
            orthography_ += words[i] + " ";
        if (orthography_.size() > kMaxOrthography) orthography_.resize(kMaxOrthography);
    }

    // "LBO:" then three comma fields, then the text up to a tab; a line with fewer
    // fields has no text and leaves the orthography as it was.
    void LineOrthography(const std::string& line) {
        size_t at = line.find("LBO:") + 4;
        for (int field = 0; field < 3; ++field) {
            at = line.find(',', at);
            if (at == std::string::npos) return;
            ++at;
        }
        size_t end = line.find('\t', at);
        orthography_ = line.substr(at, end == std::string::npos ? end : end - at);
        if (orthography_.size() > kMaxOrthography) orthography_.resize(kMaxOrthography);
    }

    // Moves the boundaries onto the utterance that the cluster bound found: its
    // boundaries 0 and 1 are sample positions, turned into frames by integer division.
    void Shift(int64_t frameDist) {
        int n = boundaries_.n;
        if (n == 0) return;
        int64_t b0 = cb_->Boundary(0), b1 = cb_->Boundary(1);
        int64_t span = std::clamp<int64_t>((b1 - b0) / frameDist, 0, INT32_MAX);
        int64_t offset = b0 / frameDist;
        boundaries_.at[0] = 0;
        for (int i = 1; i < n - 1; ++i)
            boundaries_.at[i] =
                static_cast<int32_t>(std::clamp<int64_t>(boundaries_.at[i] - offset, 0, span));
        if (n > 1) boundaries_.at[n - 1] = static_cast<int32_t>(span);
    }

    void StoreOrthography() { Set("ort", 3, new StringInput(orthography_), 0); }

    Input* name_;
    Number* sps_;
    Number* frameDist_;
    Phonemes* phonemes_;
    ClusterBound* cb_;
    double scale_ = 1;
    Values boundaries_, labels_;
    std::string labelText_, orthography_;
    OfferedText text_;
};

// A member of the time base as a Number with a reference, or a new one with the
// default value after the warning.
Number* TimeBase(Interface* base, const char* member, double fallback) {
    Interface* found = base ? base->Find(member, static_cast<int>(std::strlen(member))) : nullptr;
    if (auto* number = QueryInterface<Number>(found, "Number")) return number;
    report("Datfile: Warning: %s not found, using %g", member, fallback);
    auto* number = new NumberObject(fallback);
    number->AddRef();
    return number;
}
} // namespace

Interface* NewDatFile(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 4);
    auto name = args.Get<Input>(0, "Input");
    if (!name) {
        report("DatFile: First parameter must be 'Input' Interface");
        return nullptr;
    }
    auto phonemes = args.Get<Phonemes>(2, "Phonemes");
    if (!phonemes) {
        report("DatFile: Third parameter must be 'Phonemes' Interface");
        return nullptr;
    }
    Interface* base = args.At(1) == context ? nullptr : args.At(1);
    if (!base) report("DatFile: Warning: Second parameter missing");
    Number* sps = TimeBase(base, "sps", 1000);
    Number* frameDist = TimeBase(base, "framedist", 1);
    auto cb = args.Get<ClusterBound>(3, "ClusterBound");
    auto* dat = new DatFile(name.get(), sps, frameDist, phonemes.get(), cb.get());
    Hold self(dat);
    dat->Link(args.At(0));
    if (base) dat->Link(base);
    dat->Link(args.At(2));
    if (cb) dat->Link(args.At(3));
    return dat;
}
