// The built tessel-customizer as a person starts it: its window appears with the first section
// drawn selected, and closing the window through the window manager's protocol ends the program
// with status 0. Talks to the X server the launcher gives it.

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

#include "support/QZTestFolders.h"
#include "testing/ProgramSpawn.h"
#include "testing/display/ProgramWindow.h"

namespace customizer::testing {
namespace {

constexpr const char* kWindowTitle = "Tessel SDK Customizer";

struct RGB {
    int red, green, blue;
    bool operator==(const RGB&) const = default;
};
constexpr RGB kSelectedCell{88, 102, 115};
constexpr RGB kCell{50, 64, 65};
// A column through the section list, right of the section names.
constexpr int kProbeX = 180;

RGB pixel(XImage* image, int x, int y)
{
    const unsigned long value = XGetPixel(image, x, y);
    return {int((value & image->red_mask) >> 16), int((value & image->green_mask) >> 8), int(value & image->blue_mask)};
}

class QZCustomizerProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        display_ = XOpenDisplay(nullptr);
        if (!display_) GTEST_SKIP() << "no display";
    }
    void TearDown() override
    {
        if (child_ > 0) {
            kill(child_, SIGKILL);
            waitpid(child_, nullptr, 0);
        }
        if (display_) XCloseDisplay(display_);
    }
    // The exit status, or nullopt when it has not ended within the seconds.
    std::optional<int> waitForExit(int seconds)
    {
        std::optional<int> status = waitForProgramExit(child_, seconds);
        if (status) child_ = -1;
        return status;
    }

    Display* display_ = nullptr;
    pid_t child_ = -1;
    QZTemporaryFolder home_;
};

TEST_F(QZCustomizerProgramTest, StartsOnTheFirstSectionAndEndsWhenItsWindowIsClosed)
{
    const std::string data = home_ / "data", config = home_ / "config";
    child_ = tessel_testing::spawnProgram(tessel_testing::ProgramSpawn(
        TESSEL_CUSTOMIZER_PROGRAM, {}, {{"XDG_DATA_HOME", data}, {"XDG_CONFIG_HOME", config}}));
    ASSERT_GE(child_, 0);

    // The window appears and draws; its section list has a selected cell above the others.
    std::optional<Window> window;
    std::optional<int> firstCellRow;
    bool firstSelected = false, secondPlain = false;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < end && !(firstCellRow && firstSelected && secondPlain)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        ASSERT_FALSE(waitForExit(0)) << "the program ended early";
        if (!window) window = findWindowNamed(display_, DefaultRootWindow(display_), kWindowTitle);
        XWindowAttributes attributes{};
        if (!window || !XGetWindowAttributes(display_, *window, &attributes) || attributes.map_state != IsViewable)
            continue;
        XImage* image = XGetImage(display_, *window, 0, 0, unsigned(attributes.width), unsigned(attributes.height),
                                  AllPlanes, ZPixmap);
        if (!image) continue;
        firstCellRow.reset();
        for (int y = 0; y < attributes.height && !firstCellRow; ++y) {
            const RGB colour = pixel(image, kProbeX, y);
            if (colour == kSelectedCell || colour == kCell) firstCellRow = y;
        }
        if (firstCellRow) {
            firstSelected = pixel(image, kProbeX, *firstCellRow + 2) == kSelectedCell;
            secondPlain = *firstCellRow + 66 < attributes.height && pixel(image, kProbeX, *firstCellRow + 66) == kCell;
        }
        XDestroyImage(image);
    }
    ASSERT_TRUE(window) << "no window named \"" << kWindowTitle << "\"";
    ASSERT_TRUE(firstCellRow) << "no section list";
    EXPECT_TRUE(firstSelected);
    EXPECT_TRUE(secondPlain);

    // Closing it as a window manager would.
    requestWindowClose(display_, *window);
    EXPECT_EQ(waitForExit(60), std::optional<int>(0));
}

}  // namespace
}  // namespace customizer::testing
