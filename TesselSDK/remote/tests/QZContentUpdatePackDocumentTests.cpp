// Pack documents as the content update fetches them: what one document does to its fetch, to the
// store and to the update, one fetch per row.

#include "TesselSDK/remote/tests/QZContentUpdateFixture.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "Foundation/NSLogCapture.h"
#include "TesselSDK/remote/QZContentPackFetchOperation.h"
#include "TesselSDK/remote/QZContentPackItem.h"

namespace {

std::string document(const std::string& identifier, const std::string& type, const std::string& items,
                     const std::string& extra = "")
{
    return R"({"identifier": ")" + identifier + R"(", "packType": ")" + type +
           R"(", "displayName": "P", "displayDescription": "D", "codeName": "c", "assetVersion": "1",
              "requiresDownload": true, "packVersion": "1.0")" +
           extra + (items.empty() ? "" : ", \"items\": " + items) + "}";
}

std::string manifestOf(const std::string& version, const std::vector<std::string>& identifiers)
{
    std::string packs;
    for (const std::string& identifier : identifiers)
        packs += std::string(packs.empty() ? "" : ", ") + R"({"identifier": ")" + identifier +
                 R"(", "packVersion": "1.0", "manifestURL": "@BASE@/content/packs/)" + identifier + R"(.json"})";
    return R"({"sdkVersion": "3.3", "manifestVersion": ")" + version + R"(", "packs": [)" + packs + "]}";
}

}  // namespace

TEST_F(QZContentUpdateTest, EachPackDocumentFailsItsOwnFetchOrStoresItsPack)
{
    struct Case {
        const char* name;
        std::string body;                                        // for the pack "p"
        std::optional<std::pair<std::string, NSInteger>> error;  // domain and code; "*" any domain
        bool stored;
        std::vector<std::string> logged = {};  // lines that must be logged
        std::optional<TesselFixtureServer::Response> response = std::nullopt;
    };
    const std::string sticker = document("p", "sticker", R"([{"identifier": "i", "displayName": "I"}])");
    auto dropped = Response::text(sticker);
    dropped.dropAfterBytes = sticker.size() / 2;
    const std::vector<Case> cases = {
        {"a frame item without width", document("p", "frame", R"([{"identifier": "i", "displayName": "I"}])"),
         std::pair<std::string, NSInteger>{kQZContentUpdateAssetCorruptionDomain, 1}, false},
        {"a sticker item without width", sticker, std::nullopt, true},
        {"displayName null", R"({"identifier": "p", "packType": "sticker", "displayName": null,
            "displayDescription": "D", "codeName": "c", "assetVersion": "1", "requiresDownload": true})",
         std::pair<std::string, NSInteger>{kQZContentUpdateAssetCorruptionDomain, 1}, false},
        {"items that are no array", document("p", "sticker", R"("x")"),
         std::pair<std::string, NSInteger>{kQZContentUpdateAssetCorruptionDomain, 1}, false},
        {"another pack's identifier", document("q", "sticker", "[]"),
         std::pair<std::string, NSInteger>{kQZContentUpdateAssetCorruptionDomain, 1}, false},
        {"an identifier leaving the content directory", document("../p", "sticker", "[]"),
         std::pair<std::string, NSInteger>{kQZContentUpdateAssetCorruptionDomain, 1}, false},
        {"a release date as text", document("p", "sticker", "[]", R"(, "releaseDate": "2014-05-13")"),
         std::pair<std::string, NSInteger>{kQZCoreDataErrorDomain, 0}, false},
        {"requiresDownload as text", document("p", "sticker", "[]", R"(, "requiresDownload": "yes")"),
         std::pair<std::string, NSInteger>{kQZCoreDataErrorDomain, 0}, false},
        {"packType brush",
         document("p", "brush", "[]"),
         std::nullopt,
         false,
         {"expected sub class of QZContentPack", "expected non nil content pack", "Expected non-nil value."}},
        {"no JSON", "<html>Bad Gateway</html>", std::pair<std::string, NSInteger>{"*", 0}, false},
        {"dropped midway", sticker, std::pair<std::string, NSInteger>{"*", 0}, false, {}, dropped},
    };
    int round = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A store of its own for each row.
        QZTesselContentManager::resetSharedManagerForTesting();
        std::filesystem::remove_all(sandbox.sandboxRoot() + "/Library/Application Support");
        const std::string version = "2." + std::to_string(++round);
        writeTreeFile("ios/cds/api/tessel-example/version.json",
                      R"({"manifestVersion": ")" + version + R"(", "manifestURL": "@BASE@/content/manifest.json"})");
        writeTreeFile("content/manifest.json", manifestOf(version, {"p"}));
        writeTreeFile("content/packs/p.json", c.body);
        if (c.response) server.setRoute("/content/packs/p.json", *c.response);
        forgetLastUpdate();
        removeDefault(kQZContentManagerCurrentContentManifestVerion);
        const int failedBefore = events("CDS Update: Failed");

        NSLogCapture log;
        const QZContentUpdateResult result = runUpdate();
        server.removeRoute("/content/packs/p.json");
        if (c.error) {
            EXPECT_EQ(result.outcome, QZContentUpdateOutcome::Failed);
            ASSERT_EQ(result.fetchErrors.size(), 1u);
            EXPECT_EQ(result.fetchErrors[0].first, "p");
            if (c.error->first != "*") {
                EXPECT_EQ(result.fetchErrors[0].second->domain(), c.error->first);
                EXPECT_EQ(result.fetchErrors[0].second->code(), c.error->second);
            }
            EXPECT_EQ(committedVersion(), "") << "a failed fetch commits nothing";
            EXPECT_EQ(events("CDS Update: Failed"), failedBefore + 1);
        } else {
            EXPECT_EQ(result.outcome, QZContentUpdateOutcome::Committed) << result.reason;
            EXPECT_EQ(committedVersion(), version);
        }
        // The update still ends: the date is written.
        EXPECT_TRUE(defaultsValue(kQZCDSLastUpdate).isDate());
        auto stored = packs();
        EXPECT_EQ(stored.count("p"), c.stored ? 1u : 0u);
        EXPECT_EQ(stored.count("q") + stored.count("../p"), 0u);
        const std::vector<std::string> lines = log.lines();
        for (const std::string& line : c.logged)
            EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                                    [&](const std::string& text) { return text.ends_with(" " + line); }),
                      1)
                << line;
        // Nothing of a failed pack lingers to fail the next one's save.
        for (const auto& [identifier, pack] : stored) EXPECT_EQ(identifier, "p");
        if (c.stored) {
            EXPECT_EQ(stored["p"]->orderedItems().size(), 1u);
        }
    }
}

