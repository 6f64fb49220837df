#include "QZReplayPaintSteps.h"

#include "TesselSDKImaging/Modules/QZToolModule.h"
#include "TesselSDKImaging/Processors/QZBeginQopEffectProcessor.h"
#include "TesselSDKImaging/Processors/QZColorSplashProcessor.h"
#include "TesselSDKImaging/Processors/QZDrawProcessor.h"
#include "TesselSDKImaging/Processors/QZEndQopEffectProcessor.h"
#include "TesselSDKImaging/Processors/QZSelectiveBlurProcessor.h"
#include "TesselSDKImaging/Processors/QZSelectiveRedeyeProcessor.h"
#include "TesselSDKImaging/Processors/QZSelectiveWhitenProcessor.h"
#include "TesselSDKImaging/Processors/QZStickerProcessor.h"
#include "TesselSDKImaging/Processors/QZTiltShiftProcessor.h"

#include "Files/FileContents.h"
#include "ImageIO/ImageIOCodec.h"
#include "UIKit/UIImageCodecs.h"
#include "Foundation/Value.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIImage.h"

#include <cmath>
#include <optional>
#include <set>

namespace qz_replay {

namespace {

ModuleMaker toolModule(std::function<QZProcessorList(const StepTarget&)> makeProcessors)
{
    return [makeProcessors = std::move(makeProcessors)](const StepTarget& target) {
        std::shared_ptr<QZToolModule> module = QZToolModule::make();
        module->setToolProcessors(std::make_shared<QZProcessorList>(makeProcessors(target)));
        return std::shared_ptr<QZModule>(module);
    };
}

// --- strokes=FILE ---

// A stroke as the file gives it; made into a fresh QZBrushStroke for every run (runs write the
// stroke's painted count and picked colour).
struct StrokeDescription {
    std::vector<CGPoint> points;
    float size = 0;
    QZColorSplashMode mode = QZColorSplashModeNone;
    bool keepDefaultColour = true;
    std::shared_ptr<UIColor> colour;
    bool eraser = false;
    bool complete = true;

