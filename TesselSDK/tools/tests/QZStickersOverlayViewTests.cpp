// The stickers layer through touches: which sticker is active, closing with its fade (a closed
// sticker is no longer placed while it fades), removing them all, and keeping their places on the
// picture across a rotation.
#include "QZStickerTestSupport.h"

#include "TesselSDK/tools/QZStickersOverlayView.h"

namespace sticker_test {
namespace {

// The picture's rectangle in the layer, as the tool answers it.
struct PictureRect : QZStickersOverlayViewDelegate {
    CGRect rect = CGRectZero;
    CGRect rectForImageInStickersOverlayView(QZStickersOverlayView*) override { return rect; }
};

class QZStickersOverlayViewTest : public QZStickerFixture {
protected:
    void SetUp() override
    {
        QZStickerFixture::SetUp();
        layer_ = UIView::viewWithFrame<QZStickersOverlayView>(CGRectMake(0, 0, 320, 455));
        layer_->setUserInteractionEnabled(true);
        layer_->setDelegate(picture_);
        window_->addSubview(layer_);
    }
    // Stickers of the items placed in order, each moved to its own place in a row.
    std::vector<std::shared_ptr<QZStickerView>> placeInARow(const std::vector<std::string>& identifiers)
    {
        std::vector<std::shared_ptr<QZStickerView>> placed;
        for (std::size_t i = 0; i < identifiers.size(); ++i) {
            layer_->addNewStickerView(item(identifiers[i]));
            placed.push_back(layer_->stickerViews().back());
            placed.back()->setCenter(CGPointMake(60 + 100 * CGFloat(i), 200));
        }
        window_->layoutIfNeeded();
        return placed;
    }
    static std::vector<bool> controls(const std::vector<std::shared_ptr<QZStickerView>>& stickers)
    {
        std::vector<bool> on;
        for (const auto& sticker : stickers) on.push_back(sticker->controlsEnabled());
        return on;
    }

    std::shared_ptr<QZStickersOverlayView> layer_;
    std::shared_ptr<PictureRect> picture_ = std::make_shared<PictureRect>();
};

TEST_F(QZStickersOverlayViewTest, ANewStickerIsSmallCentredAndActive)
{
    layer_->addNewStickerView(item("wide"));
    ASSERT_EQ(layer_->stickerViews().size(), 1u);
    auto sticker = layer_->stickerViews()[0];
    EXPECT_TRUE(sticker->isAdded());
    EXPECT_EQ(sticker->superview(), layer_);
    // Its picture a quarter of the layer's 320 points across: 80, the sticker 80 + 48.
    EXPECT_NEAR(sticker->bounds().size.width, 128, 1e-3);
    EXPECT_TRUE(CGPointEqualToPoint(sticker->center(), CGPointMake(160, 227.5)));
    EXPECT_EQ(sticker->autoresizingMask(), QZUIViewAutoresizingFlexibleMargins);
    EXPECT_TRUE(sticker->controlsEnabled());
}

// A new sticker's picture starts at scale 0.2's size where that is at least a quarter of the
// layer's shorter side, else at that quarter, whatever the image's pixels; the whole sticker never
// starts larger than that side.
TEST_F(QZStickersOverlayViewTest, ANewStickerStartsAtASizeThatCanBeSeenAndNoLargerThanTheLayer)
{
    struct Case {
        const char* item;
        CGSize layer;
        CGFloat picture;  // the image view's side, laid out
    };
    const Case cases[] = {
        {"redblue", {320, 455}, 80},   // 64 pixels: at 0.2 its picture would have no size at all
        {"wide", {320, 455}, 80},      // 200 pixels: 25.6 points at 0.2
        {"wide", {1000, 800}, 200},    // a quarter of 800
        {"wide", {100, 400}, 25.6f},   // 0.2 already gives more than a quarter of 100
        {"wide", {70, 400}, 22},       // 25.6 would make the sticker wider than the layer
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.item) + " on " + std::to_string(c.layer.width) + " x " +
                     std::to_string(c.layer.height));
        layer_->removeAllStickers();
        driver_.advance(0.2);
        layer_->setFrame(CGRectMake(0, 0, c.layer.width, c.layer.height));
        ASSERT_TRUE(layer_->addNewStickerView(item(c.item)));
        auto sticker = layer_->stickerViews().back();
        sticker->layoutIfNeeded();
        EXPECT_NEAR(sticker->imageView()->bounds().size.width, c.picture, 1e-3);
        EXPECT_LE(sticker->bounds().size.width, std::min(c.layer.width, c.layer.height) + 1e-3);
    }
}

