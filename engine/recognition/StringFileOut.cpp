// StringFileOut(source, name): writes each text its source produces to a file, one
// line per text; empty texts write nothing. The file is created (an existing one is
// replaced) when the object is made and closed when it goes; each line is flushed at
// once. A file that cannot be created gives no object.
#include <cstdio>
#include <string>

#include "core/Arguments.h"
#include "core/Hold.h"
#include "core/ModuleBase.h"
#include "core/Path.h"
#include "core/Report.h"
#include "recognition/SourceText.h"

namespace {
constexpr size_t kMaxFileName = 1023;
// A single text larger than this is cut: the writer keeps no unbounded copy.
constexpr size_t kMaxText = 1 << 20;

class StringFileOut : public ModuleBase {
  public:
    StringFileOut(Input* source, FILE* file) : source_(source), file_(file) { source_->AddRef(); }
    ~StringFileOut() override {
        std::fclose(file_);
        source_->Release();
    }

    int Process() override {
        std::string text;
        if (!talvik::SourceText(source_, &text, kMaxText) || text.empty()) return 0;
        text += '\n';
        std::fwrite(text.data(), 1, text.size(), file_);
        std::fflush(file_);
        return 0;
    }

  private:
    Input* source_;
    FILE* file_;
};
} // namespace

Interface* NewStringFileOut(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 2);
    auto source = args.Get<Input>(0, "Input");
    if (!source) {
        report("StringFileOut: First parameter must be 'Input' Interface");
        return nullptr;
    }
    std::string name;
    if (!args.GetText(1, &name)) {
        report("StringFileOut: Second parameter must be 'Input' Interface");
        return nullptr;
    }
    name.resize(std::min(name.size(), kMaxFileName));
    FILE* file = std::fopen(talvik::OsPath(name, false).c_str(), "wb");
    if (!file) {
        report("StringFileOut: Cannot open '%s' for writing", name.c_str());
        return nullptr;
    }
    auto* out = new StringFileOut(source.get(), file);
    Hold self(out);
    out->Link(args.At(0));
    return out;
}
