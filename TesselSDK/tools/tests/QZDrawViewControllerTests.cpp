// The draw screen without a GL context: the palette its settings give the colour strip, how the
// two strips share the tool view, what each message of the colour strip does to the spot HUD and
// the overlay, and that strokes and Apply work without a bitmap.
#include "QZBrushTestSupport.h"

#include "TesselSDK/tools/brush/QZDrawViewController.h"

#include "TesselSDK/tools/brush/QZColorConveyorViewCell.h"
#include "TesselSDK/tools/brush/QZSpotConveyorViewCell.h"

#include "TesselSDKFoundation/QZConveyorOverlayView.h"
#include "TesselSDKFoundation/QZSDKResources.h"

#include "CoreGraphics/CGImage.h"
#include "UIKit/testing/UIGoldenImage.h"

#include "Foundation/NSLogCapture.h"

#include <cmath>
#include <cstdio>

namespace {

// "#RRGGBB" of a colour, "none" for none.
std::string hex(const std::shared_ptr<UIColor>& color)
{
    CGFloat r = 0, g = 0, b = 0, a = 0;
    if (!color || !color->getRed(&r, &g, &b, &a)) return "none";
    char text[16];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", unsigned(std::lround(r * 255)), unsigned(std::lround(g * 255)),
                  unsigned(std::lround(b * 255)));
    return text;
}

std::size_t linesContaining(const NSLogCapture& log, const std::string& text)
{
    std::size_t count = 0;
    for (const std::string& line : log.lines()) count += line.find(text) != std::string::npos;
    return count;
}

Value drawSettings(Value colors)
{
    return colors.isNil() ? Value::dictionary() : Value::dictionary({{"colors", std::move(colors)}});
}

class QZDrawViewControllerTest : public QZBrushScreenTest {
protected:
    // A 400 x 300 image fitting the canvas at 0.75.
    std::shared_ptr<QZDrawViewController> presentDraw(Value settings)
    {
        return presentBrush<QZDrawViewController>(CGSizeMake(400, 300), 0.75f, "draw", "Draw", std::move(settings));
    }
    // The shipped palette, as the tool table gives it.
    static Value shippedSettings() { return QZSDKResources::plugins()["draw"]["settings"]; }
};

struct PaletteCase {
    const char* name;
    Value colors;
    std::vector<std::string> palette;
    std::size_t logLines;
    // The colour chosen on opening, which lines then take; "none": nothing chosen, lines are red.
    std::string chosen;
};

TEST_F(QZDrawViewControllerTest, ThePaletteKeepsOnlySixDigitHexStringsInOrder)
{
    const std::vector<PaletteCase> cases = {
        {"one colour", Value::array({"#0000FF"}), {"#0000FF"}, 0, "none"},
        {"no setting", Value(), {}, 0, "none"},
        {"mixed", Value::array({"#0000FF", "zzz", "#00F", "FF0000", 7, ""}), {"#0000FF", "#FF0000"}, 4, "#0000FF"},
        {"not a list", Value("red"), {}, 1, "none"},
    };
    for (const PaletteCase& c : cases) {
        SCOPED_TRACE(c.name);
        NSLogCapture log;
        auto draw = presentDraw(drawSettings(c.colors));
        std::vector<std::string> palette;
        for (const auto& color : draw->colorConveyorController()->colors()) palette.push_back(hex(color));
        EXPECT_EQ(palette, c.palette);
        EXPECT_EQ(linesContaining(log, "-[QZDrawViewController loadView]"), c.logLines);
        // An eraser cell at either end, whatever the palette.
        EXPECT_EQ(draw->colorConveyorController()->numberOfItemsInConveyorView(draw->colorConveyor().get()),
                  NSInteger(c.palette.size() + 2));
        EXPECT_EQ(hex(draw->colorConveyorController()->selectedColor()), c.chosen);
        const std::string lines = c.chosen == "none" ? "#FF0000" : c.chosen;
        EXPECT_EQ(hex(draw->drawOverlayView()->brushColor()), lines);
        stroke({CGPointMake(50, 50), CGPointMake(150, 60)});
        ASSERT_FALSE(draw->strokes().empty());
        EXPECT_EQ(hex(draw->strokes().back()->color()), lines);
        EXPECT_EQ(draw->strokes().back()->blendMode(), kCGBlendModeNormal);
        draw->view()->removeFromSuperview();
        draw->staticOverlayView()->removeFromSuperview();
        canvas_->removeFromSuperview();
        bar_->removeFromSuperview();
    }
}

