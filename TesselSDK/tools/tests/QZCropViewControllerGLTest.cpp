// The crop screen on a real GL instance, shown as the root screen shows a tool and driven by taps
// on its strip: turning the ratios, the named presets that never turn, and a tool table whose
// default preset index lies past the list.
#include "QZToolScreenTestSupport.h"

#include "TesselSDK/tools/QZCropConveyorViewCell.h"
#include "TesselSDK/tools/QZCropViewController.h"

#include "TesselSDKImaging/Modules/QZCropModule.h"

#include "Foundation/NSLogCapture.h"

namespace {

class QZCropViewControllerGLTest : public QZToolScreenTest {
protected:
    void SetUp() override
    {
        QZToolScreenTest::SetUp();
        if (!loadPhoto(qz_test::texturedPhoto(1024, 683))) GTEST_SKIP() << "no GL context";
    }

    // As present() shows a tool, with the tool table's settings for it.
    std::shared_ptr<QZCropViewController> presentCrop(Value settings)
    {
        canvas_ = UIView::viewWithFrame<QZScrollingImageView>(CGRectMake(0, 64, kWidth, 316));
        window_->addSubview(canvas_);
        canvas_->setImageSize(gl_->currentImageSize());
        canvas_->showOpenGLView(true);
        canvas_->layoutIfNeeded();
        gl_->setRenderbufferFromOpenGLView(canvas_->openGLView());
        bar_ = UIView::viewWithFrame<QZNavigationBar>(CGRectMake(0, 20, kWidth, 44));
        window_->addSubview(bar_);
        auto tool = QZToolViewController::makeWithGLInstance<QZCropViewController>(gl_, std::move(settings), false);
        tool->setNavigationBar(bar_);
        tool->setDelegate(statuses_);
        tool->setTargetViewHeight(100);
        tool->setAnalyticsKey("crop");
        tool->setScrollableImageView(canvas_);
        tool->setOverlayRect(canvas_->frame());
        const auto& view = tool->view();
        view->setFrame(CGRectMake(0, kToolTop, kWidth, view->frame().size.height));
        window_->addSubview(view);
        window_->addSubview(tool->scrollableOverlayView());
        window_->addSubview(tool->staticOverlayView());
        bar_->pushNavigationItem(tool->navigationItem(), false);
        tool->viewWillAppear(false);
        tool->viewDidAppear(false);
        driver_.advance(0.4);
        tool_ = tool;
        return tool;
    }
    std::shared_ptr<QZCropViewController> presentCrop()
    {
        return presentCrop(Value::dictionary({{"defaultPresetIndex", 0}}));
    }

    void tapPreset(const std::string& label)
    {
        ASSERT_TRUE(driver_.tapViewWithLabel(label)) << "no preset " << label << " on show";
        driver_.advance(0.5);
    }

