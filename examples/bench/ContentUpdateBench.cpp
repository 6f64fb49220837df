// ContentUpdateBench [PACKS]: one content update of a manifest of PACKS new sticker packs (20,000
// by default), each with its pack document and a thumbnail archive, served by the loopback fixture
// server, on a fresh sandbox root; then a second update whose manifest names the same packs again
// (only compared, nothing fetched). Prints the seconds of each part. A program, not a test.
#include "Dispatch/DispatchRunLoop.h"
#include "Foundation/NSUserDefaults.h"
#include "Foundation/PlatformSettings.h"
#include "Network/SCNetworkReachability.h"
#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZContentPackUpdate.h"
#include "TesselSDK/remote/QZRemoteConfiguration.h"
#include "TesselSDK/remote/QZRemoteRegisterClasses.h"
#include "TesselSDK/remote/QZTesselContentManager.h"
#include "testing/TesselFixtureServer.h"
#include "testing/ZipBuilder.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void write(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

void publish(const fs::path& tree, const std::string& version, int packs)
{
    write(tree / "ios/cds/api/bench/version.json",
          R"({"manifestVersion": ")" + version + R"(", "manifestURL": "@BASE@/content/manifest.json"})");
    std::string entries;
    for (int i = 0; i < packs; ++i)
        entries += std::string(i ? ",\n" : "") + R"({"identifier": "p)" + std::to_string(i) +
                   R"(", "packVersion": "1.0", "manifestURL": "@BASE@/content/packs/p)" + std::to_string(i) +
                   R"(.json"})";
    write(tree / "content/manifest.json", R"({"sdkVersion": "3.3", "manifestVersion": ")" + version +
                                              R"(", "deletedPacks": [], "packs": [)" + entries + "]}");
}

// Waits for the thumbnail downloads running now, checking the one that ended last first.
void waitForThumbnails()
{
    std::vector<std::shared_ptr<QZContentPackResourceProvider>> downloads;
    for (const auto& pack : QZTesselContentManager::sharedManager()->contentPacks())
        if (pack->thumbnailResourceProvider()->isDownloading()) downloads.push_back(pack->thumbnailResourceProvider());
    DispatchRunLoop::runUntil(
        [&] {
            while (!downloads.empty() && !downloads.back()->isDownloading()) downloads.pop_back();
            return downloads.empty();
        },
        3600);
}

QZContentUpdateResult runUpdate(const char* label, int packs)
{
    auto update = QZContentPackUpdate::sharedUpdate();
    const std::uint64_t before = update->lastResult().sequence;
    const auto start = Clock::now();
    update->updateContentPacks();
    DispatchRunLoop::runUntil([&] { return update->lastResult().sequence != before; }, 3600);
    const QZContentUpdateResult result = update->lastResult();
    std::printf("%-34s %8.2f s  (%d packs, outcome %d%s%s)\n", label, secondsSince(start), packs,
                static_cast<int>(result.outcome), result.reason.empty() ? "" : ": ", result.reason.c_str());
    return result;
}

}  // namespace

int main(int argc, char** argv)
{
    const int packs = argc > 1 ? std::atoi(argv[1]) : 20000;
    if (packs <= 0) {
        std::fprintf(stderr, "usage: ContentUpdateBench [PACKS]\n");
        return 2;
    }
    char pattern[] = "/tmp/content_update_bench.XXXXXX";
    if (!mkdtemp(pattern)) return 1;
    const fs::path work = pattern;
    const fs::path tree = work / "tree";

    const auto generating = Clock::now();
    publish(tree, "2", packs);
    for (int i = 0; i < packs; ++i)
        write(tree / ("content/packs/p" + std::to_string(i) + ".json"),
              R"({"identifier": "p)" + std::to_string(i) +
                  R"(", "packType": "sticker", "displayName": "Pack", "displayDescription": "Two shapes",)"
                  R"( "codeName": "p", "assetVersion": "1", "requiresDownload": true, "packVersion": "1.0",)"
                  R"( "thumbnailURL": "@BASE@/content/archives/thumbnail.zip",)"
                  R"( "highResURL": "@BASE@/content/archives/pack.zip", "items": [)"
                  R"({"identifier": "a)" +
                  std::to_string(i) +
                  R"(", "displayName": "A"},)"
                  R"({"identifier": "b)" +
                  std::to_string(i) + R"(", "displayName": "B"}]})");
    fs::create_directories(tree / "content/archives");
    ZipBuilder()
        .addStored("status.json", R"({"status": "OK"})")
        .addStored("iap_preview.png", "png")
        .writeTo((tree / "content/archives/thumbnail.zip").string());
    std::printf("%-34s %8.2f s\n", "tree written", secondsSince(generating));

    TesselFixtureServer server;
    server.serveDirectory(tree.string());
    PlatformSettings::setSandboxRoot((work / "root").string());
    QZRemoteConfiguration::setAPIKey("bench");
    QZRemoteConfiguration::setContentServiceRoot(server.baseURL());
    SCNetworkReachabilitySetFlagsOverride(kSCNetworkReachabilityFlagsReachable);
    TesselSDKRemoteRegisterClasses();

    runUpdate("update (every pack new)", packs);
    const auto thumbnails = Clock::now();
    waitForThumbnails();
    std::printf("%-34s %8.2f s\n", "then the thumbnail downloads", secondsSince(thumbnails));

    publish(tree, "3", packs);
    NSUserDefaults::standardUserDefaults()->removeObjectForKey(kQZCDSLastUpdate);
    runUpdate("update (every pack current)", packs);

    fs::remove_all(work);
    return 0;
}
