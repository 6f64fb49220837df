// The recipe's value readers: colours, lookup maps, and the words that name blend modes, shape
// modes, border styles and flare types, plus the vignette shape and the gradient stops. Every
// reader refuses a value of the wrong JSON type the way it refuses a missing one.
#include "QLPLJSONValues.h"
#include "QopLite/QLPL.h"

#include <algorithm>

namespace {

// Words of a closed set and the enum value each names.
struct QLPLWord {
    const char *word;
    int value;
};

const QLPLWord kBlendModeWords[] = {
    {"normal", QopBlendModeNormal}, {"overlay", QopBlendModeOverlay}, {"color", QopBlendModeColor},
    {"screen", QopBlendModeScreen}, {"darken", QopBlendModeDarken},   {"multiply", QopBlendModeMultiply},
};

const QLPLWord kShapeModeWords[] = {
    {"normal", QopBorderShapeModeNormal},
    {"sharp", QopBorderShapeModeSharp},
    {"mediumSharp", QopBorderShapeModeMediumSharp},
    {"ultraSharp", QopBorderShapeModeUltraSharp},
};

const QLPLWord kBorderStyleWords[] = {
    {"halftone", QopBorderStyleHalftone}, {"lines", QopBorderStyleLines},   {"smooth", QopBorderStyleSmooth},
    {"shadow", QopBorderStyleShadow},     {"fade", QopBorderStyleFade},     {"rough", QopBorderStyleRough},
    {"bulge", QopBorderStyleBulge},       {"torn", QopBorderStyleTorn},     {"torn_2", QopBorderStyleTorn2},
    {"rect", QopBorderStyleRect},         {"round", QopBorderStyleRound},   {"pellar", QopBorderStylePellar},
    {"hard_rand", QopBorderStyleHardRand}, {"instant", QopBorderStyleInstant}, {"vignette", QopBorderStyleVignette},
    {"viewfinder", QopBorderStyleViewfinder},
};

// The lens flare (8) has no word: recipes cannot ask for it.
const QLPLWord kFlareTypeWords[] = {
    {"sinc", QopFlareSinc},
    {"gaussianThing", QopFlareGaussianthing},
    {"gaussianThing2", QopFlareGaussianthing2},
    {"gaussianThing3", QopFlareGaussianthing3},
    {"gaussianThing4", QopFlareGaussianthing4},
    {"angleGaussian", QopFlareAnglegaussian},
    {"stardom", QopFlareStardom},
    {"lobes", QopFlareLobes},
    {"stripe", QopFlareStripe},
    {"stripe2", QopFlareStripe2},
    {"dimondFlare", QopFlareDimondflare},
    {"crossFlare", QopFlareCrossflare},
    {"cornerFlares", QopFlareCornerflares},
    {"fingerFlare", QopFlareFingerflare},
    {"blobFlare", QopFlareBlobflare},
    {"blah", QopFlareBlah},
    {"blob", QopFlareBlob},
    {"blob2", QopFlareBlob2},
};

template <size_t N>
bool lookUpWord(yajl_val val, const QLPLWord (&words)[N], int *value)
{
    const char *s = YAJL_GET_STRING(val);
    if (s == nullptr)
        return false;
    for (const QLPLWord &w : words) {
        if (QLPLStringIs(s, w.word)) {
            *value = w.value;
            return true;
        }
    }
    return false;
}

bool readMapChannel(yajl_val histMapVal, const char *key, uint8_t *table)
{
    yajl_val arr = QLPLObjectMember(histMapVal, key);
    if (!YAJL_IS_ARRAY(arr) || arr->u.array.len != 256)
        return false;
    for (size_t i = 0; i < 256; ++i) {
        long long v;
        if (!QLPLIntegerFromVal(arr->u.array.values[i], 0, 255, &v))
            return false;
        table[i] = static_cast<uint8_t>(v);
    }
    return true;
}

} // namespace

extern "C" {

float QLPLBlendAroundIdentity(float value, float identity, float intensity)
{
    return intensity * value + (1.0f - intensity) * identity;
}

bool QLPLColorFromColorVal(yajl_val colorVal, QopColor_t *color)
{
    if (!YAJL_IS_OBJECT(colorVal))
        return false;
    long long r, g, b, a;
    if (!QLPLIntegerFromVal(QLPLObjectMember(colorVal, "r"), 0, 255, &r) ||
        !QLPLIntegerFromVal(QLPLObjectMember(colorVal, "g"), 0, 255, &g) ||
        !QLPLIntegerFromVal(QLPLObjectMember(colorVal, "b"), 0, 255, &b) ||
        !QLPLIntegerFromVal(QLPLObjectMember(colorVal, "a"), 0, 255, &a))
        return false;
    *color = {static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b), static_cast<uint8_t>(a)};
    return true;
}

