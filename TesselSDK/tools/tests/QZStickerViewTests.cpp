// The sticker view through touches on a phone's window: its size and layout, the knob's turn and
// scale, which touches start its recognisers, where it lies in the picture and how it draws there.
#include "QZStickerTestSupport.h"

#include "TesselSDK/shell/QZScrollingImageView.h"
#include "TesselSDK/tools/QZStickersOverlayView.h"

#include "TesselSDKImaging/Processors/QZStickerProcessor.h"
#include "TesselSDKImaging/QZBitmap.h"

#include "UIKit/UIGraphics.h"

#include <cmath>
#include <sstream>

namespace sticker_test {
namespace {

constexpr CGFloat kPi = 3.14159265358979f;

bool sameRect(CGRect a, CGRect b, CGFloat tolerance = 0.01f)
{
    return std::fabs(a.origin.x - b.origin.x) <= tolerance && std::fabs(a.origin.y - b.origin.y) <= tolerance &&
           std::fabs(a.size.width - b.size.width) <= tolerance && std::fabs(a.size.height - b.size.height) <= tolerance;
}

std::string describe(CGRect r)
{
    std::ostringstream text;
    text << "(" << r.origin.x << ", " << r.origin.y << ", " << r.size.width << " x " << r.size.height << ")";
    return text.str();
}

// The states a recogniser went through.
struct States {
    std::vector<UIGestureRecognizerState> seen;
    void heard(UIGestureRecognizer* recognizer) { seen.push_back(recognizer->state()); }
};

class QZStickerViewTest : public QZStickerFixture {
protected:
    void SetUp() override
    {
        QZStickerFixture::SetUp();
        layer_ = UIView::viewWithFrame<QZStickersOverlayView>(CGRectMake(0, 0, 320, 455));
        layer_->setUserInteractionEnabled(true);
        window_->addSubview(layer_);
    }
    // A sticker of the item placed by the layer at `scale`, laid out.
    std::shared_ptr<QZStickerView> place(const std::string& identifier, CGFloat scale = 0.2f)
    {
        layer_->addNewStickerView(item(identifier));
        auto sticker = layer_->stickerViews().back();
        sticker->setScale(scale);
        sticker->sizeToFit();
        sticker->setCenter(QZCGRectGetCenter(layer_->bounds()));
        window_->layoutIfNeeded();
        return sticker;
    }
    std::shared_ptr<QZStickersOverlayView> layer_;
};

TEST_F(QZStickerViewTest, TheSizeFollowsTheScaleAndTheLayoutTheSize)
{
    struct Case {
        const char* item;  // "" for a sticker without an item (the 50-point placeholder)
        CGFloat scale;
        CGFloat side;
    };
    for (const Case& c :
         {Case{"wide", 0.2f, 73.6f}, Case{"wide", 1, 272}, Case{"tall", 0.2f, 53.6f}, Case{"", 0.5f, 73}}) {
        SCOPED_TRACE(std::string(c.item) + " at " + std::to_string(c.scale));
        auto sticker = QZStickerView::makeWithStickerPackItem(*c.item ? item(c.item) : nullptr);
        sticker->setScale(c.scale);
        sticker->sizeToFit();
        EXPECT_NEAR(sticker->bounds().size.width, c.side, 1e-3);
        EXPECT_NEAR(sticker->bounds().size.height, c.side, 1e-3);
    }

    // Made from the large image's size inset by 12 on every side, showing that image.
    auto wide = QZStickerView::makeWithStickerPackItem(item("wide"));
    EXPECT_TRUE(sameRect(wide->frame(), CGRectMake(12, 12, 176, 76))) << describe(wide->frame());
    EXPECT_EQ(wide->stickerImage(), item("wide")->largeImage());
    EXPECT_EQ(wide->scale(), 1);
    EXPECT_TRUE(wide->controlsEnabled());

    wide->setScale(1);
    wide->sizeToFit();
    wide->layoutIfNeeded();
    EXPECT_TRUE(sameRect(wide->contentView()->frame(), CGRectMake(12, 12, 248, 248)));
    // 24.6 points round the content's top-left corner, rounded to whole points.
    EXPECT_TRUE(sameRect(wide->closeButton()->frame(), CGRectMake(0, 0, 25, 25)))
        << describe(wide->closeButton()->frame());
    EXPECT_TRUE(sameRect(wide->imageView()->frame(), CGRectMake(12, 12, 224, 224)));
    EXPECT_TRUE(sameRect(wide->handle()->frame(), CGRectMake(238, 238, 44, 44)));
    EXPECT_TRUE(sameRect(wide->glassBox()->frame(), CGRectMake(12, 12, 248, 248)));

    // Controls off hide and disable the close button, the knob and the glass; on shows them again.
    wide->setControlsEnabled(false);
    for (const UIView* control :
         {static_cast<UIView*>(wide->closeButton().get()), static_cast<UIView*>(wide->handle().get()),
          static_cast<UIView*>(wide->glassBox().get())}) {
        EXPECT_TRUE(control->isHidden());
        EXPECT_FALSE(control->isUserInteractionEnabled());
    }
    wide->setControlsEnabled(true);
    EXPECT_FALSE(wide->handle()->isHidden());
    EXPECT_TRUE(wide->handle()->isUserInteractionEnabled());
}

// The content of a scale-1 wide sticker spans 248 points: centre (136, 136), corner 124 x sqrt 2 away.
TEST_F(QZStickerViewTest, TheKnobPointTurnsByItsAngleAndScalesByItsDistance)
{
    struct Case {
        const char* what;
        bool rotation;
        bool scaling;
        CGFloat angle;     // of the point from the centre, degrees below the x axis
        CGFloat distance;  // in corner distances
        CGFloat turned;    // expected, degrees
        CGFloat scale;     // expected
    };
    const Case cases[] = {
        {"on the diagonal, further out", true, true, 45, 1.5f, 0, 1.5f},
        {"at 0.05 or below, nothing", true, true, 45, 0.04f, 0, 1},
        {"turned 15 degrees at the corner's distance", true, true, 60, 1, 15, 1},
        {"rotation off: only the scale", false, true, 60, 2, 0, 2},
        {"scaling off: only the turn", true, false, 60, 2, 15, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto sticker = place("wide", 1);
        sticker->setRotationEnabled(c.rotation);
        sticker->setScalingEnabled(c.scaling);
        const CGPoint centre = sticker->center();
        const CGFloat r = c.distance * 124 * std::sqrt(2.0f), a = c.angle * kPi / 180;
        sticker->transformWithHandlePoint(CGPointMake(136 + r * std::cos(a), 136 + r * std::sin(a)));
        EXPECT_NEAR(sticker->rotation(), c.turned * kPi / 180, 1e-4);
        EXPECT_NEAR(sticker->scale(), c.scale, 1e-4);
        EXPECT_NEAR(sticker->bounds().size.width, 248 * c.scale + 24, 1e-2);
        EXPECT_NEAR(sticker->center().x, centre.x, 1e-3);
        EXPECT_NEAR(sticker->center().y, centre.y, 1e-3);
    }
}

// A finger carrying the knob 0.3 rad round and 1.3 times as far out turns and scales the sticker by
// as much, about its centre, the knob staying under the finger.
TEST_F(QZStickerViewTest, DraggingTheKnobFollowsTheFingerAndScalingOffStopsIt)
{
    for (bool scaling : {true, false}) {
        SCOPED_TRACE(scaling ? "scaling on" : "scaling off");
        auto sticker = place("wide");
        sticker->setScalingEnabled(scaling);
        const CGPoint c = UITestDriver::windowPoint(*sticker->contentView());
        const CGPoint h = UITestDriver::windowPoint(*sticker->handle());
        std::vector<CGPoint> path;
        for (int i = 0; i <= 20; ++i) {
            const double t = i / 20.0, k = 1 + 0.3 * t, turn = 0.3 * t;
            const double x = (h.x - c.x) * k, y = (h.y - c.y) * k;
            path.push_back(CGPointMake(c.x + x * std::cos(turn) - y * std::sin(turn),
                                       c.y + x * std::sin(turn) + y * std::cos(turn)));
        }
        driver_.drag(path, 1.0);
        window_->layoutIfNeeded();
        if (scaling) {
            EXPECT_NEAR(sticker->rotation(), 0.3, 0.01);
            EXPECT_NEAR(sticker->scale(), 0.26, 0.003);
            const CGPoint knob = UITestDriver::windowPoint(*sticker->handle());
            EXPECT_NEAR(knob.x, path.back().x, 1);
            EXPECT_NEAR(knob.y, path.back().y, 1);
        } else {
            // The knob sends nothing: no turn either.
            EXPECT_EQ(sticker->rotation(), 0);
            EXPECT_NEAR(sticker->scale(), 0.2, 1e-6);
        }
        EXPECT_NEAR(UITestDriver::windowPoint(*sticker->contentView()).x, c.x, 0.01);
        EXPECT_NEAR(UITestDriver::windowPoint(*sticker->contentView()).y, c.y, 0.01);
        layer_->removeAllStickers();
        driver_.advance(0.2);
    }
}

// Grown by its knob near the top of the canvas, the sticker moves down as it must: its close
// button stays inside the canvas (not under the bar above it), and so does the knob.
TEST_F(QZStickerViewTest, GrownNearTheTopItsCloseButtonAndKnobStayInsideTheCanvas)
{
    auto sticker = place("wide");
    sticker->setCenter(CGPointMake(160, 60));
    window_->layoutIfNeeded();
    const CGPoint h = UITestDriver::windowPoint(*sticker->handle());
    driver_.drag({h, CGPointMake(h.x + 30, h.y + 30), CGPointMake(h.x + 60, h.y + 60)}, 0.5);
    window_->layoutIfNeeded();
    EXPECT_GT(sticker->scale(), 0.4);
    const CGRect close = sticker->closeButton()->convertRectToView(sticker->closeButton()->bounds(), layer_.get());
    const CGRect knob = sticker->handle()->convertRectToView(sticker->handle()->bounds(), layer_.get());
    EXPECT_GE(CGRectGetMinY(close), -0.01) << describe(close);
    EXPECT_GE(CGRectGetMinX(close), -0.01) << describe(close);
    EXPECT_LE(CGRectGetMaxY(knob), 455.01) << describe(knob);
    EXPECT_LE(CGRectGetMaxX(knob), 320.01) << describe(knob);
}

TEST_F(QZStickerViewTest, TouchesOnTheKnobOrTheCloseButtonStartNoneOfTheStickersRecognisers)
{
    auto sticker = place("wide", 0.5f);
    auto pans = std::make_shared<States>(), presses = std::make_shared<States>();
    sticker->panRecognizer()->addTarget(pans, &States::heard);
    sticker->pressRecognizer()->addTarget(presses, &States::heard);
    const CGPoint centre = sticker->center();
    for (const UIView* control :
         {static_cast<UIView*>(sticker->handle().get()), static_cast<UIView*>(sticker->closeButton().get())}) {
        // Off the button before the lift: a close button does not close.
        const CGPoint from = UITestDriver::windowPoint(*control);
        sticker->setScalingEnabled(false);
        driver_.drag({from, CGPointMake(from.x - 40, from.y - 40)}, 0.5);
        EXPECT_TRUE(pans->seen.empty());
        EXPECT_TRUE(presses->seen.empty());
        EXPECT_EQ(sticker->center().x, centre.x);
    }
    EXPECT_EQ(layer_->stickerViews().size(), 1u);

    // On the picture the pan moves it, by as much as the finger.
    const CGPoint from = UITestDriver::windowPoint(*sticker->imageView());
    driver_.drag({from, CGPointMake(from.x - 30, from.y + 20)}, 0.5);
    EXPECT_FALSE(pans->seen.empty());
    EXPECT_NEAR(sticker->center().x, centre.x - 30, 0.5);
    EXPECT_NEAR(sticker->center().y, centre.y + 20, 0.5);
}

TEST_F(QZStickerViewTest, AStickerNotAddedToTheLayerCannotBeDragged)
{
    auto loose = QZStickerView::makeWithStickerPackItem(item("wide"));
    loose->setScale(0.5f);
    loose->sizeToFit();
    loose->setCenter(CGPointMake(160, 200));
    layer_->addSubview(loose);
    window_->layoutIfNeeded();
    EXPECT_FALSE(loose->isAdded());
    const CGPoint from = UITestDriver::windowPoint(*loose->imageView());
    driver_.drag({from, CGPointMake(from.x + 50, from.y)}, 0.5);
    EXPECT_EQ(loose->center().x, 160);
}

// ---- Where a sticker lies in the picture, and how it draws there ----

class QZStickerBakeTest : public QZStickerViewTest {
protected:
    // A canvas as the root screen's, a 512 x 512 picture fitted into 320 points across, the layer
    // over the window from its origin as the tool's overlay.
    void SetUp() override
    {
        QZStickerViewTest::SetUp();
        canvas_ = UIView::viewWithFrame<QZScrollingImageView>(CGRectMake(0, 64, 320, 391));
        window_->insertSubviewBelowSubview(canvas_, layer_.get());
        canvas_->setImageSize(CGSizeMake(512, 512));
        canvas_->layoutIfNeeded();
    }
    std::shared_ptr<QZScrollingImageView> canvas_;
};

TEST_F(QZStickerBakeTest, TheRectangleIsTheImageViewsOverTheZoomWhateverTheScaleArgument)
{
    auto sticker = place("wide", 0.2f);
    const UIImageView& picture = *canvas_->imageView();
    struct Zoom {
        CGFloat scale;
        CGPoint offset;
    };
    for (const Zoom& zoom : {Zoom{0, CGPointZero}, Zoom{2, CGPointMake(200, 300)}}) {
        SCOPED_TRACE("zoom " + std::to_string(zoom.scale));
        if (zoom.scale > 0) {
            canvas_->setZoomScale(zoom.scale);
            canvas_->setContentOffset(zoom.offset);
            canvas_->layoutIfNeeded();
        }
        const CGFloat z = canvas_->zoomScale();
        if (zoom.scale == 0) {
            EXPECT_NEAR(z, 0.625, 1e-4);
        }
        const CGRect rect = sticker->rectForStickerInView(picture, 0.5f);
        // The image view's (200 + 48) x 0.2 + 24 - 48 = 25.6 points, in picture pixels.
        EXPECT_NEAR(rect.size.width, 25.6f / z, 1e-2);
        EXPECT_NEAR(rect.size.height, 25.6f / z, 1e-2);
        const CGPoint centre = layer_->convertPointToView(sticker->center(), &picture);
        EXPECT_NEAR(CGRectGetMidX(rect), centre.x, 1e-2);
        EXPECT_NEAR(CGRectGetMidY(rect), centre.y, 1e-2);
        EXPECT_TRUE(sameRect(sticker->rectForStickerInView(picture, 7), rect));
    }
    EXPECT_TRUE(
        sameRect(QZStickerView::makeWithStickerPackItem(item("wide"))->rectForStickerInView(picture, 1), CGRectZero));
}

// Turned a quarter clockwise the red-left, blue-right picture has its red on top; the processor made
// from the relative rectangle puts it at the same place on a picture twice the size.
TEST_F(QZStickerBakeTest, ATurnedStickerDrawsWhereItsProcessorDrawsItAtTwiceTheSize)
{
    auto sticker = place("redblue", 1);
    sticker->setRotation(kPi / 2);
    window_->layoutIfNeeded();
    const UIImageView& picture = *canvas_->imageView();
    const CGRect rect = sticker->rectForStickerInView(picture, 1);
    const CGSize size = picture.bounds().size;

    // What the tool draws: a top-down buffer of the picture's pixels.
    std::vector<std::uint8_t> drawn(std::size_t(size.width * size.height) * kQZBytesPerPixel, 0);
    CGContextRef context = QZCGContextCreateWithData(drawn.data(), size);
    ASSERT_NE(context, nullptr);
    CGContextConcatCTM(context, CGAffineTransformMake(1, 0, 0, -1, 0, size.height));
    UIGraphicsPushContext(context);
    sticker->drawStickerInRect(rect);
    UIGraphicsPopContext();
    CGContextRelease(context);

    // What a replay at twice the size draws.
    auto processor = QZStickerProcessor::make();
    processor->setStickerImage(sticker->stickerImage());
    processor->setRotation(float(sticker->rotation()));
    processor->setRelativeStickerRect(CGRectMake(rect.origin.x / size.width, rect.origin.y / size.height,
                                                 rect.size.width / size.width, rect.size.height / size.height));
    const CGSize twice = CGSizeMake(size.width * 2, size.height * 2);
    std::vector<std::uint8_t> replayed(std::size_t(twice.width * twice.height) * kQZBytesPerPixel, 0);
    CGContextRef big = QZCGContextCreateWithData(replayed.data(), twice);
    ASSERT_NE(big, nullptr);
    processor->bitmapBlock()(big, nullptr);
    CGContextRelease(big);

    // The centroid of each colour, relative to its picture.
    struct Centroid {
        double x = 0, y = 0, n = 0;
    };
    const auto centroids = [](const std::vector<std::uint8_t>& pixels, CGSize in) {
        Centroid red, blue;
        for (std::size_t y = 0; y < std::size_t(in.height); ++y)
            for (std::size_t x = 0; x < std::size_t(in.width); ++x) {
                const std::uint8_t* p = &pixels[(y * std::size_t(in.width) + x) * 4];
                Centroid* colour = p[0] > 200 && p[2] < 50 ? &red : p[2] > 200 && p[0] < 50 ? &blue : nullptr;
                if (!colour) continue;
                colour->x += (double(x) + 0.5) / in.width;
                colour->y += (double(y) + 0.5) / in.height;
                colour->n += 1;
            }
        for (Centroid* c : {&red, &blue})
            if (c->n > 0) c->x /= c->n, c->y /= c->n;
        return std::make_pair(red, blue);
    };
    const auto [red, blue] = centroids(drawn, size);
    ASSERT_GT(red.n, 0);
    ASSERT_GT(blue.n, 0);
    EXPECT_LT(red.y, blue.y) << "red on top";
    EXPECT_NEAR(red.x, blue.x, 1e-3);
    const auto [bigRed, bigBlue] = centroids(replayed, twice);
    EXPECT_NEAR(bigRed.x, red.x, 0.002);
    EXPECT_NEAR(bigRed.y, red.y, 0.002);
    EXPECT_NEAR(bigBlue.x, blue.x, 0.002);
    EXPECT_NEAR(bigBlue.y, blue.y, 0.002);
    EXPECT_NEAR(bigRed.n, 4 * red.n, 0.05 * 4 * red.n);
}

}  // namespace
}  // namespace sticker_test
