// The choice of camera source and the source of a machine without camera; see
// LxCameraSource.h.
#include "media/LxCameraSource.h"

#include <cstdlib>
#include <cstring>

#include "media/LxPatternSource.h"
#include "media/LxV4L2Source.h"

namespace {
class CLxNoCameraSource : public ILxCameraSource {
  public:
    bool Open(std::string* message) override {
        *message = kNoCameraMessage;
        return false;
    }
    int Width() const override { return 0; }
    int Height() const override { return 0; }
    bool SetMirror(bool) override { return false; }
    bool Start(CLxFrameSlot*, FrameDone) override { return false; }
    void Stop() override {}
};
} // namespace

std::unique_ptr<ILxCameraSource> MakeNoCameraSource() {
    return std::make_unique<CLxNoCameraSource>();
}

std::unique_ptr<ILxCameraSource> MakeCameraSource() {
    const char* choice = std::getenv(kCameraVariable);
    if (!choice) return std::make_unique<CLxV4L2Source>();
    if (std::strcmp(choice, kCameraNone) == 0) return MakeNoCameraSource();
    if (std::strcmp(choice, kCameraPattern) == 0) return std::make_unique<CLxPatternSource>("");
    size_t prefix = std::strlen(kCameraFilePrefix);
    if (std::strncmp(choice, kCameraFilePrefix, prefix) == 0)
        return std::make_unique<CLxPatternSource>(choice + prefix);
    return std::make_unique<CLxV4L2Source>();
}
