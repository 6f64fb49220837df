#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "Dispatch/Dispatch.h"
#include "Foundation/NSLogCapture.h"
#include "Network/SCNetworkReachability.h"
#include "TesselSDK/remote/QZAssetManager.h"
#include "TesselSDK/remote/tests/QZContentPackDownloadSupport.h"
#include "testing/FaultInjection.h"

namespace {

namespace fs = std::filesystem;

class QZContentPackDownloadTest : public QZContentPackDownloadFixture {};

std::vector<std::string> names(const std::vector<QZProviderEvent>& events)
{
    std::vector<std::string> result;
    for (const auto& event : events) result.push_back(event.name);
    return result;
}

TEST_F(QZContentPackDownloadTest, AHighResolutionDownloadReportsItsStatesAndProgressThenServesTheArchive)
{
    const std::string archive = validArchive();
    server.setRoute("/fx.zip", binary(archive));
    auto provider = pack("fx")->highResolutionResourceProvider();
    EXPECT_EQ(provider->state(), 1);
    EXPECT_TRUE(provider->dataForResourceNamed("a.png").isNil()) << "no archive is consulted before state 3";

    provider->downloadResources();
    provider->downloadResources();  // sees state 2 and returns
    EXPECT_EQ(provider->state(), 2);
    EXPECT_TRUE(provider->isDownloading());
    ASSERT_TRUE(DispatchRunLoop::runUntil(
        [&] { return !events.empty() && events.back().name == "downloadProgress" && events.back().progress == -1.0f; },
        20));
    settle();

    EXPECT_EQ(server.requestCount("/fx.zip"), 1);
    ASSERT_GE(events.size(), 5u);
    EXPECT_EQ(events.front().name, "state");
    EXPECT_EQ(events.front().state, 2);
    std::vector<float> progress;
    for (std::size_t i = 1; i + 2 < events.size(); ++i) {
        EXPECT_EQ(events[i].name, "downloadProgress");
        progress.push_back(events[i].progress);
    }
    ASSERT_GE(progress.size(), 2u) << "the archive comes in several chunks";
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_GT(progress.front(), 0);
    EXPECT_EQ(progress.back(), 1.0f);
    const QZProviderEvent& end = events[events.size() - 2];
    EXPECT_EQ(end.name, "state");
    EXPECT_EQ(end.state, 3);
    EXPECT_EQ(events.back().progress, -1.0f);
    for (const auto& event : events) EXPECT_NE(event.name, "fail");

    EXPECT_FALSE(provider->isDownloading());
    const fs::path installed = contentDirectory() / "fx.zip";
    EXPECT_EQ(readFile(installed), archive);
    EXPECT_TRUE(markedNotToBackUp(installed));
    EXPECT_TRUE(tree(temporaryDirectory()).empty());
    EXPECT_FALSE(provider->dataForResourceNamed("a.png").isNil());
    auto image = provider->imageNamed("a.png");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size().width, 4);
}

TEST_F(QZContentPackDownloadTest, WithoutAContentLengthNoProgressRisesAboveMinusOne)
{
    Response response = binary(validArchive());
    response.sendsContentLength = false;
    server.setRoute("/fx.zip", response);
    auto provider = pack("fx")->highResolutionResourceProvider();
    provider->downloadResources();
    ASSERT_TRUE(DispatchRunLoop::runUntil([&] { return provider->state() == 3 && events.size() >= 3; }, 20));
    settle();
    // Every chunk reported -1, which is not above 0: only the reset's -1 is posted.
    EXPECT_EQ(names(events), (std::vector<std::string>{"state", "state", "downloadProgress"}));
    EXPECT_EQ(events.back().progress, -1.0f);
}

TEST_F(QZContentPackDownloadTest, AThumbnailDownloadAnnouncesThePackOnceAndPostsNoResourceUpdate)
{
    server.setRoute("/fx_thumbnail.zip",
                    binary(archiveBytes(ZipBuilder()
                                            .addStored("status.json", R"({"status": "OK"})")
                                            .addStored("iap_preview.png", qz_archive_test::squarePNG(2)))));
    auto stored = pack("fx");
    auto provider = stored->thumbnailResourceProvider();
    EXPECT_FALSE(stored->assetsAvailableForLowResUse());
    provider->downloadResources();
    ASSERT_TRUE(pumpUntilEvent("available"));
    settle();
    ASSERT_EQ(names(events), std::vector<std::string>{"available"});
    EXPECT_EQ(events.front().identifier, "fx");
    EXPECT_TRUE(stored->assetsAvailableForLowResUse());
    EXPECT_TRUE(fs::exists(contentDirectory() / "fx_thumbnail.zip"));
    EXPECT_FALSE(fs::exists(contentDirectory() / "fx.zip"));
}

