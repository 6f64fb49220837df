#pragma once
// The tone processors as a table shared by the CPU and GPU suites: each row makes one configured
// processor and says which library call, with which values, it must amount to. The fixture has a
// gradient and saturated patches, and every row changes it.

#include "TesselSDKImaging/Processors/QZAdjustProcessor.h"
#include "TesselSDKImaging/Processors/QZAutoEnhanceProcessor.h"
#include "TesselSDKImaging/Processors/QZBrightnessProcessor.h"
#include "TesselSDKImaging/Processors/QZContrastCurveProcessor.h"
#include "TesselSDKImaging/Processors/QZHistogramEqualizationProcessor.h"
#include "TesselSDKImaging/Processors/QZLabCorrectProcessor.h"
#include "TesselSDKImaging/Processors/QZLocalContrastEnhanceProcessor.h"
#include "TesselSDKImaging/Processors/QZSaturationProcessor.h"
#include "TesselSDKImaging/Processors/QZSharpnessProcessor.h"
#include "TesselSDKImaging/Processors/QZWarmthProcessor.h"

#include "QopLite/QopEnhance.h"
#include "QopLite/QopTools.h"
#include "QopTestBitmap.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qz_test {

struct ToneRow {
    std::string name;
    std::function<std::shared_ptr<QZProcessor>()> make;
    std::function<void(QopBitmap_t*)> direct;  // the library call the processor must make
};

// 240 x 160, opaque: a colour gradient with four saturated 24 x 24 patches (red, green, blue,
// yellow). Sharpening's radius follows the image's size: smaller, and it would change nothing.
inline qop_test::TestBitmap makeToneFixture()
{
    constexpr std::size_t kWidth = 240, kHeight = 160, kPatch = 24;
    qop_test::TestBitmap bitmap(kWidth, kHeight);
    for (std::size_t y = 0; y < kHeight; ++y)
        for (std::size_t x = 0; x < kWidth; ++x)
            bitmap.at(x, y) = {std::uint8_t(20 + x * 9 / 10), std::uint8_t(30 + y * 12 / 10),
                               std::uint8_t(200 - x * 4 / 10 - y * 3 / 10), 255};
    const QopColor_t patches[4] = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {255, 255, 0, 255}};
    for (std::size_t p = 0; p < 4; ++p)
        for (std::size_t y = 20; y < 20 + kPatch; ++y)
            for (std::size_t x = 20 + p * 50; x < 20 + p * 50 + kPatch; ++x) bitmap.at(x, y) = patches[p];
    return bitmap;
}

template <class Processor, class Configure>
std::function<std::shared_ptr<QZProcessor>()> makeProcessor(Configure configure)
{
    return [configure] {
        auto processor = Processor::make();
        configure(*processor);
        return std::shared_ptr<QZProcessor>(processor);
    };
}

inline std::vector<ToneRow> toneRows()
{
    std::vector<ToneRow> rows = {
        {"adjust, fresh", makeProcessor<QZAdjustProcessor>([](QZAdjustProcessor&) {}),
         [](QopBitmap_t* b) { QopToolAdjustBrightnessContrastWarmthSaturation(b, 0, 0, 0, 0); }},
        {"adjust 30 20 -40 25", makeProcessor<QZAdjustProcessor>([](QZAdjustProcessor& p) {
             p.setBrightnessValue(30);
             p.setContrastValue(20);
             p.setWarmthValue(-40);
             p.setSaturationValue(25);
         }),
         [](QopBitmap_t* b) { QopToolAdjustBrightnessContrastWarmthSaturation(b, 30, 20, -40, 25); }},
        {"brightness -40", makeProcessor<QZBrightnessProcessor>([](QZBrightnessProcessor& p) { p.setValue(-40); }),
         [](QopBitmap_t* b) { QopToolBrightness(b, -40); }},
        {"brightness 40", makeProcessor<QZBrightnessProcessor>([](QZBrightnessProcessor& p) { p.setValue(40); }),
         [](QopBitmap_t* b) { QopToolBrightness(b, 40); }},
        {"brightness 40 with a gamma processor", makeProcessor<QZBrightnessProcessor>([](QZBrightnessProcessor& p) {
             p.setValue(40);
             auto gamma = QZAdjustGammaProcessor::make();
             gamma->setGamma(-70);
             p.setGammaProcessor(gamma);
         }),
         [](QopBitmap_t* b) { QopToolBrightness(b, 40); }},
        {"gamma 30", makeProcessor<QZAdjustGammaProcessor>([](QZAdjustGammaProcessor& p) { p.setGamma(30); }),
         [](QopBitmap_t* b) { QopToolBrightness(b, 30); }},
        {"contrast -70", makeProcessor<QZContrastCurveProcessor>([](QZContrastCurveProcessor& p) { p.setValue(-70); }),
         [](QopBitmap_t* b) { QopToolContrast(b, -70); }},
        {"saturation 80", makeProcessor<QZSaturationProcessor>([](QZSaturationProcessor& p) { p.setValue(80); }),
         [](QopBitmap_t* b) { QopToolSaturation(b, 80); }},
        {"warmth 60", makeProcessor<QZWarmthProcessor>([](QZWarmthProcessor& p) { p.setValue(60); }),
         [](QopBitmap_t* b) { QopToolWarmth(b, 60); }},
        {"warmth -35", makeProcessor<QZWarmthProcessor>([](QZWarmthProcessor& p) { p.setValue(-35); }),
         [](QopBitmap_t* b) { QopToolWarmth(b, -35); }},
        {"sharpness 40", makeProcessor<QZSharpnessProcessor>([](QZSharpnessProcessor& p) { p.setInputSharpness(40); }),
         [](QopBitmap_t* b) { QopToolSharpness(b, 40); }},
        {"sharpness -40",
         makeProcessor<QZSharpnessProcessor>([](QZSharpnessProcessor& p) { p.setInputSharpness(-40); }),
         [](QopBitmap_t* b) { QopToolSharpness(b, -40); }},
        {"local contrast", makeProcessor<QZLocalContrastEnhanceProcessor>([](QZLocalContrastEnhanceProcessor&) {}),
         [](QopBitmap_t* b) { QopLocalContrastEnhance(b); }},
        {"Lab correction", makeProcessor<QZLabCorrectProcessor>([](QZLabCorrectProcessor&) {}),
         [](QopBitmap_t* b) { QopLabCorrect(b); }},
    };
    const std::pair<QopAutoEnhanceMode, const char*> modes[] = {{QopAutoEnhanceModeClarity, "clarity"},
                                                                {QopAutoEnhanceModeAuto, "auto"},
                                                                {QopAutoEnhanceModeNight, "night"},
                                                                {QopAutoEnhanceModeBacklight, "backlight"}};
    for (const auto& [mode, modeName] : modes) {
        auto direct = [mode = mode](QopBitmap_t* b) { QopAutoEnhance(b, mode); };
        rows.push_back(
            {std::string("auto-enhance ") + modeName,
             makeProcessor<QZAutoEnhanceProcessor>([mode = mode](QZAutoEnhanceProcessor& p) { p.setMode(mode); }),
             direct});
        rows.push_back({std::string("histogram equalisation ") + modeName,
                        makeProcessor<QZHistogramEqualizationProcessor>(
                            [mode = mode](QZHistogramEqualizationProcessor& p) { p.setMode(mode); }),
                        direct});
    }
    return rows;
}

}  // namespace qz_test