// The size strip over the upper half and the colour strip over the lower half, both in their
// half-height look; the shipped palette's cells named in strip order, White centred on opening.
TEST_F(QZDrawViewControllerTest, TheShippedPaletteFillsTheLowerStripWithWhiteCentred)
{
    auto draw = presentDraw(shippedSettings());
    const CGRect bounds = draw->view()->bounds();
    const auto sizeStrip = draw->sizeConveyor();
    const auto colorStrip = draw->colorConveyor();
    ASSERT_NE(sizeStrip, nullptr);
    ASSERT_NE(colorStrip, nullptr);
    EXPECT_TRUE(CGRectEqualToRect(sizeStrip->frame(), CGRectMake(0, 0, bounds.size.width, bounds.size.height / 2)));
    EXPECT_TRUE(CGRectEqualToRect(colorStrip->frame(),
                                  CGRectMake(0, bounds.size.height / 2, bounds.size.width, bounds.size.height / 2)));
    EXPECT_EQ(sizeStrip->type(), QZConveyorViewTypeDouble);
    EXPECT_EQ(colorStrip->type(), QZConveyorViewTypeDouble);
    EXPECT_FALSE(draw->sizeConveyorController()->showsGlowBox());
    EXPECT_EQ(draw->customizationKeyPath(), "editor.tool.draw");

    std::vector<std::string> names;
    auto controller = draw->colorConveyorController();
    for (NSInteger i = 0; i < controller->numberOfItemsInConveyorView(colorStrip.get()); ++i)
        names.push_back(controller->conveyorViewCellForIndex(colorStrip.get(), i)->accessibilityLabel());
    EXPECT_EQ(names, (std::vector<std::string>{"Eraser", "White", "Black", "Red", "Orange", "Yellow", "Green", "Blue",
                                               "Dark Blue", "Purple", "Pink", "Eraser"}));
    EXPECT_EQ(hex(controller->selectedColor()), "#FFFFFF");
    for (const auto& [label, x] : std::vector<std::pair<std::string, CGFloat>>{{"White", 160}, {"Red", 268}}) {
        const auto cell = UITestDriver::visibleViewWithLabel(label);
        ASSERT_NE(cell, nullptr) << label;
        EXPECT_NEAR(CGRectGetMidX(UITestDriver::visibleRect(*cell)), x, 0.5) << label;
    }
    EXPECT_EQ(std::count(analytics_->calls.begin(), analytics_->calls.end(), "tagScreen: Draw"), 1);
}

// The bounding box, in `view`'s points, of the pixels drawn (alpha above a half) in the rows
// [top, bottom) of its picture; null when none is.
CGRect drawnBox(UIView& view, CGFloat top, CGFloat bottom)
{
    auto snapshot = UIViewSnapshot(view);
    CGImageRef image = snapshot->CGImage();
    const size_t width = CGImageGetWidth(image), height = CGImageGetHeight(image);
    const CGFloat scale = CGFloat(width) / view.bounds().size.width;
    const uint8_t* bytes = CGImageGetBytes(image);
    CGRect box = CGRectNull;
    for (size_t y = size_t(top * scale); y < std::min(height, size_t(bottom * scale)); ++y)
        for (size_t x = 0; x < width; ++x)
            if (bytes[y * CGImageGetBytesPerRow(image) + x * 4 + 3] > 128)
                box = CGRectUnion(box, CGRectMake(CGFloat(x) / scale, CGFloat(y) / scale, 1 / scale, 1 / scale));
    return box;
}

// The size strip's blue frame lies in the upper half of the tool view and surrounds the chosen
// dot; the colour strip's lies in the lower half and surrounds the chosen disc.
TEST_F(QZDrawViewControllerTest, EachSelectionFrameSurroundsItsChosenCell)
{
    auto draw = presentDraw(shippedSettings());
    driver_.advance(0.5);
    const auto& view = draw->view();
    std::shared_ptr<QZConveyorOverlayView> overlay;
    for (const auto& subview : view->subviews())
        if (auto found = std::dynamic_pointer_cast<QZConveyorOverlayView>(subview)) overlay = found;
    ASSERT_NE(overlay, nullptr);
    const auto marker = overlay->centerView();
    const CGFloat half = view->bounds().size.height / 2;

    struct Row {
        const char* name;
        std::shared_ptr<QZConveyorView> strip;
        CGFloat top, bottom;  // the half of the tool view the strip fills
    };
    for (const Row& row : {Row{"size", draw->sizeConveyor(), 0, half},
                           Row{"colour", draw->colorConveyor(), half, 2 * half}}) {
        SCOPED_TRACE(row.name);
        ASSERT_NE(row.strip, nullptr);
        std::shared_ptr<UIView> chosen;
        for (const auto& cell : row.strip->visibleCells()) {
            if (!cell->isDepressed()) continue;
            if (auto spot = std::dynamic_pointer_cast<QZSpotConveyorViewCell>(cell)) chosen = spot->brushImageView();
            if (auto chip = std::dynamic_pointer_cast<QZColorConveyorViewCell>(cell)) chosen = chip->colorChipView();
        }
        ASSERT_NE(chosen, nullptr) << "no chosen cell on screen";
        const CGRect cell = chosen->convertRectToView(chosen->bounds(), marker.get());
        const CGRect frame =
            drawnBox(*marker, marker->convertPointFromView(CGPointMake(0, row.top), view.get()).y,
                     marker->convertPointFromView(CGPointMake(0, row.bottom), view.get()).y);
        ASSERT_FALSE(CGRectIsNull(frame)) << "no frame drawn in this half";
        EXPECT_TRUE(CGRectContainsRect(frame, cell)) << "frame (" << frame.origin.x << ", " << frame.origin.y
                                                     << ", " << frame.size.width << " x " << frame.size.height
                                                     << ") does not surround the cell at (" << cell.origin.x
                                                     << ", " << cell.origin.y << ", " << cell.size.width << " x "
                                                     << cell.size.height << ")";
    }

    auto picture = UIViewSnapshot(*view);
    ASSERT_NE(picture, nullptr);
    const UIGoldenOutcome outcome = UICompareWithGolden(
        picture->CGImage(), std::string(TESSEL_TOOLS_GOLDEN_DIR) + "/QZDraw_pickers.png", ::testing::TempDir());
    if (outcome.updated) GTEST_SKIP() << outcome.message;
    EXPECT_TRUE(outcome.matches) << outcome.message;
}

