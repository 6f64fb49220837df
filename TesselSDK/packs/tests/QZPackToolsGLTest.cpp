// The effects and frames tools on a real GL context (skipped, never passed, where none can be
// made), shown as the root screen shows them over a canvas that presents the GL instance's image:
// what each choice renders and hands over, readiness around a preview held on the GL queue, the
// store's preview sizes, and the thumbnails an install from the store asks for.

#include "QZPackToolTestSupport.h"

#include "TesselSDK/packs/QZContentAppliedNotification.h"
#include "TesselSDK/packs/QZEffectContentPackUnifiedSelectionViewController.h"
#include "TesselSDK/packs/QZFrameContentPackUnifiedSelectionViewController.h"
#include "TesselSDK/remote/QZContentUpdateDocuments.h"
#include "TesselSDK/remote/QZEffectContentPackItem.h"
#include "TesselSDK/remote/QZEffectContentPackThumnailGenerator.h"

#include "TesselSDK/shell/tests/QZPhotoEditorReplaySupport.h"
#include "TesselSDKFoundation/QZFileSystemUtils.h"
#include "TesselSDKImaging/Modules/QZJSONEffectModule.h"
#include "TesselSDKImaging/Modules/QZOriginalModule.h"
#include "TesselSDKImaging/QZOpenGLManager.h"
#include "TesselSDKImaging/tests/QZGLTestSupport.h"

#include "Foundation/NSNotificationCenter.h"
#include "testing/TesselFixtureServer.h"
#include "testing/ZipBuilder.h"

#include <fstream>
#include <iterator>

namespace {

using qz_test::Pixels;

struct StatusRecorder : QZToolViewControllerDelegate {
    std::vector<QZToolViewControllerStatus> statuses;
    void toolControllerFinishedWithStatus(QZToolViewController*, QZToolViewControllerStatus status) override
    {
        statuses.push_back(status);
    }
};

class QZPackToolsGLTest : public QZPackToolTest {
protected:
    void SetUp() override
    {
        QZPackToolTest::SetUp();
        if (QZOpenGLManager::sharedOpenGLManager()->setupFailed()) GTEST_SKIP() << "no GL context";
        NSUserDefaults::standardUserDefaults()->setObject(Value::dictionary({{"Frames", true}}),
                                                          kQZToolControllerHasLaunchedDictionary);
        photo_ = qz_test::makePixels(160, 120, [](std::size_t x, std::size_t y) {
            const bool check = ((x / 6) + (y / 6)) % 2 == 0;
            return std::array<std::uint8_t, 4>{std::uint8_t(60 + x), std::uint8_t(check ? 170 : 90),
                                               std::uint8_t(40 + y), 255};
        });
        const CGSize size = CGSizeMake(CGFloat(photo_.width), CGFloat(photo_.height));
        gl_ = QZOpenGLInstance::make(size, QopGLRenderingModeDefault, QZQueueTypeSDK);
        ASSERT_TRUE(gl_);
        bool loaded = false;
        gl_->setInputImageData(reinterpret_cast<const std::uint8_t*>(photo_.rgba.data()), size, true,
                               [&] { loaded = true; });
        ASSERT_TRUE(qz_test::pumpUntil([&] { return loaded; }));
        // As the editor starts: the photo rendered unchanged.
        bool shown = false;
        gl_->renderIdentityImageWithCompletion([&] { shown = true; });
        ASSERT_TRUE(qz_test::pumpUntil([&] { return shown; }));
        center_ = NSNotificationCenter::defaultCenter();
        observer_ = center_->addObserverForName(
            QZContentAppliedNotification, nullptr,
            [this](const std::shared_ptr<NSNotification>& note) { posted_.push_back(note->userInfo()); });
    }
    void TearDown() override
    {
        if (center_) center_->removeObserver(observer_);
        tool_.reset();
        if (gl_) {
            gl_->resumeRendering();
            gl_.reset();
            EXPECT_TRUE(qz_test::drainGPUQueue());
        }
        QZPackToolTest::TearDown();
    }

