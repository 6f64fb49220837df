#pragma once
// What the sticker suites share: a fresh content root whose resource bundle is the built one plus
// two sticker packs of generated pictures ("sticker_fixture", ready to use; "locked_stickers", whose
// full-size set must still be downloaded), their records beside the shipped packs, a phone's key
// window on the virtual clock, and the analytics recorded.
//
// sticker_fixture's items: "wide" (200 x 100, green), "redblue" (64 x 32, red left half, blue
// right half), "tall" (50 x 100, grey).

#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZManagedObjectClass.h"
#include "TesselSDK/remote/QZRemoteRegisterClasses.h"
#include "TesselSDK/remote/QZStickerContentPackItem.h"
#include "TesselSDK/remote/QZTesselContentManager.h"
#include "TesselSDK/remote/QZTranslationManager.h"

#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "TesselSDKFoundation/QZSDKResources.h"
#include "TesselSDKFoundation/tests/QZTestMetricsSession.h"

#include "Dispatch/DispatchRunLoop.h"
#include "Foundation/PlatformSettings.h"
#include "ImageIO/ImageIOCodec.h"
#include "UIKit/UIApplication.h"
#include "UIKit/UIWindow.h"
#include "UIKit/testing/UITestDriver.h"
#include "testing/TestSandbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace sticker_test {

using RGBA = std::array<std::uint8_t, 4>;
using Painter = std::function<RGBA(std::size_t x, std::size_t y)>;

inline constexpr RGBA kRed{255, 0, 0, 255};
inline constexpr RGBA kBlue{0, 0, 255, 255};
inline constexpr RGBA kGreen{0, 200, 0, 255};

inline void writePicture(const std::string& path, std::size_t width, std::size_t height, const Painter& paint)
{
    std::vector<RGBA> pixels(width * height);
    for (std::size_t y = 0; y < height; ++y)
        for (std::size_t x = 0; x < width; ++x) pixels[y * width + x] = paint(x, y);
    ASSERT_TRUE(ImageIOWritePNGFile(path, pixels.data(), width, height)) << path;
}

class QZStickerFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        TesselSDKRemoteRegisterClasses();
        makeBundle();
        QZTesselContentManager::resetSharedManagerForTesting();
        QZTestMetricsSession::registerClass(analytics_);
        PlatformSettings::setInterfaceIdiom(UIUserInterfaceIdiomPhone);
        PlatformSettings::setScreenSize(320, 568);
        PlatformSettings::setScreenScale(1);
        UIApplication::sharedApplication()->setStatusBarOrientation(UIInterfaceOrientationPortrait);
        window_ = UIWindow::window();
        window_->makeKeyAndVisible();
        addPacks();
    }
    void TearDown() override
    {
        window_.reset();
        DispatchRunLoop::drain();
        QZTesselContentManager::resetSharedManagerForTesting();
        QZTranslationManager::resetSharedManagerForTesting();
        QZTestMetricsSession::unregisterClass();
        QZPhotoEditorCustomization::clearCustomization();
        QZSDKResources::unloadResources();
    }

    static std::shared_ptr<QZTesselContentManager> manager() { return QZTesselContentManager::sharedManager(); }
    static std::shared_ptr<QZContentPack> pack(const std::string& identifier)
    {
        return manager()->packWithIdentifier(identifier);
    }
    // The item of sticker_fixture (or of `packIdentifier`) with that identifier.
    static std::shared_ptr<QZStickerContentPackItem> item(const std::string& identifier,
                                                          const std::string& packIdentifier = "sticker_fixture")
    {
        auto owner = pack(packIdentifier);
        if (!owner) return nullptr;
        for (const auto& candidate : owner->orderedItems())
            if (candidate->identifier() == identifier)
                return std::dynamic_pointer_cast<QZStickerContentPackItem>(candidate);
        return nullptr;
    }

    std::vector<std::string> eventNames() const
    {
        std::vector<std::string> names;
        for (const auto& [name, attributes] : analytics_->events) names.push_back(name);
        return names;
    }
    int eventCount(const std::string& name) const
    {
        const std::vector<std::string> names = eventNames();
        return int(std::count(names.begin(), names.end(), name));
    }

    // Where screenshots go when $TESSEL_PACKS_SCREENSHOTS names a folder; none otherwise.
    void screenshot(const std::string& name) const
    {
        const char* folder = std::getenv("TESSEL_PACKS_SCREENSHOTS");
        if (!folder || !*folder) return;
        std::filesystem::create_directories(folder);
        UITestDriver::writeSnapshot(*window_, std::string(folder) + "/" + name + ".png");
    }

    TestSandbox sandbox_;
    UITestDriver driver_;
    std::shared_ptr<UIWindow> window_;
    std::shared_ptr<QZTestMetricsSession> analytics_ = NSObject::create<QZTestMetricsSession>();

private:
    // The built bundle's entries linked into a bundle of our own, beside the fixture packs' folders.
    void makeBundle()
    {
        namespace fs = std::filesystem;
        const fs::path bundle = fs::path(sandbox_.mainBundlePath()) / "TesselSDKResources.bundle";
        fs::create_directories(bundle);
        for (const auto& entry : fs::directory_iterator(TESSEL_SDK_RESOURCES_BUNDLE_DIR))
            fs::create_symlink(entry.path(), bundle / entry.path().filename());
        const fs::path ready = bundle / "sticker_fixture";
        fs::create_directories(ready);
        const auto plain = [](RGBA colour) { return [colour](std::size_t, std::size_t) { return colour; }; };
        const auto redBlue = [](std::size_t x, std::size_t) { return x < 32 ? kRed : kBlue; };
        for (const char* size : {"large", "small"}) {
            writePicture((ready / ("wide-" + std::string(size) + ".png")).string(), 200, 100, plain(kGreen));
            writePicture((ready / ("redblue-" + std::string(size) + ".png")).string(), 64, 32, redBlue);
            writePicture((ready / ("tall-" + std::string(size) + ".png")).string(), 50, 100,
                         plain({128, 128, 128, 255}));
        }
        writePicture((ready / "iap_preview.png").string(), 55, 55, plain(kGreen));
        // Only the thumbnails: the pack shows in the strip but needs its download first.
        const fs::path locked = bundle / "locked_stickers";
        fs::create_directories(locked);
        writePicture((locked / "iap_preview.png").string(), 55, 55, plain(kBlue));
    }

    void addPacks()
    {
        auto context = manager()->contentPackManagedObjectContext();
        auto packClass = QZManagedObjectClass::classNamed("QZContentPack");
        for (const char* json : {
                 R"({"identifier": "sticker_fixture", "packType": "sticker", "displayName": "Fixture",
                     "codeName": "fixture_code", "requiresDownload": false, "index": 5,
                     "items": [{"identifier": "wide", "displayName": "Wide"},
                               {"identifier": "redblue", "displayName": "Red Blue"},
                               {"identifier": "tall", "displayName": "Tall"}]})",
                 R"({"identifier": "locked_stickers", "packType": "sticker", "displayName": "Locked",
                     "codeName": "locked_code", "requiresDownload": true, "index": 6,
                     "highResURL": "http://127.0.0.1:9/locked_stickers.zip",
                     "items": [{"identifier": "key", "displayName": "Key"}]})"}) {
            Value document = Value::fromJSON(json);
            ASSERT_TRUE(document.isDictionary()) << json;
            ASSERT_TRUE(packClass->updateOrCreateWithDictionary(document, *context)) << json;
        }
        std::shared_ptr<NSError> error;
        ASSERT_TRUE(context->save(&error));
    }
};

}  // namespace sticker_test
