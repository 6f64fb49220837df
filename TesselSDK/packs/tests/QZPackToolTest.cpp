// The pack tool base: the welcome prompt, the tray through which the shelf shows, the store's
// choreography on the clock, quick launch, and downloads followed to the screens.

#include "QZPackToolTestSupport.h"

#include "TesselSDK/packs/QZContentPackShelfView.h"
#include "TesselSDK/remote/QZContentPackResourceProvider.h"

#include "TesselSDKFoundation/QZFileSystemUtils.h"

#include "Foundation/NSNotificationCenter.h"
#include "UIKit/UIAlertView.h"
#include "testing/TesselFixtureServer.h"
#include "testing/ZipBuilder.h"

#include <cmath>

namespace {

// Writes a small, valid archive where a provider looks for its set.
void writeArchive(const std::string& name)
{
    ZipBuilder zip;
    zip.addDeflated("status.json", R"({"status": "OK"})");
    std::string error;
    ASSERT_TRUE(zip.writeTo(*QZFileSystemUtils::resourcesDirectoryURL() + "/" + name, &error)) << error;
}

Value framePack(const std::string& identifier, bool requiresDownload, const std::string& base = "http://127.0.0.1:9")
{
    return Value::dictionary({
        {"identifier", identifier},
        {"packType", "frame"},
        {"displayName", identifier},
        {"displayDescription", "A test frame pack"},
        {"codeName", identifier},
        {"assetVersion", "1"},
        {"requiresDownload", requiresDownload},
        {"index", 0},
        {"highResURL", base + "/archives/" + identifier + ".zip"},
        {"thumbnailURL", base + "/archives/" + identifier + "_thumbnail.zip"},
        {"items", Value::array({Value::dictionary(
                      {{"identifier", identifier + "_1"}, {"displayName", "One"}, {"width", 0.05}})})},
    });
}

// ---- The welcome prompt ----

enum class First { None, NeedsDownload, NeedsNone, Downloading, Downloaded };

struct PromptRow {
    const char* name;
    bool frames;  // else the effects tool
    First first;
    bool keyPresent;
    bool alert;
};

class QZWelcomePromptTest : public QZPackToolTest, public ::testing::WithParamInterface<PromptRow> {};

TEST_P(QZWelcomePromptTest, PromptsOnlyOnceAndOnlyForAPackThatMustBeDownloaded)
{
    const PromptRow& row = GetParam();
    TesselFixtureServer server;
    TesselFixtureServer::Response stalled;
    stalled.stalls = true;
    server.setRoute("/archives/first.zip", stalled);
    removeShippedPacks();
    if (row.first != First::None) {
        manager()->insertPackForTesting(framePack("first", row.first != First::NeedsNone, server.baseURL()));
        writeArchive("first_thumbnail.zip");
        auto pack = manager()->packWithIdentifier("first");
        if (row.first == First::Downloaded) writeArchive("first.zip");
        if (row.first == First::Downloading) pack->highResolutionResourceProvider()->downloadResources();
    }
    auto defaults = NSUserDefaults::standardUserDefaults();
    if (row.keyPresent)
        defaults->setObject(Value::dictionary({{row.frames ? "Frames" : "Effects", true}}),
                            kQZToolControllerHasLaunchedDictionary);

    std::shared_ptr<QZContentPackIAPSelectionViewController> tool;
    if (row.frames) {
        auto frames = makeTool<QZTestFramePackTool>();
        frames->prompts = true;
        tool = show(frames);
    } else {
        tool = show<QZTestEffectPackTool>();
    }
    EXPECT_EQ(UIAlertView::visibleAlert() != nullptr, row.alert);
    const Value record = defaults->objectForKey(kQZToolControllerHasLaunchedDictionary);
    if (row.frames)
        EXPECT_EQ(record["Frames"], Value(true));
    else
        EXPECT_TRUE(record["Effects"].isNil() || row.keyPresent);
    if (row.alert) {
        EXPECT_EQ(UIAlertView::visibleAlert()->title(), "Welcome to Frames!");
        ASSERT_TRUE(driver_.pressAlertButton("Cancel"));
        driver_.advance(0.3);
    }
    // A second opening never prompts.
    if (row.frames) {
        auto again = makeTool<QZTestFramePackTool>();
        again->prompts = true;
        show(again);
    } else {
        show<QZTestEffectPackTool>();
    }
    EXPECT_FALSE(UIAlertView::visibleAlert());
    server.releaseStalls();
}

std::string promptRowName(const ::testing::TestParamInfo<PromptRow>& row)
{
    return row.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, QZWelcomePromptTest,
    ::testing::Values(PromptRow{"EffectsNeverPrompt", false, First::NeedsDownload, false, false},
                      PromptRow{"EffectsNeverPromptKeyPresent", false, First::NeedsDownload, true, false},
                      PromptRow{"NoPack", true, First::None, false, false},
                      PromptRow{"NoPackKeyPresent", true, First::None, true, false},
                      PromptRow{"NeedsDownload", true, First::NeedsDownload, false, true},
                      PromptRow{"NeedsDownloadKeyPresent", true, First::NeedsDownload, true, false},
                      PromptRow{"NeedsNoDownload", true, First::NeedsNone, false, false},
                      PromptRow{"NeedsNoDownloadKeyPresent", true, First::NeedsNone, true, false},
                      PromptRow{"Downloading", true, First::Downloading, false, false},
                      PromptRow{"DownloadingKeyPresent", true, First::Downloading, true, false},
                      PromptRow{"Downloaded", true, First::Downloaded, false, false},
                      PromptRow{"DownloadedKeyPresent", true, First::Downloaded, true, false}),
    promptRowName);

TEST_F(QZPackToolTest, ThePromptsAnswersDownloadCancelOrFindNothingLeft)
{
    TesselFixtureServer server;
    TesselFixtureServer::Response stalled;
    stalled.stalls = true;
    const struct {
        const char* name;
        const char* button;
        bool emptied;  // the pack goes while the prompt is up
        std::vector<std::string> events;
        bool downloads;
    } rows[] = {
        {"ok", "OK", false, {"Welcome to Frames: installed"}, true},
        {"cancel", "Cancel", false, {"Welcome to Frames: cancelled"}, false},
        {"nothing left", "OK", true, {}, false},
    };
    auto defaults = NSUserDefaults::standardUserDefaults();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        removeShippedPacks();
        const std::string identifier = std::string("first_") + row.button + (row.emptied ? "_gone" : "");
        server.setRoute("/archives/" + identifier + ".zip", stalled);
        manager()->insertPackForTesting(framePack(identifier, true, server.baseURL()));
        writeArchive(identifier + "_thumbnail.zip");
        auto pack = manager()->packWithIdentifier(identifier);
        defaults->removeObjectForKey(kQZToolControllerHasLaunchedDictionary);
        analytics_->events.clear();
        auto tool = makeTool<QZTestFramePackTool>();
        tool->prompts = true;
        show(tool);
        ASSERT_TRUE(UIAlertView::visibleAlert());
        if (row.emptied) {
            auto context = manager()->contentPackManagedObjectContext();
            context->deleteObject(pack);
            ASSERT_TRUE(context->save(nullptr));
            EXPECT_TRUE(tool->installedContentPacks().empty());
        }
        ASSERT_TRUE(driver_.pressAlertButton(row.button));
        driver_.advance(0.3);
        std::vector<std::string> welcome;
        for (const std::string& name : eventNames())
            if (name.rfind("Welcome", 0) == 0) welcome.push_back(name);
        EXPECT_EQ(welcome, row.events);
        EXPECT_EQ(tool->isDownloading(), row.downloads);
        if (!row.emptied) {
            EXPECT_EQ(pack->highResolutionResourceProvider()->state() == QZContentPackResourceProviderStateDownloading,
                      row.downloads);
        }
    }
    server.releaseStalls();
}

