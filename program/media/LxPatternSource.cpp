// The test-pattern and file camera source; see LxPatternSource.h.
#include "media/LxPatternSource.h"

#include <SDL.h>

#include <algorithm>

#include "media/LxCameraFrame.h"

namespace {
constexpr int kSquareSize = 32;
constexpr int kSquareStep = 8;
} // namespace

CLxPatternSource::CLxPatternSource(std::string path) : m_path(std::move(path)) {}

CLxPatternSource::~CLxPatternSource() {
    Stop();
}

bool CLxPatternSource::Open(std::string* message) {
    if (m_path.empty()) {
        m_nWidth = kWidth;
        m_nHeight = kHeight;
        return true;
    }
    SDL_Surface* loaded = SDL_LoadBMP(m_path.c_str());
    SDL_Surface* picture =
        loaded ? SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB888, 0) : nullptr;
    SDL_FreeSurface(loaded);
    if (!picture) {
        *message = "Camera: cannot read the frames of " + m_path;
        return false;
    }
    m_nWidth = picture->w;
    m_nHeight = picture->h;
    m_picture.resize(static_cast<size_t>(m_nWidth) * m_nHeight);
    for (int y = 0; y < m_nHeight; ++y) {
        const auto* row = reinterpret_cast<const uint8_t*>(picture->pixels) + y * picture->pitch;
        std::copy_n(reinterpret_cast<const uint32_t*>(row), m_nWidth,
                    m_picture.begin() + y * m_nWidth);
    }
    SDL_FreeSurface(picture);
    return true;
}

void CLxPatternSource::DrawPattern(int n, uint32_t* pixels) {
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            bool top = y < kHeight / 2, left = x < kWidth / 2;
            pixels[y * kWidth + x] =
                top ? (left ? kTopLeft : kTopRight) : (left ? kBottomLeft : kBottomRight);
        }
    int left = (n * kSquareStep) % (kWidth - kSquareSize), top = (kHeight - kSquareSize) / 2;
    for (int y = top; y < top + kSquareSize; ++y)
        std::fill_n(pixels + y * kWidth + left, kSquareSize, kSquare);
}

void CLxPatternSource::MakeFrame(int n, LxCameraFrame* frame) const {
    frame->nWidth = m_nWidth;
    frame->nHeight = m_nHeight;
    frame->bBottomUp = true;
    frame->pixels.resize(static_cast<size_t>(m_nWidth) * m_nHeight);
    if (m_picture.empty())
        DrawPattern(n, frame->pixels.data());
    else
        std::copy(m_picture.begin(), m_picture.end(), frame->pixels.begin());
    FlipRows(frame->pixels.data(), m_nWidth, m_nHeight);
}

bool CLxPatternSource::Start(CLxFrameSlot* slot, FrameDone onFrame) {
    if (m_nWidth == 0) return false;
    if (m_thread.joinable()) return true;
    m_bStop = false;
    m_thread = std::thread(&CLxPatternSource::Run, this, slot, std::move(onFrame));
    return true;
}

void CLxPatternSource::Stop() {
    if (!m_thread.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bStop = true;
    }
    m_stopped.notify_all();
    m_thread.join();
}

void CLxPatternSource::Run(CLxFrameSlot* slot, FrameDone onFrame) {
    for (int n = 0;; ++n) {
        MakeFrame(n, &slot->Back());
        bool wake = slot->Publish();
        if (onFrame) onFrame(wake);
        std::unique_lock<std::mutex> lock(m_mutex);
        if (m_stopped.wait_for(lock, std::chrono::milliseconds(kFrameMs),
                               [this] { return m_bStop; }))
            return;
    }
}
