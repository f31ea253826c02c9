// The block normalisers: maps of their source's layout whose every block is scaled or
// centred on its own values alone.
//
//   NormalizeFrames(map, [target])  each frame scaled so its largest value is target
//                                   (32767 by default);
//   NormalizeMap(map, target)       the whole block scaled so its largest value is target;
//   NormalizeMeanDev(map)           the whole block centred and divided by its deviation;
//   NormMeanDevBand(map)            each band centred and divided by its deviation;
//   MeanSubsMap(map)                each band's mean subtracted.
//
// A zero maximum or deviation gives a factor of 0, so that frame, block or band comes out
// as zeros; so does a deviation of a single value, which has none. Sums are in double,
// means rounded to float. A source whose band count grows past the one it had at our
// construction has its extra bands dropped.
#include <algorithm>
#include <cmath>
#include <type_traits>

#include "core/Arguments.h"
#include "core/Hold.h"
#include "core/Report.h"
#include "signal/MapModule.h"

namespace {
// A normaliser: a one-source map of the source's layout.
class Normaliser : public MapModule {
  public:
    explicit Normaliser(Map* source) : MapModule(source, source->bands), maxBands_(bands) {}

  protected:
    // Starts the block: frames and complete from the source, bands clipped to ours.
    void Begin() {
        BeginBlock();
        if (!source_->data) frames = 0;
        bands = std::clamp(source_->bands, 0, maxBands_);
    }

  private:
    int maxBands_;
};

// The mean of n values rounded to float, and the deviation about it (0 below two values).
struct Moments {
    float mean = 0;
    double deviation = 0;
};
template <class Values> Moments Measure(int n, Values x) {
    Moments m;
    if (n < 1) return m;
    double sum = 0;
    for (int i = 0; i < n; ++i)
        sum += x(i);
    m.mean = static_cast<float>(sum / n);
    if (n < 2) return m;
    double squares = 0;
    for (int i = 0; i < n; ++i) {
        double d = static_cast<double>(x(i)) - m.mean;
        squares += d * d;
    }
    m.deviation = std::sqrt(squares / (n - 1));
    return m;
}

float Scaled(float x, const Moments& m) {
    return m.deviation > 0 ? static_cast<float>((x - m.mean) / m.deviation) : 0.0f;
}

class NormalizeFrames : public Normaliser {
  public:
    NormalizeFrames(Map* source, float target) : Normaliser(source), target_(target) {}

    int Process() override {
        Begin();
        for (int f = 0; f < frames; ++f) {
            float top = bands > 0 ? SourceRow(0)[f] : 0.0f;
            for (int b = 1; b < bands; ++b)
                top = std::max(top, SourceRow(b)[f]);
            float factor = top != 0 ? target_ / top : 0.0f;
            for (int b = 0; b < bands; ++b)
                Row(b)[f] = factor * SourceRow(b)[f];
        }
        return 0;
    }

  private:
    float target_;
};

class NormalizeMap : public Normaliser {
  public:
    NormalizeMap(Map* source, float target) : Normaliser(source), target_(target) {}

    int Process() override {
        Begin();
        bool any = false;
        float top = 0;
        for (int b = 0; b < bands; ++b)
            for (int f = 0; f < frames; ++f) {
                float x = SourceRow(b)[f];
                top = any ? std::max(top, x) : x;
                any = true;
            }
        float factor = top != 0 ? target_ / top : 0.0f;
        for (int b = 0; b < bands; ++b)
            for (int f = 0; f < frames; ++f)
                Row(b)[f] = factor * SourceRow(b)[f];
        return 0;
    }

  private:
    float target_;
};

class NormalizeMeanDev : public Normaliser {
  public:
    using Normaliser::Normaliser;

    int Process() override {
        Begin();
        int n = frames;
        Moments m = Measure(n * bands, [&](int i) { return SourceRow(i / n)[i % n]; });
        for (int b = 0; b < bands; ++b)
            for (int f = 0; f < frames; ++f)
                Row(b)[f] = Scaled(SourceRow(b)[f], m);
        return 0;
    }
};

class NormMeanDevBand : public Normaliser {
  public:
    using Normaliser::Normaliser;

    int Process() override {
        Begin();
        for (int b = 0; b < bands; ++b) {
            const float* x = SourceRow(b);
            Moments m = Measure(frames, [x](int f) { return x[f]; });
            for (int f = 0; f < frames; ++f)
                Row(b)[f] = Scaled(x[f], m);
        }
        return 0;
    }
};

class MeanSubsMap : public Normaliser {
  public:
    using Normaliser::Normaliser;

    int Process() override {
        Begin();
        for (int b = 0; b < bands; ++b) {
            const float* x = SourceRow(b);
            float mean = Measure(frames, [x](int f) { return x[f]; }).mean;
            for (int f = 0; f < frames; ++f)
                Row(b)[f] = x[f] - mean;
        }
        return 0;
    }
};

// The factory of a normaliser: a Map, then a target for the classes that scale (a NaN
// default makes it required).
template <class T>
Interface* NewNormaliser(Input* lexer, Interface* context, const char* mapMessage,
                         const char* targetMessage = "", double defaultTarget = NAN) {
    constexpr bool kScales = std::is_constructible_v<T, Map*, float>;
    Arguments args(lexer, context, kScales ? 2 : 1);
    auto source = args.Get<Map>(0, "Map");
    if (!source) {
        report("%s", mapMessage);
        return nullptr;
    }
    Normaliser* map = nullptr;
    if constexpr (kScales) {
        double target = defaultTarget;
        if (!args.GetNumber(1, &target) && std::isnan(defaultTarget)) {
            report("%s", targetMessage);
            return nullptr;
        }
        map = new T(source.get(), static_cast<float>(target));
    } else {
        map = new T(source.get());
    }
    Hold self(map);
    map->Link(args.At(0));
    return map;
}
} // namespace

Interface* NewNormalizeFrames(Input* lexer, Interface* context) {
    return NewNormaliser<NormalizeFrames>(
        lexer, context, "NormalizeFrames: First parameter must be 'Map' Interface", "", 32767);
}

Interface* NewNormalizeMap(Input* lexer, Interface* context) {
    return NewNormaliser<NormalizeMap>(lexer, context,
                                       "NormalizeMap: First parameter must be 'Map' Interface",
                                       "NormalizeMap: Second parameter must be 'Number' Interface");
}

Interface* NewNormalizeMeanDev(Input* lexer, Interface* context) {
    return NewNormaliser<NormalizeMeanDev>(
        lexer, context, "NormalizeMeanDev: First parameter must be 'Map' Interface");
}

Interface* NewNormMeanDevBand(Input* lexer, Interface* context) {
    return NewNormaliser<NormMeanDevBand>(
        lexer, context, "NormMeanDevBand: First parameter must be 'Map' Interface");
}

Interface* NewMeanSubsMap(Input* lexer, Interface* context) {
    return NewNormaliser<MeanSubsMap>(lexer, context,
                                      "MeanSubsMap: First parameter must be 'Map' Interface");
}
