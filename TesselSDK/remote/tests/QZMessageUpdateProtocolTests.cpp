// The message update against the fixture server: stored records and banners, the version's
// commit, the road's aborts, failed fetches retried alone, the entry filter and start-up clean-up.

#include "TesselSDK/remote/tests/QZMessageUpdateFixture.h"

#include "CoreData/NSManagedObjectContext.h"
#include "UIKit/UIColor.h"
#include "testing/ZipBuilder.h"

namespace {

void writeMessageArchive(const std::string& path, const std::string& messageJSON,
                         const std::string& status = R"({"status": "OK"})")
{
    ZipBuilder zip;
    zip.addDeflated("status.json", status);
    if (!messageJSON.empty()) zip.addDeflated("message.json", messageJSON);
    zip.addStored("banner.jpg", "not really a JPEG");
    std::string error;
    EXPECT_TRUE(zip.writeTo(path, &error)) << error;
}

std::vector<CGFloat> components(const std::shared_ptr<UIColor>& colour)
{
    CGFloat r = -1, g = -1, b = -1, a = -1;
    if (colour) colour->getRed(&r, &g, &b, &a);
    return {r, g, b, a};
}

}  // namespace

TEST_F(QZMessageUpdateTest, AnUpdateStoresEveryMessageWithItsTextsAndBannersThenCommits)
{
    for (const float scale : {2.0f, 1.0f}) {
        SCOPED_TRACE(scale);
        PlatformSettings::setScreenScale(scale);
        const std::string variant = scale > 1 ? "retina" : "nonRetina";
        const std::string banner = scale > 1 ? "m1_banner@2x.jpg" : "m1_banner.jpg";
        startAfresh();

        const QZMessageUpdateResult result = runMessageUpdate();
        ASSERT_EQ(result.outcome, QZMessageUpdateOutcome::Committed) << result.reason;
        EXPECT_EQ(committedMessagesVersion(), Value(3));
        EXPECT_EQ(events("Message Update: Succeeded"), 1);
        EXPECT_EQ(archiveRequests("m1_" + variant + ".zip"), 1);

        auto stored = messages();
        ASSERT_EQ(stored.size(), 3u);
        auto m1 = stored["m1"];
        EXPECT_EQ(m1->layoutStyle(), "solidBody");
        EXPECT_TRUE(m1->isSplitButton());
        EXPECT_TRUE(m1->showsNewBanner());
        EXPECT_EQ(m1->beginDate(), 1600000000.0);
        EXPECT_EQ(m1->endDate(), std::nullopt);
        EXPECT_FALSE(m1->hasBeenShown());
        auto title = m1->title();
        ASSERT_NE(title, nullptr);
        EXPECT_EQ(title->text(), "New in Tessel");
        EXPECT_EQ(components(title->textColor()), (std::vector<CGFloat>{1, 0.5, 0, 1}));
        EXPECT_EQ(components(title->textShadowColor()), (std::vector<CGFloat>{0, 0, 0, 0.5}));
        EXPECT_EQ(title->shadowOffset().width, 1);
        EXPECT_EQ(title->shadowOffset().height, 2);
        EXPECT_TRUE(title->isBold());
        EXPECT_EQ(title->fontSize(), 20);
        EXPECT_EQ(m1->paragraph()->alignment(), 1);
        std::vector<std::string> bullets;
        for (const auto& bullet : m1->orderedBullets()) bullets.push_back(bullet->text());
        EXPECT_EQ(bullets, (std::vector<std::string>{"Twelve frames", "Forty stickers"}));
        EXPECT_EQ(m1->orderedBullets()[1]->index(), 1);
        EXPECT_EQ(m1->bannerImageFilename(), banner);
        EXPECT_TRUE(inApplicationSupport(banner));
        EXPECT_EQ(stored["m2"]->endDate(), 4102444800.0);
        EXPECT_EQ(stored["m3"]->endDate(), std::nullopt) << "m3's document has no endDate";

        // The same version again: the version document alone is asked for.
        const int before = static_cast<int>(server.requests().size());
        EXPECT_EQ(runMessageUpdate().outcome, QZMessageUpdateOutcome::UpToDate);
        EXPECT_EQ(static_cast<int>(server.requests().size()), before + 1);
    }
}

