// The store through touches, on a phone and on a tablet: a content root set up as tessel_editor's
// --content-root and --server set it up, one content update from the store tree run to its end,
// then a frames tool: Get More opens the list over the editor, a row opens its pack's page, the
// install button downloads the pack, Store goes back and Close takes the store away.

#include "QZPackToolTestSupport.h"

#include "TesselEditorHost.h"

#include "TesselSDK/packs/QZContentPackListIAPViewProductCell.h"

#include "TesselSDKFoundation/QZFileSystemUtils.h"

#include "testing/TesselFixtureServer.h"

#include <fstream>
#include <iterator>

namespace {

class QZPackStoreFlowTest : public QZPackToolTest, public ::testing::WithParamInterface<UIUserInterfaceIdiom> {
protected:
    static constexpr double kNetwork = 60;  // real seconds

    void SetUp() override
    {
        QZPackToolTest::SetUp();
        useDevice(GetParam());
        std::filesystem::copy(std::string(TESSEL_CONTENT_FIXTURES_DIR) + "/store-tree", tree_,
                              std::filesystem::copy_options::recursive);
        server_.serveDirectory(tree_);
        std::string error;
        ASSERT_TRUE(tessel_editor::applyContentOptions({sandbox_.path("root"), server_.baseURL()}, &error)) << error;
    }

    // Until the condition holds, turning the main queue in real time (responses and downloads
    // arrive there); the virtual clock does not move.
    static bool networkUntil(const std::function<bool()>& condition)
    {
        return DispatchRunLoop::runUntil(condition, kNetwork);
    }

    std::shared_ptr<UIView> visible(const std::string& label) { return UITestDriver::visibleViewWithLabel(label); }
    bool tap(const std::string& label) { return driver_.tapViewWithLabel(label); }

