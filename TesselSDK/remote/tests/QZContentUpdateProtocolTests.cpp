// The content update against the loopback fixture server: the happy road, the spacing, the
// aborts and the differences between manifests.

#include "TesselSDK/remote/tests/QZContentUpdateFixture.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "Foundation/NSDate.h"
#include "Foundation/NSLogCapture.h"
#include "Foundation/NSNotificationCenter.h"
#include "TesselSDKFoundation/QZFileSystemUtils.h"
#include "TesselSDK/remote/QZContentPackItem.h"
#include "TesselSDK/remote/QZFrameContentPackItem.h"

namespace {

std::string manifest(const std::string& version, const std::vector<std::string>& identifiers,
                     const std::string& deleted = "", const std::string& sdkVersion = "3.3")
{
    std::string packs;
    for (const std::string& identifier : identifiers)
        packs += std::string(packs.empty() ? "" : ", ") + R"({"identifier": ")" + identifier +
                 R"(", "packVersion": "1.0", "manifestURL": "@BASE@/content/packs/)" + identifier + R"(.json"})";
    return R"({"sdkVersion": ")" + sdkVersion + R"(", "manifestVersion": ")" + version + R"(", "deletedPacks": [)" +
           deleted + R"(], "packs": [)" + packs + "]}";
}

std::string versionDocument(const std::string& version)
{
    return R"({"manifestVersion": ")" + version + R"(", "manifestURL": "@BASE@/content/manifest.json"})";
}

}  // namespace

TEST_F(QZContentUpdateTest, AnUpdateInstallsEveryPackOfTheManifestAndCommitsItsVersion)
{
    PlatformSettings::setPreferredLanguages({"fr"});
    std::vector<std::string> announced;
    auto center = NSNotificationCenter::defaultCenter();
    auto observer = center->addObserverForName(
        QZPhotoEditorControllerContentPackAvailabilityNotification, nullptr,
        [&](const std::shared_ptr<NSNotification>& notification) {
            announced.push_back(
                notification->userInfo()[kQZPhotoEditorControllerContentPackAvailabiltyIdenfiter].stringValue());
        });
    const QZContentUpdateResult result = runUpdate();
    ASSERT_EQ(result.outcome, QZContentUpdateOutcome::Committed) << result.reason;
    EXPECT_FALSE(manager()->isUpdatingAssets());
    EXPECT_EQ(committedVersion(), "1.1");
    EXPECT_TRUE(defaultsValue(kQZCDSLastUpdate).isDate());
    EXPECT_EQ(events("CDS Update: Succeeded"), 1);
    EXPECT_EQ(events("CDS Update: Failed"), 0);
    for (const char* path :
         {kVersionPath, kManifestPath, "/content/packs/fx1.json", "/content/packs/fr1.json", "/content/packs/st1.json"})
        EXPECT_EQ(server.requestCount(path), 1) << path;

    auto stored = packs();
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored["fx1"]->entity()->name(), "EffectPack");
    EXPECT_EQ(stored["fr1"]->entity()->name(), "FramePack");
    EXPECT_EQ(stored["st1"]->entity()->name(), "StickerPack");
    EXPECT_EQ(stored["fx1"]->valueForKey("index").intValue(), 0);
    EXPECT_EQ(stored["fr1"]->valueForKey("index").intValue(), 1);
    EXPECT_EQ(stored["st1"]->valueForKey("index").intValue(), 2);
    EXPECT_EQ(stored["st1"]->packVersion(), "1.0");

    auto stickers = stored["st1"]->orderedItems();
    ASSERT_EQ(stickers.size(), 2u);
    EXPECT_EQ(stickers[0]->identifier(), "st1_star");
    EXPECT_EQ(stickers[1]->identifier(), "st1_heart");
    auto frames = stored["fr1"]->orderedItems();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0]->valueForKey("width").intValue(), 12);

    // An effect item's recipe is the whole item document, and nothing of it is stored elsewhere.
    const Value document = Value::fromJSON(readTreeFile("content/packs/fx1.json"));
    auto effects = stored["fx1"]->orderedItems();
    ASSERT_EQ(effects.size(), 2u);
    for (std::size_t i = 0; i < effects.size(); ++i) {
        EXPECT_EQ(effects[i]->entity()->name(), "EffectPackItem");
        EXPECT_EQ(Value::fromJSON(effects[i]->valueForKey("effectJSON").stringValue()), document["items"][i]);
        EXPECT_TRUE(effects[i]->valueForKey("processors").isNil());
    }

    // Each pack's thumbnails were downloaded (from the main thread: the registry asserts it) and
    // each pack announced once.
    ASSERT_TRUE(DispatchRunLoop::runUntil([&] { return announced.size() >= 3; }, kTimeout));
    DispatchRunLoop::runUntil([] { return false; }, 0.2);
    for (const char* archive : {"fx1_thumbnail.zip", "fr1_thumbnail.zip", "st1_thumbnail.zip"})
        EXPECT_EQ(server.requestCount(std::string("/content/archives/") + archive), 1) << archive;
    std::sort(announced.begin(), announced.end());
    EXPECT_EQ(announced, (std::vector<std::string>{"fr1", "fx1", "st1"}));
    center->removeObserver(observer);
    for (const auto& [identifier, pack] : packs()) EXPECT_TRUE(pack->assetsAvailableForLowResUse()) << identifier;

    // The French name reached the translation store.
    EXPECT_TRUE(
        DispatchRunLoop::runUntil([&] { return packs()["fx1"]->localizedDisplayName() == "Tons chauds"; }, kTimeout));
}