    // The ratio cells on show, by the labels they carry.
    static std::vector<std::string> shownRatios(QZCropViewController& crop)
    {
        std::vector<std::string> labels;
        for (const auto& cell : crop.conveyorView()->visibleCells()) {
            auto presetCell = std::dynamic_pointer_cast<QZCropConveyorViewCell>(cell);
            if (presetCell && presetCell->preset() && !presetCell->preset()->name())
                labels.push_back(presetCell->accessibilityLabel());
        }
        std::sort(labels.begin(), labels.end());
        return labels;
    }
    static double contentAspect(QZCropViewController& crop)
    {
        const CGRect g = crop.cropOverlayView()->cropBoxView()->contentRect();
        return g.size.width / g.size.height;
    }
};

TEST_F(QZCropViewControllerGLTest, TappingTheSelectedRatioAgainTurnsEveryRatioButNoNamedPreset)
{
    auto crop = presentCrop();
    EXPECT_EQ(crop->selectedPreset(), crop->presets()[0]);
    EXPECT_EQ(analytics_->calls.back(), "tagScreen: Crop");
    const CGRect m = crop->cropOverlayView()->maximumCropRect();
    EXPECT_NEAR(contentAspect(*crop), m.size.width / m.size.height, 1e-3) << "Custom starts at the photo";

    tapPreset("3:2");
    EXPECT_NEAR(contentAspect(*crop), 1.5, 1e-3);
    EXPECT_TRUE(crop->cropOverlayView()->isConstrainedToProportions());
    const std::vector<std::string> asWritten = shownRatios(*crop);
    ASSERT_GE(asWritten.size(), 3u);

    tapPreset("3:2");
    EXPECT_TRUE(crop->cropBoxIsRotated());
    EXPECT_NEAR(contentAspect(*crop), 2.0 / 3, 1e-3) << "the box is not turned";
    // Every ratio on show reads turned, not only the tapped one.
    std::vector<std::string> turned;
    for (const std::string& ratio : asWritten) {
        const auto colon = ratio.find(':');
        turned.push_back(ratio.substr(colon + 1) + ":" + ratio.substr(0, colon));
    }
    std::sort(turned.begin(), turned.end());
    EXPECT_EQ(shownRatios(*crop), turned);
    EXPECT_EQ(UITestDriver::visibleViewWithLabel("3:2"), nullptr);

    // The named presets never turn, and tapping them again changes nothing.
    for (int tap = 0; tap < 2; ++tap) {
        tapPreset("Original");
        EXPECT_TRUE(crop->cropBoxIsRotated());
        // The photo's own ratio, kept while resizing.
        EXPECT_NEAR(contentAspect(*crop), m.size.width / m.size.height, 1e-3);
        EXPECT_TRUE(crop->cropOverlayView()->isConstrainedToProportions());
    }
    // A ratio chosen again shows turned, as the strip says.
    tapPreset("2:3");
    EXPECT_NEAR(contentAspect(*crop), 2.0 / 3, 1e-3);
}

TEST_F(QZCropViewControllerGLTest, ADefaultPresetIndexPastTheListIsLoggedAndTheFirstPresetShown)
{
    NSLogCapture log;
    auto crop = presentCrop(Value::dictionary({{"defaultPresetIndex", 99}}));
    EXPECT_TRUE(log.contains("-[QZCropViewController viewDidAppear:] Invalid default preset index: 99"));
    EXPECT_EQ(crop->selectedPreset(), crop->presets()[0]);
    const auto box = crop->cropOverlayView()->cropBoxView();
    EXPECT_EQ(box->alpha(), 1) << "the box Apply crops to is not shown";
    const CGRect m = crop->cropOverlayView()->maximumCropRect();
    EXPECT_NEAR(box->contentRect().size.width, m.size.width, 1e-3);
    EXPECT_NEAR(box->contentRect().size.height, m.size.height, 1e-3);
    const auto first = std::dynamic_pointer_cast<QZCropConveyorViewCell>(UITestDriver::visibleViewWithLabel("Custom"));
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isDepressed()) << "the shown preset's cell is not pressed";
}

// Apply crops the preview to the box in whole pixels, hands the module over at once, and then,
// from the GL queue, shows the cropped photo on the canvas and fades the overlay.
TEST_F(QZCropViewControllerGLTest, ApplyCropsThePreviewToTheBoxAndRestoresTheCanvas)
{
    auto crop = presentCrop();
    tapPreset("1:1");
    tapApply(*crop);
    EXPECT_EQ(statuses_->statuses, std::vector<QZToolViewControllerStatus>{QZToolViewControllerStatusApplied});
    auto module = std::dynamic_pointer_cast<QZCropModule>(crop->outputModule());
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(module->isHiRes());
    // A square of 683 pixels, every row, in the middle: its edges fall on half pixels there, and
    // taking in every pixel they touch would make it 684 wide.
    const CGRect rect = module->rect();
    EXPECT_NEAR(rect.size.width * 1024, 683, 1e-3);
    EXPECT_NEAR(rect.size.height * 683, 683, 1e-3);
    EXPECT_NEAR(rect.origin.x * 1024, 170.5, 0.5 + 1e-3);
    EXPECT_EQ(rect.origin.y, 0);
    const std::size_t left = std::size_t(std::lround(rect.origin.x * 1024));
    const Value* applied = event("crop: applied");
    ASSERT_NE(applied, nullptr);
    EXPECT_TRUE((*applied)["renderTime"].isNil()) << "reported before the render ends";

    ASSERT_TRUE(pumpUntil([&] { return crop->renderEndDate().has_value(); }));
    EXPECT_EQ(gl_->currentImageSize(), CGSizeMake(683, 683));
    EXPECT_EQ(canvas_->imageView()->bounds().size, CGSizeMake(683, 683));
    driver_.advance(0.4);
    EXPECT_TRUE(CGAffineTransformIsIdentity(canvas_->transform()));
    EXPECT_TRUE(CGAffineTransformIsIdentity(canvas_->layer()->presentationLayer()->affineTransform()));
    EXPECT_EQ(crop->staticOverlayView()->alpha(), 0);
    EXPECT_FALSE(crop->staticOverlayView()->isUserInteractionEnabled());

    // The preview now is the photo's middle square.
    qz_test::Pixels shown;
    bool read = false;
    gl_->getOutputImage([&](std::shared_ptr<UIImage> image) {
        if (image) shown = qz_test::pixelsOf(image);
        read = true;
    });
    ASSERT_TRUE(pumpUntil([&] { return read; }));
    ASSERT_EQ(shown.width, 683u);
    const qz_test::Pixels square =
        qz_test::makePixels(683, 683, [&](std::size_t x, std::size_t y) { return photo_.at(left + x, y); });
    EXPECT_LE(qz_test::maxDifference(shown, square), 2);
}

}  // namespace
