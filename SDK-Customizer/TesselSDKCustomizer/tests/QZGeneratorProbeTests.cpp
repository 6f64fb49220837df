// The masked generators on the probe-mask fixture: which masks each asks for, which mask sets the
// image size, and what each layer leaves in its mask's stripe.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "Generators/QZThemedImages.h"
#include "Render/QZColorHelpers.h"
#include "support/QZProbeMasks.h"
#include "support/QZTestImages.h"

namespace customizer::testing {
namespace {

NSColorPtr ns(CGColor c) { return NSColor::colorWithCalibratedRed(c.red, c.green, c.blue, c.alpha); }
CGColor shifted(CGColor c, double delta) { return QZNSColorByShiftingBrightness(ns(c), delta)->CGColor(); }
// `top` drawn at `alpha` over an opaque `below`.
CGColor over(CGColor below, CGColor top, double alpha)
{
    auto mix = [&](double b, double t) { return b * (1 - alpha) + t * alpha; };
    return {mix(below.red, top.red), mix(below.green, top.green), mix(below.blue, top.blue), 1};
}

const CGColor kYellow{1, 1, 0, 1}, kMagenta{1, 0, 1, 1}, kBar{0.2, 0.4, 0.6, 1};
const CGColor kRedTwo{0.8, 0.1, 0.1, 1};

enum class Row { Top, Middle, Bottom };

struct Check {
    std::string mask;  // the stripe of this mask
    Row row;
    CGColor expected;
    double tolerance = kTolerance;
};

struct Case {
    std::string name;
    std::function<void(QZProbeMasks&)> setup;
    std::function<NSImagePtr()> render;
    std::string sizeMask;
    std::vector<std::string> requested;  // exactly these, in order; empty: not checked
    std::vector<std::string> neverRequested;
    std::vector<Check> checks;
};

Check gradientTop(const std::string& mask, CGColor c) { return {mask, Row::Top, c, 0.03}; }
Check gradientBottom(const std::string& mask, CGColor c) { return {mask, Row::Bottom, c, 0.03}; }
Check solid(const std::string& mask, CGColor c, double tolerance = kTolerance) { return {mask, Row::Middle, c, tolerance}; }

std::vector<Case> iconAndSegmentedCases()
{
    std::vector<Case> cases;
    for (bool highlighted : {false, true}) {
        std::string under = highlighted ? "ic_glow.png" : "ic_drop_shadow.png";
        std::string never = highlighted ? "ic_drop_shadow.png" : "ic_glow.png";
        cases.push_back({highlighted ? "icon highlighted" : "icon normal", nullptr,
                         [=] { return iconWithNameColorsAndState("ic", ns(kRed), ns(kGreen), ns(kYellow), ns(kMagenta), ns(kBlue), highlighted); },
                         "ic_core.png",
                         {"ic_core.png", "ic_shadow.png", "ic_stroke.png", under},
                         {never},
                         {solid(under, kRed), solid("ic_stroke.png", kGreen), gradientTop("ic_core.png", kYellow),
                          gradientBottom("ic_core.png", kMagenta), solid("ic_shadow.png", kBlue)}});
    }

    // The core mask sits in stripe 0, under the normal state's 8-point edge band, and also
    // covers a spare stripe the band does not reach.
    auto coreFirst = [](QZProbeMasks& m) { m.alsoCover("radio_core_l.png", "spare"); };
    const std::vector<std::string> radio = {"radio_core_l.png",    "radio_shadow_l.png",       "radio_stroke_l.png",
                                            "radio_drop_shadow_l.png", "radio_pressed_l.png", "radio_pressed_glow_l.png",
                                            "radio_drop_shadow_pressed_l.png"};
    cases.push_back({"segmented normal", coreFirst,
                     [] { return leftSegmentedButtonWithColorsScaleAndState(ns(kBar), ns(kRed), ns(kGreen), false); },
                     "radio_stroke_l.png", radio, {},
                     {solid("radio_drop_shadow_l.png", kBlack), solid("radio_stroke_l.png", kRed), solid("radio_core_l.png", kRed),
                      gradientTop("spare", shifted(kBar, -0.03)), gradientBottom("spare", shifted(kBar, -0.11)),
                      solid("radio_shadow_l.png", kGreen), solid("radio_pressed_l.png", kClear),
                      solid("radio_pressed_glow_l.png", kClear), solid("radio_drop_shadow_pressed_l.png", kClear)}});
    cases.push_back({"segmented active", coreFirst,
                     [] { return leftSegmentedButtonWithColorsScaleAndState(ns(kBar), ns(kRed), ns(kGreen), true); },
                     "radio_stroke_l.png", radio, {},
                     {solid("radio_drop_shadow_l.png", kClear), solid("radio_core_l.png", shifted(kBar, -0.15)),
                      solid("spare", shifted(kBar, -0.15)), solid("radio_shadow_l.png", kRed), solid("radio_pressed_l.png", kBlack),
                      solid("radio_pressed_glow_l.png", kWhite), solid("radio_drop_shadow_pressed_l.png", kBlack)}});
    cases.push_back({"segmented active, no pressed drop shadow mask",
                     [=](QZProbeMasks& m) {
                         coreFirst(m);
                         m.setMissing("radio_drop_shadow_pressed_l.png");
                     },
                     [] { return leftSegmentedButtonWithColorsScaleAndState(ns(kBar), ns(kRed), ns(kGreen), true); },
                     "radio_stroke_l.png", radio, {},
                     {solid("radio_drop_shadow_l.png", kClear), solid("never drawn", kClear), solid("radio_pressed_l.png", kBlack)}});
    return cases;
}

std::vector<Case> mergeAndConveyorCases()
{
    std::vector<Case> cases;
    const CGColor body = shifted(kBar, -0.1);
    struct Merge {
        const char* type;
        bool active;
        CGColor leftShadow, rightStroke;
    } merges[] = {
        {"l", false, kClear, kRed}, {"r", false, kGreen, kClear}, {"m", false, kGreen, kRed},
        {"l", true, body, kRed},    {"r", true, body, body},
    };
    for (const Merge& m : merges) {
        std::string type = m.type;
        bool active = m.active;
        std::vector<Check> checks = {solid("adj_shadow_left.png", m.leftShadow), solid("adj_stroke_right.png", m.rightStroke)};
        if (active) {
            checks.insert(checks.end(), {solid("adj_selected_inner.png", kBlack), solid("adj_selected_stroke.png", kRed),
                                         solid("adj_stroke.png", body), solid("adj_shadow.png", body)});
        } else {
            checks.insert(checks.end(), {solid("adj_selected_inner.png", kClear), solid("adj_selected_stroke.png", kClear),
                                         solid("adj_stroke.png", kRed), solid("adj_shadow.png", kGreen)});
        }
        cases.push_back({"merged button " + type + (active ? " active" : ""), nullptr,
                         [=] { return toolMergeButtonWithColorsTypeAndState(ns(kBar), ns(kRed), ns(kGreen), type, active); },
                         "adj_selected_inner.png",
                         {"adj_selected_stroke.png", "adj_selected_inner.png", "adj_stroke.png", "adj_shadow.png",
                          "adj_shadow_left.png", "adj_stroke_right.png"},
                         {},
                         checks});
    }

    const CGColor cell = shifted(kBar, -0.03), pressedCell = over(cell, kBlack, 0.2);
    struct Conveyor {
        bool active, adjacent, half;
        CGColor inset, shadow, pressed, core;
    } conveyors[] = {
        {false, false, false, over(cell, kGreen, 0.5), kRed, cell, cell},
        {true, false, false, kRed, kRed, kBlack, pressedCell},
        {false, true, false, over(cell, kGreen, 0.5), over(cell, kGreen, 0.5), cell, cell},
        {true, true, false, kRed, over(pressedCell, kGreen, 0.5), kBlack, pressedCell},
        {false, true, true, over(cell, kGreen, 0.5), over(cell, kGreen, 0.5), cell, cell},
    };
    for (const Conveyor& c : conveyors) {
        std::string p = c.half ? "conveyor_half_" : "conveyor_";
        bool active = c.active, adjacent = c.adjacent, half = c.half;
        cases.push_back({"conveyor" + std::string(active ? " active" : "") + (adjacent ? " adjacent" : "") + (half ? " half" : ""),
                         nullptr,
                         [=] { return stretchableConveryorBackgroundWithColors(ns(kBar), ns(kRed), ns(kGreen), active, adjacent, half); },
                         p + "core.png",
                         {p + "core.png", p + "inset_shadow.png", p + "shadow.png", p + "pressed_shadow.png"},
                         {half ? "conveyor_core.png" : "conveyor_half_core.png"},
                         {solid(p + "core.png", c.core), solid(p + "inset_shadow.png", c.inset), solid(p + "shadow.png", c.shadow),
                          solid(p + "pressed_shadow.png", c.pressed)}});
    }
    return cases;
}

std::vector<Case> buttonKnobAndStripCases()
{
    std::vector<Case> cases;
    for (double scale : {1.0, 1.01, 2.0}) {
        std::string p = scale > 1.01 ? "retina_back_" : "back_";
        cases.push_back({"back button at " + std::to_string(scale), nullptr,
                         [=] { return stretchableBackButtonWithColorsAndScale(ns(kBar), ns(kRed), ns(kGreen), scale); },
                         p + "stroke.png",
                         {p + "core.png", p + "shadow.png", p + "stroke.png"},
                         {scale > 1.01 ? "back_core.png" : "retina_back_core.png"},
                         {solid(p + "stroke.png", kRed), gradientTop(p + "core.png", shifted(kBar, 0.06)),
                          gradientBottom(p + "core.png", shifted(kBar, -0.06)), solid(p + "shadow.png", kGreen)}});
    }
    cases.push_back({"back button active", nullptr,
                     [] { return stretchableActiveBackButtonWithColorsSizeAndScale(ns(kBar), ns(kRed), ns(kGreen), 1, 2, 2.0); },
                     "retina_back_stroke.png", {}, {},
                     {gradientTop("retina_back_core.png", shifted(kBar, -0.06)),
                      gradientBottom("retina_back_core.png", shifted(kBar, 0.06)), solid("retina_back_shadow.png", kRed)}});
    cases.push_back({"apply button", nullptr,
                     [] { return stretchableApplyButtonWithColorsSizeAndScale(ns(kYellow), ns(kMagenta), ns(kRed), ns(kGreen)); },
                     "button_core.png",
                     {"button_core.png", "button_pressed.png", "button_shadow.png", "button_stroke.png"},
                     {},
                     {solid("button_stroke.png", kRed), gradientTop("button_core.png", kYellow),
                      gradientBottom("button_core.png", kMagenta), solid("button_shadow.png", kGreen),
                      solid("button_pressed.png", kClear)}});
    // No inner-shadow colour: no pressed layer.
    cases.push_back({"active apply button", nullptr,
                     [] { return stretchableActiveApplyButtonWithColorsSizeAndScale(ns(kYellow), ns(kMagenta), ns(kRed)); },
                     "button_core.png", {}, {},
                     {gradientTop("button_core.png", kMagenta), gradientBottom("button_core.png", kYellow),
                      solid("button_pressed.png", kClear), solid("button_shadow.png", kClear)}});
    cases.push_back({"active cancel button", nullptr,
                     [] { return stretchableActiveCancelButtonWithColorsSizeAndScale(ns(kBar), ns(kRed), ns(kGreen)); },
                     "button_core.png", {}, {},
                     {gradientTop("button_core.png", shifted(kBar, -0.06)), gradientBottom("button_core.png", shifted(kBar, 0.06)),
                      solid("button_pressed.png", kGreen), solid("button_shadow.png", kClear)}});

    const CGColor handle{0.7, 0.7, 0.7, 1};
    auto knob = [=](std::optional<std::string> style) {
        return smallKnobWithColorsAndStyle(ns(handle), ns(kYellow), ns(kMagenta), ns(kRed), ns(kGreen), style);
    };
    const std::vector<std::string> smallKnob = {"knob_small_stroke.png", "knob_small_drop_shadow.png", "knob_small_core.png",
                                                "knob_small_bezel.png"};
    cases.push_back({"small knob without a style", nullptr, [=] { return knob(std::nullopt); }, "knob_small_bezel.png", smallKnob, {},
                     {solid("knob_small_drop_shadow.png", kGreen), solid("knob_small_stroke.png", kRed),
                      gradientTop("knob_small_bezel.png", kYellow), gradientBottom("knob_small_bezel.png", kMagenta),
                      solid("knob_small_core.png", handle)}});
    std::vector<std::string> withArrow = smallKnob;
    withArrow.insert(withArrow.end(), {"size_arrow_core.png", "size_arrow_drop_shadow.png", "size_arrow_shadow.png"});
    cases.push_back({"small knob with the size arrow", nullptr, [=] { return knob("size"); }, "knob_small_bezel.png", withArrow, {},
                     {solid("size_arrow_drop_shadow.png", {1, 1, 1, 0.5}), solid("size_arrow_core.png", shifted(handle, -0.1)),
                      solid("size_arrow_shadow.png", {0, 0, 0, 0.25})}});

    cases.push_back({"selection background over a transparent core",
                     [](QZProbeMasks& m) { m.setImage("main_core.png", makeImage(72, 84, [](int, int) { return kClear; })); },
                     [] { return stretchableSelectionBackgroundWithColors(ns(kBar), ns(kRed), ns(kGreen)); },
                     "main_core.png", {}, {},
                     {gradientTop("free", shifted(kBar, 0.06)), gradientBottom("free", shifted(kBar, -0.06)),
                      solid("main_stroke.png", kRed), solid("main_shadow.png", kGreen)}});
    cases.push_back({"colour chip: the gradient only where the core left pixels clear",
                     [](QZProbeMasks& m) { m.setImage("color_chip_gradient.png", makeImage(96, 96, [](int, int) { return kBlue; })); },
                     [] { return colorChipImageWithColor(ns(kYellow), ns(kRed)); },
                     "color_chip_core.png", {}, {},
                     {solid("color_chip_core.png", kYellow), solid("free", kBlue), solid("color_chip_stroke.png", kRed)}});
    cases.push_back({"meme field", nullptr, [] { return stretchableMemeFieldImageWithColors(ns(kBar), ns(kRed)); },
                     "meme_field_core.png", {}, {},
                     {solid("meme_field_drop_shadow.png", {1, 1, 1, 0.05}, 0.03), solid("meme_field_stroke.png", kRed),
                      solid("meme_field_core.png", shifted(kBar, -0.1)), solid("meme_field_inset_shadow.png", {0, 0, 0, 0.5})}});
    return cases;
}

class QZGeneratorProbe : public ::testing::Test {
protected:
    std::shared_ptr<QZProbeMasks> masks = std::make_shared<QZProbeMasks>();
    std::shared_ptr<QZLoaderSpy> spy = std::make_shared<QZLoaderSpy>(masks);
    ScopedImageProvider provider{spy};

