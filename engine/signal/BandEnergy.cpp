// Band energies on an auditory scale; see BandEnergy.h. The factories refuse band
// counts outside 1 ... 4096, upper frequencies below 1 Hz, widths that are not
// positive, and scale names other than the two known ones (the edges would be
// undefined), each with the class's message for that argument.
#include "signal/BandEnergy.h"

#include <algorithm>
#include <cmath>

#include "core/Hold.h"
#include "core/Report.h"
#include "signal/MapArguments.h"

namespace {
// Hz to scale position and back.
double Position(BandScale scale, double hz) {
    if (scale == BandScale::kBark) return 6.7 * std::asinh((hz - 20.0) / 600.0);
    return std::log10(1.0 + hz * 0.0060459496) * 18.51851851851852;
}

double Frequency(BandScale scale, double z) {
    if (scale == BandScale::kBark) return 600.0 * std::sinh(z * 0.14925373134328357) + 20.0;
    return 165.39999389648438 * (std::pow(10.0, 0.054 * z) - 1.0);
}

// Truncation toward zero that saturates instead of overflowing (NaN gives 0).
int TruncateHz(double hz) {
    if (std::isnan(hz)) return 0;
    if (hz >= 2147483647.0) return 2147483647;
    if (hz <= -2147483648.0) return -2147483647 - 1;
    return static_cast<int>(hz);
}
} // namespace

bool ParseBandScale(const std::string& name, BandScale* scale) {
    if (!name.compare(0, 4, "Bark")) {
        *scale = BandScale::kBark;
        return true;
    }
    if (!name.compare(0, 9, "Greenwood")) {
        *scale = BandScale::kGreenwood;
        return true;
    }
    return false;
}

std::vector<BandEdge> BandEdges(BandScale scale, int upper, int count, float width) {
    double top = Position(scale, upper);
    double step = count > 1 ? (top - width) / (count - 1) : 0.0;
    std::vector<BandEdge> edges(count);
    for (int i = 0; i < count; ++i) {
        float z = static_cast<float>(i * step);
        edges[i] = {TruncateHz(Frequency(scale, z)), TruncateHz(Frequency(scale, z + width))};
    }
    return edges;
}

BandEnergy::BandEnergy(Map* spectrum, SoundBuffer* sound, std::vector<BandEdge> edges, Shape shape)
    : MapModule(spectrum, static_cast<int>(edges.size())), sound_(sound), edges_(std::move(edges)),
      shape_(shape), sum_(maxFrames_) {
    sound_->AddRef();
}

BandEnergy::~BandEnergy() {
    sound_->Release();
}

int BandEnergy::Bin(int hz, int bands, double sps) {
    double bin = hz * 2.0 * bands / sps;
    if (bin >= bands - 1) return bands - 1;
    return bin > 0 ? static_cast<int>(bin) : 0;
}

void BandEnergy::Add(int bin, double weight, int frameCount) {
    const float* row = SourceRow(bin);
    for (int f = 0; f < frameCount; ++f)
        sum_[f] += weight * row[f];
}

int BandEnergy::Process() {
    int frameCount = BeginBlock();
    int spectrumBands = source_->bands;
    double sps = sound_->sps;
    for (int i = 0; i < bands; ++i) {
        std::fill(sum_.begin(), sum_.begin() + frameCount, 0.0);
        if (sps > 0 && spectrumBands > 0) {
            int lo = Bin(edges_[i].low, spectrumBands, sps);
            int hi = Bin(edges_[i].high, spectrumBands, sps);
            if (shape_ == kRectangular) {
                for (int k = lo; k < hi; ++k)
                    Add(k, 1.0, frameCount);
            } else if (lo == hi) {
                Add(lo, 1.0, frameCount);
            } else {
                int m = hi - lo + 1, h = m / 2;
                for (int j = 0; j < m; ++j) {
                    int rise = j < h ? j + 1 : m - 1 - j;
                    Add(lo + j, static_cast<float>(rise) / static_cast<float>(h), frameCount);
                }
            }
        }
        float* out = Row(i);
        for (int f = 0; f < frameCount; ++f)
            out[f] = static_cast<float>(sum_[f]);
    }
    return 0;
}

namespace {
Interface* NewBandEnergy(Input* lexer, Interface* context, const char* name,
                         BandEnergy::Shape shape) {
    Arguments args(lexer, context, 6);
    Obtained<Map> spectrum(args.Get<Map>(0, "Map"));
    if (!spectrum) {
        report("%s: First parameter error", name);
        return nullptr;
    }
    Obtained<SoundBuffer> sound(args.Get<SoundBuffer>(1, "SoundBuffer"));
    if (!sound) {
        report("%s: Second parameter error", name);
        return nullptr;
    }
    std::string scaleName;
    BandScale scale;
    if (!args.GetText(2, &scaleName) || !ParseBandScale(scaleName, &scale)) {
        report("%s: Third parameter error", name);
        return nullptr;
    }
    int upper = 0, count = 0;
    float width = 0;
    if (!GetInteger(args, 3, 1, 2147483647, &upper) ||
        !GetInteger(args, 4, 1, kMaxMapBands, &count) || !GetReal(args, 5, &width) ||
        !(width > 0) || !FitsMap(count, spectrum->frames)) {
        report("%s: Parameter error", name);
        return nullptr;
    }
    auto* map =
        new BandEnergy(spectrum.get(), sound.get(), BandEdges(scale, upper, count, width), shape);
    Hold self(map);
    map->Link(args.At(0));
    return map;
}
} // namespace

Interface* NewBandEnergyRect(Input* lexer, Interface* context) {
    return NewBandEnergy(lexer, context, "BandEnergyRect", BandEnergy::kRectangular);
}

Interface* NewBandEnergyTriang(Input* lexer, Interface* context) {
    return NewBandEnergy(lexer, context, "BandEnergytriang", BandEnergy::kTriangular);
}
