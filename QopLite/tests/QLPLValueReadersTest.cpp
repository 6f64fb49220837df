// The recipe's value readers: what each accepts and every refusal the recipe format defines.
#include "QLPLTestSupport.h"
#include "QopLite/QopAlloc.h"

#include <gtest/gtest.h>

#include <cmath>

using qlpl_test::mapArray;
using qlpl_test::parse;

namespace {

TEST(QLPLColorReader, AcceptsWholeComponentsAndRefusesEverythingElse)
{
    struct Case {
        const char *json;
        bool ok;
    };
    const Case cases[] = {
        {R"({"r": 255, "g": 0, "b": 7, "a": 128})", true},
        {R"({"a": 1, "b": 2, "g": 3, "r": 4, "extra": "x"})", true},
        {R"({"r": 255, "g": 0, "b": 0, "a": 256})", false},
        {R"({"r": 12.5, "g": 0, "b": 0, "a": 255})", false},
        {R"({"r": 255.0, "g": 0, "b": 0, "a": 255})", false}, // a fraction part, even .0, is not whole
        {R"({"r": -1, "g": 0, "b": 0, "a": 255})", false},
        {R"({"r": "255", "g": 0, "b": 0, "a": 255})", false},
        {R"({"r": 1, "g": 2, "b": 3})", false},
        {R"({"r": 99999999999999999999999, "g": 0, "b": 0, "a": 0})", false},
        {R"([255, 0, 0, 255])", false},
        {R"("red")", false},
    };
    for (const Case &c : cases) {
        auto tree = parse(c.json);
        ASSERT_TRUE(tree) << c.json;
        QopColor_t color{9, 9, 9, 9};
        EXPECT_EQ(QLPLColorFromColorVal(tree.get(), &color), c.ok) << c.json;
        if (!c.ok) {
            EXPECT_EQ(color.r, 9) << "a refused colour must not be written: " << c.json;
        }
    }
    auto tree = parse(R"({"r": 255, "g": 0, "b": 7, "a": 128})");
    QopColor_t color{};
    ASSERT_TRUE(QLPLColorFromColorVal(tree.get(), &color));
    EXPECT_EQ(color.r, 255);
    EXPECT_EQ(color.g, 0);
    EXPECT_EQ(color.b, 7);
    EXPECT_EQ(color.a, 128);
    EXPECT_FALSE(QLPLColorFromColorVal(nullptr, &color));
}

TEST(QLPLHistMapReader, ReadsThreeTablesOfExactly256Bytes)
{
    auto inverse = [](int i) { return 255 - i; };
    auto identity = [](int i) { return i; };
    auto tree = parse(R"({"r": )" + mapArray(inverse) + R"(, "g": )" + mapArray(identity) + R"(, "b": )" +
                      mapArray([](int i) { return i / 2; }) + "}");
    QopHistMap_t map{};
    ASSERT_TRUE(QLPLHistMapfromHistMapVal(tree.get(), &map));
    EXPECT_EQ(map.r[0], 255);
    EXPECT_EQ(map.r[255], 0);
    EXPECT_EQ(map.g[77], 77);
    EXPECT_EQ(map.b[255], 127);

    const std::string good = mapArray(identity);
    struct Case {
        std::string json;
        const char *why;
    };
    const Case refused[] = {
        {R"({"r": )" + mapArray(identity, 255) + R"(, "g": )" + good + R"(, "b": )" + good + "}", "255 entries"},
        {R"({"r": )" + mapArray(identity, 257) + R"(, "g": )" + good + R"(, "b": )" + good + "}", "257 entries"},
        {R"({"r": )" + good + R"(, "g": )" + good + "}", "no b"},
        {R"({"r": )" + good + R"(, "g": )" + good + R"(, "b": {}})", "b not an array"},
        {R"({"r": )" + good + R"(, "g": )" + good + R"(, "b": )" + mapArray([](int i) { return i * 2; }) + "}",
         "entry above 255"},
        {"[]", "not an object"},
    };
    for (const Case &c : refused) {
        auto t = parse(c.json);
        ASSERT_TRUE(t) << c.why;
        EXPECT_FALSE(QLPLHistMapfromHistMapVal(t.get(), &map)) << c.why;
    }
}

TEST(QLPLHistMapReader, StopsAtTheFirstBadEntryWithTheEntriesBeforeItWritten)
{
    std::string r = mapArray([](int i) { return 255 - i; });
    r.replace(r.find(",245,"), 5, ",1.5,"); // entry 10
    auto tree = parse(R"({"r": )" + r + R"(, "g": [], "b": []})");
    QopHistMap_t map{};
    EXPECT_FALSE(QLPLHistMapfromHistMapVal(tree.get(), &map));
    EXPECT_EQ(map.r[9], 246);
    EXPECT_EQ(map.r[10], 0);
}

TEST(QLPLWordReaders, MapTheirWordsAndFallBackOrRefuseAsTheFormatSays)
{
    struct Case {
        const char *json;
        int blendMode; // any word outside a reader's set reads as its 0 (normal)
        int shapeMode;
        int borderStyle; // -1: refused
        int flareType;   // -1: refused
    };
    const Case cases[] = {
        {R"("normal")", QopBlendModeNormal, QopBorderShapeModeNormal, -1, -1},
        {R"("overlay")", QopBlendModeOverlay, 0, -1, -1},
        {R"("color")", QopBlendModeColor, 0, -1, -1},
        {R"("screen")", QopBlendModeScreen, 0, -1, -1},
        {R"("darken")", QopBlendModeDarken, 0, -1, -1},
        {R"("multiply")", QopBlendModeMultiply, 0, -1, -1},
        {R"("lighten")", QopBlendModeNormal, 0, -1, -1},
        {R"("Overlay")", QopBlendModeNormal, 0, -1, -1},
        {R"(1)", QopBlendModeNormal, 0, -1, -1},
        {R"("sharp")", 0, QopBorderShapeModeSharp, -1, -1},
        {R"("mediumSharp")", 0, QopBorderShapeModeMediumSharp, -1, -1},
        {R"("ultraSharp")", 0, QopBorderShapeModeUltraSharp, -1, -1},
        {R"("halftone")", 0, 0, QopBorderStyleHalftone, -1},
        {R"("torn_2")", 0, 0, QopBorderStyleTorn2, -1},
        {R"("hard_rand")", 0, 0, QopBorderStyleHardRand, -1},
        {R"("vignette")", 0, 0, QopBorderStyleVignette, -1},
        {R"("viewfinder")", 0, 0, QopBorderStyleViewfinder, -1},
        {R"("none")", 0, 0, -1, -1},
        {R"("sinc")", 0, 0, -1, QopFlareSinc},
        {R"("gaussianThing3")", 0, 0, -1, QopFlareGaussianthing3},
        {R"("lobes")", 0, 0, -1, QopFlareLobes},
        {R"("stripe")", 0, 0, -1, QopFlareStripe},
        {R"("dimondFlare")", 0, 0, -1, QopFlareDimondflare},
        {R"("blob2")", 0, 0, -1, QopFlareBlob2},
        {R"("lensflare")", 0, 0, -1, -1},
        {R"("lensFlare")", 0, 0, -1, -1},
        {R"(null)", 0, 0, -1, -1},
    };
    for (const Case &c : cases) {
        auto tree = parse(c.json);
        ASSERT_TRUE(tree) << c.json;
        QopBlendMode_t blend = QopBlendModeDarken;
        EXPECT_TRUE(QLPLBlendModeFromBlendModeVal(tree.get(), &blend));
        EXPECT_EQ(blend, c.blendMode) << c.json;
        QopBorderShapeMode_t shape = QopBorderShapeModeSharp;
        EXPECT_TRUE(QLPLBorderShapeModeFromBorderShapeModeVal(tree.get(), &shape));
        EXPECT_EQ(shape, c.shapeMode) << c.json;
        QopBorderStyle_t style = QopBorderStyleNone;
        EXPECT_EQ(QLPLBorderStyleFromBorderStyleTypeVal(tree.get(), &style), c.borderStyle >= 0) << c.json;
        if (c.borderStyle >= 0) {
            EXPECT_EQ(style, c.borderStyle) << c.json;
        }
        QopFlareType_t flare = QopFlareLensflare;
        EXPECT_EQ(QLPLFlareTypeFromFlareTypeVal(tree.get(), &flare), c.flareType >= 0) << c.json;
        if (c.flareType >= 0) {
            EXPECT_EQ(flare, c.flareType) << c.json;
        }
    }
    // A missing value: blend and shape modes default, the closed sets refuse.
    QopBlendMode_t blend = QopBlendModeDarken;
    EXPECT_TRUE(QLPLBlendModeFromBlendModeVal(nullptr, &blend));
    EXPECT_EQ(blend, QopBlendModeNormal);
    QopBorderStyle_t style;
    EXPECT_FALSE(QLPLBorderStyleFromBorderStyleTypeVal(nullptr, &style));
    QopFlareType_t flare;
    EXPECT_FALSE(QLPLFlareTypeFromFlareTypeVal(nullptr, &flare));
}

TEST(QLPLShapeReader, ScalesTheVignetteByTheBitmapAndTheIntensity)
{
    QopBitmap_t bitmap{nullptr, 300, 100, nullptr};
    struct Case {
        const char *json;
        float intensity;
        bool pad;
        double vignetteScale;
        bool stretch;
    };
    const Case cases[] = {
        {R"({"vignetteScale": 0.5, "scaling": "average"})", 1.0f, false, 100.0, false},
        {R"({"vignetteScale": 0.5, "scaling": "average"})", 0.5f, false, 200.0, false},
        {R"({"vignetteScale": 0.5, "scaling": "max"})", 0.25f, false, 600.0, false},
        {R"({"vignetteScale": 0.5, "scaling": "stretch"})", 2.0f, false, 0.25, true},
        // Intensity 0 with the pad: a huge scale, not a division by zero.
        {R"({"vignetteScale": 0.5, "scaling": "stretch"})", 0.0f, true, 0.5 / 1e-8, true},
    };
    for (const Case &c : cases) {
        auto tree = parse(c.json);
        QopBorderParams_t params{};
        params.shapeMode = QopBorderShapeModeSharp;
        params.dx = 7;
        ASSERT_TRUE(QLPLBorderPopoulateWithShapeTypeVal(tree.get(), &params, &bitmap, c.intensity, c.pad)) << c.json;
        EXPECT_NEAR(params.vignetteScale, c.vignetteScale, c.vignetteScale * 1e-6) << c.json;
        EXPECT_EQ(params.stretch, c.stretch) << c.json;
        EXPECT_EQ(params.shapeMode, QopBorderShapeModeNormal) << "absent shapeMode reads as normal";
        EXPECT_EQ(params.dx, 0.0) << "absent dx reads as 0";
    }

    auto full = parse(R"({"vignetteScale": 2, "scaling": "stretch", "shapeMode": "ultraSharp", "dx": 0.25, "dy": -0.5})");
    QopBorderParams_t params{};
    ASSERT_TRUE(QLPLBorderPopoulateWithShapeTypeVal(full.get(), &params, &bitmap, 1.0f, true));
    EXPECT_EQ(params.shapeMode, QopBorderShapeModeUltraSharp);
    EXPECT_EQ(params.dx, 0.25);
    EXPECT_EQ(params.dy, -0.5);
    EXPECT_NEAR(params.vignetteScale, 2.0 / (1.0 + 1e-8), 1e-12);

    for (const char *json : {R"({"scaling": "average"})", R"({"vignetteScale": 1})",
                             R"({"vignetteScale": 1, "scaling": 3})", R"({"vignetteScale": 1, "scaling": "min"})",
                             R"({"vignetteScale": "1", "scaling": "max"})", R"([1, "max"])"}) {
        auto tree = parse(json);
        QopBorderParams_t untouched{};
        untouched.vignetteScale = 42;
        EXPECT_FALSE(QLPLBorderPopoulateWithShapeTypeVal(tree.get(), &untouched, &bitmap, 1.0f, true)) << json;
        EXPECT_EQ(untouched.vignetteScale, 42) << json;
    }
}

struct GradientLists {
    const char *colors;
    const char *opacities;
};

TEST(QLPLGradientReader, FillsStopsInOrderThroughSinglePrecision)
{
    auto colors = parse(R"([{"color": {"r": 1, "g": 2, "b": 3, "a": 4}, "location": 0.1},
                            {"color": {"r": 250, "g": 251, "b": 252, "a": 253}, "location": 100}])");
    auto opacities = parse(R"([{"opacity": 1, "location": 0}, {"opacity": 0.3, "location": 40},
                               {"opacity": 0, "location": 100}])");
    QopGradient_t gradient{};
    ASSERT_TRUE(QopGradientBuild(&gradient, 2, 3));
    ASSERT_TRUE(QLPLGradientfromColorsValAndOpacitiesVal(colors.get(), opacities.get(), &gradient));
    EXPECT_EQ(gradient.color[0].color.r, 1);
    EXPECT_EQ(gradient.color[1].color.a, 253);
    EXPECT_EQ(gradient.color[0].location, static_cast<double>(0.1f));
    EXPECT_EQ(gradient.opacity[1].opacity, static_cast<double>(0.3f));
    EXPECT_EQ(gradient.opacity[2].location, 100.0);
    QopGradientFree(&gradient);
}

