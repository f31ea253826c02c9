// The terminal dialog on the screen; see TransDialog.h. It reaches only the shared
// fields and the process-wide press event, never the TransWindow object, so a dialog
// still painted after its object went away touches nothing freed.
#include "core/TransDialog.h"

#include <sstream>

#include "core/TextCodec.h"
#include "core/X11Display.h"

namespace {
struct Box {
    int x, y, width, height;
    bool Holds(int px, int py) const {
        return px >= x && px < x + width && py >= y && py < y + height;
    }
};
constexpr int kWidth = 420, kHeight = 250;
constexpr Box kOutput{10, 10, 400, 150}, kInput{10, 170, 400, 22};
constexpr Box kOk{230, 205, 80, 30}, kQuit{330, 205, 80, 30};
constexpr int kLineHeight = 14, kTextInset = 4, kTextDrop = 4, kLabelInset = 28;
constexpr uint32_t kPaper = 0xFFFFFF, kFace = 0xE4E4E4, kFrame = 0x808080, kInk = 0x000000;
constexpr unsigned long kReturn = 0xff0d, kEnter = 0xff8d, kBackSpace = 0xff08;

// The Latin-2 byte a key types, or -1 for a key that types nothing.
int TypedByte(unsigned long symbol) {
    if ((symbol >= 0x20 && symbol < 0x7f) || (symbol >= 0xa0 && symbol < 0x100))
        return talvik::WideToLatin2(static_cast<wchar_t>(symbol));
    if (symbol >= 0x1a1 && symbol <= 0x1ff) return static_cast<int>(symbol & 0xff); // Latin-2 keys
    if (symbol > 0x1000000 && symbol < 0x1010000)
        return talvik::WideToLatin2(static_cast<wchar_t>(symbol - 0x1000000));
    return -1;
}

class TransDialog : public ScreenView {
  public:
    explicit TransDialog(std::shared_ptr<TransWindow::Fields> fields)
        : fields_(std::move(fields)) {}

    std::string Title() override { return "talvik dialog"; }
    void Size(int* width, int* height) override { *width = kWidth, *height = kHeight; }

    void Paint(X11Display& display, unsigned long window) override {
        std::string input, output;
        {
            std::lock_guard<std::mutex> lock(fields_->mutex);
            input = fields_->input, output = fields_->output;
        }
        display.Fill(window, 0, 0, kWidth, kHeight, kFace);
        Field(display, window, kOutput);
        std::istringstream lines(output);
        int y = kOutput.y + kLineHeight;
        for (std::string line; y < kOutput.y + kOutput.height && std::getline(lines, line);
             y += kLineHeight) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            display.Text(window, kOutput.x + kTextInset, y, line, kInk);
        }
        Field(display, window, kInput);
        display.Text(window, kInput.x + kTextInset, kInput.y + kInput.height - kTextDrop,
                     input + "_", kInk);
        Button(display, window, kOk, "OK");
        Button(display, window, kQuit, "Quit");
    }

    void Click(int x, int y) override {
        if (kOk.Holds(x, y)) TransWindow::Pulse();
        if (kQuit.Holds(x, y)) Quit();
    }

    void Key(unsigned long symbol) override {
        if (symbol == kReturn || symbol == kEnter) {
            TransWindow::Pulse();
            return;
        }
        std::lock_guard<std::mutex> lock(fields_->mutex);
        std::string& input = fields_->input;
        if (symbol == kBackSpace && !input.empty()) input.pop_back();
        int byte = TypedByte(symbol);
        if (byte > 0 && input.size() < TransWindow::kMaxText) input += static_cast<char>(byte);
    }

    bool Ended() override {
        std::lock_guard<std::mutex> lock(fields_->mutex);
        return fields_->quitted;
    }

  private:
    void Quit() {
        {
            std::lock_guard<std::mutex> lock(fields_->mutex);
            fields_->quitted = true;
        }
        TransWindow::Pulse();
    }

    static void Field(X11Display& display, unsigned long window, const Box& b) {
        display.Fill(window, b.x - 1, b.y - 1, b.width + 2, b.height + 2, kFrame);
        display.Fill(window, b.x, b.y, b.width, b.height, kPaper);
    }

    static void Button(X11Display& display, unsigned long window, const Box& b,
                       const std::string& label) {
        display.Fill(window, b.x - 1, b.y - 1, b.width + 2, b.height + 2, kFrame);
        display.Fill(window, b.x, b.y, b.width, b.height, kFace);
        display.Text(window, b.x + kLabelInset, b.y + b.height / 2 + kTextDrop, label, kInk);
    }

    std::shared_ptr<TransWindow::Fields> fields_;
};
} // namespace

std::shared_ptr<ScreenView> NewTransDialog(std::shared_ptr<TransWindow::Fields> fields) {
    return std::make_shared<TransDialog>(std::move(fields));
}
