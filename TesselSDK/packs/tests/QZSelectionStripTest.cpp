// The strip and its cells in a tool: sections with and without a divider, cell lengths, the
// dividers' shades, the cells' pill and the download cell's bar.

#include "QZPackToolTestSupport.h"

#include "TesselSDK/packs/QZContentPackDownloadSelectionViewCell.h"
#include "TesselSDK/packs/QZContentPackSelectionViewSectionFooterView.h"
#include "TesselSDK/packs/QZContentPackSelectionViewSectionHeaderView.h"
#include "TesselSDK/packs/QZContentPackShelfCell.h"
#include "TesselSDK/remote/QZContentPackItem.h"

namespace {

// Three sections of the shipped packs' items: titled, untitled, titled.
class QZSectionedTool : public QZTestFramePackTool {
public:
    using QZTestFramePackTool::QZTestFramePackTool;
    std::vector<std::shared_ptr<QZContentPack>> sections;

    NSInteger numberOfSectionsInSelectionView(QZContentPackSelectionView*) override { return 3; }
    NSInteger selectionViewNumberOfRowsInSection(QZContentPackSelectionView*, NSInteger section) override
    {
        return section == 1 ? 1 : 2;
    }
    bool selectionViewHasHeaderInSection(QZContentPackSelectionView*, NSInteger section) override
    {
        return section != 1;
    }
    std::string selectionViewHeaderTitleForSection(QZContentPackSelectionView*, NSInteger section) override
    {
        return sections[std::size_t(section)]->localizedDisplayName();
    }
    std::shared_ptr<UITableViewCell>
    selectionViewSelectionViewCellForRowAtIndexPath(QZContentPackSelectionView* strip,
                                                    const std::shared_ptr<NSIndexPath>& indexPath) override
    {
        auto cell = std::dynamic_pointer_cast<QZContentPackDownloadSelectionViewCell>(
            strip->dequeueReusableSelectionViewCellWithIdentifier("cell"));
        if (!cell)
            cell = UITableViewCell::cellWithStyle<QZContentPackDownloadSelectionViewCell>(UITableViewCellStyleDefault,
                                                                                          "cell");
        auto pack = sections[std::size_t(indexPath->section())];
        cell->setContentPackItem(pack->orderedItems()[std::size_t(indexPath->row())]);
        auto thumbnail = UIView::viewWithFrame<UIImageView>(cell->previewContainerView()->bounds());
        thumbnail->setImage(cell->contentPackItem()->thumbnailImage());
        thumbnail->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
        for (const auto& old : std::vector<std::shared_ptr<UIView>>(cell->previewContainerView()->subviews()))
            old->removeFromSuperview();
        cell->previewContainerView()->addSubview(thumbnail);
        cell->setActive(indexPath->section() == 0 && indexPath->row() == 1, false);
        return cell;
    }
};

TEST_F(QZPackToolTest, SectionsDividersAndCellsAlongTheStrip)
{
    auto tool = makeTool<QZSectionedTool>();
    auto frames = manager()->packWithIdentifier("classic_frames");
    auto stickers = manager()->packWithIdentifier("doodle_stickers");
    tool->sections = {frames, stickers, stickers};
    show(tool);
    window_->layoutIfNeeded();
    auto strip = tool->selectionView();
    auto table = strip->tableView();
    // The tray, then per section its header (36 with a title, else 10), rows of 72 and a footer of 10.
    const struct {
        NSInteger section, row;
        CGFloat start;
    } rows[] = {{0, 0, 75 + 36},
                {0, 1, 75 + 36 + 72},
                {1, 0, 75 + 36 + 144 + 10 + 10},
                {2, 0, 75 + 36 + 144 + 20 + 72 + 10 + 36}};
    for (const auto& row : rows) {
        const CGRect rect = table->rectForRowAtIndexPath(NSIndexPath::indexPathForRowInSection(row.row, row.section));
        EXPECT_FLOAT_EQ(rect.origin.y, row.start) << row.section << "," << row.row;
        EXPECT_FLOAT_EQ(rect.size.height, 72);
    }
    // Headers with a title are dividers; the footer before a titled section casts the shade, the
    // last one and the one before the untitled section are clear.
    EXPECT_TRUE(std::dynamic_pointer_cast<QZContentPackSelectionViewSectionHeaderView>(
        strip->tableViewViewForHeaderInSection(table.get(), 0)));
    EXPECT_FALSE(std::dynamic_pointer_cast<QZContentPackSelectionViewSectionHeaderView>(
        strip->tableViewViewForHeaderInSection(table.get(), 1)));
    EXPECT_FALSE(std::dynamic_pointer_cast<QZContentPackSelectionViewSectionFooterView>(
        strip->tableViewViewForFooterInSection(table.get(), 0)));
    EXPECT_TRUE(std::dynamic_pointer_cast<QZContentPackSelectionViewSectionFooterView>(
        strip->tableViewViewForFooterInSection(table.get(), 1)));
    EXPECT_FALSE(std::dynamic_pointer_cast<QZContentPackSelectionViewSectionFooterView>(
        strip->tableViewViewForFooterInSection(table.get(), 2)));
    EXPECT_TRUE(UITestDriver::visibleViewWithLabel("Classic Frames"));
    EXPECT_TRUE(UITestDriver::visibleViewWithLabel("Oak"));
    EXPECT_TRUE(UITestDriver::visibleViewWithLabel("Add Frames"));

    // The chosen cell's preview stands 6 points higher over its pill.
    auto plain = std::dynamic_pointer_cast<QZContentPackDownloadSelectionViewCell>(
        table->cellForRowAtIndexPath(NSIndexPath::indexPathForRowInSection(0, 0)));
    auto chosen = std::dynamic_pointer_cast<QZContentPackDownloadSelectionViewCell>(
        table->cellForRowAtIndexPath(NSIndexPath::indexPathForRowInSection(1, 0)));
    ASSERT_TRUE(plain && chosen);
    EXPECT_FLOAT_EQ(chosen->previewContainerView()->frame().origin.y + 6,
                    plain->previewContainerView()->frame().origin.y);
    EXPECT_FLOAT_EQ(chosen->activeImageView()->alpha(), 1);
    EXPECT_FLOAT_EQ(plain->activeImageView()->alpha(), 0);
    // A cell showing an item, or a pack that is not downloading, has no bar and an opaque preview.
    EXPECT_FLOAT_EQ(plain->downloadProgressView()->alpha(), 0);
    plain->setContentPack(frames);
    plain->update();
    driver_.advance(0.2);
    EXPECT_FLOAT_EQ(plain->downloadProgressView()->alpha(), 0);
    EXPECT_FLOAT_EQ(plain->previewContainerView()->alpha(), 1);
    EXPECT_EQ(plain->title(), "Classic Frames");
    screenshot("strip");
}

TEST_F(QZPackToolTest, GetMoreIconsByDescriptorAndNoneForAnother)
{
    for (const char* descriptor : {"Effects", "Frames", "Stickers", "Brushes"}) {
        SCOPED_TRACE(descriptor);
        auto cell = QZContentPackShelfCell::make(CGRectMake(0, 0, 70, 100), descriptor);
        cell->setGetMore(true);
        const bool known = std::string(descriptor) != "Brushes";
        EXPECT_EQ(bool(cell->packIconView()->image()), known);
        EXPECT_EQ(cell->packLabel()->text(), std::string("Add ") + descriptor);
        EXPECT_EQ(cell->accessibilityLabel(), "Get More");
    }
}

}  // namespace