    std::shared_ptr<QZBrushStroke> make() const
    {
        auto stroke = QZBrushStroke::make();
        stroke->setPoints(points);
        stroke->setBrushSize(size);
        stroke->setColorSplashMode(mode);
        if (!keepDefaultColour) stroke->setColor(colour);
        stroke->setBlendMode(eraser ? kCGBlendModeClear : kCGBlendModeNormal);
        stroke->setIsComplete(complete);
        return stroke;
    }
};

bool finiteNumber(const Value& value, double* number)
{
    if (!value.isInteger() && !value.isReal()) return false;
    *number = value.doubleValue();
    return std::isfinite(*number);
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "#RRGGBB", "#RRGGBBAA", "white", "black"; null for no colour.
bool parseColour(const Value& value, std::shared_ptr<UIColor>* colour)
{
    if (value.isNull()) {
        *colour = nullptr;
        return true;
    }
    const std::string* text = value.asString();
    if (!text) return false;
    if (*text == "white" || *text == "black") {
        *colour = *text == "white" ? UIColor::whiteColor() : UIColor::blackColor();
        return true;
    }
    if ((text->size() != 7 && text->size() != 9) || (*text)[0] != '#') return false;
    int bytes[4] = {0, 0, 0, 255};
    for (std::size_t i = 0; i * 2 + 1 < text->size(); ++i) {
        const int high = hexDigit((*text)[1 + 2 * i]), low = hexDigit((*text)[2 + 2 * i]);
        if (high < 0 || low < 0) return false;
        bytes[i] = high * 16 + low;
    }
    *colour = UIColor::colorWithRed(bytes[0] / 255.0f, bytes[1] / 255.0f, bytes[2] / 255.0f, bytes[3] / 255.0f);
    return true;
}

bool onlyKeys(const Value& object, const std::set<std::string>& allowed, std::string* unknown)
{
    for (const std::string& key : object.allKeys()) {
        if (!allowed.count(key)) {
            *unknown = key;
            return false;
        }
    }
    return true;
}

bool parseStroke(const Value& json, StrokeDescription* stroke, std::string* error)
{
    std::string unknown;
    if (!json.isDictionary()) return *error = "a stroke is not an object", false;
    if (!onlyKeys(json, {"points", "size", "mode", "color", "eraser", "complete"}, &unknown)) {
        return *error = "unknown stroke key '" + unknown + "'", false;
    }
    const Value points = json["points"];
    if (!points.isArray()) return *error = "a stroke needs a points array", false;
    for (std::size_t i = 0; i < points.count(); ++i) {
        const Value point = points[i];
        double x = 0, y = 0;
        if (!point.isArray() || point.count() != 2 || !finiteNumber(point[0], &x) || !finiteNumber(point[1], &y)) {
            return *error = "a point is not [x, y] with finite numbers", false;
        }
        stroke->points.push_back(CGPointMake(CGFloat(x), CGFloat(y)));
    }
    double size = 0;
    if (!finiteNumber(json["size"], &size) || size <= 0 || size > 1e6) {
        return *error = "a stroke's size must be a number above 0", false;
    }
    stroke->size = float(size);
    if (const Value mode = json["mode"]) {
        static const std::pair<const char*, QZColorSplashMode> kModes[] = {{"none", QZColorSplashModeNone},
                                                                           {"smart", QZColorSplashModeSmart},
                                                                           {"free", QZColorSplashModeFree},
                                                                           {"erase", QZColorSplashModeErase}};
        const std::string* name = mode.asString();
        bool found = false;
        for (const auto& [text, value] : kModes) {
            if (name && *name == text) {
                stroke->mode = value;
                found = true;
            }
        }
        if (!found) return *error = "mode must be none, smart, free or erase", false;
    }
    if (const Value colour = json["color"]) {
        stroke->keepDefaultColour = false;
        if (!parseColour(colour, &stroke->colour)) {
            return *error = "color must be #RRGGBB, #RRGGBBAA, white, black or null", false;
        }
    }
    for (const auto& [key, flag] : {std::pair<const char*, bool*>{"eraser", &stroke->eraser},
                                    std::pair<const char*, bool*>{"complete", &stroke->complete}}) {
        if (const Value value = json[key]) {
            if (!value.isBool()) return *error = std::string(key) + " must be true or false", false;
            *flag = value.boolValue();
        }
    }
    return true;
}

bool parseStrokes(const std::string& path, ModuleMaker* maker, std::string* error)
{
    std::string text, reason;
    if (!FileReadText(path, kMaximumStepFileBytes, &text, &reason))
        return *error = "cannot read the strokes file '" + path + "': " + reason, false;
    const Value json = Value::fromJSON(text);
    std::string unknown;
    if (!json.isDictionary()) return *error = "'" + path + "' is not a JSON object", false;
    if (!onlyKeys(json, {"processor", "maskSize", "strokes"}, &unknown)) {
        return *error = "unknown key '" + unknown + "' in '" + path + "'", false;
    }
    using Make = std::shared_ptr<QZSelectiveBrushProcessor> (*)();
    static const std::pair<const char*, Make> kBrushes[] = {
        {"splash", [] { return std::shared_ptr<QZSelectiveBrushProcessor>(QZColorSplashProcessor::make()); }},
        {"blur", [] { return std::shared_ptr<QZSelectiveBrushProcessor>(QZSelectiveBlurProcessor::make()); }},
        {"redeye", [] { return std::shared_ptr<QZSelectiveBrushProcessor>(QZSelectiveRedeyeProcessor::make()); }},
        {"whiten", [] { return std::shared_ptr<QZSelectiveBrushProcessor>(QZSelectiveWhitenProcessor::make()); }},
    };
    const Value processorName = json["processor"];
    const std::string* name = processorName.asString();
    Make makeBrush = nullptr;
    for (const auto& [brush, make] : kBrushes) {
        if (name && *name == brush) makeBrush = make;
    }
    const bool draw = name && *name == "draw";
    if (!makeBrush && !draw) return *error = "processor must be splash, blur, redeye, whiten or draw", false;

    std::optional<CGSize> maskSize;
    if (const Value mask = json["maskSize"]) {
        double w = 0, h = 0;
        if (!mask.isArray() || mask.count() != 2 || !finiteNumber(mask[0], &w) || !finiteNumber(mask[1], &h) || w < 1 ||
            h < 1 || w > 65536 || h > 65536) {
            return *error = "maskSize must be [W, H], each 1..65536", false;
        }
        maskSize = CGSizeMake(CGFloat(w), CGFloat(h));
    }
    const Value strokesJSON = json["strokes"];
    if (!strokesJSON.isArray()) return *error = "strokes must be an array", false;
    std::vector<StrokeDescription> strokes(strokesJSON.count());
    for (std::size_t i = 0; i < strokes.size(); ++i) {
        if (!parseStroke(strokesJSON[i], &strokes[i], error)) {
            *error = "stroke " + std::to_string(i) + ": " + *error;
            return false;
        }
    }
    *maker = toolModule([strokes, maskSize, makeBrush, draw](const StepTarget& target) {
        QZBrushStrokeList list;
        for (const StrokeDescription& description : strokes) list.push_back(description.make());
        if (draw) {
            auto processor = QZDrawProcessor::make();
            processor->setStrokes(std::move(list));
            return QZProcessorList{processor};
        }
        // As the colour-splash tool's output: full size, no GL instance, the mask stretched.
        std::shared_ptr<QZSelectiveBrushProcessor> processor = makeBrush();
        processor->setBrushStrokes(std::move(list));
        processor->setMaskSize(maskSize.value_or(target.size));
        processor->setIsHires(true);
        return QZProcessorList{processor};
    });
    return true;
}

// --- tiltshift=STYLE,CX,CY,SIGMA[,ANGLE] ---

bool parseTiltShift(const std::string& value, ModuleMaker* maker, std::string* error)
{
    const std::size_t comma = value.find(',');
    const std::string style = value.substr(0, comma);
    std::vector<double> numbers;
    const std::string rest = comma == std::string::npos ? "" : value.substr(comma + 1);
    const bool parsed = parseReals(rest, 3, &numbers) || parseReals(rest, 4, &numbers);
    if ((style != "radial" && style != "linear") || !parsed || !(numbers[2] > 0)) {
        *error = "expected radial or linear, then CX,CY,SIGMA[,ANGLE] in pixels (SIGMA above 0) and radians";
        return false;
    }
    const bool linear = style == "linear";
    *maker = toolModule([numbers, linear](const StepTarget& target) {
        auto processor = QZTiltShiftProcessor::make();
        processor->setStyle(linear ? QZTiltShiftStyleLinear : QZTiltShiftStyleRadial);
        processor->setCenterPoint(CGPointMake(CGFloat(numbers[0]), CGFloat(numbers[1])));
        processor->setSigmaR(float(numbers[2]));
        processor->setAngle(numbers.size() > 3 ? float(numbers[3]) : 0.0f);
        processor->setMaskSize(target.size);
        processor->setIsHires(true);
        return QZProcessorList{processor};
    });
    return true;
}

// --- sticker=FILE,X,Y,W,H[,ANGLE] and frame=FILE,X,Y,W,H[,TILEX,TILEY] ---

struct Placement {
    std::shared_ptr<UIImage> picture;
    CGRect rect;
    std::vector<double> extra;
};

bool parsePlacement(const std::string& value, std::size_t extraCount, Placement* placement, std::string* error,
                    const char* synopsis)
{
    const std::size_t comma = value.find(',');
    const std::string path = value.substr(0, comma);
    std::vector<double> numbers;
    const std::string rest = comma == std::string::npos ? "" : value.substr(comma + 1);
    if (!parseReals(rest, 4, &numbers) && !parseReals(rest, 4 + extraCount, &numbers)) {
        *error = std::string("expected ") + synopsis;
        return false;
    }
    if (!(numbers[2] > 0) || !(numbers[3] > 0)) {
        *error = "the rectangle's width and height must be above 0";
        return false;
    }
    std::vector<std::uint8_t> bytes;
    std::string reason;
    if (!FileReadContents(path, kImageIOMaximumFileBytes, &bytes, &reason))
        return *error = "cannot read the picture '" + path + "': " + reason, false;
    placement->picture = UIImage::imageWithData(bytes, 1, kUIImageMaximumDecodedPixels, &reason);
    if (!placement->picture || !placement->picture->CGImage())
        return *error = "'" + path + "' is not a picture to place: " + reason, false;
    placement->rect = CGRectMake(CGFloat(numbers[0]), CGFloat(numbers[1]), CGFloat(numbers[2]), CGFloat(numbers[3]));
    placement->extra.assign(numbers.begin() + 4, numbers.end());
    return true;
}

bool parseSticker(const std::string& value, ModuleMaker* maker, std::string* error)
{
    Placement placement;
    if (!parsePlacement(value, 1, &placement, error, "FILE,X,Y,W,H[,ANGLE]")) return false;
    *maker = toolModule([placement](const StepTarget&) {
        auto processor = QZStickerProcessor::make();
        processor->setStickerImage(placement.picture);
        processor->setRelativeStickerRect(placement.rect);
        processor->setRotation(placement.extra.empty() ? 0.0f : float(placement.extra[0]));
        return QZProcessorList{processor};
    });
    return true;
}

bool parseFrame(const std::string& value, ModuleMaker* maker, std::string* error)
{
    Placement placement;
    if (!parsePlacement(value, 2, &placement, error, "FILE,X,Y,W,H[,TILEX,TILEY]")) return false;
    long long tiles[2] = {1, 1};
    for (std::size_t i = 0; i < placement.extra.size(); ++i) {
        const double count = placement.extra[i];
        if (count != std::floor(count) || count < 1 || count > 1000) {
            *error = "TILEX and TILEY must be whole numbers from 1 to 1000";
            return false;
        }
        tiles[i] = static_cast<long long>(count);
    }
    *maker = toolModule([placement, tileX = tiles[0], tileY = tiles[1]](const StepTarget&) {
        auto processor = QZStickerProcessor::make();
        processor->setStickerImage(placement.picture);
        processor->setRelativeStickerRect(placement.rect);
        processor->setFrameType(true);
        processor->setTileX(std::int32_t(tileX));
        processor->setTileY(std::int32_t(tileY));
        // As the frames tool places its pieces: inside one effect.
        return QZProcessorList{QZBeginQopEffectProcessor::make(), processor, QZEndQopEffectProcessor::make()};
    });
    return true;
}

}  // namespace

const std::vector<StepKind>& paintStepKinds()
{
    static const std::vector<StepKind> table = {
        {"strokes", "FILE",
         "brush or draw strokes from a JSON file: {\"processor\": splash|blur|redeye|whiten|draw, \"maskSize\": [W, "
         "H], "
         "\"strokes\": [...]}",
         parseStrokes},
        {"tiltshift", "STYLE,CX,CY,SIGMA[,ANGLE]",
         "tilt-shift: radial or linear, the focus and sigma in pixels, the band's angle in radians", parseTiltShift},
        {"sticker", "FILE,X,Y,W,H[,ANGLE]",
         "a PNG or JPEG picture in a rectangle relative to the image, turned by ANGLE radians", parseSticker},
        {"frame", "FILE,X,Y,W,H[,TILEX,TILEY]", "a frame piece stretched over the rectangle, tiled TILEX x TILEY",
         parseFrame},
    };
    return table;
}

}  // namespace qz_replay
