// The screens read the main-queue context while the content update and the message update save
// through their private contexts.

#include <atomic>
#include <thread>

#include "QZContentManagerFixture.h"
#include "TesselSDK/remote/QZManagedObjectClass.h"

namespace {

using QZContentStoreConcurrencyTest = QZContentManagerFixture;

Value packDocument(const std::string& identifier, const char* packType, int version)
{
    return Value::dictionary(
        {{"identifier", identifier}, {"packType", packType}, {"packVersion", std::to_string(version)}});
}

void writeRepeatedly(const std::shared_ptr<NSManagedObjectContext>& context, const char* prefix, const char* packType,
                     bool touchShared)
{
    auto packClass = QZManagedObjectClass::classNamed("QZContentPack");
    for (int n = 1; n <= 30; ++n)
        context->performBlockAndWait([&] {
            packClass->updateOrCreateWithDictionary(packDocument(prefix + std::to_string(n), packType, n), *context);
            if (touchShared) packClass->updateOrCreateWithDictionary(packDocument("shared", "effect", n), *context);
            std::shared_ptr<NSError> error;
            EXPECT_TRUE(context->save(&error)) << (error ? error->description() : "");
        });
}

TEST_F(QZContentStoreConcurrencyTest, MainQueueReadsGoOnWhileBothPrivateContextsSave)
{
    auto held = manager()->insertPackForTesting(packDocument("shared", "effect", 0));
    ASSERT_TRUE(held);
    auto update = manager()->contentPackUpdateManagedObjectContext();
    std::shared_ptr<NSManagedObjectContext> messages;
    std::thread([&] { messages = manager()->messagesUpdateManagedObjectContext(); }).join();

    std::atomic<int> finished{0};
    std::thread contentUpdate([&] {
        writeRepeatedly(update, "u", "frame", true);
        ++finished;
    });
    std::thread messageUpdate([&] {
        writeRepeatedly(messages, "m", "sticker", false);
        ++finished;
    });
    std::size_t seen = 0;
    pumpUntil([&] {
        seen = std::max(seen, manager()->contentPacks().size());
        held->packVersion();
        return finished == 2;
    });
    contentUpdate.join();
    messageUpdate.join();
    EXPECT_TRUE(pumpUntil([&] { return manager()->contentPacks().size() == 61 && held->packVersion() == "30"; }))
        << manager()->contentPacks().size() << " packs, shared at " << held->packVersion();
    EXPECT_LE(seen, 61u);
}

}  // namespace
