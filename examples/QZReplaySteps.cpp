#include "QZReplaySteps.h"
#include "QZReplayPaintSteps.h"
#include "QZReplayToneSteps.h"
#include "QZReplayTextSteps.h"

#include "TesselSDKImaging/Modules/QZCropModule.h"
#include "TesselSDKImaging/Modules/QZJSONEffectModule.h"
#include "TesselSDKImaging/Modules/QZOrientationModule.h"

#include "Files/FileContents.h"
#include "QZReplayRecipeCheck.h"
#include "QopLite/QLPL.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace qz_replay {

namespace {

// Rounding slack allowed where a crop's edge meets the image's edge.
constexpr double kCropSlack = 1e-6;
// The orientation screen's straightening range, in degrees.
constexpr double kMaxStraightenDegrees = 45;

std::shared_ptr<QZModule> orientationModule(const StepTarget& target, UIImageOrientation orientation,
                                            CGFloat rotation = 0)
{
    std::shared_ptr<QZOrientationModule> module = QZOrientationModule::make();
    module->setOrientation(orientation);
    module->setRotation(rotation);
    module->setScale(rotation == 0 ? 1 : straightenScale(rotation, target.size));
    module->setOriginalSize(target.size);
    module->setIsHiRes(true);
    return module;
}

bool parseCrop(const std::string& value, ModuleMaker* maker, std::string* error)
{
    std::vector<double> v;
    if (!parseReals(value, 4, &v)) {
        *error = "expected four numbers X,Y,W,H";
        return false;
    }
    if (v[0] < 0 || v[1] < 0 || v[2] <= 0 || v[3] <= 0) {
        *error = "X and Y must be at least 0, W and H more than 0";
        return false;
    }
    if (v[0] + v[2] > 1 + kCropSlack || v[1] + v[3] > 1 + kCropSlack) {
        *error = "the rectangle reaches past the image (X + W and Y + H must be at most 1)";
        return false;
    }
    const CGRect rect = CGRectMake(CGFloat(v[0]), CGFloat(v[1]), CGFloat(v[2]), CGFloat(v[3]));
    *maker = [rect](const StepTarget&) {
        std::shared_ptr<QZCropModule> module = QZCropModule::make();
        module->setRect(rect);
        module->setScaledSize(rect.size);
        module->setIsHiRes(true);
        return module;
    };
    return true;
}

bool parseRotate(const std::string& value, ModuleMaker* maker, std::string* error)
{
    long long turns = 0;
    if (!parseInteger(value, 0, 3, &turns)) {
        *error = "expected a whole number of quarter turns, 0 to 3";
        return false;
    }
    // A clockwise quarter turn shows the picture as orientation Right does.
    static constexpr UIImageOrientation kTurns[] = {UIImageOrientationUp, UIImageOrientationRight,
                                                    UIImageOrientationDown, UIImageOrientationLeft};
    const UIImageOrientation orientation = kTurns[turns];
    *maker = [orientation](const StepTarget& target) { return orientationModule(target, orientation); };
    return true;
}

bool parseFlip(const std::string& value, ModuleMaker* maker, std::string* error)
{
    if (value != "h" && value != "v") {
        *error = "expected h (left-right) or v (top-bottom)";
        return false;
    }
    const UIImageOrientation orientation = value == "h" ? UIImageOrientationUpMirrored : UIImageOrientationDownMirrored;
    *maker = [orientation](const StepTarget& target) { return orientationModule(target, orientation); };
    return true;
}

bool parseStraighten(const std::string& value, ModuleMaker* maker, std::string* error)
{
    double degrees = 0;
    if (!parseReal(value, &degrees) || std::fabs(degrees) > kMaxStraightenDegrees) {
        *error = "expected degrees from -45 to 45";
        return false;
    }
    const CGFloat rotation = CGFloat(degrees * M_PI / 180);
    *maker = [rotation](const StepTarget& target) { return orientationModule(target, UIImageOrientationUp, rotation); };
    return true;
}

bool parseRecipe(const std::string& path, ModuleMaker* maker, std::string* error)
{
    std::string text, reason;
    if (!FileReadText(path, kMaximumStepFileBytes, &text, &reason)) {
        *error = "cannot read the recipe file '" + path + "': " + reason;
        return false;
    }
    QopJSONEffect effect = QLPLLoadEffect(text.c_str());
    if (!effect) {
        *error = "'" + path + "' is not an effect recipe";
        return false;
    }
    QLPLUnloadEffect(&effect);
    if (const std::string problem = recipeProblem(text); !problem.empty()) {
        *error = "'" + path + "': " + problem;
        return false;
    }
    *maker = [json = std::move(text)](const StepTarget&) {
        std::shared_ptr<QZJSONEffectModule> module = QZJSONEffectModule::make();
        module->setJsonString(json);
        return module;
    };
    return true;
}

}  // namespace

