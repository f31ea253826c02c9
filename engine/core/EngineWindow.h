// Window(): a display window. Its members are the display objects stored in it; its
// member list (the 50-pixel strip on the left) shows their names, each selected or
// not, and the drawing area right of it shows what the selected members draw when
// the window is redrawn. Drawing goes to an off-screen canvas that tests can read;
// WindowScreen.h shows it on a display where the host asks for that. The window never
// takes a host program's events.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "DisplayWindow.h"
#include "core/ModuleBase.h"
#include "core/WindowView.h"

class EngineWindow : public ModuleBase, public virtual Window {
  public:
    // The width of the member list left of the drawing area.
    static constexpr int kListWidth = 50;
    // Members drawn at most per redraw.
    static constexpr int kMaxDrawn = 128;

    EngineWindow();
    ~EngineWindow() override;

    const char* Set(const char* name, int length, Interface* value, int notOwned) override;
    void* GetInterface(const char* name) override;

    void SetSize(int32_t width, int32_t height) override;
    void Redraw() override;
    void DrawBitmap(const void* header, const void* bits) override;
    int32_t Width() override { return width_; }
    int32_t Height() override { return height_; }
    void SetColor(uint32_t colour) override;
    void MoveTo(int32_t x, int32_t y) override;
    void LineTo(int32_t x, int32_t y) override;

    // Selects or deselects a member in the list, as a click on it does, and redraws.
    void Select(const std::string& name, bool selected);
    const std::shared_ptr<WindowView>& View() const { return view_; }

  private:
    std::vector<std::string> SelectedNames();

    std::shared_ptr<WindowView> view_;
    int screenId_ = 0; // the window on the screen, 0 when there is none
    int32_t width_ = 0, height_ = 0;
    uint32_t pen_ = 0; // 0x00RRGGBB
    int x_ = 0, y_ = 0;
    bool drawing_ = false;
};
