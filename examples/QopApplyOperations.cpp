// QopApplyOperations.cpp: the operation table of qop_apply. Each row is one library call (or a
// short chain of them) with arguments a person can try from the command line; defaults are
// picked to give a visible but tasteful change on an ordinary photograph.
#include "QopApplyOperations.h"

#include "QopLite/QopLite.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace qop_apply {

namespace {

bool failWith(std::string *error, const std::string &reason)
{
    if (error)
        *error = reason;
    return false;
}

// The matrix is the one named; the bitmap's own path (CPU or GPU record) decides how it runs.
bool applyMatrix(QopBitmap_t &bitmap, const QopColorMatrix_t cm)
{
    QopBitmapColorMatrixTransform(&bitmap, cm);
    return true;
}

bool runSepia(QopBitmap_t &bitmap, const ArgumentValues &args, std::string *)
{
    // The usual sepia tone weights, mixed with the identity by amount so 0 leaves the photo.
    static const float sepia[12] = {0.393f, 0.769f, 0.189f, 0, 0.349f, 0.686f, 0.168f, 0, 0.272f, 0.534f, 0.131f, 0};
    const float amount = args.real(0);
    QopColorMatrix_t cm;
    QopColorMatrixSetIdentity(cm);
    for (int i = 0; i < 12; ++i)
        cm[i] = amount * sepia[i] + (1 - amount) * cm[i];
    return applyMatrix(bitmap, cm);
}

bool runSaturation(QopBitmap_t &bitmap, const ArgumentValues &args, std::string *)
{
    QopColorMatrix_t cm;
    QopColorMatrixSetIdentity(cm);
    QopColorMatrixAdjSaturation(cm, args.real(0));
    return applyMatrix(bitmap, cm);
}

bool runBrightnessContrast(QopBitmap_t &bitmap, const ArgumentValues &args, std::string *)
{
    QopColorMatrix_t cm;
    QopColorMatrixSetIdentity(cm);
    QopColorMatrixBrightnessContrast(cm, args.real(0), args.real(1));
    return applyMatrix(bitmap, cm);
}

bool runGamma(QopBitmap_t &bitmap, const ArgumentValues &args, std::string *)
{
    QopBitmapGamma(&bitmap, args.real(0));
    return true;
}

bool runContrastCurve(QopBitmap_t &bitmap, const ArgumentValues &args, std::string *)
{
    QopBitmapContrastCurve(&bitmap, args.real(0));
    return true;
}

bool runBlendColor(QopBitmap_t &bitmap, const ArgumentValues &args, std::string *)
{
    const QopColor_t color = {static_cast<uint8_t>(args.integer(1)), static_cast<uint8_t>(args.integer(2)),
                              static_cast<uint8_t>(args.integer(3)), 255};
    QopBitmapBlendWithColor(&bitmap, &color, args.blendMode(0), args.real(4));
    return true;
}

bool runIntensityMap(QopBitmap_t &bitmap, const ArgumentValues &args, std::string *)
{
    // A duotone: the luminance picks a colour between a deep blue shadow and a warm highlight.
    static const float shadow[3] = {25, 35, 90};
    static const float highlight[3] = {255, 225, 160};
    QopHistMap_t map;
    for (int i = 0; i < 256; ++i) {
        const float t = i / 255.0f;
        map.r[i] = static_cast<uint8_t>(shadow[0] + t * (highlight[0] - shadow[0]) + 0.5f);
        map.g[i] = static_cast<uint8_t>(shadow[1] + t * (highlight[1] - shadow[1]) + 0.5f);
        map.b[i] = static_cast<uint8_t>(shadow[2] + t * (highlight[2] - shadow[2]) + 0.5f);
    }
    QopBitmapIntensityMap(&bitmap, &map, args.blendMode(0), args.realDouble(1));
    return true;
}

bool runNoise(QopBitmap_t &bitmap, const ArgumentValues &args, std::string *)
{
    QopBitmapAddNoise(&bitmap, args.real(0), args.integer(1));
    return true;
}

bool runColorNoise(QopBitmap_t &bitmap, const ArgumentValues &args, std::string *)
{
    QopBitmapAddChannelIndependentNoise(&bitmap, args.real(0), args.integer(1));
    return true;
}

bool runLabRoundTrip(QopBitmap_t &bitmap, const ArgumentValues &args, std::string *)
{
    QopBitmapConvertRGBToLAB(&bitmap);
    QopBitmapConvertLABToRBG(&bitmap, args.real(0), args.real(1));
    return true;
}

bool runEqualize(QopBitmap_t &bitmap, const ArgumentValues &args, std::string *)
{
    // Each channel mapped through its own cumulative distribution (a flat histogram), then
    // faded toward the identity by amount.
    QopHistogram_t hist = {};
    QopHistogramBuild(&bitmap, &hist);
    QopCDF_t cdf;
    QopHistogram2CDF(&hist, &cdf);
    QopHistMap_t map;
    const auto level = [](double c) { return static_cast<uint8_t>(std::clamp(c * 255.0 + 0.5, 0.0, 255.0)); };
    for (int i = 0; i < 256; ++i) {
        map.r[i] = level(cdf.r[i]);
        map.g[i] = level(cdf.g[i]);
        map.b[i] = level(cdf.b[i]);
    }
    QopHistMapFade(&map, args.realDouble(0));
    QopBitmapHistogramTransform(&bitmap, &map);
    return true;
}

bool runDiamondSquare(QopBitmap_t &bitmap, const ArgumentValues &args, std::string *error)
{
    // The kernel fills the largest (2^k + 1)-square and needs two scratch lines that long.
    const size_t side = std::min(bitmap.width, bitmap.height);
    size_t n = 1;
    while (side >= 2 && n * 2 <= side - 1)
        n *= 2;
    float *lineL = nullptr;
    float *lineT = nullptr;
    if (!QopArrayBuild(reinterpret_cast<void **>(&lineL), n + 1, sizeof(float)) ||
        !QopArrayBuild(reinterpret_cast<void **>(&lineT), n + 1, sizeof(float))) {
        QopArrayFree(reinterpret_cast<void **>(&lineL));
        return failWith(error, "diamond-square: scratch lines of " + std::to_string(n + 1) + " floats were refused");
    }
    QopBitmapDiamondSquare(&bitmap, args.real(0), args.real(1), lineL, lineT);
    QopArrayFree(reinterpret_cast<void **>(&lineL));
    QopArrayFree(reinterpret_cast<void **>(&lineT));
    return true;
}

constexpr double kSeedMax = 4294967295.0;

} // namespace

