#pragma once
// What the shell's suites share: the built resource bundle as the main bundle's, the device
// settings put back afterwards, and a key window driven on the virtual clock.

#include "Foundation/PlatformSettings.h"
#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "TesselSDKFoundation/QZSDKResources.h"
#include "UIKit/UIWindow.h"
#include "UIKit/testing/UITestDriver.h"

#include <gtest/gtest.h>

#include <filesystem>

class QZShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        PlatformSettings::setMainBundlePath(
            std::filesystem::path(TESSEL_SDK_RESOURCES_BUNDLE_DIR).parent_path().string());
        PlatformSettings::setScreenScale(1);
        ASSERT_TRUE(QZSDKResources::resourceBundle()) << TESSEL_SDK_RESOURCES_BUNDLE_DIR;
        window_ = UIWindow::window();
        window_->makeKeyAndVisible();
    }
    void TearDown() override
    {
        QZPhotoEditorCustomization::clearCustomization();
        QZSDKResources::unloadResources();
        PlatformSettings::reset();
    }

    UITestDriver driver_;
    std::shared_ptr<UIWindow> window_;
};
