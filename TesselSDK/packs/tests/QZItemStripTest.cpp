// The item strips of the effects and frames tools without a GL context: where each item sits, what
// a pack that is not ready shows, the first choice, downloads that finish while the tool is up
// (real downloads from the loopback fixture server, through the checked table updates), choosing
// by touch, and what Apply announces.

#include "QZPackToolTestSupport.h"

#include "TesselSDK/packs/QZContentAppliedNotification.h"
#include "TesselSDK/packs/QZEffectContentPackUnifiedSelectionViewCell.h"
#include "TesselSDK/packs/QZEffectContentPackUnifiedSelectionViewController.h"
#include "TesselSDK/packs/QZFrameContentPackUnifiedSelectionViewCell.h"
#include "TesselSDK/packs/QZFrameContentPackUnifiedSelectionViewController.h"
#include "TesselSDK/remote/QZContentPackItem.h"

#include "TesselSDKFoundation/QZFileSystemUtils.h"

#include "Foundation/NSLogCapture.h"
#include "Foundation/NSNotificationCenter.h"
#include "UIKit/UIGraphics.h"
#include "testing/TesselFixtureServer.h"
#include "testing/ZipBuilder.h"

#include <fstream>
#include <iterator>
#include <map>

namespace {

// The tools as they are, but their previews only noted (there is no GL context to draw on).
template <class Tool>
class QZNotingTool : public Tool {
public:
    using Tool::Tool;
    std::vector<std::string> previews;
    void displayPreviewForContentPackItem(const typename Tool::Item& item) override
    {
        previews.push_back(item ? item->identifier() : "(nil)");
    }
};
using QZNotingEffectsTool = QZNotingTool<QZEffectContentPackUnifiedSelectionViewController>;
using QZNotingFramesTool = QZNotingTool<QZFrameContentPackUnifiedSelectionViewController>;

struct StatusRecorder : QZToolViewControllerDelegate {
    std::vector<std::string>* order = nullptr;
    std::vector<QZToolViewControllerStatus> statuses;
    void toolControllerFinishedWithStatus(QZToolViewController*, QZToolViewControllerStatus status) override
    {
        statuses.push_back(status);
        if (order) order->push_back("finished");
    }
};

// The test packs are "p0", "p1", ...
std::string packName(int index)
{
    std::string name("p");
    name.append(std::to_string(index));
    return name;
}

// A small, valid archive where a provider looks for its set.
void writeArchive(const std::string& name)
{
    ZipBuilder zip;
    zip.addDeflated("status.json", R"({"status": "OK"})");
    std::string error;
    ASSERT_TRUE(zip.writeTo(*QZFileSystemUtils::resourcesDirectoryURL() + "/" + name, &error)) << error;
}

std::string fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A pack of `items` items "<id>_1", ... named "<Id> 1", ...; ready means it needs no download.
Value packDocument(const std::string& type, const std::string& identifier, int index, int items, bool ready,
                   const std::string& base)
{
    Value list = Value::array();
    for (int i = 1; i <= items; ++i) {
        Value item = Value::dictionary({{"identifier", identifier + "_" + std::to_string(i)},
                                        {"displayName", identifier + " " + std::to_string(i)}});
        if (type == "frame") item.setObject(Value(0.05), "width");
        list.addObject(item);
    }
    return Value::dictionary({
        {"identifier", identifier},
        {"packType", type},
        {"displayName", "Pack " + identifier},
        {"displayDescription", "A test pack"},
        {"codeName", identifier + "_code"},
        {"assetVersion", "1"},
        {"requiresDownload", !ready},
        {"index", index},
        {"highResURL", base + "/archives/" + identifier + ".zip"},
        {"thumbnailURL", base + "/archives/" + identifier + "_thumbnail.zip"},
        {"items", list},
    });
}

class QZItemStripTest : public QZPackToolTest {
protected:
    void SetUp() override
    {
        QZPackToolTest::SetUp();
        SCNetworkReachabilitySetFlagsOverride(kSCNetworkReachabilityFlagsReachable);
        // The frames tool's welcome prompt has had its chance.
        NSUserDefaults::standardUserDefaults()->setObject(Value::dictionary({{"Frames", true}}),
                                                          kQZToolControllerHasLaunchedDictionary);
        ZipBuilder zip;
        zip.addDeflated("status.json", R"({"status": "OK"})");
        ASSERT_TRUE(zip.writeTo(sandbox_.path("served.zip")));
        archive_.body = fileBytes(sandbox_.path("served.zip"));
        archive_.headers = {{"Content-Type", "application/zip"}};
    }

