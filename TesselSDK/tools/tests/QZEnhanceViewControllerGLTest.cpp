// The enhance tool on a real GL context, driven by taps on its modes: a chosen mode's render ends
// only after the held GL queue resumes, a later choice wins, and a mode turned off again leaves the
// photo as it was, in the preview and in what Apply records.
#include "QZToolScreenTestSupport.h"

#include "TesselSDK/tools/QZEnhanceViewController.h"

#include "TesselSDKFoundation/QZSegmentedControl.h"

#include "CoreGraphics/CGImage.h"
#include "UIKit/testing/UIGoldenImage.h"

#include "TesselSDKImaging/Modules/QZLabCorrectModule.h"
#include "TesselSDKImaging/Modules/QZLocalContrastEnhanceModule.h"
#include "TesselSDKImaging/Modules/QZNightEnhanceModule.h"

#include <optional>

namespace {

class QZEnhanceViewControllerGLTest : public QZToolScreenTest {
protected:
    void SetUp() override
    {
        QZToolScreenTest::SetUp();
        if (!load()) GTEST_SKIP() << "no GL context";
    }
    bool load() { return loadPhoto(qz_test::texturedPhoto(64, 48)); }
    std::shared_ptr<QZEnhanceViewController> presentEnhance()
    {
        return present<QZEnhanceViewController>("enhance", "Enhance");
    }
    // The centre of mode i, the control's three segments sharing its width.
    void tapMode(int i)
    {
        const CGFloat segment = (kWidth - 24) / 3;
        driver_.tap(toolPoint(12 + (CGFloat(i) + 0.5f) * segment, 44));
    }