// Each report of the colour strip, in turn, as the strip sends them: whether the spot HUD shows,
// its spot colour, the overlay's colour and whether it erases.
TEST_F(QZDrawViewControllerTest, EachColourStripReportSetsTheHUDAndTheOverlay)
{
    auto draw = presentDraw(shippedSettings());
    auto controller = draw->colorConveyorController();
    QZConveyorView* strip = draw->colorConveyor().get();
    auto overlay = draw->drawOverlayView();
    const auto select = [&](NSInteger index) {
        return [&, index] { controller->conveyorViewDidSelectItemAtIndex(strip, index); };
    };
    const auto scroll = [&](NSInteger index) {
        return [&, index] { controller->conveyorViewDidScrollToIndex(strip, index); };
    };
    struct Step {
        const char* what;
        std::function<void()> act;
        bool hudShown;
        std::string spotColor;
        std::string brushColor;
        bool erase;
    };
    // Strip indexes: 0 and 11 erasers, 1 White, 2 Black, 3 Red, 4 Orange, 5 Yellow, 10 Pink.
    const std::vector<Step> steps = {
        {"select Red", select(3), true, "#E5261F", "#E5261F", false},
        {"scroll to Orange", scroll(4), true, "#F28C1A", "#E5261F", false},
        {"select the eraser", select(0), true, "none", "#E5261F", true},
        {"select the other eraser", select(11), false, "none", "#E5261F", true},
        {"select Black", select(2), true, "#000000", "#000000", false},
        {"scroll to the eraser", scroll(11), true, "none", "#000000", true},
        {"scroll on to Pink", scroll(10), true, "#E85C9A", "#000000", false},
        {"select Yellow while rotating",
         [&] {
             draw->willRotateToInterfaceOrientation(UIInterfaceOrientationLandscapeLeft, 0.3);
             draw->willAnimateRotationToInterfaceOrientation(UIInterfaceOrientationLandscapeLeft, 0.3);
             controller->conveyorViewDidSelectItemAtIndex(strip, 5);
         },
         false, "#E85C9A", "#000000", false},
        {"select Yellow after rotating",
         [&] {
             draw->didRotateFromInterfaceOrientation(UIInterfaceOrientationPortrait);
             controller->conveyorViewDidSelectItemAtIndex(strip, 5);
         },
         true, "#F6D629", "#F6D629", false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        draw->hideHUDView();
        driver_.advance(0.3);
        ASSERT_EQ(draw->spotHUDView()->superview(), nullptr);
        step.act();
        EXPECT_EQ(draw->spotHUDView()->superview() != nullptr, step.hudShown);
        EXPECT_EQ(hex(draw->spotHUDView()->spotView()->spotColor()), step.spotColor);
        EXPECT_EQ(hex(overlay->brushColor()), step.brushColor);
        EXPECT_EQ(overlay->erase(), step.erase);
    }
}

// No GL instance, so no preview size: no bitmap and no context, and the screen still records its
// strokes and applies, blending nothing.
TEST_F(QZDrawViewControllerTest, WithoutAPreviewSizeStrokesAndApplyStillWork)
{
    NSLogCapture log;
    auto draw = presentDraw(shippedSettings());
    EXPECT_EQ(draw->contextForGL(), nullptr);
    EXPECT_TRUE(draw->bitmapData().empty());
    stroke({CGPointMake(50, 50), CGPointMake(150, 60), CGPointMake(250, 80)});
    driver_.turn();
    ASSERT_EQ(draw->strokes().size(), 1u);
    tapApply(*draw);
    ASSERT_TRUE(driver_.runUntil([&] { return !statuses_->statuses.empty(); }));
    EXPECT_EQ(statuses_->statuses, (std::vector<QZToolViewControllerStatus>{QZToolViewControllerStatusApplied}));
    EXPECT_NE(draw->outputModule(), nullptr);
}

}  // namespace
