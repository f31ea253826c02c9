// MapDisplay(map, window, title, p, r, o, q): draws the map's current block into a
// display window as the BMP writer would picture it (MapPicture.h). It stores itself
// in the window under its title, so the window lists it; each run sizes the drawing
// area to frames x bands and redraws the window, which calls back to draw.

#include "DisplayWindow.h"
#include "Input.h"
#include "Map.h"
#include "core/Arguments.h"
#include "core/DisplayArguments.h"
#include "core/Hold.h"
#include "core/ModuleBase.h"
#include "core/Report.h"
#include "signal/MapPicture.h"

namespace {
class MapDisplay : public ModuleBase {
  public:
    MapDisplay(Map* source, Window* window, const PictureScale& scale)
        : source_(source), window_(window), scale_(scale) {
        source_->AddRef();
        window_->AddRef();
    }
    ~MapDisplay() override {
        window_->Release();
        source_->Release();
    }

    int Process() override {
        window_->SetSize(source_->frames, source_->bands);
        window_->Redraw();
        return 0;
    }

    // Without a lexer this is the window's request to draw.
    Interface* Call(Input* lexer, Interface* context) override {
        if (lexer) return ModuleBase::Call(lexer, context);
        Picture picture = RenderMap(*source_, scale_);
        window_->DrawBitmap(picture.header.data(), picture.pixels.data());
        return nullptr;
    }

  private:
    Map* source_;
    Window* window_; // held: a run never reaches a window that is gone
    PictureScale scale_;
};
} // namespace

Interface* NewMapDisplay(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 7);
    auto map = args.Get<Map>(0, "Map");
    if (!map) {
        report("MapDisplay: First parameter must be 'Map' Interface");
        return nullptr;
    }
    DisplayTarget target;
    if (!ReadDisplayTarget(args, 1, "MapDisplay", &target)) return nullptr;
    auto* display = new MapDisplay(map.get(), target.window.get(), ReadPictureScale(args, 3));
    Hold self(display);
    display->Link(args.At(0));
    ShowInWindow(target, display);
    return display;
}
