// The machine's video capture device through V4L2, Linux's own camera interface. Open
// takes the first device node (/dev/video0, 1, ...) that captures video by streaming,
// asks for 640 x 480 in 24-bit RGB (BGR or RGB byte order) or else YUYV, and for the
// highest frame rate of 60, 55, ... 15 that the device takes; the frames are mapped
// buffers that a thread of its own dequeues, converts and hands to the frame slot.
#pragma once
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "media/LxCameraSource.h"

class CLxV4L2Source : public ILxCameraSource {
  public:
    // The device nodes tried: pattern with a %d for 0 ... 63.
    explicit CLxV4L2Source(std::string nodePattern = "/dev/video%d");
    ~CLxV4L2Source() override;

    bool Open(std::string* message) override;
    int Width() const override { return m_nWidth; }
    int Height() const override { return m_nHeight; }
    bool SetMirror(bool mirror) override;
    bool Start(CLxFrameSlot* slot, FrameDone onFrame) override;
    void Stop() override;

    // The frame time the device took, in 100 ns units (333333 at 30 frames a second);
    // 0 when it kept its own.
    long FrameTime() const { return m_nFrameTime; }

  private:
    bool OpenFirstDevice();
    bool SetFormat(std::string* message);
    void SetFrameRate();
    bool MapBuffers(std::string* message);
    void Close();
    void Run(CLxFrameSlot* slot, FrameDone onFrame);
    void Convert(const uint8_t* data, LxCameraFrame* frame) const;

    struct Buffer {
        void* start;
        size_t length;
    };

    std::string m_nodePattern;
    int m_fd = -1;
    int m_nWidth = 0, m_nHeight = 0, m_nPitch = 0;
    uint32_t m_nFormat = 0;
    long m_nFrameTime = 0;
    std::vector<Buffer> m_buffers;
    std::thread m_thread;
    std::atomic<bool> m_bStop{false};
};