    // Only these packs installed (their thumbnails on the device), in this order, of `items`
    // each; the ready ones need no download, the others can be downloaded from the server.
    void installPacks(const std::string& type, const std::vector<std::pair<int, bool>>& itemsAndReadiness)
    {
        removeShippedPacks();
        for (std::size_t i = 0; i < itemsAndReadiness.size(); ++i) {
            const std::string identifier = packName(int(i));
            installPack(type, identifier, int(i), itemsAndReadiness[i].first, itemsAndReadiness[i].second);
        }
    }
    std::shared_ptr<QZContentPack> installPack(const std::string& type, const std::string& identifier, int index,
                                               int items, bool ready)
    {
        manager()->insertPackForTesting(packDocument(type, identifier, index, items, ready, server_.baseURL()));
        writeArchive(identifier + "_thumbnail.zip");
        server_.setRoute("/archives/" + identifier + ".zip", archive_);
        return manager()->packWithIdentifier(identifier);
    }

    // The pack's download from the server, to its end and the notifications it posts.
    void download(QZContentPackIAPSelectionViewController& tool, const std::shared_ptr<QZContentPack>& pack)
    {
        tool.beginDownloadingContentPack(pack);
        ASSERT_TRUE(DispatchRunLoop::runUntil(
            [&] {
                return pack->highResolutionResourceProvider()->state() ==
                           QZContentPackResourceProviderStateDownloaded &&
                       !pack->highResolutionResourceProvider()->isDownloading();
            },
            30));
        DispatchRunLoop::drain();
    }

    static std::shared_ptr<NSIndexPath> path(NSInteger section, NSInteger row)
    {
        return NSIndexPath::indexPathForRowInSection(row, section);
    }
    // What the strip's table holds: rows per section.
    static std::vector<NSInteger> rowsOf(const QZContentPackSelectionViewController& tool)
    {
        auto table = tool.selectionView()->tableView();
        table->layoutIfNeeded();
        std::vector<NSInteger> rows;
        for (NSInteger s = 0; s < table->numberOfSections(); ++s) rows.push_back(table->numberOfRowsInSection(s));
        return rows;
    }
    // The cell the strip shows at a path: "pack:<id>" for a download cell, else the item's identifier.
    static std::string shown(QZContentPackUnifiedSelectionViewController& tool, NSInteger section, NSInteger row)
    {
        auto cell = std::dynamic_pointer_cast<QZContentPackUnifiedSelectionViewCell>(
            tool.selectionViewSelectionViewCellForRowAtIndexPath(tool.selectionView().get(), path(section, row)));
        if (!cell) return "(none)";
        if (cell->contentPack()) return "pack:" + cell->contentPack()->identifier();
        return cell->contentPackItem() ? cell->contentPackItem()->identifier() : "(empty)";
    }
    static std::vector<std::vector<std::string>> layoutOf(QZContentPackUnifiedSelectionViewController& tool)
    {
        std::vector<std::vector<std::string>> layout;
        const std::vector<NSInteger> rows = rowsOf(tool);
        for (std::size_t s = 0; s < rows.size(); ++s) {
            layout.emplace_back();
            for (NSInteger r = 0; r < rows[s]; ++r) layout.back().push_back(shown(tool, NSInteger(s), r));
        }
        return layout;
    }
    static float shownAlpha(const std::shared_ptr<UITableViewCell>& cell)
    {
        auto unified = std::dynamic_pointer_cast<QZContentPackUnifiedSelectionViewCell>(cell);
        return unified ? unified->previewContainerView()->layer()->presentationLayer()->opacity() : -1;
    }

