// Engine windows on an X11 display; see WindowScreen.h.
//
// One thread of the engine's own holds the X connection and every X window. Engine
// threads only leave requests in a table behind a mutex and wake the thread through
// a pipe: Show adds a view, Update marks it for repainting, Close takes it out of
// the table at once (the thread destroys the X window later). The thread paints,
// and passes clicks and keys to the views, without holding the table's mutex, so a
// view may call into the engine (which may come back to Update) from there.
#include "core/WindowScreen.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/ScreenView.h"
#include "core/X11Display.h"

namespace {
constexpr int kMinSide = 16; // no X window is smaller

// One view as the screen knows it.
struct Shown {
    std::shared_ptr<ScreenView> view; // null once closed
    unsigned long xid = 0;            // 0 until made, and after the user closed it
    bool userClosed = false;          // the user closed it: it is not shown again
    bool dirty = true;
    int width = 0, height = 0; // the X window's size
};

class Screen {
  public:
    // The screen, or null when windows are not to be shown or cannot be.
    static Screen* Get() {
        static Screen* screen = Open();
        return screen;
    }

    int Show(std::shared_ptr<ScreenView> view) {
        std::lock_guard<std::mutex> lock(mutex_);
        int id = nextId_++;
        shown_[id].view = std::move(view);
        Wake();
        return id;
    }

    void Close(int id) {
        std::lock_guard<std::mutex> lock(mutex_);
        auto found = shown_.find(id);
        if (found == shown_.end()) return;
        found->second.view.reset();
        Wake();
    }

    void Update(int id) {
        std::lock_guard<std::mutex> lock(mutex_);
        auto found = shown_.find(id);
        if (found == shown_.end()) return;
        found->second.dirty = true;
        Wake();
    }

  private:
    static Screen* Open() {
        const char* wanted = std::getenv("TALVIK_WINDOWS");
        if (!wanted || std::strcmp(wanted, "show")) return nullptr;
        const char* name = std::getenv("DISPLAY");
        const char* problem = "no display (DISPLAY is not set)";
        std::unique_ptr<X11Display> display;
        if (name && *name) display = X11Display::Open(&problem);
        int wake[2];
        if (display && pipe2(wake, O_CLOEXEC | O_NONBLOCK)) {
            display.reset();
            problem = "no pipe for the window thread";
        }
        if (!display) {
            std::fprintf(stderr, "talvik: %s: engine windows are drawn off-screen only\n", problem);
            return nullptr;
        }
        // The screen lives as long as the process: its thread never ends.
        auto* screen = new Screen(std::move(display), wake);
        std::thread([screen] { screen->Run(); }).detach();
        return screen;
    }

    Screen(std::unique_ptr<X11Display> display, const int wake[2])
        : display_(std::move(display)), wakeRead_(wake[0]), wakeWrite_(wake[1]) {}

    // Called with mutex_ held. A full pipe already wakes the thread.
    void Wake() {
        char byte = 1;
        [[maybe_unused]] ssize_t written = write(wakeWrite_, &byte, 1);
    }

    [[noreturn]] void Run() {
        for (;;) {
            pollfd fds[2] = {{display_->Descriptor(), POLLIN, 0}, {wakeRead_, POLLIN, 0}};
            poll(fds, 2, -1);
            char drained[64];
            while (read(wakeRead_, drained, sizeof drained) > 0) {
            }
            X11Display::Event event;
            while (display_->Next(&event))
                Handle(event);
            Serve();
            display_->Flush();
        }
    }

    // Makes, repaints and destroys X windows as the table asks.
    void Serve() {
        std::vector<std::pair<unsigned long, std::shared_ptr<ScreenView>>> paint;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            for (auto it = shown_.begin(); it != shown_.end();) {
                Shown& s = it->second;
                if (!s.view || s.view->Ended()) {
                    if (s.xid) display_->Destroy(s.xid);
                    s.xid = 0;
                    if (!s.view) {
                        it = shown_.erase(it);
                        continue;
                    }
                    s.userClosed = true;
                }
                if (!s.xid && !s.userClosed) Make(it->first, &s);
                if (s.xid && s.dirty) paint.emplace_back(s.xid, s.view);
                s.dirty = false;
                ++it;
            }
        }
        for (auto& [xid, view] : paint) {
            int width = 0, height = 0;
            view->Size(&width, &height);
            FitTo(xid, width, height);
            view->Paint(*display_, xid);
        }
    }

    // Called with mutex_ held.
    void Make(int id, Shown* s) {
        s->view->Size(&s->width, &s->height);
        s->width = std::max(s->width, kMinSide);
        s->height = std::max(s->height, kMinSide);
        s->xid = display_->Make(s->view->Title() + " " + std::to_string(id), s->width, s->height);
        s->dirty = true;
    }

    void FitTo(unsigned long xid, int width, int height) {
        std::lock_guard<std::mutex> lock(mutex_);
        Shown* s = Find(xid);
        if (!s) return;
        int w = std::max(width, kMinSide), h = std::max(height, kMinSide);
        if (w == s->width && h == s->height) return;
        s->width = w, s->height = h;
        display_->Resize(xid, w, h);
    }

    // Called with mutex_ held.
    Shown* Find(unsigned long xid) {
        for (auto& [id, s] : shown_)
            if (s.xid == xid && s.view) return &s;
        return nullptr;
    }

    std::shared_ptr<ScreenView> ViewOf(unsigned long xid) {
        std::lock_guard<std::mutex> lock(mutex_);
        Shown* s = Find(xid);
        return s ? s->view : nullptr;
    }

    void Handle(const X11Display::Event& event) {
        if (event.kind == X11Display::Event::kExpose ||
            event.kind == X11Display::Event::kCloseAsked) {
            std::lock_guard<std::mutex> lock(mutex_);
            Shown* s = Find(event.window);
            if (!s) return;
            s->dirty = true;
            if (event.kind == X11Display::Event::kExpose) return;
            // The user closed the X window; the engine object goes on, off-screen.
            display_->Destroy(s->xid);
            s->xid = 0;
            s->userClosed = true;
            return;
        }
        std::shared_ptr<ScreenView> view = ViewOf(event.window);
        if (!view) return;
        if (event.kind == X11Display::Event::kClick) view->Click(event.x, event.y);
        if (event.kind == X11Display::Event::kKey) view->Key(event.symbol);
        Update(event.window);
    }

    void Update(unsigned long xid) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (Shown* s = Find(xid)) s->dirty = true;
    }

    std::unique_ptr<X11Display> display_;
    int wakeRead_, wakeWrite_;
    std::mutex mutex_; // guards shown_ and nextId_
    std::map<int, Shown> shown_;
    int nextId_ = 1;
};
} // namespace

namespace WindowScreen {
int Show(std::shared_ptr<ScreenView> view) {
    Screen* screen = Screen::Get();
    return screen ? screen->Show(std::move(view)) : 0;
}

void Close(int id) {
    if (Screen* screen = Screen::Get(); screen && id) screen->Close(id);
}

void Update(int id) {
    if (Screen* screen = Screen::Get(); screen && id) screen->Update(id);
}
} // namespace WindowScreen