    void run(const Case& c)
    {
        SCOPED_TRACE(c.name);
        masks = std::make_shared<QZProbeMasks>();
        spy = std::make_shared<QZLoaderSpy>(masks);
        NSImageProvider::setCurrent(spy);
        if (c.setup) c.setup(*masks);
        // The named mask has a size of its own; the others are scaled into it.
        masks->setSize(c.sizeMask, 72, 84);
        NSImagePtr image = c.render();
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->size(), CGSizeMake(72, 84));
        if (!c.requested.empty()) {
            EXPECT_EQ(spy->requests(), c.requested);
        }
        for (const std::string& name : c.neverRequested) EXPECT_FALSE(spy->requested(name)) << name;
        for (const Check& check : c.checks) {
            int stripe = masks->stripeOf(check.mask);
            int x = int((stripe + 0.5) * 72 / QZProbeMasks::kStripes);
            int y = check.row == Row::Top ? 1 : check.row == Row::Bottom ? 82 : 42;
            EXPECT_TRUE(colorNear(pixelAt(image, x, y), check.expected, check.tolerance)) << check.mask << " at x " << x << " y " << y;
        }
    }
};

TEST_F(QZGeneratorProbe, IconsAndSegmentedButtons)
{
    for (const Case& c : iconAndSegmentedCases()) run(c);
}

TEST_F(QZGeneratorProbe, MergedButtonsAndConveyorBackgrounds)
{
    for (const Case& c : mergeAndConveyorCases()) run(c);
}

TEST_F(QZGeneratorProbe, ButtonsKnobsAndStripBackgrounds)
{
    for (const Case& c : buttonKnobAndStripCases()) run(c);
}

TEST_F(QZGeneratorProbe, CameraCancelButtonSitsInItsRimByTheRimToCoreWidthRatio)
{
    // Rim 96 wide, core 48: the button is drawn in the centred 48 x 48 square.
    masks->setImage("cancel_rim.png", makeImage(96, 96, [](int, int) { return kWhite; }));
    masks->setImage("button_core.png", makeImage(48, 48, [](int, int) { return kWhite; }));
    for (auto name : {"button_pressed.png", "button_shadow.png", "button_stroke.png"})
        masks->setImage(name, makeImage(4, 4, [](int, int) { return kClear; }));
    for (bool rim : {false, true}) {
        NSImagePtr image = stretchableCameraCancelButtonWithColorsSizeAndScale(ns(kBar), nullptr, ns(kGreen), false, rim);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->size(), CGSizeMake(96, 96));
        EXPECT_TRUE(colorNear(pixelAt(image, 48, 26), shifted(kBar, 0.06), 0.03)) << rim;
        EXPECT_TRUE(colorNear(pixelAt(image, 48, 69), shifted(kBar, -0.06), 0.03)) << rim;
        // Outside the square only the rim draws, darker at the top.
        EXPECT_TRUE(colorNear(pixelAt(image, 10, 1), rim ? shifted(kBar, -0.06) : kClear, 0.03)) << rim;
        EXPECT_TRUE(colorNear(pixelAt(image, 23, 48), rim ? shifted(kBar, 0) : kClear, 0.03)) << rim;
    }
}

