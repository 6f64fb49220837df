// Controllers: the lazy view and layout builders, appearance calls from the window and modal
// presentation, rotation, memory warnings.

#include "Foundation/NSFoundationVersion.h"
#include "Foundation/NSLogCapture.h"
#include "Foundation/NSNotificationCenter.h"
#include "Foundation/PlatformSettings.h"
#include "QuartzCore/CALayer.h"
#include "UIKit/UILabel.h"
#include "UIKit/UILayoutBuilder.h"
#include "UIKit/UINavigationItem.h"
#include "UIKit/UIViewController.h"
#include "UIKit/testing/UITestDriver.h"
#include "UITouchTestSupport.h"

#include <gtest/gtest.h>

namespace {

using Calls = std::vector<std::string>;

// Records every call it gets into a log shared by the controllers of a test.
class RecordingController : public UIViewController {
public:
    using UIViewController::UIViewController;
    std::string name = "c";
    std::shared_ptr<Calls> log = std::make_shared<Calls>();
    UIInterfaceOrientationMask supported = UIInterfaceOrientationMaskAll;
    bool autorotates = true;
    int designatedInits = 0;
    std::shared_ptr<UILabel> outlet;
    void setOutlet(std::shared_ptr<UILabel> label) { outlet = std::move(label); }

    bool initWithNibName(const std::string& nib, std::shared_ptr<NSBundle> bundle) override
    {
        ++designatedInits;
        return UIViewController::initWithNibName(nib, std::move(bundle));
    }
    void viewDidLoad() override { note("viewDidLoad"); }
    void viewWillAppear(bool) override { note("willAppear"); }
    void viewDidAppear(bool) override { note("didAppear"); }
    void viewWillDisappear(bool) override { note("willDisappear"); }
    void viewDidDisappear(bool) override { note("didDisappear"); }
    bool shouldAutorotate() override { return autorotates; }
    UIInterfaceOrientationMask supportedInterfaceOrientations() override { return supported; }
    void willRotateToInterfaceOrientation(UIInterfaceOrientation o, double) override { note("willRotate", o); }
    void willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation o, double) override
    {
        note("willAnimateRotation", o);
    }
    void didRotateFromInterfaceOrientation(UIInterfaceOrientation o) override { note("didRotateFrom", o); }
    void didReceiveMemoryWarning() override { note("memoryWarning"); }

private:
    void note(const std::string& what, int orientation = 0)
    {
        std::string line = name + ' ' + what;
        if (orientation) line.append(1, ' ').append(std::to_string(orientation));
        log->push_back(line);
    }
};

std::shared_ptr<RecordingController> controller(const std::string& name, std::shared_ptr<Calls> log)
{
    auto c = UIViewController::make<RecordingController>();
    c->name = name;
    c->log = std::move(log);
    return c;
}

struct ControllerTest : ::testing::Test {
    UITestDriver driver;
    std::shared_ptr<Calls> log = std::make_shared<Calls>();
    void TearDown() override { PlatformSettings::reset(); }
};

TEST_F(ControllerTest, TheViewLoadsOnFirstUseFromTheNibNamesBuilder)
{
    auto plain = controller("plain", log);
    EXPECT_EQ(plain->designatedInits, 1);  // init goes through initWithNibName
    EXPECT_FALSE(plain->isViewLoaded());
    const auto& view = plain->view();
    EXPECT_TRUE(CGRectEqualToRect(view->frame(), CGRectMake(0, 0, 320, 480)));
    EXPECT_EQ(plain->view(), view);
    EXPECT_EQ(*log, (Calls{"plain viewDidLoad"}));

    UIRegisterLayoutBuilder("LabelScreen", [](UIViewController& owner) {
        auto root = UIView::viewWithFrame(CGRectMake(0, 0, 100, 50));
        auto label = UIView::viewWithFrame<UILabel>(CGRectMake(10, 10, 80, 30));
        root->addSubview(label);
        dynamic_cast<RecordingController&>(owner).setOutlet(label);
        return root;
    });
    auto built = NSObject::create<RecordingController>(
        [](RecordingController& c) { return c.initWithNibName("LabelScreen", nullptr); });
    ASSERT_TRUE(built->view());
    ASSERT_TRUE(built->outlet);
    EXPECT_EQ(built->outlet->superview(), built->view());
    EXPECT_EQ(built->view()->bounds().size.width, 100);

    NSLogCapture capture;
    auto missing = NSObject::create<RecordingController>(
        [](RecordingController& c) { return c.initWithNibName("NoSuchScreen", nullptr); });
    EXPECT_TRUE(CGRectEqualToRect(missing->view()->frame(), CGRectMake(0, 0, 320, 480)));
    ASSERT_EQ(capture.lines().size(), 1u);
    EXPECT_NE(capture.lines()[0].find("-[UIViewController loadView] no layout builder for the nib named NoSuchScreen"),
              std::string::npos);
    UIRegisterLayoutBuilder("LabelScreen", nullptr);
}

