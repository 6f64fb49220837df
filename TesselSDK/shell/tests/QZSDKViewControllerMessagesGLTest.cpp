// The root screen and in-app messages on a real GL context: a stored message's card when the
// editor appears, the 72-hour spacing and quick launches, and the message update that the root
// screen and fetchContent start against the loopback fixture server.
#include "QZPhotoEditorReplaySupport.h"
#include "TesselSDKImaging/tests/QZGLTestSupport.h"

#include "TesselSDK/remote/QZContentPackUpdate.h"
#include "TesselSDK/remote/QZMessage.h"
#include "TesselSDK/remote/QZMessageUpdate.h"
#include "TesselSDK/remote/QZRemoteConfiguration.h"
#include "TesselSDK/remote/QZRemoteRegisterClasses.h"
#include "TesselSDK/remote/QZTesselContentManager.h"
#include "TesselSDK/remote/QZTranslationManager.h"
#include "TesselSDKFoundation/QZSDKResources.h"
#include "TesselSDK/shell/QZPhotoEditorController.h"
#include "TesselSDK/shell/QZSDKViewController.h"

#include "Dispatch/DispatchClock.h"
#include "Dispatch/DispatchRunLoop.h"
#include "Foundation/PlatformSettings.h"
#include "Network/SCNetworkReachability.h"
#include "UIKit/UIWindow.h"
#include "UIKit/testing/UITestDriver.h"
#include "testing/TesselFixtureServer.h"
#include "testing/TestSandbox.h"

#include <filesystem>
#include <fstream>

using namespace qz_test;
namespace fs = std::filesystem;

namespace {

constexpr double kNow = 1700000000;
constexpr const char* kMessageVersionPath = "/ios/cds/api/tessel-example/messages/messageVersion.json";
// The card texts: QZMessage::make's header, and the fixture tree's two eligible messages (m2 begins
// later than m1; m3, later still, names a content pack).
constexpr const char* kMadeMessage = "A message";
constexpr const char* kEarlierMessage = "New in Tessel";
constexpr const char* kLaterMessage = "Tessel turns ten";

}  // namespace

class QZSDKViewControllerMessagesGLTest : public GLManagerTest {
protected:
    void SetUp() override
    {
        GLManagerTest::SetUp();
        if (IsSkipped()) return;
        PlatformSettings::setScreenScale(2);
        PlatformSettings::setScreenSize(320, 480);
        TesselSDKRemoteRegisterClasses();
        QZTesselContentManager::resetSharedManagerForTesting();
        // The driver runs virtual time; its wall clock starts at a fixed date.
        DispatchClock::setSecondsSince1970(kNow);
        window_ = UIWindow::window();
        root_ = UIViewController::make();
        window_->setRootViewController(root_);
        window_->makeKeyAndVisible();
    }
    void TearDown() override
    {
        if (window_) {
            close();
            window_->setRootViewController(nullptr);
        }
        root_.reset();
        window_.reset();
        settle();
        server_.releaseStalls();
        QZTesselContentManager::resetSharedManagerForTesting();
        QZTranslationManager::resetSharedManagerForTesting();
        SCNetworkReachabilitySetFlagsOverride(std::nullopt);
        QZRemoteConfiguration::setAPIKey(std::nullopt);
        QZRemoteConfiguration::setContentServiceRoot(std::nullopt);
        QZSDKResources::unloadResources();
        GLManagerTest::TearDown();
    }

    // The fixture server serves a copy of the built content tree and the configuration points at it.
    void serveContentTree()
    {
        fs::copy(std::string(TESSEL_CONTENT_FIXTURES_DIR) + "/content-tree", tree_, fs::copy_options::recursive);
        server_.serveDirectory(tree_);
        QZRemoteConfiguration::setAPIKey("tessel-example");
        QZRemoteConfiguration::setContentServiceRoot(server_.baseURL());
        SCNetworkReachabilitySetFlagsOverride(kSCNetworkReachabilityFlagsReachable);
    }
    // The messages version document waits before its headers until the server's stalls are released.
    void stallMessagesVersion()
    {
        std::ifstream in(tree_ + kMessageVersionPath, std::ios::binary);
        TesselFixtureServer::Response stalled;
        stalled.body.assign(std::istreambuf_iterator<char>(in), {});
        stalled.stalls = true;
        server_.setRoute(kMessageVersionPath, stalled);
    }

    static void settle()
    {
        for (int round = 0; round < 50; ++round) {
            ASSERT_TRUE(drainGPUQueue());
            if (DispatchRunLoop::drain() == 0) return;
        }
    }