TEST_F(QZContentUpdateTest, AThumbnailArchiveDroppedMidwayFailsItsDownloadOnlyAndLeavesNoFile)
{
    const std::string archive = readTreeFile("content/archives/st1_thumbnail.zip");
    auto dropped = Response::text(archive, 200, "application/zip");
    dropped.dropAfterBytes = archive.size() / 2;
    server.setRoute("/content/archives/st1_thumbnail.zip", dropped);
    int failures = 0;
    auto center = NSNotificationCenter::defaultCenter();
    auto observer = center->addObserverForName(kQZResourceProviderDidFail, nullptr,
                                               [&](const std::shared_ptr<NSNotification>&) { ++failures; });
    EXPECT_EQ(runUpdate().outcome, QZContentUpdateOutcome::Committed) << "archives do not decide the update";
    ASSERT_TRUE(DispatchRunLoop::runUntil([&] { return failures > 0 && !thumbnailsDownloading(); }, kTimeout));
    DispatchRunLoop::runUntil([] { return false; }, 0.2);
    EXPECT_EQ(failures, 1);
    center->removeObserver(observer);
    EXPECT_EQ(packs()["st1"]->thumbnailResourceProvider()->state(), QZContentPackResourceProviderStateNotDownloaded);
    EXPECT_TRUE(packs()["fx1"]->assetsAvailableForLowResUse());
    for (const auto& entry : std::filesystem::recursive_directory_iterator(sandbox.root()))
        EXPECT_EQ(entry.path().filename().string().find(".download"), std::string::npos) << entry.path();

    // A screen asking for missing thumbnails: nothing without the internet, then the download.
    server.removeRoute("/content/archives/st1_thumbnail.zip");
    SCNetworkReachabilitySetFlagsOverride(0);
    manager()->downloadThumbnailsIfNeeded();
    DispatchRunLoop::runUntil([] { return false; }, 0.2);
    EXPECT_EQ(server.requestCount("/content/archives/st1_thumbnail.zip"), 1);
    SCNetworkReachabilitySetFlagsOverride(kSCNetworkReachabilityFlagsReachable);
    manager()->downloadThumbnailsIfNeeded();
    EXPECT_TRUE(DispatchRunLoop::runUntil([&] { return packs()["st1"]->assetsAvailableForLowResUse(); }, kTimeout));
    EXPECT_EQ(server.requestCount("/content/archives/st1_thumbnail.zip"), 2);
    EXPECT_EQ(server.requestCount("/content/archives/fx1_thumbnail.zip"), 1) << "only what is missing";
}

