// tessel_editor in its window, as a person uses it with the mouse: the program started on a display
// (the one there is, else a virtual one), its window found through X11, the pointer moved and
// clicked there. Done hands the photo back at full size; Cancel says "cancelled"; closing the
// window ends the program and writes nothing.
#include <gtest/gtest.h>

#include "QopTestBitmap.h"

#include "ImageIO/ImageIOCodec.h"
// After GoogleTest: Xlib defines macros (None, Bool) that its headers use as names.
#include "testing/display/ProgramWindow.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using qop_test::TestBitmap;
namespace fs = std::filesystem;

namespace {

constexpr const char* kWindowTitle = "Tessel editor";
// The phone the program shows: 320 x 568 points. The bar's buttons, in points (as the headless
// screenshots show them): Cancel on the left, Done on the right, under the 20-point status band.
constexpr int kPhoneWidth = 320;
constexpr int kCancelX = 34, kDoneX = 286, kBarButtonY = 42;
// A point of the canvas, where the photo shows.
constexpr int kCanvasX = 160, kCanvasY = 260;
constexpr std::uint8_t kPhotoColour[3] = {200, 40, 40};

bool nearPhotoColour(unsigned long value, const XImage& image)
{
    const int rgb[3] = {int((value & image.red_mask) >> 16), int((value & image.green_mask) >> 8),
                        int(value & image.blue_mask)};
    for (int c = 0; c < 3; ++c)
        if (std::abs(rgb[c] - kPhotoColour[c]) > 3) return false;
    return true;
}

class TesselEditorWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        display_ = XOpenDisplay(nullptr);
        if (!display_) GTEST_SKIP() << "no display";
        char pattern[] = "/tmp/tessel_editor_window_test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        TestBitmap photo(900, 600);
        for (size_t y = 0; y < photo.height(); ++y)
            for (size_t x = 0; x < photo.width(); ++x)
                photo.at(x, y) = {kPhotoColour[0], kPhotoColour[1], kPhotoColour[2], 255};
        std::string error;
        ASSERT_TRUE(ImageIOWritePNGFile(input().string(), photo.data(), photo.width(), photo.height(), &error))
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
    std::string printed() const
    {
        std::ifstream in(dir_ / "printed.txt");
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // Starts the program with --output on the photo, in its window, and waits until the window
    // shows the photo on its canvas; answers the window's scale (pixels per point).
    std::optional<double> start()
    {
        child_ = fork();
        if (child_ < 0) return std::nullopt;
        if (child_ == 0) {
            const int printed = open((dir_ / "printed.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(printed, STDOUT_FILENO);
            execl(TESSEL_EDITOR_PATH, TESSEL_EDITOR_PATH, "--output", output().c_str(), input().c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            if (waitForExit(0)) {
                ADD_FAILURE() << "the program ended before its window showed the photo";
                return std::nullopt;
            }
            if (!window_) window_ = findWindowNamed(display_, DefaultRootWindow(display_), kWindowTitle);
            XWindowAttributes attributes{};
            if (!window_ || !XGetWindowAttributes(display_, *window_, &attributes) ||
                attributes.map_state != IsViewable)
                continue;
            const double scale = double(attributes.width) / kPhoneWidth;
            XImage* image = XGetImage(display_, *window_, int(kCanvasX * scale), int(kCanvasY * scale), 1, 1,
                                      AllPlanes, ZPixmap);
            if (!image) continue;
            const bool shown = nearPhotoColour(XGetPixel(image, 0, 0), *image);
            XDestroyImage(image);
            if (shown) return scale;
        }
        ADD_FAILURE() << (window_ ? "the window never showed the photo" : "no window named \"Tessel editor\"");
        return std::nullopt;
    }

    // The pointer moved to the point, then the left button pressed and released there.
    void click(int x, int y)
    {
        auto send = [&](int type, long mask, unsigned state) {
            XEvent event{};
            // Motion and button events share their leading fields.
            XButtonEvent& e = event.xbutton;
            e.type = type;
            e.send_event = True;
            e.display = display_;
            e.window = *window_;
            e.root = DefaultRootWindow(display_);
            e.time = CurrentTime;
            e.x = e.x_root = x;
            e.y = e.y_root = y;
            e.state = state;
            e.same_screen = True;
            if (type != MotionNotify) e.button = Button1;
            XSendEvent(display_, *window_, True, mask, &event);
            XFlush(display_);
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
        };
        send(MotionNotify, PointerMotionMask, 0);
        send(ButtonPress, ButtonPressMask, 0);
        send(ButtonRelease, ButtonReleaseMask, Button1Mask);
    }

    void closeWindow() { requestWindowClose(display_, *window_); }

    // The exit status, or nullopt when it has not ended within the seconds.
    std::optional<int> waitForExit(int seconds)
    {
        std::optional<int> status = waitForProgramExit(child_, seconds);
        if (status) child_ = -1;
        return status;
    }

    Display* display_ = nullptr;
    std::optional<Window> window_;
    pid_t child_ = -1;
    fs::path dir_;
};

TEST_F(TesselEditorWindowTest, DoneHandsThePhotoBackAtFullSize)
{
    const std::optional<double> scale = start();
    ASSERT_TRUE(scale);
    click(int(kDoneX * *scale), int(kBarButtonY * *scale));
    ASSERT_EQ(waitForExit(60), std::optional<int>(0));
    TestBitmap written;
    std::string error;
    ASSERT_TRUE(qop_test::readImageFile(output().string(), &written, &error)) << error;
    ASSERT_EQ(written.width(), 900u);
    ASSERT_EQ(written.height(), 600u);
    for (const QopColor_t& p : {written.at(0, 0), written.at(450, 300), written.at(899, 599)}) {
        EXPECT_NEAR(p.r, kPhotoColour[0], 1);
        EXPECT_NEAR(p.g, kPhotoColour[1], 1);
        EXPECT_NEAR(p.b, kPhotoColour[2], 1);
    }
}

TEST_F(TesselEditorWindowTest, CancelAndClosingTheWindowWriteNothing)
{
    enum class Ending { CancelButton, WindowClosed };
    struct Case {
        const char* name;
        Ending ending;
        const char* printed;
    };
    const Case cases[] = {
        {"Cancel", Ending::CancelButton, "cancelled\n"},
        {"the window closed", Ending::WindowClosed, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window_.reset();
        const std::optional<double> scale = start();
        ASSERT_TRUE(scale);
        if (c.ending == Ending::CancelButton)
            click(int(kCancelX * *scale), int(kBarButtonY * *scale));
        else
            closeWindow();
        EXPECT_EQ(waitForExit(60), std::optional<int>(0));
        EXPECT_FALSE(fs::exists(output()));
        EXPECT_EQ(printed(), c.printed);
    }
}

}  // namespace
