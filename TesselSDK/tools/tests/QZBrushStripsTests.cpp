// The brush tools' size and colour strips: which report a strip index gives (the eraser at both
// ends of the colour strip), what each cell shows and what a person calls it, and that every
// image a strip can ask for is in the built bundle.
#include "TesselSDK/shell/tests/QZShellTestSupport.h"

#include "TesselSDK/tools/brush/QZColorConveyorController.h"
#include "TesselSDK/tools/brush/QZColorConveyorViewCell.h"
#include "TesselSDK/tools/brush/QZEraserConveyorViewCell.h"
#include "TesselSDK/tools/brush/QZSizeConveyorController.h"
#include "TesselSDK/tools/brush/QZSpotConveyorViewCell.h"

#include "TesselSDKFoundation/QZDrawing.h"
#include "TesselSDKFoundation/QZSDKResources.h"

#include <string>
#include <vector>

namespace {

// What a strip controller tells its delegate, one line each.
struct Heard : QZColorConveyorControllerDelegate, QZSizeConveyorControllerDelegate {
    std::vector<std::string> lines;
    void colorControllerDidSelectColorAtIndex(QZColorConveyorController*, const std::shared_ptr<UIColor>& color,
                                              NSInteger index) override
    {
        lines.push_back("color " + QZColorConveyorController::nameForColor(color) + " " + std::to_string(index));
    }
    void colorControllerDidScrollToColorAtIndex(QZColorConveyorController*, const std::shared_ptr<UIColor>& color,
                                                NSInteger index) override
    {
        lines.push_back("scroll color " + QZColorConveyorController::nameForColor(color) + " " + std::to_string(index));
    }
    void colorControllerDidSelectEraser(QZColorConveyorController*, bool selected) override
    {
        lines.push_back(std::string("eraser ") + (selected ? "YES" : "NO"));
    }
    void colorControllerDidScrollToEraser(QZColorConveyorController*, bool selected) override
    {
        lines.push_back(std::string("scroll eraser ") + (selected ? "YES" : "NO"));
    }
    void sizeControllerDidSelectSize(QZSizeConveyorController*, CGFloat size) override
    {
        lines.push_back("size " + std::to_string(int(size)));
    }
    void sizeControllerDidScrollToSize(QZSizeConveyorController*, CGFloat size) override
    {
        lines.push_back("scroll size " + std::to_string(int(size)));
    }
    std::vector<std::string> take() { return std::exchange(lines, {}); }
};

class QZBrushStripsTest : public QZShellTest {
protected:
    // A strip across the bottom of a phone screen; shown once its controller is made.
    std::shared_ptr<QZConveyorView> makeStrip() { return QZConveyorView::make(CGRectMake(0, 455, 320, 100), 54); }
    void show(const std::shared_ptr<QZConveyorView>& strip)
    {
        window_->addSubview(strip);
        strip->layoutIfNeeded();
        driver_.turn();
    }

