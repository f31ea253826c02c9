// The display window's view on the screen; see WindowView.h.
#include "core/WindowView.h"

#include "core/EngineLock.h"
#include "core/EngineWindow.h"
#include "core/X11Display.h"

namespace {
constexpr int kRowHeight = 14; // one member name in the list
constexpr int kTextInset = 3;  // text from the list's left edge
constexpr int kTextDrop = 3;   // the base line above a row's bottom
constexpr uint32_t kListInk = 0x000000, kListPaper = 0xF0F0F0, kChosenPaper = 0xB8D0F0;
} // namespace

void WindowView::Detach() {
    std::lock_guard<std::mutex> lock(mutex);
    owner_ = nullptr;
}

void WindowView::Size(int* width, int* height) {
    *width = canvas.Width();
    *height = canvas.Height();
}

void WindowView::Paint(X11Display& display, unsigned long window) {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels = canvas.Snapshot(&width, &height);
    display.PutPixels(window, pixels.data(), width, height);
    display.Fill(window, 0, 0, EngineWindow::kListWidth, height, kListPaper);
    std::lock_guard<std::mutex> lock(mutex);
    for (size_t i = 0; i < list.size(); ++i) {
        int top = static_cast<int>(i) * kRowHeight;
        if (top >= height) break;
        if (list[i].selected)
            display.Fill(window, 0, top, EngineWindow::kListWidth, kRowHeight, kChosenPaper);
        display.Text(window, kTextInset, top + kRowHeight - kTextDrop, list[i].name, kListInk);
    }
}

// The engine lock is taken before the owner is looked at: the window is released
// only under it, so an owner found here stays alive until Select returns.
void WindowView::Click(int x, int y) {
    if (x >= EngineWindow::kListWidth || y < 0) return;
    EngineGuard engine;
    EngineWindow* window;
    std::string name;
    bool selected;
    {
        std::lock_guard<std::mutex> lock(mutex);
        size_t row = static_cast<size_t>(y / kRowHeight);
        if (!owner_ || row >= list.size()) return;
        window = owner_;
        name = list[row].name;
        selected = list[row].selected;
        window->AddRef();
    }
    window->Select(name, !selected);
    window->Release();
}