TEST_F(QZMessageUpdateTest, TheRoadAbortsWithoutCommittingAnything)
{
    struct Case {
        const char* name;
        std::function<void()> arrange;
    };
    const Case cases[] = {
        {"version document not JSON", [&] { writeTreeFile(kMessageVersionPath, "<html>oops</html>"); }},
        {"manifest not JSON", [&] { writeTreeFile(kMessageManifestPath, "{\"messagesVersion\": 3,"); }},
        {"manifest as an HTML 500 page",
         [&] { server.setRoute(kMessageManifestPath, Response::text("<html>down</html>", 500, "text/html")); }},
        {"no service configured", [&] { QZRemoteConfiguration::setContentServiceRoot(std::string()); }},
        {"a refused port", [&] { QZRemoteConfiguration::setContentServiceRoot("http://127.0.0.1:1"); }},
    };
    const std::string version = readTreeFile(kMessageVersionPath), manifest = readTreeFile(kMessageManifestPath);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.arrange();
        const QZMessageUpdateResult result = runMessageUpdate();
        EXPECT_EQ(result.outcome, QZMessageUpdateOutcome::Aborted);
        EXPECT_FALSE(result.reason.empty());
        EXPECT_FALSE(manager()->isUpdatingMessages());
        EXPECT_TRUE(committedMessagesVersion().isNil());
        EXPECT_TRUE(messages().empty());
        writeTreeFile(kMessageVersionPath, version);
        writeTreeFile(kMessageManifestPath, manifest);
        server.removeRoute(kMessageManifestPath);
        server.serveDirectory(tree);
        QZRemoteConfiguration::setContentServiceRoot(server.baseURL());
    }
    EXPECT_EQ(runMessageUpdate().outcome, QZMessageUpdateOutcome::Committed);
}

TEST_F(QZMessageUpdateTest, AFailedFetchKeepsItsSiblingsAndIsTheOnlyOneFetchedNextTime)
{
    const std::string good = readTreeFile("messages/archives/m2_retina.zip");
    struct Case {
        const char* name;
        std::function<void()> arrange;
    };
    const Case cases[] = {
        {"status FAIL",
         [&] { writeMessageArchive(tree + "/messages/archives/m2_retina.zip", "{}", R"({"status": "FAIL"})"); }},
        {"an HTML 500 page",
         [&] {
             server.setRoute("/messages/archives/m2_retina.zip",
                             Response::text("<html>error</html>", 500, "text/html"));
         }},
        {"no message.json", [&] { writeMessageArchive(tree + "/messages/archives/m2_retina.zip", ""); }},
        {"message.json is an array", [&] { writeMessageArchive(tree + "/messages/archives/m2_retina.zip", "[]"); }},
        {"a refused connection",
         [&] {
             writeTreeFile(kMessageManifestPath, [&] {
                 std::string manifest = readTreeFile(kMessageManifestPath);
                 const std::string from = "@BASE@/messages/archives/m2_{scale}.zip";
                 manifest.replace(manifest.find(from), from.size(), "http://127.0.0.1:1/m2_{scale}.zip");
                 return manifest;
             }());
         }},
    };
    const std::string manifest = readTreeFile(kMessageManifestPath);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        startAfresh();
        c.arrange();

        QZMessageUpdateResult result = runMessageUpdate();
        EXPECT_EQ(result.outcome, QZMessageUpdateOutcome::Failed);
        ASSERT_EQ(result.fetchErrors.size(), 1u);
        EXPECT_EQ(result.fetchErrors[0].first, "m2");
        EXPECT_EQ(events("Message Update: Failed"), 1);
        EXPECT_EQ(events("Message Update: Succeeded"), 0);
        EXPECT_TRUE(committedMessagesVersion().isNil());
        auto stored = messages();
        EXPECT_EQ(stored.count("m1"), 1u);
        EXPECT_EQ(stored.count("m2"), 0u);
        EXPECT_FALSE(inApplicationSupport("m2_banner@2x.jpg"));

        server.removeRoute("/messages/archives/m2_retina.zip");
        writeTreeFile("messages/archives/m2_retina.zip", good);
        writeTreeFile(kMessageManifestPath, manifest);
        const int m1Before = archiveRequests("m1_retina.zip");
        result = runMessageUpdate();
        EXPECT_EQ(result.outcome, QZMessageUpdateOutcome::Committed) << result.reason;
        EXPECT_EQ(archiveRequests("m1_retina.zip"), m1Before) << "a stored message was fetched again";
        EXPECT_EQ(messages().count("m2"), 1u);
        EXPECT_EQ(committedMessagesVersion(), Value(3));
        // No archive stays in the temporary directory.
        for (const auto& entry : std::filesystem::directory_iterator(QZFileSystemUtils::temporaryDirectory()))
            EXPECT_EQ(entry.path().extension(), "") << entry.path();
    }
}

