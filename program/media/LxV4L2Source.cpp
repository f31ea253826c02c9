// The V4L2 camera source; see LxV4L2Source.h.
#include "media/LxV4L2Source.h"

#include <fcntl.h>
#include <linux/videodev2.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {
constexpr int kMaxNodes = 64;
constexpr int kWantedWidth = 640, kWantedHeight = 480;
constexpr int kFastestRate = 60, kSlowestRate = 15, kRateStep = 5;
constexpr int kBufferCount = 4;
constexpr int kPollMs = 100;
constexpr uint32_t kFormats[] = {V4L2_PIX_FMT_BGR24, V4L2_PIX_FMT_RGB24, V4L2_PIX_FMT_YUYV};

// An ioctl that is tried again when a signal interrupts it.
int Control(int fd, unsigned long request, void* arg) {
    int result;
    do
        result = ioctl(fd, request, arg);
    while (result == -1 && errno == EINTR);
    return result;
}
} // namespace

CLxV4L2Source::CLxV4L2Source(std::string nodePattern) : m_nodePattern(std::move(nodePattern)) {}

CLxV4L2Source::~CLxV4L2Source() {
    Stop();
    Close();
}

bool CLxV4L2Source::OpenFirstDevice() {
    for (int i = 0; i < kMaxNodes; ++i) {
        char node[256];
        std::snprintf(node, sizeof node, m_nodePattern.c_str(), i);
        int fd = open(node, O_RDWR | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        v4l2_capability caps{};
        uint32_t wanted = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING;
        if (Control(fd, VIDIOC_QUERYCAP, &caps) == 0) {
            uint32_t have =
                caps.capabilities & V4L2_CAP_DEVICE_CAPS ? caps.device_caps : caps.capabilities;
            if ((have & wanted) == wanted) {
                m_fd = fd;
                return true;
            }
        }
        close(fd);
    }
    return false;
}

bool CLxV4L2Source::SetFormat(std::string* message) {
    for (uint32_t pixelFormat : kFormats) {
        v4l2_format format{};
        format.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        format.fmt.pix.width = kWantedWidth;
        format.fmt.pix.height = kWantedHeight;
        format.fmt.pix.pixelformat = pixelFormat;
        format.fmt.pix.field = V4L2_FIELD_NONE;
        if (Control(m_fd, VIDIOC_S_FMT, &format) != 0 || format.fmt.pix.pixelformat != pixelFormat)
            continue;
        m_nFormat = pixelFormat;
        m_nWidth = static_cast<int>(format.fmt.pix.width);
        m_nHeight = static_cast<int>(format.fmt.pix.height);
        m_nPitch = static_cast<int>(format.fmt.pix.bytesperline);
        int bytes = pixelFormat == V4L2_PIX_FMT_YUYV ? 2 : 3;
        if (m_nPitch < m_nWidth * bytes) m_nPitch = m_nWidth * bytes;
        return true;
    }
    *message = "Camera: the video capture device offers neither RGB nor YUYV frames";
    return false;
}

// The first rate from the fastest down that the device takes as asked; a device that
// takes none keeps its own.
void CLxV4L2Source::SetFrameRate() {
    for (int rate = kFastestRate; rate >= kSlowestRate; rate -= kRateStep) {
        v4l2_streamparm parm{};
        parm.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        parm.parm.capture.timeperframe = {1, static_cast<uint32_t>(rate)};
        if (Control(m_fd, VIDIOC_S_PARM, &parm) != 0) return;
        const v4l2_fract& got = parm.parm.capture.timeperframe;
        if (got.numerator == 0 || got.denominator == 0) return;
        if (got.denominator == static_cast<uint32_t>(rate) * got.numerator) {
            m_nFrameTime = 10000000L / rate;
            std::printf("AvgTimePerFrame = %ld\n", m_nFrameTime);
            return;
        }
    }
}

bool CLxV4L2Source::MapBuffers(std::string* message) {
    v4l2_requestbuffers request{};
    request.count = kBufferCount;
    request.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    request.memory = V4L2_MEMORY_MMAP;
    if (Control(m_fd, VIDIOC_REQBUFS, &request) != 0 || request.count == 0) {
        *message = "Camera: the video capture device gives no frame buffers";
        return false;
    }
    for (uint32_t i = 0; i < request.count; ++i) {
        v4l2_buffer buffer{};
        buffer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        buffer.memory = V4L2_MEMORY_MMAP;
        buffer.index = i;
        if (Control(m_fd, VIDIOC_QUERYBUF, &buffer) != 0) break;
        void* start =
            mmap(nullptr, buffer.length, PROT_READ | PROT_WRITE, MAP_SHARED, m_fd, buffer.m.offset);
        if (start == MAP_FAILED) break;
        m_buffers.push_back({start, buffer.length});
    }
    if (m_buffers.size() == request.count) return true;
    *message = "Camera: cannot map the frame buffers of the video capture device";
    return false;
}

bool CLxV4L2Source::Open(std::string* message) {
    if (m_fd >= 0) return true;
    if (!OpenFirstDevice()) {
        *message = kNoCameraMessage;
        return false;
    }
    if (!SetFormat(message)) {
        Close();
        return false;
    }
    SetFrameRate();
    if (!MapBuffers(message)) {
        Close();
        return false;
    }
    return true;
}

bool CLxV4L2Source::SetMirror(bool mirror) {
    if (m_fd < 0) return false;
    v4l2_control control{V4L2_CID_HFLIP, mirror ? 1 : 0};
    return Control(m_fd, VIDIOC_S_CTRL, &control) == 0;
}

void CLxV4L2Source::Close() {
    for (const Buffer& buffer : m_buffers)
        munmap(buffer.start, buffer.length);
    m_buffers.clear();
    if (m_fd >= 0) close(m_fd);
    m_fd = -1;
}

bool CLxV4L2Source::Start(CLxFrameSlot* slot, FrameDone onFrame) {
    if (m_fd < 0) return false;
    if (m_thread.joinable()) return true;
    for (uint32_t i = 0; i < m_buffers.size(); ++i) {
        v4l2_buffer buffer{};
        buffer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        buffer.memory = V4L2_MEMORY_MMAP;
        buffer.index = i;
        if (Control(m_fd, VIDIOC_QBUF, &buffer) != 0) return false;
    }
    int type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (Control(m_fd, VIDIOC_STREAMON, &type) != 0) {
        std::printf("Couldn't render capture stream.  The device may already be in use.\n");
        return false;
    }
    m_bStop = false;
    m_thread = std::thread(&CLxV4L2Source::Run, this, slot, std::move(onFrame));
    return true;
}

void CLxV4L2Source::Stop() {
    if (!m_thread.joinable()) return;
    m_bStop = true;
    m_thread.join();
    int type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    Control(m_fd, VIDIOC_STREAMOFF, &type); // also returns every buffer to the application
}

void CLxV4L2Source::Convert(const uint8_t* data, LxCameraFrame* frame) const {
    frame->nWidth = m_nWidth;
    frame->nHeight = m_nHeight;
    frame->bBottomUp = false;
    frame->pixels.resize(static_cast<size_t>(m_nWidth) * m_nHeight);
    uint32_t* out = frame->pixels.data();
    if (m_nFormat == V4L2_PIX_FMT_BGR24)
        ConvertBGR24(data, m_nWidth, m_nHeight, m_nPitch, out);
    else if (m_nFormat == V4L2_PIX_FMT_RGB24)
        ConvertRGB24(data, m_nWidth, m_nHeight, m_nPitch, out);
    else
        ConvertYUYV(data, m_nWidth, m_nHeight, m_nPitch, out);
}

void CLxV4L2Source::Run(CLxFrameSlot* slot, FrameDone onFrame) {
    pollfd waiting{m_fd, POLLIN, 0};
    while (!m_bStop) {
        if (poll(&waiting, 1, kPollMs) <= 0) continue;
        v4l2_buffer buffer{};
        buffer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        buffer.memory = V4L2_MEMORY_MMAP;
        if (Control(m_fd, VIDIOC_DQBUF, &buffer) != 0) {
            if (errno == EAGAIN) continue;
            return; // the device went away
        }
        size_t needed = static_cast<size_t>(m_nPitch) * m_nHeight;
        if (buffer.index < m_buffers.size() && buffer.bytesused >= needed) {
            Convert(static_cast<const uint8_t*>(m_buffers[buffer.index].start), &slot->Back());
            bool wake = slot->Publish();
            if (onFrame) onFrame(wake);
        }
        Control(m_fd, VIDIOC_QBUF, &buffer);
    }
}