TEST(QLPLGradientReader, RefusesListsTheGradientMapCannotWalk)
{
    const char *twoColors = R"([{"color": {"r": 0, "g": 0, "b": 0, "a": 255}, "location": 0},
                                {"color": {"r": 9, "g": 9, "b": 9, "a": 255}, "location": 100}])";
    const char *twoOpacities = R"([{"opacity": 1, "location": 0}, {"opacity": 0, "location": 100}])";
    const GradientLists refused[] = {
        {"[]", twoOpacities},
        {R"([{"color": {"r": 0, "g": 0, "b": 0, "a": 255}, "location": 0}])", twoOpacities},
        {twoColors, "[]"},
        {twoColors, R"([{"opacity": 1, "location": 0}])"},
        {twoColors, R"([{"opacity": 1, "location": 0}, {"opacity": 0}])"},
        {twoColors, R"([{"opacity": 1, "location": 0}, {"opacity": 1e300, "location": 100}])"},
        {R"([{"color": {"r": 0, "g": 0, "b": 0, "a": 255}, "location": 0},
             {"color": {"r": 300, "g": 9, "b": 9, "a": 255}, "location": 100}])",
         twoOpacities},
        {R"({"a": 1})", twoOpacities},
    };
    for (const GradientLists &c : refused) {
        auto colors = parse(c.colors);
        auto opacities = parse(c.opacities);
        ASSERT_TRUE(colors && opacities) << c.colors << c.opacities;
        const size_t colorCount = YAJL_IS_ARRAY(colors.get()) ? colors->u.array.len : 0;
        QopGradient_t gradient{};
        ASSERT_TRUE(QopGradientBuild(&gradient, colorCount, opacities->u.array.len));
        EXPECT_FALSE(QLPLGradientfromColorsValAndOpacitiesVal(colors.get(), opacities.get(), &gradient))
            << c.colors << " / " << c.opacities;
        QopGradientFree(&gradient);
    }
}

TEST(QLPLBlendAroundIdentity, MixesInSinglePrecision)
{
    EXPECT_EQ(QLPLBlendAroundIdentity(3.0f, 1.0f, 0.0f), 1.0f);
    EXPECT_EQ(QLPLBlendAroundIdentity(3.0f, 1.0f, 1.0f), 3.0f);
    EXPECT_EQ(QLPLBlendAroundIdentity(1.4f, 1.0f, 0.6f), 0.6f * 1.4f + (1.0f - 0.6f) * 1.0f);
    EXPECT_EQ(QLPLBlendAroundIdentity(2.0f, 1.0f, 2.0f), 3.0f); // extrapolates past the value
}

} // namespace