    // Shown as the root screen shows a tool, on the GL instance, over a canvas presenting it.
    template <class T>
    std::shared_ptr<T> present()
    {
        canvas_ = UIView::viewWithFrame<QZScrollingImageView>(CGRectMake(0, 64, width(), toolTop() - 64));
        window_->addSubview(canvas_);
        canvas_->setImageSize(gl_->currentImageSize());
        canvas_->showOpenGLView(true);
        canvas_->layoutIfNeeded();
        gl_->setRenderbufferFromOpenGLView(canvas_->openGLView());
        bar_ = UIView::viewWithFrame<QZNavigationBar>(CGRectMake(0, 20, width(), 44));
        window_->addSubview(bar_);
        auto tool = QZToolViewController::makeWithGLInstance<T>(gl_, Value(), false);
        tool->setDelegate(statuses_);
        tool->setNavigationBar(bar_);
        tool->setTargetViewHeight(kToolHeight);
        tool->setScrollableImageView(canvas_);
        tool->setAnalyticsKey(tool->contentPackDescriptor());
        const auto& view = tool->view();
        view->setFrame(CGRectMake(0, toolTop(), width(), kToolHeight));
        window_->addSubview(view);
        bar_->pushNavigationItem(tool->navigationItem(), false);
        tool->viewWillAppear(false);
        tool->viewDidAppear(false);
        driver_.advance(0.4);
        tool_ = tool;
        return tool;
    }

    // What the GL instance shows now (its last render), once everything queued has run.
    std::optional<Pixels> rendered()
    {
        std::shared_ptr<UIImage> image;
        bool read = false;
        gl_->getOutputImageFromLastRender([&](std::shared_ptr<UIImage> output) {
            image = std::move(output);
            read = true;
        });
        if (!qz_test::pumpUntil([&] { return read; }) || !image) return std::nullopt;
        return qz_test::pixelsOf(image);
    }
    bool tap(const std::string& label) { return driver_.tapViewWithLabel(label); }
    void tapApply(QZToolViewController& tool) { driver_.tap(*tool.applyButton()->customView()); }
    bool settled(QZToolViewController& tool)
    {
        return qz_test::drainGPUQueue() && qz_test::pumpUntil([&] { return tool.isReadyToApply(); });
    }

