#include "tests/e2e/x_window.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

// The window may end between two requests; Xlib's default handler would end
// the test program on the error that follows, so errors are only noted.
bool g_failed = false;
int NoteError(Display*, XErrorEvent*) {
    g_failed = true;
    return 0;
}

// The display, opened with the error handler in place; closed when it goes.
class Connection {
public:
    Connection() : display_(XOpenDisplay(nullptr)) {
        XSetErrorHandler(NoteError);
        g_failed = false;
    }
    ~Connection() {
        if (display_) XCloseDisplay(display_);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    Display* get() const { return display_; }

private:
    Display* display_;
};

// The channel's value moved down to its lowest 8 bits.
std::uint32_t Channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    while ((mask & 1) == 0) {
        mask >>= 1;
        pixel >>= 1;
    }
    return static_cast<std::uint32_t>((pixel & mask) * 255 / mask);
}

}  // namespace

WindowPixels ReadWindowPixels(const std::string& window) {
    const Connection connection;
    Display* display = connection.get();
    if (!display) return {};
    const Window id = std::stoul(window);
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, id, &attributes) || attributes.map_state != IsViewable) return {};
    XImage* image = XGetImage(display, id, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (!image || g_failed) return {};
    WindowPixels pixels{attributes.width, attributes.height, {}};
    pixels.rgb.reserve(static_cast<size_t>(pixels.width) * pixels.height);
    for (int y = 0; y < pixels.height; ++y) {
        for (int x = 0; x < pixels.width; ++x) {
            const unsigned long p = XGetPixel(image, x, y);
            pixels.rgb.push_back(Channel(p, image->red_mask) << 16 | Channel(p, image->green_mask) << 8 |
                                 Channel(p, image->blue_mask));
        }
    }
    XDestroyImage(image);
    return pixels;
}

void ClickCloseBox(const std::string& window) {
    const Connection connection;
    Display* display = connection.get();
    if (!display) return;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = std::stoul(window);
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
    XSync(display, False);
}
