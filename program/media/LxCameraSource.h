// Where the camera's frames come from. A source opens the first capture device, sets
// its format and, while started, delivers frames into a frame slot from a thread of its
// own, and after each frame calls back with whether the window thread had taken the
// frame before (so that it needs waking for the new one). Three
// sources exist: the machine's video capture device (V4L2), no camera at all, and a
// test source that plays a moving pattern or a bitmap file; LEXORA_CAMERA chooses
// ("none", "pattern", "file:<path>"; unset or anything else: the device).
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "media/LxCameraFrame.h"

class ILxCameraSource {
  public:
    using FrameDone = std::function<void(bool wake)>;

    virtual ~ILxCameraSource() = default;
    // Opens the device and sets its format (640 x 480 preferred, the highest rate of 60
    // down to 15 frames a second); false with the reason in message.
    virtual bool Open(std::string* message) = 0;
    // The frame size after Open.
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Asks the device to mirror its picture; false when it cannot (the camera then
    // mirrors the frames itself).
    virtual bool SetMirror(bool mirror) = 0;
    // Starts delivering frames into slot; false when it cannot run.
    virtual bool Start(CLxFrameSlot* slot, FrameDone onFrame) = 0;
    // Stops the thread; no frame arrives after it returns.
    virtual void Stop() = 0;
};

// The environment variable that chooses the source, and its values.
constexpr const char* kCameraVariable = "LEXORA_CAMERA";
constexpr const char* kCameraNone = "none";
constexpr const char* kCameraPattern = "pattern";
constexpr const char* kCameraFilePrefix = "file:";
// The message of a machine without a capture device.
constexpr const char* kNoCameraMessage =
    "No video capture device such as a USB WebCam was detected.\r\n\r\nNo Video Capture Hardware";

// The source that LEXORA_CAMERA chooses.
std::unique_ptr<ILxCameraSource> MakeCameraSource();
// A source that never has a device.
std::unique_ptr<ILxCameraSource> MakeNoCameraSource();
