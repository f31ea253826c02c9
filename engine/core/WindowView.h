// What a display window (EngineWindow) shares with the screen: its canvas and its
// member list, each name selected or not. On the screen the list is drawn over the
// canvas's left strip, selected names on a tint, and a click on a name toggles it as
// the window's Select does.
#pragma once
#include <mutex>
#include <string>
#include <vector>

#include "core/Canvas.h"
#include "core/ScreenView.h"

class EngineWindow;

class WindowView : public ScreenView {
  public:
    struct Entry {
        std::string name;
        bool selected;
    };
    explicit WindowView(EngineWindow* owner) : owner_(owner) {}

    // The window lets go of its view: clicks no longer reach it.
    void Detach();

    std::string Title() override { return "talvik window"; }
    void Size(int* width, int* height) override;
    void Paint(X11Display& display, unsigned long window) override;
    void Click(int x, int y) override;

    Canvas canvas{400, 100};
    std::mutex mutex; // guards list and owner_
    std::vector<Entry> list;

  private:
    EngineWindow* owner_;
};