const std::vector<StepKind>& stepKinds()
{
    static const std::vector<StepKind> table = [] {
        std::vector<StepKind> rows = {
            {"crop", "X,Y,W,H", "the crop rectangle as fractions (0..1) of the current image, origin top-left", parseCrop},
            {"rotate", "N", "N quarter turns clockwise (N = 0..3)", parseRotate},
            {"flip", "h|v", "mirror left-right (h) or top-bottom (v)", parseFlip},
            {"straighten", "DEG", "straighten by DEG degrees, -45..45 (the server's rotate-and-zoom)", parseStraighten},
            {"recipe", "PATH", "run an effect recipe (JSON, as qop_apply --recipe takes) as an effect module", parseRecipe},
        };
        const std::vector<StepKind>& tones = toneStepKinds();
        rows.insert(rows.end(), tones.begin(), tones.end());
        const std::vector<StepKind>& text = textStepKinds();
        rows.insert(rows.end(), text.begin(), text.end());
        const std::vector<StepKind>& paints = paintStepKinds();
        rows.insert(rows.end(), paints.begin(), paints.end());
        return rows;
    }();
    return table;
}

const StepKind* findStepKind(const std::string& name)
{
    for (const StepKind& kind : stepKinds())
        if (name == kind.name) return &kind;
    return nullptr;
}

bool parseStep(const std::string& text, Step* step, std::string* error)
{
    const std::size_t equals = text.find('=');
    const std::string name = text.substr(0, equals);
    const StepKind* kind = findStepKind(name);
    if (!kind) {
        *error = "unknown step '" + text + "'";
        return false;
    }
    const bool takesValue = kind->valueSynopsis[0] != '\0';
    if (takesValue != (equals != std::string::npos)) {
        *error = "step '" + text +
                 "': " + (takesValue ? "expected " + name + "=" + kind->valueSynopsis : name + " takes no value");
        return false;
    }
    std::string reason;
    ModuleMaker maker;
    if (!kind->parse(equals == std::string::npos ? std::string() : text.substr(equals + 1), &maker, &reason)) {
        *error = "step '" + text + "': " + reason;
        return false;
    }
    step->text = text;
    step->makeModule = std::move(maker);
    return true;
}

void configureModule(QZModule& module, bool onCPU)
{
    module.setScaleFactor(1);
    module.setParameterSeed(0);
    module.setBordersEnabled(true);
    module.setWillRunOnCPU(onCPU);
}

bool parseReal(const std::string& text, double* value)
{
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
    char* end = nullptr;
    errno = 0;
    const double parsed = std::strtod(text.c_str(), &end);
    if (*end != '\0' || errno == ERANGE || !std::isfinite(parsed)) return false;
    *value = parsed;
    return true;
}

bool parseInteger(const std::string& text, long long min, long long max, long long* value)
{
    if (text.empty() || text.size() > 18 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    const long long parsed = std::strtoll(text.c_str(), nullptr, 10);
    if (parsed < min || parsed > max) return false;
    *value = parsed;
    return true;
}

bool parseReals(const std::string& text, std::size_t count, std::vector<double>* values)
{
    values->clear();
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        double value = 0;
        if (!parseReal(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start), &value))
            return false;
        values->push_back(value);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return values->size() == count;
}

CGFloat straightenScale(CGFloat rotation, CGSize size)
{
    const CGFloat angle = std::fabs(rotation);
    const CGFloat longer = std::max(size.width, size.height), shorter = std::min(size.width, size.height);
    if (!(shorter > 0)) return 1;
    return std::cos(angle) + (longer / shorter) * std::sin(angle);
}

}  // namespace qz_replay
