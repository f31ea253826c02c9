// MapOutForHTK(map, name): writes the map's current block as an HTK parameter file
// name.par at every run, replacing the last one. The file is little-endian, as the
// machines this format was first written on: a 12-byte header (vectors, vector period
// in 100 ns units, bytes per vector, parameter kind 9 "user defined"), then each
// frame's values as 32-bit floats, band 0 first. The period comes from the members
// "_framedist" and "_sps" of the folder the object was made in (64 and 22050 when
// absent), both truncated. The name is read once, at most 1023 characters.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "Input.h"
#include "Map.h"
#include "core/Arguments.h"
#include "core/File.h"
#include "core/Hold.h"
#include "core/ModuleBase.h"
#include "core/Report.h"
#include "core/WholeFile.h"
#include "signal/TimeBase.h"

namespace {
constexpr size_t kMaxFileName = 1023;
constexpr int kUserKind = 9;

void Put(std::string& s, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        s += static_cast<char>(v >> 8 * i & 0xFF);
}

// The time-base value truncated; a value that truncates to nothing counts as absent.
int Truncated(double value, int fallback) {
    return value >= 1 && value < 2147483648.0 ? static_cast<int>(value) : fallback;
}

class MapOutForHTK : public ModuleBase {
  public:
    MapOutForHTK(Map* source, std::string name, Interface* home)
        : source_(source), name_(std::move(name)), time_(home) {
        source_->AddRef();
    }
    ~MapOutForHTK() override { source_->Release(); }

    int Process() override {
        int frames = std::max(source_->frames, 0), bands = std::max(source_->bands, 0);
        // The header keeps the vector size in 16 bits: wider maps cannot be written.
        if (bands * 4 > 32767) {
            report("MapOutForHTK: %d bands do not fit a parameter file", bands);
            return 0;
        }
        double framedist = Truncated(time_.FrameDist(64), 64);
        double sps = Truncated(time_.Sps(22050), 22050);
        std::string file;
        Put(file, static_cast<uint32_t>(frames), 4);
        // Saturated: a script's time base must not convert a float out of range.
        double period = std::min(std::trunc(framedist * 10000000 / sps + 0.5), 2147483647.0);
        Put(file, static_cast<uint32_t>(period), 4);
        Put(file, static_cast<uint32_t>(bands * 4), 2);
        Put(file, kUserKind, 2);
        for (int f = 0; f < frames; ++f)
            for (int b = 0; b < bands; ++b) {
                uint32_t bits;
                std::memcpy(&bits, &source_->data[static_cast<size_t>(b) * frames + f], 4);
                Put(file, bits, 4);
            }
        talvik::WriteWholeFile("MapOutForHTK", name_ + ".par", file);
        return 0;
    }

  private:
    Map* source_;
    std::string name_;
    TimeBase time_;
};
} // namespace

Interface* NewMapOutForHTK(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 2);
    auto map = args.Get<Map>(0, "Map");
    if (!map) {
        report("MapOutForHTK: First parameter error");
        return nullptr;
    }
    std::string name;
    if (auto input = args.Get<Input>(1, "Input")) name = InputText(input.get());
    if (name.size() > kMaxFileName) name.resize(kMaxFileName);
    auto* out = new MapOutForHTK(map.get(), name, context);
    Hold self(out);
    out->Link(args.At(0));
    return out;
}
