// What the screens see of the content store: look-ups, saves of the private contexts reaching the
// main-queue context, and the availability announcements.

#include <thread>
#include <vector>

#include "Foundation/NSNotificationCenter.h"
#include "QZContentManagerFixture.h"
#include "TesselSDK/remote/QZManagedObjectClass.h"

namespace {

class QZTesselContentManagerTest : public QZContentManagerFixture {
protected:
    static Value pack(const char* identifier, const char* packType, const char* packVersion = "1.0")
    {
        return Value::dictionary({{"identifier", identifier}, {"packType", packType}, {"packVersion", packVersion}});
    }
    static std::shared_ptr<QZManagedObject> mapPack(const Value& document, NSManagedObjectContext& context)
    {
        return QZManagedObjectClass::classNamed("QZContentPack")->updateOrCreateWithDictionary(document, context);
    }
    static void saveOnItsQueue(const std::shared_ptr<NSManagedObjectContext>& context,
                               const std::function<void()>& change)
    {
        context->performBlockAndWait([&] {
            change();
            std::shared_ptr<NSError> error;
            EXPECT_TRUE(context->save(&error)) << (error ? error->description() : "");
        });
    }
};

TEST_F(QZTesselContentManagerTest, LookUpsAnswerPacksOfEveryKindFromTheMainQueueContext)
{
    for (const char* type : {"effect", "frame", "sticker"})
        ASSERT_TRUE(manager()->insertPackForTesting(pack(type, type)));
    EXPECT_TRUE(std::dynamic_pointer_cast<QZEffectContentPack>(manager()->packWithIdentifier("effect")));
    EXPECT_TRUE(std::dynamic_pointer_cast<QZFrameContentPack>(manager()->packWithIdentifier("frame")));
    EXPECT_TRUE(std::dynamic_pointer_cast<QZStickerContentPack>(manager()->packWithIdentifier("sticker")));
    EXPECT_FALSE(manager()->packWithIdentifier("nobody"));
    std::vector<std::string> identifiers;
    for (const auto& p : manager()->contentPacks()) identifiers.push_back(p->identifier());
    std::sort(identifiers.begin(), identifiers.end());
    EXPECT_EQ(identifiers, (std::vector<std::string>{"effect", "frame", "sticker"}));
}

TEST_F(QZTesselContentManagerTest, SavesOfBothPrivateContextsReachObjectsTheScreensAlreadyHold)
{
    auto held = manager()->insertPackForTesting(pack("alpha", "effect", "1.0"));
    ASSERT_TRUE(held);
    auto update = manager()->contentPackUpdateManagedObjectContext();
    EXPECT_NE(update->persistentStoreCoordinator(), manager()->contentPackPersistentStoreCoordinator())
        << "the content update writes through a coordinator of its own";
    saveOnItsQueue(update, [&] {
        mapPack(pack("alpha", "effect", "2.0"), *update);
        mapPack(pack("beta", "frame"), *update);
    });

    std::shared_ptr<NSManagedObjectContext> messages;
    std::thread([&] { messages = manager()->messagesUpdateManagedObjectContext(); }).join();
    EXPECT_EQ(messages->persistentStoreCoordinator(), manager()->contentPackPersistentStoreCoordinator());
    saveOnItsQueue(messages, [&] {
        auto same =
            QZManagedObjectClass::classNamed("QZContentPack")->findObjectWithIdentifier(Value("alpha"), *messages);
        ASSERT_TRUE(same);
        same->setValueForKey(Value("Renamed"), "displayName");
    });

    EXPECT_TRUE(pumpUntil([&] {
        return held->packVersion() == "2.0" && held->valueForKey("displayName") == Value("Renamed");
    })) << held->packVersion()
        << " " << held->valueForKey("displayName").description();
    EXPECT_EQ(manager()->packWithIdentifier("alpha"), held) << "the same object, not a copy";
    EXPECT_TRUE(std::dynamic_pointer_cast<QZFrameContentPack>(manager()->packWithIdentifier("beta")));
    EXPECT_EQ(manager()->contentPacks().size(), 2u);
    EXPECT_FALSE(manager()->contentPackManagedObjectContext()->hasChanges());
}

TEST_F(QZTesselContentManagerTest, TheMessagesContextAskedForOnTheMainThreadIsLoggedAndStillAnswered)
{
    NSLogCapture log;
    EXPECT_TRUE(manager()->messagesUpdateManagedObjectContext());
    EXPECT_TRUE(log.contains("-[QZTesselContentManager messagesUpdateManagedObjectContext] Should not be calling "
                             "update context from main thread"));
}

TEST_F(QZTesselContentManagerTest, APackIsAnnouncedOncePerRecordObjectOnceItsThumbnailsArePresent)
{
    struct Heard {
        std::string identifier;
        std::shared_ptr<QZManagedObjectClass> packClass;
        std::thread::id thread;
    };
    std::vector<Heard> heard;
    auto token = NSNotificationCenter::defaultCenter()->addObserverForName(
        QZPhotoEditorControllerContentPackAvailabilityNotification, nullptr, [&](const auto& notification) {
            EXPECT_FALSE(notification->object());
            const Value& info = notification->userInfo();
            heard.push_back({info[kQZPhotoEditorControllerContentPackAvailabiltyIdenfiter].stringValue(),
                             info[kQZPhotoEditorControllerContentPackAvailabiltyClass].object<QZManagedObjectClass>(),
                             std::this_thread::get_id()});
        });

    auto bare = manager()->insertPackForTesting(pack("bare", "effect"));
    auto ready = manager()->insertPackForTesting(pack("ready", "frame"));
    write(std::filesystem::path(QZFileSystemUtils::resourcesDirectoryURL().value()) / "ready_thumbnail.zip", "zip");

    manager()->notifyForPackAvailibilityIfNecessary(bare);
    EXPECT_TRUE(heard.empty()) << "no thumbnails, no announcement";
    manager()->notifyForPackAvailibilityIfNecessary(ready);
    manager()->notifyForPackAvailibilityIfNecessary(ready);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].identifier, "ready");
    EXPECT_EQ(heard[0].packClass, QZManagedObjectClass::classNamed("QZFrameContentPack"));
    EXPECT_NE(heard[0].packClass, QZManagedObjectClass::classNamed("QZEffectContentPack"));
    EXPECT_EQ(heard[0].thread, std::this_thread::get_id());

    // A new run reads fresh record objects: each displayable pack is announced again, once.
    restart();
    manager()->notifyForAllPackAvailibilityIfNecessary();
    manager()->notifyForAllPackAvailibilityIfNecessary();
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[1].identifier, "ready");
    NSNotificationCenter::defaultCenter()->removeObserver(token);
}

TEST_F(QZTesselContentManagerTest, EditorVersionGatesDocuments)
{
    struct Case {
        const char* version;
        bool compatible;
    } cases[] = {{"3.3.11", true}, {"3.3.2", true}, {"3.3.12", false}, {"3.10", false}, {"2", true}};
    for (const auto& c : cases)
        EXPECT_EQ(QZTesselContentManager::compatibleWithSDKVersion(c.version), c.compatible) << c.version;
}

}  // namespace