// ---- The tray ----

// A frames tool whose strip holds one section of five 181-point cells: 1000 points of content
// with the 75-point tray.
class QZLongStripTool : public QZTestFramePackTool {
public:
    using QZTestFramePackTool::QZTestFramePackTool;
    NSInteger numberOfSectionsInSelectionView(QZContentPackSelectionView*) override { return 1; }
    NSInteger selectionViewNumberOfRowsInSection(QZContentPackSelectionView*, NSInteger) override { return 5; }
    std::optional<CGFloat> selectionViewHeightForRowAtIndexPath(QZContentPackSelectionView*,
                                                                const std::shared_ptr<NSIndexPath>&) override
    {
        return 181;
    }
};

TEST_F(QZPackToolTest, TheTrayFollowsTheStripsOffset)
{
    auto tool = show<QZLongStripTool>();
    auto table = tool->selectionView()->tableView();
    window_->layoutIfNeeded();
    ASSERT_FLOAT_EQ(table->contentSize().height, 1000);
    ASSERT_FLOAT_EQ(tool->iapShelfView()->leftTrayWidth(), 75);
    const struct {
        CGFloat offset, trayWidth, bounce, trayOffset;
        bool taps;
    } rows[] = {
        {-20, 95, 20, 0, true}, {0, 75, 0, 0, true},     {30, 45, 0, -30, true}, {74, 1, 0, -74, true},
        {75, 0, 0, -75, false}, {200, 0, 0, -75, false}, {700, 0, 0, 75, false},  // past the middle: the shelf waits at
                                                                                  // the right
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.offset);
        table->setContentOffset(CGPointMake(0, row.offset));
        EXPECT_FLOAT_EQ(tool->selectionView()->currentTrayWidth(), row.trayWidth);
        EXPECT_FLOAT_EQ(tool->selectionView()->backgroundView()->frame().origin.x, row.trayWidth - 4);
        EXPECT_FLOAT_EQ(tool->iapShelfView()->bounceOffset(), row.bounce);
        EXPECT_FLOAT_EQ(tool->currentTrayOffset(), row.trayOffset);
        EXPECT_FLOAT_EQ(tool->iapShelfView()->frame().origin.x, row.trayOffset);
        EXPECT_EQ(tool->tapRecognizer()->isEnabled(), row.taps);
    }
    // A finger pulling the strip past its start pulls the shelf's cells along.
    table->setContentOffset(CGPointMake(0, 0));
    driver_.drag({CGPointMake(100, toolTop() + 50), CGPointMake(160, toolTop() + 50)}, 0.3, 0.1);
    EXPECT_GT(tool->iapShelfView()->bounceOffset(), 0);
}

