#pragma once
// Test support for the message update: the content update's sandbox and fixture server, with the
// message update run to its end while the main thread pumps, and the stored messages read from
// the main-queue context.

#include "TesselSDK/remote/tests/QZContentUpdateFixture.h"

#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "Foundation/PlatformSettings.h"
#include "TesselSDKFoundation/QZFileSystemUtils.h"
#include "TesselSDK/remote/QZMessage.h"
#include "TesselSDK/remote/QZMessageText.h"
#include "TesselSDK/remote/QZMessageUpdate.h"
#include "TesselSDK/remote/QZMessageUpdateCompletionOperation.h"

class QZMessageUpdateTest : public QZContentUpdateTest {
protected:
    static constexpr const char* kMessageVersionPath = "/ios/cds/api/tessel-example/messages/messageVersion.json";
    static constexpr const char* kMessageManifestPath = "/messages/manifest.json";

    void SetUp() override
    {
        QZContentUpdateTest::SetUp();
        screenScale_ = PlatformSettings::screenScale();
        PlatformSettings::setScreenScale(2);
    }
    void TearDown() override
    {
        QZContentUpdateTest::TearDown();
        PlatformSettings::setScreenScale(screenScale_);
    }

    std::shared_ptr<QZMessageUpdate> messageUpdate() { return QZMessageUpdate::sharedUpdate(); }

    // Starts a message update and pumps until it has ended.
    QZMessageUpdateResult runMessageUpdate()
    {
        auto running = messageUpdate();
        const std::uint64_t before = running->lastResult().sequence;
        manager()->updateMessages();
        EXPECT_TRUE(DispatchRunLoop::runUntil(
            [&] { return running->lastResult().sequence != before && running->isIdle(); }, kTimeout));
        return running->lastResult();
    }

    // A new run of the process on an empty sandbox.
    void startAfresh()
    {
        QZTesselContentManager::resetSharedManagerForTesting();
        std::filesystem::remove_all(sandbox.sandboxRoot());
        NSUserDefaults::resetStandardUserDefaults();
        session->events.clear();
    }

    // The main-queue context's messages by identifier.
    std::map<std::string, std::shared_ptr<QZMessage>> messages()
    {
        std::map<std::string, std::shared_ptr<QZMessage>> byIdentifier;
        auto context = manager()->contentPackManagedObjectContext();
        if (auto records = QZManagedObjectClass::classNamed("QZMessage")->fetchAllInManagedObjectContext(*context))
            for (const auto& record : *records)
                if (auto message = std::dynamic_pointer_cast<QZMessage>(record))
                    byIdentifier[message->identifier()] = message;
        return byIdentifier;
    }

    Value committedMessagesVersion() { return defaultsValue(kQZContentManagerCurrentMessagingManifestVerion); }
    std::string applicationSupport() { return QZFileSystemUtils::applicationSupportDirectory().value_or(""); }
    bool inApplicationSupport(const std::string& name)
    {
        return std::filesystem::exists(applicationSupport() + "/" + name);
    }
    // Every regular file under the sandbox root, relative to it.
    std::set<std::string> sandboxFiles()
    {
        std::set<std::string> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(sandbox.root()))
            if (entry.is_regular_file()) files.insert(std::filesystem::relative(entry.path(), sandbox.root()).string());
        return files;
    }
    int archiveRequests(const std::string& name) { return server.requestCount("/messages/archives/" + name); }

private:
    float screenScale_ = 1;
};
