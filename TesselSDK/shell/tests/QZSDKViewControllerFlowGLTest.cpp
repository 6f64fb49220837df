// The root screen on a real GL context, driven by touches: start-up on a phone, a test tool opened
// from the strip, applied, recorded and handed to the host on Done; unknown and foreign classes;
// no GL instance; Cancel with its confirmation; the delegate's say over the caches.
#include "QZPhotoEditorReplaySupport.h"
#include "TesselSDKImaging/tests/QZGLTestSupport.h"

#include "TesselSDK/packs/QZContentPackSelectionViewController.h"
#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZMessage.h"
#include "TesselSDK/remote/QZMessageView.h"
#include "TesselSDK/remote/QZRemoteRegisterClasses.h"
#include "TesselSDK/remote/QZTesselContentManager.h"
#include "TesselSDKFoundation/tests/QZTestMetricsSession.h"
#include "TesselSDK/shell/QZPhotoEditorController.h"
#include "TesselSDK/shell/QZSDKViewController.h"

#include "TesselSDKImaging/Modules/QZToolModule.h"
#include "TesselSDKImaging/Processors/QZBrightnessProcessor.h"

#include "Foundation/NSClass.h"
#include "Foundation/NSLogCapture.h"
#include "MessageUI/MFMailComposeViewController.h"
#include "UIKit/UIAlertView.h"
#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "TesselSDKFoundation/QZSDKResources.h"
#include "UIKit/UIApplication.h"
#include "UIKit/UIBarButtonItem.h"
#include "UIKit/UIWindow.h"
#include "UIKit/testing/UITestDriver.h"

#include <filesystem>
#include <fstream>

using namespace qz_test;
namespace fs = std::filesystem;

namespace {

// A tool that brightens: it renders its module when it appears and is ready to apply once shown.
class QZTestBrightnessTool : public QZToolViewController {
public:
    using QZToolViewController::QZToolViewController;
    bool initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance, Value settings,
                            bool quickLaunch) override
    {
        if (!QZToolViewController::initWithGLInstance(glInstance, std::move(settings), quickLaunch)) return false;
        auto module = QZToolModule::make();
        auto brightness = QZBrightnessProcessor::make();
        brightness->setValue(40);
        module->setToolProcessors(std::make_shared<QZProcessorList>(QZProcessorList{brightness}));
        setOutputModule(module);
        return true;
    }
    void viewDidAppear(bool animated) override
    {
        QZToolViewController::viewDidAppear(animated);
        setReadyToApply(false);
        std::weak_ptr<QZToolViewController> weak = self<QZToolViewController>();
        renderModule(outputModule(), QZRenderingResolutionHigh, [weak](std::shared_ptr<UIImage>) {
            if (auto tool = weak.lock()) tool->setReadyToApply(true);
        });
    }
};

// A pack tool: it keeps the pack whose page the root screen asks it to open.
class QZTestPackTool : public QZContentPackSelectionViewController {
public:
    using QZContentPackSelectionViewController::QZContentPackSelectionViewController;
};

// Registered by name but no tool screen.
class QZNotATool : public NSObject {
public:
    using NSObject::NSObject;
};

struct HostRecorder : QZPhotoEditorControllerDelegate {
    std::vector<std::shared_ptr<UIImage>> finished;
    std::vector<bool> sessionOpenAtFinish;
    int cancelled = 0;
    bool cancelledSessionClosed = false;
    std::optional<bool> uncache;
    void photoEditorFinishedWithImage(QZSDKViewController* editor, std::shared_ptr<UIImage> image) override
    {
        finished.push_back(std::move(image));
        sessionOpenAtFinish.push_back(editor->session()->isOpen());
    }
    void photoEditorCanceled(QZSDKViewController* editor) override
    {
        ++cancelled;
        cancelledSessionClosed = !editor->session()->isOpen() && editor->session()->isCancelled();
    }
    std::optional<bool> photoEditorShouldUncacheResources(QZSDKViewController*) override { return uncache; }
};