    struct Applied {
        std::shared_ptr<QZModule> module;
        Value attributes;
        qz_test::Pixels photo;  // the GL instance's image after the apply
    };
    // On a fresh photo: the taps on modes with the GL queue held, then Apply, then the queue let go.
    std::optional<Applied> applyAfter(std::initializer_list<int> modes)
    {
        if (tool_) {
            tool_->view()->removeFromSuperview();
            tool_->staticOverlayView()->removeFromSuperview();
            canvas_->removeFromSuperview();
            bar_->removeFromSuperview();
            EXPECT_TRUE(load());
        }
        analytics_->events.clear();
        statuses_->statuses.clear();
        auto tool = presentEnhance();
        gl_->pauseRendering();
        for (int mode : modes) tapMode(mode);
        tapApply(*tool);
        gl_->resumeRendering();
        if (!pumpUntil([&] { return !statuses_->statuses.empty(); })) return std::nullopt;
        std::shared_ptr<UIImage> image;
        gl_->getOutputImage([&](std::shared_ptr<UIImage> output) { image = std::move(output); });
        if (!pumpUntil([&] { return image != nullptr; })) return std::nullopt;
        const Value* applied = event("enhance: applied");
        return Applied{tool->outputModule(), applied ? *applied : Value(), qz_test::pixelsOf(image)};
    }
};

TEST_F(QZEnhanceViewControllerGLTest, AChosenModeEndsItsRenderOnlyAfterTheGLQueueRuns)
{
    auto tool = presentEnhance();
    EXPECT_EQ(tool->selectedIndex(), NSUInteger(NSNotFound));
    gl_->pauseRendering();
    tapMode(0);
    EXPECT_EQ(tool->selectedIndex(), 0u);
    ASSERT_NE(std::dynamic_pointer_cast<QZLocalContrastEnhanceModule>(tool->activeModule()), nullptr);
    ASSERT_TRUE(tool->renderStartDate().has_value());
    qz_test::Deliveries::settle();
    EXPECT_FALSE(tool->renderEndDate().has_value()) << "the render ended while the GL queue was held";
    EXPECT_EQ(tool->outputImage(), nullptr);

    gl_->resumeRendering();
    ASSERT_TRUE(pumpUntil([&] { return tool->renderEndDate().has_value(); }));
    EXPECT_GE(*tool->renderEndDate(), *tool->renderStartDate());
    ASSERT_NE(tool->outputImage(), nullptr);
    EXPECT_GT(qz_test::maxDifference(qz_test::pixelsOf(tool->outputImage()), photo_), 2) << "no enhanced preview";
    EXPECT_EQ(tool->nameLabels().size(), 3u);
    EXPECT_EQ(tool->nameLabels()[0]->text(), "Hi-Def");
}

// The pixels of a button's picture that are near white (every channel above 220).
int whitePixels(UIView& view)
{
    auto snapshot = UIViewSnapshot(view);
    CGImageRef image = snapshot->CGImage();
    const uint8_t* bytes = CGImageGetBytes(image);
    int white = 0;
    for (size_t y = 0; y < CGImageGetHeight(image); ++y)
        for (size_t x = 0; x < CGImageGetWidth(image); ++x) {
            const uint8_t* p = bytes + y * CGImageGetBytesPerRow(image) + x * 4;
            white += p[0] > 220 && p[1] > 220 && p[2] > 220;
        }
    return white;
}

// The chosen mode's button is filled blue; its icon is drawn white on it, as splash and focus draw
// theirs, so the mode stays recognisable.
TEST_F(QZEnhanceViewControllerGLTest, TheChosenModesIconShowsWhiteOnItsBlueButton)
{
    auto tool = presentEnhance();
    const auto& buttons = tool->segmentedControl()->buttons();
    ASSERT_EQ(buttons.size(), 3u);
    for (int mode = 0; mode < 3; ++mode) {
        SCOPED_TRACE(mode);
        tapMode(mode);
        driver_.advance(0.3);
        ASSERT_EQ(tool->selectedIndex(), NSUInteger(mode));
        EXPECT_GT(whitePixels(*buttons[size_t(mode)]), 60) << "no white icon on the chosen button";
    }
    tapMode(2);  // off again
    driver_.advance(0.3);
    tapMode(0);
    driver_.advance(0.3);
    auto picture = UIViewSnapshot(*tool->view());
    ASSERT_NE(picture, nullptr);
    const UIGoldenOutcome outcome = UICompareWithGolden(
        picture->CGImage(), std::string(TESSEL_TOOLS_GOLDEN_DIR) + "/QZEnhance_hidef.png", ::testing::TempDir());
    if (outcome.updated) GTEST_SKIP() << outcome.message;
    EXPECT_TRUE(outcome.matches) << outcome.message;
}

TEST_F(QZEnhanceViewControllerGLTest, ApplyRecordsTheModeThePreviewShows)
{
    const auto nightOnly = applyAfter({1});
    ASSERT_TRUE(nightOnly);
    ASSERT_NE(std::dynamic_pointer_cast<QZNightEnhanceModule>(nightOnly->module), nullptr);
    EXPECT_EQ(nightOnly->attributes["filter"], Value("night"));
    EXPECT_GT(qz_test::maxDifference(nightOnly->photo, photo_), 2);

    // Night chosen while clarity's render waits: night's module, night's picture.
    const auto clarityThenNight = applyAfter({0, 1});
    ASSERT_TRUE(clarityThenNight);
    ASSERT_NE(std::dynamic_pointer_cast<QZNightEnhanceModule>(clarityThenNight->module), nullptr);
    EXPECT_EQ(clarityThenNight->attributes["filter"], Value("night"));
    EXPECT_LE(qz_test::maxDifference(clarityThenNight->photo, nightOnly->photo), 1);

    struct Case {
        const char* name;
        std::initializer_list<int> modes;
    };
    // Nothing chosen, or a mode turned off again: no module, no "filter", the photo as it was.
    for (const Case& c : {Case{"no choice", {}}, Case{"balance, then off", {2, 2}}}) {
        SCOPED_TRACE(c.name);
        const auto nothing = applyAfter(c.modes);
        ASSERT_TRUE(nothing);
        EXPECT_EQ(nothing->module, nullptr);
        EXPECT_TRUE(nothing->attributes["filter"].isNil());
        EXPECT_LE(qz_test::maxDifference(nothing->photo, photo_), 1);
        auto* tool = static_cast<QZEnhanceViewController*>(tool_.get());
        EXPECT_EQ(tool->selectedIndex(), NSUInteger(NSNotFound));
    }
}

}  // namespace