TEST_F(ControllerTest, TheNavigationItemIsMadeOnceWithTheTitle)
{
    auto c = controller("c", log);
    c->setTitle("Photos");
    auto item = c->navigationItem();
    EXPECT_EQ(item->title(), "Photos");
    EXPECT_EQ(c->navigationItem(), item);
}

TEST_F(ControllerTest, OnlyTheWindowAndPresentationSendAppearanceCalls)
{
    auto root = controller("root", log);
    auto window = UIWindow::window();
    window->setRootViewController(root);  // not visible yet: nothing
    EXPECT_EQ(*log, (Calls{"root viewDidLoad"}));
    window->makeKeyAndVisible();
    window->makeKeyAndVisible();  // visible already: nothing more
    EXPECT_EQ(root->view()->superview(), window);

    // A controller's view entering the window by hand tells it nothing.
    auto child = controller("child", log);
    root->view()->addSubview(child->view());

    EXPECT_EQ(*log, (Calls{"root viewDidLoad", "root willAppear", "root didAppear", "child viewDidLoad"}));
}

TEST_F(ControllerTest, PresentingAndDismissingSendTheCallsInOrder)
{
    auto window = UIWindow::window();
    auto root = controller("root", log);
    window->setRootViewController(root);
    window->makeKeyAndVisible();

    struct Case {
        bool animated;
        Calls presenting, dismissing;
    };
    const Calls present{"modal willAppear", "root willDisappear", "modal didAppear", "root didDisappear", "done"};
    const Calls dismiss{"modal willDisappear", "root willAppear", "modal didDisappear", "root didAppear", "done"};
    for (bool animated : {true, false}) {
        SCOPED_TRACE(animated ? "animated" : "at once");
        auto modal = controller("modal", log);
        modal->view();
        log->clear();
        root->presentViewController(modal, animated, [&] { log->push_back("done"); });
        EXPECT_EQ(root->presentedViewController(), modal);
        EXPECT_EQ(modal->presentingViewController(), root);
        if (animated) {
            driver.advance(0.15);  // half way up: only the will-calls so far
            EXPECT_EQ(*log, (Calls{"modal willAppear", "root willDisappear"}));
            const CGFloat shownAt = modal->view()->layer()->presentationLayer()->position().y;
            EXPECT_GT(shownAt, window->bounds().size.height / 2);  // still on its way up
            EXPECT_LT(shownAt, window->bounds().size.height * 1.5f);
            driver.advance(0.2);
        }
        EXPECT_EQ(*log, present);
        EXPECT_TRUE(CGRectEqualToRect(modal->view()->frame(), window->bounds()));
        EXPECT_EQ(modal->view()->superview(), window);
        EXPECT_FALSE(root->view()->superview());

        log->clear();
        modal->dismissViewControllerAnimated(animated, [&] { log->push_back("done"); });
        if (animated) driver.advance(0.35);
        EXPECT_EQ(*log, dismiss);
        EXPECT_FALSE(root->presentedViewController());
        EXPECT_FALSE(modal->presentingViewController());
        EXPECT_FALSE(modal->view()->superview());
        EXPECT_EQ(root->view()->superview(), window);
        log->clear();
    }
}

