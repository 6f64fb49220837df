#include "QZReplayToneSteps.h"

#include "TesselSDKImaging/Modules/QZAutoEnhanceModule.h"
#include "TesselSDKImaging/Modules/QZBacklightEnhanceModule.h"
#include "TesselSDKImaging/Modules/QZLabCorrectModule.h"
#include "TesselSDKImaging/Modules/QZLocalContrastEnhanceModule.h"
#include "TesselSDKImaging/Modules/QZNightEnhanceModule.h"
#include "TesselSDKImaging/Modules/QZOriginalModule.h"
#include "TesselSDKImaging/Modules/QZToolModule.h"
#include "TesselSDKImaging/Processors/QZAdjustGammaProcessor.h"
#include "TesselSDKImaging/Processors/QZAdjustProcessor.h"
#include "TesselSDKImaging/Processors/QZBrightnessProcessor.h"
#include "TesselSDKImaging/Processors/QZContrastCurveProcessor.h"
#include "TesselSDKImaging/Processors/QZSaturationProcessor.h"
#include "TesselSDKImaging/Processors/QZSharpnessProcessor.h"
#include "TesselSDKImaging/Processors/QZWarmthProcessor.h"

#include <algorithm>
#include <functional>
#include <type_traits>
#include <utility>

namespace qz_replay {

namespace {

// The range of the slider screens.
constexpr double kSliderMin = -100;
constexpr double kSliderMax = 100;

bool parseSlider(const std::string& text, double* value)
{
    return parseReal(text, value) && *value >= kSliderMin && *value <= kSliderMax;
}

// A tool module holding the processor, made anew for each run.
ModuleMaker toolModule(std::function<std::shared_ptr<QZProcessor>()> makeProcessor)
{
    return [makeProcessor = std::move(makeProcessor)](const StepTarget&) {
        std::shared_ptr<QZToolModule> module = QZToolModule::make();
        module->setToolProcessors(std::make_shared<QZProcessorList>());
        module->addProcessor(makeProcessor());
        return std::shared_ptr<QZModule>(module);
    };
}

// One slider value V into the processor's setter.
template <class Processor, void (Processor::*Setter)(float)>
bool parseSliderStep(const std::string& value, ModuleMaker* maker, std::string* error)
{
    double v = 0;
    if (!parseSlider(value, &v)) {
        *error = "expected a number from -100 to 100";
        return false;
    }
    *maker = toolModule([v] {
        std::shared_ptr<Processor> processor = Processor::make();
        (processor.get()->*Setter)(float(v));
        return processor;
    });
    return true;
}

// CGFloat and float are one type here; the gamma setter takes CGFloat.
static_assert(std::is_same_v<CGFloat, float>);

bool parseAdjust(const std::string& value, ModuleMaker* maker, std::string* error)
{
    std::vector<double> v;
    if (!parseReals(value, 4, &v) ||
        std::any_of(v.begin(), v.end(), [](double x) { return x < kSliderMin || x > kSliderMax; })) {
        *error = "expected four numbers B,C,W,S, each from -100 to 100";
        return false;
    }
    *maker = toolModule([v] {
        std::shared_ptr<QZAdjustProcessor> processor = QZAdjustProcessor::make();
        processor->setBrightnessValue(CGFloat(v[0]));
        processor->setContrastValue(CGFloat(v[1]));
        processor->setWarmthValue(CGFloat(v[2]));
        processor->setSaturationValue(CGFloat(v[3]));
        return processor;
    });
    return true;
}

bool parseEnhance(const std::string& value, ModuleMaker* maker, std::string* error)
{
    using Make = std::shared_ptr<QZModule> (*)();
    static const std::pair<const char*, Make> kEnhances[] = {
        {"auto", [] { return std::shared_ptr<QZModule>(QZAutoEnhanceModule::make()); }},
        {"illuminate", [] { return std::shared_ptr<QZModule>(QZNightEnhanceModule::make()); }},
        {"backlit", [] { return std::shared_ptr<QZModule>(QZBacklightEnhanceModule::make()); }},
        {"hidef", [] { return std::shared_ptr<QZModule>(QZLocalContrastEnhanceModule::make()); }},
        {"colorfix", [] { return std::shared_ptr<QZModule>(QZLabCorrectModule::make()); }},
    };
    for (const auto& [name, make] : kEnhances)
        if (value == name) {
            *maker = [make = make](const StepTarget&) { return make(); };
            return true;
        }
    *error = "expected auto, illuminate, backlit, hidef or colorfix";
    return false;
}

bool parseEffect(const std::string& value, ModuleMaker* maker, std::string* error)
{
    if (value != "original") {
        *error = "expected original";
        return false;
    }
    *maker = [](const StepTarget&) { return std::shared_ptr<QZModule>(QZOriginalModule::make()); };
    return true;
}

}  // namespace

const std::vector<StepKind>& toneStepKinds()
{
    static const std::vector<StepKind> table = {
        {"enhance", "NAME", "a one-tap enhance: auto, illuminate, backlit, hidef or colorfix", parseEnhance},
        {"effect", "original", "the original effect: the image as it is", parseEffect},
        {"brightness", "V", "brightness slider, V = -100..100",
         parseSliderStep<QZBrightnessProcessor, &QZBrightnessProcessor::setValue>},
        {"contrast", "V", "contrast slider, V = -100..100",
         parseSliderStep<QZContrastCurveProcessor, &QZContrastCurveProcessor::setValue>},
        {"saturation", "V", "saturation slider, V = -100..100",
         parseSliderStep<QZSaturationProcessor, &QZSaturationProcessor::setValue>},
        {"warmth", "V", "warmth slider, V = -100..100 (negative cools)",
         parseSliderStep<QZWarmthProcessor, &QZWarmthProcessor::setValue>},
        {"sharpness", "V", "sharpness slider, V = -100..100 (negative softens)",
         parseSliderStep<QZSharpnessProcessor, &QZSharpnessProcessor::setInputSharpness>},
        {"gamma", "V", "gamma, V = -100..100 (the brightness curve)",
         parseSliderStep<QZAdjustGammaProcessor, &QZAdjustGammaProcessor::setGamma>},
        {"adjust", "B,C,W,S", "brightness, contrast, warmth and saturation at once, each -100..100", parseAdjust},
    };
    return table;
}

}  // namespace qz_replay
