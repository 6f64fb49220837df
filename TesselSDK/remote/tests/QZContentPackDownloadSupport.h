#pragma once
// Test support for pack downloads: the content manager's sandbox with a fixture server, packs
// whose archive URLs point at it, archives made by the zip builder, and a recorder of what the
// screens hear (resources-updated notifications with the state and progress read as they arrive,
// failures, availability announcements), in order.

#include <sys/xattr.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "Foundation/NSNotificationCenter.h"
#include "TesselSDKFoundation/QZFileSystemUtils.h"
#include "TesselSDK/remote/QZContentPackResourceProvider.h"
#include "TesselSDK/remote/tests/QZContentManagerFixture.h"
#include "TesselSDK/remote/tests/QZResourceArchiveSupport.h"
#include "testing/TesselFixtureServer.h"
#include "testing/ZipBuilder.h"

struct QZProviderEvent {
    std::string name;  // "state", "downloadProgress", "fail", "available"
    int state = 0;
    float progress = 0;
    std::string identifier;
    bool highRes = false;
};

class QZContentPackDownloadFixture : public QZContentManagerFixture {
protected:
    using Response = TesselFixtureServer::Response;

    void SetUp() override
    {
        QZContentManagerFixture::SetUp();
        auto center = NSNotificationCenter::defaultCenter();
        tokens.push_back(center->addObserverForName(
            QZTesselContentManagerResourcesUpdatedNotification, nullptr, [this](const auto& note) {
                auto provider = std::dynamic_pointer_cast<QZContentPackResourceProvider>(note->object());
                ASSERT_TRUE(provider);
                events.push_back({note->userInfo()["keyPath"].stringValue(), provider->state(),
                                  provider->downloadProgress(), provider->contentPackIdentifier(), true});
            }));
        tokens.push_back(center->addObserverForName(kQZResourceProviderDidFail, nullptr, [this](const auto& note) {
            auto provider = std::dynamic_pointer_cast<QZContentPackResourceProvider>(note->object());
            ASSERT_TRUE(provider);
            events.push_back({"fail", 0, 0, provider->contentPackIdentifier(),
                              note->userInfo()[kQZResourceProvierHighRes].boolValue()});
        }));
        tokens.push_back(center->addObserverForName(
            QZPhotoEditorControllerContentPackAvailabilityNotification, nullptr, [this](const auto& note) {
                events.push_back(
                    {"available", 0, 0,
                     note->userInfo()[kQZPhotoEditorControllerContentPackAvailabiltyIdenfiter].stringValue()});
            }));
    }
    void TearDown() override
    {
        for (const auto& token : tokens) NSNotificationCenter::defaultCenter()->removeObserver(token);
        QZContentManagerFixture::TearDown();
    }

    // A stored effect pack whose archives are served at /<id>.zip and /<id>_thumbnail.zip.
    std::shared_ptr<QZContentPack> pack(const std::string& identifier)
    {
        return manager()->insertPackForTesting(Value::dictionary({
            {"identifier", identifier},
            {"packType", "effect"},
            {"requiresDownload", true},
            {"highResURL", server.url("/" + identifier + ".zip")},
            {"thumbnailURL", server.url("/" + identifier + "_thumbnail.zip")},
        }));
    }

    std::string archiveBytes(const ZipBuilder& builder)
    {
        const std::string path = sandbox->path("built.zip");
        std::string error;
        EXPECT_TRUE(builder.writeTo(path, &error)) << error;
        std::string bytes = readFile(path);
        std::filesystem::remove(path);
        return bytes;
    }
    // A valid archive of about `size` bytes holding "a.png".
    std::string validArchive(std::size_t size = 200000)
    {
        std::string filler(size, '\0');
        for (std::size_t i = 0; i < filler.size(); ++i) filler[i] = static_cast<char>((i * 2654435761u) >> 24);
        return archiveBytes(ZipBuilder()
                                .addStored("status.json", R"({"status": "OK"})")
                                .addStored("a.png", qz_archive_test::squarePNG(4))
                                .addStored("filler.bin", filler));
    }
    static Response binary(const std::string& bytes)
    {
        Response response = Response::text(bytes, 200, "application/zip");
        response.substitutesBase = false;
        return response;
    }

    static std::string readFile(const std::filesystem::path& path)
    {
        std::ifstream file(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    static std::filesystem::path contentDirectory() { return QZFileSystemUtils::resourcesDirectoryURL().value(); }
    static std::filesystem::path temporaryDirectory() { return QZFileSystemUtils::temporaryDirectory(); }
    // Every path under the directory, relative to it.
    static std::set<std::string> tree(const std::filesystem::path& directory)
    {
        std::set<std::string> paths;
        std::error_code error;
        for (std::filesystem::recursive_directory_iterator it(directory, error), end; !error && it != end;
             it.increment(error))
            paths.insert(std::filesystem::relative(it->path(), directory).string());
        return paths;
    }
    static bool markedNotToBackUp(const std::filesystem::path& path)
    {
        unsigned char value = 0;
        return getxattr(path.c_str(), "user.com.apple.MobileBackup", &value, 1) == 1 && value == 1;
    }

    bool pumpUntilEvent(const std::string& name)
    {
        return DispatchRunLoop::runUntil(
            [&] {
                for (const auto& event : events)
                    if (event.name == name) return true;
                return false;
            },
            20);
    }
    // Turns the run loop a little longer: anything still to come arrives now.
    static void settle()
    {
        DispatchRunLoop::runUntil([] { return false; }, 0.3);
    }

    TesselFixtureServer server;
    std::vector<QZProviderEvent> events;
    std::vector<std::shared_ptr<NSObject>> tokens;
};
