// The panels' switches and flags: the Bars panel's preview switches, texture and logo, and the
// Text panel's pressed buttons.

#include <gtest/gtest.h>

#include "App/QZBarCustomizationViewController.h"
#include "App/QZTextCustomizationViewController.h"
#include "support/QZAppFakes.h"
#include "support/QZThemeStoreFixture.h"

namespace customizer {
namespace {

using namespace customizer::testing;

NSColorPtr rgba(double r, double g, double b, double a = 1) { return NSColor::colorWithCalibratedRed(r, g, b, a); }

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

}  // namespace
}  // namespace customizer
