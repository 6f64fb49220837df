// The canvas: zoom limits and centring, the position lock, the minimum image rectangle, the
// overlay, and touch reports driven by touches on the virtual clock.

#include "QZShellTestSupport.h"
#include "TesselSDK/shell/QZScrollingImageView.h"

#include <vector>

namespace {

std::shared_ptr<UIImage> solidImage(size_t width, size_t height)
{
    std::vector<uint8_t> rgba(width * height * 4, 200);
    CGImageRef image = CGImageCreateWithRGBABytes(width, height, width * 4, rgba.data());
    auto ui = UIImage::imageWithCGImage(image, 1, UIImageOrientationUp);
    CGImageRelease(image);
    return ui;
}

struct Recorder : QZScrollingImageViewDelegate {
    std::vector<std::string> heard;
    std::optional<bool> inside;
    void imageViewBeganZooming(QZScrollingImageView*) override { heard.push_back("began zooming"); }
    void imageViewStoppedZooming(QZScrollingImageView*) override { heard.push_back("stopped zooming"); }
    void imageViewBeganDragging(QZScrollingImageView*) override { heard.push_back("began dragging"); }
    void imageViewStoppedDragging(QZScrollingImageView*) override { heard.push_back("stopped dragging"); }
    void imageViewDidZoom(QZScrollingImageView*) override {}
    std::optional<bool> imageViewIsPointInsideEvent(QZScrollingImageView*, CGPoint, const UIEvent*) override
    {
        return inside;
    }
    void imageViewDidResizeOpenGLView(QZScrollingImageView*, QZOpenGLView*) override { heard.push_back("resized"); }
    void imageViewDidReceiveTouchDown(QZScrollingImageView*) override { heard.push_back("down"); }
    void imageViewDidReceiveTouchUp(QZScrollingImageView*) override { heard.push_back("up"); }
};

class QZScrollingImageViewTest : public QZShellTest {
protected:
    void SetUp() override
    {
        QZShellTest::SetUp();
        canvas_ = UIView::viewWithFrame<QZScrollingImageView>(CGRectMake(0, 0, 320, 480));
        canvas_->setScrollingImageViewDelegate(recorder_);
        window_->addSubview(canvas_);
    }
    void TearDown() override
    {
        canvas_->removeFromSuperview();
        canvas_.reset();
        QZShellTest::TearDown();
    }

