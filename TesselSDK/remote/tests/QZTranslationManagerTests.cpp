// Pack texts in the device's language: the shipped string tables first, then what updates stored.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Dispatch/DispatchRunLoop.h"
#include "Foundation/NSLogCapture.h"
#include "Foundation/PlatformSettings.h"
#include "TesselSDKFoundation/QZSDKResources.h"
#include "TesselSDK/remote/QZRemoteRegisterClasses.h"
#include "TesselSDK/remote/QZTranslationManager.h"
#include "testing/TestSandbox.h"

namespace {

class QZTranslationManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TesselSDKRemoteRegisterClasses();
        // The shipped bundle: its Portuguese table translates "Effects".
        PlatformSettings::setMainBundlePath(
            std::filesystem::path(TESSEL_SDK_RESOURCES_BUNDLE_DIR).parent_path().string());
    }
    void TearDown() override
    {
        QZTranslationManager::resetSharedManagerForTesting();
        QZSDKResources::unloadResources();
    }

    static std::shared_ptr<QZTranslationManager> manager() { return QZTranslationManager::sharedManager(); }
    static Value entry(const char* english, std::vector<std::pair<const char*, const char*>> translations)
    {
        Value::Array list;
        for (const auto& [language, text] : translations)
            list.push_back(Value::dictionary({{"language", language}, {"value", text}}));
        return Value::dictionary({{"value", english}, {"translations", Value(std::move(list))}});
    }
    // Waits for the queued updates, their saves and the merges into the main context.
    static void waitForUpdates()
    {
        manager()->translationUpdateQueue()->sync([] {});
        if (auto update = manager()->updateManagedObjectContext()) update->performBlockAndWait([] {});
        DispatchRunLoop::drain();
    }
    static std::string on(const char* language, const char* key)
    {
        PlatformSettings::setPreferredLanguages({language});
        return manager()->translationForKey(key);
    }
    static void write(const std::string& path, const std::string& contents)
    {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << contents;
    }

    TestSandbox sandbox;
};

TEST_F(QZTranslationManagerTest, EachDeviceLanguageReadsTheTableThenTheStoreThenTheKey)
{
    manager()->updateWithDictionary(entry("Vintage", {{"fr", "Ancien"}, {"pt", "Antigo"}}));
    manager()->updateWithDictionary(entry("Bold", {{"de", "Kräftig"}}));
    manager()->updateWithDictionary(entry("Effects", {{"fr", "Effets du service"}, {"pt", "Efeitos do serviço"}}));
    waitForUpdates();

    struct Case {
        const char* language;
        const char* vintage;  // stored for the language
        const char* bold;     // stored for another language only
        const char* absent;   // never stored
        const char* effects;  // stored, and in the shipped Portuguese table
    };
    const std::vector<Case> cases = {
        {"en", "Vintage", "Bold", "Absent", "Effects"},
        {"en-GB", "Vintage", "Bold", "Absent", "Effects"},
        {"fr", "Ancien", "Bold", "Absent", "Effets du service"},
        {"fr-CA", "Ancien", "Bold", "Absent", "Effets du service"},
        {"pt", "Antigo", "Bold", "Absent", "Efeitos"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        EXPECT_EQ(on(c.language, "Vintage"), c.vintage);
        EXPECT_EQ(on(c.language, "Bold"), c.bold);
        EXPECT_EQ(on(c.language, "Absent"), c.absent);
        EXPECT_EQ(on(c.language, "Effects"), c.effects);
    }
}

TEST_F(QZTranslationManagerTest, EqualTextsOfTwoKeysOrTwoLanguagesAreAllKept)
{
    manager()->updateWithDictionary(entry("Hello", {{"fr", "Salut"}}));
    manager()->updateWithDictionary(entry("Hi", {{"fr", "Salut"}}));
    manager()->updateWithDictionary(entry("Okay", {{"fr", "D'accord!"}, {"de", "D'accord!"}}));
    manager()->updateWithDictionary(entry("Retro", {{"fr", "Rétro"}}));
    manager()->updateWithDictionary(entry("Retro", {{"fr", "Rétro (nouveau)"}}));
    waitForUpdates();
    EXPECT_EQ(on("fr", "Hello"), "Salut");
    EXPECT_EQ(on("fr", "Hi"), "Salut");
    EXPECT_EQ(on("fr", "Okay"), "D'accord!");
    EXPECT_EQ(on("de", "Okay"), "D'accord!");
    EXPECT_EQ(on("fr", "Retro"), "Rétro (nouveau)") << "a later update replaces the language's text";
}

TEST_F(QZTranslationManagerTest, ADamagedStoreIsRecreatedWithoutItsStaleCompanions)
{
    const std::string store = QZTranslationManager::storeURL();
    ASSERT_FALSE(store.empty());
    write(store, "garbage that is no database at all, long enough to look like one.....");
    write(store + "-wal", std::string(4096, '\x5a'));
    write(store + "-shm", std::string(32768, '\x7f'));
    manager()->updateWithDictionary(entry("Vintage", {{"fr", "Ancien"}}));
    waitForUpdates();
    EXPECT_EQ(on("fr", "Vintage"), "Ancien");

    // A new run reads it back from the file.
    QZTranslationManager::resetSharedManagerForTesting();
    EXPECT_EQ(on("fr", "Vintage"), "Ancien");
}

TEST_F(QZTranslationManagerTest, WithoutAStoreEveryKeyAnswersItselfAndUpdatesAreDropped)
{
    write(sandbox.sandboxRoot() + "/Library/Application Support", "a file where the directory belongs");
    NSLogCapture log;
    manager()->updateWithDictionary(entry("Vintage", {{"fr", "Ancien"}}));
    waitForUpdates();
    EXPECT_TRUE(log.contains("-[QZTranslationManager persistentStoreCoordinator] Unresolved error "));
    EXPECT_EQ(on("fr", "Vintage"), "Vintage");
    EXPECT_EQ(on("pt", "Effects"), "Efeitos");
}

}  // namespace
