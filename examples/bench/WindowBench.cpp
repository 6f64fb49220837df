// WindowBench: tessel_editor's window as a person at a desktop feels it, on the display there is
// (run it under `xvfb-run -a` without one): the CPU the untouched window uses, the time from a click
// on a tool cell to the first frame that shows a change, and the time from one step of a slider
// drag to the canvas showing it, on a 512 x 512 photo. What X shows is read back (XGetImage), so
// the times are as seen on the screen. A program that prints figures, not a test.
#include "ImageIO/ImageIOCodec.h"
#include "testing/display/ProgramWindow.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// The phone's layout in points (as the window test has it): the strip's first cell, the bar's
// Cancel, the strip dragged to bring Adjust in, Adjust's knob, and the canvas between bar and strip.
constexpr double kFirstCellX = 37, kStripY = 510, kCancelX = 34, kBarY = 42, kAdjustX = 255;
constexpr double kKnobX = 160, kKnobY = 485;
constexpr double kCanvasTop = 64, kCanvasBottom = 455;
constexpr int kPhotoSize = 512;

double seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

void sleepFor(double s)
{
    std::this_thread::sleep_for(std::chrono::duration<double>(s));
}

// Raw rows of a band of the window as X has them: compared, never decoded.
std::optional<std::vector<char>> grabBand(Display* display, Window window, int top, int height)
{
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable) return std::nullopt;
    height = std::min(height, attributes.height - top);
    if (height <= 0) return std::nullopt;
    XImage* image = XGetImage(display, window, 0, top, unsigned(attributes.width), unsigned(height), AllPlanes, ZPixmap);
    if (!image) return std::nullopt;
    std::vector<char> bytes(image->data, image->data + size_t(image->bytes_per_line) * size_t(image->height));
    XDestroyImage(image);
    return bytes;
}

struct Editor {
    Display* display = nullptr;
    Window window = 0;
    pid_t pid = -1;
    double scale = 1;
    int height = 0;

    std::optional<std::vector<char>> grab(double topPoints = 0, double bottomPoints = 1e9) const
    {
        const int top = int(topPoints * scale);
        const int bottom = std::min(height, int(bottomPoints * scale));
        return grabBand(display, window, top, bottom - top);
    }

    void pointer(PointerEvent event, double x, double y) const
    {
        sendPointerEvent(display, window, event, int(x * scale), int(y * scale));
    }

    void click(double x, double y) const
    {
        pointer(PointerEvent::Move, x, y);
        pointer(PointerEvent::Press, x, y);
        sleepFor(0.05);
        pointer(PointerEvent::Release, x, y);
    }

    // Until the window has shown the same picture for `still` seconds (at most `limit`).
    bool waitUntilStill(double still = 1.5, double limit = 60) const
    {
        auto last = grab();
        auto since = Clock::now();
        const auto end = since + std::chrono::duration<double>(limit);
        while (Clock::now() < end) {
            sleepFor(0.1);
            auto now = grab();
            if (!now || !last || *now != *last) {
                last = std::move(now);
                since = Clock::now();
            } else if (seconds(Clock::now() - since) >= still) {
                return true;
            }
        }
        return false;
    }

