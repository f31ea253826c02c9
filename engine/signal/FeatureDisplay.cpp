// FeatureDisplay(feature, window, title, colour): draws a feature as a polyline into
// a display window, scaled so that its largest value reaches the top of the drawing
// area; time runs one pixel per address. It stores itself in the window under its
// title; each run rescales and redraws the window, which calls back to draw.
#include <algorithm>
#include <cmath>

#include "DisplayWindow.h"
#include "Feature.h"
#include "Input.h"
#include "core/Arguments.h"
#include "core/DisplayArguments.h"
#include "core/Hold.h"
#include "core/ModuleBase.h"
#include "core/Report.h"

namespace {
// h - trunc(v), limited to the 32-bit range (NaN counts as 0).
int32_t FromBottom(int32_t h, double v) {
    double y = h - (v == v ? std::trunc(v) : 0);
    return static_cast<int32_t>(std::clamp(y, -2147483648.0, 2147483647.0));
}

class FeatureDisplay : public ModuleBase {
  public:
    FeatureDisplay(Feature* source, Window* window, uint32_t colour)
        : source_(source), window_(window), colour_(colour) {
        source_->AddRef();
        window_->AddRef();
    }
    ~FeatureDisplay() override {
        window_->Release();
        source_->Release();
    }

    int Process() override {
        const float* x = source_->data;
        float largest = source_->length > 0 ? *std::max_element(x, x + source_->length) : 0;
        scale_ = largest != 0 ? window_->Height() / static_cast<double>(largest) : 0;
        window_->Redraw();
        return 0;
    }

    // Without a lexer this is the window's request to draw.
    Interface* Call(Input* lexer, Interface* context) override {
        if (lexer) return ModuleBase::Call(lexer, context);
        int n = source_->length;
        if (n <= 0) return nullptr;
        int h = window_->Height();
        auto y = [&](int i) { return FromBottom(h, scale_ * source_->data[i]); };
        window_->SetColor(colour_);
        window_->MoveTo(0, y(0));
        for (int i = 1; i < n; ++i)
            window_->LineTo(i, y(i));
        return nullptr;
    }

  private:
    Feature* source_;
    Window* window_; // held: a run never reaches a window that is gone
    uint32_t colour_;
    double scale_ = 0;
};
} // namespace

Interface* NewFeatureDisplay(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 4);
    auto feature = args.Get<Feature>(0, "Feature");
    if (!feature) {
        report("FeatureDisplay: First parameter error");
        return nullptr;
    }
    DisplayTarget target;
    if (!ReadDisplayTarget(args, 1, "FeatureDisplay", &target)) return nullptr;
    auto* display = new FeatureDisplay(feature.get(), target.window.get(), ReadColour(args, 3));
    Hold self(display);
    display->Link(args.At(0));
    ShowInWindow(target, display);
    return display;
}