TEST_F(QZMessageUpdateTest, EntriesAreFilteredByTheirEndDateToTheSecond)
{
    DispatchClock::pinSecondsSince1970(1700000000);
    writeTreeFile(kMessageManifestPath, R"({"messagesVersion": 5, "messages": [
        {"identifier": "number", "sdkVersion": "3.0", "endDate": 1700000040,
         "messagesURL": "@BASE@/messages/archives/m1_{scale}.zip"},
        {"identifier": "string", "sdkVersion": "3.0", "endDate": "1700000040",
         "messagesURL": "@BASE@/messages/archives/m1_{scale}.zip"},
        {"identifier": "past", "sdkVersion": "3.0", "endDate": 1699999999,
         "messagesURL": "@BASE@/messages/archives/m1_{scale}.zip"},
        {"identifier": "now", "sdkVersion": "3.0", "endDate": 1700000000,
         "messagesURL": "@BASE@/messages/archives/m1_{scale}.zip"},
        {"identifier": "newer editor", "sdkVersion": "4.0",
         "messagesURL": "@BASE@/messages/archives/m1_{scale}.zip"},
        {"identifier": "open", "sdkVersion": "3.0", "messagesURL": "@BASE@/messages/archives/m1_{scale}.zip"},
        {"identifier": "no scale", "sdkVersion": "3.0", "messagesURL": "@BASE@/messages/archives/m2_retina.zip"},
        {"identifier": "number", "sdkVersion": "3.0", "messagesURL": "@BASE@/messages/archives/m3_{scale}.zip"}
    ]})");
    writeTreeFile(kMessageVersionPath, R"({"messagesVersion": 5, "messagesURL": "@BASE@/messages/manifest.json"})");
    ASSERT_EQ(runMessageUpdate().outcome, QZMessageUpdateOutcome::Committed);
    auto stored = messages();
    std::set<std::string> identifiers;
    for (const auto& [identifier, message] : stored) identifiers.insert(identifier);
    // message.json says "m1" each time: the entry's identifier wins, once per identifier.
    EXPECT_EQ(identifiers, (std::set<std::string>{"number", "string", "open", "no scale"}));
    EXPECT_EQ(archiveRequests("m1_retina.zip"), 3);
    EXPECT_EQ(archiveRequests("m3_retina.zip"), 0) << "an identifier listed twice was fetched twice";
    EXPECT_EQ(stored["no scale"]->layoutStyle(), "overlay");

    // A later version listing the same identifiers fetches nothing.
    writeTreeFile(kMessageVersionPath, R"({"messagesVersion": 6, "messagesURL": "@BASE@/messages/manifest.json"})");
    writeTreeFile(
        kMessageManifestPath,
        std::string(R"({"messagesVersion": 6, "messages": [)") +
            R"({"identifier": "number", "sdkVersion": "3.0", "messagesURL": "@BASE@/messages/archives/m1_{scale}.zip"}]})");
    const int before = archiveRequests("m1_retina.zip");
    ASSERT_EQ(runMessageUpdate().outcome, QZMessageUpdateOutcome::Committed);
    EXPECT_EQ(archiveRequests("m1_retina.zip"), before);
    // The others were withdrawn: shown and marked for deletion.
    stored = messages();
    EXPECT_FALSE(stored["number"]->shouldDelete());
    EXPECT_TRUE(stored["open"]->shouldDelete());
    EXPECT_TRUE(stored["open"]->hasBeenShown());
}
