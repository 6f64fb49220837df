#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TesselSDK/remote/tests/QZContentPackDownloadSupport.h"

namespace {

class QZContentPackDownloadConcurrencyTest : public QZContentPackDownloadFixture {};

TEST_F(QZContentPackDownloadConcurrencyTest, SixDownloadsRunThreeAtATimeAndAllInstall)
{
    const std::string archive = validArchive(50000);
    std::vector<std::shared_ptr<QZContentPackResourceProvider>> providers;
    for (int i = 0; i < 6; ++i) {
        const std::string identifier = "pack" + std::to_string(i);
        // Held long enough that all three running downloads wait at once.
        Response held = binary(archive);
        held.delaySeconds = 2;
        server.setRoute("/" + identifier + ".zip", held);
        providers.push_back(pack(identifier)->highResolutionResourceProvider());
    }
    for (const auto& provider : providers) provider->downloadResources();
    for (const auto& provider : providers) EXPECT_EQ(provider->state(), 2);

    // The server holds every archive: three requests arrive, and no fourth while they wait.
    EXPECT_TRUE(DispatchRunLoop::runUntil([&] { return server.requests().size() >= 3; }, 20));
    DispatchRunLoop::runUntil([] { return false; }, 0.5);
    EXPECT_EQ(server.requests().size(), 3u);

    ASSERT_TRUE(DispatchRunLoop::runUntil(
        [&] {
            for (const auto& provider : providers)
                if (provider->isDownloading()) return false;
            return true;
        },
        30));
    EXPECT_EQ(server.maxRequestsInProgress(), 3);
    EXPECT_EQ(server.requests().size(), 6u);
    for (const auto& provider : providers) {
        SCOPED_TRACE(provider->contentPackIdentifier());
        EXPECT_EQ(provider->state(), 3);
        EXPECT_EQ(readFile(contentDirectory() / (provider->contentPackIdentifier() + ".zip")), archive);
        EXPECT_FALSE(provider->dataForResourceNamed("a.png").isNil());
    }
    for (const auto& event : events) EXPECT_NE(event.name, "fail");
    EXPECT_TRUE(tree(temporaryDirectory()).empty());
}

}  // namespace
