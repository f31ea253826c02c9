// WavFileIn; see WavFileIn.h. The file is read up to a bound that covers the largest
// file the buffer can take (plus room for leading chunks); its real size still
// decides how many samples it has, so a larger file is refused as too large rather
// than loaded in part.
#include "signal/WavFileIn.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "core/Arguments.h"
#include "core/Hold.h"
#include "core/Path.h"
#include "core/Report.h"
#include "core/ZeroedArray.h"
#include "signal/ResetModules.h"
#include "signal/WavTool.h"

namespace {
constexpr size_t kReadLimit = 2 * SampleBuffer::kDefaultCapacity + (1 << 20);

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};
} // namespace

WavFileIn::WavFileIn(Input* name, int32_t silence, Folder* home)
    : name_(name), silence_(silence), home_(home) {
    name_->AddRef();
    if (home_) home_->AddRef();
}

WavFileIn::~WavFileIn() {
    name_->Release();
    if (home_) home_->Release();
}

int WavFileIn::Process() {
    int size = 0, kind = 0;
    const char* text = name_->Read(&size, &kind);
    if (!text || size < 0) return -1;
    if (!Load(std::string(text, size) + ".wav")) return -1;
    ResetModules(home_);
    complete = 1;
    return 0;
}

bool WavFileIn::Load(const std::string& file) {
    std::unique_ptr<FILE, FileCloser> f(
        talvik::OpenRegularFile(talvik::OsPath(file, true), talvik::kMaxDataFile));
    if (!f) {
        report("WavFileIn: File Not Found (%s)", file.c_str());
        return false;
    }
    // Room for the bound, of which only what the file fills is ever touched.
    ZeroedArray<uint8_t> bytes = MakeZeroed<uint8_t>(kReadLimit);
    size_t read = std::fread(bytes.get(), 1, kReadLimit, f.get());
    uint64_t fileSize = read;
    if (read == kReadLimit && std::fseek(f.get(), 0, SEEK_END) == 0) {
        long end = std::ftell(f.get());
        if (end > 0) fileSize = static_cast<uint64_t>(end);
    }
    report("Processing %s", file.c_str());
    wav::Format format;
    if (!wav::Parse(bytes.get(), read, fileSize, &format)) {
        report("WavFileIn: Unimplemented WAV format");
        return false;
    }
    sps = format.sps;
    if (format.samples > capacity) {
        length = capacity;
        report("WavTool: File too large!!! Skipped");
        return false;
    }
    auto n = static_cast<int32_t>(format.samples);
    // Only leading chunks larger than the read bound leave the samples unread.
    if (format.dataOffset + static_cast<size_t>(n) * format.bytesPerSample > read) {
        report("WavFileIn: Unimplemented WAV format");
        return false;
    }
    wav::Convert(bytes.get(), format, n, data);
    int32_t silence = std::min(silence_, capacity - n);
    std::fill(data + n, data + n + silence, 0.0f);
    length = n + silence;
    return true;
}

Interface* NewWavFileIn(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 2);
    auto name = args.Get<Input>(0, "Input");
    if (!name) {
        report("WavFileIn: First parameter must be 'Input' Interface");
        return nullptr;
    }
    double silence = 0;
    if (!args.GetNumber(1, &silence) || !(silence > 0)) silence = 0;
    if (silence > SampleBuffer::kDefaultCapacity) silence = SampleBuffer::kDefaultCapacity;
    Obtained<Folder> home = Obtain<Folder>(context, "Folder");
    auto* in = new WavFileIn(name.get(), static_cast<int32_t>(silence), home.get());
    Hold self(in);
    in->Link(args.At(0));
    return in;
}