TEST_F(QZContentUpdateTest, OneFailingDocumentAmongThreeIsTheOnlyOneFetchedAgain)
{
    // The first pack of the manifest fails to save; what it left unsaved must not fail the others.
    const std::string fx1 = readTreeFile("content/packs/fx1.json");
    Value broken = Value::fromJSON(fx1);
    broken.setObject("last tuesday", "releaseDate");
    writeTreeFile("content/packs/fx1.json", broken.toJSON());
    NSLogCapture quiet;
    QZContentUpdateResult result = runUpdate();
    EXPECT_EQ(result.outcome, QZContentUpdateOutcome::Failed);
    EXPECT_EQ(events("CDS Update: Failed"), 1);
    EXPECT_EQ(committedVersion(), "");
    auto stored = packs();
    EXPECT_EQ(stored.count("st1") + stored.count("fr1"), 2u) << "the other packs are stored";
    EXPECT_EQ(stored.count("fx1"), 0u);

    writeTreeFile("content/packs/fx1.json", fx1);
    forgetLastUpdate();
    result = runUpdate();
    EXPECT_EQ(result.outcome, QZContentUpdateOutcome::Committed) << result.reason;
    EXPECT_EQ(server.requestCount("/content/packs/fx1.json"), 2);
    EXPECT_EQ(server.requestCount("/content/packs/st1.json"), 1);
    EXPECT_EQ(server.requestCount("/content/packs/fr1.json"), 1);
    EXPECT_EQ(committedVersion(), "1.1");
    EXPECT_EQ(packs().size(), 3u);
}

TEST_F(QZContentUpdateTest, ADocumentWithoutItemsKeepsTheItemsAndAChangedTypeIsRefused)
{
    ASSERT_EQ(runUpdate().outcome, QZContentUpdateOutcome::Committed);
    auto publish = [&](const std::string& version, const std::string& st1) {
        writeTreeFile("ios/cds/api/tessel-example/version.json",
                      R"({"manifestVersion": ")" + version + R"(", "manifestURL": "@BASE@/content/manifest.json"})");
        Value listing = Value::fromJSON(readTreeFile("content/manifest.json"));
        listing.setObject(version, "manifestVersion");
        Value entries = listing["packs"];
        entries.mutableArray()[2].setObject(version, "packVersion");
        listing.setObject(entries, "packs");
        writeTreeFile("content/manifest.json", listing.toJSON());
        writeTreeFile("content/packs/st1.json", st1);
        forgetLastUpdate();
        return runUpdate();
    };
    Value withoutItems = Value::fromJSON(readTreeFile("content/packs/st1.json"));
    withoutItems.removeObjectForKey("items");
    withoutItems.setObject("1.2", "packVersion");
    ASSERT_EQ(publish("1.2", withoutItems.toJSON()).outcome, QZContentUpdateOutcome::Committed);
    EXPECT_EQ(packs()["st1"]->packVersion(), "1.2");
    EXPECT_EQ(packs()["st1"]->orderedItems().size(), 2u);

    Value retyped = withoutItems;
    retyped.setObject("frame", "packType");
    retyped.setObject("1.3", "packVersion");
    NSLogCapture quiet;
    const QZContentUpdateResult result = publish("1.3", retyped.toJSON());
    ASSERT_EQ(result.fetchErrors.size(), 1u);
    EXPECT_EQ(result.fetchErrors[0].second->domain(), kQZContentUpdateAssetCorruptionDomain);
    EXPECT_EQ(packs()["st1"]->entity()->name(), "StickerPack");
    EXPECT_EQ(packs()["st1"]->packVersion(), "1.2");
}