TEST_F(QZGeneratorProbe, RestorePiecesCarryTheNoiseSquareAtTheirOriginOnly)
{
    masks->setImage("uniform_noise_strong250x250.png", makeImage(250, 250, [](int, int) { return kWhite; }));
    masks->setSize("restore-b-c-core-retina.png", 300, 300);
    masks->setImage("restore-b-c-drop-shadow-retina.png", makeImage(4, 4, [](int, int) { return kClear; }));
    masks->setImage("restore-b-c-stroke-retina.png", makeImage(4, 4, [](int, int) { return kClear; }));
    masks->setImage("restore-b-c-shadow-retina.png", makeImage(4, 4, [](int, int) { return kClear; }));
    NSImagePtr plain = restoreButtonWithType(ns(kBar), ns(kRed), ns(kGreen), "b-c", true, false);
    NSImagePtr noisy = restoreButtonWithType(ns(kBar), ns(kRed), ns(kGreen), "b-c", true, true);
    ASSERT_EQ(noisy->size(), CGSizeMake(300, 300));
    int core = masks->stripeOf("restore-b-c-core-retina.png");
    int x = int((core + 0.5) * 300 / QZProbeMasks::kStripes);
    ASSERT_LT(x, 250);
    EXPECT_TRUE(colorNear(pixelAt(noisy, x, 49), pixelAt(plain, x, 49), 0.5 / 255));   // above the square
    EXPECT_FALSE(colorNear(pixelAt(noisy, x, 50), pixelAt(plain, x, 50), 2.0 / 255));  // its top row
    EXPECT_FALSE(colorNear(pixelAt(noisy, x, 299), pixelAt(plain, x, 299), 2.0 / 255));
}

