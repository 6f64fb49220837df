#pragma once
// Test support for the content update: a fresh sandbox holding a copy of the built content tree,
// served by a loopback fixture server that the configuration points at, the network reported
// reachable, an analytics session recording events, and a content manager started afresh for
// each test. Updates run to their end while the main thread pumps.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "Dispatch/DispatchClock.h"
#include "Dispatch/DispatchRunLoop.h"
#include "Foundation/NSUserDefaults.h"
#include "Foundation/PlatformSettings.h"
#include "Network/SCNetworkReachability.h"
#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "TesselSDKFoundation/QZSDKResources.h"
#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZContentPackUpdate.h"
#include "TesselSDK/remote/QZRemoteConfiguration.h"
#include "TesselSDK/remote/QZRemoteRegisterClasses.h"
#include "TesselSDK/remote/QZTesselContentManager.h"
#include "TesselSDK/remote/QZTranslationManager.h"
#include "TesselSDK/remote/QZURLRequestOperation.h"
#include "TesselSDKFoundation/tests/QZTestMetricsSession.h"
#include "testing/TesselFixtureServer.h"
#include "testing/TestSandbox.h"

class QZContentUpdateTest : public ::testing::Test {
protected:
    using Response = TesselFixtureServer::Response;
    static constexpr const char* kVersionPath = "/ios/cds/api/tessel-example/version.json";
    static constexpr const char* kManifestPath = "/content/manifest.json";
    static constexpr double kTimeout = 60;

    void SetUp() override
    {
        TesselSDKRemoteRegisterClasses();
        // The option store reads its key tree from the resource bundle in the main bundle.
        // The built bundle less its prebuilt content store: these updates start from an empty
        // store, as the editor's does where no store ships with it.
        const std::filesystem::path bundle = sandbox.mainBundlePath() + "/TesselSDKResources.bundle";
        std::filesystem::create_directories(bundle);
        for (const auto& entry : std::filesystem::directory_iterator(TESSEL_SDK_RESOURCES_BUNDLE_DIR))
            if (entry.path().filename() != std::string(kQZContentStorePrebuiltName) + ".sqlite")
                std::filesystem::create_symlink(entry.path(), bundle / entry.path().filename());
        QZTesselContentManager::resetSharedManagerForTesting();
        std::filesystem::copy(std::string(TESSEL_CONTENT_FIXTURES_DIR) + "/content-tree", tree,
                              std::filesystem::copy_options::recursive);
        server.serveDirectory(tree);
        QZRemoteConfiguration::setAPIKey("tessel-example");
        QZRemoteConfiguration::setContentServiceRoot(server.baseURL());
        SCNetworkReachabilitySetFlagsOverride(kSCNetworkReachabilityFlagsReachable);
        QZTestMetricsSession::registerClass(session);
    }

    void TearDown() override
    {
        server.releaseStalls();
        QZTesselContentManager::resetSharedManagerForTesting();
        QZTranslationManager::resetSharedManagerForTesting();
        QZTestMetricsSession::unregisterClass();
        SCNetworkReachabilitySetFlagsOverride(std::nullopt);
        QZRemoteConfiguration::setAPIKey(std::nullopt);
        QZRemoteConfiguration::setContentServiceRoot(std::nullopt);
        QZRemoteConfiguration::setStagingContentServiceRoot(std::nullopt);
        QZURLRequestOperation::setMaximumBodyLength(QZURLRequestOperation::kDefaultMaximumBodyLength);
        PlatformSettings::setNetworkTimeoutScale(1);
        DispatchClock::pinSecondsSince1970(std::nullopt);
        QZPhotoEditorCustomization::useTDVStagingEnvironment(false);
        QZSDKResources::unloadResources();
    }

    std::shared_ptr<QZContentPackUpdate> update() { return QZContentPackUpdate::sharedUpdate(); }
    std::shared_ptr<QZTesselContentManager> manager() { return QZTesselContentManager::sharedManager(); }

    // Starts an update and pumps until it has ended (or was held back).
    QZContentUpdateResult runUpdate()
    {
        auto running = update();
        const std::uint64_t before = running->lastResult().sequence;
        running->updateContentPacks();
        EXPECT_TRUE(DispatchRunLoop::runUntil([&] { return running->lastResult().sequence != before; }, kTimeout));
        return running->lastResult();
    }

    // Replaces a file of the served tree (read afresh at every request).
    void writeTreeFile(const std::string& relative, const std::string& contents)
    {
        std::filesystem::create_directories(std::filesystem::path(tree + "/" + relative).parent_path());
        std::ofstream(tree + "/" + relative, std::ios::binary | std::ios::trunc) << contents;
    }
    std::string readTreeFile(const std::string& relative)
    {
        std::ifstream in(tree + "/" + relative, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    Value defaultsValue(const char* key) { return NSUserDefaults::standardUserDefaults()->objectForKey(key); }
    void removeDefault(const char* key) { NSUserDefaults::standardUserDefaults()->removeObjectForKey(key); }
    std::string committedVersion()
    {
        return defaultsValue(kQZContentManagerCurrentContentManifestVerion).stringValue();
    }
    // The next update is not held back by the spacing.
    void forgetLastUpdate() { removeDefault(kQZCDSLastUpdate); }

    // The main-queue context's packs by identifier.
    std::map<std::string, std::shared_ptr<QZContentPack>> packs()
    {
        std::map<std::string, std::shared_ptr<QZContentPack>> byIdentifier;
        for (const auto& pack : manager()->contentPacks()) byIdentifier[pack->identifier()] = pack;
        return byIdentifier;
    }
    bool thumbnailsDownloading()
    {
        for (const auto& [identifier, pack] : packs())
            if (pack->thumbnailResourceProvider()->isDownloading()) return true;
        return false;
    }
    int events(const std::string& name)
    {
        int count = 0;
        for (const auto& [event, attributes] : session->events) count += event == name;
        return count;
    }

    TestSandbox sandbox;
    std::string tree = sandbox.path("tree");
    TesselFixtureServer server;
    std::shared_ptr<QZTestMetricsSession> session = NSObject::create<QZTestMetricsSession>();
};
