// tessel_editor's host in-process, through its script runner as the program runs it: from Done the
// shell's progress HUD stays over the photo until the result is written, and the host waits for
// the full-size replay while it works, failing only when the replay says it failed; with a content
// service that offers messages, the card the home screen presents is drawn, goes with either of its
// buttons, and the bar answers afterwards, on a root several editors share.
#include "TesselEditorHost.h"
#include "TesselEditorScript.h"

#include "TesselSDK/remote/QZMessageView.h"
#include "TesselSDK/shell/tests/QZPhotoEditorReplaySupport.h"
#include "TesselSDKImaging/QZOpenGLManager.h"

#include "Dispatch/DispatchClock.h"
#include "Dispatch/DispatchRunLoop.h"
#include "Foundation/PlatformSettings.h"
#include "Network/SCNetworkReachability.h"
#include "TesselSDK/remote/QZRemoteConfiguration.h"
#include "UIKit/testing/UITestDriver.h"
#include "testing/TesselFixtureServer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;
using namespace tessel_editor;

namespace {

// The Adjust knob dragged to the right and applied, then Done: an edit the full-size replay must
// render (the strip's Adjust cell, the knob and Apply as the phone shows them).
const std::vector<std::string> kAdjustThenDone = {"wait 1",          "drag 310,510 10,510 1", "wait 1",
                                                  "tap Adjust",      "wait 0.5",              "drag 160,485 300,485 0.5",
                                                  "wait 0.5",        "tap Apply",             "wait 0.5",
                                                  "tap Done"};

double luma(const std::array<std::uint8_t, 4>& p)
{
    return 0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2];
}

// The mean luma of the snapshot's pixels in the rectangle given in points.
double meanLuma(const qz_test::Pixels& shot, CGRect points, double scale)
{
    double sum = 0;
    std::size_t count = 0;
    for (auto y = std::size_t(points.origin.y * scale); y < std::size_t(CGRectGetMaxY(points) * scale); ++y)
        for (auto x = std::size_t(points.origin.x * scale); x < std::size_t(CGRectGetMaxX(points) * scale); ++x) {
            sum += luma(shot.at(x, y));
            ++count;
        }
    return count ? sum / double(count) : -1;
}

class TesselEditorHostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        PlatformSettings::setMainBundlePath(fs::path(TESSEL_SDK_RESOURCES_BUNDLE_DIR).parent_path().string());
        if (QZOpenGLManager::sharedOpenGLManager()->setupFailed()) GTEST_SKIP() << "no EGL display";
        char pattern[] = "/tmp/tessel_editor_host_test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        configureDevice(Device::Phone);
    }
    void TearDown() override
    {
        if (host_) host_->close();
        host_.reset();
        SCNetworkReachabilitySetFlagsOverride(std::nullopt);
        QZRemoteConfiguration::setAPIKey(std::nullopt);
        QZRemoteConfiguration::setContentServiceRoot(std::nullopt);
        if (!dir_.empty()) fs::remove_all(dir_);
        DispatchClock::useVirtualTime(false);
        PlatformSettings::reset();
    }

    // A host on the content root (and server, when given) and a photo of mid-tones with structure.
    void open(const std::string& root, const std::optional<std::string>& server = std::nullopt)
    {
        if (host_) host_->close();
        std::string error;
        ASSERT_TRUE(applyContentOptions({(dir_ / root).string(), server}, &error)) << error;
        photo_ = qz_test::imageOf(qz_test::makePixels(1200, 800, [](std::size_t x, std::size_t y) {
            return std::array<std::uint8_t, 4>{std::uint8_t(60 + x % 97), std::uint8_t(70 + y % 83),
                                               std::uint8_t(90 + (x + y) % 71), 255};
        }));
        // As the program plays a script.
        host_ = EditorHost::open(photo_, &error, EditorHost::Clock::Script);
        ASSERT_NE(host_, nullptr) << error;
    }

    ScriptResult play(const std::vector<std::string>& lines)
    {
        ScriptRunner runner(*host_, (dir_ / "shots").string());
        return runner.run(lines);
    }

    qz_test::Pixels shot() const { return qz_test::pixelsOf(host_->window()->snapshot()); }

    fs::path dir_;
    std::shared_ptr<UIImage> photo_;
    std::shared_ptr<EditorHost> host_;
};

