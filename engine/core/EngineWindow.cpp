// Display windows; see EngineWindow.h.
#include "core/EngineWindow.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/Arguments.h"
#include "core/Hold.h"
#include "core/WindowScreen.h"

EngineWindow::EngineWindow() : view_(std::make_shared<WindowView>(this)) {
    view_->canvas.SetLeft(kListWidth); // the member list is not drawn over
    screenId_ = WindowScreen::Show(view_);
}

// The view lets go of the window first, so a click never reaches a freed window.
EngineWindow::~EngineWindow() {
    view_->Detach();
    WindowScreen::Close(screenId_);
}

void* EngineWindow::GetInterface(const char* name) {
    return AnswerAs<Window>(this, "Window", name);
}

const char* EngineWindow::Set(const char* name, int length, Interface* value, int notOwned) {
    const char* stored = ModuleBase::Set(name, length, value, notOwned);
    if (value && !stored) return stored;
    // A removal answers no stored name; the entry goes by the name asked for.
    std::string entry = stored ? std::string(stored) : std::string(name, std::max(length, 0));
    {
        std::lock_guard<std::mutex> lock(view_->mutex);
        auto& list = view_->list;
        auto found = std::find_if(list.begin(), list.end(),
                                  [&](const WindowView::Entry& e) { return e.name == entry; });
        if (!value && found != list.end()) list.erase(found);
        if (value && found != list.end()) found->selected = true;
        if (value && found == list.end()) list.push_back({entry, true});
    }
    WindowScreen::Update(screenId_);
    return stored;
}

void EngineWindow::SetSize(int32_t width, int32_t height) {
    width_ = std::clamp(width, 0, Canvas::kMaxSide - kListWidth);
    height_ = std::clamp(height, 0, Canvas::kMaxSide);
    // One row more than asked: a line at y = height (a feature's zero) stays visible.
    view_->canvas.Resize(kListWidth + width_, height_ + 1);
    WindowScreen::Update(screenId_);
}

std::vector<std::string> EngineWindow::SelectedNames() {
    std::vector<std::string> names;
    std::lock_guard<std::mutex> lock(view_->mutex);
    for (const WindowView::Entry& e : view_->list)
        if (e.selected && names.size() < kMaxDrawn) names.push_back(e.name);
    return names;
}

// A member that redraws the window from its own drawing would recurse without end:
// that inner redraw is skipped.
void EngineWindow::Redraw() {
    if (drawing_ || width_ == 0 || height_ == 0) return;
    drawing_ = true;
    struct Done {
        bool* flag;
        ~Done() { *flag = false; }
    } done{&drawing_};
    Hold self(this);
    view_->canvas.ClearFrom(kListWidth);
    for (const std::string& name : SelectedNames()) {
        Interface* member = Find(name.c_str(), static_cast<int>(name.size()));
        if (!member) continue;
        Hold held(member); // a member may drop itself from the window while it draws
        member->Call(nullptr, this);
    }
    WindowScreen::Update(screenId_);
}

void EngineWindow::Select(const std::string& name, bool selected) {
    {
        std::lock_guard<std::mutex> lock(view_->mutex);
        for (WindowView::Entry& e : view_->list)
            if (e.name == name) e.selected = selected;
    }
    Redraw();
}

void EngineWindow::DrawBitmap(const void* header, const void* bits) {
    if (!header || !bits) return;
    view_->canvas.DrawBmp(kListWidth, 0, static_cast<const uint8_t*>(header),
                          static_cast<const uint8_t*>(bits));
}

void EngineWindow::SetColor(uint32_t colour) {
    pen_ = (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
}

void EngineWindow::MoveTo(int32_t x, int32_t y) {
    x_ = x, y_ = y;
}

// Script coordinates may be anywhere in 32 bits; the shift right of the list must not
// overflow, and the canvas limits the rest.
static int Shifted(int32_t x) {
    return static_cast<int>(std::min<int64_t>(int64_t{x} + EngineWindow::kListWidth, INT32_MAX));
}

void EngineWindow::LineTo(int32_t x, int32_t y) {
    view_->canvas.Line(Shifted(x_), y_, Shifted(x), y, pen_);
    x_ = x, y_ = y;
}

Interface* NewWindow(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 0);
    return new EngineWindow;
}
