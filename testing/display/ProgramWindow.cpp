#include "testing/display/ProgramWindow.h"

#include <X11/Xutil.h>
#include <sys/wait.h>

#include <chrono>
#include <thread>

namespace {

// A request refused by the server is an error event; Xlib's default handler would end the test.
int refusedRequests = 0;
int countRefusal(Display*, XErrorEvent*)
{
    ++refusedRequests;
    return 0;
}

}  // namespace

namespace {

std::optional<Window> findWindowIn(Display* display, Window parent, const std::string& title)
{
    Window root = 0, ignored = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, parent, &root, &ignored, &children, &count)) return std::nullopt;
    std::optional<Window> found;
    for (unsigned i = 0; i < count && !found; ++i) {
        char* name = nullptr;
        if (XFetchName(display, children[i], &name) && name) {
            if (title == name) found = children[i];
            XFree(name);
        }
        if (!found) found = findWindowIn(display, children[i], title);
    }
    if (children) XFree(children);
    return found;
}

}  // namespace

std::optional<Window> findWindowNamed(Display* display, Window parent, const std::string& title)
{
    // Other programs' windows come and go while the tree is walked: asking one that has just gone
    // for its name is refused with BadWindow, which Xlib's default handler would make fatal.
    XSync(display, False);
    XErrorHandler previous = XSetErrorHandler(countRefusal);
    std::optional<Window> found = findWindowIn(display, parent, title);
    XSync(display, False);
    XSetErrorHandler(previous);
    return found;
}

void requestWindowClose(Display* display, Window window)
{
    XEvent close{};
    close.xclient.type = ClientMessage;
    close.xclient.window = window;
    close.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    close.xclient.format = 32;
    close.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    close.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &close);
    XFlush(display);
}

std::optional<int> waitForProgramExit(pid_t child, double seconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (true) {
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        if (std::chrono::steady_clock::now() >= end) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

std::optional<WindowPixels> grabWindowPixels(Display* display, Window window)
{
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable) return std::nullopt;
    const Window root = DefaultRootWindow(display);
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(display, window, root, 0, 0, &x, &y, &child);
    if (x < 0 || y < 0 || x + attributes.width > DisplayWidth(display, DefaultScreen(display)) ||
        y + attributes.height > DisplayHeight(display, DefaultScreen(display)))
        return std::nullopt;
    XSync(display, False);
    refusedRequests = 0;
    XErrorHandler previous = XSetErrorHandler(countRefusal);
    XImage* image =
        XGetImage(display, window, 0, 0, unsigned(attributes.width), unsigned(attributes.height), AllPlanes, ZPixmap);
    XSync(display, False);
    XSetErrorHandler(previous);
    if (!image || refusedRequests > 0) {
        if (image) XDestroyImage(image);
        return std::nullopt;
    }
    WindowPixels pixels{attributes.width, attributes.height, {}};
    pixels.rgb.reserve(size_t(attributes.width) * size_t(attributes.height) * 3);
    // TrueColor masks: the channel's bits, shifted down to a byte.
    auto channel = [](unsigned long value, unsigned long mask) {
        int shift = 0;
        while (mask && !(mask & 1)) mask >>= 1, ++shift;
        const unsigned long bits = (value >> shift) & mask;
        return std::uint8_t(mask ? bits * 255 / mask : 0);
    };
    for (int row = 0; row < attributes.height; ++row)
        for (int column = 0; column < attributes.width; ++column) {
            const unsigned long value = XGetPixel(image, column, row);
            pixels.rgb.push_back(channel(value, image->red_mask));
            pixels.rgb.push_back(channel(value, image->green_mask));
            pixels.rgb.push_back(channel(value, image->blue_mask));
        }
    XDestroyImage(image);
    return pixels;
}

// The fields every pointer event sent to `window` at (x, y) carries; motion and button events
// share them.
static void fillPointerEventAt(XButtonEvent& e, Display* display, Window window, int x, int y)
{
    e.send_event = True;
    e.display = display;
    e.window = window;
    e.root = DefaultRootWindow(display);
    e.time = CurrentTime;
    e.x = e.x_root = x;
    e.y = e.y_root = y;
    e.same_screen = True;
}

void sendPointerEvent(Display* display, Window window, PointerEvent event, int x, int y)
{
    XEvent sent{};
    // Motion and button events share their leading fields.
    XButtonEvent& e = sent.xbutton;
    long mask = PointerMotionMask;
    switch (event) {
    case PointerEvent::Move: e.type = MotionNotify; break;
    case PointerEvent::Drag:
        e.type = MotionNotify;
        e.state = Button1Mask;
        mask = ButtonMotionMask | Button1MotionMask | PointerMotionMask;
        break;
    case PointerEvent::Press:
        e.type = ButtonPress;
        mask = ButtonPressMask;
        break;
    case PointerEvent::Release:
        e.type = ButtonRelease;
        e.state = Button1Mask;
        mask = ButtonReleaseMask;
        break;
    }
    fillPointerEventAt(e, display, window, x, y);
    if (e.type != MotionNotify) e.button = Button1;
    XSendEvent(display, window, True, mask, &sent);
    XFlush(display);
}

void sendWheelNotch(Display* display, Window window, WheelNotch notch, int x, int y)
{
    for (const int type : {ButtonPress, ButtonRelease}) {
        XEvent sent{};
        XButtonEvent& e = sent.xbutton;
        e.type = type;
        fillPointerEventAt(e, display, window, x, y);
        e.button = notch == WheelNotch::Up ? Button4 : Button5;
        XSendEvent(display, window, True, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &sent);
    }
    XFlush(display);
}
