// SpecTextIn(text, rate): a sound buffer read from sample values written as text.
// Each Process rewinds the text, reads one chunk and splits it at blanks, commas, tabs
// and line feeds; every token becomes a sample (text that is no number gives 0).
// Values past the 100,000-sample array are dropped with a message.
#include <cstdlib>
#include <string>

#include "core/Arguments.h"
#include "core/Report.h"
#include "signal/SampleBuffer.h"

namespace {
constexpr int32_t kSamples = 100000;

class SpecTextIn : public SampleBuffer {
  public:
    SpecTextIn(Input* text, int32_t rate) : SampleBuffer(kSamples), text_(text) {
        text_->AddRef();
        sps = rate;
        length = 0;
    }
    ~SpecTextIn() override { text_->Release(); }

    int Process() override {
        text_->Rewind();
        int size = 0, kind = 0;
        const char* chunk = text_->Read(&size, &kind);
        std::string text = chunk && size > 0 ? std::string(chunk, size) : std::string();
        int32_t stored = 0;
        size_t at = text.find_first_not_of(" ,\t\n");
        while (at != std::string::npos) {
            size_t end = text.find_first_of(" ,\t\n", at);
            if (stored == capacity) {
                report("SpecTextIn: More than %d samples, the rest dropped", capacity);
                break;
            }
            std::string token = text.substr(at, end == std::string::npos ? end : end - at);
            data[stored++] = std::strtof(token.c_str(), nullptr);
            at = end == std::string::npos ? end : text.find_first_not_of(" ,\t\n", end);
        }
        length = stored;
        return 0;
    }

  private:
    Input* text_;
};
} // namespace

Interface* NewSpecTextIn(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 2);
    auto text = args.Get<Input>(0, "Input");
    if (!text) {
        report("SpecTextIn: First parameter error");
        return nullptr;
    }
    double rate = 0;
    if (!args.GetNumber(1, &rate) || !(rate >= 0) || rate > 2147483647.0) {
        report("SpecTextIn: Parameter error");
        return nullptr;
    }
    auto* input = new SpecTextIn(text.get(), static_cast<int32_t>(rate));
    return input;
}
