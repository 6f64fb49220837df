// The orientation screen on a real GL context, driven by taps on its segments and drags of the
// straighten knob: the transforms taps compose (exact after any number), the pictures Apply makes
// against the same operations done by index, the straighten knob's values and zoom, its release and
// dimming, and Apply's status and single render when quick-launched.
#include "QZToolScreenTestSupport.h"

#include "TesselSDK/tools/QZOrientationViewController.h"

#include "TesselSDK/shell/QZPhotoEditorContext.h"
#include "TesselSDK/shell/QZPhotoEditorSession.h"

#include "QuartzCore/CALayer.h"

#include <cmath>
#include <functional>
#include <random>
#include <sstream>

namespace {

using qz_test::Pixels;

enum Tap { RotateLeft, RotateRight, FlipVertical, FlipHorizontal };

// The same operations as a person sees them, done by moving pixels.
Pixels turnClockwise(const Pixels& p)
{
    return qz_test::makePixels(p.height, p.width,
                               [&](std::size_t x, std::size_t y) { return p.at(y, p.height - 1 - x); });
}
Pixels turnAnticlockwise(const Pixels& p)
{
    return qz_test::makePixels(p.height, p.width,
                               [&](std::size_t x, std::size_t y) { return p.at(p.width - 1 - y, x); });
}
Pixels mirrorLeftRight(const Pixels& p)
{
    return qz_test::makePixels(p.width, p.height,
                               [&](std::size_t x, std::size_t y) { return p.at(p.width - 1 - x, y); });
}
Pixels mirrorTopBottom(const Pixels& p)
{
    return qz_test::makePixels(p.width, p.height,
                               [&](std::size_t x, std::size_t y) { return p.at(x, p.height - 1 - y); });
}
Pixels byIndex(Pixels p, const std::vector<Tap>& taps)
{
    for (Tap tap : taps) {
        switch (tap) {
        case RotateLeft: p = turnAnticlockwise(p); break;
        case RotateRight: p = turnClockwise(p); break;
        case FlipVertical: p = mirrorTopBottom(p); break;
        case FlipHorizontal: p = mirrorLeftRight(p); break;
        }
    }
    return p;
}

// Four flat colours, one a quadrant: any turn or mirror moves them.
Pixels quadrants(std::size_t width, std::size_t height)
{
    return qz_test::makePixels(width, height, [&](std::size_t x, std::size_t y) {
        const bool right = x >= width / 2, bottom = y >= height / 2;
        if (!right && !bottom) return std::array<std::uint8_t, 4>{220, 40, 40, 255};
        if (right && !bottom) return std::array<std::uint8_t, 4>{40, 200, 60, 255};
        if (!right && bottom) return std::array<std::uint8_t, 4>{50, 60, 210, 255};
        return std::array<std::uint8_t, 4>{230, 220, 50, 255};
    });
}

bool sameTransform(CGAffineTransform a, CGAffineTransform b)
{
    return a.a == b.a && a.b == b.b && a.c == b.c && a.d == b.d && a.tx == b.tx && a.ty == b.ty;
}

std::string describe(CGAffineTransform t)
{
    std::ostringstream text;
    text << "[" << t.a << " " << t.b << " " << t.c << " " << t.d << "]";
    return text.str();
}

class QZOrientationViewControllerGLTest : public QZToolScreenTest {
protected:
    // The screen over a GL instance holding the photo; null (the test skips) without GL.
    std::shared_ptr<QZOrientationViewController> open(const Pixels& photo, bool quickLaunch = false)
    {
        if (tool_) {
            tool_->view()->removeFromSuperview();
            tool_->staticOverlayView()->removeFromSuperview();
            tool_->scrollableOverlayView()->removeFromSuperview();
            canvas_->removeFromSuperview();
            bar_->removeFromSuperview();
            statuses_->statuses.clear();
        }
        if (!loadPhoto(photo)) return nullptr;
        return present<QZOrientationViewController>("orientation", "Orientation", quickLaunch);
    }
    // A person's tap on a segment, and the turn or flip played out.
    void tap(QZOrientationViewController& tool, Tap tap)
    {
        const auto& control = tap == RotateLeft || tap == RotateRight ? tool.rotateControl() : tool.flipControl();
        driver_.tap(*control->buttons()[tap == RotateRight || tap == FlipHorizontal ? 1 : 0]);
        driver_.advance(0.3);
    }
    static CGPoint knobPoint(QZOrientationViewController& tool)
    {
        return UITestDriver::windowPoint(*tool.straightenOverlay()->slider()->handle());
    }
    // Drags the knob `dx` points and lets go.
    void dragKnob(QZOrientationViewController& tool, CGFloat dx)
    {
        const CGPoint from = knobPoint(tool);
        driver_.drag({from, CGPointMake(from.x + dx, from.y)}, 0.5);
        driver_.advance(0.3);
    }
    static CGFloat travel(QZOrientationViewController& tool)
    {
        const auto& slider = tool.straightenOverlay()->slider();
        return slider->rBound() - slider->lBound();
    }
    // Apply, and the picture the GL instance holds once it finished.
    std::optional<Pixels> applyAndRead(QZOrientationViewController& tool)
    {
        tapApply(tool);
        if (!pumpUntil([&] { return !statuses_->statuses.empty() && tool.renderEndDate().has_value(); }))
            return std::nullopt;
        std::shared_ptr<UIImage> image;
        gl_->getOutputImage([&](std::shared_ptr<UIImage> output) { image = std::move(output); });
        if (!pumpUntil([&] { return image != nullptr; })) return std::nullopt;
        return qz_test::pixelsOf(image);
    }
    // The module replayed on the photo by a closed session: on the GPU, or on a CPU server.
    std::optional<Pixels> replay(const std::shared_ptr<QZModule>& module, bool onGPU)
    {
        auto session = QZPhotoEditorSession::make();
        session->setEditingSize(CGSizeMake(CGFloat(photo_.width), CGFloat(photo_.height)));
        session->setOpen(true);
        session->addModulesObject(module);
        session->setOpen(false);
        const std::shared_ptr<UIImage> photo = qz_test::imageOf(photo_);
        std::shared_ptr<QZPhotoEditorContext> context =
            onGPU ? session->createContextWithImage(photo) : QZPhotoEditorContext::make(session, photo->size());
        if (!context) return std::nullopt;
        qz_test::Deliveries deliveries;
        if (onGPU)
            context->render(deliveries.completion());
        else
            context->renderInputImage(photo, deliveries.completion());
        if (!deliveries.waitForOne() || !deliveries.images[0]) return std::nullopt;
        return qz_test::pixelsOf(deliveries.images[0]);
    }
};

// Each sequence of taps gives its orientation, kept exactly, and the layer shows the same turn or
// mirror on the screen (after a flip, a clockwise tap still turns the picture clockwise there).
TEST_F(QZOrientationViewControllerGLTest, TapsComposeTheOrientationExactlyAndTheCanvasShowsIt)
{
    struct Case {
        const char* name;
        std::vector<Tap> taps;
        CGAffineTransform transform;
        UIImageOrientation orientation;
    };
    const Case cases[] = {
        {"four turns right",
         {RotateRight, RotateRight, RotateRight, RotateRight},
         CGAffineTransformIdentity,
         UIImageOrientationUp},
        {"flipped both ways",
         {FlipHorizontal, FlipVertical},
         CGAffineTransformMake(-1, 0, 0, -1, 0, 0),
         UIImageOrientationDown},
        {"a turn right", {RotateRight}, CGAffineTransformMake(0, 1, -1, 0, 0, 0), UIImageOrientationRight},
        {"a turn left", {RotateLeft}, CGAffineTransformMake(0, -1, 1, 0, 0, 0), UIImageOrientationLeft},
        {"a flip, then a turn right",
         {FlipHorizontal, RotateRight},
         CGAffineTransformMake(0, -1, -1, 0, 0, 0),
         UIImageOrientationRightMirrored},
        {"a turn right, then a flip",
         {RotateRight, FlipHorizontal},
         CGAffineTransformMake(0, 1, 1, 0, 0, 0),
         UIImageOrientationLeftMirrored},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto tool = open(qz_test::texturedPhoto(90, 60));
        if (!tool) GTEST_SKIP() << "no GL context";
        const CGFloat fit = tool->currentImageViewTransform().a;
        int turns = 0, flips = 0;
        for (Tap t : c.taps) {
            tap(*tool, t);
            (t == RotateLeft || t == RotateRight ? turns : flips) += 1;
        }
        EXPECT_TRUE(sameTransform(tool->transform(), c.transform)) << describe(tool->transform());
        EXPECT_TRUE(sameTransform(tool->straightenBaselineTransform(), c.transform));
        EXPECT_EQ(tool->orientationModule()->orientation(), c.orientation);
        EXPECT_EQ(tool->rotateReversed(), flips % 2 == 1);
        EXPECT_EQ(tool->flipReversed(), turns % 2 == 1);
        // The canvas as drawn once the animations ended: the fit, then the orientation.
        const CGAffineTransform shown = canvas_->layer()->presentationLayer()->affineTransform();
        EXPECT_NEAR(shown.a, fit * c.transform.a, 1e-5);
        EXPECT_NEAR(shown.b, fit * c.transform.b, 1e-5);
        EXPECT_NEAR(shown.c, fit * c.transform.c, 1e-5);
        EXPECT_NEAR(shown.d, fit * c.transform.d, 1e-5);
        EXPECT_TRUE(canvas_->layer()->animationKeys().empty());
    }
}

// Built with cos and sin, a few hundred taps would drift past what the orientation lookup accepts
// and silently give Up.
TEST_F(QZOrientationViewControllerGLTest, AThousandTapsKeepTheOrientationExact)
{
    auto tool = open(qz_test::texturedPhoto(90, 60));
    if (!tool) GTEST_SKIP() << "no GL context";
    const CGAffineTransform matrices[] = {
        CGAffineTransformMake(0, -1, 1, 0, 0, 0), CGAffineTransformMake(0, 1, -1, 0, 0, 0),
        CGAffineTransformMake(1, 0, 0, -1, 0, 0), CGAffineTransformMake(-1, 0, 0, 1, 0, 0)};
    std::mt19937 random(49);
    CGAffineTransform expected = CGAffineTransformIdentity;
    for (int i = 0; i < 1000; ++i) {
        const int tap = int(random() % 4);
        (tap < 2 ? tool->rotateControl() : tool->flipControl())->pressButtonAtIndex(tap % 2);
        expected = CGAffineTransformConcat(expected, matrices[tap]);
    }
    driver_.advance(0.3);
    ASSERT_TRUE(sameTransform(tool->transform(), expected)) << describe(tool->transform());
    EXPECT_TRUE(sameTransform(tool->straightenBaselineTransform(), expected));
    EXPECT_NE(tool->orientationModule()->orientation(), UIImageOrientationUp) << describe(expected);
    // The orientation's own transform is built with cos and sin: equal to the product up to their
    // rounding.
    const CGAffineTransform looked = QZCGAffineTransformForOrientation(tool->orientationModule()->orientation());
    for (auto [got, want] : {std::pair{looked.a, expected.a}, std::pair{looked.b, expected.b},
                             std::pair{looked.c, expected.c}, std::pair{looked.d, expected.d}})
        EXPECT_NEAR(got, want, 1e-6);
}

// What Apply makes, what the GPU replays and what a CPU server replays all equal the photo moved
// by index as the taps say; an odd number of turns swaps the sides exactly.
TEST_F(QZOrientationViewControllerGLTest, ApplyAndBothReplaysEqualTheOperationsDoneByIndex)
{
    const std::vector<std::vector<Tap>> sequences = {{RotateRight},
                                                     {RotateLeft},
                                                     {FlipHorizontal},
                                                     {FlipVertical},
                                                     {FlipHorizontal, RotateRight},
                                                     {RotateRight, FlipHorizontal}};
    const Pixels photo = quadrants(1024, 683);
    for (const auto& taps : sequences) {
        std::ostringstream name;
        for (Tap t : taps) name << int(t) << " ";
        SCOPED_TRACE("taps " + name.str());
        auto tool = open(photo);
        if (!tool) GTEST_SKIP() << "no GL context";
        for (Tap t : taps) tap(*tool, t);
        const Pixels expected = byIndex(photo, taps);
        const auto applied = applyAndRead(*tool);
        ASSERT_TRUE(applied);
        ASSERT_TRUE(qz_test::maxDifference(*applied, expected) >= 0) << "applied at another size";
        EXPECT_LE(qz_test::maxDifference(*applied, expected), 1);
        for (bool onGPU : {true, false}) {
            const auto replayed = replay(tool->outputModule(), onGPU);
            ASSERT_TRUE(replayed);
            const int difference = qz_test::maxDifference(*replayed, expected);
            EXPECT_GE(difference, 0) << (onGPU ? "GPU" : "CPU") << " replay of another size";
            EXPECT_LE(difference, 1) << (onGPU ? "GPU" : "CPU");
        }
    }
}

// On a 3:2 picture: the knob's ends give exactly +-0.5, +-45 degrees and a zoom of 1.767767; a
// quarter of its travel gives -0.25; no value gives a zoom of exactly 1.
TEST_F(QZOrientationViewControllerGLTest, TheKnobsPlaceGivesTheAngleAndTheZoomThatFillsTheFrame)
{
    auto tool = open(qz_test::texturedPhoto(300, 200));
    if (!tool) GTEST_SKIP() << "no GL context";
    const auto overlay = tool->straightenOverlay();
    const auto& slider = overlay->slider();
    const CGRect frame = overlay->imageFrame();
    ASSERT_NEAR(frame.size.width / frame.size.height, 1.5, 1e-4);
    EXPECT_EQ(slider->value(), 0) << "the knob starts in the middle";
    EXPECT_EQ(slider->imgWidth(), float(frame.size.width));

    // Past either end the knob stays at it: exactly +-0.5.
    for (float end : {-0.5f, 0.5f}) {
        SCOPED_TRACE(end);
        dragKnob(*tool, (end < 0 ? 0.75f : -0.75f) * travel(*tool));
        EXPECT_EQ(slider->value(), end) << "not clamped to the end";
        EXPECT_FLOAT_EQ(tool->currentStraightenRotation(), end * float(M_PI_2));
        EXPECT_NEAR(tool->currentStraightenScale(), 1.767767, 1e-4);
        EXPECT_EQ(tool->orientationModule()->rotation(), tool->currentStraightenRotation());
        EXPECT_EQ(tool->orientationModule()->scale(), tool->currentStraightenScale());
        EXPECT_FALSE(tool->isReadyToApply());
        overlay->resetHandle();
    }
    // A quarter of the whole travel to the right: half way to the end, on the cosine curve.
    dragKnob(*tool, 0.25f * travel(*tool));
    EXPECT_NEAR(slider->value(), -0.25, 1e-6);
    EXPECT_NEAR(tool->currentStraightenRotation(), -M_PI / 8, 1e-6);
    EXPECT_NEAR(tool->currentStraightenScale(), std::cos(M_PI / 8) + 1.5 * std::sin(M_PI / 8), 1e-4);

    tool->straightenWithValue(0.1f);
    EXPECT_NEAR(tool->currentStraightenScale(), 1.222340, 1e-5);
    tool->straightenWithValue(0);
    EXPECT_EQ(tool->currentStraightenScale(), 1.0f);
    EXPECT_EQ(tool->currentStraightenRotation(), 0.0f);
    EXPECT_TRUE(sameTransform(canvas_->layer()->affineTransform(), tool->currentImageViewTransform()));
}

// A hold of the knob shows the grid; its first move dims the outside once; letting go near the
// centre takes the straightening back to exactly nothing, re-centres the knob and fades the
// dimming; a drag ended by the recogniser being turned off still ends the hold.
TEST_F(QZOrientationViewControllerGLTest, TheKnobsHoldDimsOnceAndALetGoNearTheCentreSnapsBack)
{
    auto tool = open(qz_test::texturedPhoto(300, 200));
    if (!tool) GTEST_SKIP() << "no GL context";
    const auto overlay = tool->straightenOverlay();
    const auto& slider = overlay->slider();
    const CGPoint start = knobPoint(*tool);
    const CGPoint centre = slider->handle()->center();

    driver_.touchDown(1, start);
    EXPECT_TRUE(overlay->isEditing());
    EXPECT_FLOAT_EQ(overlay->straightenHUD()->alpha(), 1);
    // Out past the pan's start (10 points) and back to 3 points from where the finger went down.
    std::shared_ptr<CAAnimation> fade;
    for (CGFloat dx : {3, 6, 9, 12, 15, 18, 15, 12, 9, 6, 3}) {
        driver_.touchMove(1, CGPointMake(start.x + dx, start.y));
        if (!fade) fade = overlay->dimmedLayer()->animationForKey("fillColor");
        if (fade) {
            EXPECT_EQ(overlay->dimmedLayer()->animationForKey("fillColor"), fade) << "the dimming ran again";
        }
    }
    ASSERT_NE(fade, nullptr) << "the outside never dimmed";
    EXPECT_TRUE(overlay->isDimmed());
    EXPECT_NE(tool->currentStraightenRotation(), 0);
    EXPECT_LT(std::fabs(slider->value()), 0.01f);
    driver_.touchUp(1, CGPointMake(start.x + 3, start.y));
    driver_.advance(0.3);
    EXPECT_FALSE(overlay->isEditing());
    EXPECT_FALSE(overlay->isDimmed());
    EXPECT_EQ(tool->currentStraightenRotation(), 0);
    EXPECT_EQ(tool->currentStraightenScale(), 1);
    EXPECT_EQ(slider->handle()->center().x, centre.x);
    EXPECT_EQ(CGColorGetAlpha(overlay->dimmedLayer()->fillColor()), 0);
    EXPECT_FLOAT_EQ(overlay->straightenHUD()->alpha(), 0);

    // Held further and cut short by the recogniser: the hold ends and the straightening stays.
    driver_.touchDown(1, start);
    for (int step = 1; step <= 20; ++step) driver_.touchMove(1, CGPointMake(start.x + CGFloat(step) * 4, start.y));
    ASSERT_TRUE(overlay->isEditing());
    slider->panRecognizer()->setEnabled(false);
    EXPECT_FALSE(overlay->isEditing());
    EXPECT_TRUE(overlay->isDimmed());
    EXPECT_LT(tool->currentStraightenRotation(), -0.01f);
    slider->panRecognizer()->setEnabled(true);
    driver_.touchUp(1, CGPointMake(start.x + 80, start.y));

    // A turn moves the grid to the turned picture; the grid stays the one view.
    const auto grid = overlay->straightenHUD();
    tap(*tool, RotateRight);
    EXPECT_EQ(overlay->straightenHUD(), grid);
    EXPECT_NEAR(grid->frame().size.width, overlay->imageFrame().size.width, 1e-3);
    EXPECT_NEAR(grid->frame().size.width * 1.5, grid->frame().size.height, 1e-2);
    EXPECT_EQ(tool->currentStraightenRotation(), 0);
}

// Quick-launched, Apply after a turn tells the root screen QuickLaunchDone once; a second Apply
// while the render is under way renders nothing more (a second turn of the turned picture).
TEST_F(QZOrientationViewControllerGLTest, AQuickLaunchedApplyAfterATurnSendsQuickLaunchDoneAndRendersOnce)
{
    const Pixels photo = quadrants(120, 80);
    auto tool = open(photo, true);
    if (!tool) GTEST_SKIP() << "no GL context";
    tap(*tool, RotateRight);
    gl_->pauseRendering();
    tapApply(*tool);
    EXPECT_EQ(tool->applyType(), QZToolViewControllerApplyTypeQuickLaunchDone);
    EXPECT_FALSE(tool->view()->isUserInteractionEnabled()) << "the controls stay live during the render";
    tool->applyButtonPressed();
    gl_->resumeRendering();
    ASSERT_TRUE(pumpUntil([&] { return tool->renderEndDate().has_value(); }));
    driver_.advance(0.4);
    EXPECT_EQ(statuses_->statuses, std::vector<QZToolViewControllerStatus>{QZToolViewControllerStatusQuickLaunchDone});
    std::shared_ptr<UIImage> image;
    gl_->getOutputImage([&](std::shared_ptr<UIImage> output) { image = std::move(output); });
    ASSERT_TRUE(pumpUntil([&] { return image != nullptr; }));
    EXPECT_EQ(qz_test::maxDifference(qz_test::pixelsOf(image), turnClockwise(photo)), 0);
}

// The grid: an opaque white border and centre cross, half-white lines at the other eighths,
// nothing between them.
TEST_F(QZOrientationViewControllerGLTest, TheGridDrawsItsBorderCrossAndEighths)
{
    PlatformSettings::setScreenScale(2);
    auto grid = UIView::viewWithFrame<QZStraightenOverlayHUDView>(CGRectMake(0, 0, 160, 160));
    EXPECT_FLOAT_EQ(grid->alpha(), 0);
    EXPECT_FALSE(grid->isUserInteractionEnabled());
    grid->setAlpha(1);
    const Pixels shot = qz_test::pixelsOf(UITestDriver::snapshot(*grid));
    ASSERT_EQ(shot.width, 320u);
    // Along the row 10 points down, between the level lines: the alpha of each column.
    auto alphaAt = [&](CGFloat x) { return int(shot.at(std::size_t(x * 2), 20)[3]); };
    EXPECT_EQ(alphaAt(0), 255);
    EXPECT_EQ(alphaAt(80), 255);
    EXPECT_EQ(alphaAt(159.5f), 255);
    for (CGFloat x : {20, 40, 60, 100, 120, 140}) EXPECT_NEAR(alphaAt(x), 128, 2) << "at x " << x;
    for (CGFloat x : {10, 30, 50, 70, 90, 110, 130, 150}) EXPECT_EQ(alphaAt(x), 0) << "at x " << x;
    EXPECT_GE(int(shot.at(40, 20)[0]), int(shot.at(40, 20)[3]) - 1) << "not white";
}

}  // namespace