    // Seconds from now until the band differs from `before`; nullopt after `limit`.
    std::optional<double> secondsUntilChanged(const std::vector<char>& before, double top, double bottom,
                                              Clock::time_point from, double limit = 3) const
    {
        while (seconds(Clock::now() - from) < limit) {
            auto now = grab(top, bottom);
            if (now && *now != before) return seconds(Clock::now() - from);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return std::nullopt;
    }

    // The process's CPU seconds so far (user and system).
    double cpuSeconds() const
    {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
        const size_t close = text.rfind(')');
        if (close == std::string::npos) return 0;
        std::vector<std::string> fields;
        size_t at = close + 2;
        while (at < text.size()) {
            const size_t space = text.find(' ', at);
            fields.push_back(text.substr(at, space - at));
            if (space == std::string::npos) break;
            at = space + 1;
        }
        // Fields from the state on: utime and stime are the 12th and 13th after it.
        if (fields.size() < 13) return 0;
        return double(std::stoull(fields[11]) + std::stoull(fields[12])) / double(sysconf(_SC_CLK_TCK));
    }
};

double median(std::vector<double> v)
{
    if (v.empty()) return NAN;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void writePhoto(const fs::path& path)
{
    std::vector<std::uint8_t> rgba(size_t(kPhotoSize) * kPhotoSize * 4);
    for (int y = 0; y < kPhotoSize; ++y)
        for (int x = 0; x < kPhotoSize; ++x) {
            std::uint8_t* p = &rgba[(size_t(y) * kPhotoSize + size_t(x)) * 4];
            p[0] = std::uint8_t(60 + 120 * x / kPhotoSize + 20 * std::sin(y / 23.0));
            p[1] = std::uint8_t(50 + 110 * y / kPhotoSize + 20 * std::cos(x / 31.0));
            p[2] = std::uint8_t(100 + 40 * std::sin((x + y) / 47.0));
            p[3] = 255;
        }
    std::string error;
    if (!ImageIOWritePNGFile(path.string(), rgba.data(), kPhotoSize, kPhotoSize, &error)) {
        std::fprintf(stderr, "WindowBench: cannot write the photo: %s\n", error.c_str());
        std::exit(1);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string editorPath = argc > 1 ? argv[1] : TESSEL_EDITOR_PATH;
    Editor editor;
    editor.display = XOpenDisplay(nullptr);
    if (!editor.display) {
        std::fprintf(stderr, "WindowBench: no display (run it under xvfb-run -a)\n");
        return 1;
    }
    char pattern[] = "/tmp/tessel_window_bench.XXXXXX";
    if (!mkdtemp(pattern)) return 1;
    const fs::path dir = pattern;
    const fs::path photo = dir / "photo.png";
    writePhoto(photo);

    editor.pid = fork();
    if (editor.pid == 0) {
        execl(editorPath.c_str(), editorPath.c_str(), "--content-root", (dir / "root").c_str(), photo.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 1;
    auto finish = [&](int code) {
        if (editor.pid > 0) {
            kill(editor.pid, SIGKILL);
            waitpid(editor.pid, nullptr, 0);
        }
        XCloseDisplay(editor.display);
        fs::remove_all(dir);
        return code;
    };
    for (int i = 0; i < 600 && !editor.window; ++i) {
        sleepFor(0.1);
        if (auto w = findWindowNamed(editor.display, DefaultRootWindow(editor.display), "Tessel editor")) {
            XWindowAttributes a{};
            if (XGetWindowAttributes(editor.display, *w, &a) && a.map_state == IsViewable) {
                editor.window = *w;
                editor.scale = a.width / 320.0;
                editor.height = a.height;
            }
        }
    }
    if (!editor.window) {
        std::fprintf(stderr, "WindowBench: the editor's window never showed\n");
        return finish(1);
    }
    if (!editor.waitUntilStill(3)) {
        std::fprintf(stderr, "WindowBench: the window never came to rest\n");
        return finish(1);
    }
    std::printf("window: %d x %d pixels (scale %.2f), photo %d x %d\n", int(320 * editor.scale), editor.height,
                editor.scale, kPhotoSize, kPhotoSize);

    // Idle: nobody touches the window.
    const double idleSeconds = 10;
    const double cpu0 = editor.cpuSeconds();
    sleepFor(idleSeconds);
    const double idle = (editor.cpuSeconds() - cpu0) / idleSeconds * 100;
    std::printf("idle window:                      %6.1f %% of a core (target < 3 %%)\n", idle);

    // A click on the strip's first cell, then Cancel: to the first frame that shows a change.
    std::vector<double> clicks;
    for (int i = 0; i < 3; ++i) {
        auto before = editor.grab();
        if (!before) break;
        editor.pointer(PointerEvent::Move, kFirstCellX, kStripY);
        editor.pointer(PointerEvent::Press, kFirstCellX, kStripY);
        const auto pressed = Clock::now();
        editor.pointer(PointerEvent::Release, kFirstCellX, kStripY);
        if (auto s = editor.secondsUntilChanged(*before, 0, 1e9, pressed)) clicks.push_back(*s);
        editor.waitUntilStill();
        editor.click(kCancelX, kBarY);
        editor.waitUntilStill();
    }
    std::printf("click on a tool cell to a frame:  %6.0f ms median of %zu (target < 100 ms)\n", median(clicks) * 1000,
                clicks.size());

    // Adjust's slider: each step of a slow drag, to the canvas showing it.
    editor.pointer(PointerEvent::Move, 310, kStripY);
    editor.pointer(PointerEvent::Press, 310, kStripY);
    sleepFor(0.3);
    for (int i = 1; i <= 30; ++i) {
        editor.pointer(PointerEvent::Drag, 310 - 10 * i, kStripY);
        sleepFor(0.03);
    }
    sleepFor(0.8);
    editor.pointer(PointerEvent::Release, 10, kStripY);
    editor.waitUntilStill();
    editor.click(kAdjustX, kStripY);
    editor.waitUntilStill();
    editor.pointer(PointerEvent::Move, kKnobX, kKnobY);
    editor.pointer(PointerEvent::Press, kKnobX, kKnobY);
    sleepFor(0.5);
    std::vector<double> steps;
    for (int i = 1; i <= 12; ++i) {
        editor.waitUntilStill(0.3, 5);
        auto before = editor.grab(kCanvasTop, kCanvasBottom);
        if (!before) break;
        const auto moved = Clock::now();
        editor.pointer(PointerEvent::Drag, kKnobX + 10 * i, kKnobY);
        if (auto s = editor.secondsUntilChanged(*before, kCanvasTop, kCanvasBottom, moved)) steps.push_back(*s);
    }
    editor.pointer(PointerEvent::Release, kKnobX + 120, kKnobY);
    std::printf("slider drag step to the canvas:   %6.0f ms median of %zu, %0.f ms at most (target < 50 ms)\n",
                median(steps) * 1000, steps.size(),
                steps.empty() ? NAN : *std::max_element(steps.begin(), steps.end()) * 1000);
    status = clicks.empty() || steps.empty() ? 1 : 0;
    return finish(status);
}