    std::string tree_ = sandbox_.path("store-tree");
    TesselFixtureServer server_;
};

TEST_P(QZPackStoreFlowTest, GetMoreListPageDownloadStoreAndClose)
{
    const bool pad = GetParam() == UIUserInterfaceIdiomPad;
    // One update to its end: the store's pack and its thumbnails.
    auto update = QZContentPackUpdate::sharedUpdate();
    update->updateContentPacks();
    ASSERT_TRUE(networkUntil([&] {
        auto harbour = manager()->packWithIdentifier("harbour");
        return !manager()->isUpdatingAssets() && !QZAssetManager::sharedManager()->isDownloading() && harbour &&
               harbour->assetsAvailableForLowResUse();
    }));
    EXPECT_EQ(update->lastResult().outcome, QZContentUpdateOutcome::Committed);
    // The archive waits until the page has shown that it installs.
    std::ifstream archive(tree_ + "/content/archives/harbour.zip", std::ios::binary);
    TesselFixtureServer::Response stalled;
    stalled.body.assign(std::istreambuf_iterator<char>(archive), {});
    stalled.headers = {{"Content-Type", "application/zip"}};
    stalled.stalls = true;
    server_.setRoute("/content/archives/harbour.zip", stalled);

    auto tool = show<QZTestFramePackTool>();
    EXPECT_EQ(tool->selectionView()->tableView()->numberOfSections(), 0);  // its strip holds no cells
    screenshot(std::string(pad ? "tablet" : "phone") + "-1-tool");

    // Get More: the list comes over the editor.
    ASSERT_TRUE(tap("Get More"));
    auto navigation = tool->IAPNavController();
    ASSERT_TRUE(navigation);
    auto list = std::dynamic_pointer_cast<QZFrameContentPackListIAPViewController>(tool->listIAPViewController());
    ASSERT_TRUE(list);
    const std::shared_ptr<UIView>& sheet = navigation->view();
    if (pad) {
        EXPECT_EQ(tool->presentedViewController(), navigation);
        driver_.advance(0.35);
        EXPECT_TRUE(CGRectEqualToRect(sheet->frame(), CGRectMake(114, 202, 540, 620)));
    } else {
        EXPECT_FLOAT_EQ(sheet->layer()->presentationLayer()->frame().origin.y, -448);
        EXPECT_FALSE(sheet->isUserInteractionEnabled());
        driver_.advance(0.2);
        const CGFloat halfway = sheet->layer()->presentationLayer()->frame().origin.y;
        EXPECT_GT(halfway, -448);
        EXPECT_LT(halfway, 0);
        EXPECT_FALSE(sheet->isUserInteractionEnabled());
        driver_.advance(0.21);
        EXPECT_FLOAT_EQ(sheet->layer()->presentationLayer()->frame().origin.y, 0);
        EXPECT_TRUE(CGRectEqualToRect(sheet->frame(), CGRectMake(0, 0, 320, 448)));
        EXPECT_TRUE(sheet->isUserInteractionEnabled());
    }
    driver_.advance(0.1);
    ASSERT_TRUE(tool->listIAPViewDimmerView());
    EXPECT_FLOAT_EQ(CGColorGetAlpha(tool->listIAPViewDimmerView()->backgroundColor()->CGColor()), 0.6f);
    EXPECT_FALSE(tool->selectionView()->isUserInteractionEnabled());
    EXPECT_TRUE(visible("Frame Store"));
    auto harbourRow = visible("Harbour"), classicRow = visible("Classic Frames");
    ASSERT_TRUE(harbourRow && classicRow);
    // Harbour is listed by the service; the shipped pack is not, so it comes after.
    EXPECT_LT(UITestDriver::visibleRect(*harbourRow).origin.y, UITestDriver::visibleRect(*classicRow).origin.y);
    EXPECT_TRUE(visible("Download"));
    EXPECT_TRUE(visible("Installed"));
    screenshot(std::string(pad ? "tablet" : "phone") + "-2-list");

    // A row: its pack's page, pushed.
    ASSERT_TRUE(tap("Harbour"));
    driver_.advance(0.35);
    auto page = list->detailViewController();
    ASSERT_TRUE(page);
    EXPECT_EQ(page->type(), QZContentPackDetailIAPViewControllerTypeList);
    EXPECT_EQ(navigation->topViewController(), page);
    EXPECT_TRUE(visible("Store"));
    EXPECT_TRUE(visible("Rope") == nullptr);  // previews, not names, on a frame page
    screenshot(std::string(pad ? "tablet" : "phone") + "-3-page");

    // Download: installing with its bar, then installed.
    ASSERT_TRUE(tap("Download"));
    EXPECT_TRUE(visible("Installing"));
    EXPECT_FLOAT_EQ(page->downloadProgressView()->alpha(), 1);
    EXPECT_TRUE(tool->isDownloading());
    screenshot(std::string(pad ? "tablet" : "phone") + "-4-installing");
    server_.releaseStalls();
    auto harbour = manager()->packWithIdentifier("harbour");
    ASSERT_TRUE(networkUntil([&] {
        return harbour->highResolutionResourceProvider()->state() == QZContentPackResourceProviderStateDownloaded &&
               !QZAssetManager::sharedManager()->isDownloading();
    }));
    DispatchRunLoop::drain();
    EXPECT_TRUE(visible("Installed"));
    EXPECT_FALSE(visible("Installing"));
    EXPECT_TRUE(std::filesystem::is_regular_file(*QZFileSystemUtils::resourcesDirectoryURL() + "/harbour.zip"));

    // Store: back to the list, whose row reads installed.
    ASSERT_TRUE(tap("Store"));
    driver_.advance(0.35);
    EXPECT_EQ(navigation->topViewController(), list);
    auto row = list->productCellForContentPack(harbour);
    ASSERT_TRUE(row);
    EXPECT_FALSE(row->installedLabel()->isHidden());
    EXPECT_EQ(row->installedLabel()->text(), "Installed");
    EXPECT_TRUE(row->installButton()->isHidden());
    EXPECT_FALSE(visible("Download"));

    // Close: the store goes, the strip takes touches again.
    auto dimmer = tool->listIAPViewDimmerView();
    ASSERT_TRUE(tap("Close"));
    EXPECT_FALSE(tool->IAPNavController());
    driver_.advance(0.45);
    EXPECT_FALSE(sheet->superview());
    EXPECT_FALSE(dimmer->superview());
    EXPECT_FALSE(tool->listIAPViewDimmerView());
    EXPECT_TRUE(tool->selectionView()->isUserInteractionEnabled());
    screenshot(std::string(pad ? "tablet" : "phone") + "-5-closed");

    EXPECT_TRUE(
        eventsInOrder({"ListView(Frames) :opened", "LeftGetMoreFrames :selected", "ListView(harbour) :selected",
                       "DetailView(harbour) : installed", "DetailView(Frame) : closed", "ListView(Frame) :closed"}));
}

std::string deviceName(const ::testing::TestParamInfo<UIUserInterfaceIdiom>& device)
{
    return device.param == UIUserInterfaceIdiomPad ? "Tablet" : "Phone";
}

INSTANTIATE_TEST_SUITE_P(Devices, QZPackStoreFlowTest,
                         ::testing::Values(UIUserInterfaceIdiomPhone, UIUserInterfaceIdiomPad), deviceName);

}  // namespace
