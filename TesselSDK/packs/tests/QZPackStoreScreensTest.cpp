// The store list and the pack page on their own: the list's rows through pack changes (with and
// without the loading row), the pack states as both screens show them, the page's columns of
// previews and its header.

#include "QZPackToolTestSupport.h"

#include "TesselSDK/packs/QZContentPackIAPPageItemView.h"
#include "TesselSDK/packs/QZContentPackListIAPViewLoadingCell.h"
#include "TesselSDK/packs/QZContentPackListIAPViewProductCell.h"
#include "TesselSDK/packs/QZStickerContentPackDetailIAPViewController.h"
#include "TesselSDK/remote/QZContentPackItem.h"

#include "TesselSDKFoundation/QZFileSystemUtils.h"

#include "testing/TesselFixtureServer.h"
#include "testing/ZipBuilder.h"

namespace {

Value packDocument(const std::string& identifier, bool requiresDownload, std::size_t items,
                   const std::string& base = "http://127.0.0.1:9")
{
    Value list = Value::array();
    for (std::size_t i = 0; i < items; ++i)
        list.addObject(Value::dictionary({{"identifier", identifier + "_" + std::to_string(i)},
                                          {"displayName", "Item " + std::to_string(i)},
                                          {"width", 0.05}}));
    return Value::dictionary({
        {"identifier", identifier},
        {"packType", "frame"},
        {"displayName", identifier},
        {"displayDescription", "Frames for the tests"},
        {"codeName", identifier},
        {"assetVersion", "1"},
        {"requiresDownload", requiresDownload},
        {"highResURL", base + "/archives/" + identifier + ".zip"},
        {"thumbnailURL", base + "/archives/" + identifier + "_thumbnail.zip"},
        {"items", list},
    });
}

class QZPackStoreScreensTest : public QZPackToolTest {
protected:
    std::shared_ptr<QZContentPack> insert(const std::string& identifier, bool requiresDownload = false,
                                          std::size_t items = 1)
    {
        return manager()->insertPackForTesting(packDocument(identifier, requiresDownload, items, base_));
    }
    // The list in a navigation controller over the window, as a tool shows it on a phone.
    std::shared_ptr<QZContentPackListIAPViewController> showList(QZContentPackListIAPViewController::Packs packs,
                                                                 bool loading)
    {
        auto list = QZContentPackListIAPViewController::makeWithPacks(std::move(packs));
        list->setDisplayingFetchingMessage(loading);
        navigation_ = UINavigationController::makeWithRootViewController(list);
        navigation_->view()->setFrame(CGRectMake(0, 0, 320, 448));
        window_->addSubview(navigation_->view());
        window_->layoutIfNeeded();
        return list;
    }
    // The texts the list shows, top row first: the pack's name or "loading".
    static std::vector<std::string> rows(QZContentPackListIAPViewController& list)
    {
        list.view()->layoutIfNeeded();
        list.tableView()->layoutIfNeeded();
        std::vector<std::string> shown;
        const NSInteger count = list.tableView()->numberOfRowsInSection(0);
        for (NSInteger row = 0; row < count; ++row) {
            auto cell = list.tableView()->cellForRowAtIndexPath(NSIndexPath::indexPathForRowInSection(row, 0));
            if (std::dynamic_pointer_cast<QZContentPackListIAPViewLoadingCell>(cell))
                shown.push_back("loading");
            else if (auto product = std::dynamic_pointer_cast<QZContentPackListIAPViewProductCell>(cell))
                shown.push_back(product->textLabel()->text() + (product->cellColor() ? "/1" : "/0"));
            else
                shown.push_back("?");
        }
        return shown;
    }

