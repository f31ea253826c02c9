// NormMeanDevBandFile(map, file, mode): each band centred and scaled by a microphone
// calibration, y = (x - mean_b) * invdev_b.
//
// Mode 0 applies a calibration saved earlier: the file is read once, at construction.
// Any other mode calibrates on every block: it measures each band's mean and inverse
// deviation (0 where the band has no deviation, as for a single frame), applies them at
// once and saves them, replacing the file. The file is text: the means on line one, the
// inverse deviations on line two, each value followed by ", ". It is written beside its
// final name and renamed over it, so a crash never leaves half a calibration. A file that
// cannot be read, or holds fewer values than bands, is reported and the object works
// with mean 0 and inverse deviation 1.
//
// At most 512 bands: a larger source is refused.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "core/Arguments.h"
#include "core/Hold.h"
#include "core/Path.h"
#include "core/Report.h"
#include "signal/MapModule.h"

namespace {
constexpr int kMaxBands = 512;

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<FILE, FileCloser>;

class NormMeanDevBandFile : public MapModule {
  public:
    NormMeanDevBandFile(Map* source, std::string file, bool calibrate)
        : MapModule(source, source->bands), maxBands_(bands), file_(std::move(file)),
          calibrate_(calibrate) {
        for (int b = 0; b < kMaxBands; ++b)
            mean_[b] = 0, invDev_[b] = 1;
        if (!calibrate_) Load();
    }

    int Process() override {
        BeginBlock();
        if (!source_->data) frames = 0;
        bands = std::clamp(source_->bands, 0, maxBands_);
        bool measured = calibrate_ && frames > 0;
        if (measured)
            for (int b = 0; b < bands; ++b)
                Measure(b);
        for (int b = 0; b < bands; ++b)
            for (int f = 0; f < frames; ++f)
                Row(b)[f] = (SourceRow(b)[f] - mean_[b]) * invDev_[b];
        if (measured && Save()) report("MIC parameters saved!");
        return 0;
    }

  private:
    void Measure(int b) {
        const float* x = SourceRow(b);
        double sum = 0, squares = 0;
        for (int f = 0; f < frames; ++f)
            sum += x[f];
        double mean = sum / frames;
        for (int f = 0; f < frames; ++f)
            squares += (x[f] - mean) * (x[f] - mean);
        double deviation = frames > 1 ? std::sqrt(squares / (frames - 1)) : 0;
        mean_[b] = static_cast<float>(mean);
        invDev_[b] = deviation > 0 ? static_cast<float>(1 / deviation) : 0.0f;
    }

    // Reads the means, then the inverse deviations, of the bands at construction.
    void Load() {
        File f(talvik::OpenRegularFile(talvik::OsPath(file_, true), talvik::kMaxDataFile));
        if (!f) {
            report("NormMeanDevBandFile: Cannot open %s", file_.c_str());
            return;
        }
        float read[2 * kMaxBands];
        for (int i = 0; i < 2 * maxBands_; ++i)
            if (std::fscanf(f.get(), "%f,", &read[i]) != 1) {
                report("NormMeanDevBandFile: Too few values in %s", file_.c_str());
                return;
            }
        for (int b = 0; b < maxBands_; ++b)
            mean_[b] = read[b], invDev_[b] = read[maxBands_ + b];
    }

    // Writes the current bands' values to a temporary file renamed over the old one.
    bool Save() {
        std::string path = talvik::OsPath(file_, false), temporary = path + ".tmp";
        File f(std::fopen(temporary.c_str(), "w"));
        bool ok = f != nullptr;
        for (const float* values : {mean_, invDev_}) {
            for (int b = 0; ok && b < bands; ++b)
                ok = std::fprintf(f.get(), "%f, ", values[b]) > 0;
            ok = ok && std::fputc('\n', f.get()) != EOF;
        }
        if (f) ok = std::fclose(f.release()) == 0 && ok;
        ok = ok && std::rename(temporary.c_str(), path.c_str()) == 0;
        if (!ok) {
            std::remove(temporary.c_str());
            report("NormMeanDevBandFile: Cannot write %s", file_.c_str());
        }
        return ok;
    }

    int maxBands_;
    std::string file_;
    bool calibrate_;
    float mean_[kMaxBands];
    float invDev_[kMaxBands];
};
} // namespace

Interface* NewNormMeanDevBandFile(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 3);
    auto source = args.Get<Map>(0, "Map");
    if (!source || source->bands > kMaxBands) {
        report("NormMeanDevBandFile: First parameter must be 'Map' Interface");
        return nullptr;
    }
    std::string file;
    double mode = 0;
    const char* message = nullptr;
    if (!args.GetText(1, &file))
        message = "NormMeanDevBandFile: Second parameter must be 'Input' Interface";
    else if (!args.GetNumber(2, &mode))
        message = "NormMeanDevBandFile: Third parameter must be 'Number' Interface";
    if (message) {
        report("%s", message);
        return nullptr;
    }
    // Any mode that does not truncate to 0 calibrates (NaN included).
    auto* map = new NormMeanDevBandFile(source.get(), file, !(std::trunc(mode) == 0));
    Hold self(map);
    map->Link(args.At(0));
    return map;
}
