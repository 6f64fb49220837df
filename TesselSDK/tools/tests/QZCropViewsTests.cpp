// The crop tool's parts without a GL instance: presets from their dictionaries, the preset cell's
// labels and icon, the thirds grid, and the crop overlay over a plain picture, its box fitted to
// presets and resized and dragged by touches as a person does.
#include "TesselSDK/tools/QZCropBoxGridView.h"
#include "TesselSDK/tools/QZCropConveyorViewCell.h"
#include "TesselSDK/tools/QZCropOverlayView.h"
#include "TesselSDK/tools/QZCropPreset.h"

#include "TesselSDK/shell/tests/QZPhotoEditorReplaySupport.h"
#include "TesselSDK/shell/tests/QZShellTestSupport.h"

#include "TesselSDKFoundation/QZSDKResources.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

// ---- Presets ----

Value presetDictionary(Value width, Value height, const char* name = nullptr)
{
    Value dictionary = Value::dictionary({{kQZCropPresetWidth, width}, {kQZCropPresetHeight, height}});
    if (name) dictionary.setObject(Value(name), kQZCropPresetName);
    return dictionary;
}

class QZCropPresetTest : public QZShellTest {};

TEST_F(QZCropPresetTest, SidesFollowThePhotosOrientationUnlessStrictAndOnlyRatiosTurn)
{
    struct Row {
        const char* what;
        Value dictionary;
        bool landscape;
        bool strict;
        CGSize sides;
        bool isStrict;
        bool turnsWithTheFlag;
    };
    const Row rows[] = {
        {"3:2 on a landscape photo", presetDictionary(3, 2), true, false, {3, 2}, false, true},
        {"2:3 on a landscape photo", presetDictionary(2, 3), true, false, {3, 2}, false, true},
        {"3:2 on a portrait photo", presetDictionary(3, 2), false, false, {2, 3}, false, true},
        {"2:3 on a portrait photo", presetDictionary(2, 3), false, false, {2, 3}, false, true},
        {"3:2 strict on a portrait photo", presetDictionary(3, 2), false, true, {3, 2}, true, false},
        {"2:3 strict on a landscape photo", presetDictionary(2, 3), true, true, {2, 3}, true, false},
        {"a named square", presetDictionary(5, 5, "Square"), true, false, {5, 5}, true, false},
        // Custom: free form, keeping the photo's own orientation.
        {"Custom, landscape", presetDictionary(-1024, -683, "Custom"), true, false, {-1024, -683}, true, false},
        {"Custom, portrait", presetDictionary(-683, -1024, "Custom"), false, false, {-683, -1024}, true, false},
        {"a free 4:3 on a landscape photo", presetDictionary(-3, -4), true, false, {-4, -3}, false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        auto preset = QZCropPreset::make(row.dictionary, row.landscape, row.strict);
        ASSERT_NE(preset, nullptr);
        EXPECT_EQ(preset->width(), row.sides.width);
        EXPECT_EQ(preset->height(), row.sides.height);
        EXPECT_EQ(preset->isStrict(), row.isStrict);
        EXPECT_EQ(preset->name().has_value(), row.dictionary[kQZCropPresetName].isString());
        auto turned = std::make_shared<bool>(false);
        preset->setReversed(turned);
        EXPECT_FALSE(preset->isReversed());
        *turned = true;
        EXPECT_EQ(preset->isReversed(), row.turnsWithTheFlag);
    }
    // A preset whose screen is gone still reads its own share of the flag.
    auto preset = QZCropPreset::make(presetDictionary(3, 2), true, false);
    {
        auto turned = std::make_shared<bool>(true);
        preset->setReversed(turned);
    }
    EXPECT_TRUE(preset->isReversed());
}

// ---- The preset cell ----

class QZCropConveyorViewCellTest : public QZShellTest {
protected:
    // A cell as the strip shows it: 60 points along the strip, 100 across.
    std::shared_ptr<QZCropConveyorViewCell> makeCell()
    {
        auto cell = QZConveyorViewCell::cellWithReuseIdentifier<QZCropConveyorViewCell>("crop");
        // Upright, as the turned strip shows it.
        cell->setTransform(CGAffineTransformIdentity);
        cell->setBounds(CGRectMake(0, 0, 60, 100));
        cell->setCenter(CGPointMake(160, 300));
        window_->addSubview(cell);
        return cell;
    }
    std::shared_ptr<QZCropPreset> ratio(CGFloat w, CGFloat h, bool strict)
    {
        auto preset = QZCropPreset::make(presetDictionary(w, h), true, strict);
        preset->setReversed(turned_);
        return preset;
    }
    // The texts shown, left to right in the window.
    static std::vector<std::string> shownTexts(const QZCropConveyorViewCell& cell)
    {
        std::vector<std::pair<CGFloat, std::string>> shown;
        for (const auto& label : {cell.widthLabel(), cell.colonLabel(), cell.heightLabel(), cell.nameLabel()})
            if (!label->isHidden())
                shown.emplace_back(CGRectGetMidX(label->convertRectToView(label->bounds(), nullptr)), label->text());
        std::sort(shown.begin(), shown.end());
        std::vector<std::string> texts;
        for (const auto& [x, text] : shown) texts.push_back(text);
        return texts;
    }

    std::shared_ptr<bool> turned_ = std::make_shared<bool>(false);
};

TEST_F(QZCropConveyorViewCellTest, ShowsTheNameOrTheRatioAsItStandsWithTheInvertIconOnlyWhereItCanTurn)
{
    struct Row {
        const char* what;
        std::shared_ptr<QZCropPreset> preset;
        bool turned;
        bool depressed;
        std::vector<std::string> texts;
        bool iconShown;
        bool iconActive;
    };
    auto custom = QZCropPreset::make(presetDictionary(-1024, -683, "Custom"), true, false);
    custom->setReversed(turned_);
    const Row rows[] = {
        {"Custom", custom, false, false, {"Custom"}, false, false},
        {"Custom, depressed and the flag turned", custom, true, true, {"Custom"}, false, false},
        {"3:2", ratio(3, 2, false), false, false, {"3", ":", "2"}, false, false},
        {"3:2 depressed", ratio(3, 2, false), false, true, {"3", ":", "2"}, true, false},
        {"3:2 turned", ratio(3, 2, false), true, false, {"2", ":", "3"}, false, true},
        {"3:2 turned and depressed", ratio(3, 2, false), true, true, {"2", ":", "3"}, true, true},
        {"3:2 strict, depressed, the flag turned", ratio(3, 2, true), true, true, {"3", ":", "2"}, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        *turned_ = row.turned;
        auto cell = makeCell();
        cell->setPreset(row.preset);
        cell->setDepressed(row.depressed);
        cell->layoutIfNeeded();
        EXPECT_EQ(shownTexts(*cell), row.texts);
        std::string joined;
        for (const auto& text : row.texts) joined += text;
        EXPECT_EQ(cell->accessibilityLabel(), joined) << "what a tap by label finds";
        EXPECT_EQ(!cell->invertIconView()->isHidden(), row.iconShown);
        EXPECT_EQ(cell->invertIconView()->isHighlighted(), row.iconActive);
        for (const auto& label : {cell->widthLabel(), cell->colonLabel(), cell->heightLabel(), cell->nameLabel()})
            EXPECT_EQ(label->isHighlighted(), row.depressed);
        EXPECT_EQ(UITestDriver::visibleViewWithLabel(joined), cell);
        cell->removeFromSuperview();
    }
}

TEST_F(QZCropConveyorViewCellTest, TurningTheSharedFlagShowsOnTheNextLayout)
{
    auto cell = makeCell();
    cell->setPreset(ratio(4, 3, false));
    cell->setDepressed(true);
    cell->layoutIfNeeded();
    EXPECT_EQ(cell->accessibilityLabel(), "4:3");
    // As the crop screen turns every ratio: the flag, then a layout of each visible cell.
    *turned_ = true;
    cell->layoutSubviews();
    EXPECT_EQ(shownTexts(*cell), (std::vector<std::string>{"3", ":", "4"}));
    EXPECT_EQ(cell->accessibilityLabel(), "3:4");
    EXPECT_TRUE(cell->invertIconView()->isHighlighted());
    // Handed out again by the strip: reset first, then the new preset; the flag stays the screen's.
    cell->reset();
    EXPECT_TRUE(cell->invertIconView()->isHidden());
    EXPECT_FALSE(cell->widthLabel()->isHighlighted());
    EXPECT_FALSE(cell->isDepressed());
}

TEST_F(QZCropConveyorViewCellTest, SidesAreTruncatedTowardZero)
{
    const std::pair<CGFloat, const char*> sides[] = {{1.5f, "1"}, {-2.7f, "-2"}, {0, "0"}, {-0.5f, "0"}, {16, "16"}};
    for (const auto& [side, text] : sides) {
        SCOPED_TRACE(text);
        auto cell = makeCell();
        cell->setPreset(QZCropPreset::make(presetDictionary(side, 9), true, true));
        EXPECT_EQ(cell->widthLabel()->text(), text);
        EXPECT_EQ(cell->heightLabel()->text(), "9");
        cell->removeFromSuperview();
    }
}

// Numbers of different widths: the group of number, colon and number is centred on the cell, the
// numbers stand 3 points from the colon and 1 point lower, and the icon 12 points under them.
// A name is drawn inside the strip's 46-point selection frame, centred on the cell: a long one in a
// smaller type, a short one at its own size (also in a cell that showed a long one before).
TEST_F(QZCropConveyorViewCellTest, ANameFitsInsideTheSelectionFrame)
{
    struct Row {
        const char* name;
        bool shrunk;
    };
    auto cell = makeCell();
    for (const Row& row : {Row{"Custom", true}, Row{"Widescreen", true}, Row{"Pic", false}}) {
        SCOPED_TRACE(row.name);
        cell->setPreset(QZCropPreset::make(presetDictionary(-1024, -683, row.name), true, false));
        cell->layoutIfNeeded();
        const CGRect name = cell->nameLabel()->frame();
        EXPECT_LE(name.size.width, 40);
        EXPECT_NEAR(CGRectGetMidX(name), 30, 0.5);
        EXPECT_EQ(cell->nameLabel()->font()->pointSize() < 12, row.shrunk);
    }
}

TEST_F(QZCropConveyorViewCellTest, TheRatioIsCentredWhateverTheNumbersWidths)
{
    for (bool turned : {false, true}) {
        SCOPED_TRACE(turned ? "turned" : "as written");
        *turned_ = turned;
        auto cell = makeCell();
        cell->setPreset(ratio(16, 9, false));
        cell->layoutIfNeeded();
        const CGRect colon = cell->colonLabel()->frame();
        const CGRect left = (turned ? cell->heightLabel() : cell->widthLabel())->frame();
        const CGRect right = (turned ? cell->widthLabel() : cell->heightLabel())->frame();
        ASSERT_NE(left.size.width, right.size.width) << "the case needs numbers of different widths";
        const CGPoint c = QZCGRectGetCenter(cell->bounds());
        EXPECT_NEAR((CGRectGetMinX(left) + CGRectGetMaxX(right)) / 2, c.x, 1e-4);
        EXPECT_NEAR(CGRectGetMinX(colon) - CGRectGetMaxX(left), 3, 1e-4);
        EXPECT_NEAR(CGRectGetMinX(right) - CGRectGetMaxX(colon), 3, 1e-4);
        EXPECT_NEAR(CGRectGetMidY(colon), c.y, 1e-4);
        EXPECT_NEAR(CGRectGetMidY(left) - CGRectGetMidY(colon), 1, 1e-4);
        EXPECT_NEAR(CGRectGetMidY(right) - CGRectGetMidY(colon), 1, 1e-4);
        const CGPoint icon = cell->invertIconView()->center();
        EXPECT_NEAR(icon.x, c.x, 1e-4);
        EXPECT_NEAR(icon.y, CGRectGetMaxY(left) + 12, 1e-4);
        cell->removeFromSuperview();
    }
    // Never given a preset: laid out as not turned, with nothing to show.
    auto empty = makeCell();
    empty->layoutIfNeeded();
    EXPECT_EQ(empty->widthLabel()->text(), "");
    EXPECT_LT(CGRectGetMidX(empty->widthLabel()->frame()), CGRectGetMidX(empty->heightLabel()->frame()));
    EXPECT_EQ(empty->accessibilityLabel(), "");
}

// ---- The grid ----

class QZCropBoxGridViewTest : public QZShellTest {};

TEST_F(QZCropBoxGridViewTest, ThirdsLinesAndJointsAreSharedPiecesDrawnOnce)
{
    auto grid = UIView::viewWithFrame<QZCropBoxGridView>(CGRectMake(0, 0, 99, 99));
    ASSERT_EQ(grid->verticalLineViews().size(), 12u);
    ASSERT_EQ(grid->horizontalLineViews().size(), 12u);
    ASSERT_EQ(grid->intersectionViews().size(), 16u);
    EXPECT_FALSE(grid->isUserInteractionEnabled());
    grid->setFrame(CGRectMake(0, 0, 99, 99));
    // Lines at x = -1, 31, 65 and 97, three points thick.
    EXPECT_EQ(grid->horizontalLineViews()[4]->frame(), CGRectMake(34, 31, 31, 3));
    EXPECT_EQ(grid->verticalLineViews()[4]->frame(), CGRectMake(31, 34, 3, 31));
    EXPECT_EQ(grid->intersectionViews()[5]->frame(), CGRectMake(31, 31, 3, 3));
    EXPECT_EQ(grid->intersectionViews()[15]->frame(), CGRectMake(97, 97, 3, 3));
    EXPECT_EQ(grid->horizontalLineViews()[0]->frame(), CGRectMake(2, -1, 29, 3));

    // Joints: ends on the outer columns and rows, crosses inside.
    const std::map<int, QZCropBoxImageType> joints = {
        {0, QZCropBoxImageTypeUDR},  {3, QZCropBoxImageTypeUDL},           {1, QZCropBoxImageTypeLRD},
        {13, QZCropBoxImageTypeLRU}, {5, QZCropBoxImageTypeIntersectUDLR}, {10, QZCropBoxImageTypeIntersectUDLR},
    };
    auto second = UIView::viewWithFrame<QZCropBoxGridView>(CGRectMake(0, 0, 200, 150));
    for (const auto& [index, type] : joints) {
        SCOPED_TRACE(index);
        const auto image = grid->intersectionViews()[std::size_t(index)]->image();
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image, QZCropBoxGridView::imageOfType(type));
        // The same drawing in every grid: each piece is drawn once.
        EXPECT_EQ(second->intersectionViews()[std::size_t(index)]->image(), image);
    }
    const auto vertical = QZCropBoxGridView::imageOfType(QZCropBoxImageTypeVertical);
    for (const auto& view : second->verticalLineViews()) EXPECT_EQ(view->image(), vertical);
    // Cached under the piece's name: asked under it with no drawing, the cache answers.
    EXPECT_EQ(QZSDKResources::cachedImageForKey("QZCropBoxImageTypeVertical", CGSizeMake(3, 1), nullptr), vertical);
    EXPECT_EQ(QZCropBoxGridView::imageOfType(QZCropBoxImageType(7)), nullptr);

    // The vertical run: white at 0.78 over its black shadow down the middle column, only the soft
    // shadow either side (premultiplied pixels).
    const qz_test::Pixels run = qz_test::pixelsOf(vertical);
    ASSERT_EQ(run.width, 3u);
    const auto middle = run.at(1, 0), side = run.at(0, 0);
    EXPECT_NEAR(middle[0], 0.78 * 255, 3);
    EXPECT_EQ(middle[0], middle[2]) << "not white";
    EXPECT_GT(middle[3], middle[0]) << "no shadow under the line";
    EXPECT_EQ(side[0], 0);
    EXPECT_GT(side[3], 0);
    EXPECT_LT(side[3], middle[3]);
}

// ---- The overlay and its box ----

// The picture the overlay lies over: M, in the overlay's coordinates.
struct FixedPhotoRect : QZCropOverlayViewDelegate {
    CGRect rect;
    CGRect cropOverlayViewBoundsForCropBox(QZCropOverlayView*) override { return rect; }
};

class QZCropOverlayViewTest : public QZShellTest {
protected:
    static constexpr CGFloat kInset = 12;

    void SetUp() override
    {
        QZShellTest::SetUp();
        // A plain picture under the overlay where M is, and the overlay over the window's top.
        photo_ = UIView::viewWithFrame(photoRect_->rect);
        photo_->setBackgroundColor(UIColor::colorWithRed(200 / 255.0f, 100 / 255.0f, 50 / 255.0f, 1));
        window_->addSubview(photo_);
        overlay_ = UIView::viewWithFrame<QZCropOverlayView>(CGRectMake(0, 0, 320, 519));
        overlay_->setDelegate(photoRect_);
        window_->addSubview(overlay_);
        box_ = overlay_->cropBoxView();
        ASSERT_NE(box_, nullptr);
    }

    void configure(CGSize size, bool constrained)
    {
        overlay_->setConstrainToProportions(constrained);
        if (constrained) overlay_->setPresetSize(size);
        overlay_->configureWithSize(size, false);
        driver_.turn();
    }
    CGRect content() const { return box_->contentRect(); }
    // A person's drag of the handle on that corner of the content by (dx, dy).
    void dragHandle(QZCGRectCorner corner, CGPoint by)
    {
        const CGPoint at = QZCGRectGetCorner(content(), corner);
        driver_.drag({at, CGPointMake(at.x + by.x, at.y + by.y)}, 0.3);
        driver_.advance(0.3);
    }
    void expectDimmersAroundContent()
    {
        overlay_->layoutIfNeeded();
        const CGRect g = content();
        const CGFloat w = 3 * 320, h = 3 * 519;
        const auto& d = overlay_->dimmerViews();
        EXPECT_EQ(d[QZCropOverlayViewDimmerTop]->frame(), CGRectMake(0, 0, w, CGRectGetMinY(g)));
        EXPECT_EQ(d[QZCropOverlayViewDimmerRight]->frame(),
                  CGRectMake(CGRectGetMaxX(g), CGRectGetMinY(g), w - CGRectGetMaxX(g), g.size.height));
        EXPECT_EQ(d[QZCropOverlayViewDimmerLeft]->frame(),
                  CGRectMake(0, CGRectGetMinY(g), CGRectGetMinX(g), g.size.height));
        EXPECT_EQ(d[QZCropOverlayViewDimmerBottom]->frame(), CGRectMake(0, CGRectGetMaxY(g), w, h - CGRectGetMaxY(g)));
    }

    // M: centred in the overlay, as the crop screen's canvas puts it.
    std::shared_ptr<FixedPhotoRect> photoRect_ = [] {
        auto rect = std::make_shared<FixedPhotoRect>();
        rect->rect = CGRectMake(10, 159.5f, 300, 200);
        return rect;
    }();
    std::shared_ptr<UIView> photo_;
    std::shared_ptr<QZCropOverlayView> overlay_;
    std::shared_ptr<QZCropBoxView> box_;
};

TEST_F(QZCropOverlayViewTest, ThePresetsSidesAreFittedToThePhotoAndCentred)
{
    struct Row {
        const char* what;
        Value dictionary;
        bool turned;
        bool constrained;
        CGSize content;
    };
    const Row rows[] = {
        {"3:2", presetDictionary(3, 2), false, true, {300, 200}},
        {"3:2 turned", presetDictionary(3, 2), true, true, {133.33333f, 200}},
        {"1:1", presetDictionary(1, 1), false, true, {200, 200}},
        {"free 4:3", presetDictionary(-4, -3), false, false, {266.66666f, 200}},
        {"Custom", presetDictionary(-300, -200, "Custom"), true, false, {300, 200}},
        // No sides to fit: the whole photo, resized freely.
        {"0:0", presetDictionary(0, 0), false, false, {300, 200}},
        {"0:2", presetDictionary(0, 2), false, false, {300, 200}},
        {"3:0", presetDictionary(3, 0), true, false, {300, 200}},
    };
    EXPECT_EQ(box_->alpha(), 0) << "shown before any preset";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        auto preset = QZCropPreset::make(row.dictionary, true, false);
        preset->setReversed(std::make_shared<bool>(row.turned));
        overlay_->configureForPreset(*preset, false, !row.turned);
        const CGRect g = content();
        for (CGFloat v : {g.origin.x, g.origin.y, g.size.width, g.size.height}) ASSERT_TRUE(std::isfinite(v));
        EXPECT_EQ(box_->alpha(), 1);
        EXPECT_EQ(overlay_->isConstrainedToProportions(), row.constrained);
        EXPECT_NEAR(g.size.width, row.content.width, 1e-3);
        EXPECT_NEAR(g.size.height, row.content.height, 1e-3);
        EXPECT_NEAR(CGRectGetMidX(g), 160, 1e-3);
        EXPECT_NEAR(CGRectGetMidY(g), 259.5, 1e-3);
    }
    // Animated, the box reaches the preset's frame after 0.2 s and stays.
    overlay_->configureForPreset(*QZCropPreset::make(presetDictionary(1, 1), true, false), true, false);
    driver_.advance(0.25);
    EXPECT_NEAR(box_->layer()->presentationLayer()->bounds().size.width, 200 + 2 * kInset, 1e-3);
    expectDimmersAroundContent();
}

