// The stickers tool's two levels through touches on a phone, on the virtual clock, without a GL
// context: the strip of sticker packs (the shipped Doodles, a generated ready pack "Fixture" and
// "Locked", whose full-size set is still to be downloaded), the pack page sliding in and out, the
// sticker cells' taps, drags and holds, and Apply's module and announcements. Shown as the root
// screen shows a tool: the canvas and the stickers layer in a host screen's view, the bar above,
// the tool's view at the bottom.
#include "TesselSDK/tools/tests/QZStickerTestSupport.h"

#include "TesselSDK/packs/QZContentAppliedNotification.h"
#include "TesselSDK/packs/QZStickerContentPackListSelectionViewController.h"
#include "TesselSDK/shell/QZNavigationBar.h"
#include "TesselSDK/shell/QZScrollingImageView.h"

#include "TesselSDKImaging/Processors/QZStickerProcessor.h"
#include "TesselSDKImaging/tests/QZImageServerTestSupport.h"

#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSUserDefaults.h"
#include "ImageIO/ImageIOCodec.h"
#include "QuartzCore/CALayer.h"
#include "TesselSDKFoundation/QZFileSystemUtils.h"
#include "testing/ZipBuilder.h"

#include <cmath>

namespace sticker_test {
namespace {

using StickersTool = QZStickerContentPackListSelectionViewController;
using StickerPage = QZStickerContentPackDetailViewController;

// The root screen's part: its view hosts the pack screens, it hears the tool finish.
class Host : public UIViewController, public QZToolViewControllerDelegate {
public:
    using UIViewController::UIViewController;
    std::vector<QZToolViewControllerStatus> statuses;
    std::shared_ptr<QZModule> module;
    void toolControllerFinishedWithStatus(QZToolViewController* tool, QZToolViewControllerStatus status) override
    {
        statuses.push_back(status);
        if (status == QZToolViewControllerStatusApplied && tool) module = tool->outputModule();
    }
};

class QZStickerToolTest : public QZStickerFixture {
protected:
    static constexpr CGFloat kToolTop = 455;

    void SetUp() override
    {
        QZStickerFixture::SetUp();
        observer_ = NSNotificationCenter::defaultCenter()->addObserverForName(
            QZContentAppliedNotification, nullptr,
            [this](const std::shared_ptr<NSNotification>& notification) { applied_.push_back(notification); });
    }
    void TearDown() override
    {
        NSNotificationCenter::defaultCenter()->removeObserver(observer_);
        tool_.reset();
        host_.reset();
        QZStickerFixture::TearDown();
    }

