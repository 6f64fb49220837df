#pragma once
// What the widget tests share: the built resource bundle as the main bundle's, a key window of a
// phone screen at scale 1, the test driver on the virtual clock, and the golden-image check.

#include "Foundation/PlatformSettings.h"
#include "TesselSDKFoundation/QZSDKResources.h"
#include "UIKit/UIWindow.h"
#include "TesselSDKFoundation/tests/QZGoldenTestSupport.h"
#include "UIKit/testing/UITestDriver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

class QZWidgetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        PlatformSettings::setMainBundlePath(
            std::filesystem::path(TESSEL_SDK_RESOURCES_BUNDLE_DIR).parent_path().string());
        PlatformSettings::setScreenScale(1);
        ASSERT_TRUE(QZSDKResources::resourceBundle()) << TESSEL_SDK_RESOURCES_BUNDLE_DIR;
        driver = std::make_unique<UITestDriver>();
        window = UIWindow::window();
        window->setBackgroundColor(UIColor::blackColor());
        window->makeKeyAndVisible();
    }
    void TearDown() override
    {
        window.reset();
        driver.reset();
        QZSDKResources::unloadResources();
        PlatformSettings::reset();
    }

    // Adds the view to the window and lays it out.
    template <class V>
    std::shared_ptr<V> show(std::shared_ptr<V> view)
    {
        window->addSubview(view);
        view->layoutIfNeeded();
        driver->turn();
        return view;
    }

    // The view as it looks now against TESSEL_FOUNDATION_GOLDEN_DIR/<name>.png; an updated golden
    // does not stop the test (several images are checked in a row).
    static void expectGolden(UIView& view, const std::string& name)
    {
        auto image = UIViewSnapshot(view);
        ASSERT_NE(image, nullptr);
        [&] { QZ_EXPECT_GOLDEN(image->CGImage(), name); }();
    }

    std::unique_ptr<UITestDriver> driver;
    std::shared_ptr<UIWindow> window;
};

// Rectangles equal to within a hundredth of a point.
inline ::testing::AssertionResult RectNear(CGRect actual, CGRect expected)
{
    auto near = [](CGFloat a, CGFloat b) { return std::abs(a - b) < 0.01f; };
    if (near(actual.origin.x, expected.origin.x) && near(actual.origin.y, expected.origin.y) &&
        near(actual.size.width, expected.size.width) && near(actual.size.height, expected.size.height))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << actual.origin.x << ", " << actual.origin.y << ", "
                                         << actual.size.width << ", " << actual.size.height << ") is not ("
                                         << expected.origin.x << ", " << expected.origin.y << ", "
                                         << expected.size.width << ", " << expected.size.height << ")";
}