TEST_F(QZPackToolTest, ATapOnTheTrayReachesTheShelfsGetMoreCellOnly)
{
    auto tool = show<QZLongStripTool>();
    driver_.tap(CGPointMake(71, toolTop() + 50));
    EXPECT_FALSE(tool->listIAPViewController());
    driver_.tap(CGPointMake(69.9f, toolTop() + 50));
    EXPECT_TRUE(tool->listIAPViewController());
    EXPECT_TRUE(eventsInOrder({"ListView(Frames) :opened", "LeftGetMoreFrames :selected"}));
    driver_.advance(0.5);
    // Scrolling the strip while the store is out takes the store back in, once the tray has gone.
    auto table = tool->selectionView()->tableView();
    table->setContentOffset(CGPointMake(0, -5));
    EXPECT_TRUE(tool->IAPNavController());
    table->setContentOffset(CGPointMake(0, 0));
    EXPECT_FALSE(tool->IAPNavController());
}

TEST_F(QZPackToolTest, TheFooterMakesTheStripAtLeastTheTrayAndAScreenLong)
{
    auto tool = show<QZTestFramePackTool>();
    auto table = tool->selectionView()->tableView();
    window_->layoutIfNeeded();
    EXPECT_FLOAT_EQ(table->tableFooterView()->frame().size.height, 320);
    EXPECT_FLOAT_EQ(table->contentSize().height, 395);
    UIApplication::sharedApplication()->setStatusBarOrientation(UIInterfaceOrientationLandscapeLeft);
    tool->updateSelectionViewFooter();
    EXPECT_FLOAT_EQ(table->tableFooterView()->frame().size.height, 568);
    EXPECT_FALSE(tool->shouldShowRightGetMore());
    UIApplication::sharedApplication()->setStatusBarOrientation(UIInterfaceOrientationPortrait);
}

// ---- The store on the clock ----

