// The panels' switches and flags (the Bars panel's preview switches, texture and logo, the Text
// panel's pressed buttons), and previews that follow a colour of another panel while their own
// is unset, compared pixel for pixel.

#include <gtest/gtest.h>

#include <cstring>

#include "App/QZBarButtonsCustomizationViewController.h"
#include "App/QZBarCustomizationViewController.h"
#include "App/QZIconCustomizationViewController.h"
#include "App/QZOverallConfigurationViewController.h"
#include "App/QZPreviewBuilders.h"
#include "App/QZTextCustomizationViewController.h"
#include "support/QZAppFakes.h"
#include "support/QZThemeStoreFixture.h"

namespace customizer {
namespace {

using namespace customizer::testing;

NSColorPtr rgba(double r, double g, double b, double a = 1) { return NSColor::colorWithCalibratedRed(r, g, b, a); }

// The same size and the same bytes.
::testing::AssertionResult samePixels(const NSImagePtr& actual, const NSImagePtr& expected)
{
    if (!actual || !expected) return ::testing::AssertionFailure() << "a nil image";
    cairo_surface_t* a = actual->CGImage()->surface();
    cairo_surface_t* b = expected->CGImage()->surface();
    cairo_surface_flush(a);
    cairo_surface_flush(b);
    const int width = cairo_image_surface_get_width(a), height = cairo_image_surface_get_height(a);
    if (width != cairo_image_surface_get_width(b) || height != cairo_image_surface_get_height(b))
        return ::testing::AssertionFailure() << "sizes differ";
    for (int y = 0; y < height; ++y) {
        const unsigned char* rowA =
            cairo_image_surface_get_data(a) + size_t(y) * size_t(cairo_image_surface_get_stride(a));
        const unsigned char* rowB =
            cairo_image_surface_get_data(b) + size_t(y) * size_t(cairo_image_surface_get_stride(b));
        if (std::memcmp(rowA, rowB, size_t(width) * 4) != 0)
            return ::testing::AssertionFailure() << "row " << y << " differs";
    }
    return ::testing::AssertionSuccess();
}

class QZPanelBehaviourTest : public QZThemeStoreTest {
protected:
    QZPanelBehaviourTest()
        : resources_("TESSEL_CUSTOMIZER_RESOURCES", std::string(TESSEL_CUSTOMIZER_RESOURCES_DIR)),
          config_("XDG_CONFIG_HOME", home_ / "config"), manager_(start())
    {
    }
    OverallAppearance& record() { return manager_->overallAppearance(); }

