// MapFileOut(map, name, p, r, o, q): writes the map's current block as a BMP picture
// at every run, grey or (with all four numbers) in colour; see MapPicture.h. The name
// is read once, at most 255 characters, and cut at the first "_" or "." of its last
// path component that follows another character; runs then write name.bmp,
// name_01.bmp, name_02.bmp and so on. A picture that cannot be written is reported
// and leaves no partial file.
#include <cstdio>
#include <string>

#include "Input.h"
#include "core/Arguments.h"
#include "core/File.h"
#include "core/Hold.h"
#include "core/ModuleBase.h"
#include "core/Report.h"
#include "core/WholeFile.h"
#include "signal/MapArguments.h"
#include "signal/MapPicture.h"

namespace {
constexpr size_t kMaxFileName = 255;

std::string Stem(std::string name) {
    size_t slash = name.find_last_of("\\/");
    size_t start = slash == std::string::npos ? 0 : slash + 1;
    size_t cut = name.find_first_of("_.", start + 1);
    if (cut != std::string::npos) name.resize(cut);
    return name;
}

class MapFileOut : public ModuleBase {
  public:
    MapFileOut(Map* source, std::string stem, const PictureScale& scale)
        : source_(source), stem_(std::move(stem)), scale_(scale) {
        source_->AddRef();
    }
    ~MapFileOut() override { source_->Release(); }

    int Process() override {
        char suffix[32] = ".bmp";
        if (runs_ > 0) std::snprintf(suffix, sizeof suffix, "_%02d.bmp", runs_);
        ++runs_;
        talvik::WriteWholeFile("MapFileOut", stem_ + suffix, BmpFile(RenderMap(*source_, scale_)));
        return 0;
    }

  private:
    Map* source_;
    std::string stem_;
    PictureScale scale_;
    int runs_ = 0;
};
} // namespace

Interface* NewMapFileOut(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 6);
    auto map = args.Get<Map>(0, "Map");
    if (!map) {
        report("MapFileOut: First parameter error");
        return nullptr;
    }
    // A name that is not an Input gives an empty name, as an empty text would.
    std::string name;
    if (auto input = args.Get<Input>(1, "Input")) name = InputText(input.get());
    if (name.size() > kMaxFileName) name.resize(kMaxFileName);
    auto* out = new MapFileOut(map.get(), Stem(name), ReadPictureScale(args, 2));
    Hold self(out);
    out->Link(args.At(0));
    return out;
}