TEST_F(QZPackToolTest, TheDimmerDarkensAfterTheSlideStartsAndClearsBeforeItGoes)
{
    auto tool = show<QZTestFramePackTool>();
    ASSERT_TRUE(driver_.tapViewWithLabel("Get More"));
    auto dimmer = tool->listIAPViewDimmerView();
    ASSERT_TRUE(dimmer);
    const auto shownAlpha = [&] {
        const std::shared_ptr<CALayer> shown = dimmer->layer()->presentationLayer();
        return shown->backgroundColor() ? CGColorGetAlpha(shown->backgroundColor()) : 0;
    };
    driver_.advance(0.05);
    EXPECT_FLOAT_EQ(shownAlpha(), 0);  // waits 0.1 s
    EXPECT_TRUE(tool->selectionView()->isUserInteractionEnabled());
    driver_.advance(0.15);
    EXPECT_GT(shownAlpha(), 0);
    EXPECT_LT(shownAlpha(), 0.6f);
    driver_.advance(0.15);
    EXPECT_FLOAT_EQ(shownAlpha(), 0.6f);
    EXPECT_FALSE(tool->selectionView()->isUserInteractionEnabled());

    // A tap on the dimmer, between the store and the strip, takes the store away.
    driver_.advance(0.2);
    driver_.tap(CGPointMake(160, 458));
    EXPECT_FALSE(tool->IAPNavController());
    driver_.advance(0.15);
    EXPECT_TRUE(dimmer->superview());
    driver_.advance(0.3);
    EXPECT_FALSE(dimmer->superview());
    EXPECT_TRUE(tool->selectionView()->isUserInteractionEnabled());
}

TEST_F(QZPackToolTest, AQuickLaunchedPackOpensWhenTheToolAppearsOrAtOnce)
{
    removeShippedPacks();
    manager()->insertPackForTesting(framePack("early", false));
    manager()->insertPackForTesting(framePack("late", false));
    writeArchive("early_thumbnail.zip");
    writeArchive("late_thumbnail.zip");

    auto tool = makeTool<QZTestFramePackTool>();
    tool->prompts = true;
    tool->presentDetaiIAPViewControllerOnAppearanceWithContentPack(manager()->packWithIdentifier("early"));
    EXPECT_FALSE(tool->detailIAPViewController());
    EXPECT_EQ(tool->packToLaunch()->identifier(), "early");
    show(tool);
    ASSERT_TRUE(tool->detailIAPViewController());
    EXPECT_EQ(tool->detailIAPViewController()->contentPack()->identifier(), "early");
    EXPECT_EQ(tool->detailIAPViewController()->type(), QZContentPackDetailIAPViewControllerTypeFeatured);
    EXPECT_FALSE(UIAlertView::visibleAlert());  // a quick launch does not prompt
    EXPECT_TRUE(tool->isViewInitialized());
    driver_.advance(0.5);
    EXPECT_TRUE(driver_.tapViewWithLabel("Close"));
    driver_.advance(0.5);
    EXPECT_FALSE(tool->IAPNavController());

    tool->presentDetaiIAPViewControllerOnAppearanceWithContentPack(manager()->packWithIdentifier("late"));
    ASSERT_TRUE(tool->detailIAPViewController());
    EXPECT_EQ(tool->detailIAPViewController()->contentPack()->identifier(), "late");
    EXPECT_TRUE(eventsInOrder({"Featured(early) :opened", "Featured(Frame) : cancelled", "Featured(late) :opened"}));
}

// ---- Downloads ----

class QZPackDownloadTest : public QZPackToolTest {
protected:
    void SetUp() override
    {
        QZPackToolTest::SetUp();
        SCNetworkReachabilitySetFlagsOverride(kSCNetworkReachabilityFlagsReachable);
        removeShippedPacks();
        manager()->insertPackForTesting(framePack("pack", true, server_.baseURL()));
        writeArchive("pack_thumbnail.zip");
        pack_ = manager()->packWithIdentifier("pack");
    }
    static bool networkUntil(const std::function<bool()>& condition)
    {
        return DispatchRunLoop::runUntil(condition, 30);
    }

    TesselFixtureServer server_;
    std::shared_ptr<QZContentPack> pack_;
};