const char* const kFixtureTable = R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict><key>packs</key><dict/><key>plugins</key><dict>
<key>testtool</key><dict><key>class</key><string>QZTestBrightnessTool</string><key>icon</key>
<string>tool-test.png</string><key>key</key><string>testtool</string><key>settings</key><dict/>
<key>title</key><string>Test Tool</string></dict>
<key>unknown</key><dict><key>class</key><string>QZNoSuchController</string><key>icon</key>
<string>tool-unknown.png</string><key>key</key><string>unknown</string><key>settings</key><dict/>
<key>title</key><string>Unknown Tool</string></dict>
<key>foreign</key><dict><key>class</key><string>QZNotATool</string><key>icon</key>
<string>tool-foreign.png</string><key>key</key><string>foreign</string><key>settings</key><dict/>
<key>title</key><string>Foreign Tool</string></dict>
<key>effects</key><dict><key>class</key><string>QZTestPackTool</string><key>icon</key>
<string>tool-effects.png</string><key>key</key><string>effects</string><key>settings</key><dict/>
<key>title</key><string>Pack Tool</string></dict>
</dict></dict></plist>
)";

class QZSDKViewControllerFlowGLTest : public GLManagerTest {
protected:
    void SetUp() override
    {
        GLManagerTest::SetUp();
        if (IsSkipped()) return;
        // The built bundle with a fixture tool table in place of the shipped one.
        char pattern[] = "/tmp/qz_sdk_flow.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        const fs::path bundle = dir_ / "TesselSDKResources.bundle";
        fs::create_directory(bundle);
        for (const auto& entry : fs::directory_iterator(TESSEL_SDK_RESOURCES_BUNDLE_DIR))
            if (entry.path().filename() != "TesselSDKPlugins.plist")
                fs::create_symlink(entry.path(), bundle / entry.path().filename());
        std::ofstream(bundle / "TesselSDKPlugins.plist") << kFixtureTable;
        QZSDKResources::unloadResources();
        PlatformSettings::setMainBundlePath(dir_.string());
        PlatformSettings::setScreenScale(1);
        PlatformSettings::setScreenSize(320, 568);
        PlatformSettings::setSystemVersion("7.0");
        QZPhotoEditorCustomization::setOptionValue(Value::array({"testtool", "unknown", "foreign"}),
                                                   "editor.toolOrder");

        NSClass::registerClass<QZTestBrightnessTool>("QZTestBrightnessTool");
        NSClass::registerClass<QZNotATool>("QZNotATool");
        NSClass::registerClass<QZTestPackTool>("QZTestPackTool");
        PlatformSettings::setSandboxRoot((dir_ / "sandbox").string());
        TesselSDKRemoteRegisterClasses();
        QZTestMetricsSession::registerClass(analytics_);
        window_ = UIWindow::window();
        root_ = UIViewController::make();
        window_->setRootViewController(root_);
        window_->makeKeyAndVisible();
    }
    void TearDown() override
    {
        if (root_ && root_->presentedViewController()) root_->dismissViewControllerAnimated(false);
        editor_.reset();
        settle();
        if (window_) window_->setRootViewController(nullptr);
        root_.reset();
        window_.reset();
        settle();
        QZMessage::registerMessageForTesting(nullptr);
        QZTesselContentManager::resetSharedManagerForTesting();
        QZPhotoEditorCustomization::clearCustomization();
        QZSDKResources::unloadResources();
        if (!dir_.empty()) fs::remove_all(dir_);
        GLManagerTest::TearDown();
    }

    // Everything queued so far, and what it queued in turn, has run; the clock does not move.
    static void settle()
    {
        for (int round = 0; round < 50; ++round) {
            ASSERT_TRUE(drainGPUQueue());
            if (DispatchRunLoop::drain() == 0) return;
        }
    }

    void open(const Pixels& photo, bool settleFirst = true, const std::string& quickLaunchKey = "")
    {
        input_ = imageOf(photo);
        editor_ = quickLaunchKey.empty()
                      ? QZPhotoEditorController::initWithImage(input_)
                      : QZPhotoEditorController::initWithImageQuickLaunchTool(input_, quickLaunchKey);
        ASSERT_NE(editor_, nullptr);
        editor_->setDelegate(host_);
        root_->presentViewController(editor_, false);
        if (settleFirst) settle();
    }

