// The root screen's answers that need no window: layouts by device, orientations, rotation
// transforms, highlighted icon names, the shipped tool table's classes, and the editor a nil image
// does not make.
#include "QZPhotoEditorReplaySupport.h"
#include "QZShellTestSupport.h"
#include "TesselSDKImaging/tests/QZGLTestSupport.h"

#include "TesselSDK/shell/QZEditorClassRegistration.h"
#include "TesselSDK/shell/QZPhotoEditorController.h"
#include "TesselSDK/shell/QZSDKViewController.h"
#include "TesselSDK/shell/QZToolViewController.h"

#include "Foundation/NSClass.h"

#include "UIKit/UIApplication.h"
#include "UIKit/UIDevice.h"

#include <cmath>
#include <numbers>
#include <typeinfo>

namespace {

class QZSDKViewControllerTablesTest : public QZShellTest {};

TEST_F(QZSDKViewControllerTablesTest, LayoutByDevice)
{
    struct Case {
        int idiom;
        float height;
        UIInterfaceOrientation orientation;
        const char* system;
        bool usingIOS6SDK;
        const char* nib;
    };
    const Case cases[] = {
        {0, 568, UIInterfaceOrientationPortrait, "7.0", false, "QZSDKViewController_iPhone_4_inch_7"},
        {0, 568, UIInterfaceOrientationPortrait, "7.0", true, "QZSDKViewController_iPhone_4_inch"},
        {0, 568, UIInterfaceOrientationPortrait, "6.1", false, "QZSDKViewController_iPhone_4_inch"},
        {0, 480, UIInterfaceOrientationPortrait, "7.0", false, "QZSDKViewController_iPhone_3_5_inch_7"},
        {0, 480, UIInterfaceOrientationLandscapeLeft, "6.0", false, "QZSDKViewController_iPhone_3_5_inch"},
        {1, 1024, UIInterfaceOrientationPortrait, "7.0", false, "QZSDKViewController_iPad_7"},
        {1, 1024, UIInterfaceOrientationPortraitUpsideDown, "6.1", false, "QZSDKViewController_iPad"},
        {1, 768, UIInterfaceOrientationLandscapeRight, "7.0", false, "QZSDKViewController_iPad_landscape_7"},
        {1, 768, UIInterfaceOrientationLandscapeLeft, "7.0", true, "QZSDKViewController_iPad_landscape"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nib);
        PlatformSettings::setInterfaceIdiom(c.idiom);
        PlatformSettings::setScreenSize(c.idiom ? 768 : 320, c.height);
        PlatformSettings::setSystemVersion(c.system);
        UIApplication::sharedApplication()->setStatusBarOrientation(c.orientation);
        QZPhotoEditorCustomization::setOptionValue(c.usingIOS6SDK, "editor.usingIOS6SDK");
        EXPECT_EQ(QZSDKViewController::nibNameForCurrentDevice(), c.nib);
    }
    UIApplication::sharedApplication()->setStatusBarOrientation(UIInterfaceOrientationPortrait);
    EXPECT_EQ(QZPhotoEditorController::initWithImage(nullptr), nullptr);
    EXPECT_EQ(QZPhotoEditorController::initWithImageQuickLaunchTool(nullptr, "crop"), nullptr);
}

TEST_F(QZSDKViewControllerTablesTest, OrientationMasks)
{
    const std::pair<NSInteger, UIInterfaceOrientationMask> masks[] = {{0, 0}, {1, 2}, {2, 4}, {3, 8}, {4, 16}, {5, 0}};
    for (const auto& [orientation, mask] : masks)
        EXPECT_EQ(QZSDKViewController::interfaceOrientationMaskForOrientation(orientation), mask) << orientation;

    // The option takes orientations on a tablet only (a phone keeps portrait).
    PlatformSettings::setInterfaceIdiom(UIUserInterfaceIdiomPad);
    auto editor = QZSDKViewController::makeWithImage(qz_test::imageOf(qz_test::gradient(8, 8)));
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->supportedInterfaceOrientations(), 2u) << "the default is portrait";
    const std::pair<Value, UIInterfaceOrientationMask> cases[] = {{Value::array({3, 4}), 24},
                                                                  {Value::array({1, 2, 3, 4}), 30}};
    for (const auto& [option, mask] : cases) {
        QZPhotoEditorCustomization::setOptionValue(option, "editor.supportedOrientations");
        EXPECT_EQ(editor->supportedInterfaceOrientations(), mask) << option.description();
    }
    QZPhotoEditorCustomization::removeOptionValueForKey("editor.supportedOrientations");
    EXPECT_EQ(editor->supportedInterfaceOrientations(), 2u);
    // The editor started the GL set-up: it ends before the process does.
    editor.reset();
    EXPECT_TRUE(qz_test::drainGPUQueue());
}

TEST_F(QZSDKViewControllerTablesTest, ContentTransformsBetweenOrientations)
{
    constexpr float pi = std::numbers::pi_v<float>;
    // Rows: from 1..4; columns: to 1..4; the angle of the rotation.
    const float angles[4][4] = {
        {0, pi, pi / 2, -pi / 2},
        {pi, 0, -pi / 2, pi / 2},
        {-pi / 2, pi / 2, 0, pi},
        {pi / 2, -pi / 2, pi, 0},
    };
    for (int from = 1; from <= 4; ++from) {
        for (int to = 1; to <= 4; ++to) {
            const CGAffineTransform t = QZSDKViewController::getContentTransformFromInterfaceOrientation(from, to);
            const float angle = angles[from - 1][to - 1];
            EXPECT_NEAR(t.a, std::cos(angle), 1e-6) << from << " -> " << to;
            EXPECT_NEAR(t.b, std::sin(angle), 1e-6) << from << " -> " << to;
            EXPECT_EQ(t.tx, 0);
            EXPECT_EQ(t.ty, 0);
        }
    }
}

TEST_F(QZSDKViewControllerTablesTest, HighlightedIconNames)
{
    EXPECT_EQ(QZSDKViewController::highlightedIconName("crop.png"), "crop-active.png");
    EXPECT_EQ(QZSDKViewController::highlightedIconName("crop"), "crop-active.png");
    EXPECT_EQ(QZSDKViewController::highlightedIconName("a.b.png"), "a-active.png");
}

// Every row of the shipped tool table names a class the editor's registration makes, and a screen
// of its own: a renamed or unregistered class would open the plain tool base, an empty panel whose
// Apply changes nothing.
TEST_F(QZSDKViewControllerTablesTest, EveryShippedToolRowMakesAToolScreenOfItsOwn)
{
    QZRegisterEditorClasses();
    const Value tools = QZSDKViewController::toolDictionaries();
    ASSERT_TRUE(tools.isDictionary());
    std::size_t rows = 0;
    for (const auto& [key, entry] : *tools.asDictionary()) {
        ++rows;
        const std::string name = entry["class"].stringValue();
        SCOPED_TRACE(key + " -> " + name);
        const auto cls = NSClassFromString(name);
        ASSERT_NE(cls, nullptr) << "no class of that name is registered";
        auto made = std::dynamic_pointer_cast<QZToolViewController>(cls->make());
        ASSERT_NE(made, nullptr) << "the class makes no tool screen";
        const QZToolViewController& screen = *made;
        EXPECT_NE(typeid(screen), typeid(QZToolViewController)) << "the row opens the plain tool base";
    }
    EXPECT_EQ(rows, 16u);
}

}  // namespace
