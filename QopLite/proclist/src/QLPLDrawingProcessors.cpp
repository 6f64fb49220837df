// The processors that draw with the border engine, flares, gradient maps, sharpening and the
// automatic colour balance. Their parameters are read completely before the kernel is called, so
// a malformed processor changes nothing.
#include "QLPLJSONValues.h"
#include "QLPLProcessorArgs.h"
#include "QopLite/QLPL.h"
#include "QopLite/QopAlloc.h"
#include "QopLite/QopAutoColors.h"
#include "QopLite/QopConvolution.h"

#include <algorithm>
#include <cmath>
#include <numbers>

bool QLPLFlareArgsFromParameters(yajl_val parameters, const QopEffectParams_t *effectParams, QLPLFlareArgs *args)
{
    if (!QLPLColorFromColorVal(QLPLObjectMember(parameters, "color"), &args->color) ||
        QLPLStringMember(parameters, "blendMode") == nullptr ||
        !QLPLFlareTypeFromFlareTypeVal(QLPLObjectMember(parameters, "type"), &args->type) ||
        !QLPLFloatMember(parameters, "dx", &args->dx) || !QLPLFloatMember(parameters, "dy", &args->dy) ||
        !QLPLFloatMember(parameters, "dsx", &args->dsx) || !QLPLFloatMember(parameters, "dsy", &args->dsy) ||
        !QLPLFloatMember(parameters, "fScale", &args->fScale) || std::isnan(effectParams->intensity))
        return false;
    QLPLBlendModeFromBlendModeVal(QLPLObjectMember(parameters, "blendMode"), &args->blendMode);
    // An intensity above 1 would push the alpha past 255, where a plain byte conversion wraps
    // round to a faint flare; hold it at full opacity instead (and at none below 0).
    const double alpha = std::clamp(args->color.a * effectParams->intensity, 0.0, 255.0);
    args->color.a = static_cast<uint8_t>(static_cast<int>(alpha));
    return true;
}

bool QLPLGradientArgsFromParameters(yajl_val parameters, const QopBitmap_t *bitmap,
                                    const QopEffectParams_t *effectParams, QLPLGradientArgs *args)
{
    yajl_val colors = QLPLObjectMember(parameters, "colors");
    yajl_val opacities = QLPLObjectMember(parameters, "opacities");
    const char *shapeWord = QLPLStringMember(parameters, "gradientShape");
    float scale, xCenter, yCenter, angle;
    double alpha;
    if (!YAJL_IS_ARRAY(colors) || !YAJL_IS_ARRAY(opacities) || shapeWord == nullptr ||
        !QLPLFloatMember(parameters, "scale", &scale) || !QLPLFloatMember(parameters, "xCenter", &xCenter) ||
        !QLPLFloatMember(parameters, "yCenter", &yCenter) || !QLPLFloatMember(parameters, "angle", &angle) ||
        !QLPLNumberMember(parameters, "alpha", &alpha))
        return false;

    QopGradientShapeMode_t shapeMode;
    if (QLPLStringIs(shapeWord, "linear"))
        shapeMode = QopGradientShapeModeLinear;
    else if (QLPLStringIs(shapeWord, "radial"))
        shapeMode = QopGradientShapeModeRadial;
    else if (QLPLStringIs(shapeWord, "linearVignette"))
        shapeMode = QopGradientShapeModeLinearVignette;
    else
        return false;

    QopGradient_t *gradient = &args->gradient;
    if (!QopGradientBuild(gradient, colors->u.array.len, opacities->u.array.len) ||
        !QLPLGradientfromColorsValAndOpacitiesVal(colors, opacities, gradient)) {
        QopGradientFree(gradient);
        return false;
    }

    args->alphaBlend = alpha * effectParams->intensity;
    QLPLBlendModeFromBlendModeVal(QLPLObjectMember(parameters, "blendMode"), &args->blendMode);
    args->shape = QopGradientShapeParams_t{};
    args->shape.shapeMode = shapeMode;
    args->shape.scale = scale;
    args->shape.xCenter = xCenter;
    args->shape.yCenter = yCenter;
    args->shape.angle = angle * std::numbers::pi_v<float> / 180.0f;
    if (shapeMode == QopGradientShapeModeLinearVignette) {
        QopBorderParams_t vignette{};
        QopBorderInitParams(&vignette);
        if (!QLPLBorderPopoulateWithShapeTypeVal(QLPLObjectMember(parameters, "vignetteShape"), &vignette, bitmap,
                                                 1.0f, false)) {
            QopGradientFree(gradient);
            return false;
        }
        args->shape.vignetteShape = vignette.shapeMode;
        args->shape.vignetteScale = vignette.vignetteScale;
        args->shape.dx = vignette.dx;
        args->shape.dy = vignette.dy;
    }
    return true;
}