    std::shared_ptr<StickersTool> show()
    {
        host_ = UIViewController::make<Host>();
        const std::shared_ptr<UIView>& root = host_->view();
        root->setFrame(window_->bounds());
        window_->addSubview(root);
        canvas_ = UIView::viewWithFrame<QZScrollingImageView>(CGRectMake(0, 64, 320, 391));
        root->addSubview(canvas_);
        canvas_->setImageSize(CGSizeMake(512, 512));
        bar_ = UIView::viewWithFrame<QZNavigationBar>(CGRectMake(0, 20, 320, 44));
        root->addSubview(bar_);

        auto tool = QZToolViewController::makeWithGLInstance<StickersTool>(nullptr, Value(), false);
        tool->setNavigationBar(bar_);
        tool->setDelegate(std::static_pointer_cast<QZToolViewControllerDelegate>(host_));
        tool->setTargetViewHeight(100);
        tool->setAnalyticsKey("stickers");
        tool->setTitle("Stickers");
        tool->setScrollableImageView(canvas_);
        tool->setOverlayRect(CGRectMake(0, 0, 320, kToolTop));
        const std::shared_ptr<UIView>& view = tool->view();
        view->setFrame(CGRectMake(0, kToolTop, 320, 100));
        root->addSubview(tool->staticOverlayView());
        root->addSubview(view);
        root->bringSubviewToFront(bar_.get());
        bar_->pushNavigationItem(tool->navigationItem(), false);
        tool->viewWillAppear(false);
        tool->viewDidAppear(false);
        driver_.advance(0.1);
        tool_ = tool;
        return tool;
    }
    // The tool shown, the pack of that name tapped and its page slid in.
    std::shared_ptr<StickerPage> openPage(const std::string& pack)
    {
        auto tool = show();
        EXPECT_TRUE(driver_.tapViewWithLabel(pack));
        driver_.advance(0.25);
        return std::dynamic_pointer_cast<StickerPage>(tool->contentPackDetailViewController());
    }
    std::shared_ptr<QZStickersOverlayView> layer() const { return tool_->stickersOverlayView(); }
    // "Broken", installed as an archive in the content directory before images were checked at
    // install: "bad"'s large image is no image, "good"'s is.
    void installBrokenPack()
    {
        std::vector<std::uint8_t> red;
        const std::vector<RGBA> pixels(40 * 40, kRed);
        ASSERT_TRUE(ImageIOEncodePNG(pixels.data(), 40, 40, &red));
        const std::string image(red.begin(), red.end());
        const std::filesystem::path content = QZFileSystemUtils::resourcesDirectoryURL().value();
        std::filesystem::create_directories(content);
        ASSERT_TRUE(ZipBuilder()
                        .addStored("status.json", R"({"status": "OK"})")
                        .addStored("bad-large.png", "these bytes are no picture at all")
                        .addStored("bad-small.png", image)
                        .addStored("good-large.png", image)
                        .addStored("good-small.png", image)
                        .writeTo((content / "broken_stickers.zip").string()));
        ASSERT_TRUE(ZipBuilder()
                        .addStored("status.json", R"({"status": "OK"})")
                        .addStored("iap_preview.png", image)
                        .writeTo((content / "broken_stickers_thumbnail.zip").string()));
        Value document = Value::fromJSON(R"({"identifier": "broken_stickers", "packType": "sticker",
            "displayName": "Broken", "codeName": "broken_code", "requiresDownload": true, "index": 7,
            "highResURL": "http://127.0.0.1:9/broken_stickers.zip",
            "thumbnailURL": "http://127.0.0.1:9/broken_stickers_thumbnail.zip",
            "items": [{"identifier": "bad", "displayName": "Bad", "index": 0},
                      {"identifier": "good", "displayName": "Good", "index": 1}]})");
        ASSERT_TRUE(manager()->insertPackForTesting(document));
    }
    UIView& cell(const std::string& label)
    {
        auto view = UITestDriver::visibleViewWithLabel(label);
        EXPECT_NE(view, nullptr) << label;
        return *view;
    }

