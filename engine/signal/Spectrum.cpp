// The short-time spectrum; see Spectrum.h. The factory refuses what would divide by
// zero or size arrays wrongly: L and H below 1, H above L (the next frame would start
// past a block's end, beyond what the tail can carry), N not a power of two in
// 8 ... 65536, L above 65536, unknown windows, and outputs over 2^28 values. The output is sized
// for the largest block the source can deliver plus one frame of tail; a source that grows past
// that has its extra frames of the block dropped.
#include "signal/Spectrum.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/Arguments.h"
#include "core/Hold.h"
#include "core/Report.h"
#include "signal/Window.h"

namespace {
constexpr int kMaxSize = 65536;
// The largest output array (frames x bands) a script may ask for.
constexpr int64_t kMaxValues = int64_t{1} << 28;
} // namespace

Spectrum::Spectrum(SoundBuffer* source, int frameLength, int hop, int size, int window)
    : source_(source), frameLength_(frameLength), hop_(hop), fft_(size),
      window_(MakeWindow(window, frameLength)), frame_(size), bandsOut_(size / 2 + 1),
      tail_(2 * frameLength) {
    source_->AddRef();
    bands = size / 2 + 1;
    int64_t sourceSamples = std::max(source_->capacity, 0);
    maxFrames_ = static_cast<int>((sourceSamples + frameLength - 1) / hop + 1);
    Map::capacity = bands * maxFrames_;
    values_ = MakeZeroed<float>(Map::capacity);
    Map::data = values_.get();
    frames = maxFrames_; // for consumers that size themselves from a fresh spectrum
    frameDist_ = AddProperty("framedist", hop);
    rate_ = AddProperty("sps", source_->sps);
}

Spectrum::~Spectrum() {
    source_->Release();
    frameDist_->Release();
    rate_->Release();
}

void* Spectrum::GetInterface(const char* name) {
    if (!std::strcmp(name, "ClusterBound")) {
        AddRef();
        return static_cast<ClusterBound*>(this);
    }
    if (!std::strcmp(name, "Map")) {
        AddRef();
        return static_cast<Map*>(this);
    }
    return ModuleBase::GetInterface(name);
}

void Spectrum::Analyse(const float* at, int available, int f, int frameCount) {
    int n = fft_.Size();
    int used = std::clamp(std::min(frameLength_, n), 0, std::max(available, 0));
    for (int j = 0; j < used; ++j)
        frame_[j] = window_[j] * at[j];
    std::fill(frame_.begin() + used, frame_.end(), 0.0f);
    fft_.Magnitudes(frame_.data(), bandsOut_.data());
    for (int k = 0; k < bands; ++k)
        Map::data[k * frameCount + f] = bandsOut_[k];
}

int Spectrum::Process() {
    const float* d = source_->data;
    int n = d ? std::max(source_->length, 0) : 0;
    int t = tailCount_, e = source_->complete == 1, total = t + n;
    Map::complete = ClusterBound::complete = source_->complete;
    int reach = total - (e ? 0 : frameLength_); // the last start a frame may have
    int starts = reach < 0 ? 0 : reach / hop_ + 1;
    int stored = std::min(starts, maxFrames_);
    frames = stored;
    if (t > 0) {
        int appended = std::min(n, frameLength_);
        std::copy(d, d + appended, tail_.begin() + t);
    }
    for (int f = 0; f < stored; ++f) {
        int s = f * hop_;
        Analyse(s < t ? tail_.data() + s : d + (s - t), total - s, f, stored);
    }
    ClusterBound::count += stored;
    if (e) {
        tailCount_ = 0;
    } else {
        // Fewer than L samples remain from the next start on (H <= L).
        int next = starts * hop_;
        tailCount_ = total - next;
        if (next < t)
            std::memmove(tail_.data(), tail_.data() + next, tailCount_ * sizeof(float));
        else
            std::copy(d + (next - t), d + n, tail_.begin());
    }
    int sps = source_->sps;
    frameMs = sps > 0 ? static_cast<float>(hop_) * 1000.0f / static_cast<float>(sps) : 0.0f;
    frameDist_->value = hop_;
    rate_->value = sps;
    return 0;
}

Interface* NewSpectrum(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 5);
    auto source = args.Get<SoundBuffer>(0, "SoundBuffer");
    if (!source) {
        report("Spectrum: First parameter must be 'SoundBuffer' Interface");
        return nullptr;
    }
    double v[4];
    bool ok = true;
    for (int i = 0; i < 4; ++i)
        ok = ok && args.GetNumber(i + 1, &v[i]) && v[i] > -1 && v[i] < kMaxSize + 1;
    int length = ok ? static_cast<int>(v[0]) : 0, hop = ok ? static_cast<int>(v[1]) : 0;
    int size = ok ? static_cast<int>(v[2]) : 0, window = ok ? static_cast<int>(v[3]) : -1;
    int64_t frames =
        hop < 1 ? 0 : (static_cast<int64_t>(std::max(source->capacity, 0)) + length - 1) / hop + 1;
    if (length < 1 || hop < 1 || hop > length || size < 8 || (size & (size - 1)) || window < 0 ||
        window >= kWindowTypes || frames * (size / 2 + 1) > kMaxValues) {
        report("Spectrum: Parameter error");
        return nullptr;
    }
    auto* spectrum = new Spectrum(source.get(), length, hop, size, window);
    Hold self(spectrum);
    spectrum->Link(args.At(0));
    return spectrum;
}