TEST_F(QZContentUpdateTest, TheManagerAnswersWhetherAManifestVersionIsCommitted)
{
    EXPECT_FALSE(QZTesselContentManager::upToDateWithManifestVersion("0")) << "nothing committed";
    NSUserDefaults::standardUserDefaults()->setObject(Value("1.10"), kQZContentManagerCurrentContentManifestVerion);
    const std::pair<const char*, bool> cases[] = {
        {"1.9", true}, {"1.10", true}, {"1.10.1", false}, {"1.11", false}, {"2", false}};
    for (const auto& [version, upToDate] : cases)
        EXPECT_EQ(QZTesselContentManager::upToDateWithManifestVersion(version), upToDate) << version;
}

TEST_F(QZContentUpdateTest, TheSpacingHoldsUpdatesBackForTwentyMinutesFromTheLastCompletedOne)
{
    const double start = 1.8e9;
    DispatchClock::pinSecondsSince1970(start);
    ASSERT_EQ(runUpdate().outcome, QZContentUpdateOutcome::Committed);

    DispatchClock::pinSecondsSince1970(start + kQZContentUpdateSpacing - 1);
    EXPECT_EQ(runUpdate().outcome, QZContentUpdateOutcome::HeldBack);
    EXPECT_EQ(server.requestCount(kVersionPath), 1);

    // Past the spacing the version document is asked again; it names the committed version.
    DispatchClock::pinSecondsSince1970(start + kQZContentUpdateSpacing + 1);
    EXPECT_EQ(runUpdate().outcome, QZContentUpdateOutcome::UpToDate);
    EXPECT_EQ(server.requestCount(kVersionPath), 2);
    EXPECT_EQ(server.requestCount(kManifestPath), 1);
    EXPECT_EQ(defaultsValue(kQZCDSLastUpdate).asDate()->timeIntervalSince1970, start) << "up to date writes no date";

    // A clock set back: the stored date lies in the future and holds nothing back.
    DispatchClock::pinSecondsSince1970(start - 86400);
    EXPECT_EQ(runUpdate().outcome, QZContentUpdateOutcome::UpToDate);
    EXPECT_EQ(server.requestCount(kVersionPath), 3);
}

TEST_F(QZContentUpdateTest, WithTheStagingOptionEveryCallAsksTheStagingService)
{
    QZPhotoEditorCustomization::useTDVStagingEnvironment(true);
    QZRemoteConfiguration::setStagingContentServiceRoot(server.baseURL());
    const char* stagingPath = "/cds/api/tessel-example/version.json";
    server.setRoute(stagingPath, Response::text(readTreeFile("ios/cds/api/tessel-example/version.json")));
    ASSERT_EQ(runUpdate().outcome, QZContentUpdateOutcome::Committed);
    EXPECT_EQ(runUpdate().outcome, QZContentUpdateOutcome::UpToDate);
    EXPECT_EQ(server.requestCount(stagingPath), 2);
    EXPECT_EQ(server.requestCount(kVersionPath), 0);
}