// ---- Done ----

TEST_F(TesselEditorHostTest, FromDoneTheProgressShowsOverThePhotoUntilTheResultIsWritten)
{
    open("root");
    const ScriptResult played = play(kAdjustThenDone);
    ASSERT_EQ(played.status, ScriptResult::Status::Finished) << "line " << played.line << ": " << played.message;

    const std::shared_ptr<QZProgressHUDView>& hud = host_->progressView();
    ASSERT_NE(hud, nullptr) << "no progress after Done";
    const CGRect bounds = host_->window()->bounds();
    const CGRect box = hud->frame();
    EXPECT_EQ(hud->superview().get(), static_cast<UIView*>(host_->window().get()));
    EXPECT_EQ(host_->window()->subviews().back(), hud) << "the progress is not on top";
    EXPECT_NEAR(CGRectGetMidX(box), CGRectGetMidX(bounds), 1);
    EXPECT_NEAR(CGRectGetMidY(box), CGRectGetMidY(bounds), 1);

    int turns = 0;
    const std::shared_ptr<UIImage> result = host_->waitForResult([&] {
        ++turns;
        EditorHost::settle();
    });
    ASSERT_NE(result, nullptr) << "the edited photo was not delivered";
    EXPECT_EQ(host_->delivery(), EditorHost::Delivery::Delivered);
    EXPECT_EQ(result->size().width, 1200);

    // While the editor goes and the file is written, and after: the progress over the photo.
    const double scale = PlatformSettings::screenScale();
    const CGRect ring = CGRectMake(box.origin.x + 4, box.origin.y + 4, 12, box.size.height - 8);
    const CGRect beside = CGRectOffset(ring, -40, 0);
    const fs::path written = dir_ / "out.png";
    std::string error;
    ASSERT_TRUE(host_->writeResult(written.string(), &error)) << error;
    EXPECT_EQ(host_->editor(), nullptr) << "the editor outlived the write";
    EXPECT_EQ(host_->window()->subviews().back(), hud);
    const qz_test::Pixels picture = shot();
    EXPECT_LT(meanLuma(picture, ring, scale), 40) << "no progress box over the photo";
    EXPECT_GT(meanLuma(picture, beside, scale), 60) << "the photo is gone from under the progress";
    EXPECT_TRUE(fs::is_regular_file(written));

    host_->close();
    EXPECT_EQ(host_->progressView(), nullptr);
}