TEST_F(ControllerTest, ASecondPresentationIsRefused)
{
    auto window = UIWindow::window();
    auto root = controller("root", log);
    window->setRootViewController(root);
    window->makeKeyAndVisible();
    auto first = controller("first", log), second = controller("second", log);
    root->presentViewController(first, false);
    NSLogCapture capture;
    root->presentViewController(second, false);
    EXPECT_EQ(root->presentedViewController(), first);
    EXPECT_FALSE(second->isViewLoaded());
    EXPECT_EQ(capture.lines().size(), 1u);
}

TEST_F(ControllerTest, TurningTheDeviceAsksTheTopControllerAndAnimatesTheBounds)
{
    auto app = UIApplication::sharedApplication();
    auto window = UIWindow::window();
    auto root = controller("root", log);
    window->setRootViewController(root);
    window->makeKeyAndVisible();
    log->clear();
    ASSERT_EQ(app->statusBarOrientation(), UIInterfaceOrientationPortrait);

    root->supported = UIInterfaceOrientationMaskPortrait;
    EXPECT_FALSE(app->turnDeviceToOrientation(UIInterfaceOrientationLandscapeLeft));
    root->supported = UIInterfaceOrientationMaskAll;
    root->autorotates = false;
    EXPECT_FALSE(app->turnDeviceToOrientation(UIInterfaceOrientationLandscapeLeft));
    EXPECT_TRUE(log->empty());
    EXPECT_EQ(app->statusBarOrientation(), UIInterfaceOrientationPortrait);
    EXPECT_EQ(window->bounds().size.width, 320);

    // A presented controller is the one asked and told.
    root->autorotates = true;
    auto modal = controller("modal", log);
    modal->supported = UIInterfaceOrientationMaskLandscape;
    root->presentViewController(modal, false);
    log->clear();
    EXPECT_TRUE(app->turnDeviceToOrientation(UIInterfaceOrientationLandscapeLeft));
    EXPECT_EQ(*log, (Calls{"modal willRotate 4", "modal willAnimateRotation 4"}));
    EXPECT_EQ(app->statusBarOrientation(), UIInterfaceOrientationLandscapeLeft);
    EXPECT_TRUE(CGSizeEqualToSize(window->bounds().size, CGSizeMake(480, 320)));
    EXPECT_TRUE(CGSizeEqualToSize(modal->view()->bounds().size, CGSizeMake(480, 320)));
    driver.advance(0.35);
    EXPECT_EQ(log->back(), "modal didRotateFrom 1");

    modal->dismissViewControllerAnimated(false);
    EXPECT_TRUE(app->turnDeviceToOrientation(UIInterfaceOrientationPortrait));
    driver.advance(0.35);
    EXPECT_EQ(window->bounds().size.width, 320);
}

TEST_F(ControllerTest, AMemoryWarningReachesTheRootAndPresentedControllers)
{
    auto window = UIWindow::window();
    auto root = controller("root", log);
    window->setRootViewController(root);
    window->makeKeyAndVisible();
    root->presentViewController(controller("modal", log), false);
    auto token = NSNotificationCenter::defaultCenter()->addObserverForName(
        UIApplicationDidReceiveMemoryWarningNotification, nullptr,
        [&](const std::shared_ptr<NSNotification>&) { log->push_back("posted"); });
    log->clear();
    UIApplication::sharedApplication()->simulateMemoryWarning();
    EXPECT_EQ(*log, (Calls{"posted", "root memoryWarning", "modal memoryWarning"}));
    NSNotificationCenter::defaultCenter()->removeObserver(token);
}

TEST(FoundationVersion, FollowsTheSystemVersion)
{
    struct Case {
        const char* version;
        double number;
    };
    for (auto [version, number] :
         {Case{"6.1", 993.0}, Case{"5.0", 993.0}, Case{"7.0", 1047.25}, Case{"8.4.1", 1047.25}, Case{"", 993.0}}) {
        PlatformSettings::setSystemVersion(version);
        EXPECT_EQ(NSFoundationVersionNumber(), number) << version;
    }
    PlatformSettings::reset();
}

}  // namespace