TEST_F(QZContentUpdateTest, EveryAbortLeavesTheFlagDownAndNoDateSoTheNextCallAsksAgain)
{
    const std::string version = readTreeFile("ios/cds/api/tessel-example/version.json");
    const std::string deep = std::string(5000, '[') + std::string(5000, ']');
    struct Case {
        const char* name;
        std::function<void()> prepare;
        QZContentUpdateOutcome outcome = QZContentUpdateOutcome::Failed;
    };
    const std::vector<Case> cases = {
        {"version document 500 with HTML",
         [&] {
             server.setRoute(kVersionPath, Response::text("<html>Internal Server Error</html>", 500, "text/html"));
         }},
        {"version document 500 with JSON lacking keys",
         [&] { server.setRoute(kVersionPath, Response::text(R"({"error": "internal"})", 500)); }},
        {"version document dropped midway",
         [&] {
             auto dropped = Response::text(version);
             dropped.dropAfterBytes = version.size() / 2;
             server.setRoute(kVersionPath, dropped);
         }},
        {"version document truncated", [&] { server.setRoute(kVersionPath, Response::text(version.substr(0, 20))); }},
        {"version document redirected in a loop",
         [&] { server.setRoute(kVersionPath, Response::redirect(kVersionPath)); }},
        {"version document redirected to a file",
         [&] { server.setRoute(kVersionPath, Response::redirect("file:///etc/passwd")); }},
        {"version document too large", [&] { QZURLRequestOperation::setMaximumBodyLength(16); }},
        {"a refused connection", [&] { QZRemoteConfiguration::setContentServiceRoot("http://127.0.0.1:1"); }},
        {"version document names the committed version",
         [&] {
             NSUserDefaults::standardUserDefaults()->setObject("1.1", kQZContentManagerCurrentContentManifestVerion);
         },
         QZContentUpdateOutcome::UpToDate},
        {"manifest 404 with HTML",
         [&] { server.setRoute(kManifestPath, Response::text("<html>Not Found</html>", 404, "text/html")); }},
        {"manifest dropped midway",
         [&] {
             auto dropped = Response::text(manifest("1.1", {"fx1"}));
             dropped.dropAfterBytes = 30;
             server.setRoute(kManifestPath, dropped);
         }},
        {"manifest for a newer editor",
         [&] { server.setRoute(kManifestPath, Response::text(manifest("1.1", {"fx1"}, "", "3.4"))); }},
        {"manifest whose packs are no array",
         [&] {
             server.setRoute(kManifestPath,
                             Response::text(R"({"sdkVersion": "3.3", "manifestVersion": "1.1", "packs": {}})"));
         }},
        {"manifest nested too deep", [&] { server.setRoute(kManifestPath, Response::text(deep)); }},
        {"manifest of nulls",
         [&] {
             server.setRoute(kManifestPath,
                             Response::text(R"({"sdkVersion": null, "manifestVersion": null, "packs": null})"));
         }},
        {"manifest names the committed version",
         [&] {
             server.setRoute(kVersionPath, Response::text(versionDocument("1.2")));
             NSUserDefaults::standardUserDefaults()->setObject("1.1", kQZContentManagerCurrentContentManifestVerion);
         },
         QZContentUpdateOutcome::UpToDate},
    };
    NSLogCapture quiet;
    for (const Case& c : cases) {
        c.prepare();
        const QZContentUpdateResult result = runUpdate();
        EXPECT_EQ(result.outcome, c.outcome) << c.name << ": " << result.reason;
        EXPECT_FALSE(manager()->isUpdatingAssets()) << c.name;
        EXPECT_TRUE(defaultsValue(kQZCDSLastUpdate).isNil()) << c.name;
        EXPECT_TRUE(packs().empty()) << c.name;
        if (c.outcome == QZContentUpdateOutcome::Failed) {
            EXPECT_FALSE(result.reason.empty()) << c.name;
        }
        // Nothing holds the next call back.
        EXPECT_EQ(runUpdate().outcome, c.outcome) << c.name;
        QZRemoteConfiguration::setContentServiceRoot(server.baseURL());
        server.removeRoute(kVersionPath);
        server.removeRoute(kManifestPath);
        QZURLRequestOperation::setMaximumBodyLength(QZURLRequestOperation::kDefaultMaximumBodyLength);
        removeDefault(kQZContentManagerCurrentContentManifestVerion);
    }
    EXPECT_EQ(events("CDS Update: Succeeded") + events("CDS Update: Failed"), 0);
}

TEST_F(QZContentUpdateTest, AStalledVersionRequestAbortsAtItsTimeOutAndTheNextCallRetries)
{
    PlatformSettings::setNetworkTimeoutScale(0.02);  // 15 s becomes 0.3 s
    auto stalled = Response::text(readTreeFile("ios/cds/api/tessel-example/version.json"));
    stalled.stalls = true;
    server.setRoute(kVersionPath, stalled);
    EXPECT_EQ(runUpdate().outcome, QZContentUpdateOutcome::Failed);
    EXPECT_FALSE(manager()->isUpdatingAssets());
    server.removeRoute(kVersionPath);
    PlatformSettings::setNetworkTimeoutScale(1);
    EXPECT_EQ(runUpdate().outcome, QZContentUpdateOutcome::Committed);
}