TEST_F(QZGeneratorProbe, GalleryCellsAreAPairSizedByTheirLastLayer)
{
    masks->setSize("gallery-top-pressed-retina.png", 80, 60);
    masks->setSize("gallery-top-pressed.png", 40, 30);
    auto [retina, plain] = galleryListViewTopCellWithColors(ns(kBar), ns(kRed), ns(kGreen), true);
    EXPECT_EQ(retina->size(), CGSizeMake(80, 60));
    EXPECT_EQ(plain->size(), CGSizeMake(40, 30));
    EXPECT_FALSE(spy->requested("gallery-top-shadow.png"));
    // Each layer is drawn at its own mask's size, not scaled to the image.
    int core = masks->stripeOf("gallery-top-core-retina.png");
    EXPECT_TRUE(colorNear(pixelAt(retina, QZProbeMasks::stripeCentre(core), 30), shifted(kBar, -0.07)));
}

// Previews draw on the main thread while an export draws on a worker: each thread has its own
// current context, and the masks they share are only read.
TEST_F(QZGeneratorProbe, ThreadsRenderingAtOnceDrawWhatOneThreadDraws)
{
    masks->setImage("uniform_noise_strong250x250.png", makeImage(250, 250, [](int x, int y) { return CGColor{0.5, 0.5, 0.5, (x + y) % 2 ? 1.0 : 0.0}; }));
    std::vector<std::function<NSImagePtr()>> renders = {
        [] { return leftSegmentedButtonWithColorsScaleAndState(ns(kBar), ns(kRed), ns(kGreen), true); },
        [] { return iconWithNameColorsAndState("ic", ns(kRed), ns(kGreen), ns(kYellow), ns(kMagenta), ns(kBlue), true); },
        [] { return restoreButtonWithType(ns(kBar), ns(kRed), ns(kGreen), "l", false, true); },
        [] { return stretchableNavigationBarImageWithColorAndScale(ns(kBar), ns(kRed), ns(kGreen), true, 2); },
    };
    auto bytesOf = [](const NSImagePtr& image) {
        cairo_surface_t* surface = image->CGImage()->surface();
        const unsigned char* data = cairo_image_surface_get_data(surface);
        return std::vector<unsigned char>(data, data + cairo_image_surface_get_stride(surface) * cairo_image_surface_get_height(surface));
    };
    std::vector<std::vector<unsigned char>> expected;
    for (const auto& render : renders) expected.push_back(bytesOf(render()));
    std::vector<std::thread> threads;
    std::atomic<int> mismatches = 0;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int round = 0; round < 5; ++round)
                for (size_t i = 0; i < renders.size(); ++i)
                    if (bytesOf(renders[i]()) != expected[i]) ++mismatches;
        });
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(mismatches, 0);
}

}  // namespace
}  // namespace customizer::testing
