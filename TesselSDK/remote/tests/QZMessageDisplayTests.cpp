// Choosing the message to show on the pinned clock, the clean-up of a shown message, and the
// start-up clean-up of expired and withdrawn messages.

#include "TesselSDK/remote/tests/QZMessageUpdateFixture.h"

#include "CoreData/NSManagedObjectContext.h"
#include "Dispatch/Dispatch.h"

namespace {

constexpr double kNow = 1700000000;

struct Stored {
    const char* identifier;
    std::optional<double> begin;
    std::optional<double> end;
    const char* contentIdentifier = nullptr;
    bool shown = false;
};

}  // namespace

class QZMessageDisplayTest : public QZMessageUpdateTest {
protected:
    void SetUp() override
    {
        QZMessageUpdateTest::SetUp();
        DispatchClock::pinSecondsSince1970(kNow);
    }

    void store(const std::vector<Stored>& records)
    {
        QZMessage::registerMessageForTesting(nullptr);
        auto context = manager()->contentPackManagedObjectContext();
        for (const Stored& record : records) {
            auto message = std::dynamic_pointer_cast<QZMessage>(
                QZManagedObjectClass::classNamed("QZMessage")->createInManagedObjectContext(*context));
            ASSERT_NE(message, nullptr);
            message->setValueForKey(record.identifier, "identifier");
            if (record.begin) message->setValueForKey(Value::date(*record.begin), "beginDate");
            if (record.end) message->setValueForKey(Value::date(*record.end), "endDate");
            if (record.contentIdentifier) message->setValueForKey(record.contentIdentifier, "contentIdentifier");
            message->setValueForKey(record.shown, "hasBeenShown");
        }
        std::shared_ptr<NSError> error;
        ASSERT_TRUE(context->save(&error)) << error->description();
    }
};