bool QLPLHistMapfromHistMapVal(yajl_val histMapVal, QopHistMap_t *histMap)
{
    return readMapChannel(histMapVal, "r", histMap->r) && readMapChannel(histMapVal, "g", histMap->g) &&
           readMapChannel(histMapVal, "b", histMap->b);
}

bool QLPLBlendModeFromBlendModeVal(yajl_val blendModeVal, QopBlendMode_t *blendMode)
{
    int value;
    *blendMode = lookUpWord(blendModeVal, kBlendModeWords, &value) ? static_cast<QopBlendMode_t>(value)
                                                                   : QopBlendModeNormal;
    return true;
}

bool QLPLBorderShapeModeFromBorderShapeModeVal(yajl_val shapeModeVal, QopBorderShapeMode_t *shapeMode)
{
    int value;
    *shapeMode = lookUpWord(shapeModeVal, kShapeModeWords, &value) ? static_cast<QopBorderShapeMode_t>(value)
                                                                   : QopBorderShapeModeNormal;
    return true;
}

bool QLPLBorderStyleFromBorderStyleTypeVal(yajl_val borderStyleVal, QopBorderStyle_t *borderStyle)
{
    int value;
    if (!lookUpWord(borderStyleVal, kBorderStyleWords, &value))
        return false;
    *borderStyle = static_cast<QopBorderStyle_t>(value);
    return true;
}

bool QLPLFlareTypeFromFlareTypeVal(yajl_val flareTypeVal, QopFlareType_t *flareType)
{
    int value;
    if (!lookUpWord(flareTypeVal, kFlareTypeWords, &value))
        return false;
    *flareType = static_cast<QopFlareType_t>(value);
    return true;
}

bool QLPLBorderPopoulateWithShapeTypeVal(yajl_val shapeType, QopBorderParams_t *borderParams,
                                         const QopBitmap_t *bitmap, float intensity, bool useDivZeroPad)
{
    double vignetteScale;
    const char *scaling = QLPLStringMember(shapeType, "scaling");
    if (!QLPLNumberMember(shapeType, "vignetteScale", &vignetteScale) || scaling == nullptr)
        return false;

    // The pad keeps an effect intensity of 0 from dividing by zero: the vignette then grows so
    // large that it vanishes instead.
    const double divisor = static_cast<double>(intensity) + (useDivZeroPad ? 1e-8 : 0.0);
    const double width = static_cast<double>(bitmap->width);
    const double height = static_cast<double>(bitmap->height);
    double scale;
    bool stretch;
    if (QLPLStringIs(scaling, "average")) {
        scale = (width + height) * 0.5 * vignetteScale / divisor;
        stretch = false;
    } else if (QLPLStringIs(scaling, "max")) {
        scale = vignetteScale * std::max(width, height) / divisor;
        stretch = false;
    } else if (QLPLStringIs(scaling, "stretch")) {
        scale = vignetteScale / divisor;
        stretch = true;
    } else {
        return false;
    }

    double dx = 0.0, dy = 0.0;
    QLPLNumberMember(shapeType, "dx", &dx);
    QLPLNumberMember(shapeType, "dy", &dy);
    QLPLBorderShapeModeFromBorderShapeModeVal(QLPLObjectMember(shapeType, "shapeMode"), &borderParams->shapeMode);
    borderParams->dx = dx;
    borderParams->dy = dy;
    borderParams->vignetteScale = scale;
    borderParams->stretch = stretch;
    return true;
}

bool QLPLGradientfromColorsValAndOpacitiesVal(yajl_val colorsVal, yajl_val opacitiesVal, QopGradient_t *gradient)
{
    // The gradient map interpolates between neighbouring stops, starting from the second: fewer
    // than two stops in either list would make it read past the end.
    if (!YAJL_IS_ARRAY(colorsVal) || !YAJL_IS_ARRAY(opacitiesVal) || colorsVal->u.array.len < 2 ||
        opacitiesVal->u.array.len < 2 || colorsVal->u.array.len != gradient->colorLength ||
        opacitiesVal->u.array.len != gradient->opacityLength || gradient->color == nullptr ||
        gradient->opacity == nullptr)
        return false;

    for (size_t i = 0; i < gradient->colorLength; ++i) {
        yajl_val stop = colorsVal->u.array.values[i];
        float location;
        if (!QLPLColorFromColorVal(QLPLObjectMember(stop, "color"), &gradient->color[i].color) ||
            !QLPLFloatMember(stop, "location", &location))
            return false;
        gradient->color[i].location = location;
    }
    for (size_t i = 0; i < gradient->opacityLength; ++i) {
        yajl_val stop = opacitiesVal->u.array.values[i];
        float opacity, location;
        if (!QLPLFloatMember(stop, "opacity", &opacity) || !QLPLFloatMember(stop, "location", &location))
            return false;
        gradient->opacity[i].opacity = opacity;
        gradient->opacity[i].location = location;
    }
    return true;
}

} // extern "C"
