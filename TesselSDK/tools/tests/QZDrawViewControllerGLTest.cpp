// The draw screen on a real GL context, driven by touches at the phone's screen scale: each
// finished stroke's trail lands in the bitmap upright at one pixel per image point, Apply blends the
// bitmap over the preview, the eraser clears the paint and nothing else, and the output module
// redraws the strokes on a photo of twice the size with lines twice as wide.
#include "QZBrushTestSupport.h"

#include "TesselSDK/tools/brush/QZDrawViewController.h"

#include "Foundation/PlatformSettings.h"

#include <optional>

namespace {

using qz_test::Pixels;

Pixels plain(std::size_t width, std::size_t height, std::array<std::uint8_t, 4> colour)
{
    return qz_test::makePixels(width, height, [&](std::size_t, std::size_t) { return colour; });
}

constexpr std::array<std::uint8_t, 4> kWhite{255, 255, 255, 255};

bool isBlue(const std::array<std::uint8_t, 4>& p)
{
    return p[2] > 200 && p[0] < 40 && p[1] < 40;
}
bool isPaintedRed(const std::array<std::uint8_t, 4>& p)
{
    return p[0] > 200 && p[1] < 60 && p[2] < 60;
}

// The largest colour-channel difference of one pixel.
int pixelDifference(const std::array<std::uint8_t, 4>& a, const std::array<std::uint8_t, 4>& b)
{
    int most = 0;
    for (std::size_t c = 0; c < 3; ++c) most = std::max(most, std::abs(int(a[c]) - int(b[c])));
    return most;
}

// How many rows of column x hold a pixel for which `painted` holds.
template <class Predicate>
std::size_t paintedRows(const Pixels& image, std::size_t x, Predicate painted)
{
    std::size_t rows = 0;
    for (std::size_t y = 0; y < image.height; ++y) rows += painted(image.at(x, y));
    return rows;
}

class QZDrawViewControllerGLTest : public QZBrushScreenTest {
protected:
    void SetUp() override
    {
        QZBrushScreenTest::SetUp();
        // As on the phone: the trail is drawn at two pixels a point and must come down to one.
        PlatformSettings::setScreenScale(2);
    }

