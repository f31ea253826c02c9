// A connection of the engine's own to an X11 display, in plain types so that the
// rest of the engine never sees Xlib's names (its Window and Display clash with
// ours). libX11 is loaded when the first connection is opened; the engine does not
// otherwise depend on it. One thread uses a connection.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

class X11Display {
  public:
    struct Event {
        enum Kind { kOther, kExpose, kCloseAsked, kClick, kKey } kind = kOther;
        unsigned long window = 0;
        int x = 0, y = 0;         // where a click was
        unsigned long symbol = 0; // the key symbol of a key, with Shift applied
    };

    // Opens the display that DISPLAY names; null with *problem set when it cannot.
    static std::unique_ptr<X11Display> Open(const char** problem);
    ~X11Display();

    // The connection's file descriptor, to wait on with poll().
    int Descriptor();
    unsigned long Make(const std::string& title, int width, int height);
    void Destroy(unsigned long window);
    void Resize(unsigned long window, int width, int height);
    // Draws 0x00RRGGBB pixels, row by row, at the window's top left.
    void PutPixels(unsigned long window, const uint32_t* pixels, int width, int height);
    void Fill(unsigned long window, int x, int y, int width, int height, uint32_t rgb);
    // Text in the server's default font, its base line at y.
    void Text(unsigned long window, int x, int y, const std::string& text, uint32_t rgb);
    // The next event already received; false when there is none.
    bool Next(Event* event);
    void Flush();

    struct Library;

  private:
    X11Display() = default;
    Library* x_ = nullptr;
    void* display_ = nullptr;
    unsigned long deleteAtom_ = 0;
};