// The wait for the result turns the host's loop while the replay works and never gives up on it:
// it ends when the replay delivers, or when the replay reports it failed (here: cancelled, as a
// lost GPU context or a closing host cancels it), and then nothing is taken for the edit.
TEST_F(TesselEditorHostTest, TheWaitForTheResultEndsOnlyWhenTheReplayDeliversOrFails)
{
    struct Case {
        const char* name;
        bool cancelled;
        EditorHost::Delivery delivery;
    };
    const Case cases[] = {
        {"delivered", false, EditorHost::Delivery::Delivered},
        {"cancelled", true, EditorHost::Delivery::Failed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        open(std::string("root-") + c.name);
        std::vector<std::string> lines = kAdjustThenDone;
        lines.pop_back();
        ASSERT_EQ(play(lines).status, ScriptResult::Status::Ended);
        const auto& contexts = host_->editor()->session()->contexts();
        ASSERT_EQ(contexts.size(), 1u);
        const std::shared_ptr<QZPhotoEditorContext> context = contexts.front();
        UITestDriver driver;
        ASSERT_TRUE(driver.tapViewWithLabel("Done"));
        // The editor hears Done once the canvas is read back; the replay starts then.
        ASSERT_TRUE(DispatchRunLoop::runUntil([&] { return host_->outcome() == EditorHost::Outcome::Finished; }, 60));
        EXPECT_EQ(host_->delivery(), EditorHost::Delivery::Working);
        if (c.cancelled) context->cancelRendering();
        const std::shared_ptr<UIImage> result = host_->waitForResult([] { EditorHost::settle(); });
        EXPECT_EQ(host_->delivery(), c.delivery);
        EXPECT_EQ(result != nullptr, !c.cancelled);
        EXPECT_EQ(host_->result(), result);
    }
}

// ---- Messages ----

// The content tree offers two messages a card can show: the later "Tessel turns ten" (one button,
// which dismisses it) and, once 72 hours have passed, "New in Tessel" (its action button). Each
// editor on the shared root: the first fetches them; each later one shows its card drawn over the
// editor, the card goes with its button, and Done then finishes the edit.
TEST_F(TesselEditorHostTest, EachPresentedMessageIsDrawnGoesWithItsButtonAndTheBarAnswersAfter)
{
    const fs::path tree = dir_ / "content-tree";
    fs::copy(std::string(TESSEL_CONTENT_FIXTURES_DIR) + "/content-tree", tree, fs::copy_options::recursive);
    TesselFixtureServer server;
    server.serveDirectory(tree.string());
    struct Launch {
        const char* name;
        double hoursLater;
        const char* title;   // of the card shown, or null
        const char* button;  // the card's button pressed
    };
    const Launch launches[] = {
        {"the first fetches the messages", 0, nullptr, nullptr},
        {"the second shows the latest, dismissed", 0, "Tessel turns ten", "Celebrate"},
        {"the third shows none", 0, nullptr, nullptr},
        {"three days on the next, by its action", 73, "New in Tessel", "Show me"},
    };
    for (const Launch& launch : launches) {
        SCOPED_TRACE(launch.name);
        if (launch.hoursLater > 0) {
            // The date moves on the virtual clock only, which the editor opens on.
            DispatchClock::useVirtualTime(true);
            DispatchClock::setSecondsSince1970(DispatchClock::secondsSince1970() + launch.hoursLater * 3600);
        }
        open("shared", server.baseURL());
        ScriptResult played = play({"wait 2"});
        ASSERT_EQ(played.status, ScriptResult::Status::Ended) << "line " << played.line << ": " << played.message;
        std::shared_ptr<QZMessageView> card;
        for (const auto& view : host_->editor()->view()->subviews())
            if (auto found = std::dynamic_pointer_cast<QZMessageView>(view)) card = found;
        ASSERT_EQ(card != nullptr, launch.title != nullptr);
        if (card) {
            EXPECT_NE(UITestDriver::visibleViewWithLabel(launch.title), nullptr);
            // Drawn: the window's picture where the card lies changes when it goes.
            const qz_test::Pixels withCard = shot();
            const CGRect area = card->frame();
            played = play({std::string("tap ") + launch.button, "wait 1"});
            ASSERT_EQ(played.status, ScriptResult::Status::Ended) << "line " << played.line << ": " << played.message;
            EXPECT_EQ(card->superview(), nullptr) << "the card is still there";
            const double scale = PlatformSettings::screenScale();
            EXPECT_GT(std::abs(meanLuma(withCard, area, scale) - meanLuma(shot(), area, scale)), 10)
                << "the card was not drawn";
        }
        played = play({"tap Done"});
        EXPECT_EQ(played.status, ScriptResult::Status::Finished) << "line " << played.line << ": " << played.message;
        if (played.status == ScriptResult::Status::Finished) {
            EXPECT_NE(host_->waitForResult([] { EditorHost::settle(); }), nullptr);
        }
    }
}

}  // namespace