    std::shared_ptr<QZDrawViewController> presentOn(const Pixels& photo, CGFloat zoom, Value colors)
    {
        if (!loadPhoto(photo)) return nullptr;
        return presentBrush<QZDrawViewController>(gl_->currentImageSize(), zoom, "draw", "Draw",
                                                  Value::dictionary({{"colors", std::move(colors)}}));
    }
    // The bitmap's pixels, its first row the image's top.
    static Pixels bitmapOf(const QZDrawViewController& draw)
    {
        return qz_test::pixelsFromBytes(draw.bitmapSize(), draw.bitmapData().data());
    }
    // The GL instance's current image (what Apply committed).
    std::optional<Pixels> current()
    {
        std::shared_ptr<UIImage> image;
        gl_->getOutputImage([&](std::shared_ptr<UIImage> output) { image = std::move(output); });
        if (!pumpUntil([&] { return image != nullptr; })) return std::nullopt;
        return qz_test::pixelsOf(image);
    }
    bool apply()
    {
        tapApply(*tool_);
        return pumpUntil([&] { return !statuses_->statuses.empty(); });
    }
    // The tool's module replayed by a closed session on the photo, the preview `editing` in size.
    static std::optional<Pixels> replay(const std::shared_ptr<QZModule>& module, CGSize editing, const Pixels& photo)
    {
        auto session = QZPhotoEditorSession::make();
        session->setEditingSize(editing);
        session->addModulesObject(module);
        session->setOpen(false);
        auto context = session->createContextWithImage(qz_test::imageOf(photo));
        if (!context) return std::nullopt;
        qz_test::Deliveries deliveries;
        context->render(deliveries.completion());
        if (!deliveries.waitForOne() || !deliveries.images[0]) return std::nullopt;
        return qz_test::pixelsOf(deliveries.images[0]);
    }
};

// Blue, the first of the palette, is chosen on opening. A long line across the middle and a short
// one near the top-left corner: in the bitmap at one pixel per image point and upright, then in the
// preview after Apply, then on a photo twice the size.
TEST_F(QZDrawViewControllerGLTest, LinesLandUprightInThePreviewAndTwiceAsWideAtTwiceTheSize)
{
    auto draw = presentOn(plain(1000, 600, kWhite), 0.3f, Value::array({"#0000FF", "#FF0000"}));
    if (!draw) GTEST_SKIP() << "no GL context";
    ASSERT_EQ(draw->bitmapSize().width, 1000);
    ASSERT_EQ(draw->bitmapSize().height, 600);
    EXPECT_EQ(draw->drawOverlayView()->brushColor(), draw->colorConveyorController()->colors()[0]);

    stroke({CGPointMake(100, 300), CGPointMake(500, 300), CGPointMake(900, 300)});
    stroke({CGPointMake(30, 40), CGPointMake(200, 40)});
    const auto trail = draw->drawOverlayView()->imageView()->image();
    ASSERT_NE(trail, nullptr);
    EXPECT_EQ(trail->scale(), 2) << "the trail is not drawn at the screen's scale";
    driver_.turn();

    const float width = draw->strokes()[0]->brushSize();
    EXPECT_NEAR(width, 10 / 0.3f, 0.01);
    const Pixels bitmap = bitmapOf(*draw);
    const auto opaque = [](const std::array<std::uint8_t, 4>& p) { return p[3] > 128; };
    EXPECT_NEAR(double(paintedRows(bitmap, 500, opaque)), width, 2) << "not one bitmap pixel per image point";
    EXPECT_EQ(bitmap.at(100, 40)[3], 255) << "the top-left stroke is not in the bitmap's top rows";
    EXPECT_EQ(bitmap.at(100, 559)[3], 0) << "the bitmap is upside down";
    EXPECT_EQ(bitmap.at(500, 300)[2], 255);

    ASSERT_TRUE(apply());
    EXPECT_EQ(statuses_->statuses, (std::vector<QZToolViewControllerStatus>{QZToolViewControllerStatusApplied}));
    const auto preview = current();
    ASSERT_TRUE(preview);
    for (std::size_t x = 120; x <= 880; ++x) {
        EXPECT_TRUE(isBlue(preview->at(x, 300))) << "x " << x;
        EXPECT_EQ(pixelDifference(preview->at(x, 100), kWhite), 0) << "x " << x;
    }
    EXPECT_TRUE(isBlue(preview->at(100, 40))) << "the top-left stroke is not at the preview's top-left";
    EXPECT_EQ(pixelDifference(preview->at(100, 560), kWhite), 0) << "the preview is drawn upside down";

    const auto full = replay(draw->outputModule(), CGSizeMake(1000, 600), plain(2000, 1200, kWhite));
    ASSERT_TRUE(full) << "no replay";
    ASSERT_EQ(full->width, 2000u);
    EXPECT_TRUE(isBlue(full->at(1000, 600)));
    EXPECT_TRUE(isBlue(full->at(200, 80)));
    EXPECT_EQ(pixelDifference(full->at(200, 1120), kWhite), 0);
    EXPECT_EQ(pixelDifference(full->at(1000, 200), kWhite), 0);
    EXPECT_NEAR(double(paintedRows(*full, 1000, isBlue)), 2.0 * double(paintedRows(*preview, 500, isBlue)), 3);
}

// Red across, then the eraser down through it: the stroke records Clear with the colour in use,
// the trail and the bitmap turn transparent where it passed, and the photo shows there again, in
// the preview and at full size.
TEST_F(QZDrawViewControllerGLTest, TheEraserClearsThePaintAndLeavesThePhoto)
{
    const Pixels photo = qz_test::texturedPhoto(400, 300);
    auto draw = presentOn(photo, 0.75f, Value::array({"#E5261F", "#1F9DE0"}));
    if (!draw) GTEST_SKIP() << "no GL context";
    stroke({CGPointMake(40, 150), CGPointMake(200, 150), CGPointMake(360, 150)});
    driver_.turn();
    const auto eraser = UITestDriver::visibleViewWithLabel("Eraser");
    ASSERT_NE(eraser, nullptr);
    driver_.tap(*eraser);
    driver_.advance(0.5);
    ASSERT_TRUE(draw->drawOverlayView()->erase());
    stroke({CGPointMake(200, 100), CGPointMake(200, 150), CGPointMake(200, 200)});
    driver_.turn();

    ASSERT_EQ(draw->strokes().size(), 2u);
    const auto& erasing = draw->strokes()[1];
    EXPECT_EQ(erasing->blendMode(), kCGBlendModeClear);
    EXPECT_EQ(erasing->color(), draw->strokes()[0]->color()) << "the eraser stroke lost the colour in use";
    const Pixels trail = qz_test::pixelsOf(draw->drawOverlayView()->imageView()->image());
    EXPECT_EQ(trail.at(400, 300)[3], 0) << "the trail was not erased";
    EXPECT_EQ(trail.at(200, 300)[3], 255);
    const Pixels bitmap = bitmapOf(*draw);
    EXPECT_EQ(bitmap.at(200, 150)[3], 0) << "the bitmap was not erased";
    EXPECT_EQ(bitmap.at(100, 150)[3], 255);

    ASSERT_TRUE(apply());
    const auto preview = current();
    ASSERT_TRUE(preview);
    EXPECT_LE(pixelDifference(preview->at(200, 150), photo.at(200, 150)), 1);
    EXPECT_TRUE(isPaintedRed(preview->at(100, 150)));

    const Pixels large = qz_test::texturedPhoto(800, 600);
    const auto full = replay(draw->outputModule(), CGSizeMake(400, 300), large);
    ASSERT_TRUE(full);
    EXPECT_LE(pixelDifference(full->at(400, 300), large.at(400, 300)), 1);
    EXPECT_TRUE(isPaintedRed(full->at(200, 300)));
}

// The bitmap starts transparent: Apply before any stroke leaves the photo as it was.
TEST_F(QZDrawViewControllerGLTest, ApplyBeforeAnyStrokeLeavesThePhoto)
{
    const Pixels photo = qz_test::texturedPhoto(400, 300);
    auto draw = presentOn(photo, 0.75f, Value::array({"#E5261F"}));
    if (!draw) GTEST_SKIP() << "no GL context";
    ASSERT_NE(draw->contextForGL(), nullptr);
    ASSERT_TRUE(apply());
    EXPECT_EQ(statuses_->statuses, (std::vector<QZToolViewControllerStatus>{QZToolViewControllerStatusApplied}));
    const auto preview = current();
    ASSERT_TRUE(preview);
    EXPECT_LE(qz_test::maxDifference(*preview, photo), 1);
}

}  // namespace