    QZScopedEnvironment resources_;
    QZScopedEnvironment config_;
    std::unique_ptr<QZCustomizationDataManager> manager_;
    QZUserDefaults defaults_;
    std::shared_ptr<QZRecordingPanelControls> controls_ = std::make_shared<QZRecordingPanelControls>();
};

TEST_F(QZPanelBehaviourTest, BarsOpensWithBothSwitchesOffOnAFirstRunAndRemembersThem)
{
    QZBarCustomizationViewController bars(*manager_, controls_, defaults_);
    bars.loadView();
    for (const char* box : {"showButtonsCheckbox", "showIconsCheckbox"}) EXPECT_FALSE(controls_->checked.at(box)) << box;
    for (const char* preview : {"applyButtonPreview", "cancelButtonPreview", "unselectedIconPreview", "selectedIconPreview"})
        EXPECT_TRUE(controls_->hidden.at(preview)) << preview;

    bars.showNavButtonsValueChanged(true);
    EXPECT_FALSE(controls_->hidden.at("applyButtonPreview"));
    EXPECT_TRUE(controls_->hidden.at("selectedIconPreview"));
    auto next = std::make_shared<QZRecordingPanelControls>();
    QZBarCustomizationViewController again(*manager_, next, defaults_);
    again.loadView();
    EXPECT_TRUE(next->checked.at("showButtonsCheckbox"));
    EXPECT_FALSE(next->checked.at("showIconsCheckbox"));
    EXPECT_TRUE(QZUserDefaults().boolForKey(SHOW_BUTTONS_KEY));
}

TEST_F(QZPanelBehaviourTest, TheLogoRadioButtonsAndTheTextureBoxStoreTheirFlags)
{
    record().setValueForKey(true, "usesBlackTesselLogo");
    manager_->save();
    QZBarCustomizationViewController bars(*manager_, controls_, defaults_);
    bars.loadView();
    EXPECT_TRUE(controls_->checked.at("tesselIsBlack"));
    EXPECT_EQ(controls_->namedImages.at("logoView"), "logo_black.png");

    bars.logoColorChanged("tesselIsWhite", true);
    EXPECT_FALSE(start()->overallAppearance().usesBlackTesselLogo());
    EXPECT_FALSE(controls_->checked.at("tesselIsBlack"));
    EXPECT_TRUE(controls_->checked.at("tesselIsWhite"));
    EXPECT_EQ(controls_->namedImages.at("logoView"), "logo_white.png");
    bars.logoColorChanged("tesselIsWhite", false);
    EXPECT_TRUE(record().usesBlackTesselLogo());
    bars.logoColorChanged("tesselIsBlack", false);
    EXPECT_FALSE(record().usesBlackTesselLogo());

    const size_t navDraws = controls_->images["navBarPreview"].size();
    const size_t bottomDraws = controls_->images["bottomBarPreview"].size();
    bars.texturedAppearanceCheckboxValueChanged(true);
    EXPECT_TRUE(start()->overallAppearance().useNoise());
    EXPECT_EQ(controls_->images["navBarPreview"].size(), navDraws + 1);
    EXPECT_EQ(controls_->images["bottomBarPreview"].size(), bottomDraws + 1);
}

TEST_F(QZPanelBehaviourTest, PressedButtonsSwapTheButtonTitlesButNotTheirShadows)
{
    const NSColorPtr normal = rgba(0.1, 0.1, 0.1), pressed = rgba(0.9, 0.9, 0.9), shadow = rgba(0.5, 0.2, 0.2);
    for (const char* key : {"cancelButtonDefaultTextColor", "applyButtonDefaultTextColor"}) record().setValueForKey(normal, key);
    for (const char* key : {"cancelButtonHighlightedTextColor", "applyButtonHighlightedTextColor"}) record().setValueForKey(pressed, key);
    for (const char* key : {"cancelButtonDefaultTextShadowColor", "applyButtonDefaultTextShadowColor"}) record().setValueForKey(shadow, key);
    manager_->save();

    QZTextCustomizationViewController text(*manager_, controls_, defaults_);
    text.loadView();
    EXPECT_FALSE(controls_->checked.at("highlightedButtonsCheckbox"));
    EXPECT_TRUE(controls_->textColors.at("applyButtonLabel")->isEqual(*normal));
    const NSImagePtr normalApply = controls_->images["applyButtonPreview"].back();

    text.highlightedButtonsCheckboxValueDidChange(true);
    EXPECT_TRUE(QZUserDefaults().boolForKey(HIGHLIGHTED_BUTTONS_KEY));
    for (const char* label : {"applyButtonLabel", "cancelButtonLabel"}) EXPECT_TRUE(controls_->textColors.at(label)->isEqual(*pressed)) << label;
    for (const char* label : {"applyButtonShadowLabel", "cancelButtonShadowLabel"})
        EXPECT_TRUE(controls_->textColors.at(label)->isEqual(*shadow)) << label;
    EXPECT_NE(controls_->images["applyButtonPreview"].back(), normalApply);
}

// The Bars panel draws the cancel button in the bar's colour until Bar Buttons stores one.
TEST_F(QZPanelBehaviourTest, TheCancelPreviewFollowsTheBarColourUntilACancelColourIsStored)
{
    QZBarCustomizationViewController bars(*manager_, controls_, defaults_);
    bars.loadView();
    const NSImagePtr before = controls_->images["cancelButtonPreview"].back();
    const NSColorPtr red = rgba(0.8, 0.1, 0.1);
    // What a cancel colour of that red draws: the preview must become exactly this.
    OverallAppearance redCancel = record();
    redCancel.setValueForKey(red, "cancelButtonColor");
    const NSImagePtr redButton = bigCancelButtonImage(redCancel, false);
    ASSERT_FALSE(samePixels(before, redButton));

    controls_->wells["navBarBackgroundColorWell"] = red;
    bars.colorWellDidChange("navBarBackgroundColorWell");
    EXPECT_TRUE(samePixels(controls_->images["cancelButtonPreview"].back(), redButton));

    // Any change in Bar Buttons stores every one of its colours, the cancel colour with them;
    // from then on the bar's colour no longer moves the cancel button.
    auto buttonControls = std::make_shared<QZRecordingPanelControls>();
    QZBarButtonsCustomizationViewController buttons(*manager_, buttonControls);
    buttons.loadView();
    buttons.colorWellDidChange("applyButtonStrokeColorWell");
    ASSERT_TRUE(std::holds_alternative<NSColorPtr>(
        start()->overallAppearance().primitiveValue(QZAttribute::cancelButtonColor)));
    controls_->wells["navBarBackgroundColorWell"] = rgba(0.1, 0.2, 0.9);
    bars.colorWellDidChange("navBarBackgroundColorWell");
    EXPECT_TRUE(samePixels(controls_->images["cancelButtonPreview"].back(), redButton));
    EXPECT_FALSE(samePixels(controls_->images["navBarPreview"].back(), bigNavBarImageAtSize(redCancel, {120, 50})));
}

// An accent colour moves the selected icon, its label and the apply button of the Overall panel
// while their own colours are unset; the unselected icons stay as they were. Once the Icons panel
// stores its colours, the selected icon and its label stay put and only the apply button follows.
TEST_F(QZPanelBehaviourTest, AnAccentChangeMovesTheSelectedIconItsLabelAndTheApplyButtonWhileTheyAreUnset)
{
    QZOverallConfigurationViewController overall(*manager_, controls_);
    overall.loadView();
    auto last = [this](const char* outlet) { return controls_->images[outlet].back(); };
    const NSImagePtr icon = last("icon1"), apply = last("applyButtonPreview"), effects = last("icon2");
    const NSColorPtr label = controls_->textColors.at("iconLabel1");

    const NSColorPtr green = rgba(0.1, 0.8, 0.2);
    controls_->wells["accentGradientTopColorWell"] = green;
    overall.colorWellColorChanged("accentGradientTopColorWell");
    EXPECT_FALSE(samePixels(last("icon1"), icon));
    EXPECT_FALSE(samePixels(last("applyButtonPreview"), apply));
    EXPECT_TRUE(samePixels(last("icon2"), effects));
    EXPECT_TRUE(controls_->textColors.at("iconLabel1")->isEqual(*green));
    EXPECT_FALSE(label->isEqual(*green));

    auto iconControls = std::make_shared<QZRecordingPanelControls>();
    QZIconCustomizationViewController icons(*manager_, iconControls);
    icons.loadView();
    icons.colorWellChangedColor("highlightedStrokeColorWell");
    const NSImagePtr pinnedIcon = last("icon1"), greenApply = last("applyButtonPreview");
    controls_->wells["accentGradientTopColorWell"] = rgba(0.9, 0.5, 0.1);
    overall.colorWellColorChanged("accentGradientTopColorWell");
    EXPECT_TRUE(samePixels(last("icon1"), pinnedIcon));
    EXPECT_TRUE(controls_->textColors.at("iconLabel1")->isEqual(*green));
    EXPECT_FALSE(samePixels(last("applyButtonPreview"), greenApply));
}

}  // namespace
}  // namespace customizer
