// The camera mirror: a control that shows the frames of a camera source (LxCameraSource.h)
// scaled into its display rectangle of the drawing surface, upside-down-corrected and,
// when g_bMirror is set, mirrored, with the driver's letter display drawn over them.
// Frames arrive on the source's thread and wait in a frame slot; the window thread
// draws the newest one when the frame event (CameraFrameEvent) wakes it, so the drawing
// surface is only ever drawn from the window thread. In video mode the frames fill the
// top-left 640 x 480 of the drawing surface instead. Only one camera exists: a new one
// replaces g_pCamera.
#pragma once
#include <SDL.h>

#include <atomic>
#include <memory>
#include <string>

#include "media/LxCameraSource.h"
#include "ui/LxControl.h"

class CLxCamera : public CLxControl {
  public:
    enum State { kNoDevice = 0, kStopped = 1, kRunning = 3 };
    // Before a device gives its size.
    static constexpr int kInitialWidth = 358, kInitialHeight = 240;
    static constexpr RECT kInitialDisplay = {100, 200, 458, 440};
    static constexpr RECT kVideoArea = {0, 0, 640, 480};

    // One rectangle, relative to the group. The source defaults to LEXORA_CAMERA's.
    explicit CLxCamera(const Descriptor* descriptor);
    CLxCamera(const Descriptor* descriptor, std::unique_ptr<ILxCameraSource> source);
    ~CLxCamera() override;

    // The frames draw themselves.
    void Draw() override {}
    // Moves or resizes the source rectangle with the arrow keys and keypad plus/minus.
    void OnKeyUp(CLxKeyEvent* event) override;

    // Starts or stops the frames; 0 without a device, else 1.
    int SetRunning(bool run);
    void SetSourceRect(int left, int top, int right, int bottom);
    // In group coordinates; the frames go to the rectangle moved by the group origin.
    void SetDisplayRect(int left, int top, int right, int bottom);
    // Sets g_bMirror and has the device (or, when it cannot, the camera) mirror.
    void SetMirror(bool mirror);
    // Draws the newest frame, if one came since the last, and presents; on the window
    // thread only. True when a frame was drawn.
    bool DrawPendingFrame();

    int m_nState = kNoDevice;
    int m_nFrameWidth = kInitialWidth, m_nFrameHeight = kInitialHeight;
    RECT m_rcSource = {0, 0, kInitialWidth, kInitialHeight};
    RECT m_rcDisplay = kInitialDisplay; // drawing-surface coordinates
    // Why there is no device, when there is none.
    std::string m_message;

  private:
    void OpenSource();

    std::unique_ptr<ILxCameraSource> m_source;
    CLxFrameSlot m_slot;
    LxCameraFrame m_frame; // the window thread's
    bool m_bDeviceMirrors = false;
};

extern CLxCamera* g_pCamera;
extern int g_bMirror;
// Frames delivered by any camera source in this run.
extern std::atomic<int> g_nCameraFrames;

// The SDL event type that tells the window thread a camera frame waits.
Uint32 CameraFrameEvent();
// The window thread's answer to that event.
void DrawCameraFrame();