    bool tap(const std::string& label)
    {
        const bool tapped = driver_.tapViewWithLabel(label);
        settle();
        return tapped;
    }
    // Opens the test tool from the strip and applies it, so the session holds one module.
    void applyTestTool()
    {
        ASSERT_TRUE(tap("Test Tool"));
        driver_.advance(0.35);
        settle();
        ASSERT_TRUE(tap("Apply"));
        driver_.advance(0.35);
        settle();
        ASSERT_EQ(editor_->session()->modules().size(), 1u);
    }
    std::vector<std::string> events() const
    {
        std::vector<std::string> names;
        for (const auto& [name, attributes] : analytics_->events) names.push_back(name);
        return names;
    }
    Value eventAttributes(const std::string& name) const
    {
        for (const auto& [event, attributes] : analytics_->events)
            if (event == name) return attributes;
        return Value();
    }

    UITestDriver driver_;
    fs::path dir_;
    std::shared_ptr<QZTestMetricsSession> analytics_ = NSObject::create<QZTestMetricsSession>();
    std::shared_ptr<HostRecorder> host_ = std::make_shared<HostRecorder>();
    std::shared_ptr<UIWindow> window_;
    std::shared_ptr<UIViewController> root_;
    std::shared_ptr<UIImage> input_;
    std::shared_ptr<QZSDKViewController> editor_;
};

TEST_F(QZSDKViewControllerFlowGLTest, StartUpScalesThePhotoAndLocksTheToolsUntilReady)
{
    open(gradient(3000, 2000), false);
    editor_->view();
    EXPECT_FALSE(editor_->imageFinishedResizing());
    EXPECT_FALSE(editor_->customNavigationItem()->rightBarButtonItem()->isEnabled());
    editor_->selectionViewDidSelectToolAtIndexWithBadge(editor_->toolSelectionView().get(), 0, false);
    EXPECT_EQ(editor_->toolViewController(), nullptr) << "a tool opened before the image was ready";

    settle();
    ASSERT_TRUE(editor_->imageFinishedResizing());
    EXPECT_TRUE(editor_->customNavigationItem()->rightBarButtonItem()->isEnabled());
    EXPECT_EQ(editor_->session()->editingSize().width, 1024);
    EXPECT_EQ(editor_->session()->editingSize().height, 682);
    EXPECT_FALSE(editor_->scrollableImageView()->openGLView()->isHidden());
    EXPECT_EQ(eventAttributes("image: scaled")["originalSize"].stringValue(), "{3000, 2000}");
    EXPECT_TRUE(UITestDriver::visibleViewWithLabel("Photo Editor"));
    EXPECT_TRUE(UITestDriver::visibleViewWithLabel("Test Tool"));
}

TEST_F(QZSDKViewControllerFlowGLTest, AnAppliedToolIsRecordedAndDoneHandsOverItsReplay)
{
    open(gradient(300, 200));
    auto replay = editor_->session()->createContextWithImage(editor_->resizedImage());
    ASSERT_NE(replay, nullptr);
    Deliveries replayed;
    replay->render(replayed.completion());

    ASSERT_TRUE(tap("Test Tool"));
    auto tool = editor_->toolViewController();
    ASSERT_NE(std::dynamic_pointer_cast<QZTestBrightnessTool>(tool), nullptr);
    EXPECT_EQ(tool->analyticsKey(), "testtool");
    EXPECT_EQ(tool->title(), "Test Tool");
    EXPECT_EQ(tool->targetViewHeight(), 100);
    EXPECT_FALSE(editor_->customNavigationItem()->leftBarButtonItem()->isEnabled());
    driver_.advance(0.35);
    settle();
    EXPECT_FLOAT_EQ(editor_->toolSelectionView()->transform().ty, 120);

    ASSERT_TRUE(tap("Apply"));
    driver_.advance(0.35);
    settle();
    EXPECT_EQ(editor_->toolViewController(), nullptr);
    ASSERT_EQ(editor_->session()->modules().size(), 1u);
    EXPECT_TRUE(editor_->customNavigationItem()->rightBarButtonItem()->isEnabled());

    ASSERT_TRUE(tap("Done"));
    ASSERT_TRUE(pumpUntil([&] { return !host_->finished.empty(); }));
    settle();
    ASSERT_EQ(host_->finished.size(), 1u);
    EXPECT_TRUE(host_->sessionOpenAtFinish[0]) << "the session closes after the call, not before";
    EXPECT_FALSE(editor_->session()->isOpen());
    ASSERT_TRUE(replayed.waitForOne());
    ASSERT_NE(replayed.images[0], nullptr);
    ASSERT_NE(host_->finished[0], nullptr);
    const Pixels done = pixelsOf(host_->finished[0]);
    EXPECT_LE(maxDifference(done, pixelsOf(replayed.images[0])), 2);
    EXPECT_GT(maxDifference(done, gradient(300, 200)), 10) << "Done handed over the unedited photo";
}

