// The pack tools on a real GL context with the loopback fixture server (skipped, never passed,
// where no GL context can be made): the thumbnails an install from the store renders for the
// effects strip, and a frame drawn on the canvas and taken away again.

#include "QZPackToolsGLTestSupport.h"

namespace pack_tools_gl {
namespace {

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
}  // namespace pack_tools_gl