TEST_F(QZContentUpdateTest, AServerSendingOneByteASecondIsCutOffAtTheDocumentsTotalLimit)
{
    // Each scale keeps the idle limit above a second, so only the whole load's limit can end it.
    struct Case {
        const char* path;
        double scale;
        const char* reason;  // in the outcome's reason or the fetch's error
    };
    const Case cases[] = {
        {kVersionPath, 0.125, "took longer than the 7.5 seconds allowed"},            // 15 s idle, 60 s in all
        {"/content/packs/st1.json", 0.03, "took longer than the 9 seconds allowed"},  // 60 s idle, 300 s
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        PlatformSettings::setNetworkTimeoutScale(c.scale);
        std::string body = readTreeFile(c.path + 1);
        body.append(200, ' ');  // some minutes at a byte a second
        auto trickle = Response::text(body);
        trickle.trickleSeconds = 1;
        server.setRoute(c.path, trickle);
        forgetLastUpdate();
        const QZContentUpdateResult result = runUpdate();
        EXPECT_EQ(result.outcome, QZContentUpdateOutcome::Failed);
        std::string reasons = result.reason;
        for (const auto& [identifier, error] : result.fetchErrors)
            reasons.append(1, ' ').append(error->localizedDescription());
        EXPECT_NE(reasons.find(c.reason), std::string::npos) << reasons;
        server.removeRoute(c.path);
    }
}

TEST_F(QZContentUpdateTest, RedirectsAreFollowedAndOlderOrEqualEditorVersionsAccepted)
{
    server.setRoute(kVersionPath, Response::redirect("/hop1"));
    server.setRoute("/hop1", Response::redirect("/hop2"));
    server.setRoute("/hop2", Response::text(versionDocument("1.1")));
    server.setRoute(kManifestPath, Response::text(manifest("1.1", {"fx1", "st1"}, "", "3.3.11")));
    EXPECT_EQ(runUpdate().outcome, QZContentUpdateOutcome::Committed);
    EXPECT_EQ(packs().size(), 2u);
}

TEST_F(QZContentUpdateTest, TwoCallsAndACallWhileOneRunsMakeOneUpdate)
{
    auto stalled = Response::text(readTreeFile("content/packs/st1.json"));
    stalled.stalls = true;
    server.setRoute("/content/packs/st1.json", stalled);
    auto running = update();
    const std::uint64_t before = running->lastResult().sequence;
    running->updateContentPacks();
    running->updateContentPacks();
    ASSERT_TRUE(
        DispatchRunLoop::runUntil([&] { return server.requestCount("/content/packs/st1.json") == 1; }, kTimeout));
    running->updateContentPacks();
    EXPECT_TRUE(manager()->isUpdatingAssets());
    server.releaseStalls();
    ASSERT_TRUE(DispatchRunLoop::runUntil([&] { return running->lastResult().sequence != before; }, kTimeout));
    EXPECT_EQ(running->lastResult().sequence, before + 1);
    EXPECT_EQ(running->lastResult().outcome, QZContentUpdateOutcome::Committed);
    EXPECT_EQ(server.requestCount(kVersionPath), 1);
    EXPECT_EQ(packs().size(), 3u);
}