TEST_F(QZMessageDisplayTest, TheMessageToDisplayFollowsItsWindowAndTheSpacing)
{
    const std::vector<Stored> one = {{"m", kNow - 10, std::nullopt}};
    struct Case {
        const char* name;
        std::vector<Stored> records;
        std::optional<double> lastChoice;
        const char* expected;  // nullptr: none
    };
    const Case cases[] = {
        {"never chosen before", one, std::nullopt, "m"},
        {"chosen 259199 s ago", one, kNow - 259199, nullptr},
        {"chosen 259200 s ago", one, kNow - 259200, "m"},
        {"a choice in the future blocks", one, kNow + 600, nullptr},
        {"beginDate equal to now", {{"m", kNow, std::nullopt}}, std::nullopt, nullptr},
        {"endDate equal to now", {{"m", kNow - 10, kNow}}, std::nullopt, nullptr},
        {"endDate a second ahead", {{"m", kNow - 10, kNow + 1}}, std::nullopt, "m"},
        {"no beginDate", {{"m", std::nullopt, std::nullopt}}, std::nullopt, nullptr},
        {"the later beginDate wins",
         {{"early", kNow - 100, std::nullopt}, {"late", kNow - 50, std::nullopt}, {"mid", kNow - 70, std::nullopt}},
         std::nullopt,
         "late"},
        {"a message naming a pack is never chosen",
         {{"plain", kNow - 100, std::nullopt}, {"pack", kNow - 50, std::nullopt, "fx1"}},
         std::nullopt,
         "plain"},
        {"an empty pack identifier is none", {{"m", kNow - 10, std::nullopt, ""}}, std::nullopt, "m"},
        {"only a pack message", {{"pack", kNow - 50, std::nullopt, "fx1"}}, std::nullopt, nullptr},
        {"already shown", {{"m", kNow - 10, std::nullopt, nullptr, true}}, std::nullopt, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        store(c.records);
        if (c.lastChoice) {
            NSUserDefaults::standardUserDefaults()->setObject(Value::date(*c.lastChoice), kQZMessageDisplayTimestamp);
            NSUserDefaults::standardUserDefaults()->synchronize();
        }
        auto chosen = QZMessage::messageToDisplay();
        EXPECT_EQ(chosen ? chosen->identifier() : std::string("(none)"), c.expected ? c.expected : "(none)");
        // The time of choosing is written (and reaches the file) only when one is chosen.
        NSUserDefaults::resetStandardUserDefaults();
        std::optional<Value::Date> written = defaultsValue(kQZMessageDisplayTimestamp).asDate();
        if (c.expected) {
            ASSERT_TRUE(written.has_value());
            EXPECT_EQ(written->timeIntervalSince1970, kNow);
        } else if (c.lastChoice) {
            ASSERT_TRUE(written.has_value());
            EXPECT_EQ(written->timeIntervalSince1970, *c.lastChoice);
        } else {
            EXPECT_FALSE(written.has_value());
        }
    }
}

TEST_F(QZMessageDisplayTest, CleanupDropsTextsBannerAndFieldsOnce)
{
    DispatchClock::pinSecondsSince1970(std::nullopt);
    ASSERT_EQ(runMessageUpdate().outcome, QZMessageUpdateOutcome::Committed);
    auto m1 = messages()["m1"];
    ASSERT_NE(m1, nullptr);
    ASSERT_TRUE(inApplicationSupport("m1_banner@2x.jpg"));
    auto context = manager()->contentPackManagedObjectContext();
    const std::size_t textsBefore =
        QZManagedObjectClass::classNamed("QZMessageText")->fetchAllInManagedObjectContext(*context)->size();

    m1->cleanupAssets();
    // The banner goes on a global queue: a barrier-free wait for it.
    EXPECT_TRUE(DispatchRunLoop::runUntil([&] { return !inApplicationSupport("m1_banner@2x.jpg"); }, kTimeout));
    EXPECT_TRUE(inApplicationSupport("m2_banner@2x.jpg"));
    const std::size_t textsAfter =
        QZManagedObjectClass::classNamed("QZMessageText")->fetchAllInManagedObjectContext(*context)->size();
    EXPECT_EQ(textsBefore - textsAfter, 7u) << "title, header, paragraph, two buttons and two bullets";

    // A second call does nothing, and a new run of the process reads the record as cleaned.
    m1->cleanupAssets();
    EXPECT_FALSE(context->hasChanges());
    QZTesselContentManager::resetSharedManagerForTesting();
    auto reread = messages()["m1"];
    ASSERT_NE(reread, nullptr);
    EXPECT_TRUE(reread->hasBeenShown());
    EXPECT_TRUE(reread->assetsRemoved());
    EXPECT_EQ(reread->title(), nullptr);
    EXPECT_TRUE(reread->orderedBullets().empty());
    EXPECT_EQ(reread->beginDate(), std::nullopt);
    EXPECT_EQ(reread->layoutStyle(), "");
    EXPECT_EQ(reread->bannerImageIdentifier(), "");
    EXPECT_FALSE(reread->isSplitButton());
}

TEST_F(QZMessageDisplayTest, TheNextStartDeletesWithdrawnMessagesAndKeepsExpiredOnesCleaned)
{
    DispatchClock::pinSecondsSince1970(std::nullopt);
    ASSERT_EQ(runMessageUpdate().outcome, QZMessageUpdateOutcome::Committed);
    // m1 is withdrawn by the next version; m2 expires before the next start.
    writeTreeFile(kMessageVersionPath, R"({"messagesVersion": 4, "messagesURL": "@BASE@/messages/manifest.json"})");
    std::string manifest = readTreeFile(kMessageManifestPath);
    manifest.replace(manifest.find("\"messagesVersion\": 3"), 20, "\"messagesVersion\": 4");
    manifest.replace(manifest.find("{\"identifier\": \"m1\""),
                     manifest.find("{\"identifier\": \"m2\"") - manifest.find("{\"identifier\": \"m1\""), "");
    writeTreeFile(kMessageManifestPath, manifest);
    ASSERT_EQ(runMessageUpdate().outcome, QZMessageUpdateOutcome::Committed);
    EXPECT_TRUE(messages()["m1"]->shouldDelete());

    QZTesselContentManager::resetSharedManagerForTesting();
    DispatchClock::pinSecondsSince1970(4102444801.0);
    auto stored = messages();
    EXPECT_EQ(stored.count("m1"), 0u);
    ASSERT_EQ(stored.count("m2"), 1u);
    EXPECT_TRUE(stored["m2"]->assetsRemoved());
    EXPECT_EQ(stored["m2"]->endDate(), std::nullopt);
    EXPECT_TRUE(DispatchRunLoop::runUntil(
        [&] { return !inApplicationSupport("m1_banner@2x.jpg") && !inApplicationSupport("m2_banner@2x.jpg"); },
        kTimeout));
    EXPECT_TRUE(inApplicationSupport("m3_banner@2x.jpg"));

    // The expired message stays known: the same manifest under a new version fetches nothing.
    writeTreeFile(kMessageVersionPath, R"({"messagesVersion": 5, "messagesURL": "@BASE@/messages/manifest.json"})");
    manifest.replace(manifest.find("\"messagesVersion\": 4"), 20, "\"messagesVersion\": 5");
    manifest.replace(manifest.find("4102444800,"), 11, "4202444800,");
    writeTreeFile(kMessageManifestPath, manifest);
    const int before = archiveRequests("m2_retina.zip");
    ASSERT_EQ(runMessageUpdate().outcome, QZMessageUpdateOutcome::Committed);
    EXPECT_EQ(archiveRequests("m2_retina.zip"), before);
}