// Touching the first of three swaps it with the last: third, second, first, the first active and in
// front. A tap on the active sticker hides its controls; the next tap shows them again.
TEST_F(QZStickersOverlayViewTest, ATouchedStickerTradesPlacesWithTheActiveOne)
{
    const auto stickers = placeInARow({"wide", "wide", "wide"});
    const auto a = stickers[0], b = stickers[1], c = stickers[2];
    EXPECT_EQ(controls(stickers), (std::vector<bool>{false, false, true}));

    driver_.tap(*a->imageView());
    EXPECT_EQ(layer_->stickerViews(), (QZStickersOverlayView::StickerViews{c, b, a}));
    EXPECT_EQ(layer_->subviews().back(), a);
    EXPECT_EQ(controls(stickers), (std::vector<bool>{true, false, false}));

    driver_.tap(*a->imageView());
    EXPECT_FALSE(a->controlsEnabled());
    EXPECT_EQ(layer_->stickerViews().back(), a);
    driver_.tap(*a->imageView());
    EXPECT_TRUE(a->controlsEnabled());
    EXPECT_FALSE(a->tapToggedState());

    // Dragging an inactive sticker makes it active too, and keeps its controls after the lift.
    const CGPoint from = UITestDriver::windowPoint(*b->imageView());
    driver_.drag({from, CGPointMake(from.x, from.y + 60)}, 0.5);
    EXPECT_EQ(layer_->stickerViews().back(), b);
    EXPECT_TRUE(b->controlsEnabled());
    EXPECT_NEAR(b->center().y, 260, 0.5);
}

// The close button reports the deletion; the sticker fades for 0.1 s, no longer placed from the
// start, then leaves the layer. The others keep their controls hidden.
TEST_F(QZStickersOverlayViewTest, AClosedStickerIsNoLongerPlacedAndGoneAfterItsFade)
{
    const auto stickers = placeInARow({"wide", "redblue"});
    const auto kept = stickers[0], closed = stickers[1];
    driver_.tap(*closed->closeButton());
    EXPECT_EQ(eventCount("redblue :deleted"), 1);
    EXPECT_EQ(layer_->stickerViews().size(), 2u);
    EXPECT_TRUE(layer_->isRemovingStickerView(*closed));
    EXPECT_EQ(layer_->placedStickerViews(), (QZStickersOverlayView::StickerViews{kept}));
    EXPECT_FALSE(closed->isUserInteractionEnabled());
    EXPECT_FALSE(closed->controlsEnabled()) << "its fade took the controls away";

    driver_.advance(0.15);
    EXPECT_EQ(layer_->stickerViews(), (QZStickersOverlayView::StickerViews{kept}));
    EXPECT_EQ(closed->superview(), nullptr);
    EXPECT_FALSE(kept->controlsEnabled());
    EXPECT_FALSE(layer_->isRemovingStickerView(*closed));
}

TEST_F(QZStickersOverlayViewTest, RemovingEveryStickerFadesThemAllAndAnEmptyLayerStaysEmpty)
{
    layer_->removeAllStickers();
    driver_.advance(0.15);
    EXPECT_TRUE(layer_->stickerViews().empty());
    EXPECT_TRUE(layer_->subviews().empty());

    placeInARow({"wide", "redblue", "tall"});
    layer_->removeAllStickers();
    EXPECT_TRUE(layer_->placedStickerViews().empty());
    driver_.advance(0.15);
    EXPECT_TRUE(layer_->stickerViews().empty());
    EXPECT_TRUE(layer_->subviews().empty());
    EXPECT_TRUE(analytics_->events.empty()) << "only the close button reports a deletion";
}

// The sticker at (100, 50) of a 200 x 100 picture lands at the same fractions of a 400 x 300 one,
// keeping its scale, turn and size; without a picture on either side it stays where it was.
TEST_F(QZStickersOverlayViewTest, ARotationKeepsEachStickersPlaceOnThePicture)
{
    struct Case {
        CGRect before;
        CGRect after;
        CGPoint expected;
    };
    const Case cases[] = {
        {CGRectMake(10, 20, 200, 100), CGRectMake(50, 60, 400, 300), CGPointMake(250, 210)},
        {CGRectZero, CGRectMake(50, 60, 400, 300), CGPointMake(110, 70)},
        {CGRectMake(10, 20, 200, 100), CGRectMake(50, 60, 0, 300), CGPointMake(110, 70)},
    };
    for (const Case& c : cases) {
        layer_->addNewStickerView(item("wide"));
        auto sticker = layer_->stickerViews().back();
        sticker->setCenter(CGPointMake(110, 70));
        sticker->setRotation(0.4f);
        sticker->setScale(0.3f);
        const CGRect bounds = sticker->bounds();
        picture_->rect = c.before;
        layer_->willRotateToInterfaceOrientation(UIInterfaceOrientationLandscapeLeft, 0.3);
        EXPECT_EQ(layer_->stickerViewRotationInfos().size(), 1u);
        driver_.advance(0.15);
        EXPECT_LT(sticker->alpha(), 0.01);
        picture_->rect = c.after;
        layer_->willAnimateRotationToInterfaceOrientation(UIInterfaceOrientationLandscapeLeft, 0.3);
        layer_->didRotateFromInterfaceOrientation(UIInterfaceOrientationPortrait);
        driver_.advance(0.15);
        EXPECT_NEAR(sticker->center().x, c.expected.x, 1e-3);
        EXPECT_NEAR(sticker->center().y, c.expected.y, 1e-3);
        EXPECT_FLOAT_EQ(sticker->rotation(), 0.4f);
        EXPECT_FLOAT_EQ(sticker->scale(), 0.3f);
        EXPECT_TRUE(CGRectEqualToRect(sticker->bounds(), bounds));
        EXPECT_FLOAT_EQ(sticker->alpha(), 1);
        EXPECT_TRUE(layer_->stickerViewRotationInfos().empty());
        layer_->removeAllStickers();
        driver_.advance(0.15);
    }
}

}  // namespace
}  // namespace sticker_test
