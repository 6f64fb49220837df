// The brush base and its draw overlay, driven by touches: what the overlay reports of a finger,
// the strokes the screen keeps (their points relative to the image, their size the strip's at the
// canvas's zoom), a cancelled touch, a size chosen mid-stroke, and zoom mode.
#include "QZBrushTestSupport.h"

#include "TesselSDK/tools/brush/QZSpotConveyorViewCell.h"

#include "Foundation/NSLogCapture.h"
#include "UIKit/UIImage.h"
#include "UIKit/UITouchInput.h"

#include <cstdio>

namespace {

std::string point(CGPoint p)
{
    char text[64];
    std::snprintf(text, sizeof text, "%g,%g", double(p.x), double(p.y));
    return text;
}

// What the overlay tells its delegate, one line each.
struct OverlayHeard : QZDrawOverlayViewDelegate {
    std::vector<std::string> lines;
    std::vector<CGPoint> finished;
    void drawOverlayDidStartDrawing(QZDrawOverlayView*) override { lines.push_back("start"); }
    void drawOverlayDidDrawPoint(QZDrawOverlayView*, CGPoint p) override { lines.push_back("point " + point(p)); }
    void drawOverlayDidDrawLineFromPointToPoint(QZDrawOverlayView*, CGPoint from, CGPoint to) override
    {
        lines.push_back("line " + point(from) + " " + point(to));
    }
    void drawOverlayDidFinishDrawingPoints(QZDrawOverlayView*, const std::vector<CGPoint>& points) override
    {
        lines.push_back("finish " + std::to_string(points.size()));
        finished = points;
    }
    std::vector<std::string> take() { return std::exchange(lines, {}); }
};

// The brush base with its hooks heard: the base itself does nothing in them.
class HeardBrush : public QZBrushViewController {
public:
    using QZBrushViewController::QZBrushViewController;
    std::vector<std::string> heard;
    void didBeginStroke(const std::shared_ptr<QZBrushStroke>&) override { heard.push_back("begin"); }
    void didModifyStroke(const std::shared_ptr<QZBrushStroke>&) override { heard.push_back("modify"); }
    void didFinishStroke(const std::shared_ptr<QZBrushStroke>& stroke) override
    {
        heard.push_back(stroke->isComplete() ? "finish complete" : "finish partial");
    }
    std::size_t count(const std::string& line) const
    {
        return std::size_t(std::count(heard.begin(), heard.end(), line));
    }
};

// The trail's alpha at an overlay point (0 without a trail).
int trailAlpha(QZDrawOverlayView& overlay, CGPoint at)
{
    const std::shared_ptr<UIImage>& trail = overlay.imageView()->image();
    if (!trail) return 0;
    const qz_test::Pixels pixels = qz_test::pixelsOf(trail);
    const CGFloat scale = trail->scale();
    return pixels.at(std::size_t(at.x * scale), std::size_t(at.y * scale))[3];
}

class QZDrawOverlayViewTest : public QZShellTest {};

TEST_F(QZDrawOverlayViewTest, ReportsEachTouchStepRelativeToItsBoundsAndClampedToThem)
{
    auto overlay = UIView::viewWithFrame<QZDrawOverlayView>(CGRectMake(0, 100, 400, 300));
    overlay->setUserInteractionEnabled(true);
    auto heard = std::make_shared<OverlayHeard>();
    overlay->setDelegate(heard);
    window_->addSubview(overlay);

    struct Step {
        UITouchPhase phase;
        CGPoint window;
        std::vector<std::string> heard;
    } steps[] = {
        {UITouchPhaseBegan, {100, 160}, {"start", "point 0.25,0.2"}},
        {UITouchPhaseMoved, {200, 160}, {"point 0.5,0.2", "line 0.25,0.2 0.5,0.2"}},
        {UITouchPhaseMoved, {200, 160}, {}},                                 // recorded, but nothing new to tell
        {UITouchPhaseMoved, {500, 450}, {"point 1,1", "line 0.5,0.2 1,1"}},  // past the corner
        {UITouchPhaseMoved, {-20, 90}, {"point 0,0", "line 1,1 0,0"}},
        {UITouchPhaseEnded, {-20, 90}, {"point 0,0", "finish 6"}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(point(step.window));
        driver_.touches({{1, step.phase, step.window}});
        EXPECT_EQ(heard->take(), step.heard);
    }
    EXPECT_EQ(heard->finished.size(), 6u);
    EXPECT_EQ(point(heard->finished[2]), "0.5,0.2") << "the repeated point is recorded all the same";
    EXPECT_TRUE(overlay->points().empty());
    EXPECT_GT(trailAlpha(*overlay, CGPointMake(150, 60)), 0) << "no trail where the finger went";
    EXPECT_EQ(trailAlpha(*overlay, CGPointMake(150, 200)), 0);

    // Erasing clears the trail where it passes; a hidden trail draws nothing.
    overlay->setErase(true);
    EXPECT_EQ(overlay->blendMode(), kCGBlendModeClear);
    driver_.drag({CGPointMake(140, 160), CGPointMake(160, 160)}, 0.1);
    EXPECT_EQ(trailAlpha(*overlay, CGPointMake(150, 60)), 0);
    overlay->setErase(false);
    EXPECT_EQ(overlay->blendMode(), kCGBlendModeNormal);
    overlay->setHideDrawTrail(true);
    const std::shared_ptr<UIImage> before = overlay->imageView()->image();
    driver_.drag({CGPointMake(100, 300), CGPointMake(300, 300)}, 0.1);
    EXPECT_EQ(overlay->imageView()->image(), before);
    EXPECT_EQ(heard->take().back(), "finish 8");
}

// The ink follows the finger: after every step, and after a turn that delivers many steps at once
// (a busy window hands over all the motion it heard), the trail reaches to within one step of the
// finger, where the smoothing's last midpoint lies; the lift draws the rest.
TEST_F(QZDrawOverlayViewTest, TheInkEndsWithinOneStepOfTheFinger)
{
    auto overlay = UIView::viewWithFrame<QZDrawOverlayView>(CGRectMake(0, 100, 400, 300));
    overlay->setUserInteractionEnabled(true);
    overlay->setBrushSize(6);
    window_->addSubview(overlay);
    const CGFloat step = 16, y = 150;
    // The ink's right end along the stroke's row, in overlay points.
    auto inkEnd = [&] {
        CGFloat end = -1;
        for (CGFloat x = 0; x < 400; x += 1)
            if (trailAlpha(*overlay, CGPointMake(x, y)) > 0) end = x;
        return end;
    };
    driver_.touchDown(1, CGPointMake(20, 100 + y));
    CGFloat finger = 20;
    for (int i = 0; i < 8; ++i) {
        finger += step;
        driver_.touchMove(1, CGPointMake(finger, 100 + y));
        EXPECT_GE(inkEnd(), finger - step) << "after the step to " << finger;
    }
    // Twelve steps heard at once, delivered by one turn, and shown once: a trail image made at
    // every step is what made the ink fall behind a quick finger.
    const std::uint64_t shownBefore = overlay->imageView()->layer()->changeCount();
    for (int i = 0; i < 12; ++i) {
        finger += step;
        UITouchInput::post(window_, {{1, UITouchPhaseMoved, CGPointMake(finger, 100 + y)}});
    }
    driver_.turn();
    EXPECT_LE(overlay->imageView()->layer()->changeCount() - shownBefore, 1u) << "the trail was shown at every step";
    EXPECT_GE(inkEnd(), finger - step) << "after the steps to " << finger;
    EXPECT_LT(inkEnd(), finger + 4);
    driver_.touchUp(1, CGPointMake(finger, 100 + y));
    EXPECT_GE(inkEnd(), finger + 2) << "the lift draws the last piece and the cap";
}

class QZBrushViewControllerTest : public QZBrushScreenTest {
protected:
    // The size cell of that name looks pressed, its dot lit.
    static bool sizeCellLit(const std::string& name)
    {
        auto cell = std::dynamic_pointer_cast<QZSpotConveyorViewCell>(UITestDriver::visibleViewWithLabel(name));
        return cell && cell->isDepressed() && cell->brushImageView()->isHighlighted();
    }
    std::shared_ptr<HeardBrush> presentHeard(CGFloat zoom = 2)
    {
        return presentBrush<HeardBrush>(CGSizeMake(400, 300), zoom);
    }
};

TEST_F(QZBrushViewControllerTest, ADragBecomesOneStrokeOfTheStripSizeAtTheCanvasZoom)
{
    auto brush = presentHeard(2);
    ASSERT_EQ(brush->sizeConveyorController()->selectedSize(), 10) << "the third size is chosen on opening";
    EXPECT_TRUE(sizeCellLit("Medium")) << "the chosen size does not look chosen";
    EXPECT_FALSE(sizeCellLit("Large"));
    auto overlay = brush->drawOverlayView();
    ASSERT_NE(overlay, nullptr);
    EXPECT_FLOAT_EQ(overlay->brushSize(), 5);

    driver_.touchDown(1, imagePoint(40, 30));
    EXPECT_FALSE(brush->zoomButton()->isVisible()) << "the zoom button stays while drawing";
    for (int i = 1; i <= 10; ++i) driver_.touchMove(1, imagePoint(40 + 10 * i, 30 + 3 * i));
    driver_.touchUp(1, imagePoint(140, 60));
    EXPECT_TRUE(brush->zoomButton()->isVisible());

    ASSERT_EQ(brush->strokes().size(), 1u);
    const auto& stroke = brush->strokes()[0];
    EXPECT_TRUE(stroke->isComplete());
    EXPECT_EQ(brush->currentStroke(), nullptr);
    EXPECT_FLOAT_EQ(stroke->brushSize(), 5) << "10 points on screen at zoom 2";
    const std::vector<CGPoint> points = stroke->points();
    ASSERT_EQ(points.size(), 12u);
    EXPECT_NEAR(points.front().x, 40.0 / 400, 1e-4);
    EXPECT_NEAR(points.front().y, 30.0 / 300, 1e-4);
    EXPECT_NEAR(points.back().x, 140.0 / 400, 1e-4);
    EXPECT_NEAR(points.back().y, 60.0 / 300, 1e-4);
    EXPECT_EQ(brush->count("begin"), 1u);
    EXPECT_EQ(brush->count("modify"), 12u);
    EXPECT_EQ(brush->count("finish complete"), 1u);
    EXPECT_EQ(brush->heard.back(), "finish complete");

    // A tap that does not move is a dot: a stroke whose points are all the tap's.
    driver_.tap(imagePoint(100, 100));
    ASSERT_EQ(brush->strokes().size(), 2u);
    for (const CGPoint& p : brush->strokes()[1]->points()) EXPECT_EQ(point(p), "0.25,0.333333");
    EXPECT_TRUE(brush->strokes()[1]->isComplete());

    // The output hook gets a copy of the list: the base hands over nothing.
    EXPECT_EQ(brush->outputModule(), nullptr);
}

TEST_F(QZBrushViewControllerTest, ACancelledTouchEndsItsStrokeSoTheNextTouchStartsAnother)
{
    auto brush = presentHeard(2);
    auto overlay = brush->drawOverlayView();
    ASSERT_NE(overlay, nullptr);
    driver_.touchDown(1, imagePoint(20, 20));
    for (int i = 1; i <= 5; ++i) driver_.touchMove(1, imagePoint(20 + 8 * i, 20));
    driver_.touchCancel(1, imagePoint(60, 20));
    EXPECT_TRUE(brush->zoomButton()->isVisible());
    ASSERT_EQ(brush->strokes().size(), 1u) << "the cancelled touch's stroke was left open";
    EXPECT_TRUE(brush->strokes()[0]->isComplete());
    EXPECT_EQ(brush->strokes()[0]->pointCount(), 7u);

    driver_.drag({imagePoint(20, 120), imagePoint(60, 120)}, 0.2);
    ASSERT_EQ(brush->strokes().size(), 2u);
    EXPECT_TRUE(brush->strokes()[1]->isComplete());
    EXPECT_NEAR(brush->strokes()[1]->points().front().y, 120.0 / 300, 1e-4) << "the new touch continued the old stroke";
    EXPECT_EQ(brush->count("finish complete"), 2u);
    // No line joins the first stroke's end to the second's start.
    EXPECT_GT(trailAlpha(*overlay, CGPointMake(40, 20)), 0);
    EXPECT_GT(trailAlpha(*overlay, CGPointMake(40, 120)), 0);
    EXPECT_EQ(trailAlpha(*overlay, CGPointMake(60, 70)), 0);
    EXPECT_EQ(trailAlpha(*overlay, CGPointMake(40, 70)), 0);
}

TEST_F(QZBrushViewControllerTest, ASizeChosenMidStrokeEndsThePartDrawnAndStartsAnother)
{
    auto brush = presentHeard(2);
    NSLogCapture log;
    driver_.touchDown(1, imagePoint(20, 40));
    for (int i = 1; i <= 4; ++i) driver_.touchMove(1, imagePoint(20 + 10 * i, 40));
    // A second finger on the strip's "Large" cell.
    const auto large = UITestDriver::visibleViewWithLabel("Large");
    ASSERT_NE(large, nullptr);
    const CGRect cell = UITestDriver::visibleRect(*large);
    const CGPoint onCell = CGPointMake(CGRectGetMidX(cell), CGRectGetMidY(cell));
    driver_.touchDown(2, onCell);
    driver_.advance(0.05);
    driver_.touchUp(2, onCell);
    ASSERT_EQ(brush->sizeConveyorController()->selectedSize(), 15);
    ASSERT_EQ(brush->strokes().size(), 1u);
    EXPECT_FALSE(brush->strokes()[0]->isComplete());
    EXPECT_FLOAT_EQ(brush->strokes()[0]->brushSize(), 5);
    EXPECT_EQ(brush->count("finish partial"), 1u);

    for (int i = 5; i <= 8; ++i) driver_.touchMove(1, imagePoint(20 + 10 * i, 40));
    driver_.touchUp(1, imagePoint(100, 40));
    ASSERT_EQ(brush->strokes().size(), 2u);
    EXPECT_TRUE(brush->strokes()[1]->isComplete());
    EXPECT_FLOAT_EQ(brush->strokes()[1]->brushSize(), 7.5f);
    EXPECT_EQ(brush->strokes()[0]->pointCount() + brush->strokes()[1]->pointCount(), 10u);
    std::size_t mismatches = 0;
    for (const std::string& line : log.lines())
        mismatches += line.find("Unexpected number of points") != std::string::npos;
    EXPECT_EQ(mismatches, 1u);
}

TEST_F(QZBrushViewControllerTest, ZoomModeDimsTheControlsAndATapOnThemEndsItAndGoesThrough)
{
    auto brush = presentHeard(2);
    auto overlay = brush->drawOverlayView();
    ASSERT_NE(overlay, nullptr);
    EXPECT_FALSE(brush->isZoomEnabled());
    EXPECT_TRUE(canvas_->isPositionLocked());
    EXPECT_TRUE(overlay->isUserInteractionEnabled());

    ASSERT_TRUE(driver_.tapViewWithLabel("Zoom"));
    EXPECT_TRUE(brush->isZoomEnabled());
    EXPECT_TRUE(brush->zoomButton()->isZoomEnabled());
    EXPECT_TRUE(brush->zoomButton()->zoomImageView()->isHighlighted());
    EXPECT_FALSE(canvas_->isPositionLocked());
    EXPECT_FALSE(overlay->isUserInteractionEnabled());
    const auto& dimming = brush->disabledView();
    ASSERT_EQ(dimming->superview(), brush->view());
    EXPECT_TRUE(CGRectEqualToRect(dimming->frame(), brush->view()->bounds()));
    EXPECT_LT(dimming->layer()->presentationLayer()->opacity(), 0.5f) << "the dimming fades in";
    driver_.advance(0.16);
    EXPECT_FLOAT_EQ(dimming->layer()->presentationLayer()->opacity(), 1);
    EXPECT_TRUE(dimming->isUserInteractionEnabled());

    // A finger on the canvas now moves the canvas, not a brush.
    driver_.drag({imagePoint(20, 20), imagePoint(60, 20)}, 0.2);
    EXPECT_TRUE(brush->strokes().empty());

    // A tap on the dimmed strip ends zoom mode and chooses the cell under it.
    const auto large = UITestDriver::visibleViewWithLabel("Large");
    ASSERT_NE(large, nullptr);
    const CGRect cell = UITestDriver::visibleRect(*large);
    driver_.tap(CGPointMake(CGRectGetMidX(cell), CGRectGetMidY(cell)));
    driver_.advance(0.5);
    EXPECT_FALSE(brush->isZoomEnabled());
    EXPECT_FALSE(brush->zoomButton()->zoomImageView()->isHighlighted());
    EXPECT_TRUE(canvas_->isPositionLocked());
    EXPECT_TRUE(overlay->isUserInteractionEnabled());
    EXPECT_FALSE(dimming->isUserInteractionEnabled());
    EXPECT_FLOAT_EQ(dimming->alpha(), 0);
    EXPECT_EQ(brush->sizeConveyorController()->selectedSize(), 15);
    EXPECT_TRUE(sizeCellLit("Large"));
    EXPECT_FALSE(sizeCellLit("Medium"));

    // Turning the device keeps the mode it found, either way.
    for (bool zoomed : {true, false}) {
        SCOPED_TRACE(zoomed);
        brush->setZoomEnabled(zoomed);
        brush->willRotateToInterfaceOrientation(UIInterfaceOrientationLandscapeLeft, 0.3);
        EXPECT_TRUE(brush->isZoomEnabled()) << "the canvas is free while the device turns";
        brush->willAnimateRotationToInterfaceOrientation(UIInterfaceOrientationLandscapeLeft, 0.3);
        brush->didRotateFromInterfaceOrientation(UIInterfaceOrientationPortrait);
        EXPECT_EQ(brush->isZoomEnabled(), zoomed);
        EXPECT_EQ(canvas_->isPositionLocked(), !zoomed);
    }
}

TEST_F(QZBrushViewControllerTest, ScrollingTheStripShowsTheSpotAndTheBrushKeepsItsScreenWidthAtAnyZoom)
{
    auto brush = presentHeard(2);
    auto overlay = brush->drawOverlayView();
    ASSERT_NE(overlay, nullptr);
    driver_.advance(1.5);  // the HUD of the opening selection has gone
    // A slow swipe to the left brings the larger sizes under the middle.
    driver_.drag({toolPoint(200, 50), toolPoint(140, 50)}, 0.5, 0.1);
    EXPECT_EQ(brush->hudView(), brush->spotHUDView());
    EXPECT_TRUE(brush->spotHUDView()->isVisible());
    EXPECT_GT(brush->spotHUDView()->spotSize(), 10);
    driver_.advance(2);
    EXPECT_FALSE(brush->spotHUDView()->isVisible()) << "the spot HUD hides by itself";
    const CGFloat chosen = brush->sizeConveyorController()->selectedSize();
    EXPECT_GT(chosen, 10);
    EXPECT_FLOAT_EQ(overlay->brushSize(), chosen / 2);

    // Zoomed out with two fingers in zoom mode: the brush grows in image points.
    ASSERT_TRUE(driver_.tapViewWithLabel("Zoom"));
    driver_.pinch(CGPointMake(kCanvasLeft + kCanvasSide / 2, kCanvasTop + kCanvasSide / 2), 200, 100, 0.3);
    driver_.advance(0.5);
    const CGFloat zoom = canvas_->zoomScale();
    ASSERT_LT(zoom, 1.5f);
    EXPECT_FLOAT_EQ(overlay->brushSize(), chosen / zoom) << "the zoom did not reach the brush";
}

}  // namespace