TEST_F(QZSDKViewControllerFlowGLTest, UnknownAndForeignClassesOpenThePlainBase)
{
    open(gradient(120, 80));
    for (const char* title : {"Unknown Tool", "Foreign Tool"}) {
        SCOPED_TRACE(title);
        NSLogCapture log;
        ASSERT_TRUE(tap(title));
        auto tool = editor_->toolViewController();
        ASSERT_NE(tool, nullptr);
        EXPECT_EQ(typeid(*tool), typeid(QZToolViewController));
        if (std::string(title) == "Foreign Tool") {
            EXPECT_TRUE(log.contains("Unexpected controller class: QZNotATool"));
        }
        driver_.advance(0.35);
        settle();
        ASSERT_TRUE(tap("Apply"));
        driver_.advance(0.35);
        settle();
        EXPECT_EQ(editor_->toolViewController(), nullptr);
    }
}

TEST_F(QZSDKViewControllerFlowGLTest, WithoutAGLInstanceNothingOpensAndTheHostLives)
{
    open(gradient(120, 80));
    editor_->setGlInstance(nullptr);
    NSLogCapture log;
    ASSERT_TRUE(tap("Test Tool"));
    EXPECT_EQ(editor_->toolViewController(), nullptr);
    EXPECT_TRUE(log.contains("Error: TesselSDK could not initialize OpenGL."));
    const std::vector<std::string> names = events();
    EXPECT_NE(std::find(names.begin(), names.end(), "opengl: init failure"), names.end());
    // Done still works, on the plain image.
    EXPECT_TRUE(editor_->customNavigationItem()->rightBarButtonItem()->isEnabled());
}

TEST_F(QZSDKViewControllerFlowGLTest, CancelAsksFirstAndRestoreOriginalEmptiesTheSession)
{
    open(gradient(300, 200));
    editor_->setShouldConfirmCancel(true);
    ASSERT_NO_FATAL_FAILURE(applyTestTool());

    ASSERT_TRUE(tap("Cancel"));
    EXPECT_TRUE(editor_->isShowingConfirmation());
    EXPECT_TRUE(UITestDriver::visibleViewWithLabel("Retake Photo"));
    EXPECT_EQ(host_->cancelled, 0);
    ASSERT_TRUE(tap("Restore Original"));
    driver_.advance(0.25);
    settle();
    EXPECT_TRUE(editor_->session()->modules().empty());
    EXPECT_FALSE(editor_->isShowingConfirmation());

    ASSERT_TRUE(tap("Cancel"));
    EXPECT_EQ(host_->cancelled, 1);
    EXPECT_TRUE(host_->cancelledSessionClosed);
}

TEST_F(QZSDKViewControllerFlowGLTest, HoldingTheEditedCanvasShowsTheResetButtonForAWhile)
{
    open(gradient(300, 200));
    const CGPoint canvas = UITestDriver::windowPoint(*editor_->scrollableImageView());
    auto resetShown = [&] {
        const std::vector<std::string> names = events();
        return std::count(names.begin(), names.end(), "reset button: shown");
    };
    // Unedited: nothing happens and nothing is reported.
    driver_.press(canvas, 1.5);
    driver_.advance(0.5);
    EXPECT_FALSE(editor_->isShowingReset());
    const std::vector<std::string> before = events();
    EXPECT_EQ(std::find(before.begin(), before.end(), "prepost: pressed"), before.end());

    ASSERT_NO_FATAL_FAILURE(applyTestTool());
    driver_.touchDown(0, canvas);
    driver_.advance(0.9);
    EXPECT_FALSE(editor_->isShowingReset());
    driver_.advance(0.2);
    EXPECT_TRUE(editor_->isShowingReset());
    EXPECT_EQ(resetShown(), 1);
    driver_.touchUp(0, canvas);
    driver_.advance(1.9);
    EXPECT_TRUE(editor_->isShowingReset()) << "hidden before two seconds had passed";
    driver_.advance(0.15);
    EXPECT_FALSE(editor_->isShowingReset());

    // Two quick taps never bring it up.
    driver_.tap(canvas);
    driver_.advance(0.3);
    driver_.tap(canvas);
    driver_.advance(3);
    EXPECT_EQ(resetShown(), 1);
}