    Pixels photo_;
    std::shared_ptr<QZOpenGLInstance> gl_;
    std::shared_ptr<StatusRecorder> statuses_ = std::make_shared<StatusRecorder>();
    std::shared_ptr<NSNotificationCenter> center_;
    std::shared_ptr<NSObject> observer_;
    std::vector<Value> posted_;
};

// ---- Effects ----

TEST_F(QZPackToolsGLTest, EachEffectChoiceIsPreviewedWithAFreshSeedAndTheLastOneHandedOver)
{
    auto tool = present<QZEffectContentPackUnifiedSelectionViewController>();
    ASSERT_TRUE(settled(*tool));
    // "Original" first: the pass-through module, borders on; the photo as it was.
    EXPECT_TRUE(std::dynamic_pointer_cast<QZOriginalModule>(tool->effectModule()));
    EXPECT_TRUE(tool->effectModule()->bordersEnabled());
    EXPECT_FALSE(tool->editButttonShouldPrompt());
    auto shown = rendered();
    ASSERT_TRUE(shown);
    EXPECT_LE(qz_test::maxDifference(*shown, photo_), 1);

    ASSERT_TRUE(tap("Tintype"));
    ASSERT_TRUE(settled(*tool));
    auto first = std::dynamic_pointer_cast<QZJSONEffectModule>(tool->effectModule());
    ASSERT_TRUE(first);
    auto tintype = std::dynamic_pointer_cast<QZEffectContentPackItem>(tool->selectedItem());
    ASSERT_TRUE(tintype);
    ASSERT_TRUE(first->jsonString());
    EXPECT_EQ(*first->jsonString(), tintype->effectJSON());
    EXPECT_TRUE(first->bordersEnabled());
    EXPECT_EQ(tool->effectKey(), "tintype");
    EXPECT_TRUE(tool->editButttonShouldPrompt());
    shown = rendered();
    ASSERT_TRUE(shown);
    EXPECT_GE(qz_test::maxDifference(*shown, photo_), 30) << "the effect did not reach the canvas";

    ASSERT_TRUE(tap("Tintype"));  // back to Original
    ASSERT_TRUE(settled(*tool));
    EXPECT_TRUE(std::dynamic_pointer_cast<QZOriginalModule>(tool->effectModule()));
    shown = rendered();
    ASSERT_TRUE(shown);
    EXPECT_LE(qz_test::maxDifference(*shown, photo_), 1);

    ASSERT_TRUE(tap("Tintype"));
    ASSERT_TRUE(settled(*tool));
    auto second = std::dynamic_pointer_cast<QZJSONEffectModule>(tool->effectModule());
    ASSERT_TRUE(second);
    EXPECT_NE(second, first);
    EXPECT_NE(second->parameterSeed(), first->parameterSeed()) << "one seed for two previews";
    EXPECT_EQ(tool->outputModule(), second);
}

TEST_F(QZPackToolsGLTest, AnApplyDuringTheEffectsPreviewCompletesOnceItIsShown)
{
    auto tool = present<QZEffectContentPackUnifiedSelectionViewController>();
    ASSERT_TRUE(settled(*tool));
    gl_->pauseRendering();
    ASSERT_TRUE(tap("Tintype"));
    EXPECT_FALSE(tool->isReadyToApply());
    tapApply(*tool);
    EXPECT_EQ(posted_.size(), 1u);
    DispatchRunLoop::drain();
    EXPECT_TRUE(statuses_->statuses.empty()) << "applied before the preview was shown";
    EXPECT_FALSE(tool->isReadyToApply());
    gl_->resumeRendering();
    ASSERT_TRUE(qz_test::pumpUntil([&] { return !statuses_->statuses.empty(); }));
    EXPECT_EQ(statuses_->statuses, std::vector<QZToolViewControllerStatus>{QZToolViewControllerStatusApplied});
    EXPECT_TRUE(tool->isReadyToApply());
    EXPECT_TRUE(tool->renderEndDate());
    EXPECT_EQ(posted_.size(), 1u);
}

struct PreviewSizeRow {
    const char* name;
    int idiom;  // 2: a value the device does not name
    CGFloat scale;
    CGFloat store, strip;  // pixels of a side
};

void PrintTo(const PreviewSizeRow& row, std::ostream* out)
{
    *out << row.name;
}

class QZStorePreviewSizeTest : public QZPackToolsGLTest, public ::testing::WithParamInterface<PreviewSizeRow> {};

TEST_P(QZStorePreviewSizeTest, StorePreviewsAre85PointsOr170OnATablet)
{
    const PreviewSizeRow& row = GetParam();
    PlatformSettings::setInterfaceIdiom(row.idiom);
    PlatformSettings::setScreenScale(row.scale);
    auto tool = present<QZEffectContentPackUnifiedSelectionViewController>();
    ASSERT_TRUE(tool->thumbnailGenerator());
    EXPECT_EQ(tool->thumbnailGenerator()->thumbnailSize().width, row.strip);
    EXPECT_EQ(tool->thumbnailGenerator()->thumbnailSize().height, row.strip);
    EXPECT_FALSE(tool->storePreviewGenerator()) << "made before the store is opened";
    tool->setupStorePreviewGenerator();
    ASSERT_TRUE(tool->storePreviewGenerator());
    EXPECT_EQ(tool->storePreviewGenerator()->thumbnailSize().width, row.store);
    EXPECT_EQ(tool->storePreviewGenerator()->thumbnailSize().height, row.store);
    // Both go with the tool's view.
    tool->viewWillDisappear(false);
    EXPECT_FALSE(tool->thumbnailGenerator());
    EXPECT_FALSE(tool->storePreviewGenerator());
}

INSTANTIATE_TEST_SUITE_P(Table, QZStorePreviewSizeTest,
                         ::testing::Values(PreviewSizeRow{"Phone1x", UIUserInterfaceIdiomPhone, 1, 85, 64},
                                           PreviewSizeRow{"Phone2x", UIUserInterfaceIdiomPhone, 2, 170, 128},
                                           PreviewSizeRow{"Tablet1x", UIUserInterfaceIdiomPad, 1, 170, 64},
                                           PreviewSizeRow{"Tablet2x", UIUserInterfaceIdiomPad, 2, 340, 128},
                                           PreviewSizeRow{"UnknownIdiom1x", 2, 1, 85, 64},
                                           PreviewSizeRow{"UnknownIdiom2x", 2, 2, 170, 128}),
                         [](const ::testing::TestParamInfo<PreviewSizeRow>& row) {
                             return std::string(row.param.name);
                         });

// A pack installed from the store list: every one of its effects is rendered into the strip's
// cache while it downloads, before the strip could show it.
TEST_F(QZPackToolsGLTest, InstallingFromTheStoreRendersEveryEffectOfThePackForTheStrip)
{
    SCNetworkReachabilitySetFlagsOverride(kSCNetworkReachabilityFlagsReachable);
    TesselFixtureServer server;
    ZipBuilder zip;
    zip.addDeflated("status.json", R"({"status": "OK"})");
    ASSERT_TRUE(zip.writeTo(sandbox_.path("extra.zip")));
    std::ifstream archive(sandbox_.path("extra.zip"), std::ios::binary);
    TesselFixtureServer::Response served;
    served.body.assign(std::istreambuf_iterator<char>(archive), {});
    served.headers = {{"Content-Type", "application/zip"}};
    server.setRoute("/archives/extra.zip", served);

    auto tool = present<QZEffectContentPackUnifiedSelectionViewController>();
    ASSERT_TRUE(settled(*tool));
    // A pack that arrived after the tool opened: on the store's list, not in the strip.
    auto effect = [](const std::string& identifier, const std::string& legacyName) {
        return Value::dictionary(
            {{"identifier", identifier},
             {"displayName", identifier},
             {"processors",
              Value::array({Value::dictionary(
                  {{"name", "legacyProcessor"}, {"parameters", Value::dictionary({{"legacyName", legacyName}})}})})}});
    };
    // As a content update stores it: each effect's document becomes its recipe.
    manager()->insertPackForTesting(QZFormattedEffectPack(Value::dictionary({
        {"identifier", "extra"},
        {"packType", "effect"},
        {"displayName", "Extra"},
        {"displayDescription", "Two more looks"},
        {"codeName", "extra"},
        {"assetVersion", "1"},
        {"requiresDownload", true},
        {"index", 5},
        {"highResURL", server.baseURL() + "/archives/extra.zip"},
        {"thumbnailURL", server.baseURL() + "/archives/extra_thumbnail.zip"},
        {"items", Value::array({effect("sepia_one", "pellarTintypeColorMatrixTransform"),
                                effect("sepia_two", "pellarTintypeColorMatrixTransform")})},
    })));
    ZipBuilder thumbnails;
    thumbnails.addDeflated("status.json", R"({"status": "OK"})");
    ASSERT_TRUE(thumbnails.writeTo(*QZFileSystemUtils::resourcesDirectoryURL() + "/extra_thumbnail.zip"));
    const auto cache = tool->thumbnailGenerator()->thumbnailCache();
    EXPECT_TRUE(cache->objectForKey("sepia_one").isNil());

    ASSERT_TRUE(tap("Get More"));
    driver_.advance(0.5);
    ASSERT_TRUE(tool->listIAPViewController());
    ASSERT_TRUE(tap("Download"));
    ASSERT_TRUE(qz_test::pumpUntil(
        [&] { return !cache->objectForKey("sepia_one").isNil() && !cache->objectForKey("sepia_two").isNil(); }));
    ASSERT_TRUE(DispatchRunLoop::runUntil([&] { return !QZAssetManager::sharedManager()->isDownloading(); }, 30));
    DispatchRunLoop::drain();
}

// ---- Frames ----

TEST_F(QZPackToolsGLTest, AFrameIsDrawnOnTheCanvasAndNoneShowsThePhotoAsItWas)
{
    auto tool = present<QZFrameContentPackUnifiedSelectionViewController>();
    ASSERT_TRUE(qz_test::drainGPUQueue());
    auto shown = rendered();
    ASSERT_TRUE(shown);
    EXPECT_LE(qz_test::maxDifference(*shown, photo_), 1);

    ASSERT_TRUE(tap("Oak"));
    shown = rendered();
    ASSERT_TRUE(shown);
    // The border changes, the middle does not.
    const Pixels& photo = photo_;
    auto region = [](const Pixels& image, std::size_t x, std::size_t y, std::size_t w, std::size_t h) {
        return qz_test::makePixels(w, h, [&](std::size_t i, std::size_t j) { return image.at(x + i, y + j); });
    };
    EXPECT_GE(qz_test::maxDifference(region(*shown, 0, 0, 160, 4), region(photo, 0, 0, 160, 4)), 30);
    EXPECT_LE(qz_test::maxDifference(region(*shown, 40, 30, 80, 60), region(photo, 40, 30, 80, 60)), 1);
    EXPECT_TRUE(tool->isReadyToApply());

    ASSERT_TRUE(tap("None"));
    shown = rendered();
    ASSERT_TRUE(shown);
    EXPECT_LE(qz_test::maxDifference(*shown, photo_), 1);
    tapApply(*tool);
    ASSERT_TRUE(qz_test::pumpUntil([&] { return !statuses_->statuses.empty(); }));
    EXPECT_TRUE(posted_.empty());
    QZProcessorList processors;
    tool->outputModule()->createProcessors(processors);
    EXPECT_TRUE(processors.empty());
}

}  // namespace