    std::shared_ptr<Heard> heard_ = std::make_shared<Heard>();
};

const QZColorConveyorController::Colors kThreeColors = {UIColor::redColor(), QZUIColorWithHexString("#4CB84A"),
                                                        UIColor::blueColor()};

TEST_F(QZBrushStripsTest, TheColourStripPutsTheEraserAtBothEndsAndReportsEachColourByItsOwnIndex)
{
    auto strip = makeStrip();
    auto colors = QZColorConveyorController::make(strip, kThreeColors, true);
    colors->setDelegate(heard_);
    ASSERT_EQ(colors->numberOfItemsInConveyorView(strip.get()), 5);
    for (NSInteger index : {0, 4})
        EXPECT_NE(
            std::dynamic_pointer_cast<QZEraserConveyorViewCell>(colors->conveyorViewCellForIndex(strip.get(), index)),
            nullptr)
            << index;

    // Selections through the strip; scrolling as the strip reports it while it moves.
    struct Step {
        const char* action;
        NSInteger index;
        std::vector<std::string> heard;
        bool eraserSelected;
        const char* selectedColor;  // nameForColor of selectedColor, "" for none
    } steps[] = {
        {"select", 2, {"color Green 1"}, false, "Green"},
        {"select", 2, {"color Green 1"}, false, "Green"},  // every selection is reported
        {"select", 0, {"eraser YES"}, true, "Green"},
        {"select", 4, {}, true, "Green"},  // the eraser at the other end is the same eraser
        {"select", 3, {"eraser NO", "color Blue 2"}, false, "Blue"},
        {"scroll", 4, {"scroll eraser YES"}, true, "Blue"},
        {"scroll", 1, {"scroll eraser NO", "scroll color Red 0"}, false, "Blue"},  // scrolling never picks a colour
        {"scroll", 7, {}, false, "Blue"},                                          // past the strip: nothing
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(std::string(step.action) + " " + std::to_string(step.index));
        if (std::string(step.action) == "select")
            strip->selectItemAtIndex(step.index, false);
        else
            colors->conveyorViewDidScrollToIndex(strip.get(), step.index);
        EXPECT_EQ(heard_->take(), step.heard);
        EXPECT_EQ(colors->eraserSelected(), step.eraserSelected);
        EXPECT_EQ(QZColorConveyorController::nameForColor(colors->selectedColor()), step.selectedColor);
    }
}

TEST_F(QZBrushStripsTest, APersonPicksAColourAndTheEraserByTheirNames)
{
    auto strip = makeStrip();
    auto colors = QZColorConveyorController::make(strip, kThreeColors, true);
    colors->setDelegate(heard_);
    show(strip);
    strip->selectItemAtIndex(2, false);
    driver_.advance(0.5);
    heard_->take();

    // The strip slides the tapped cell to its middle, reporting it as it passes, then selects it.
    ASSERT_TRUE(driver_.tapViewWithLabel("Blue"));
    driver_.advance(0.5);
    EXPECT_EQ(heard_->take(), (std::vector<std::string>{"scroll color Blue 2", "color Blue 2"}));
    // Reaching the eraser already turned it on: the selection has nothing more to report.
    ASSERT_TRUE(driver_.tapViewWithLabel("Eraser"));
    driver_.advance(0.5);
    EXPECT_EQ(heard_->take(), (std::vector<std::string>{"scroll eraser YES"}));
    EXPECT_TRUE(colors->eraserSelected());
    EXPECT_EQ(colors->selectedColor(), kThreeColors[2]);
}

TEST_F(QZBrushStripsTest, AnEmptyPaletteWithTheEraserIsTwoEraserCells)
{
    auto strip = makeStrip();
    auto colors = QZColorConveyorController::make(strip, {}, true);
    colors->setDelegate(heard_);
    ASSERT_EQ(colors->numberOfItemsInConveyorView(strip.get()), 2);
    for (NSInteger index : {0, 1})
        EXPECT_NE(
            std::dynamic_pointer_cast<QZEraserConveyorViewCell>(colors->conveyorViewCellForIndex(strip.get(), index)),
            nullptr);
    strip->selectItemAtIndex(1, false);
    strip->selectItemAtIndex(0, false);
    EXPECT_EQ(heard_->take(), (std::vector<std::string>{"eraser YES"}));

    // Without the eraser the strip is the colours alone.
    auto plain = QZColorConveyorController::make(strip);
    EXPECT_EQ(plain->numberOfItemsInConveyorView(strip.get()), 8);
    EXPECT_NE(std::dynamic_pointer_cast<QZColorConveyorViewCell>(plain->conveyorViewCellForIndex(strip.get(), 0)),
              nullptr);
}

TEST_F(QZBrushStripsTest, TheSizeStripReportsTheSizeSelectedAndTheSizesScrolledPast)
{
    auto strip = makeStrip();
    auto sizes = QZSizeConveyorController::make(strip);
    sizes->setDelegate(heard_);
    show(strip);
    EXPECT_EQ(sizes->selectedSize(), 0);
    EXPECT_TRUE(sizes->showsGlowBox());
    ASSERT_EQ(sizes->numberOfItemsInConveyorView(strip.get()), 6);

    strip->selectItemAtIndex(2, false);
    EXPECT_EQ(heard_->take(), (std::vector<std::string>{"scroll size 10", "size 10"}));
    EXPECT_EQ(sizes->selectedSize(), 10);
    sizes->conveyorViewDidScrollToIndex(strip.get(), 5);
    EXPECT_EQ(heard_->take(), (std::vector<std::string>{"scroll size 50"}));
    EXPECT_EQ(sizes->selectedSize(), 10);
    sizes->conveyorViewDidScrollToIndex(strip.get(), 6);
    EXPECT_TRUE(heard_->take().empty());

    // A person's tap on a size by its name.
    driver_.advance(0.5);
    ASSERT_TRUE(driver_.tapViewWithLabel("Large"));
    driver_.advance(0.5);
    EXPECT_EQ(heard_->take(), (std::vector<std::string>{"scroll size 15", "size 15"}));
    EXPECT_EQ(sizes->selectedSize(), 15);
}

TEST_F(QZBrushStripsTest, CellsShowTheirImagesAndCarryTheNamesAPersonUses)
{
    struct Row {
        std::shared_ptr<UIColor> color;
        const char* image;
        const char* name;
    } colors[] = {
        {UIColor::redColor(), "0xffff0000.png", "Red"},
        {UIColor::whiteColor(), "0xffffffff.png", "White"},    // a grey colour has RGB components too
        {UIColor::orangeColor(), "0xffff7f00.png", "Orange"},  // 0.5 truncates to 7f
        {UIColor::purpleColor(), "0xff7f007f.png", "Purple"},
        {QZUIColorWithHexString("#E5261F"), "0xffe5261f.png", "Red"},
        {QZUIColorWithHexString("#2B4FA8"), "0xff2b4fa8.png", "Dark Blue"},
        {QZUIColorWithHexString("#12ab9C"), "0xff12ab9c.png", "#12AB9C"},
        {UIColor::colorWithRed(1.5f, -0.2f, 0.5f, 1), "0xffff007f.png", "#FF007F"},  // out of range: clamped
    };
    for (const Row& row : colors) {
        SCOPED_TRACE(row.image);
        EXPECT_EQ(QZColorConveyorController::chipImageNameForColor(row.color), row.image);
        EXPECT_EQ(QZColorConveyorController::nameForColor(row.color), row.name);
    }

    struct SizeRow {
        CGFloat size;
        const char* image;
        const char* activeImage;
        const char* name;
    } sizes[] = {
        {2, "2.png", "2-active.png", "Extra Small"},   {10, "10.png", "10-active.png", "Medium"},
        {15, "15.png", "15-active.png", "Large"},      {50, "50.png", "50-active.png", "Huge"},
        {12.7f, "12.png", "12-active.png", "Size 12"},
    };
    for (const SizeRow& row : sizes) {
        SCOPED_TRACE(row.image);
        EXPECT_EQ(QZSizeConveyorController::imageNameForSize(row.size, false), row.image);
        EXPECT_EQ(QZSizeConveyorController::imageNameForSize(row.size, true), row.activeImage);
        EXPECT_EQ(QZSizeConveyorController::nameForSize(row.size), row.name);
    }

    // The cells handed out show them; Portuguese names on a Portuguese device.
    auto strip = makeStrip();
    auto colorStrip = QZColorConveyorController::make(strip);
    auto chip =
        std::dynamic_pointer_cast<QZColorConveyorViewCell>(colorStrip->conveyorViewCellForIndex(strip.get(), 2));
    ASSERT_NE(chip, nullptr);
    EXPECT_EQ(chip->colorChipView()->image(), QZSDKResources::imageNamed("0xffff0000.png"));
    EXPECT_EQ(chip->accessibilityLabel(), "Red");
    auto sizeStrip = QZSizeConveyorController::make(strip);
    auto spot = std::dynamic_pointer_cast<QZSpotConveyorViewCell>(sizeStrip->conveyorViewCellForIndex(strip.get(), 3));
    ASSERT_NE(spot, nullptr);
    EXPECT_EQ(spot->brushImageView()->image(), QZSDKResources::imageNamed("15.png"));
    EXPECT_EQ(spot->brushImageView()->highlightedImage(), QZSDKResources::imageNamed("15-active.png"));
    EXPECT_EQ(spot->accessibilityLabel(), "Large");

    PlatformSettings::setPreferredLanguages({"pt-BR"});
    EXPECT_EQ(QZColorConveyorController::nameForColor(UIColor::redColor()), "Vermelho");
    EXPECT_EQ(QZSizeConveyorController::nameForSize(12), "Tamanho 12");
    EXPECT_EQ(QZConveyorViewCell::cellWithReuseIdentifier<QZEraserConveyorViewCell>("e")->accessibilityLabel(),
              "Borracha");
}

// The chip of every colour a strip can show: the default colours and every "colors" palette of
// the tool table (the draw and text tools'). A palette colour added without its chip fails here.
TEST_F(QZBrushStripsTest, EveryChipAndSizeImageIsInTheBuiltBundle)
{
    std::vector<std::string> names;
    for (const auto& color : QZColorConveyorController::defaultColors())
        names.push_back(QZColorConveyorController::chipImageNameForColor(color));
    std::size_t palettes = 0;
    const Value plugins = QZSDKResources::plugins();
    ASSERT_TRUE(plugins.isDictionary());
    for (const auto& [key, entry] : *plugins.asDictionary()) {
        const Value colors = entry["settings"]["colors"];
        if (!colors.isArray()) continue;
        ++palettes;
        for (std::size_t i = 0; i < colors.count(); ++i)
            names.push_back(
                QZColorConveyorController::chipImageNameForColor(QZUIColorWithHexString(colors[i].stringValue())));
    }
    EXPECT_GE(palettes, 2u) << "the draw and text tools' palettes";
    for (CGFloat size : QZSizeConveyorController::defaultSizes()) {
        names.push_back(QZSizeConveyorController::imageNameForSize(size, false));
        names.push_back(QZSizeConveyorController::imageNameForSize(size, true));
    }
    names.push_back("eraser.png");
    names.push_back("eraser-active.png");
    for (const std::string& name : names) EXPECT_NE(QZSDKResources::imageNamed(name), nullptr) << name;
}

TEST_F(QZBrushStripsTest, CellsPlaceTheirImagesAndLightThemWhenDepressed)
{
    struct Row {
        std::shared_ptr<QZConveyorViewCell> cell;
        std::shared_ptr<UIImageView> image;
        CGFloat side;
        CGFloat singleLift, doubleLift;  // points above the middle
        bool lightsUp;
    };
    auto spot = QZConveyorViewCell::cellWithReuseIdentifier<QZSpotConveyorViewCell>("s");
    auto chip = QZConveyorViewCell::cellWithReuseIdentifier<QZColorConveyorViewCell>("c");
    auto eraser = QZConveyorViewCell::cellWithReuseIdentifier<QZEraserConveyorViewCell>("e");
    const Row rows[] = {
        {spot, spot->brushImageView(), 34, 0, -4, true},
        {chip, chip->colorChipView(), 26, 1, 1, false},
        {eraser, eraser->eraserView(), 26, 3, 3, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.side);
        row.cell->setBounds(CGRectMake(0, 0, 54, 100));
        for (QZConveyorViewType type : {QZConveyorViewTypeSingle, QZConveyorViewTypeDouble}) {
            row.cell->setType(type);
            row.cell->setNeedsLayout();
            row.cell->layoutIfNeeded();
            const CGRect bounds = row.cell->bounds();
            const CGRect frame = row.image->convertRectToView(row.image->bounds(), row.cell.get());
            EXPECT_EQ(frame.size.width, row.side);
            EXPECT_EQ(frame.size.height, row.side);
            EXPECT_FLOAT_EQ(CGRectGetMidX(frame), CGRectGetMidX(bounds));
            EXPECT_FLOAT_EQ(CGRectGetMidY(bounds) - CGRectGetMidY(frame),
                            type == QZConveyorViewTypeSingle ? row.singleLift : row.doubleLift);
        }
        row.cell->setDepressed(true);
        EXPECT_TRUE(row.cell->isDepressed());
        EXPECT_EQ(row.image->isHighlighted(), row.lightsUp);
        row.cell->reset();
        EXPECT_FALSE(row.image->isHighlighted());
    }
    EXPECT_EQ(eraser->eraserView()->image(), QZSDKResources::imageNamed("eraser.png"));
    EXPECT_EQ(eraser->eraserView()->highlightedImage(), QZSDKResources::imageNamed("eraser-active.png"));
}

}  // namespace