TEST_F(QZContentUpdateTest, ManifestDifferencesReorderUnlistDeleteAndRelistPacks)
{
    ASSERT_EQ(runUpdate().outcome, QZContentUpdateOutcome::Committed);
    ASSERT_TRUE(DispatchRunLoop::runUntil([&] { return !thumbnailsDownloading(); }, kTimeout));
    // fx1's high-resolution archive as a download would have left it.
    const std::string contentDirectory = *QZFileSystemUtils::resourcesDirectoryURL();
    std::ofstream(contentDirectory + "/fx1.zip") << readTreeFile("content/archives/fx1.zip");
    auto archiveExists = [&](const char* name) { return std::filesystem::exists(contentDirectory + "/" + name); };
    ASSERT_TRUE(archiveExists("fx1_thumbnail.zip"));
    auto publish = [&](const std::string& version, const std::string& manifestText) {
        writeTreeFile("ios/cds/api/tessel-example/version.json", versionDocument(version));
        writeTreeFile("content/manifest.json", manifestText);
        forgetLastUpdate();
        return runUpdate();
    };
    auto restart = [&] {
        QZTesselContentManager::resetSharedManagerForTesting();
        manager()->contentPackManagedObjectContext();
    };
    auto index = [&](const char* identifier) { return packs()[identifier]->valueForKey("index").intValue(); };

    // Reordered only: nothing is fetched, every index is rewritten.
    ASSERT_EQ(publish("1.2", manifest("1.2", {"st1", "fx1", "fr1"})).outcome, QZContentUpdateOutcome::Committed);
    EXPECT_EQ(server.requestCount("/content/packs/st1.json"), 1);
    EXPECT_EQ(index("st1"), 0);
    EXPECT_EQ(index("fx1"), 1);
    EXPECT_EQ(index("fr1"), 2);
    EXPECT_TRUE(packs()["st1"]->valueForKey("displayInStore").boolValue());

    // fr1 dropped, fx1 dropped and deleted; a repeated entry makes no second record.
    ASSERT_EQ(publish("1.3", manifest("1.3", {"st1", "st1"}, R"("fx1")")).outcome, QZContentUpdateOutcome::Committed);
    EXPECT_FALSE(packs()["fr1"]->valueForKey("displayInStore").boolValue());
    EXPECT_EQ(index("fr1"), 1000);
    EXPECT_FALSE(packs()["fr1"]->valueForKey("shouldDelete").boolValue());
    EXPECT_TRUE(packs()["fx1"]->valueForKey("shouldDelete").boolValue());
    EXPECT_EQ(packs().size(), 3u);
    EXPECT_TRUE(archiveExists("fx1.zip")) << "a marked pack keeps its archives while this run may use them";
    restart();
    EXPECT_EQ(packs().count("fx1"), 0u) << "deleted at the next run";
    EXPECT_EQ(packs().size(), 2u);
    EXPECT_FALSE(archiveExists("fx1.zip")) << "its archives went with it";
    EXPECT_FALSE(archiveExists("fx1_thumbnail.zip"));
    EXPECT_TRUE(archiveExists("fr1_thumbnail.zip")) << "an unlisted pack keeps its archives";

    // Marked, then listed again before the next run: it stays.
    ASSERT_EQ(publish("1.4", manifest("1.4", {"st1"}, R"("fr1")")).outcome, QZContentUpdateOutcome::Committed);
    EXPECT_TRUE(packs()["fr1"]->valueForKey("shouldDelete").boolValue());
    ASSERT_EQ(publish("1.5", manifest("1.5", {"fr1", "st1"})).outcome, QZContentUpdateOutcome::Committed);
    EXPECT_FALSE(packs()["fr1"]->valueForKey("shouldDelete").boolValue());
    restart();
    ASSERT_EQ(packs().count("fr1"), 1u) << "a pack listed again was deleted";
    EXPECT_EQ(index("fr1"), 0);
    EXPECT_EQ(packs()["fr1"]->orderedItems().size(), 1u);

    // An empty manifest unlists everything, fetches nothing and commits.
    ASSERT_EQ(publish("1.6", manifest("1.6", {})).outcome, QZContentUpdateOutcome::Committed);
    EXPECT_EQ(committedVersion(), "1.6");
    for (const auto& [identifier, pack] : packs()) {
        EXPECT_FALSE(pack->valueForKey("displayInStore").boolValue()) << identifier;
        EXPECT_EQ(pack->valueForKey("index").intValue(), 1000) << identifier;
    }
    EXPECT_EQ(server.requestCount("/content/packs/st1.json"), 1);
    EXPECT_EQ(server.requestCount("/content/packs/fr1.json"), 1);
}