TEST_F(QZSDKViewControllerFlowGLTest, QuickLaunchOpensTheToolWithoutAnimation)
{
    open(gradient(120, 80), true, "testtool");
    auto tool = std::dynamic_pointer_cast<QZTestBrightnessTool>(editor_->toolViewController());
    ASSERT_NE(tool, nullptr);
    EXPECT_TRUE(tool->isQuickLaunch());
    EXPECT_FLOAT_EQ(editor_->toolSelectionView()->transform().ty, 120) << "the strip slid instead of moving at once";
    EXPECT_FALSE(editor_->shouldAttemptMessaging());
}

TEST_F(QZSDKViewControllerFlowGLTest, AMessageActionOpensItsPacksTool)
{
    auto pack = QZTesselContentManager::sharedManager()->insertPackForTesting(
        Value::dictionary({{"identifier", "p1"}, {"packType", "effect"}}));
    ASSERT_NE(pack, nullptr);
    QZMessage::registerMessageForTesting(QZMessage::make(pack));
    open(gradient(120, 80));
    std::shared_ptr<QZMessageView> message;
    for (const auto& view : editor_->view()->subviews())
        if (auto found = std::dynamic_pointer_cast<QZMessageView>(view)) message = found;
    ASSERT_NE(message, nullptr) << "the message was not shown on appearing";

    for (const char* ignored :
         {"not json", R"({"action":"store","pack":"nope"})", R"({"action":"open","pack":"p1"})"}) {
        message->actionBlock()(ignored);
        settle();
        EXPECT_EQ(editor_->toolViewController(), nullptr) << ignored;
    }
    message->performAction(R"({"action":"store","pack":"p1"})");
    settle();
    auto tool = std::dynamic_pointer_cast<QZTestPackTool>(editor_->toolViewController());
    ASSERT_NE(tool, nullptr);
    ASSERT_NE(tool->contentPackToPresentOnAppearance(), nullptr);
    EXPECT_EQ(tool->contentPackToPresentOnAppearance()->identifier(), "p1");
}

TEST_F(QZSDKViewControllerFlowGLTest, FeedbackAndDeveloperPanels)
{
    open(gradient(120, 80));
    driver_.advance(0.3);
    // The feedback cell follows the tools; it and the logo button open their panels.
    ASSERT_TRUE(tap("Feedback"));
    driver_.advance(0.3);
    ASSERT_NE(std::dynamic_pointer_cast<QZFeedbackView>(editor_->aboutView()), nullptr);

    // Without mail the alert says so and the panel stays.
    PlatformSettings::setCanSendMail(false);
    ASSERT_TRUE(tap("Send Feedback"));
    ASSERT_NE(UIAlertView::visibleAlert(), nullptr);
    EXPECT_EQ(UIAlertView::visibleAlert()->title(), "Set up Mail");
    ASSERT_TRUE(driver_.pressAlertButton("Okay"));
    driver_.advance(0.3);
    EXPECT_NE(editor_->aboutView(), nullptr);

    // With mail the composer carries the device's details, and panel and dimmer go.
    PlatformSettings::setCanSendMail(true);
    ASSERT_TRUE(tap("Send Feedback"));
    driver_.advance(0.5);
    settle();
    auto composer = std::dynamic_pointer_cast<MFMailComposeViewController>(editor_->presentedViewController());
    ASSERT_NE(composer, nullptr);
    EXPECT_EQ(composer->message().subject, "Photo Editor Feedback");
    EXPECT_EQ(composer->message().toRecipients, std::vector<std::string>{"feedback@example.com"});
    EXPECT_NE(composer->message().body.find("SDK Version: 3.3.11"), std::string::npos);
    EXPECT_TRUE(composer->message().isHTML);
    EXPECT_EQ(editor_->aboutView(), nullptr);
    EXPECT_EQ(editor_->aboutDimmerView(), nullptr);
    ASSERT_TRUE(tap("Cancel"));
    driver_.advance(0.5);
    settle();
    EXPECT_EQ(editor_->presentedViewController(), nullptr);

    // The logo opens the developer panel; its leaving alert's Cancel opens nothing, Open the page.
    ASSERT_TRUE(tap("Powered by Tessel"));
    driver_.advance(0.3);
    for (const char* button : {"Cancel", "Open"}) {
        ASSERT_TRUE(tap("Visit the Developer Site"));
        ASSERT_TRUE(driver_.pressAlertButton(button));
        driver_.advance(0.3);
        settle();
    }
    EXPECT_EQ(UIApplication::sharedApplication()->openedURLs(),
              std::vector<std::string>{"https://developers.example.com/tessel"});
    ASSERT_TRUE(tap("Done"));
    driver_.advance(0.3);
    settle();
    EXPECT_EQ(editor_->aboutView(), nullptr);
    EXPECT_TRUE(host_->finished.empty()) << "the panel's Done reached the editor's";
}

