// WavFileOut(source, name): writes the source's current block to a WAV file each time
// it runs. The name Input is read once per run; at most 255 characters of it are
// used, cut at the first "." of its last path component (rec.take1 gives rec.wav,
// while ./rec and dir.v2/rec keep their folders), and ".wav" is appended. An existing
// file is replaced.
#include <cstdio>
#include <string>

#include "Input.h"
#include "core/Arguments.h"
#include "core/Hold.h"
#include "core/Path.h"
#include "core/Report.h"
#include "signal/WavWriter.h"

namespace {
class WavFileOut : public WavWriter {
  public:
    WavFileOut(SoundBuffer* source, Input* name) : WavWriter(source), name_(name) {
        name_->AddRef();
    }
    ~WavFileOut() override { name_->Release(); }

  protected:
    void Deliver(const std::string& image) override {
        int size = 0, kind = 0;
        const char* text = name_->Read(&size, &kind);
        if (!text || size < 0) return;
        std::string file = talvik::ReplaceExtension(std::string(text, std::min(size, 255)), ".wav");
        FILE* f = std::fopen(talvik::OsPath(file, false).c_str(), "wb");
        if (!f) {
            report("WavFileOut: File Open Error : %s", file.c_str());
            return;
        }
        std::fwrite(image.data(), 1, image.size(), f);
        std::fclose(f);
    }

  private:
    Input* name_;
};
} // namespace

Interface* NewWavFileOut(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 2);
    auto source = args.Get<SoundBuffer>(0, "SoundBuffer");
    if (!source) {
        report("WavFileOut: First parameter must be 'SoundBuffer' Interface");
        return nullptr;
    }
    auto name = args.Get<Input>(1, "Input");
    if (!name) {
        report("WavFileOut: Second parameter must be 'Input' Interface");
        return nullptr;
    }
    auto* out = new WavFileOut(source.get(), name.get());
    Hold self(out);
    out->Link(args.At(0));
    out->Link(args.At(1));
    return out;
}