    std::string base_ = "http://127.0.0.1:9";
    std::shared_ptr<UINavigationController> navigation_;
};

TEST_F(QZPackStoreScreensTest, UpdatingPacksMovesTheRowsWhateverTheLoadingRowDoes)
{
    removeShippedPacks();
    std::vector<std::shared_ptr<QZContentPack>> all;
    for (const char* identifier : {"a", "b", "c", "d", "e"}) all.push_back(insert(identifier));
    const auto first = [&](std::size_t n) {
        return QZContentPackListIAPViewController::Packs(all.begin(), all.begin() + long(n));
    };
    const struct {
        std::size_t from, to;
        bool loadingBefore, loadingAfter;
        std::vector<std::string> shown;
    } cases[] = {
        {3, 3, false, false, {"a/0", "b/1", "c/0"}},
        {3, 3, true, true, {"loading", "a/1", "b/0", "c/1"}},
        {3, 3, false, true, {"loading", "a/1", "b/0", "c/1"}},
        {3, 3, true, false, {"a/0", "b/1", "c/0"}},
        {3, 5, false, false, {"a/0", "b/1", "c/0", "d/1", "e/0"}},
        {3, 5, true, false, {"a/0", "b/1", "c/0", "d/1", "e/0"}},
        {3, 5, false, true, {"loading", "a/1", "b/0", "c/1", "d/0", "e/1"}},
        {5, 2, false, false, {"a/0", "b/1"}},
        {5, 2, true, false, {"a/0", "b/1"}},
        {5, 2, false, true, {"loading", "a/1", "b/0"}},
        {5, 2, true, true, {"loading", "a/1", "b/0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + (c.loadingBefore ? "+loading" : "") + " -> " + std::to_string(c.to) +
                     (c.loadingAfter ? "+loading" : ""));
        auto list = showList(first(c.from), c.loadingBefore);
        list->setDisplayingFetchingMessage(c.loadingAfter);
        EXPECT_NO_THROW(list->updatePacks(first(c.to)));
        EXPECT_EQ(rows(*list), c.shown);
        navigation_->view()->removeFromSuperview();
    }
}

TEST_F(QZPackStoreScreensTest, TheLoadingRowOpensNothingAndRowNOpensPackNMinusOne)
{
    removeShippedPacks();
    auto list = showList({insert("a"), insert("b")}, true);
    EXPECT_EQ(rows(*list), (std::vector<std::string>{"loading", "a/1", "b/0"}));
    EXPECT_TRUE(UITestDriver::visibleViewWithLabel("Checking for content updates..."));
    driver_.tap(CGPointMake(160, 44 + 35));
    driver_.advance(0.4);
    EXPECT_FALSE(list->detailViewController());
    driver_.tap(CGPointMake(160, 44 + 70 + 35));
    driver_.advance(0.4);
    ASSERT_TRUE(list->detailViewController());
    EXPECT_EQ(list->detailViewController()->contentPack()->identifier(), "a");
    EXPECT_EQ(navigation_->topViewController(), list->detailViewController());
}

TEST_F(QZPackStoreScreensTest, RowsAndPagesShowThePacksState)
{
    TesselFixtureServer server;
    base_ = server.baseURL();
    TesselFixtureServer::Response stalled;
    stalled.stalls = true;
    server.setRoute("/archives/downloading.zip", stalled);
    removeShippedPacks();
    auto needsNone = insert("none", false);
    auto notDownloaded = insert("notdownloaded", true);
    auto downloading = insert("downloading", true);
    auto downloaded = insert("downloaded", true);
    ZipBuilder zip;
    zip.addDeflated("status.json", R"({"status": "OK"})");
    ASSERT_TRUE(zip.writeTo(*QZFileSystemUtils::resourcesDirectoryURL() + "/downloaded.zip", nullptr));
    downloading->highResolutionResourceProvider()->downloadResources();

    const struct {
        std::shared_ptr<QZContentPack> pack;
        const char* label;  // empty: the Download button
        bool bar;
    } rowsTable[] = {
        {needsNone, "Installed", false},
        {notDownloaded, "", false},
        {downloading, "Installing", true},
        {downloaded, "Installed", false},
    };
    for (const auto& row : rowsTable) {
        SCOPED_TRACE(row.pack->identifier());
        auto cell =
            UITableViewCell::cellWithStyle<QZContentPackListIAPViewProductCell>(UITableViewCellStyleSubtitle, "");
        cell->setContentPack(row.pack);
        auto page =
            QZContentPackDetailIAPViewController::makeWithType(QZContentPackDetailIAPViewControllerTypeList, row.pack);
        page->view();
        const bool button = std::string(row.label).empty();
        EXPECT_EQ(cell->installButton()->isHidden(), !button);
        EXPECT_EQ(page->installButton()->isHidden(), !button);
        EXPECT_EQ(cell->installedLabel()->isHidden(), button);
        EXPECT_EQ(page->installLabel()->isHidden(), button);
        if (button) {
            EXPECT_EQ(cell->installButton()->currentTitle(), "Download");
            EXPECT_EQ(page->installButton()->currentTitle(), "Download");
        } else {
            EXPECT_EQ(cell->installedLabel()->text(), row.label);
            EXPECT_EQ(page->installLabel()->text(), row.label);
        }
        EXPECT_FLOAT_EQ(cell->downloadProgressView()->alpha(), row.bar ? 1 : 0);
        EXPECT_FLOAT_EQ(page->downloadProgressView()->alpha(), row.bar ? 1 : 0);
        EXPECT_EQ(cell->detailTextLabel()->text(), "(1 Frames)");
    }
    server.releaseStalls();
}

// ---- The page ----

TEST_F(QZPackStoreScreensTest, ItemsRunAcrossAPagesColumnsRowAfterRow)
{
    removeShippedPacks();
    const auto columns = [](QZContentPackDetailIAPViewController& page) {
        std::vector<std::vector<std::string>> shown;
        for (NSUInteger k = 0; k < page.numberOfItems(); ++k) {
            std::vector<std::string> column;
            for (const auto& item : page.itemsForColumn(k))
                column.push_back(item->identifier().substr(item->identifier().rfind('_') + 1));
            shown.push_back(column);
        }
        return shown;
    };
    using Columns = std::vector<std::vector<std::string>>;
    auto seven = QZContentPackDetailIAPViewController::makeWithType(0, insert("seven", false, 7));
    EXPECT_EQ(seven->numberOfItems(), 4u);
    EXPECT_EQ(columns(*seven), (Columns{{"0", "3"}, {"1", "4"}, {"2", "5"}, {"6"}}));
    auto eleven = QZContentPackDetailIAPViewController::makeWithType(0, insert("eleven", false, 11));
    EXPECT_EQ(columns(*eleven), (Columns{{"0", "3"}, {"1", "4"}, {"2", "5"}, {"6", "9"}, {"7", "10"}, {"8"}}));
    auto six = QZContentPackDetailIAPViewController::makeWithType(0, insert("six", false, 6));
    EXPECT_EQ(six->numberOfItems(), 3u);
    auto none = QZContentPackDetailIAPViewController::makeWithType(0, insert("none", false, 0));
    EXPECT_EQ(none->numberOfItems(), 0u);
    auto stickers = QZContentPackDetailIAPViewController::makeWithType<QZStickerContentPackDetailIAPViewController>(
        0, insert("sixteen", false, 16));
    EXPECT_EQ(stickers->numberOfItems(), 6u);
    EXPECT_EQ(stickers->itemsForColumn(5).size(), 1u);
    EXPECT_EQ(stickers->itemsForColumn(5)[0]->identifier(), "sixteen_15");
    EXPECT_EQ(stickers->itemsForColumn(0).size(), 3u);
}

TEST_F(QZPackStoreScreensTest, PageItemsNeverGetNegativeSizes)
{
    const struct {
        NSInteger rows;
        CGFloat labelHeight;
        CGRect bounds;
        std::vector<CGRect> frames;
    } cases[] = {
        // side = min((150 - 5 - 2.5) / 2, 95) = 71.25, gap = (150 - 142.5) / 3 = 2.5
        {2, 0, CGRectMake(0, 0, 100, 150), {CGRectMake(14, 2, 72, 72), CGRectMake(14, 76, 72, 72)}},
        // side = min((240 - 30 - 5 - 5) / 3, 75) = 66.67, gap = (240 - 230) / 4 = 2.5
        {3,
         10,
         CGRectMake(0, 0, 80, 240),
         {CGRectMake(6, 2, 68, 78), CGRectMake(6, 81, 68, 78), CGRectMake(6, 160, 68, 78)}},
        {2, 0, CGRectZero, {CGRectZero, CGRectZero}},
        {3, 10, CGRectZero, {CGRectMake(0, 0, 0, 10), CGRectMake(0, 10, 0, 10), CGRectMake(0, 20, 0, 10)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.rows) + " rows, label " + std::to_string(int(c.labelHeight)) + ", " +
                     std::to_string(int(c.bounds.size.width)));
        auto item = QZScrollBarPageItemView::itemWithReuseIdentifier<QZContentPackIAPPageItemView>("item");
        item->setFrame(c.bounds);
        item->setRowCount(c.rows);
        item->setLabelHeight(c.labelHeight);
        item->setImageViewsWithImages(std::vector<std::shared_ptr<UIImage>>(std::size_t(c.rows), nullptr));
        item->layoutIfNeeded();
        ASSERT_EQ(item->imageViews().size(), c.frames.size());
        for (std::size_t i = 0; i < c.frames.size(); ++i) {
            const CGRect frame = item->imageViews()[i]->frame();
            EXPECT_GE(frame.size.width, 0);
            EXPECT_GE(frame.size.height, 0);
            EXPECT_TRUE(CGRectEqualToRect(frame, c.frames[i]))
                << frame.origin.x << "," << frame.origin.y << " " << frame.size.width << "x" << frame.size.height;
        }
    }
}

TEST_F(QZPackStoreScreensTest, ALongDescriptionShrinksToFitTheHeaderButNoFurtherThanEightPoints)
{
    removeShippedPacks();
    std::string longText;
    for (int i = 0; i < 12; ++i) longText += "A description that goes on and on about the frames in this pack. ";
    Value document = packDocument("wordy", false, 1);
    document.setObject(Value(longText.substr(0, 200)), "displayDescription");
    auto fits = QZContentPackDetailIAPViewController::makeWithType(0, manager()->insertPackForTesting(document));
    fits->view()->setFrame(CGRectMake(0, 0, 320, 404));
    fits->layoutContentPackInformation();
    EXPECT_LT(fits->descriptionLabel()->font()->pointSize(), 12);
    EXPECT_GE(fits->descriptionLabel()->font()->pointSize(), 8);
    EXPECT_GE(fits->packNameLabel()->frame().origin.y, 0);

    document = packDocument("endless", false, 1);
    document.setObject(Value(longText + longText), "displayDescription");
    auto stops = QZContentPackDetailIAPViewController::makeWithType(0, manager()->insertPackForTesting(document));
    stops->view()->setFrame(CGRectMake(0, 0, 320, 404));
    stops->layoutContentPackInformation();
    EXPECT_FLOAT_EQ(stops->descriptionLabel()->font()->pointSize(), 8);
}

}  // namespace