const std::vector<Operation> &operations()
{
    // name, one-line help, arguments {name, kind, default, min, max}, function
    static const std::vector<Operation> table = {
        {"sepia", "warm brown tone through a full 3 x 4 colour matrix (amount 0 = unchanged)",
         {{"amount", ArgumentKind::Real, "1", 0, 1}}, runSepia},
        {"saturation", "colour saturation matrix (0 = grey, 1 = unchanged)",
         {{"value", ArgumentKind::Real, "1.6", -10, 10}}, runSaturation},
        {"brightness-contrast", "brightness and contrast as one diagonal matrix (1 1 = unchanged)",
         {{"brightness", ArgumentKind::Real, "1.1", 0, 10}, {"contrast", ArgumentKind::Real, "1.25", 0, 10}},
         runBrightnessContrast},
        {"gamma", "per-channel power curve (1 = unchanged, below 1 brightens)",
         {{"value", ArgumentKind::Real, "0.8", 0.01, 100}}, runGamma},
        {"contrast-curve", "S-curve about mid grey (above 1 adds contrast)",
         {{"value", ArgumentKind::Real, "1.6", 0, 100}}, runContrastCurve},
        {"blend-color", "blends one colour onto every pixel in a blend mode",
         {{"mode", ArgumentKind::BlendMode, "overlay"},
          {"r", ArgumentKind::Integer, "255", 0, 255},
          {"g", ArgumentKind::Integer, "160", 0, 255},
          {"b", ArgumentKind::Integer, "60", 0, 255},
          {"alpha", ArgumentKind::Real, "0.4", 0, 1}},
         runBlendColor},
        {"intensity-map", "blue-to-cream duotone picked by luminance, blended in a mode",
         {{"mode", ArgumentKind::BlendMode, "normal"}, {"alpha", ArgumentKind::Real, "0.6", 0, 1}}, runIntensityMap},
        {"noise", "seeded monochrome grain (intensity 1 = +-255)",
         {{"intensity", ArgumentKind::Real, "0.08", 0, 1}, {"seed", ArgumentKind::Integer, "1", 0, kSeedMax}},
         runNoise},
        {"color-noise", "seeded grain drawn separately for r, g and b",
         {{"intensity", ArgumentKind::Real, "0.08", 0, 1}, {"seed", ArgumentKind::Integer, "1", 0, kSeedMax}},
         runColorNoise},
        {"lab-roundtrip", "to L*a*b* bytes and back, a and b scaled on the way (1 1 = round trip)",
         {{"scaleA", ArgumentKind::Real, "1", 0, 2}, {"scaleB", ArgumentKind::Real, "1", 0, 2}}, runLabRoundTrip},
        {"equalize", "per-channel histogram equalisation (histogram -> CDF -> map), faded by amount",
         {{"amount", ArgumentKind::Real, "1", 0, 1}}, runEqualize},
        {"diamond-square", "grey fractal noise over the largest (2^k + 1)-square of the image",
         {{"amp", ArgumentKind::Real, "160", 0, 1024}, {"h", ArgumentKind::Real, "0.9", 0, 4}}, runDiamondSquare},
    };
    return table;
}

