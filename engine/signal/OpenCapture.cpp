// Chooses the capture MicIn polls; see Capture.h.
#include <cstdlib>
#include <cstring>

#include "core/Path.h"
#include "signal/Capture.h"
#include "signal/WavTool.h"

namespace {
CaptureOpener g_opener = nullptr;

// A WAV file at the engine's capture format, as 16-bit samples.
std::unique_ptr<Capture> FromFile(const std::string& path, std::string* problem) {
    FILE* file = talvik::OpenRegularFile(talvik::OsPath(path, true), 64 << 20);
    if (!file) {
        *problem = "cannot open " + path;
        return nullptr;
    }
    std::string bytes;
    char chunk[65536];
    while (size_t n = std::fread(chunk, 1, sizeof chunk, file))
        bytes.append(chunk, n);
    std::fclose(file);
    wav::Format format;
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    if (!wav::Parse(data, bytes.size(), bytes.size(), &format) || format.bytesPerSample != 2 ||
        format.sps != Capture::kSps) {
        *problem = path + " is not a mono 16-bit WAV file at 22050 samples per second";
        return nullptr;
    }
    std::vector<float> converted(static_cast<size_t>(format.samples));
    wav::Convert(data + format.dataOffset, format, static_cast<int32_t>(format.samples),
                 converted.data());
    return NewFedCapture(std::vector<int16_t>(converted.begin(), converted.end()), nullptr);
}
} // namespace

std::unique_ptr<Capture> OpenCapture(std::string* problem) {
    if (g_opener) return g_opener(problem);
    const char* choice = std::getenv("TALVIK_CAPTURE");
    if (!choice || !*choice) return NewSdlCapture(problem);
    if (!std::strncmp(choice, "file:", 5)) return FromFile(choice + 5, problem);
    *problem = std::string("TALVIK_CAPTURE=") + choice + " names no capture";
    return nullptr;
}

CaptureOpener SetCaptureOpener(CaptureOpener opener) {
    CaptureOpener previous = g_opener;
    g_opener = opener;
    return previous;
}