    // Presents an editor and lets it appear and its card (if any) finish its entrance.
    void open(const std::string& quickLaunchKey = "")
    {
        auto image = imageOf(gradient(120, 80));
        editor_ = quickLaunchKey.empty() ? QZPhotoEditorController::initWithImage(image)
                                         : QZPhotoEditorController::initWithImageQuickLaunchTool(image, quickLaunchKey);
        ASSERT_NE(editor_, nullptr);
        root_->presentViewController(editor_, false);
        settle();
        driver_.advance(0.3);
        settle();
    }
    void close()
    {
        if (root_ && root_->presentedViewController()) root_->dismissViewControllerAnimated(false);
        editor_.reset();
        settle();
    }

    // Pumps until the message update has ended `count` updates in all and is idle.
    QZMessageUpdateResult waitForMessageUpdates(std::uint64_t count)
    {
        auto update = QZMessageUpdate::sharedUpdate();
        EXPECT_TRUE(DispatchRunLoop::runUntil(
            [&] { return update->lastResult().sequence >= count && update->isIdle(); }, kTimeout));
        return update->lastResult();
    }
    // Pumps until the content update has ended (or held back) `count` updates in all.
    void waitForContentUpdates(std::uint64_t count)
    {
        auto update = QZContentPackUpdate::sharedUpdate();
        EXPECT_TRUE(DispatchRunLoop::runUntil([&] { return update->lastResult().sequence >= count; }, kTimeout));
    }

    static bool cardShown(const char* text) { return UITestDriver::visibleViewWithLabel(text) != nullptr; }

    TestSandbox sandbox_;
    std::string tree_ = sandbox_.path("tree");
    TesselFixtureServer server_;
    UITestDriver driver_;
    std::shared_ptr<UIWindow> window_;
    std::shared_ptr<UIViewController> root_;
    std::shared_ptr<QZSDKViewController> editor_;
};

TEST_F(QZSDKViewControllerMessagesGLTest, AStoredMessageShowsOnceInSeventyTwoHoursAndNeverOverAQuickLaunch)
{
    QZMessage::registerMessageForTesting(QZMessage::make());
    struct Step {
        const char* name;
        double at;
        const char* quickLaunchKey;
        bool shows;
    };
    const Step steps[] = {
        {"the first editor", kNow, "", true},
        {"an editor 259199 s later", kNow + 259199, "", false},
        {"a quick-launched editor 72 hours later", kNow + 259200, "adjustments", false},
        {"a plain editor 72 hours later", kNow + 259200, "", true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        DispatchClock::setSecondsSince1970(step.at);
        open(step.quickLaunchKey);
        EXPECT_EQ(cardShown(kMadeMessage), step.shows);
        close();
    }
}

TEST_F(QZSDKViewControllerMessagesGLTest, AMessageTheRootScreenFetchesShowsInTheNextEditor)
{
    serveContentTree();
    stallMessagesVersion();
    open();
    ASSERT_TRUE(DispatchRunLoop::runUntil([&] { return server_.requestCount(kMessageVersionPath) == 1; }, kTimeout))
        << "the root screen started no message update";
    EXPECT_FALSE(cardShown(kLaterMessage));
    EXPECT_FALSE(cardShown(kEarlierMessage));

    server_.releaseStalls();
    EXPECT_EQ(waitForMessageUpdates(1).outcome, QZMessageUpdateOutcome::Committed);
    waitForContentUpdates(1);
    close();

    open();
    EXPECT_TRUE(cardShown(kLaterMessage));
    EXPECT_FALSE(cardShown(kEarlierMessage));
    EXPECT_EQ(waitForMessageUpdates(2).outcome, QZMessageUpdateOutcome::UpToDate);
    waitForContentUpdates(2);
}

TEST_F(QZSDKViewControllerMessagesGLTest, FetchContentStoresMessagesAndTheNextEditorShowsTheLaterOne)
{
    serveContentTree();
    QZPhotoEditorController::fetchContent();
    EXPECT_EQ(waitForMessageUpdates(1).outcome, QZMessageUpdateOutcome::Committed);
    waitForContentUpdates(1);
    for (const char* archive : {"m1_retina.zip", "m2_retina.zip", "m3_retina.zip"})
        EXPECT_EQ(server_.requestCount(std::string("/messages/archives/") + archive), 1) << archive;

    open();
    EXPECT_TRUE(cardShown(kLaterMessage));
    EXPECT_FALSE(cardShown(kEarlierMessage));
    waitForMessageUpdates(2);
    waitForContentUpdates(2);
}