TEST_F(QZContentPackDownloadTest, AThumbnailDownloadWithoutTheInternetDoesNothing)
{
    server.setRoute("/fx_thumbnail.zip", binary(validArchive()));
    SCNetworkReachabilitySetFlagsOverride(SCNetworkReachabilityFlags(0));
    auto provider = pack("fx")->thumbnailResourceProvider();
    provider->downloadResources();
    EXPECT_EQ(provider->state(), 1);
    settle();
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(server.requestCount("/fx_thumbnail.zip"), 0);

    // High resolution does not ask.
    server.setRoute("/fx.zip", binary(validArchive()));
    auto highRes = pack("fx")->highResolutionResourceProvider();
    highRes->downloadResources();
    EXPECT_TRUE(DispatchRunLoop::runUntil([&] { return highRes->state() == 3; }, 20));
}

TEST_F(QZContentPackDownloadTest, BundleFilesAreServedWhateverTheState)
{
    write(resourceBundle() / "bundled" / "iap_preview.png", qz_archive_test::squarePNG(2));
    write(resourceBundle() / "bundled" / "recipe.json", "{}");
    auto stored = pack("bundled");
    auto thumbnails = stored->thumbnailResourceProvider();
    auto highRes = stored->highResolutionResourceProvider();
    EXPECT_EQ(thumbnails->state(), 3) << "a preview in the bundle folder counts as downloaded";
    EXPECT_EQ(highRes->state(), 1) << "high resolution counts only its archive";
    EXPECT_EQ(thumbnails->remoteResourceArchive(), nullptr) << "no archive on disk";
    NSLogCapture log;
    EXPECT_TRUE(thumbnails->dataForResourceNamed("a.png").isNil());
    EXPECT_EQ(thumbnails->imageNamed("a.png"), nullptr);
    EXPECT_TRUE(log.lines().empty()) << "a missing resource logs nothing";
    for (const auto& provider : {thumbnails, highRes}) {
        EXPECT_EQ(provider->dataForResourceNamed("recipe.json"), Value(Value::Data{'{', '}'}));
        EXPECT_TRUE(provider->imageNamed("iap_preview.png"));
    }
    thumbnails->downloadResources();
    settle();
    EXPECT_TRUE(events.empty()) << "state 3: nothing to download";
    EXPECT_EQ(server.requests().size(), 0u);
}

TEST_F(QZContentPackDownloadTest, TheRegistryHandsOutOneLiveProviderPerPackAndType)
{
    auto assets = QZAssetManager::sharedManager();
    auto stored = pack("fx");
    auto first = stored->highResolutionResourceProvider();
    EXPECT_EQ(assets->resourceProviderForContentPack(*stored, QZContentPackResourceProviderTypeHighResolution), first);
    EXPECT_NE(assets->resourceProviderForContentPack(*stored, QZContentPackResourceProviderTypeThumbnail), first);

    // Another provider of the same key, made apart and destroyed, leaves the registered one.
    QZContentPackResourceProvider::make(QZContentPackResourceProviderTypeHighResolution, "fx", "", assets).reset();
    EXPECT_EQ(assets->resourceProviderForContentPack(*stored, QZContentPackResourceProviderTypeHighResolution), first);

    // Once every pack object holding it is gone, so is the provider: the registry owns none.
    std::weak_ptr<QZContentPackResourceProvider> old = first;
    first.reset();
    stored.reset();
    restart();
    EXPECT_TRUE(old.expired());
    auto again = manager()->packWithIdentifier("fx");
    ASSERT_TRUE(again);
    auto fresh = again->highResolutionResourceProvider();
    EXPECT_EQ(assets->resourceProviderForContentPack(*again, QZContentPackResourceProviderTypeHighResolution), fresh);
}

TEST_F(QZContentPackDownloadTest, ThumbnailDownloadsStartOnTheMainThreadForPacksThatCannotShow)
{
    write(resourceBundle() / "shown" / "iap_preview.png", qz_archive_test::squarePNG(2));
    server.setRoute("/missing_thumbnail.zip", binary(archiveBytes(ZipBuilder()
                                                                      .addStored("status.json", R"({"status": "OK"})")
                                                                      .addStored("iap_preview.png", qz_archive_test::squarePNG(2)))));
    pack("shown");
    pack("missing");
    std::atomic<bool> returned{false};
    // From a worker, the call hops to the main thread and waits for it.
    dispatch_async(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0), [&] {
        QZAssetManager::sharedManager()->downloadThumbnailAssets();
        returned = true;
    });
    ASSERT_TRUE(DispatchRunLoop::runUntil([&] { return returned.load(); }, 20));
    ASSERT_TRUE(pumpUntilEvent("available"));
    settle();
    EXPECT_EQ(server.requestCount("/missing_thumbnail.zip"), 1);
    EXPECT_EQ(server.requests().size(), 1u) << "a pack whose thumbnails are present downloads nothing";
    ASSERT_EQ(names(events), std::vector<std::string>{"available"});
    EXPECT_EQ(events[0].identifier, "missing");
}

}  // namespace
