// The camera source for tests and for machines without a camera: 30 frames a second of
// a moving test pattern (640 x 480), or of a bitmap file, from a thread of its own. Its
// frames come bottom-up, as a bottom-up capture device gives them, so the camera's
// upside-down correction runs on them. The pattern's four quarters differ (top red and
// blue, bottom green and yellow, left to right), so a picture of it shows whether it
// was drawn turned or mirrored; a white square moves along its middle.
#pragma once
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "media/LxCameraSource.h"

class CLxPatternSource : public ILxCameraSource {
  public:
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 480;
    static constexpr int kFrameMs = 33;
    static constexpr uint32_t kTopLeft = 0xC00000, kTopRight = 0x0000C0;
    static constexpr uint32_t kBottomLeft = 0x00C000, kBottomRight = 0xC0C000;
    static constexpr uint32_t kSquare = 0xFFFFFF;

    // An empty path plays the pattern.
    explicit CLxPatternSource(std::string path);
    ~CLxPatternSource() override;

    bool Open(std::string* message) override;
    int Width() const override { return m_nWidth; }
    int Height() const override { return m_nHeight; }
    bool SetMirror(bool) override { return false; }
    bool Start(CLxFrameSlot* slot, FrameDone onFrame) override;
    void Stop() override;

    // Frame n of the pattern, top-down, into pixels (kWidth x kHeight).
    static void DrawPattern(int n, uint32_t* pixels);

  private:
    void Run(CLxFrameSlot* slot, FrameDone onFrame);
    void MakeFrame(int n, LxCameraFrame* frame) const;

    std::string m_path;
    int m_nWidth = 0, m_nHeight = 0;
    std::vector<uint32_t> m_picture; // the file's picture, top-down
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_stopped;
    bool m_bStop = false;
};
