// tessel_editor in its window, as a person uses it with the mouse: the program started on a display
// (the one there is, else a virtual one), its window found through X11, looked at through X11 (what
// the X server shows, not the program's own snapshot), the pointer moved and clicked there. The
// canvas shows the photo; an Adjust drag brightens it; Done hands the photo back at full size, the
// same as the headless run of the same edit; Cancel says "cancelled"; closing the window, or
// destroying it from another X client, ends the program and writes nothing; without a GL context an alert says so and its button ends the program
// with the message.
#include <gtest/gtest.h>

#include "QopTestBitmap.h"
#include "support/RunProgram.h"

#include "ImageIO/ImageIOCodec.h"
// After GoogleTest: Xlib defines macros (None, Bool) that its headers use as names.
#include "testing/ProgramSpawn.h"
#include "testing/display/ProgramWindow.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using qop_test::TestBitmap;
namespace fs = std::filesystem;

namespace {

constexpr const char* kWindowTitle = "Tessel editor";
constexpr const char* kNoGLMessage = "Photo editing needs OpenGL ES, which is not available here.";
// The phone the program shows, in points, as the headless screenshots show it: the bar's buttons
// under the 20-point status band (Cancel on the left; Done, and a tool's Apply, on the right), the
// canvas between the bar and the tool strip, the strip's cells along y 510 (74 points apart: Adjust,
// the eighth, at x 555, so at x 255 once the strip is dragged 300 points), and the Adjust knob at
// the track's centre.
constexpr int kPhoneWidth = 320, kPhoneHeight = 568;
constexpr int kCancelX = 34, kDoneX = 286, kBarButtonY = 42;
constexpr double kCanvasTop = 64, kCanvasBottom = 455;
constexpr int kStripY = 510, kAdjustX = 255;
constexpr int kKnobX = 160, kKnobY = 485, kTrackEndX = 300;
// The alert of an editor without GL: its one button, in the panel at the window's centre.
constexpr int kAlertButtonX = 160, kAlertButtonY = 330;
// Real seconds the program is given for each step; generous for a sanitizer build on a busy machine.
constexpr int kStepSeconds = 60;
constexpr size_t kPhotoWidth = 900, kPhotoHeight = 600;

// Mid-tones with structure in both directions: a canvas showing anything else correlates poorly,
// and brightening moves every pixel.
TestBitmap makePhoto()
{
    TestBitmap photo(kPhotoWidth, kPhotoHeight);
    for (size_t y = 0; y < kPhotoHeight; ++y)
        for (size_t x = 0; x < kPhotoWidth; ++x) {
            const double fx = double(x) / kPhotoWidth, fy = double(y) / kPhotoHeight;
            photo.at(x, y) = {std::uint8_t(60 + 100 * fx + 20 * std::sin(double(y) / 23)),
                              std::uint8_t(50 + 90 * fy + 20 * std::cos(double(x) / 31)),
                              std::uint8_t(100 + 40 * std::sin(double(x + y) / 47)), 255};
        }
    return photo;
}

double luma(double r, double g, double b)
{
    return 0.299 * r + 0.587 * g + 0.114 * b;
}

// Where the photo sits on the canvas, in window pixels: fitted into it and centred.
struct Fitted {
    double left, top, width, height;
};
Fitted photoOnCanvas(double scale)
{
    const double canvasHeight = kCanvasBottom - kCanvasTop;
    const double fit = std::min(kPhoneWidth / double(kPhotoWidth), canvasHeight / double(kPhotoHeight));
    const double width = kPhotoWidth * fit, height = kPhotoHeight * fit;
    return {(kPhoneWidth - width) / 2 * scale, (kCanvasTop + (canvasHeight - height) / 2) * scale, width * scale,
            height * scale};
}

// The pixels looked at: the fitted rectangle but a few pixels along its edges, where the canvas's
// filtering and the photo's shadow blend it with the backdrop.
struct Region {
    int x = 0, y = 0, width = 0, height = 0;
};
Region inside(const Fitted& fitted)
{
    const int inset = 4;
    const int x = int(std::ceil(fitted.left)) + inset, y = int(std::ceil(fitted.top)) + inset;
    return {x, y, int(std::floor(fitted.left + fitted.width)) - inset - x,
            int(std::floor(fitted.top + fitted.height)) - inset - y};
}

double meanLuma(const WindowPixels& pixels, const Region& region)
{
    double sum = 0;
    for (int y = region.y; y < region.y + region.height; ++y)
        for (int x = region.x; x < region.x + region.width; ++x) {
            const std::uint8_t* p = &pixels.rgb[(size_t(y) * size_t(pixels.width) + size_t(x)) * 3];
            sum += luma(p[0], p[1], p[2]);
        }
    return sum / (double(region.width) * region.height);
}

// The correlation of the canvas's luma with the photo's resized to the fitted rectangle (each window
// pixel takes the photo's pixel under its centre). 0 where either is flat, as a black canvas is.
double correlationWithPhoto(const WindowPixels& pixels, const TestBitmap& photo, double scale)
{
    const Fitted fitted = photoOnCanvas(scale);
    const Region region = inside(fitted);
    double n = 0, sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
    for (int y = region.y; y < region.y + region.height; ++y)
        for (int x = region.x; x < region.x + region.width; ++x) {
            const std::uint8_t* p = &pixels.rgb[(size_t(y) * size_t(pixels.width) + size_t(x)) * 3];
            const double a = luma(p[0], p[1], p[2]);
            const auto px = size_t((x + 0.5 - fitted.left) * double(kPhotoWidth) / fitted.width);
            const auto py = size_t((y + 0.5 - fitted.top) * double(kPhotoHeight) / fitted.height);
            const QopColor_t& q = photo.at(std::min(px, kPhotoWidth - 1), std::min(py, kPhotoHeight - 1));
            const double b = luma(q.r, q.g, q.b);
            n += 1, sa += a, sb += b, saa += a * a, sbb += b * b, sab += a * b;
        }
    const double va = saa - sa * sa / n, vb = sbb - sb * sb / n;
    if (va <= 1e-9 || vb <= 1e-9) return 0;
    return (sab - sa * sb / n) / std::sqrt(va * vb);
}

// Keeps what the window showed when a check failed, as a PNG in the working directory, and says
// where.
std::string keepPicture(const std::optional<WindowPixels>& pixels, const std::string& name)
{
    if (!pixels) return "no picture of the window";
    std::vector<std::uint8_t> rgba;
    rgba.reserve(pixels->rgb.size() / 3 * 4);
    for (size_t i = 0; i < pixels->rgb.size(); i += 3)
        rgba.insert(rgba.end(), {pixels->rgb[i], pixels->rgb[i + 1], pixels->rgb[i + 2], 255});
    const fs::path path = fs::absolute("TesselEditorWindowTest-" + name + ".png");
    std::string error;
    if (!ImageIOWritePNGFile(path.string(), rgba.data(), size_t(pixels->width), size_t(pixels->height), &error))
        return "the picture could not be kept: " + error;
    return "the window as it was: " + path.string();
}

// Xlib's default answer to a refused request ends the process; a window that has just gone away
// refuses the events sent to it, which is no failure of the program.
int ignoreRefusal(Display*, XErrorEvent*)
{
    return 0;
}

class TesselEditorWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        display_ = XOpenDisplay(nullptr);
        if (!display_) GTEST_SKIP() << "no display";
        XSetErrorHandler(ignoreRefusal);
        char pattern[] = "/tmp/tessel_editor_window_test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        std::string error;
        ASSERT_TRUE(ImageIOWritePNGFile(input().string(), photo_.data(), photo_.width(), photo_.height(), &error))
            << error;
    }
    void TearDown() override
    {
        if (child_ > 0) {
            kill(child_, SIGKILL);
            waitpid(child_, nullptr, 0);
        }
        if (display_) XCloseDisplay(display_);
        if (!dir_.empty()) fs::remove_all(dir_);
    }

    fs::path input() const { return dir_ / "photo.png"; }
    fs::path output() const { return dir_ / "out.png"; }
    std::string printed(const char* name) const
    {
        std::ifstream in(dir_ / name);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // Starts the program with --output on the photo (and `arguments`) and waits until its window is
    // wholly on the screen; answers the window's scale (pixels per point, the device `pointsWide`).
    // Its stdout and stderr go to stdout.txt and stderr.txt.
    std::optional<double> start(const std::vector<std::pair<std::string, std::string>>& environment = {},
                                const std::vector<std::string>& arguments = {}, int pointsWide = kPhoneWidth)
    {
        window_.reset();
        tessel_testing::ProgramSpawn spawn{TESSEL_EDITOR_PATH, {"--output", output().string()}, environment};
        spawn.arguments.insert(spawn.arguments.end(), arguments.begin(), arguments.end());
        spawn.arguments.push_back(input().string());
        spawn.stdoutFile = (dir_ / "stdout.txt").string();
        spawn.stderrFile = (dir_ / "stderr.txt").string();
        child_ = tessel_testing::spawnProgram(spawn);
        if (child_ < 0) return std::nullopt;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(kStepSeconds);
        while (std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            if (waitForExit(0)) {
                ADD_FAILURE() << "the program ended before its window showed: " << printed("stderr.txt");
                return std::nullopt;
            }
            if (!window_) window_ = findWindowNamed(display_, DefaultRootWindow(display_), kWindowTitle);
            if (window_ && grab()) return double(grab()->width) / pointsWide;
        }
        ADD_FAILURE() << (window_ ? "the window is not wholly on the screen" : "no window named \"Tessel editor\"");
        return std::nullopt;
    }

    std::optional<WindowPixels> grab() const { return grabWindowPixels(display_, *window_); }

    // Grabs until the canvas shows the photo (a correlation of at least 0.9), then until the window
    // has come to rest a while later, and answers the correlation then: the scaled photo shows
    // while the editor fades in, before the GL canvas that must go on showing it takes its place.
    double waitForThePhoto(double scale)
    {
        double seen = -1;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(kStepSeconds);
        while (std::chrono::steady_clock::now() < end && seen < 0.9) {
            if (std::optional<WindowPixels> pixels = grab()) seen = correlationWithPhoto(*pixels, photo_, scale);
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        if (seen < 0.9) return seen;
        std::this_thread::sleep_for(std::chrono::seconds(2));
        const std::optional<WindowPixels> still = waitUntilStill();
        return still ? correlationWithPhoto(*still, photo_, scale) : -1;
    }

    // Grabs until the picture has stayed the same for 2 s, the screen having changed from `before`
    // (when given): an animation or a scroll has come to rest. Answers that picture. A loaded
    // machine running a sanitizer build can draw less than a frame a second, so two equal grabs
    // a moment apart do not yet mean rest.
    std::optional<WindowPixels> waitUntilStill(const std::optional<WindowPixels>& before = std::nullopt)
    {
        std::optional<WindowPixels> last = grab();
        auto stillSince = std::chrono::steady_clock::now();
        const auto end = stillSince + std::chrono::seconds(kStepSeconds);
        while (std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
            std::optional<WindowPixels> now = grab();
            const auto at = std::chrono::steady_clock::now();
            if (!now || !last || now->rgb != last->rgb) {
                stillSince = at;
                last = std::move(now);
                continue;
            }
            const bool changed = !before || now->rgb != before->rgb;
            if (changed && at - stillSince >= std::chrono::seconds(2)) return now;
        }
        return std::nullopt;
    }

    void pointer(PointerEvent event, double x, double y, double scale)
    {
        sendPointerEvent(display_, *window_, event, int(x * scale), int(y * scale));
        std::this_thread::sleep_for(std::chrono::milliseconds(event == PointerEvent::Drag ? 100 : 150));
    }

    // The pointer moved to the point (in points), then the left button pressed and released there.
    void click(double x, double y, double scale)
    {
        pointer(PointerEvent::Move, x, y, scale);
        pointer(PointerEvent::Press, x, y, scale);
        pointer(PointerEvent::Release, x, y, scale);
    }

    // Pressed at the start, moved slowly in steps to the end, held still there, released: no
    // fling, even where the program hears the events late and in bunches (a sanitizer build), as
    // the touches are timed when they are handled.
    void drag(double x1, double y1, double x2, double y2, double scale)
    {
        pointer(PointerEvent::Move, x1, y1, scale);
        pointer(PointerEvent::Press, x1, y1, scale);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        const int steps = 30;
        for (int i = 1; i <= steps; ++i)
            pointer(PointerEvent::Drag, x1 + (x2 - x1) * i / steps, y1 + (y2 - y1) * i / steps, scale);
        std::this_thread::sleep_for(std::chrono::milliseconds(1000));
        pointer(PointerEvent::Release, x2, y2, scale);
    }

    // Clicks the point once a second until the program ends: a click that lands while the screen
    // is still moving is not heard, and the next one is.
    std::optional<int> clickUntilExit(double x, double y, double scale)
    {
        for (int i = 0; i < kStepSeconds; ++i) {
            click(x, y, scale);
            if (std::optional<int> status = waitForExit(1)) return status;
        }
        return std::nullopt;
    }

    void closeWindow() { requestWindowClose(display_, *window_); }

    // As a window killer does it, from this client: only the window of the program started here.
    bool destroyWindow()
    {
        const Atom pidAtom = XInternAtom(display_, "_NET_WM_PID", False);
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        const bool read = XGetWindowProperty(display_, *window_, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                                             &items, &after, &data) == Success &&
                          data && format == 32 && items == 1;
        const bool ours = read && pid_t(*reinterpret_cast<unsigned long*>(data)) == child_;
        if (data) XFree(data);
        if (!ours) return false;
        XDestroyWindow(display_, *window_);
        XSync(display_, False);
        return true;
    }

    // The exit status, or nullopt when it has not ended within the seconds.
    std::optional<int> waitForExit(int seconds)
    {
        std::optional<int> status = waitForProgramExit(child_, seconds);
        if (status) child_ = -1;
        return status;
    }

    // Scale 2 unless the screen cannot hold the phone at 2.
    double expectedScale() const
    {
        const Screen* screen = DefaultScreenOfDisplay(display_);
        return screen->width >= 2 * kPhoneWidth && screen->height >= 2 * kPhoneHeight ? 2 : 1;
    }

    ::testing::AssertionResult writtenMatches(const TestBitmap& expected, int tolerance) const
    {
        TestBitmap written;
        std::string error;
        if (!qop_test::readImageFile(output().string(), &written, &error))
            return ::testing::AssertionFailure() << "the photo was not written: " << error;
        if (written.width() != expected.width() || written.height() != expected.height())
            return ::testing::AssertionFailure() << "written at " << written.width() << " x " << written.height();
        for (size_t y = 0; y < written.height(); ++y)
            for (size_t x = 0; x < written.width(); ++x) {
                const QopColor_t a = written.at(x, y), b = expected.at(x, y);
                if (std::abs(a.r - b.r) > tolerance || std::abs(a.g - b.g) > tolerance ||
                    std::abs(a.b - b.b) > tolerance)
                    return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") differs";
            }
        return ::testing::AssertionSuccess();
    }

    const TestBitmap photo_ = makePhoto();
    Display* display_ = nullptr;
    std::optional<Window> window_;
    pid_t child_ = -1;
    fs::path dir_;
};

TEST_F(TesselEditorWindowTest, TheCanvasShowsThePhotoAndDoneHandsItBackAtFullSize)
{
    const std::optional<double> scale = start();
    ASSERT_TRUE(scale);
    EXPECT_EQ(*scale, expectedScale());
    EXPECT_EQ(grab()->height, int(kPhoneHeight * *scale));
    EXPECT_GE(waitForThePhoto(*scale), 0.9) << "the canvas does not show the photo; " << keepPicture(grab(), "canvas");
    ASSERT_EQ(clickUntilExit(kDoneX, kBarButtonY, *scale), std::optional<int>(0)) << printed("stderr.txt");
    EXPECT_TRUE(writtenMatches(photo_, 1));
    const std::string log = printed("stderr.txt");
    EXPECT_EQ(log.find("EGL_"), std::string::npos) << log;
}

TEST_F(TesselEditorWindowTest, AnAdjustDragBrightensTheCanvasAndDoneWritesWhatTheHeadlessRunWrites)
{
    const std::optional<double> scale = start();
    ASSERT_TRUE(scale);
    ASSERT_GE(waitForThePhoto(*scale), 0.9) << "the canvas does not show the photo; " << keepPicture(grab(), "canvas");

    // Adjust is the eighth cell of the strip: one drag brings it in.
    drag(310, kStripY, 10, kStripY, *scale);
    const std::optional<WindowPixels> home = waitUntilStill();
    ASSERT_TRUE(home) << "the strip never came to rest";
    click(kAdjustX, kStripY, *scale);
    const std::optional<WindowPixels> opened = waitUntilStill(home);
    ASSERT_TRUE(opened) << "nothing changed after the click on Adjust; " << keepPicture(home, "strip");
    const Region canvas = inside(photoOnCanvas(*scale));
    const double before = meanLuma(*opened, canvas);

    drag(kKnobX, kKnobY, kTrackEndX, kKnobY, *scale);
    double after = before;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(kStepSeconds);
    while (after < before + 5 && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (std::optional<WindowPixels> now = grab()) after = meanLuma(*now, canvas);
    }
    EXPECT_GE(after, before + 5) << "the canvas is not brighter; " << keepPicture(grab(), "dragged");

    // Apply, then Done, in the same place of the bar.
    ASSERT_EQ(clickUntilExit(kDoneX, kBarButtonY, *scale), std::optional<int>(0)) << printed("stderr.txt");
    const fs::path windowOutput = dir_ / "window.png";
    fs::rename(output(), windowOutput);

    const fs::path script = dir_ / "adjust.txt";
    std::ofstream(script) << "wait 1\ndrag 310,510 10,510 1\nwait 1\ntap Adjust\n"
                             "wait 0.5\ndrag 160,485 300,485 0.5\nwait 0.5\ntap Apply\nwait 0.5\ntap Done\n";
    const example_test::ProgramRun headless =
        example_test::runProgram(TESSEL_EDITOR_PATH, {"--headless", "--script", script.string(), "--output",
                                                      output().string(), input().string()});
    ASSERT_EQ(headless.status, 0) << headless.output;
    TestBitmap fromWindow;
    std::string error;
    ASSERT_TRUE(qop_test::readImageFile(windowOutput.string(), &fromWindow, &error)) << error;
    EXPECT_TRUE(writtenMatches(fromWindow, 1)) << "the window's edit and the headless one differ";
    EXPECT_FALSE(writtenMatches(photo_, 4)) << "the edit did not reach the photo";
}

TEST_F(TesselEditorWindowTest, CancelAndClosingTheWindowWriteNothing)
{
    enum class Ending { CancelButton, WindowClosed, WindowDestroyed };
    struct Case {
        const char* name;
        Ending ending;
        const char* printed;
    };
    const Case cases[] = {
        {"Cancel", Ending::CancelButton, "cancelled\n"},
        {"the window closed", Ending::WindowClosed, ""},
        {"the window destroyed from outside", Ending::WindowDestroyed, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<double> scale = start();
        ASSERT_TRUE(scale);
        ASSERT_GE(waitForThePhoto(*scale), 0.9);
        std::optional<int> status;
        if (c.ending == Ending::CancelButton) {
            status = clickUntilExit(kCancelX, kBarButtonY, *scale);
        } else if (c.ending == Ending::WindowClosed) {
            closeWindow();
            status = waitForExit(kStepSeconds);
        } else {
            ASSERT_TRUE(destroyWindow()) << "the window found is not the program's";
            status = waitForExit(kStepSeconds);
        }
        EXPECT_EQ(status, std::optional<int>(0));
        EXPECT_FALSE(fs::exists(output()));
        EXPECT_EQ(printed("stdout.txt"), c.printed);
    }
}

// Without a GL context the window shows the photo under an alert; its button cancels the editor,
// and the program fails with the alert's message.
TEST_F(TesselEditorWindowTest, WithoutGLTheAlertsButtonEndsTheProgramWithItsMessage)
{
    const std::optional<double> scale = start({{"TESSEL_EGL_PLATFORM", "none"}});
    ASSERT_TRUE(scale);
    ASSERT_EQ(clickUntilExit(kAlertButtonX, kAlertButtonY, *scale), std::optional<int>(1));
    EXPECT_NE(printed("stderr.txt").find(kNoGLMessage), std::string::npos) << printed("stderr.txt");
    EXPECT_EQ(printed("stdout.txt"), "");
    EXPECT_FALSE(fs::exists(output()));
}

// The tablet's window on a display smaller than it (the 1366 x 768 laptop run): drawn at the
// largest scale that fits, wholly on the screen, and showing the editor.
TEST_F(TesselEditorWindowTest, TheTabletWindowFitsTheScreen)
{
    const int tabletWidth = 768, tabletHeight = 1024;
    const std::optional<double> scale = start({}, {"--device", "tablet"}, tabletWidth);
    ASSERT_TRUE(scale) << "not wholly on the screen; " << printed("stderr.txt");
    XWindowAttributes attributes{};
    ASSERT_TRUE(XGetWindowAttributes(display_, *window_, &attributes));
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(display_, *window_, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
    const Screen* screen = DefaultScreenOfDisplay(display_);
    EXPECT_GE(x, 0);
    EXPECT_GE(y, 0);
    EXPECT_LE(x + attributes.width, screen->width);
    EXPECT_LE(y + attributes.height, screen->height);
    const double fit = std::min(double(screen->width) / tabletWidth, double(screen->height) / tabletHeight);
    if (fit >= 2) {
        EXPECT_EQ(*scale, 2);
    } else if (fit >= 1) {
        EXPECT_EQ(*scale, 1);
    } else {
        EXPECT_LT(*scale, 1);
        EXPECT_GT(*scale, fit - 0.02) << "not the largest scale that fits";
        EXPECT_NEAR(attributes.height, tabletHeight * *scale, 1);
        EXPECT_NE(printed("stderr.txt").find("drawn at scale"), std::string::npos) << printed("stderr.txt");
    }
    // The editor is drawn there, not an empty window: the bar, the canvas and the strip differ.
    const std::optional<WindowPixels> shown = waitUntilStill();
    ASSERT_TRUE(shown);
    size_t distinct = 0;
    for (size_t i = 3; i < shown->rgb.size(); i += 3 * 97)
        if (std::memcmp(&shown->rgb[i], &shown->rgb[0], 3) != 0) ++distinct;
    EXPECT_GT(distinct, shown->rgb.size() / 3 / 97 / 10) << keepPicture(shown, "tablet");
    closeWindow();
    EXPECT_EQ(waitForExit(kStepSeconds), std::optional<int>(0));
}

// The wheel over the tool strip scrolls it as a drag would, with no tap: no tool opens, the canvas
// stays, and as many notches back bring the strip back to where it was.
TEST_F(TesselEditorWindowTest, TheWheelScrollsTheToolStripWithoutATap)
{
    const std::optional<double> scale = start();
    ASSERT_TRUE(scale);
    ASSERT_GE(waitForThePhoto(*scale), 0.9) << keepPicture(grab(), "canvas");
    const std::optional<WindowPixels> home = waitUntilStill();
    ASSERT_TRUE(home);
    auto band = [&](const WindowPixels& pixels, double top, double bottom) {
        const size_t row = size_t(pixels.width) * 3;
        return std::vector<std::uint8_t>(pixels.rgb.begin() + std::ptrdiff_t(size_t(top * *scale) * row),
                                         pixels.rgb.begin() + std::ptrdiff_t(size_t(bottom * *scale) * row));
    };
    const double stripTop = 470, stripBottom = kPhoneHeight;
    // The wheel acts where the pointer is.
    pointer(PointerEvent::Move, 160, kStripY, *scale);
    for (int i = 0; i < 4; ++i) {
        sendWheelNotch(display_, *window_, WheelNotch::Down, int(160 * *scale), int(kStripY * *scale));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    const std::optional<WindowPixels> scrolled = waitUntilStill(home);
    ASSERT_TRUE(scrolled) << "the wheel did not move the strip; " << keepPicture(grab(), "wheel");
    EXPECT_NE(band(*scrolled, stripTop, stripBottom), band(*home, stripTop, stripBottom));
    EXPECT_EQ(band(*scrolled, 0, kCanvasBottom), band(*home, 0, kCanvasBottom))
        << "the bar or the canvas changed: a tool opened; " << keepPicture(scrolled, "wheel");
    for (int i = 0; i < 4; ++i) {
        sendWheelNotch(display_, *window_, WheelNotch::Up, int(160 * *scale), int(kStripY * *scale));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    const std::optional<WindowPixels> back = waitUntilStill(scrolled);
    ASSERT_TRUE(back) << keepPicture(grab(), "wheel-back");
    EXPECT_EQ(back->rgb, home->rgb) << keepPicture(back, "wheel-back");
}

}  // namespace