    std::shared_ptr<QZScrollingImageView> canvas_;
    std::shared_ptr<Recorder> recorder_ = std::make_shared<Recorder>();
};

TEST_F(QZScrollingImageViewTest, ZoomLimitsAndCentringFollowTheImageAndTheArea)
{
    struct Case {
        const char* name;
        CGSize image;
        bool scaleUp;
        CGRect minimumRect;
        float minimum, maximum;
        CGRect imageFrame;
    };
    const std::vector<Case> cases{
        {"smaller, no scale-up", {200, 100}, false, CGRectZero, 1, 2, {60, 190, 200, 100}},
        {"smaller, scale-up", {100, 100}, true, CGRectZero, 3.2f, 3.2f, {0, 80, 320, 320}},
        {"larger", {640, 960}, false, CGRectZero, 0.5f, 2, {0, 0, 320, 480}},
        {"covering a rectangle", {200, 100}, false, {0, 60, 320, 240}, 2.4f, 2.4f, {0, 0, 480, 240}},
        // No room at all: limits of 1, the image view at the content's origin.
        {"a rectangle of no size", {200, 100}, false, {10, 10, 0, 0}, 1, 1, {0, 0, 200, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        canvas_->setMinimumImageRect(CGRectZero);
        canvas_->setAllowsScaleUp(c.scaleUp);
        canvas_->setMinimumImageRect(c.minimumRect);
        canvas_->setImage(solidImage(size_t(c.image.width), size_t(c.image.height)));
        canvas_->layoutIfNeeded();
        EXPECT_FLOAT_EQ(canvas_->calculatedMinimumZoomScale(), c.minimum);
        EXPECT_FLOAT_EQ(canvas_->calculatedMaximumZoomScale(), c.maximum);
        EXPECT_FLOAT_EQ(canvas_->minimumZoomScale(), c.minimum);
        EXPECT_FLOAT_EQ(canvas_->zoomScale(), c.minimum);
        CGRect frame = canvas_->imageView()->frame();
        EXPECT_NEAR(frame.origin.x, c.imageFrame.origin.x, 0.01);
        EXPECT_NEAR(frame.origin.y, c.imageFrame.origin.y, 0.01);
        EXPECT_NEAR(frame.size.width, c.imageFrame.size.width, 0.01);
        EXPECT_NEAR(frame.size.height, c.imageFrame.size.height, 0.01);
        EXPECT_TRUE(CGRectEqualToRect(canvas_->openGLView()->frame(), canvas_->imageView()->bounds()));
    }
    // No image: limits of 1, never a singular transform.
    float low = 0, high = 0;
    canvas_->calculateZoomBoundariesForImageSize(CGSizeZero, &low, &high);
    EXPECT_EQ(low, 1);
    EXPECT_EQ(high, 1);
}

// A tool that let a small image be enlarged to fit hands the canvas back without: the next zoom out
// shows the image at its own size again, not at the enlarged fit the tool left.
TEST_F(QZScrollingImageViewTest, TakingScaleUpBackFitsTheSmallImageAtItsOwnSizeAgain)
{
    canvas_->setImage(solidImage(100, 100));
    canvas_->layoutIfNeeded();
    EXPECT_FLOAT_EQ(canvas_->zoomScale(), 1);
    canvas_->setAllowsScaleUp(true);
    canvas_->zoomOutAnimated(false);
    EXPECT_FLOAT_EQ(canvas_->zoomScale(), 3.2f);
    canvas_->setAllowsScaleUp(false);
    canvas_->zoomOutAnimated(false);
    EXPECT_FLOAT_EQ(canvas_->minimumZoomScale(), 1);
    EXPECT_FLOAT_EQ(canvas_->zoomScale(), 1);
    EXPECT_NEAR(canvas_->imageView()->frame().size.width, 100, 0.01);
}

TEST_F(QZScrollingImageViewTest, TheMinimumImageRectangleBecomesTheInsets)
{
    canvas_->setImage(solidImage(200, 100));
    canvas_->setMinimumImageRect(CGRectMake(10, 60, 300, 240));
    UIEdgeInsets insets = canvas_->contentInset();
    EXPECT_EQ(insets.top, 60);
    EXPECT_EQ(insets.left, 10);
    EXPECT_EQ(insets.bottom, 180);
    EXPECT_EQ(insets.right, 10);
    canvas_->setMinimumImageRect(CGRectZero, true);
    insets = canvas_->contentInset();
    EXPECT_EQ(insets.top, 0);
    EXPECT_EQ(insets.bottom, 0);
    driver_.advance(0.4);
    EXPECT_FLOAT_EQ(canvas_->zoomScale(), 1);
    EXPECT_FLOAT_EQ(canvas_->calculatedMinimumZoomScale(), 1);
}

TEST_F(QZScrollingImageViewTest, ThePositionLockFreezesZoomAndScrolling)
{
    canvas_->setImage(solidImage(200, 100));
    canvas_->setZoomScale(1.5f);
    canvas_->setPositionLocked(true);
    EXPECT_TRUE(canvas_->isPositionLocked());
    EXPECT_FLOAT_EQ(canvas_->minimumZoomScale(), 1.5f);
    EXPECT_FLOAT_EQ(canvas_->maximumZoomScale(), 1.5f);
    EXPECT_FALSE(canvas_->isScrollEnabled());
    EXPECT_FALSE(canvas_->bouncesZoom());
    // A pinch and a drag move nothing.
    const CGPoint offset = canvas_->contentOffset();
    driver_.pinch(CGPointMake(160, 240), 60, 160, 0.3);
    driver_.drag({{160, 240}, {100, 200}}, 0.3);
    driver_.advance(0.5);
    EXPECT_FLOAT_EQ(canvas_->zoomScale(), 1.5f);
    EXPECT_TRUE(CGPointEqualToPoint(canvas_->contentOffset(), offset));
    // A recomputation while locked leaves the scroll view's limits alone.
    canvas_->layoutIfNeeded();
    EXPECT_FLOAT_EQ(canvas_->minimumZoomScale(), 1.5f);

    canvas_->setPositionLocked(false);
    EXPECT_FLOAT_EQ(canvas_->minimumZoomScale(), 1);
    EXPECT_FLOAT_EQ(canvas_->maximumZoomScale(), 2);
    EXPECT_TRUE(canvas_->isScrollEnabled());
    EXPECT_TRUE(canvas_->bouncesZoom());
}

TEST_F(QZScrollingImageViewTest, TouchesAreReportedOnlyWhileZoomedOutAndListening)
{
    canvas_->setImage(solidImage(200, 100));
    const CGPoint onImage = CGPointMake(160, 240);
    canvas_->setTouchListeningEnabled(true);
    EXPECT_TRUE(canvas_->longPressRecognizer()->isEnabled());

    driver_.press(onImage, 0.1);
    EXPECT_EQ(recorder_->heard, (std::vector<std::string>{"down", "up"}));
    EXPECT_TRUE(CGPointEqualToPoint(canvas_->currentTouchLocation(), onImage));
    driver_.advance(0.5);
    recorder_->heard.clear();
    driver_.tap(onImage);
    driver_.advance(0.5);
    EXPECT_EQ(recorder_->heard, (std::vector<std::string>{"down", "up"}));
    recorder_->heard.clear();

    // Zoomed in: nothing, and a press begun zoomed in stays unreported after zooming out.
    canvas_->setZoomScale(2);
    EXPECT_FALSE(canvas_->longPressRecognizer()->isEnabled());
    EXPECT_FALSE(canvas_->tapRecognizer()->isEnabled());
    driver_.press(onImage, 0.1);
    driver_.tap(onImage);
    driver_.touchDown(0, onImage);
    driver_.advance(0.1);
    canvas_->zoomOutAnimated(false);
    EXPECT_TRUE(canvas_->longPressRecognizer()->isEnabled());
    driver_.advance(0.1);
    driver_.touchUp(0, onImage);
    driver_.advance(0.5);
    EXPECT_TRUE(recorder_->heard.empty()) << recorder_->heard.front();

    // Not listening: nothing.
    canvas_->setTouchListeningEnabled(false);
    driver_.press(onImage, 0.1);
    driver_.tap(onImage);
    driver_.advance(0.5);
    EXPECT_TRUE(recorder_->heard.empty()) << recorder_->heard.front();
}

TEST_F(QZScrollingImageViewTest, PinchesAndDragsAreReportedAndTheDelegateDecidesWhatIsInside)
{
    canvas_->setImage(solidImage(200, 100));
    driver_.pinch(CGPointMake(160, 240), 40, 80, 0.3);
    driver_.advance(0.5);
    EXPECT_GT(canvas_->zoomScale(), 1.2f);
    ASSERT_FALSE(recorder_->heard.empty());
    EXPECT_EQ(recorder_->heard.front(), "began zooming");
    EXPECT_EQ(std::count(recorder_->heard.begin(), recorder_->heard.end(), "stopped zooming"), 1);
    recorder_->heard.clear();
    driver_.drag({{160, 240}, {100, 200}}, 0.3);
    driver_.advance(0.5);
    EXPECT_EQ(recorder_->heard, (std::vector<std::string>{"began dragging", "stopped dragging"}));

    const CGPoint shown = CGPointMake(CGRectGetMinX(canvas_->bounds()) + 10, CGRectGetMinY(canvas_->bounds()) + 10);
    EXPECT_TRUE(canvas_->pointInside(shown, nullptr));
    recorder_->inside = false;
    EXPECT_FALSE(canvas_->pointInside(shown, nullptr));
    auto hit = window_->hitTest(CGPointMake(160, 240), nullptr);
    EXPECT_FALSE(hit->isDescendantOfView(canvas_.get()));
    recorder_->inside = true;
    EXPECT_TRUE(canvas_->pointInside(CGPointMake(-1000, -1000), nullptr));
}

TEST_F(QZScrollingImageViewTest, ResizingKeepsTheCentreAndTellsTheDelegate)
{
    canvas_->setImage(solidImage(200, 100));
    canvas_->layoutIfNeeded();
    const CGPoint centre = canvas_->imageView()->center();
    canvas_->setImageSize(CGSizeMake(100, 50), false);
    EXPECT_TRUE(CGPointEqualToPoint(canvas_->imageView()->center(), centre));
    EXPECT_TRUE(CGRectEqualToRect(canvas_->openGLView()->frame(), CGRectMake(0, 0, 100, 50)));
    EXPECT_TRUE(CGSizeEqualToSize(canvas_->contentSize(), CGSizeMake(100, 50)));
    EXPECT_EQ(recorder_->heard, (std::vector<std::string>{"resized"}));

    // Showing or hiding the GL view clears the plain image.
    canvas_->setImage(solidImage(200, 100));
    canvas_->showOpenGLView(false);
    EXPECT_TRUE(canvas_->openGLView()->isHidden());
    EXPECT_FALSE(canvas_->image());
}

TEST_F(QZScrollingImageViewTest, ANewFrameKeepsTheZoomAndANilImageEmptiesTheCanvas)
{
    canvas_->setImage(solidImage(640, 960));
    canvas_->setZoomScale(1.5f);
    canvas_->setFrame(CGRectMake(0, 0, 160, 480));
    EXPECT_FLOAT_EQ(canvas_->zoomScale(), 1.5f);

    // The preview stays in front while the plain image changes under it.
    canvas_->showOpenGLView(true);
    canvas_->setImage(solidImage(200, 100));
    EXPECT_FALSE(canvas_->openGLView()->isHidden());

    canvas_->setImage(nullptr);
    EXPECT_TRUE(CGSizeEqualToSize(canvas_->contentSize(), CGSizeZero));
    EXPECT_EQ(canvas_->calculatedMinimumZoomScale(), 1);
    EXPECT_EQ(canvas_->calculatedMaximumZoomScale(), 1);
    EXPECT_EQ(canvas_->zoomScale(), 1);
}

TEST_F(QZScrollingImageViewTest, TheOverlayZoomsWithTheImage)
{
    canvas_->setImage(solidImage(200, 100));
    auto overlay = UIView::viewWithFrame<QZView>();
    canvas_->setImageOverlayView(overlay);
    EXPECT_EQ(overlay->superview(), canvas_->imageView());
    EXPECT_TRUE(CGRectEqualToRect(overlay->frame(), CGRectMake(0, 0, 200, 100)));
    overlay->setFrame(CGRectMake(5, 5, 20, 20));
    canvas_->setImageOverlayView(overlay);  // the same view: nothing changes
    EXPECT_TRUE(CGRectEqualToRect(overlay->frame(), CGRectMake(5, 5, 20, 20)));
    canvas_->layoutIfNeeded();  // centred in the image view
    EXPECT_TRUE(CGRectEqualToRect(overlay->frame(), CGRectMake(90, 40, 20, 20)));

    auto next = UIView::viewWithFrame<QZView>();
    canvas_->setImageOverlayView(next);
    EXPECT_FALSE(overlay->superview());
    canvas_->setImageOverlayView(nullptr);
    EXPECT_FALSE(next->superview());
    EXPECT_FALSE(canvas_->imageOverlayView());
}

TEST_F(QZScrollingImageViewTest, OnlyAPlainImageViewTakesImages)
{
    class DrawingImageView : public UIImageView {
    public:
        using UIImageView::UIImageView;
    };
    canvas_->setImage(solidImage(20, 10));
    EXPECT_TRUE(canvas_->image());
    canvas_->setImageView(UIView::viewWithFrame<DrawingImageView>());
    EXPECT_FALSE(canvas_->image());
    canvas_->setImage(solidImage(20, 10));
    EXPECT_FALSE(canvas_->imageView()->image());
}

}  // namespace
