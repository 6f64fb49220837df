// The navigation controller: the bar over the top screen, pushes sliding in from the right and
// pops mirroring them with the appearance calls a presentation makes; and the form sheet a
// tablet presents over a dimmed window.

#include "Foundation/NSLogCapture.h"
#include "Foundation/PlatformSettings.h"
#include "UIKit/UIDevice.h"
#include "UIKit/UINavigationController.h"
#include "UIKit/UINavigationItem.h"
#include "UIKit/UIWindow.h"
#include "UIKit/testing/UITestDriver.h"

#include <gtest/gtest.h>

namespace {

using Calls = std::vector<std::string>;

class Screen : public UIViewController {
public:
    using UIViewController::UIViewController;
    std::string name;
    std::shared_ptr<Calls> log;
    void viewWillAppear(bool) override { log->push_back(name + " willAppear"); }
    void viewDidAppear(bool) override { log->push_back(name + " didAppear"); }
    void viewWillDisappear(bool) override { log->push_back(name + " willDisappear"); }
    void viewDidDisappear(bool) override { log->push_back(name + " didDisappear"); }
};

std::shared_ptr<Screen> screen(const std::string& name, const std::shared_ptr<Calls>& log)
{
    auto made = UIViewController::make<Screen>();
    made->name = name;
    made->log = log;
    made->setTitle(name);
    return made;
}

struct NavigationTest : ::testing::Test {
    UITestDriver driver;
    std::shared_ptr<Calls> log = std::make_shared<Calls>();
    std::shared_ptr<UIWindow> window;
    void SetUp() override
    {
        PlatformSettings::setScreenSize(320, 568);
        window = UIWindow::window();
        window->makeKeyAndVisible();
    }
    void TearDown() override { PlatformSettings::reset(); }
    CGFloat shownX(const std::shared_ptr<UIViewController>& controller)
    {
        return controller->view()->layer()->presentationLayer()->frame().origin.x;
    }
};

TEST_F(NavigationTest, TheBarShowsTheTopScreenAboveItsView)
{
    auto root = screen("root", log);
    auto navigation = UINavigationController::makeWithRootViewController(root);
    navigation->view()->setFrame(CGRectMake(0, 0, 320, 448));
    window->addSubview(navigation->view());
    window->layoutIfNeeded();
    EXPECT_TRUE(CGRectEqualToRect(navigation->navigationBar()->frame(), CGRectMake(0, 0, 320, 44)));
    EXPECT_TRUE(CGRectEqualToRect(root->view()->frame(), CGRectMake(0, 44, 320, 404)));
    EXPECT_EQ(navigation->navigationBar()->topItem(), root->navigationItem());
    EXPECT_EQ(root->navigationController(), navigation);
    // The controller passes its own appearance to the top screen.
    navigation->viewWillAppear(false);
    navigation->viewDidAppear(false);
    EXPECT_EQ(*log, (Calls{"root willAppear", "root didAppear"}));
}

TEST_F(NavigationTest, APushSlidesInFromTheRightAndAPopMirrorsIt)
{
    auto root = screen("root", log), next = screen("next", log);
    auto navigation = UINavigationController::makeWithRootViewController(root);
    window->addSubview(navigation->view());
    navigation->view()->setFrame(window->bounds());

    navigation->pushViewController(next, true);
    EXPECT_EQ(*log, (Calls{"next willAppear", "root willDisappear"}));
    EXPECT_EQ(navigation->topViewController(), next);
    EXPECT_EQ(navigation->navigationBar()->topItem(), next->navigationItem());
    driver.advance(0.15);
    EXPECT_GT(shownX(next), 0);  // on its way in from the right
    EXPECT_LT(shownX(next), 320);
    EXPECT_LT(shownX(root), 0);  // leaving to the left
    EXPECT_TRUE(navigation->isTransitioning());
    driver.advance(0.2);
    EXPECT_EQ(*log, (Calls{"next willAppear", "root willDisappear", "next didAppear", "root didDisappear"}));
    EXPECT_EQ(shownX(next), 0);
    EXPECT_FALSE(root->view()->superview());
    EXPECT_EQ(next->navigationController(), navigation);

    log->clear();
    EXPECT_EQ(navigation->popViewControllerAnimated(true), next);
    driver.advance(0.15);
    EXPECT_LT(shownX(root), 0);  // back in from the left
    EXPECT_GT(shownX(next), 0);  // out to the right
    driver.advance(0.2);
    EXPECT_EQ(*log, (Calls{"root willAppear", "next willDisappear", "root didAppear", "next didDisappear"}));
    EXPECT_FALSE(next->view()->superview());
    EXPECT_FALSE(next->navigationController());
    EXPECT_EQ(navigation->navigationBar()->topItem(), root->navigationItem());
    EXPECT_EQ(navigation->popViewControllerAnimated(true), nullptr);  // the root stays
}

TEST_F(NavigationTest, OneTransitionAtATimeAndNoAppearanceOutsideAWindow)
{
    auto root = screen("root", log), first = screen("first", log), second = screen("second", log);
    auto navigation = UINavigationController::makeWithRootViewController(root);
    navigation->view();  // loaded, in no window
    navigation->pushViewController(first, false);
    EXPECT_TRUE(log->empty());
    EXPECT_EQ(navigation->topViewController(), first);

    window->addSubview(navigation->view());
    navigation->popViewControllerAnimated(true);
    NSLogCapture capture;
    navigation->pushViewController(second, true);
    EXPECT_EQ(navigation->viewControllers().size(), 1u);
    EXPECT_EQ(capture.lines().size(), 1u);
    driver.advance(0.35);
    navigation->pushViewController(second, false);
    EXPECT_EQ(navigation->topViewController(), second);
}

TEST_F(NavigationTest, AFormSheetIsAPanelOverADimmedWindowOnATabletOnly)
{
    for (const bool tablet : {true, false}) {
        SCOPED_TRACE(tablet ? "tablet" : "phone");
        PlatformSettings::setInterfaceIdiom(tablet ? UIUserInterfaceIdiomPad : UIUserInterfaceIdiomPhone);
        PlatformSettings::setScreenSize(tablet ? 768 : 320, tablet ? 1024 : 568);
        auto shownIn = UIWindow::window();
        auto presenter = screen("presenter", log);
        shownIn->setRootViewController(presenter);
        shownIn->makeKeyAndVisible();
        log->clear();
        auto sheet = screen("sheet", log);
        sheet->setModalPresentationStyle(UIModalPresentationFormSheet);
        presenter->presentViewController(sheet, true);
        driver.advance(0.35);
        if (tablet) {
            EXPECT_TRUE(CGRectEqualToRect(sheet->view()->frame(), CGRectMake(114, 202, 540, 620)));
            EXPECT_EQ(presenter->view()->superview(), shownIn);  // the editor stays in view
            EXPECT_EQ(*log, (Calls{"sheet willAppear", "sheet didAppear"}));
            const auto& views = shownIn->subviews();
            ASSERT_GE(views.size(), 3u);
            const auto& dim = views[views.size() - 2];
            EXPECT_TRUE(CGRectEqualToRect(dim->frame(), shownIn->bounds()));
            EXPECT_FLOAT_EQ(dim->alpha(), 0.4f);
        } else {
            EXPECT_TRUE(CGRectEqualToRect(sheet->view()->frame(), shownIn->bounds()));
            EXPECT_FALSE(presenter->view()->superview());
        }
        const std::size_t covered = shownIn->subviews().size();
        sheet->dismissViewControllerAnimated(true);
        driver.advance(0.35);
        EXPECT_FALSE(sheet->view()->superview());
        EXPECT_EQ(shownIn->subviews().size(), tablet ? covered - 2 : covered);
        EXPECT_EQ(presenter->view()->superview(), shownIn);
    }
}

}  // namespace
