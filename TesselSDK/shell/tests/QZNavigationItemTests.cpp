// The navigation item and its quick-launch title view on the virtual clock, and a screen's title
// reaching the bar.

#include "Foundation/NSLogCapture.h"
#include "QZShellTestSupport.h"
#include "QuartzCore/CALayer.h"
#include "TesselSDKFoundation/QZSDKResources.h"
#include "TesselSDK/shell/QZNavigationBar.h"
#include "TesselSDK/shell/QZNavigationItem.h"
#include "TesselSDK/shell/QZViewController.h"
#include "UIKit/UIImageView.h"

namespace {

using QZNavigationItemTest = QZShellTest;

const CGPoint kCentre = CGPointMake(100, 15);

std::shared_ptr<QZQuickLaunchTitleView> titleViewOf(const QZNavigationItem& item)
{
    return std::dynamic_pointer_cast<QZQuickLaunchTitleView>(item.titleView());
}

// What the title view shows: "label:TEXT" or "image".
std::string shown(const QZQuickLaunchTitleView& view)
{
    if (auto label = std::dynamic_pointer_cast<UILabel>(view.titleView())) return "label:" + label->text();
    return std::dynamic_pointer_cast<UIImageView>(view.titleView()) ? "image" : "nothing";
}

TEST_F(QZNavigationItemTest, TheTitleViewPicksALabelOrTheLogoByTitle)
{
    auto item = UINavigationItem::make<QZNavigationItem>();
    auto view = titleViewOf(*item);
    ASSERT_TRUE(view);
    EXPECT_EQ(view, item->quickLaunchTitle());
    EXPECT_TRUE(CGSizeEqualToSize(view->bounds().size, CGSizeMake(200, 30)));
    EXPECT_TRUE(view->clipsToBounds());
    EXPECT_EQ(shown(*view), "label:");  // the first nil after creation

    view->setTitle(std::nullopt);
    EXPECT_EQ(shown(*view), "image");
    auto logo = view->titleView();
    view->setTitle(std::nullopt);
    EXPECT_EQ(view->titleView(), logo);  // not rebuilt
    EXPECT_FALSE(view->textColor());     // the logo has no text colour
    view->setTitle("");
    EXPECT_EQ(shown(*view), "label:");
    EXPECT_FALSE(logo->superview());
    view->setTitle("Crop");
    EXPECT_EQ(shown(*view), "label:Crop");
    EXPECT_EQ(view->titleView()->bounds().size.height, 30);
    EXPECT_TRUE(CGPointEqualToPoint(view->titleView()->center(), kCentre));

    auto titled = UINavigationItem::makeWithTitle<QZNavigationItem>("Adjust");
    EXPECT_EQ(shown(*titleViewOf(*titled)), "label:Adjust");
}

TEST_F(QZNavigationItemTest, SetTitleRemembersAndShowsUnlessInQuickLaunchStyle)
{
    auto item = UINavigationItem::make<QZNavigationItem>();
    item->setTitle("Enhance");
    EXPECT_EQ(item->currentTitle(), "Enhance");
    EXPECT_EQ(item->title(), "");  // the platform title stays
    EXPECT_EQ(shown(*titleViewOf(*item)), "label:Enhance");

    item->setQuickLaunchStyle(true);
    EXPECT_EQ(shown(*titleViewOf(*item)), "image");
    item->setTitle("Sharpness");
    EXPECT_EQ(item->currentTitle(), "Sharpness");
    EXPECT_EQ(shown(*titleViewOf(*item)), "image");
    item->setQuickLaunchStyle(false);
    EXPECT_EQ(shown(*titleViewOf(*item)), "label:Sharpness");
}

TEST_F(QZNavigationItemTest, NilColoursSetTheThemeColours)
{
    NSLogCapture log;
    auto item = UINavigationItem::make<QZNavigationItem>();
    item->setTitle("Crop");
    item->setTextColor(UIColor::redColor());
    item->setTextShadowColor(UIColor::blueColor());
    EXPECT_TRUE(item->textColor()->isEqual(*UIColor::redColor()));
    item->setTextColor(nullptr);
    item->setTextShadowColor(nullptr);
    auto theme = QZPhotoEditorCustomization::colorOptionValueForKey("editor.navigationBarTextColor");
    auto themeShadow = QZPhotoEditorCustomization::colorOptionValueForKey("editor.navigationBarTextShadowColor");
    ASSERT_TRUE(item->textColor());
    EXPECT_TRUE(item->textColor()->isEqual(*theme));
    EXPECT_TRUE(item->textShadowColor()->isEqual(*themeShadow));
    EXPECT_TRUE(log.lines().empty()) << log.lines().front();
}

TEST_F(QZNavigationItemTest, QuickLaunchSlidesTheEditButtonInAfterASecond)
{
    auto item = UINavigationItem::make<QZNavigationItem>();
    auto view = titleViewOf(*item);
    item->setQuickLaunchStyle(true);
    auto edit = view->editButton();
    EXPECT_EQ(edit->title(), "Edit Photo");
    EXPECT_EQ(edit->style(), QZNavigationItemButtonStyleCancel);
    EXPECT_EQ(shown(*view), "image");
    EXPECT_EQ(view->titleView()->bounds().size.height, 30);
    const CGPoint above = CGPointMake(kCentre.x, kCentre.y - 30), below = CGPointMake(kCentre.x, kCentre.y + 30);
    EXPECT_TRUE(CGPointEqualToPoint(edit->center(), above));

    driver_.advance(0.9);
    EXPECT_TRUE(CGPointEqualToPoint(edit->center(), above));
    EXPECT_TRUE(CGPointEqualToPoint(view->titleView()->center(), kCentre));
    driver_.advance(0.25);  // 1.15 s: half way through the 0.3 s slide
    const CGFloat halfWay = edit->layer()->presentationLayer()->position().y;
    EXPECT_GT(halfWay, above.y);
    EXPECT_LT(halfWay, kCentre.y);
    driver_.advance(0.2);
    EXPECT_TRUE(CGPointEqualToPoint(edit->center(), kCentre));
    EXPECT_EQ(edit->layer()->presentationLayer()->position().y, kCentre.y);
    EXPECT_TRUE(CGPointEqualToPoint(view->titleView()->center(), below));
}

TEST_F(QZNavigationItemTest, TheEditButtonsTargetHearsTapsUntilRemoved)
{
    struct Target {
        int taps = 0;
        void edit() { ++taps; }
    };
    auto target = std::make_shared<Target>();
    auto bar = UIView::viewWithFrame<QZNavigationBar>(CGRectMake(0, 20, 320, 44));
    window_->addSubview(bar);
    auto item = UINavigationItem::make<QZNavigationItem>();
    item->addTarget(target, &Target::edit);
    item->setQuickLaunchStyle(true);
    bar->pushNavigationItem(item, false);
    driver_.advance(1.4);
    auto edit = titleViewOf(*item)->editButton();
    driver_.tap(*edit);
    EXPECT_EQ(target->taps, 1);
    driver_.advance(0.5);
    item->removeAllTargets();
    driver_.tap(*edit);
    EXPECT_EQ(target->taps, 1);
}

TEST_F(QZNavigationItemTest, AScreenTitledBeforeItsViewLoadsShowsTheTitleInTheBar)
{
    auto screen = UIViewController::make<QZViewController>();
    screen->setTitle("Orientation");
    auto item = std::dynamic_pointer_cast<QZNavigationItem>(screen->navigationItem());
    ASSERT_TRUE(item);
    EXPECT_EQ(screen->navigationItem(), item);
    EXPECT_EQ(item, screen->customNavigationItem());
    EXPECT_TRUE(item->navigationTitleColor()->isEqual(*UIColor::whiteColor()));

    auto bar = UIView::viewWithFrame<QZNavigationBar>(CGRectMake(0, 20, 320, 44));
    window_->addSubview(bar);
    bar->pushNavigationItem(screen->navigationItem(), false);
    EXPECT_EQ(shown(*titleViewOf(*item)), "label:");
    screen->view();
    bar->layoutIfNeeded();
    auto titleView = titleViewOf(*item);
    EXPECT_EQ(titleView->superview(), bar);
    EXPECT_EQ(shown(*titleView), "label:Orientation");
    EXPECT_TRUE(CGPointEqualToPoint(titleView->center(), CGPointMake(160, 22)));
}

}  // namespace