TEST_F(QZSDKViewControllerFlowGLTest, EachStatusOfAToolEndsAsItShould)
{
    struct Case {
        QZToolViewControllerStatus status;
        bool withModule;
        size_t modules;
        int finished;
        int cancelled;
    };
    const Case cases[] = {
        {QZToolViewControllerStatusApplied, true, 1, 0, 0},
        {QZToolViewControllerStatusApplied, false, 0, 0, 0},
        {QZToolViewControllerStatusCancelled, true, 0, 0, 0},
        {QZToolViewControllerStatusQuickLaunchEdit, true, 1, 0, 0},
        {QZToolViewControllerStatusQuickLaunchDone, true, 1, 1, 0},
        {QZToolViewControllerStatusQuickLaunchCancelled, true, 0, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "status " << c.status << (c.withModule ? "" : " without a module"));
        if (editor_) {
            root_->dismissViewControllerAnimated(false);
            editor_.reset();
            settle();
        }
        *host_ = HostRecorder();
        open(gradient(120, 80));
        ASSERT_TRUE(tap("Test Tool"));
        auto tool = editor_->toolViewController();
        ASSERT_NE(tool, nullptr);
        if (!c.withModule) tool->setOutputModule(nullptr);
        // What the tool's own buttons send.
        editor_->toolControllerFinishedWithStatus(tool.get(), c.status);
        driver_.advance(0.35);
        settle();
        EXPECT_EQ(editor_->session()->modules().size(), c.modules);
        EXPECT_EQ(int(host_->finished.size()), c.finished);
        EXPECT_EQ(host_->cancelled, c.cancelled);
        const bool ended = c.finished || c.cancelled;
        EXPECT_EQ(editor_->session()->isOpen(), !ended);
        if (!ended) {
            EXPECT_EQ(editor_->toolViewController(), nullptr) << "the tool stayed up";
        }
    }
}

TEST_F(QZSDKViewControllerFlowGLTest, UnscaledEditingAndTheStagingWarningOnce)
{
    QZPhotoEditorCustomization::setOptionValue(true, "editor.useTDVStagingEnvironment");
    QZSDKViewController::resetStagingWarningForTesting();
    input_ = imageOf(gradient(120, 80));
    editor_ = QZPhotoEditorController::initWithImage(input_);
    editor_->setShouldResizeImage(false);
    editor_->view();
    EXPECT_TRUE(editor_->imageFinishedResizing());
    EXPECT_TRUE(editor_->customNavigationItem()->rightBarButtonItem()->isEnabled()) << "Done waited for scaling";
    root_->presentViewController(editor_, false);
    settle();

    auto second = QZPhotoEditorController::initWithImage(input_);
    second->view();
    second->viewWillAppear(false);
    int warnings = 0;
    while (auto alert = UIAlertView::visibleAlert()) {
        warnings += alert->title() == "Warning";
        ASSERT_TRUE(driver_.pressAlertButton(alert->buttonTitleAtIndex(0)));
        driver_.advance(0.3);
    }
    EXPECT_EQ(warnings, 1);
}

TEST_F(QZSDKViewControllerFlowGLTest, TheDelegateDecidesWhetherCachesGo)
{
    open(gradient(60, 40));
    struct Case {
        std::optional<bool> answer;
        bool unloads;
    };
    for (const Case c : {Case{false, false}, Case{true, true}, Case{std::nullopt, true}}) {
        host_->uncache = c.answer;
        const auto cache = QZSDKResources::imageCache();
        editor_->unloadResourcesIfNeeded();
        EXPECT_EQ(QZSDKResources::imageCache() != cache, c.unloads);
    }
}

}  // namespace