TEST_F(QZPackDownloadTest, AFailedDownloadAlertsOnceForTheHighResolutionSetOnly)
{
    server_.setRoute("/archives/pack.zip", TesselFixtureServer::Response::text("gone", 404, "text/plain"));
    auto tool = show<QZTestFramePackTool>();
    ASSERT_TRUE(driver_.tapViewWithLabel("Get More"));
    driver_.advance(0.5);
    auto list = tool->listIAPViewController();
    ASSERT_TRUE(list);
    auto row = list->productCellForContentPack(pack_);
    ASSERT_TRUE(row);

    // The pack's own set failing: one alert, the flag goes, the row offers the download again.
    ASSERT_TRUE(driver_.tapViewWithLabel("Download"));
    EXPECT_TRUE(tool->IAPNavController());  // installing from a row leaves the list open
    EXPECT_TRUE(tool->isDownloading());
    EXPECT_EQ(row->installedLabel()->text(), "Installing");
    EXPECT_FLOAT_EQ(row->downloadProgressView()->alpha(), 1);
    ASSERT_TRUE(networkUntil([&] { return !tool->isDownloading(); }));
    DispatchRunLoop::drain();
    auto alert = UIAlertView::visibleAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->message(),
              "Your pack was unable to finish downloading. Please check your internet connection and try again.");
    EXPECT_EQ(alert->buttonTitleAtIndex(0), "OK");
    EXPECT_EQ(pack_->highResolutionResourceProvider()->state(), QZContentPackResourceProviderStateNotDownloaded);
    EXPECT_FALSE(row->installButton()->isHidden());
    ASSERT_TRUE(driver_.pressAlertButton("OK"));
    driver_.advance(0.3);

    // Another pack's thumbnails failing while this tool downloads: no alert, the flag goes.
    TesselFixtureServer::Response stalled;
    stalled.stalls = true;  // then an empty body, which is no archive
    server_.setRoute("/archives/pack.zip", stalled);
    ASSERT_TRUE(driver_.tapViewWithLabel("Download"));
    EXPECT_TRUE(tool->isDownloading());
    manager()->insertPackForTesting(framePack("other", true, server_.baseURL()));
    server_.setRoute("/archives/other_thumbnail.zip", TesselFixtureServer::Response::text("gone", 404, "text/plain"));
    manager()->packWithIdentifier("other")->thumbnailResourceProvider()->downloadResources();
    ASSERT_TRUE(networkUntil([&] { return !tool->isDownloading(); }));
    DispatchRunLoop::drain();
    EXPECT_FALSE(UIAlertView::visibleAlert());
    // The stalled set then fails too, but this tool no longer waits for it.
    server_.releaseStalls();
    ASSERT_TRUE(networkUntil([&] { return !pack_->highResolutionResourceProvider()->isDownloading(); }));
    DispatchRunLoop::drain();
    EXPECT_FALSE(UIAlertView::visibleAlert());
    EXPECT_TRUE(eventsInOrder({"ListView(pack) :Installed", "ListView(pack) :Installed"}));
}

TEST_F(QZPackDownloadTest, ADownloadOnAToolsOwnPageTakesTheWholeStoreAway)
{
    TesselFixtureServer::Response stalled;
    stalled.stalls = true;
    server_.setRoute("/archives/pack.zip", stalled);
    auto tool = show<QZTestFramePackTool>();
    tool->presentDetailIAPViewControllerWithContentPack(pack_);
    driver_.advance(0.5);
    ASSERT_TRUE(driver_.tapViewWithLabel("Download"));
    EXPECT_FALSE(tool->IAPNavController());
    EXPECT_FALSE(tool->detailIAPViewController());
    EXPECT_TRUE(tool->isDownloading());
    EXPECT_TRUE(eventsInOrder({"Featured(pack) :opened", "Featured(pack) : installed"}));
    server_.releaseStalls();
}

TEST_F(QZPackDownloadTest, AToolThatIsGoneHearsNothing)
{
    std::weak_ptr<QZContentPackIAPSelectionViewController> gone;
    {
        auto tool = makeTool<QZTestFramePackTool>();
        tool->view();
        gone = tool;
    }
    ASSERT_TRUE(gone.expired());
    auto center = NSNotificationCenter::defaultCenter();
    auto provider = pack_->highResolutionResourceProvider();
    center->postNotificationName(QZTesselContentManagerResourcesUpdatedNotification, provider,
                                 Value::dictionary({{"keyPath", "state"}}));
    center->postNotificationName(kQZResourceProviderDidFail, provider,
                                 Value::dictionary({{kQZResourceProvierHighRes, true}}));
    center->postNotificationName(QZPhotoEditorControllerContentPackAvailabilityNotification, nullptr,
                                 Value::dictionary({{kQZPhotoEditorControllerContentPackAvailabiltyClass,
                                                     Value(std::const_pointer_cast<QZManagedObjectClass>(
                                                         QZManagedObjectClass::classNamed("QZFrameContentPack")))}}));
    EXPECT_FALSE(UIAlertView::visibleAlert());
}

}  // namespace