const Operation *findOperation(const std::string &name)
{
    for (const Operation &operation : operations())
        if (name == operation.name)
            return &operation;
    return nullptr;
}

const std::vector<std::string> &blendModeNames()
{
    static const std::vector<std::string> names = {"normal", "overlay", "color", "screen", "darken", "multiply"};
    return names;
}

bool blendModeNamed(const std::string &name, QopBlendMode_t *mode)
{
    const std::vector<std::string> &names = blendModeNames();
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] == name) {
            *mode = static_cast<QopBlendMode_t>(i);
            return true;
        }
    }
    return false;
}

namespace {

bool parseNumber(const Argument &argument, const std::string &text, double *value, std::string *error)
{
    const std::string what = std::string(argument.name) + " '" + text + "'";
    errno = 0;
    char *end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(v))
        return failWith(error, what + " is not a number");
    if (argument.kind == ArgumentKind::Integer && v != std::floor(v))
        return failWith(error, what + " is not a whole number");
    if (v < argument.min || v > argument.max) {
        char range[64];
        std::snprintf(range, sizeof range, "%g..%g", argument.min, argument.max);
        return failWith(error, what + " is outside " + range);
    }
    *value = v;
    return true;
}

} // namespace

bool parseArguments(const Operation &operation, const std::vector<std::string> &texts, std::vector<double> *values,
                    std::string *error)
{
    if (texts.size() > operation.arguments.size())
        return failWith(error, std::string(operation.name) + " takes at most " +
                                   std::to_string(operation.arguments.size()) + " argument(s), not " +
                                   std::to_string(texts.size()));
    values->clear();
    for (size_t i = 0; i < operation.arguments.size(); ++i) {
        const Argument &argument = operation.arguments[i];
        const std::string text = i < texts.size() ? texts[i] : argument.defaultValue;
        double value = 0;
        if (argument.kind == ArgumentKind::BlendMode) {
            QopBlendMode_t mode;
            if (!blendModeNamed(text, &mode))
                return failWith(error, std::string(argument.name) + " '" + text + "' is not a blend mode");
            value = mode;
        } else if (!parseNumber(argument, text, &value, error)) {
            return false;
        }
        values->push_back(value);
    }
    return true;
}

std::string synopsis(const Operation &operation)
{
    std::string text;
    for (const Argument &argument : operation.arguments) {
        if (!text.empty())
            text += ' ';
        text += std::string("[") + argument.name + "=" + argument.defaultValue + "]";
    }
    return text;
}

} // namespace qop_apply
