// WavOutput(source, out): sends the source's current block as a WAV image to an
// Output (typed "audio/x-wav", for the web terminal) each time it runs.
#include <string>

#include "Output.h"
#include "core/Arguments.h"
#include "core/Hold.h"
#include "core/Report.h"
#include "signal/WavWriter.h"

namespace {
class WavOutput : public WavWriter {
  public:
    WavOutput(SoundBuffer* source, Output* out) : WavWriter(source), out_(out) { out_->AddRef(); }
    ~WavOutput() override { out_->Release(); }

  protected:
    void Deliver(const std::string& image) override {
        out_->SetContentType("audio/x-wav");
        out_->Write(image.data(), static_cast<int>(image.size()));
    }

  private:
    Output* out_;
};
} // namespace

Interface* NewWavOutput(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 2);
    auto source = args.Get<SoundBuffer>(0, "SoundBuffer");
    if (!source) {
        report("WavOutput: First parameter must be 'SoundBuffer' Interface");
        return nullptr;
    }
    auto out = args.Get<Output>(1, "Output");
    if (!out) {
        report("WavOutput: Second parameter must be 'Output' Interface");
        return nullptr;
    }
    auto* writer = new WavOutput(source.get(), out.get());
    Hold self(writer);
    writer->Link(args.At(0));
    return writer;
}
