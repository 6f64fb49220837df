// The colour panels, driven by their own tables: what setupControls fills, what a colour change
// writes and redraws, what each reset passes; and the preview builders' sizes.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <type_traits>

#include "App/QZBarButtonsCustomizationViewController.h"
#include "App/QZBarCustomizationViewController.h"
#include "App/QZOverallConfigurationViewController.h"
#include "App/QZTextCustomizationViewController.h"
#include "App/QZHandleCustomizationViewController.h"
#include "App/QZIconCustomizationViewController.h"
#include "App/QZPreviewBuilders.h"
#include "support/QZAppFakes.h"
#include "support/QZThemeStoreFixture.h"

namespace customizer {
namespace {

using namespace customizer::testing;

NSColorPtr rgba(double r, double g, double b, double a = 1) { return NSColor::colorWithCalibratedRed(r, g, b, a); }

// Stored values alike: both unset, the same flag, or equal colours.
bool same(const QZAttributeValue& a, const QZAttributeValue& b)
{
    const auto* colourA = std::get_if<NSColorPtr>(&a);
    const auto* colourB = std::get_if<NSColorPtr>(&b);
    if (colourA && colourB) return *colourA && *colourB ? (*colourA)->isEqual(**colourB) : !*colourA == !*colourB;
    return a == b;
}

struct PanelCase {
    const char* name;
    std::function<std::unique_ptr<QZColourPanel>(QZCustomizationDataManager&, std::shared_ptr<QZPanelControls>, QZUserDefaults&)> make;
    std::vector<QZWellBinding> wells;
    bool writesSenderOnly;
    std::vector<std::string> writeOrder;  // unless sender only
    std::function<void(QZColourPanel&, const std::string& sender)> colourAction;
    std::set<std::string> previews;
    std::set<std::string> redrawnByColour;
    std::vector<std::pair<std::function<void(QZColourPanel&)>, std::vector<std::string>>> resets;
};

template <typename Panel>
auto maker()
{
    return [](QZCustomizationDataManager& manager, std::shared_ptr<QZPanelControls> controls,
              [[maybe_unused]] QZUserDefaults& defaults) -> std::unique_ptr<QZColourPanel> {
        if constexpr (std::is_constructible_v<Panel, QZCustomizationDataManager&, std::shared_ptr<QZPanelControls>, QZUserDefaults&>)
            return std::make_unique<Panel>(manager, std::move(controls), defaults);
        else
            return std::make_unique<Panel>(manager, std::move(controls));
    };
}

using Handles = QZHandleCustomizationViewController;
using BarButtons = QZBarButtonsCustomizationViewController;
using Icons = QZIconCustomizationViewController;
using Overall = QZOverallConfigurationViewController;
using Bars = QZBarCustomizationViewController;
using Text = QZTextCustomizationViewController;

const std::set<std::string> kBigPreviews = {"navBarPreview", "applyButtonPreview", "cancelButtonPreview",
                                            "bottomBarPreview", "unselectedIconPreview", "selectedIconPreview"};
const std::set<std::string> kOverallPreviews = {"navBarPreview", "bottomBarPreview", "applyButtonPreview", "cancelButtonPreview",
                                                "icon1", "icon2", "icon3", "icon4", "icon5"};

// Built on first use: the panels' tables live in another translation unit.
const std::vector<PanelCase>& panels()
{
    static const std::vector<PanelCase> cases = {
    {"Overall", maker<Overall>(), Overall::kWells, false, Overall::kWriteOrder,
     [](QZColourPanel& p, const std::string& s) { static_cast<Overall&>(p).colorWellColorChanged(s); },
     kOverallPreviews, kOverallPreviews, {}},
    {"Bars", maker<Bars>(), Bars::kWells, false, Bars::kWriteOrder,
     [](QZColourPanel& p, const std::string& s) { static_cast<Bars&>(p).colorWellDidChange(s); },
     kBigPreviews, {"navBarPreview", "cancelButtonPreview", "bottomBarPreview"},
     {{[](QZColourPanel& p) { static_cast<Bars&>(p).resetNavBar(); }, Bars::kResetNavBar},
      {[](QZColourPanel& p) { static_cast<Bars&>(p).resetBottomBar(); }, Bars::kResetBottomBar}}},
    {"Text", maker<Text>(), Text::kWells, false, Text::kWriteOrder,
     [](QZColourPanel& p, const std::string& s) { static_cast<Text&>(p).colorWellDidChange(s); },
     kBigPreviews, {},
     {{[](QZColourPanel& p) { static_cast<Text&>(p).resetOverall(); }, Text::kResetOverall},
      {[](QZColourPanel& p) { static_cast<Text&>(p).resetButton(); }, Text::kResetButton}}},
    {"Handles", maker<Handles>(), Handles::kWells, true, {},
     [](QZColourPanel& p, const std::string& s) { static_cast<Handles&>(p).colorWellChanged(s); },
     {"bottomBarImageView", "knobImageView", "sliderLeftCap", "sliderRightCap", "sliderCenter", "sliderStretch"},
     {"knobImageView"},
     {{[](QZColourPanel& p) { static_cast<Handles&>(p).resetHandle(); }, Handles::kResetHandle}}},
    {"BarButtons", maker<BarButtons>(), BarButtons::kWells, false, BarButtons::kWriteOrder,
     [](QZColourPanel& p, const std::string& s) { static_cast<BarButtons&>(p).colorWellDidChange(s); },
     {"backgroundPreview", "applyButtonPreview", "cancelButtonPreview"},
     {"applyButtonPreview", "cancelButtonPreview"},
     {{[](QZColourPanel& p) { static_cast<BarButtons&>(p).resetApplyButton(); }, BarButtons::kResetApplyButton},
      {[](QZColourPanel& p) { static_cast<BarButtons&>(p).resetCancelButton(); }, BarButtons::kResetCancelButton}}},
    {"Icons", maker<Icons>(), Icons::kWells, false, Icons::kWriteOrder,
     [](QZColourPanel& p, const std::string& s) { static_cast<Icons&>(p).colorWellChangedColor(s); },
     {"barBackgroundImageView", "defaultImageView", "highlightedImageView"},
     {"defaultImageView", "highlightedImageView"},
     {{[](QZColourPanel& p) { static_cast<Icons&>(p).resetDefaultState(); }, Icons::kResetDefaultState},
      {[](QZColourPanel& p) { static_cast<Icons&>(p).resetHighlightedState(); }, Icons::kResetHighlightedState}}},
    };
    return cases;
}

class QZColourPanelTest : public QZThemeStoreTest, public ::testing::WithParamInterface<PanelCase> {
protected:
    QZColourPanelTest()
        : resources_("TESSEL_CUSTOMIZER_RESOURCES", std::string(TESSEL_CUSTOMIZER_RESOURCES_DIR)),
          config_("XDG_CONFIG_HOME", home_ / "config"), manager_(start())
    {
        panel_ = GetParam().make(*manager_, controls_, userDefaults_);
        panel_->loadView();
    }

