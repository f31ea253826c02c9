// The engine's own X11 connection; see X11Display.h. Every Xlib function is looked
// up once in libX11.so.6; images are put as 32-bit TrueColor words, so only 24-bit
// colour displays (every X server today, Xvfb included) are taken.
#include "core/X11Display.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "core/Dynamic.h"

struct X11Display::Library {
    Status (*InitThreads)();
    Display* (*OpenDisplay)(const char*);
    int (*CloseDisplay)(Display*);
    int (*ScreenOf)(Display*);
    Window (*RootOf)(Display*, int);
    Visual* (*VisualOf)(Display*, int);
    int (*DepthOf)(Display*, int);
    GC (*GCOf)(Display*, int);
    Window (*CreateSimpleWindow)(Display*, Window, int, int, unsigned, unsigned, unsigned,
                                 unsigned long, unsigned long);
    int (*SelectInput)(Display*, Window, long);
    int (*StoreName)(Display*, Window, const char*);
    Atom (*InternAtom)(Display*, const char*, Bool);
    Status (*SetWMProtocols)(Display*, Window, Atom*, int);
    int (*MapWindow)(Display*, Window);
    int (*DestroyWindow)(Display*, Window);
    int (*ResizeWindow)(Display*, Window, unsigned, unsigned);
    int (*Pending)(Display*);
    int (*NextEvent)(Display*, XEvent*);
    Status (*InitImage)(XImage*);
    int (*PutImage)(Display*, Drawable, GC, XImage*, int, int, int, int, unsigned, unsigned);
    int (*SetForeground)(Display*, GC, unsigned long);
    int (*FillRectangle)(Display*, Drawable, GC, int, int, unsigned, unsigned);
    int (*DrawString)(Display*, Drawable, GC, int, int, const char*, int);
    int (*Flush)(Display*);
    int (*LookupString)(XKeyEvent*, char*, int, KeySym*, XComposeStatus*);
    int (*SocketOf)(Display*);
};

namespace {

// The functions, bound once for the process; null when libX11 is missing or lacks one.
X11Display::Library* Load() {
    void* l = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
    if (!l) return nullptr;
    auto* x = new X11Display::Library;
    bool bound =
        BindSymbol(l, "XInitThreads", &x->InitThreads) &&
        BindSymbol(l, "XOpenDisplay", &x->OpenDisplay) &&
        BindSymbol(l, "XCloseDisplay", &x->CloseDisplay) &&
        BindSymbol(l, "XDefaultScreen", &x->ScreenOf) && BindSymbol(l, "XRootWindow", &x->RootOf) &&
        BindSymbol(l, "XDefaultVisual", &x->VisualOf) &&
        BindSymbol(l, "XDefaultDepth", &x->DepthOf) && BindSymbol(l, "XDefaultGC", &x->GCOf) &&
        BindSymbol(l, "XCreateSimpleWindow", &x->CreateSimpleWindow) &&
        BindSymbol(l, "XSelectInput", &x->SelectInput) &&
        BindSymbol(l, "XStoreName", &x->StoreName) &&
        BindSymbol(l, "XInternAtom", &x->InternAtom) &&
        BindSymbol(l, "XSetWMProtocols", &x->SetWMProtocols) &&
        BindSymbol(l, "XMapWindow", &x->MapWindow) &&
        BindSymbol(l, "XDestroyWindow", &x->DestroyWindow) &&
        BindSymbol(l, "XResizeWindow", &x->ResizeWindow) &&
        BindSymbol(l, "XPending", &x->Pending) && BindSymbol(l, "XNextEvent", &x->NextEvent) &&
        BindSymbol(l, "XInitImage", &x->InitImage) && BindSymbol(l, "XPutImage", &x->PutImage) &&
        BindSymbol(l, "XSetForeground", &x->SetForeground) &&
        BindSymbol(l, "XFillRectangle", &x->FillRectangle) &&
        BindSymbol(l, "XDrawString", &x->DrawString) && BindSymbol(l, "XFlush", &x->Flush) &&
        BindSymbol(l, "XLookupString", &x->LookupString) &&
        BindSymbol(l, "XConnectionNumber", &x->SocketOf);
    if (!bound) {
        delete x;
        return nullptr;
    }
    x->InitThreads();
    return x;
}

Display* D(void* display) {
    return static_cast<Display*>(display);
}
} // namespace