extern "C" {

bool QLPLRunVignetteProcessor(yajl_val parameters, QopBitmap_t *bitmap, QopEffectParams_t *effectParams)
{
    float intensity;
    if (!QLPLFloatFromDouble(effectParams->intensity, &intensity))
        return false;
    QopBorderParams_t params{};
    QopBorderInitParams(&params);
    params.style = QopBorderStyleVignette;
    if (!QLPLColorFromColorVal(QLPLObjectMember(parameters, "color"), &params.color))
        return false;
    QLPLBlendModeFromBlendModeVal(QLPLObjectMember(parameters, "blendMode"), &params.blendMode);
    if (!QLPLBorderPopoulateWithShapeTypeVal(QLPLObjectMember(parameters, "shape"), &params, bitmap, intensity, true))
        return false;
    // Drawn whatever the effect's border flag says: a vignette is not a frame.
    QopBorders(bitmap, &params);
    return true;
}

bool QLPLRunFlareProcessor(yajl_val parameters, QopBitmap_t *bitmap, QopEffectParams_t *effectParams)
{
    QLPLFlareArgs args;
    if (!QLPLFlareArgsFromParameters(parameters, effectParams, &args))
        return false;
    QopFlare(bitmap, args.fScale, &args.color, args.type, args.dx, args.dy, args.dsx, args.dsy, args.blendMode);
    return true;
}

bool QLPLRunGradientProcessor(yajl_val parameters, QopBitmap_t *bitmap, QopEffectParams_t *effectParams)
{
    QLPLGradientArgs args;
    if (!QLPLGradientArgsFromParameters(parameters, bitmap, effectParams, &args))
        return false;
    QopGradientApply(bitmap, &args.shape, &args.gradient, args.blendMode, args.alphaBlend);
    QopGradientFree(&args.gradient);
    return true;
}

bool QLPLRunSharpnessProcessor(yajl_val parameters, QopBitmap_t *bitmap, QopEffectParams_t *effectParams)
{
    float amount, alpha;
    double rawAlpha;
    if (!QLPLFloatMember(parameters, "amount", &amount) || !QLPLNumberMember(parameters, "alpha", &rawAlpha) ||
        !QLPLFloatFromDouble(rawAlpha * effectParams->intensity, &alpha))
        return false;
    QopBlendMode_t blendMode;
    QLPLBlendModeFromBlendModeVal(QLPLObjectMember(parameters, "blendMode"), &blendMode);
    QopConvolutionProcessorSharpenAndBlendWithOriginal(bitmap, amount, alpha, blendMode);
    return true;
}

bool QLPLRunAutoColorsFadeMaxProcessor(yajl_val parameters, QopBitmap_t *bitmap, QopEffectParams_t *effectParams)
{
    QopColor_t color;
    if (!QLPLColorFromColorVal(QLPLObjectMember(parameters, "color"), &color))
        return false;
    QopAutoColorsFadeMaxColor(bitmap, effectParams->intensity, &color);
    return true;
}

} // extern "C"