    std::shared_ptr<Host> host_;
    std::shared_ptr<QZScrollingImageView> canvas_;
    std::shared_ptr<QZNavigationBar> bar_;
    std::shared_ptr<StickersTool> tool_;
    std::shared_ptr<NSObject> observer_;
    std::vector<std::shared_ptr<NSNotification>> applied_;
};

TEST_F(QZStickerToolTest, TheStripShowsTheInstalledStickerPacksAndGetMoreWithoutOne)
{
    auto tool = show();
    const auto strip = tool->selectionView()->tableView();
    EXPECT_EQ(strip->numberOfRowsInSection(0), 3);
    EXPECT_FALSE(tool->indicatorView()->isAnimating());
    for (const char* name : {"Doodles", "Fixture", "Locked"}) EXPECT_TRUE(UITestDriver::visibleViewWithLabel(name));
    EXPECT_EQ(tool->contentPackForIndexPath(NSIndexPath::indexPathForRowInSection(3, 0)), nullptr);
    EXPECT_EQ(tool->indexPathForContentPack(pack("sticker_fixture"))->row(), 1);
    // The list level has no Apply of its own.
    EXPECT_EQ(tool->navigationItem()->rightBarButtonItem(), nullptr);
    screenshot("stickers-1-packs");

    // A row past the snapshot chooses nothing.
    tool->selectionViewDidSelectRowAtIndexPath(tool->selectionView().get(),
                                               NSIndexPath::indexPathForRowInSection(7, 0));
    EXPECT_EQ(tool->contentPackDetailViewController(), nullptr);

    auto context = manager()->contentPackManagedObjectContext();
    for (const auto& stored : manager()->contentPacks()) context->deleteObject(stored);
    std::shared_ptr<NSError> error;
    ASSERT_TRUE(context->save(&error));
    tool_.reset();
    host_->view()->removeFromSuperview();
    auto empty = show();
    EXPECT_EQ(empty->selectionView()->tableView()->numberOfRowsInSection(0), 0);
    // Nothing is loading: no spinner, but the way to the pack store, as the other pack tools show.
    EXPECT_FALSE(empty->indicatorView()->isAnimating());
    screenshot("stickers-0-no-packs");
    auto getMore = UITestDriver::visibleViewWithLabel("Get More");
    ASSERT_NE(getMore, nullptr);
    driver_.tap(*getMore);
    driver_.advance(0.5);
    EXPECT_NE(empty->listIAPViewController(), nullptr) << "the pack store opens";
}

TEST_F(QZStickerToolTest, APackWithoutItsFullSetOpensItsStorePageNotTheInToolPage)
{
    auto tool = show();
    ASSERT_TRUE(driver_.tapViewWithLabel("Locked"));
    driver_.advance(0.5);
    EXPECT_EQ(tool->contentPackDetailViewController(), nullptr);
    ASSERT_NE(tool->detailIAPViewController(), nullptr);
    EXPECT_EQ(tool->detailIAPViewController()->contentPack(), pack("locked_stickers"));
    EXPECT_EQ(eventCount("Featured(locked_code) :opened"), 1);
}

// While the page slides in no button of either level works and the page takes no touch; at the end
// of its 0.2 s they do, the bar shows the page's item and the list lies one width to the left (a
// rotation keeps it there).
TEST_F(QZStickerToolTest, ThePageSlidesInWithEveryButtonOffUntilItHasArrived)
{
    auto tool = show();
    ASSERT_TRUE(driver_.tapViewWithLabel("Fixture"));
    driver_.advance(0.1);
    auto page = std::dynamic_pointer_cast<StickerPage>(tool->contentPackDetailViewController());
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(tool->backButton()->isEnabled());
    EXPECT_FALSE(page->applyButton()->isEnabled());
    EXPECT_FALSE(page->backButton()->isEnabled());
    EXPECT_FALSE(page->view()->isUserInteractionEnabled());
    EXPECT_FALSE(tool->selectionView()->isUserInteractionEnabled());
    driver_.tap(CGPointMake(160, kToolTop + 50));
    EXPECT_TRUE(layer()->stickerViews().empty());

    driver_.advance(0.11);
    EXPECT_TRUE(page->applyButton()->isEnabled());
    EXPECT_TRUE(page->backButton()->isEnabled());
    EXPECT_TRUE(page->view()->isUserInteractionEnabled());
    EXPECT_FALSE(tool->backButton()->isEnabled());
    EXPECT_EQ(bar_->topItem(), page->navigationItem());
    EXPECT_TRUE(CGRectEqualToRect(tool->view()->frame(), CGRectMake(-320, kToolTop, 320, 100)));
    EXPECT_TRUE(CGRectEqualToRect(page->view()->frame(), CGRectMake(0, kToolTop, 320, 100)));
    EXPECT_TRUE(page->shouldWaitForGLCommit()) << "only the list tool commits";
    EXPECT_EQ(page->title(), "Fixture");
    EXPECT_TRUE(UITestDriver::visibleViewWithLabel("Stickers")) << "the back button names the tool";
    EXPECT_EQ(page->staticOverlayView(), tool->staticOverlayView());
    EXPECT_EQ(page->scrollableImageView(), tool->scrollableImageView());
    EXPECT_EQ(eventCount("fixture_code : opened"), 1);
    EXPECT_NE(std::find(analytics_->calls.begin(), analytics_->calls.end(), "tagScreen: Stickers"),
              analytics_->calls.end());
    screenshot("stickers-2-page");

    tool->willRotateToInterfaceOrientation(UIInterfaceOrientationLandscapeLeft, 0.3);
    EXPECT_TRUE(tool->isZoomEnabled());
    tool->willAnimateRotationToInterfaceOrientation(UIInterfaceOrientationLandscapeLeft, 0.3);
    tool->didRotateFromInterfaceOrientation(UIInterfaceOrientationPortrait);
    EXPECT_FALSE(tool->isZoomEnabled());
    EXPECT_TRUE(CGRectEqualToRect(tool->view()->frame(), CGRectMake(-320, kToolTop, 320, 100)));
    EXPECT_TRUE(CGRectEqualToRect(page->view()->frame(), CGRectMake(0, kToolTop, 320, 100)));

    // A finish from another screen than the shown page is logged and handled as the page's.
    auto stranger = QZToolViewController::makeWithGLInstance<QZToolViewController>(nullptr, Value(), false);
    tool->toolControllerFinishedWithStatus(stranger.get(), QZToolViewControllerStatusCancelled);
    driver_.advance(0.25);
    EXPECT_EQ(tool->contentPackDetailViewController(), nullptr);
    // With no page shown there is nothing to apply: the tool stays open.
    tool->toolControllerFinishedWithStatus(stranger.get(), QZToolViewControllerStatusApplied);
    EXPECT_TRUE(host_->statuses.empty());
    EXPECT_FALSE(tool->successfullyApplied());
}

// Back on the page: the stickers fade away, the page slides out, the list's back button works again
// after 0.2 s, and the tool stays open at the list level.
TEST_F(QZStickerToolTest, BackOnThePageRemovesTheStickersAndSlidesItOut)
{
    auto page = openPage("Fixture");
    ASSERT_NE(page, nullptr);
    driver_.tap(cell("Wide"));
    ASSERT_EQ(layer()->stickerViews().size(), 1u);
    const std::shared_ptr<UIView> pageView = page->view();
    ASSERT_TRUE(driver_.tapViewWithLabel("Stickers"));
    EXPECT_EQ(tool_->contentPackDetailViewController(), nullptr);
    driver_.advance(0.11);
    EXPECT_TRUE(layer()->stickerViews().empty());
    EXPECT_FALSE(tool_->backButton()->isEnabled());
    driver_.advance(0.11);
    EXPECT_EQ(pageView->superview(), nullptr);
    EXPECT_TRUE(tool_->backButton()->isEnabled());
    EXPECT_TRUE(tool_->selectionView()->isUserInteractionEnabled());
    EXPECT_TRUE(CGRectEqualToRect(tool_->view()->frame(), CGRectMake(0, kToolTop, 320, 100)));
    EXPECT_EQ(bar_->topItem(), tool_->navigationItem());
    EXPECT_EQ(eventCount("fixture_code :cancelled"), 1);
    EXPECT_TRUE(host_->statuses.empty());
    EXPECT_FALSE(canvas_->allowsScaleUp());
}

// A plain tap places exactly one sticker (the strip's row selection adds no second one) and pops the
// cell's image back: identity and opaque, its animation gone after 0.4 s.
TEST_F(QZStickerToolTest, ATapOnAStickerPlacesExactlyOneAndPopsItsCell)
{
    auto page = openPage("Fixture");
    ASSERT_NE(page, nullptr);
    auto& wide = dynamic_cast<QZStickerContentPackItemSelectionViewCell&>(cell("Wide"));
    driver_.tap(wide);
    ASSERT_EQ(layer()->stickerViews().size(), 1u);
    auto sticker = layer()->stickerViews()[0];
    EXPECT_EQ(sticker->stickerPackItem(), item("wide"));
    // Its picture a quarter of the layer's width (200 pixels would be 25.6 points at 0.2).
    EXPECT_NEAR(sticker->bounds().size.width, 320 / 4 + 48, 1e-3);
    EXPECT_TRUE(CGPointEqualToPoint(sticker->center(), CGPointMake(160, kToolTop / 2)));
    EXPECT_TRUE(sticker->controlsEnabled());
    EXPECT_EQ(eventCount("fixture_code: wide : selected"), 1);
    const std::shared_ptr<CALayer>& image = wide.imgView()->layer();
    EXPECT_FALSE(image->animationKeys().empty());
    driver_.advance(0.45);
    EXPECT_TRUE(image->animationKeys().empty());
    EXPECT_TRUE(CATransform3DIsIdentity(image->transform()));
    EXPECT_FLOAT_EQ(image->opacity(), 1);
    screenshot("stickers-3-placed");
}

TEST_F(QZStickerToolTest, ATapWhileTheStripGlidesPlacesNothing)
{
    auto page = openPage("Doodles");
    ASSERT_NE(page, nullptr);
    driver_.drag({CGPointMake(300, kToolTop + 50), CGPointMake(120, kToolTop + 50)}, 0.1);
    const auto table = page->selectionView()->tableView();
    ASSERT_TRUE(table->isDecelerating());
    driver_.tap(CGPointMake(160, kToolTop + 50));
    EXPECT_TRUE(layer()->stickerViews().empty());
    driver_.advance(2);
    driver_.tap(CGPointMake(160, kToolTop + 50));
    EXPECT_EQ(layer()->stickerViews().size(), 1u) << "once the strip rests a tap places again";
}

// Pulled off the strip the sticker follows the finger and lands under it, active, on the layer.
TEST_F(QZStickerToolTest, ADraggedStickerLandsUnderTheFinger)
{
    auto page = openPage("Fixture");
    ASSERT_NE(page, nullptr);
    const CGPoint from = UITestDriver::windowPoint(cell("Wide"));
    driver_.drag({from, CGPointMake(100, 200)}, 1.0);
    EXPECT_EQ(page->draggingSticker(), nullptr);
    ASSERT_EQ(layer()->stickerViews().size(), 1u);
    auto sticker = layer()->stickerViews()[0];
    EXPECT_EQ(sticker->superview(), layer());
    EXPECT_NEAR(sticker->center().x, 100, 0.5);
    EXPECT_NEAR(sticker->center().y, 200, 0.5);
    EXPECT_TRUE(sticker->controlsEnabled());
    EXPECT_TRUE(sticker->isAdded());
    EXPECT_EQ(eventCount("fixture_code: wide : selected"), 1);
    driver_.advance(0.5);
    EXPECT_FLOAT_EQ(sticker->alpha(), 1);
}

// Dropped back on the strip, or only held, the sticker returns to its cell and nothing is placed.
TEST_F(QZStickerToolTest, ADragBackOntoTheStripOrAHoldPlacesNothing)
{
    auto page = openPage("Fixture");
    ASSERT_NE(page, nullptr);
    const CGPoint from = UITestDriver::windowPoint(cell("Wide"));
    const auto stickersOnTheHost = [&] {
        int count = 0;
        for (const auto& view : host_->view()->subviews()) count += dynamic_cast<QZStickerView*>(view.get()) != nullptr;
        return count;
    };
    struct Gesture {
        const char* what;
        std::function<void()> perform;
    };
    const Gesture gestures[] = {
        {"dragged out and back",
         [&] {
             driver_.drag({from, CGPointMake(from.x, 250), CGPointMake(from.x, from.y)}, 1.0);
         }},
        {"held half a second", [&] { driver_.press(from, 0.5); }},
    };
    for (const Gesture& gesture : gestures) {
        SCOPED_TRACE(gesture.what);
        gesture.perform();
        EXPECT_EQ(page->draggingSticker(), nullptr);
        EXPECT_EQ(stickersOnTheHost(), 1) << "on its way home";
        driver_.advance(0.35);
        EXPECT_EQ(stickersOnTheHost(), 0);
        EXPECT_TRUE(layer()->stickerViews().empty());
        EXPECT_EQ(eventCount("fixture_code: wide : selected"), 0);
        EXPECT_FLOAT_EQ(dynamic_cast<QZStickerContentPackItemSelectionViewCell&>(cell("Wide")).imgView()->alpha(), 1);
    }
}

// The 64-pixel sticker "Red Blue" tapped: placed at a size a person sees and grabs, and applied
// (the module replayed on the CPU on a grey photo of the canvas's 512 pixels) it changes the photo
// where it stands, red on its left and blue on its right, and nothing far from it.
TEST_F(QZStickerToolTest, ASmallStickerIsPlacedVisiblyAndAppliedWhereItStands)
{
    auto page = openPage("Fixture");
    ASSERT_NE(page, nullptr);
    driver_.tap(cell("Red Blue"));
    ASSERT_EQ(layer()->stickerViews().size(), 1u);
    auto sticker = layer()->stickerViews()[0];
    window_->layoutIfNeeded();
    EXPECT_GE(sticker->imageView()->bounds().size.width, 320 / 4 - 1e-3);
    screenshot("stickers-small-placed");
    ASSERT_TRUE(driver_.tapViewWithLabel("Apply"));
    driver_.advance(0.1);
    ASSERT_NE(host_->module, nullptr);

    const std::size_t side = 512;
    const qz_test::Pixels grey = qz_test::makePixels(side, side, [](std::size_t, std::size_t) {
        return std::array<std::uint8_t, 4>{128, 128, 128, 255};
    });
    CGImageRef image = qz_test::createImage(grey);
    auto server = QZBitmapImageServer::make(image, 1, UIImageOrientationUp);
    CGImageRelease(image);
    ASSERT_TRUE(server);
    server->drawImage();
    server->runModule(host_->module);
    const qz_test::Pixels out = qz_test::readBack(server);
    std::size_t red = 0, blue = 0, farChanged = 0;
    for (std::size_t y = 0; y < side; ++y)
        for (std::size_t x = 0; x < side; ++x) {
            const auto p = out.at(x, y);
            const bool isGrey = std::abs(p[0] - 128) <= 2 && std::abs(p[1] - 128) <= 2 && std::abs(p[2] - 128) <= 2;
            const bool near = x > side / 4 && x < 3 * side / 4 && y > side / 4 && y < 3 * side / 4;
            if (!near && !isGrey) ++farChanged;
            red += p[0] > 200 && p[2] < 60 && x < side / 2;
            blue += p[2] > 200 && p[0] < 60 && x >= side / 2;
        }
    // The picture is 80 points of a 320-point-wide photo of 512 pixels: 128 x 64 pixels.
    EXPECT_GE(red, 60u * 60u / 2);
    EXPECT_GE(blue, 60u * 60u / 2);
    EXPECT_EQ(farChanged, 0u);
}

// A sticker whose large image cannot be read is not placed, by a tap or a drag: its cell shows it
// unavailable, nothing is reported, and Apply draws only the sticker that was placed.
TEST_F(QZStickerToolTest, AStickerWhosePictureCannotBeReadIsNotPlaced)
{
    installBrokenPack();
    auto page = openPage("Broken");
    ASSERT_NE(page, nullptr);
    auto& bad = dynamic_cast<QZStickerContentPackItemSelectionViewCell&>(cell("Bad"));
    driver_.tap(bad);
    driver_.advance(0.5);
    EXPECT_TRUE(layer()->stickerViews().empty());
    const CGPoint from = UITestDriver::windowPoint(bad);
    driver_.drag({from, CGPointMake(100, 200)}, 1.0);
    driver_.advance(0.5);
    EXPECT_TRUE(layer()->stickerViews().empty());
    EXPECT_EQ(page->draggingSticker(), nullptr);
    EXPECT_TRUE(page->selectionView()->tableView()->isScrollEnabled());
    window_->layoutIfNeeded();
    EXPECT_TRUE(bad.showsUnavailable());
    EXPECT_FLOAT_EQ(bad.alpha(), QZStickerContentPackItemSelectionViewCell::kUnavailableAlpha);
    EXPECT_EQ(eventCount("broken_code: bad : selected"), 0);
    screenshot("stickers-unavailable");

    auto& good = dynamic_cast<QZStickerContentPackItemSelectionViewCell&>(cell("Good"));
    EXPECT_FALSE(good.showsUnavailable());
    driver_.tap(good);
    ASSERT_EQ(layer()->stickerViews().size(), 1u);
    ASSERT_TRUE(driver_.tapViewWithLabel("Apply"));
    driver_.advance(0.1);
    ASSERT_NE(host_->module, nullptr);
    QZProcessorList processors;
    host_->module->createProcessors(processors);
    ASSERT_EQ(processors.size(), 1u);
    auto sticker = std::dynamic_pointer_cast<QZStickerProcessor>(processors[0]);
    ASSERT_NE(sticker, nullptr);
    EXPECT_EQ(sticker->stickerImage(), item("good", "broken_stickers")->largeImage());
}

// The system takes a touch away mid-pick-up (a call, a system gesture): the picked-up sticker
// goes back to its cell, nothing is placed and the strip scrolls again, whichever press had it.
TEST_F(QZStickerToolTest, ACancelledPressEndsThePickUpAndPlacesNothing)
{
    auto page = openPage("Fixture");
    ASSERT_NE(page, nullptr);
    const auto stickersOnTheHost = [&] {
        int count = 0;
        for (const auto& view : host_->view()->subviews()) count += dynamic_cast<QZStickerView*>(view.get()) != nullptr;
        return count;
    };
    struct Gesture {
        const char* what;
        std::function<void(CGPoint from)> perform;
    };
    const Gesture gestures[] = {
        {"held until picked up, then cancelled",
         [&](CGPoint from) {
             driver_.touchDown(1, from);
             driver_.advance(0.3);
             driver_.touchMove(1, CGPointMake(from.x, 250));
             driver_.advance(0.1);
             ASSERT_NE(page->draggingSticker(), nullptr);
             driver_.touchCancel(1, CGPointMake(from.x, 250));
         }},
        {"pulled off the strip at once, then cancelled",
         [&](CGPoint from) {
             driver_.touchDown(1, from);
             driver_.advance(0.05);
             for (CGFloat y = from.y; y > 200; y -= 40) {
                 driver_.touchMove(1, CGPointMake(from.x, y));
                 driver_.advance(0.02);
             }
             ASSERT_NE(page->draggingSticker(), nullptr);
             driver_.touchCancel(1, CGPointMake(from.x, 200));
         }},
        {"a tap cancelled before its lift",
         [&](CGPoint from) {
             driver_.touchDown(1, from);
             driver_.advance(0.05);
             driver_.touchCancel(1, from);
         }},
    };
    for (const Gesture& gesture : gestures) {
        SCOPED_TRACE(gesture.what);
        gesture.perform(UITestDriver::windowPoint(cell("Wide")));
        driver_.advance(0.5);
        EXPECT_EQ(page->draggingSticker(), nullptr);
        EXPECT_EQ(stickersOnTheHost(), 0);
        EXPECT_TRUE(layer()->stickerViews().empty());
        EXPECT_TRUE(page->selectionView()->tableView()->isScrollEnabled());
        EXPECT_FLOAT_EQ(dynamic_cast<QZStickerContentPackItemSelectionViewCell&>(cell("Wide")).imgView()->alpha(), 1);
        EXPECT_EQ(eventCount("fixture_code: wide : selected"), 0);
    }
    driver_.tap(cell("Wide"));
    EXPECT_EQ(layer()->stickerViews().size(), 1u) << "the next tap places as before";
}

// Apply with two stickers (the second turned): one processor each in the layer's order, the
// rectangles as the image view measures them and the turns copied; two announcements, both with
// the first sticker's pack; the count in the applied event.
TEST_F(QZStickerToolTest, ApplyHandsOverOneProcessorPerStickerInTheLayersOrder)
{
    auto page = openPage("Fixture");
    ASSERT_NE(page, nullptr);
    driver_.tap(cell("Wide"));
    const CGPoint from = UITestDriver::windowPoint(cell("Tall"));
    driver_.drag({from, CGPointMake(80, 150)}, 1.0);
    ASSERT_EQ(layer()->stickerViews().size(), 2u);
    layer()->stickerViews()[1]->setRotation(0.3f);
    window_->layoutIfNeeded();
    const UIImageView& picture = *canvas_->imageView();
    std::vector<CGRect> expected;
    for (const auto& sticker : layer()->stickerViews()) {
        const CGRect r = sticker->rectForStickerInView(picture, 1);
        const CGSize v = picture.bounds().size;
        expected.push_back(
            CGRectMake(r.origin.x / v.width, r.origin.y / v.height, r.size.width / v.width, r.size.height / v.height));
    }
    ASSERT_TRUE(driver_.tapViewWithLabel("Apply"));
    driver_.advance(0.1);
    ASSERT_EQ(host_->statuses, (std::vector<QZToolViewControllerStatus>{QZToolViewControllerStatusApplied}));
    ASSERT_NE(host_->module, nullptr);
    QZProcessorList processors;
    host_->module->createProcessors(processors);
    ASSERT_EQ(processors.size(), 2u);
    const std::vector<std::string> items = {"wide", "tall"};
    for (std::size_t i = 0; i < 2; ++i) {
        auto sticker = std::dynamic_pointer_cast<QZStickerProcessor>(processors[i]);
        ASSERT_NE(sticker, nullptr);
        EXPECT_EQ(sticker->stickerImage(), item(items[i])->largeImage());
        EXPECT_TRUE(CGRectEqualToRect(sticker->relativeStickerRect(), expected[i]));
        EXPECT_FLOAT_EQ(sticker->rotation(), i == 0 ? 0 : 0.3f);
    }
    ASSERT_EQ(applied_.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i)
        EXPECT_EQ(applied_[i]->userInfo(), Value::dictionary({{kQZContentPackIdentifier, "sticker_fixture"},
                                                              {kQZContentPackType, "sticker"},
                                                              {kQZContentItemIdentifier, items[i]}}));
    EXPECT_EQ(eventCount("wide : applied"), 1);
    EXPECT_EQ(eventCount("tall : applied"), 1);
    EXPECT_EQ(eventCount("fixture_code :applied"), 1);
    for (const auto& [name, attributes] : analytics_->events)
        if (name == "stickers: applied") {
            EXPECT_EQ(attributes["stickerPack"].stringValue(), "sticker_fixture");
            EXPECT_EQ(attributes["stickerCount"].intValue(), 2);
            EXPECT_TRUE(attributes["renderTime"].isNil());
        }
    EXPECT_EQ(eventCount("stickers: applied"), 1);
    // The tool's own item left the bar: the page's is the one the root screen pops.
    EXPECT_EQ(bar_->items(), (std::vector<std::shared_ptr<UINavigationItem>>{page->navigationItem()}));
    EXPECT_EQ(tool_->contentPackDetailViewController(), nullptr);
    EXPECT_EQ(page->view()->superview(), nullptr);
    // The session's module does not hold the tool.
    tool_.reset();
    page.reset();
    driver_.advance(0.1);
    processors.clear();
    host_->module->createProcessors(processors);
    EXPECT_EQ(processors.size(), 2u);
}

}  // namespace
}  // namespace sticker_test