    std::set<std::string> redrawnSince(const std::map<std::string, size_t>& counts) const
    {
        std::set<std::string> redrawn;
        for (const auto& [outlet, images] : controls_->images)
            if (images.size() > (counts.count(outlet) ? counts.at(outlet) : 0)) redrawn.insert(outlet);
        return redrawn;
    }
    std::map<std::string, size_t> imageCounts() const
    {
        std::map<std::string, size_t> counts;
        for (const auto& [outlet, images] : controls_->images) counts[outlet] = images.size();
        return counts;
    }

    QZScopedEnvironment resources_;
    QZScopedEnvironment config_;
    std::unique_ptr<QZCustomizationDataManager> manager_;
    QZUserDefaults userDefaults_;
    std::shared_ptr<QZRecordingPanelControls> controls_ = std::make_shared<QZRecordingPanelControls>();
    std::unique_ptr<QZColourPanel> panel_;
};

TEST_P(QZColourPanelTest, SetupFillsEveryWellThroughTheGettersAndDrawsEveryPreview)
{
    const OverallAppearance& record = manager_->overallAppearance();
    for (const QZWellBinding& well : GetParam().wells) {
        ASSERT_TRUE(controls_->wells[well.outlet]) << well.outlet;
        EXPECT_TRUE(controls_->wells[well.outlet]->isEqual(*std::get<NSColorPtr>(record.valueForKey(well.attribute)))) << well.outlet;
    }
    std::set<std::string> drawn;
    for (const auto& [outlet, images] : controls_->images) {
        ASSERT_EQ(images.size(), 1u) << outlet;
        EXPECT_TRUE(images.front()) << outlet;
        drawn.insert(outlet);
    }
    EXPECT_EQ(drawn, GetParam().previews);
}

TEST_P(QZColourPanelTest, AColourChangeInEachWellWritesThePanelsWellsSavesOnceAndRedrawsItsPreviews)
{
    const PanelCase& c = GetParam();
    OverallAppearance& record = manager_->overallAppearance();
    double shade = 0.05;
    for (const QZWellBinding& well : c.wells) {
        SCOPED_TRACE(well.outlet);
        const OverallAppearance before = record;
        for (const QZWellBinding& each : c.wells) controls_->wells[each.outlet] = rgba(shade += 0.01, 0.5, 0.5);
        const auto counts = imageCounts();
        c.colourAction(*panel_, well.outlet);

        std::set<std::string> expected = c.writesSenderOnly ? std::set<std::string>{well.attribute}
                                                              : std::set<std::string>(c.writeOrder.begin(), c.writeOrder.end());
        for (const QZWellBinding& each : c.wells) {
            const auto& stored = std::get<NSColorPtr>(record.primitiveValue(QZAttributeNamed(each.attribute).value()));
            if (expected.count(each.attribute)) {
                ASSERT_TRUE(stored) << each.attribute;
                EXPECT_TRUE(stored->isEqual(*controls_->wells[each.outlet])) << each.attribute;
            } else {
                EXPECT_TRUE(same(record.primitiveValue(QZAttributeNamed(each.attribute).value()),
                                 before.primitiveValue(QZAttributeNamed(each.attribute).value())))
                    << each.attribute;
            }
        }
        EXPECT_TRUE(start()->overallAppearance() == record);
        EXPECT_EQ(redrawnSince(counts), c.redrawnByColour);
    }
}

TEST_P(QZColourPanelTest, EachResetRestoresExactlyItsGroupAndRedrawsEveryPreview)
{
    const PanelCase& c = GetParam();
    OverallAppearance& record = manager_->overallAppearance();
    for (const auto& [reset, group] : c.resets) {
        SCOPED_TRACE(group.front());
        for (const QZWellBinding& well : c.wells) record.setValueForKey(rgba(0.9, 0.8, 0.7), well.attribute);
        record.setValueForKey(rgba(0.1, 0.2, 0.3), "textColor");
        manager_->save();
        const OverallAppearance before = record;
        const auto counts = imageCounts();
        reset(*panel_);
        for (const QZAttributeDescription& each : QZAppearanceAttributes()) {
            const bool inGroup = std::find(group.begin(), group.end(), each.name) != group.end();
            EXPECT_TRUE(same(record.primitiveValue(each.attribute), (inGroup ? defaults() : before).primitiveValue(each.attribute)))
                << each.name;
        }
        EXPECT_TRUE(start()->overallAppearance() == record);
        EXPECT_EQ(redrawnSince(counts), c.previews);
    }
}

INSTANTIATE_TEST_SUITE_P(Panels, QZColourPanelTest, ::testing::ValuesIn(panels()),
                         [](const ::testing::TestParamInfo<PanelCase>& param) { return std::string(param.param.name); });

class QZHandlesPanelTest : public QZThemeStoreTest {};

TEST_F(QZHandlesPanelTest, AForeignSenderWritesNothingYetSaves)
{
    QZScopedEnvironment resources("TESSEL_CUSTOMIZER_RESOURCES", std::string(TESSEL_CUSTOMIZER_RESOURCES_DIR));
    auto manager = start();
    auto controls = std::make_shared<QZRecordingPanelControls>();
    Handles panel(*manager, controls);
    panel.loadView();
    controls->wells["handleColorWell"] = rgba(0.3, 0.3, 0.3);
    manager->overallAppearance().setValueForKey(rgba(0.6, 0.1, 0.1), "textColor");
    const OverallAppearance before = manager->overallAppearance();
    panel.colorWellChanged("someOtherControl");
    EXPECT_TRUE(manager->overallAppearance() == before);
    EXPECT_TRUE(start()->overallAppearance() == before);
}

TEST_F(QZHandlesPanelTest, BuildersGiveTheirFixedSizesAndTheNavigationBarAnyWidthFrom44)
{
    QZScopedEnvironment resources("TESSEL_CUSTOMIZER_RESOURCES", std::string(TESSEL_CUSTOMIZER_RESOURCES_DIR));
    auto manager = start();
    const OverallAppearance& r = manager->overallAppearance();
    const auto sizeOf = [](const NSImagePtr& image) { return image ? std::make_pair(image->size().width, image->size().height) : std::make_pair(-1.0, -1.0); };
    using Size = std::pair<double, double>;
    EXPECT_EQ(sizeOf(bigApplyButtonImage(r, false)), Size(112, 60));
    EXPECT_EQ(sizeOf(bigApplyButtonImage(r, true)), Size(112, 60));
    EXPECT_EQ(sizeOf(bigCancelButtonImage(r, true)), Size(112, 60));
    EXPECT_EQ(sizeOf(smallApplyButtonImage(r)), Size(42, 23));
    EXPECT_EQ(sizeOf(smallCancelButtonImage(r)), Size(42, 23));
    EXPECT_EQ(sizeOf(smallSelectedIconImageWithName(r, "effects")), Size(37, 37));
    EXPECT_EQ(sizeOf(smallUnselectedIconImageWithName(r, "orientation")), Size(37, 37));
    for (double width : {44.0, 45.0, 300.0}) EXPECT_EQ(sizeOf(bigNavBarImageAtSize(r, {width, 44})), Size(width, 44));
    EXPECT_EQ(sizeOf(bigBottomBarImageAtSize(r, {200, 60})), Size(200, 60));
    EXPECT_EQ(sizeOf(bigSliderConnectorImage(r, {80, 10})), Size(80, 10));
}

}  // namespace
}  // namespace customizer