    TesselFixtureServer server_;
    TesselFixtureServer::Response archive_;
};

using Layout = std::vector<std::vector<std::string>>;

// ---- Where items sit ----

// Every place the strip shows an item maps to that item and back; "Original" is at (0, 0).
void expectPlacesRoundTrip(QZContentPackUnifiedSelectionViewController& tool, const std::vector<NSInteger>& rows,
                           const std::function<bool(NSInteger, NSInteger)>& isDownloadCell)
{
    SCOPED_TRACE(tool.contentPackDescriptor());
    auto path = [](NSInteger section, NSInteger row) { return NSIndexPath::indexPathForRowInSection(row, section); };
    for (std::size_t s = 0; s < rows.size(); ++s)
        for (NSInteger r = 0; r < rows[s]; ++r) {
            if (isDownloadCell(NSInteger(s), r)) continue;
            auto item = tool.contentPackItemForIndexPath(path(NSInteger(s), r));
            ASSERT_TRUE(item) << s << ", " << r;
            auto back = tool.indexPathForContentPackItem(item);
            ASSERT_TRUE(back) << item->identifier();
            EXPECT_EQ(back->section(), NSInteger(s));
            EXPECT_EQ(back->row(), r);
        }
    auto original = tool.indexPathForContentPackItem(tool.originalContentPackItem());
    ASSERT_TRUE(original);
    EXPECT_EQ(original->section(), 0);
    EXPECT_EQ(original->row(), 0);
    // Places beyond the strip hold nothing.
    EXPECT_FALSE(tool.contentPackItemForIndexPath(path(NSInteger(rows.size()), 0)));
    EXPECT_FALSE(tool.contentPackItemForIndexPath(path(-1, 0)));
}

TEST_F(QZItemStripTest, EveryPlaceMapsToItsItemAndBackInBothStrips)
{
    // Three packs of 2, 0 and 3 items in the plain strip (effects)...
    installPacks("effect", {{2, true}, {0, true}, {3, true}});
    auto effects = show<QZNotingEffectsTool>();
    EXPECT_EQ(rowsOf(*effects), (std::vector<NSInteger>{3, 0, 3}));
    EXPECT_EQ(layoutOf(*effects), (Layout{{"original", "p0_1", "p0_2"}, {}, {"p2_1", "p2_2", "p2_3"}}));
    expectPlacesRoundTrip(*effects, rowsOf(*effects), [](NSInteger, NSInteger) { return false; });
    const auto effectsOriginal = effects->originalContentPackItem();

    // ... and in the download strip (frames) with its "Original" section: the first pack is not
    // ready, the others are.
    installPacks("frame", {{2, false}, {0, true}, {3, true}});
    auto frames = show<QZNotingFramesTool>();
    ASSERT_TRUE(frames->hasSectionForOriginalItem());
    EXPECT_EQ(frames->currentSectionShift(), 1);
    EXPECT_EQ(layoutOf(*frames), (Layout{{"original"}, {"pack:p0"}, {}, {"p2_1", "p2_2", "p2_3"}}));
    expectPlacesRoundTrip(*frames, rowsOf(*frames),
                          [](NSInteger section, NSInteger row) { return section == 1 && row == 0; });
    EXPECT_EQ(frames->contentPackForIndexPath(path(1, 0))->identifier(), "p0");
    EXPECT_EQ(frames->contentPackForIndexPath(path(3, 2))->identifier(), "p2");
    EXPECT_FALSE(frames->contentPackForIndexPath(path(0, 0)));

    // An item of no installed pack has no place.
    EXPECT_FALSE(frames->indexPathForContentPackItem(effectsOriginal));
    // Headers: every section but the first, titled with the pack shown in it.
    QZContentPackSelectionView* strip = frames->selectionView().get();
    EXPECT_FALSE(frames->selectionViewHasHeaderInSection(strip, 0));
    EXPECT_TRUE(frames->selectionViewHasHeaderInSection(strip, 1));
    EXPECT_EQ(frames->selectionViewHeaderTitleForSection(strip, 1), "Pack p0");
    EXPECT_EQ(frames->selectionViewHeaderTitleForSection(strip, 3), "Pack p2");
}

// ---- The download strip by readiness ----

struct ReadinessRow {
    const char* name;
    bool first, second;  // ready
    Layout layout;
    bool originalSection;
    bool applyButton;
    const char* firstChoice;  // "" for none
};

class QZDownloadStripReadinessTest : public QZItemStripTest, public ::testing::WithParamInterface<ReadinessRow> {};

TEST_P(QZDownloadStripReadinessTest, ShowsItemsOfReadyPacksAndOneDownloadCellForEachOther)
{
    const ReadinessRow& row = GetParam();
    installPacks("frame", {{2, row.first}, {2, row.second}});
    auto tool = show<QZNotingFramesTool>();
    EXPECT_EQ(layoutOf(*tool), row.layout);
    EXPECT_EQ(tool->hasSectionForOriginalItem(), row.originalSection);
    EXPECT_EQ(tool->navigationItem()->rightBarButtonItem() != nullptr, row.applyButton);
    const std::string chosen = tool->selectedItem() ? tool->selectedItem()->identifier() : "";
    EXPECT_EQ(chosen, row.firstChoice);
    EXPECT_EQ(tool->previews,
              row.firstChoice[0] ? std::vector<std::string>{row.firstChoice} : std::vector<std::string>{});
    // The "Original" item reads "None" in the frames strip.
    if (!row.layout.empty() && row.layout[0][0] == "original") {
        auto cell = std::dynamic_pointer_cast<QZFrameContentPackUnifiedSelectionViewCell>(
            tool->selectionViewSelectionViewCellForRowAtIndexPath(tool->selectionView().get(), path(0, 0)));
        ASSERT_TRUE(cell);
        EXPECT_EQ(cell->title(), "None");
    }
}

void PrintTo(const ReadinessRow& row, std::ostream* out)
{
    *out << row.name;
}

std::string readinessName(const ::testing::TestParamInfo<ReadinessRow>& row)
{
    return row.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, QZDownloadStripReadinessTest,
    ::testing::Values(
        ReadinessRow{
            "BothReady", true, true, {{"original", "p0_1", "p0_2"}, {"p1_1", "p1_2"}}, false, true, "original"},
        // Nothing chosen at first: (0, 0) asks about the first pack, which is not ready.
        ReadinessRow{"FirstNotReady", false, true, {{"original"}, {"pack:p0"}, {"p1_1", "p1_2"}}, true, true, ""},
        ReadinessRow{"NoneReady", false, false, {{"pack:p0"}, {"pack:p1"}}, false, false, ""},
        ReadinessRow{
            "SecondNotReady", true, false, {{"original", "p0_1", "p0_2"}, {"pack:p1"}}, false, true, "original"}),
    readinessName);

// With no installed pack there is nothing at (0, 0) to choose: both tools open empty.
TEST_F(QZItemStripTest, NoInstalledPackChoosesNothing)
{
    removeShippedPacks();
    auto frames = show<QZNotingFramesTool>();
    EXPECT_EQ(rowsOf(*frames), std::vector<NSInteger>{});
    EXPECT_FALSE(frames->selectedItem());
    EXPECT_FALSE(frames->navigationItem()->rightBarButtonItem());
    auto effects = show<QZNotingEffectsTool>();
    EXPECT_EQ(rowsOf(*effects), std::vector<NSInteger>{});
    EXPECT_FALSE(effects->selectedItem());
    EXPECT_TRUE(effects->previews.empty());
}

// ---- Downloads finishing while the tool is up ----

struct DownloadRow {
    const char* name;
    bool first, second;  // ready at first
    int downloaded;      // which pack's download finishes
    Layout before, after;
    bool originalSectionAfter;
    NSInteger flyingSection;  // its cells fly in after the update
    const char* choiceAfter;
};

// On a tablet: every cell of the strip is in view.
class QZDownloadFinishedTest : public QZItemStripTest, public ::testing::WithParamInterface<DownloadRow> {
protected:
    void SetUp() override
    {
        QZItemStripTest::SetUp();
        useDevice(UIUserInterfaceIdiomPad);
    }
};

TEST_P(QZDownloadFinishedTest, ThePacksCellsTakeTheDownloadCellsPlaceAndFlyIn)
{
    const DownloadRow& row = GetParam();
    installPacks("frame", {{2, row.first}, {2, row.second}});
    auto tool = show<QZNotingFramesTool>();
    ASSERT_EQ(layoutOf(*tool), row.before);
    auto table = tool->selectionView()->tableView();

    download(*tool, manager()->packWithIdentifier(packName(row.downloaded)));
    EXPECT_EQ(tool->shouldAnimateSection(), -1);
    EXPECT_EQ(tool->hasSectionForOriginalItem(), row.originalSectionAfter);
    EXPECT_EQ(layoutOf(*tool), row.after);
    EXPECT_TRUE(tool->navigationItem()->rightBarButtonItem());
    const std::string chosen = tool->selectedItem() ? tool->selectedItem()->identifier() : "";
    EXPECT_EQ(chosen, row.choiceAfter);

    // The pack's cells grow in one after another, 0.15 s apart, each over 0.2 s; the others do not.
    const NSInteger rows = table->numberOfRowsInSection(row.flyingSection);
    ASSERT_GT(rows, 0);
    for (NSInteger s = 0; s < table->numberOfSections(); ++s)
        for (NSInteger r = 0; r < table->numberOfRowsInSection(s); ++r) {
            auto cell = table->cellForRowAtIndexPath(path(s, r));
            ASSERT_TRUE(cell) << s << ", " << r;
            if (s == row.flyingSection)
                EXPECT_FLOAT_EQ(shownAlpha(cell), 0) << r;
            else
                EXPECT_GT(shownAlpha(cell), 0.5f) << s << ", " << r;
        }
    std::vector<double> moments;
    for (NSInteger r = 0; r < rows; ++r) {
        moments.push_back(double(r + 1) * 0.15 - 0.01);
        moments.push_back(double(r + 1) * 0.15 + 0.21);
    }
    std::sort(moments.begin(), moments.end());
    double clock = 0;
    for (double moment : moments) {
        driver_.advance(moment - clock);
        clock = moment;
        for (NSInteger r = 0; r < rows; ++r) {
            const double start = double(r + 1) * 0.15;
            const float alpha = shownAlpha(table->cellForRowAtIndexPath(path(row.flyingSection, r)));
            if (clock < start) {
                EXPECT_FLOAT_EQ(alpha, 0) << "row " << r << " at " << clock;
            } else if (clock > start + 0.2) {
                EXPECT_FLOAT_EQ(alpha, 1) << "row " << r << " at " << clock;
            }
        }
    }
}

void PrintTo(const DownloadRow& row, std::ostream* out)
{
    *out << row.name;
}

std::string downloadName(const ::testing::TestParamInfo<DownloadRow>& row)
{
    return row.param.name;
}

INSTANTIATE_TEST_SUITE_P(Table, QZDownloadFinishedTest,
                         ::testing::Values(
                             // A later pack ready first: "Original" gains a section of its own before every pack.
                             DownloadRow{"LaterPackFirst",
                                         false,
                                         false,
                                         1,
                                         {{"pack:p0"}, {"pack:p1"}},
                                         {{"original"}, {"pack:p0"}, {"p1_1", "p1_2"}},
                                         true,
                                         2,
                                         ""},
                             // The first pack ready: its items join "Original" in the first section.
                             DownloadRow{"FirstPackJoinsOriginal",
                                         false,
                                         true,
                                         0,
                                         {{"original"}, {"pack:p0"}, {"p1_1", "p1_2"}},
                                         {{"original", "p0_1", "p0_2"}, {"p1_1", "p1_2"}},
                                         false,
                                         0,
                                         "original"},
                             DownloadRow{"SectionsUnchanged",
                                         true,
                                         false,
                                         1,
                                         {{"original", "p0_1", "p0_2"}, {"pack:p1"}},
                                         {{"original", "p0_1", "p0_2"}, {"p1_1", "p1_2"}},
                                         false,
                                         1,
                                         "original"}),
                         downloadName);

TEST_F(QZItemStripTest, APackInstalledAfterTheToolOpenedLeavesTheStripAsItIs)
{
    installPacks("frame", {{2, true}});
    auto tool = show<QZNotingFramesTool>();
    const Layout before = layoutOf(*tool);
    auto late = installPack("frame", "late", 5, 2, false);
    NSLogCapture log;
    download(*tool, late);
    EXPECT_TRUE(log.contains("ContentPack not found"));
    EXPECT_EQ(layoutOf(*tool), before);
}

// ---- Choosing by touch, and Apply ----

class QZItemChoiceTest : public QZItemStripTest {
protected:
    void SetUp() override
    {
        QZItemStripTest::SetUp();
        center_ = NSNotificationCenter::defaultCenter();
        observer_ = center_->addObserverForName(QZContentAppliedNotification, nullptr,
                                                [this](const std::shared_ptr<NSNotification>& note) {
                                                    EXPECT_EQ(note->object(), nullptr);
                                                    posted_.push_back(note->userInfo());
                                                    order_.push_back("posted");
                                                });
        statuses_->order = &order_;
    }
    void TearDown() override
    {
        center_->removeObserver(observer_);
        QZItemStripTest::TearDown();
    }
    template <class T>
    std::shared_ptr<T> showWithDelegate()
    {
        auto tool = makeTool<T>();
        tool->setDelegate(statuses_);
        return show(tool);
    }
    bool tap(const std::string& label) { return driver_.tapViewWithLabel(label); }
    void tapApply(QZToolViewController& tool) { driver_.tap(*tool.applyButton()->customView()); }
    const Value* event(const std::string& name) const
    {
        for (const auto& [eventName, attributes] : analytics_->events)
            if (eventName == name) return &attributes;
        return nullptr;
    }
    // The attributes the tool gave, without the facade's standard ones.
    static std::map<std::string, Value> own(const Value& attributes)
    {
        const Value standard = QZAnalytics::standardAttributes();
        std::map<std::string, Value> mine;
        if (const Value::Dictionary* all = attributes.asDictionary())
            for (const auto& [key, value] : *all)
                if (standard[key] != value) mine.emplace(key, value);
        return mine;
    }