TEST_F(QZCropOverlayViewTest, HandlesResizeWithinTheMinimumAndThePhotoAndKeepARatio)
{
    struct Row {
        const char* what;
        CGSize preset;
        bool constrained;
        QZCGRectCorner handle;
        CGPoint drag;
        CGSize frame;  // the box's frame after, handles' inset included
    };
    const QZCGRectCorner bottomRight = QZCGRectBottomRightCorner, topLeft = QZCGRectTopLeftCorner;
    // 1:1 fits a 200 x 200 content in the 300 x 200 photo, 3:2 the whole photo.
    const Row rows[] = {
        // Past the opposite corner: 75 x 75 at the fixed corner.
        {"free, shrunk to nothing", {1, 1}, false, bottomRight, {-400, -400}, {75, 75}},
        {"free, shrunk to nothing from the top left", {1, 1}, false, topLeft, {400, 400}, {75, 75}},
        {"free, a little smaller", {1, 1}, false, bottomRight, {-50, -20}, {174, 204}},
        {"free, a little smaller from the top left", {1, 1}, false, topLeft, {30, 10}, {194, 214}},
        // Out past the photo: the photo plus the inset, no more.
        {"free, past the photo", {1, 1}, false, bottomRight, {200, 200}, {250 + 2 * kInset, 200 + 2 * kInset}},
        {"free, past the photo from the top left",
         {1, 1},
         false,
         topLeft,
         {-200, -200},
         {250 + 2 * kInset, 200 + 2 * kInset}},
        // The ratio kept, the fixed corner too.
        {"3:2, shrunk", {3, 2}, true, bottomRight, {-60, -10}, {240 + 2 * kInset, 160 + 2 * kInset}},
        {"1:1, past the photo", {1, 1}, true, bottomRight, {300, 300}, {200 + 2 * kInset, 200 + 2 * kInset}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        configure(row.preset, row.constrained);
        const QZCGRectCorner fixedCorner = row.handle == topLeft ? bottomRight : topLeft;
        const CGPoint fixed = QZCGRectGetCorner(box_->frame(), fixedCorner);
        dragHandle(row.handle, row.drag);
        const CGRect frame = box_->frame();
        EXPECT_NEAR(frame.size.width, row.frame.width, 0.01);
        EXPECT_NEAR(frame.size.height, row.frame.height, 0.01);
        const CGPoint after = QZCGRectGetCorner(frame, fixedCorner);
        EXPECT_NEAR(after.x, fixed.x, 1e-3) << "the fixed corner moved";
        EXPECT_NEAR(after.y, fixed.y, 1e-3) << "the fixed corner moved";
        if (row.constrained) {
            EXPECT_NEAR((frame.size.width - 2 * kInset) / (frame.size.height - 2 * kInset),
                        row.preset.width / row.preset.height, 1e-3);
        }
        EXPECT_TRUE(CGRectContainsRect(CGRectInset(photoRect_->rect, -0.01f, -0.01f), content()));
        expectDimmersAroundContent();
    }
}

// Let go, the box stays exactly where the resize put it: the end of the resize configures
// nothing.
TEST_F(QZCropOverlayViewTest, ReleasingAHandleLeavesTheBoxWhereTheResizePutIt)
{
    configure(CGSizeMake(300, 200), true);
    const CGPoint corner = QZCGRectGetBottomRight(content());
    driver_.touchDown(1, corner);
    EXPECT_EQ(box_->minSize(), CGSizeMake(75, 75));
    EXPECT_NEAR(box_->maxSize().width, 330, 1e-3);
    for (int step = 1; step <= 10; ++step) {
        driver_.touchMove(1, CGPointMake(corner.x - 7 * step, corner.y - 3 * step));
        driver_.advance(1 / 60.0);
    }
    const CGRect resized = box_->frame();
    driver_.touchUp(1, CGPointMake(corner.x - 70, corner.y - 30));
    driver_.advance(0.5);
    EXPECT_EQ(box_->frame(), resized);
    EXPECT_EQ(box_->layer()->presentationLayer()->frame(), resized);
}

TEST_F(QZCropOverlayViewTest, DraggingKeepsTheContentOnThePhotoAndTheDimmersFollow)
{
    struct Row {
        const char* what;
        CGPoint by;
        CGPoint contentOrigin;
    };
    // A 200 x 200 content starts at (60, 159.5) in the photo's (10, 159.5, 300, 200).
    const Row rows[] = {
        {"far to the top left", {-300, -300}, {10, 159.5f}},
        {"far to the bottom right", {900, 900}, {110, 159.5f}},
        {"a little to the left", {-20, 0}, {40, 159.5f}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        configure(CGSizeMake(1, 1), false);
        const CGPoint start = QZCGRectGetCenter(content());
        driver_.drag({start, CGPointMake(start.x + row.by.x, start.y + row.by.y)}, 0.4);
        driver_.turn();
        const CGRect g = content();
        EXPECT_NEAR(g.origin.x, row.contentOrigin.x, 1e-3);
        EXPECT_NEAR(g.origin.y, row.contentOrigin.y, 1e-3);
        EXPECT_EQ(g.size, CGSizeMake(200, 200));
        // The pan moves the box by its centre: the dimmers follow that too.
        expectDimmersAroundContent();
    }

    // What a person sees outside the box: the picture under black at 0.7.
    const qz_test::Pixels shown = qz_test::pixelsOf(UITestDriver::snapshot(*window_));
    const CGRect g = content();
    const auto outside = shown.at(std::size_t(CGRectGetMinX(g) - 5), std::size_t(CGRectGetMidY(g)));
    const auto inside = shown.at(std::size_t(CGRectGetMidX(g)), std::size_t(CGRectGetMidY(g)));
    EXPECT_NEAR(outside[0], 0.3 * 200, 2);
    EXPECT_NEAR(outside[1], 0.3 * 100, 2);
    EXPECT_NEAR(outside[2], 0.3 * 50, 2);
    EXPECT_GE(inside[0], 190) << "the crop itself is not darkened";
}

}  // namespace