std::unique_ptr<X11Display> X11Display::Open(const char** problem) {
    static Library* library = Load();
    if (!library) {
        *problem = "libX11.so.6 cannot be loaded";
        return nullptr;
    }
    Display* display = library->OpenDisplay(nullptr);
    if (!display) {
        *problem = "the display cannot be opened";
        return nullptr;
    }
    int screen = library->ScreenOf(display);
    if (library->DepthOf(display, screen) != 24 ||
        library->VisualOf(display, screen)->c_class != TrueColor) {
        library->CloseDisplay(display);
        *problem = "the display is not a 24-bit colour display";
        return nullptr;
    }
    std::unique_ptr<X11Display> opened(new X11Display);
    opened->x_ = library;
    opened->display_ = display;
    opened->deleteAtom_ = library->InternAtom(display, "WM_DELETE_WINDOW", False);
    return opened;
}

X11Display::~X11Display() {
    x_->CloseDisplay(D(display_));
}

int X11Display::Descriptor() {
    return x_->SocketOf(D(display_));
}

unsigned long X11Display::Make(const std::string& title, int width, int height) {
    Display* d = D(display_);
    int screen = x_->ScreenOf(d);
    Window window =
        x_->CreateSimpleWindow(d, x_->RootOf(d, screen), 0, 0, static_cast<unsigned>(width),
                               static_cast<unsigned>(height), 0, 0, 0xFFFFFF);
    x_->SelectInput(d, window, ExposureMask | ButtonPressMask | KeyPressMask);
    x_->StoreName(d, window, title.c_str());
    Atom protocols[] = {deleteAtom_};
    x_->SetWMProtocols(d, window, protocols, 1);
    x_->MapWindow(d, window);
    return window;
}

void X11Display::Destroy(unsigned long window) {
    x_->DestroyWindow(D(display_), window);
}

void X11Display::Resize(unsigned long window, int width, int height) {
    x_->ResizeWindow(D(display_), window, static_cast<unsigned>(width),
                     static_cast<unsigned>(height));
}

void X11Display::PutPixels(unsigned long window, const uint32_t* pixels, int width, int height) {
    if (width <= 0 || height <= 0) return;
    XImage image{};
    image.width = width;
    image.height = height;
    image.format = ZPixmap;
    image.data = reinterpret_cast<char*>(const_cast<uint32_t*>(pixels));
    image.byte_order = LSBFirst; // the words are in this machine's (little-endian) order
    image.bitmap_unit = 32;
    image.bitmap_bit_order = LSBFirst;
    image.bitmap_pad = 32;
    image.depth = 24;
    image.bytes_per_line = width * 4;
    image.bits_per_pixel = 32;
    image.red_mask = 0xFF0000;
    image.green_mask = 0x00FF00;
    image.blue_mask = 0x0000FF;
    if (!x_->InitImage(&image)) return;
    Display* d = D(display_);
    x_->PutImage(d, window, x_->GCOf(d, x_->ScreenOf(d)), &image, 0, 0, 0, 0,
                 static_cast<unsigned>(width), static_cast<unsigned>(height));
}

void X11Display::Fill(unsigned long window, int x, int y, int width, int height, uint32_t rgb) {
    if (width <= 0 || height <= 0) return;
    Display* d = D(display_);
    GC gc = x_->GCOf(d, x_->ScreenOf(d));
    x_->SetForeground(d, gc, rgb);
    x_->FillRectangle(d, window, gc, x, y, static_cast<unsigned>(width),
                      static_cast<unsigned>(height));
}

void X11Display::Text(unsigned long window, int x, int y, const std::string& text, uint32_t rgb) {
    Display* d = D(display_);
    GC gc = x_->GCOf(d, x_->ScreenOf(d));
    x_->SetForeground(d, gc, rgb);
    x_->DrawString(d, window, gc, x, y, text.data(), static_cast<int>(text.size()));
}

bool X11Display::Next(Event* event) {
    Display* d = D(display_);
    if (!x_->Pending(d)) return false;
    XEvent e;
    x_->NextEvent(d, &e);
    *event = Event{};
    event->window = e.xany.window;
    if (e.type == Expose && e.xexpose.count == 0) event->kind = Event::kExpose;
    if (e.type == ClientMessage && static_cast<Atom>(e.xclient.data.l[0]) == deleteAtom_)
        event->kind = Event::kCloseAsked;
    if (e.type == ButtonPress) {
        event->kind = Event::kClick;
        event->x = e.xbutton.x;
        event->y = e.xbutton.y;
    }
    if (e.type == KeyPress) {
        char typed[8];
        KeySym symbol = 0;
        x_->LookupString(&e.xkey, typed, sizeof typed, &symbol, nullptr);
        event->kind = Event::kKey;
        event->symbol = symbol;
    }
    return true;
}

void X11Display::Flush() {
    x_->Flush(D(display_));
}