    std::shared_ptr<NSNotificationCenter> center_;
    std::shared_ptr<NSObject> observer_;
    std::vector<Value> posted_;
    std::vector<std::string> order_;
    std::shared_ptr<StatusRecorder> statuses_ = std::make_shared<StatusRecorder>();
};

TEST_F(QZItemChoiceTest, ASecondTapReturnsToOriginalAndOriginalTappedAgainOnlyReports)
{
    auto tool = show<QZNotingEffectsTool>();
    ASSERT_TRUE(tool->selectedItem());
    EXPECT_EQ(tool->selectedItem(), tool->originalContentPackItem());
    auto cellOf = [&](NSInteger row) {
        return std::dynamic_pointer_cast<QZContentPackUnifiedSelectionViewCell>(
            tool->selectionView()->tableView()->cellForRowAtIndexPath(path(0, row)));
    };
    ASSERT_TRUE(cellOf(0) && cellOf(1));
    EXPECT_TRUE(cellOf(0)->isActive());

    ASSERT_TRUE(tap("Tintype"));
    EXPECT_EQ(tool->selectedItem()->identifier(), "tintype");
    EXPECT_FALSE(cellOf(0)->isActive());
    EXPECT_TRUE(cellOf(1)->isActive());
    ASSERT_TRUE(tap("Tintype"));
    EXPECT_EQ(tool->selectedItem(), tool->originalContentPackItem());
    EXPECT_TRUE(cellOf(0)->isActive());
    EXPECT_FALSE(cellOf(1)->isActive());
    ASSERT_TRUE(tap("Original"));
    EXPECT_EQ(tool->selectedItem(), tool->originalContentPackItem());
    EXPECT_TRUE(cellOf(0)->isActive());

    EXPECT_EQ(tool->previews, (std::vector<std::string>{"original", "tintype", "original"}));
    EXPECT_EQ(eventNames(), (std::vector<std::string>{"original :selected", "Effects: opened", "tintype :selected",
                                                      "original :selected", "original :selected"}));
    EXPECT_TRUE(own(*event("tintype :selected")).empty());
}

// Cells come back from the reuse pool in any order: the raised one must be the chosen item's.
TEST_F(QZItemChoiceTest, OnlyTheChosenItemsCellIsRaisedAfterTheStripReloads)
{
    for (const char* chosen : {"Tintype", "Warm Film"}) {
        SCOPED_TRACE(chosen);
        auto tool = show<QZNotingEffectsTool>();
        ASSERT_TRUE(tap(chosen));
        for (int reload = 0; reload < 3; ++reload) {
            tool->selectionView()->reloadData();
            auto table = tool->selectionView()->tableView();
            table->layoutIfNeeded();
            std::vector<std::string> raised;
            for (const auto& cell : table->visibleCells())
                if (auto item = std::dynamic_pointer_cast<QZContentPackUnifiedSelectionViewCell>(cell);
                    item && item->isActive())
                    raised.push_back(item->title());
            EXPECT_EQ(raised, std::vector<std::string>{chosen}) << "after reload " << reload;
        }
    }
}

TEST_F(QZItemChoiceTest, ApplyingAnItemAnnouncesItOnceBeforeTheToolFinishes)
{
    auto tool = showWithDelegate<QZNotingEffectsTool>();
    ASSERT_TRUE(tap("Tintype"));
    // A preview still running: the first press waits, a second one changes nothing.
    tool->setReadyToApply(false);
    tapApply(*tool);
    tool->applyButtonPressed();
    EXPECT_TRUE(statuses_->statuses.empty());
    tool->setReadyToApply(true);
    EXPECT_EQ(order_, (std::vector<std::string>{"posted", "finished"}));
    ASSERT_EQ(posted_.size(), 1u);
    EXPECT_EQ(posted_[0], Value::dictionary({{kQZContentPackType, "effect"},
                                             {kQZContentPackIdentifier, "classic_effects"},
                                             {kQZContentItemIdentifier, "tintype"}}));
    EXPECT_EQ(statuses_->statuses, std::vector<QZToolViewControllerStatus>{QZToolViewControllerStatusApplied});
    ASSERT_TRUE(event("tintype :applied"));
    EXPECT_TRUE(own(*event("tintype :applied")).empty());
    ASSERT_TRUE(event("Effects :applied"));
    EXPECT_EQ(own(*event("Effects :applied")),
              (std::map<std::string, Value>{{"pack", Value("classic_effects")}, {"item", Value("tintype")}}));
}

TEST_F(QZItemChoiceTest, ApplyingOriginalOrNothingAnnouncesNothingAndStillApplies)
{
    // "Original", an item of no pack.
    auto effects = showWithDelegate<QZNotingEffectsTool>();
    tapApply(*effects);
    EXPECT_TRUE(posted_.empty());
    EXPECT_EQ(statuses_->statuses, std::vector<QZToolViewControllerStatus>{QZToolViewControllerStatusApplied});
    ASSERT_TRUE(event("original :applied"));
    EXPECT_EQ(own(*event("Effects :applied")),
              (std::map<std::string, Value>{{"pack", Value("originalImage")}, {"item", Value("original")}}));

    // Nothing chosen: the first pack is not ready.
    installPacks("frame", {{1, false}, {1, true}});
    statuses_->statuses.clear();
    auto frames = showWithDelegate<QZNotingFramesTool>();
    ASSERT_FALSE(frames->selectedItem());
    tapApply(*frames);
    EXPECT_TRUE(posted_.empty());
    EXPECT_EQ(statuses_->statuses, std::vector<QZToolViewControllerStatus>{QZToolViewControllerStatusApplied});
    EXPECT_TRUE(frames->frameProcessors().empty());
    ASSERT_TRUE(event("unknown :applied"));
    EXPECT_EQ(own(*event("Frames :applied")),
              (std::map<std::string, Value>{{"pack", Value("originalImage")}, {"item", Value("unknown")}}));
}

TEST_F(QZItemChoiceTest, APackNotReadyOpensItsStorePageAndItsNeighboursStayChoosable)
{
    useDevice(UIUserInterfaceIdiomPad);  // every cell in view
    installPacks("frame", {{1, false}, {2, true}});
    auto tool = show<QZNotingFramesTool>();
    ASSERT_TRUE(tap("p1 2"));
    EXPECT_EQ(tool->selectedItem()->identifier(), "p1_2");
    ASSERT_TRUE(tap("None"));
    EXPECT_EQ(tool->selectedItem(), tool->originalContentPackItem());
    // The download cell (the header before it reads the same name).
    auto cell = tool->selectionView()->tableView()->cellForRowAtIndexPath(path(1, 0));
    ASSERT_TRUE(cell);
    driver_.tap(*cell);
    ASSERT_TRUE(tool->detailIAPViewController());
    EXPECT_EQ(tool->detailIAPViewController()->contentPack()->identifier(), "p0");
    EXPECT_EQ(tool->previews, (std::vector<std::string>{"p1_2", "original"}));
}

// ---- The effects cell ----

TEST_F(QZItemStripTest, AnEffectCellShowsOnlyTheThumbnailOfTheContextItHolds)
{
    auto pack = manager()->packWithIdentifier("classic_effects");
    ASSERT_TRUE(pack);
    const auto items = pack->orderedItems();
    ASSERT_EQ(items.size(), 2u);
    auto cell = UITableViewCell::cellWithStyle<QZEffectContentPackUnifiedSelectionViewCell>(
        UITableViewCellStyleDefault, QZEffectContentPackUnifiedSelectionViewController::kItemCellIdentifier);
    auto thumbnail = [] {
        UIGraphicsBeginImageContext(CGSizeMake(4, 4));
        std::shared_ptr<UIImage> image = UIGraphicsGetImageFromCurrentImageContext();
        UIGraphicsEndImageContext();
        return image;
    };

    // Asked for A, then reused for B before A's thumbnail came.
    auto first = QZImageViewContext::make();
    cell->setImageViewContext(first);
    cell->setContentPackItem(items[0]);
    EXPECT_TRUE(cell->activityIndicator()->isAnimating());
    auto second = QZImageViewContext::make();
    cell->setImageViewContext(second);
    cell->setContentPackItem(items[1]);
    first->setImage(thumbnail());
    cell->finishedLoadingPreviewWithContext(first);
    EXPECT_FALSE(cell->previewImageView()->image());
    EXPECT_TRUE(cell->activityIndicator()->isAnimating());
    second->setImage(thumbnail());
    cell->finishedLoadingPreviewWithContext(second);
    ASSERT_TRUE(cell->previewImageView()->image());
    EXPECT_FALSE(cell->activityIndicator()->isAnimating());
    EXPECT_FALSE(cell->outlineImageView()->isHidden());

    // Reused for a pack: the pack's preview, and an item's late thumbnail does not replace it.
    auto third = QZImageViewContext::make();
    cell->setImageViewContext(third);
    cell->setContentPackItem(items[0]);
    cell->setContentPack(pack);
    const std::shared_ptr<UIImage> preview = cell->previewImageView()->image();
    third->setImage(thumbnail());
    cell->finishedLoadingPreviewWithContext(third);
    EXPECT_EQ(cell->previewImageView()->image(), preview);
    EXPECT_TRUE(cell->outlineImageView()->isHidden());
    EXPECT_FALSE(cell->activityIndicator()->isAnimating());
}

}  // namespace
