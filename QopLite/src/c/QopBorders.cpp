// The border engine: procedural frames painted from one parameter block. Inset styles measure a
// distance into a rounded-corner frame per pixel; side styles build one depth line per side and
// paint from the edge inwards; Torn2 paints the strip between two random lines; HardRand wraps
// four random lines with rounded corners. Sizes follow W + H, so a frame looks the same at every
// resolution, and the draws come from the seeded generator in a fixed order.
#include "QopLite/QopBorders.h"

#include "QopLite/QopColor.h"
#include "QopLite/QopGLBorders.h"

#include "QopClampedInt.h"

#include <algorithm>
#include <cmath>

namespace {

using qop_internal::clampedTrunc;

constexpr double kSqrt2 = 1.4142135623730951;
constexpr float kSqrt2f = 1.4142135f;
constexpr double kPi = 3.14159265358979323846;

// clamp(v) to 0..1; NaN (a degenerate frame size) counts as 0.
inline float clamp01(float v) { return v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f; }

inline uint8_t roundedLevel(float v)
{
    v = v > 0.0f ? v : 0.0f;
    v = v < 255.0f ? v : 255.0f;
    return static_cast<uint8_t>(static_cast<int>(std::floor(v)));
}

// The image weighted by t against the colour; alpha untouched.
inline void weigh(QopColor_t *px, const QopColor_t &colour, float t)
{
    const float inverse = 1.0f - t;
    px->r = roundedLevel(px->r * t + colour.r * inverse + 0.5f);
    px->g = roundedLevel(px->g * t + colour.g * inverse + 0.5f);
    px->b = roundedLevel(px->b * t + colour.b * inverse + 0.5f);
}

// Solid parts of side and torn frames: an opaque colour is written as it is, any other blends.
inline void paintSolid(QopColor_t *px, const QopColor_t &colour, QopBlendMode_t blendMode)
{
    if (colour.a == 255)
        *px = colour;
    else
        QopColorBlend(px, &colour, blendMode, colour.a / 255.0f);
}

// Where a side runs and which way is inwards. Sides: 0 left, 1 top, 2 bottom, 3 right.
struct Side {
    int n;     // run length
    int m;     // size across the side
    int start; // the edge coordinate
    int dP;    // inward step
    bool vertical;
};

Side sideGeometry(int side, int W, int H)
{
    switch (side) {
    case 0:
        return {H, W, 0, 1, true};
    case 1:
        return {W, H, 0, 1, false};
    case 2:
        return {W, H, H - 1, -1, false};
    default:
        return {H, W, W - 1, -1, true};
    }
}

inline QopColor_t *sidePixel(QopBitmap_t *bitmap, const Side &s, int i, int j)
{
    const size_t x = static_cast<size_t>(s.vertical ? i : j);
    const size_t y = static_cast<size_t>(s.vertical ? j : i);
    return &bitmap->data[y * bitmap->width + x];
}

// The walk from the edge towards depth L: solid up to L - db, soft within db of L. The walk stops
// at the far edge of the bitmap, however deep the line lies (an amplitude, offset or width that
// puts it beyond the opposite side must not write past the pixels).
void paintSideRun(QopBitmap_t *bitmap, const Side &s, int j, float L, float db, const QopColor_t &colour,
                  QopBlendMode_t blendMode)
{
    const float alphaF = colour.a / 255.0f;
    const float dP = static_cast<float>(s.dP);
    for (int k = 0; k < s.m; ++k) {
        const int i = s.start + s.dP * k;
        const float depth = static_cast<float>(i) * dP;
        if (!(depth < db + L * dP))
            break;
        QopColor_t *px = sidePixel(bitmap, s, i, j);
        if (depth < L * dP - db) {
            paintSolid(px, colour, blendMode);
        } else {
            const float alpha = alphaF * (1.0f - ((static_cast<float>(i) - L) * dP + db) / (2.0f * db));
            QopColorBlend(px, &colour, blendMode, alpha > 0.0f ? std::min(alpha, alphaF) : 0.0f);
        }
    }
}

// The strip of Torn2: painted only where line A lies deeper than line B.
void paintDoubleRun(QopBitmap_t *bitmap, const Side &s, int j, float A, float B, float db, const QopColor_t &colour,
                    QopBlendMode_t blendMode)
{
    const float alphaF = colour.a / 255.0f;
    const float dP = static_cast<float>(s.dP);
    for (int k = 0; k < s.m; ++k) {
        const int i = s.start + s.dP * k;
        const float depth = static_cast<float>(i) * dP;
        if (!(depth < A * dP + db))
            break;
        QopColor_t *px = sidePixel(bitmap, s, i, j);
        if (B * dP + db < depth && depth < A * dP - db) {
            paintSolid(px, colour, blendMode);
        } else if (depth > B * dP - db) {
            const float nearer = std::min((A - static_cast<float>(i)) * dP, (static_cast<float>(i) - B) * dP);
            QopColorBlend(px, &colour, blendMode, clamp01(nearer / db * alphaF));
        }
    }
}

// The random falloff of the Rough, Viewfinder and HardRand frames.
inline float grainWeight(QopRNG_t *rng, float q4)
{
    const float u = QopRNGNextFloat(rng);
    return 1.0f - 2.0f * (0.4f * u + 0.6f) * q4;
}

// Distance into a frame of width `size` whose corners are rounded with radius R.
inline float frameDistance(int xc, int yc, double R, float cornerWidth)
{
    if (R <= yc || R <= xc)
        return static_cast<float>(std::min(xc, yc));
    const double dx = xc - R, dy = yc - R;
    return cornerWidth - static_cast<float>(std::sqrt(dx * dx + dy * dy));
}

struct ShadowFrame {
    int W, H, inset;
    float size, offsetX, offsetY;

    // The shadow darkens the frame colour towards the photograph, shifted by the angle; its
    // corner is a squircle.
    void paint(QopColor_t *px, const QopColor_t &colour, int x, int y, bool insideInset) const
    {
        const float a = y < H / 2 ? static_cast<float>(y - inset) - offsetY : static_cast<float>(H - 1 - y - inset) + offsetY;
        const float b = x < W / 2 ? static_cast<float>(x - inset) - offsetX : static_cast<float>(W - 1 - x - inset) + offsetX;
        const double Rs = kSqrt2 * size;
        float ds;
        if (Rs <= a || Rs <= b) {
            ds = std::min(a, b);
        } else {
            const float k = kSqrt2f * size;
            const float bk = b - k, ak = a - k;
            ds = k - powf(bk * bk * bk * bk + ak * ak * ak * ak, 0.25f);
        }
        ds = std::max(ds, -size);
        if (insideInset && ds > size)
            ds = sqrtf(ds / size) * size;
        const float half = (ds / size + 1.0f) * 0.5f;
        const float t = clamp01(half * half * half * half * 0.6000000238418579f);
        px->r = roundedLevel(colour.r * (1.0f - t) + 0.5f);
        px->g = roundedLevel(colour.g * (1.0f - t) + 0.5f);
        px->b = roundedLevel(colour.b * (1.0f - t) + 0.5f);
    }
};

} // namespace

extern "C" {

QopBorderParams_t *QopBorderInitParams(QopBorderParams_t *params)
{
    if (!params)
        return params;
    params->offset = 0;
    params->halftoneDotScale = 1.0;
    params->linesScale = 1.0;
    params->shadowAngle = 0;
    params->amp = 0;
    params->dw = 1.0;
    params->hConst = 0.5;
    params->antiAliasing = 1.0;
    params->dbl = 0.28;
    params->fadeCorrection = 2.222;
    params->rScale = 1.5;
    params->dwT = params->dwL = params->dwR = params->dwB = 1.0;
    params->noiseType = QopMPDUniform;
    params->onlyOut = false;
    params->vignetteScale = 1.0;
    params->scale = 1.0;
    params->corner = 0;
    params->intensity = 1.0;
    params->alpha = 1.0;
    params->offsetL = params->offsetR = params->offsetT = params->offsetB = 0;
    params->seed = 0;
    params->color = {255, 255, 255, 255};
    params->blendMode = QopBlendModeNormal;
    params->style = QopBorderStyleNone;
    params->shapeMode = QopBorderShapeModeNormal;
    params->stretch = false;
    params->dx = 0;
    params->dy = 0;
    return params;
}

void QopBorders(QopBitmap_t *bitmap, QopBorderParams_t *params)
{
    if (!bitmap || !params)
        return;
    switch (params->style) {
    case QopBorderStyleHalftone:
    case QopBorderStyleLines:
    case QopBorderStyleSmooth:
    case QopBorderStyleShadow:
    case QopBorderStyleFade:
    case QopBorderStyleRough:
    case QopBorderStyleViewfinder:
        QopBordersTheta(bitmap, params);
        break;
    case QopBorderStyleBulge:
    case QopBorderStyleTorn:
    case QopBorderStyleRect:
    case QopBorderStyleRound:
    case QopBorderStylePellar:
        QopBordersSide(bitmap, params);
        break;
    case QopBorderStyleTorn2:
        QopBordersDoubleSided(bitmap, params);
        break;
    case QopBorderStyleHardRand:
        QopBordersHardRand(bitmap, params);
        break;
    case QopBorderStyleVignette:
        QopVignette(bitmap, params);
        break;
    default:
        break;
    }
}

void QopBordersInstant(QopBitmap_t *, double, const QopColor_t *) {}

void QopBordersTheta(QopBitmap_t *bitmap, QopBorderParams_t *params)
{
    if (!bitmap || !params)
        return;
    const QopBorderStyle_t style = params->style;
    const int W = static_cast<int>(bitmap->width), H = static_cast<int>(bitmap->height);
    const double S = static_cast<double>(W) + H;
    float size = static_cast<float>(S / 30.0);
    float rFactor = 1.0f, offsetF = 0.0f, offsetX = 0.0f, offsetY = 0.0f, dotScale = 0.0f;
    QopRNG_t rng;
    QopRNGSeed(&rng, params->seed);
    switch (style) {
    case QopBorderStyleHalftone:
        dotScale = static_cast<float>(1000.0 / S);
        if (params->halftoneDotScale != 0)
            dotScale = static_cast<float>(dotScale / params->halftoneDotScale);
        offsetF = static_cast<float>(params->offset);
        break;
    case QopBorderStyleLines:
        size = static_cast<float>(S * params->dw / 30.0);
        break;
    case QopBorderStyleSmooth:
        size = static_cast<float>(S * params->dw / 30.0);
        offsetF = static_cast<float>(params->offset / size);
        break;
    case QopBorderStyleShadow: {
        const float angle = static_cast<float>(params->shadowAngle * 0.017453292519943295);
        size = static_cast<float>(S * params->dw / 80.0);
        offsetY = 0.5f * sinf(angle) * size;
        offsetX = 0.5f * cosf(angle) * size;
        offsetF = 0.3f;
        break;
    }
    case QopBorderStyleFade:
        size = static_cast<float>(S * params->dw / 80.0);
        offsetF = static_cast<float>(params->offset);
        rFactor = static_cast<float>(params->fadeCorrection);
        break;
    case QopBorderStyleRough:
        size = static_cast<float>(S * params->dw / 30.0);
        offsetF = static_cast<float>(params->offset / size);
        break;
    case QopBorderStyleViewfinder:
        size = static_cast<float>(S * params->dw / 60.0);
        break;
    default:
        return;
    }
    const int inset = clampedTrunc(offsetF * size);
    if (style != QopBorderStyleViewfinder)
        params->offsetL = params->offsetR = params->offsetT = params->offsetB = inset;

    if (bitmap->glData) {
        QopGLAddBorderTheta(bitmap, &params->color, style, size, rFactor, static_cast<float>(params->offsetL),
                            static_cast<float>(params->offsetR), static_cast<float>(params->offsetT),
                            static_cast<float>(params->offsetB), offsetX, offsetY,
                            static_cast<float>(params->linesScale), dotScale);
        return;
    }
    if (!bitmap->data || W == 0 || H == 0)
        return;

    const QopColor_t colour = params->color;
    const double R = rFactor * kSqrt2 * size;
    const float cornerWidth = rFactor * kSqrt2f * size;
    const ShadowFrame shadow{W, H, inset, size, offsetX, offsetY};
    const float linesScale = static_cast<float>(params->linesScale);
    for (int y = 0; y < H; ++y) {
        const int yc = y < H / 2 ? clampedTrunc(y - params->offsetT) : clampedTrunc((H - 1 - y) - params->offsetB);
        const double halftoneRow = std::cos(static_cast<double>(dotScale) * (y - H / 2));
        QopColor_t *row = &bitmap->data[static_cast<size_t>(y) * bitmap->width];
        for (int x = 0; x < W; ++x) {
            QopColor_t *px = &row[x];
            const int xc = x < W / 2 ? clampedTrunc(x - params->offsetL) : clampedTrunc((W - 1 - x) - params->offsetR);
            const auto halftone = [&]() {
                return 2.0 * (halftoneRow * std::cos(static_cast<double>(dotScale) * (x - W / 2)) + 1.0);
            };
            if (xc < 0 || yc < 0) {
                if (style == QopBorderStyleShadow)
                    shadow.paint(px, colour, x, y, false);
                else if (style == QopBorderStyleHalftone)
                    weigh(px, colour, clamp01(static_cast<float>(1.0 - halftone())));
                else
                    *px = colour;
                continue;
            }
            const float d = frameDistance(xc, yc, R, cornerWidth);
            if (!(d < size))
                continue;
            const float q = 1.0f - d / size;
            const float q4 = q * q * q * q;
            float v;
            switch (style) {
            case QopBorderStyleHalftone: {
                const double c = halftone();
                v = static_cast<float>(d <= 0.0f ? 1.0 - c : 1.0 - c * q4);
                break;
            }
            case QopBorderStyleLines: {
                const float phase = static_cast<float>(y - H / 2) / static_cast<float>(H);
                const float wave = cosf(static_cast<float>(phase * 439.822971502571 / linesScale));
                v = 1.0f + 2.0f * (-0.8f * (wave + 1.0f)) * q4;
                break;
            }
            case QopBorderStyleSmooth:
                v = 1.0f - 2.0f * q4;
                break;
            case QopBorderStyleFade: {
                const float f = std::max(d, 0.0f) / size;
                v = f * f;
                break;
            }
            case QopBorderStyleShadow:
                if (xc < size || yc < size)
                    shadow.paint(px, colour, x, y, true);
                continue;
            default: // Rough, Viewfinder: one draw per pixel of the soft zone, row-major
                v = grainWeight(&rng, q4);
                break;
            }
            weigh(px, colour, clamp01(v));
        }
    }
}

void QopBordersSide(QopBitmap_t *bitmap, QopBorderParams_t *params)
{
    if (!bitmap || !params || !params->line)
        return;
    const QopBorderStyle_t style = params->style;
    if (style != QopBorderStyleBulge && style != QopBorderStyleTorn && style != QopBorderStyleRect &&
        style != QopBorderStyleRound && style != QopBorderStylePellar)
        return;
    const int W = static_cast<int>(bitmap->width), H = static_cast<int>(bitmap->height);
    if (W == 0 || H == 0 || (!bitmap->glData && !bitmap->data))
        return;
    const bool gpu = bitmap->glData != nullptr;
    const QopColor_t colour = params->color;
    if (gpu)
        QopGLBeginSideBorder(bitmap, &colour);

    const double S = static_cast<double>(W) + H;
    float db = static_cast<float>(params->antiAliasing * S * 0.5 * 0.0009765625 + 1.0);
    QopRNG_t rng;
    QopRNGSeed(&rng, params->seed);
    float w = 0, o = 0, bd = 0, amp = 0, roughness = 0, r = 0;
    float widths[4] = {0, 0, 0, 0}; // Round: left, top, bottom, right (side order)
    switch (style) {
    case QopBorderStyleBulge:
        w = static_cast<float>(S * params->dw * 0.5);
        o = static_cast<float>(params->offset * w);
        bd = static_cast<float>(w * params->dbl);
        break;
    case QopBorderStyleTorn:
        w = static_cast<float>(S * params->dw * 0.5);
        amp = static_cast<float>(S * params->amp * 0.5);
        roughness = static_cast<float>(params->hConst);
        break;
    case QopBorderStyleRect:
        w = static_cast<float>(S * params->dw * 0.5);
        db = 0.0f;
        break;
    case QopBorderStyleRound:
        w = static_cast<float>(std::min(W, H) * params->dw);
        db = static_cast<float>(S * 0.5 * 0.0009765625 * 0.5 + 1.0);
        r = static_cast<float>(params->rScale * w);
        widths[0] = static_cast<float>(params->dwL * w);
        widths[1] = static_cast<float>(params->dwT * w);
        widths[2] = static_cast<float>(params->dwB * w);
        widths[3] = static_cast<float>(params->dwR * w);
        break;
    default: // Pellar
        w = static_cast<float>(0.018 * S * 0.5);
        amp = static_cast<float>(0.001 * S * 0.5);
        roughness = 0.0f;
        break;
    }

    float *line = params->line;
    for (int side = 0; side < 4; ++side) {
        const Side s = sideGeometry(side, W, H);
        const float start = static_cast<float>(s.start), dP = static_cast<float>(s.dP);
        const int n = s.n;
        switch (style) {
        case QopBorderStyleBulge:
            for (int j = 0; j < n; ++j)
                line[j] = start + dP * (o - bd * static_cast<float>(std::sin(j * kPi / n)));
            break;
        case QopBorderStyleTorn:
        case QopBorderStylePellar:
            line[0] = line[n - 1] = start + dP * w;
            QopMPDSeed(line, 0, n - 1, amp, roughness, params->noiseType, QopRNGNextInt(&rng));
            if (style == QopBorderStylePellar && side == 2) {
                // A tab on the left part of the bottom edge.
                for (int j = 0; j < n; ++j) {
                    const double c = std::cos(1.7 * kPi * j / n);
                    if (!(c > 0))
                        break;
                    line[j] += static_cast<float>(std::sqrt(c) * 0.7 * w);
                }
            }
            break;
        case QopBorderStyleRect:
            for (int j = 0; j < n; ++j)
                line[j] = start + dP * w;
            break;
        default: { // Round: straight sides joined by quarter circles of radius r
            const float sw = widths[side] - db / 2.0f;
            const float k = r * 0.29289321881345254f;
            const float p = s.vertical ? widths[1] : widths[0];
            const float q = s.vertical ? widths[2] : widths[3];
            const auto arc = [r](float t) { return sqrtf(std::max(r * r - t * t, 0.0f)); };
            for (int j = 0; j < n; ++j) {
                const float jf = static_cast<float>(j);
                float depth;
                if (jf < k + p)
                    depth = k + sw;
                else if (jf < r + p)
                    depth = r + sw - arc(jf - p - r);
                else if (jf < static_cast<float>(n - 1) - q - r)
                    depth = sw;
                else if (jf <= static_cast<float>(n - 1) - q - k)
                    depth = r + sw - arc(static_cast<float>(n - 1 - j) - q - r);
                else
                    depth = k + sw;
                line[j] = start + dP * depth;
            }
            break;
        }
        }
        if (gpu) {
            QopGLAddBorderSide(bitmap, &colour, params->blendMode, style, line, db, side);
            continue;
        }
        for (int j = 0; j < n; ++j)
            paintSideRun(bitmap, s, j, line[j], db, colour, params->blendMode);
    }
    if (gpu)
        QopGLEndSideBorder(bitmap);
}

void QopBordersDoubleSided(QopBitmap_t *bitmap, QopBorderParams_t *params)
{
    if (!bitmap || !params || !params->lineA || !params->lineB)
        return;
    const int W = static_cast<int>(bitmap->width), H = static_cast<int>(bitmap->height);
    if (W == 0 || H == 0 || (!bitmap->glData && !bitmap->data))
        return;
    const bool gpu = bitmap->glData != nullptr;
    const QopColor_t colour = params->color;
    if (gpu)
        QopGLBeginSideBorder(bitmap, &colour);
    QopRNG_t rng;
    QopRNGSeed(&rng, params->seed);
    const double S = static_cast<double>(W) + H;
    const float w = static_cast<float>(S * params->dw * 0.5);
    const float amp = static_cast<float>(S * params->amp * 0.5);
    const float db = static_cast<float>(params->antiAliasing * S * 0.5 * 0.0009765625 + 1.0);
    const float roughness = static_cast<float>(params->hConst);
    float *lineA = params->lineA, *lineB = params->lineB;
    for (int side = 0; side < 4; ++side) {
        const Side s = sideGeometry(side, W, H);
        const int n = s.n;
        const float e = static_cast<float>(s.start) + static_cast<float>(s.dP) * w;
        lineA[0] = lineA[n - 1] = e;
        QopMPDSeed(lineA, 0, n - 1, amp, roughness, params->noiseType, QopRNGNextInt(&rng));
        lineB[0] = lineB[n - 1] = e;
        QopMPDSeed(lineB, 0, n - 1, amp, roughness, params->noiseType, QopRNGNextInt(&rng));
        if (gpu) {
            QopGLAddBorderDoubleSide(bitmap, &colour, params->blendMode, params->style, lineA, lineB, db, side);
            continue;
        }
        for (int j = 0; j < n; ++j)
            paintDoubleRun(bitmap, s, j, lineA[j], lineB[j], db, colour, params->blendMode);
    }
    if (gpu)
        QopGLEndSideBorder(bitmap);
}

void QopBordersHardRand(QopBitmap_t *bitmap, QopBorderParams_t *params)
{
    if (!bitmap || !params || !params->lineL || !params->lineR || !params->lineT || !params->lineB)
        return;
    const int W = static_cast<int>(bitmap->width), H = static_cast<int>(bitmap->height);
    if (W == 0 || H == 0 || (!bitmap->glData && !bitmap->data))
        return;
    const float alpha = static_cast<float>(params->alpha);
    const double offset = params->offset;
    QopRNG_t rng;
    QopRNGSeed(&rng, params->seed);
    float *lineL = params->lineL, *lineR = params->lineR, *lineT = params->lineT, *lineB = params->lineB;
    const float corner = static_cast<float>(params->corner);
    lineL[H - 1] = corner;
    lineL[0] = 0;
    lineR[H - 1] = lineR[0] = 0;
    lineT[W - 1] = lineT[0] = 0;
    lineB[W - 1] = 0;
    lineB[0] = corner;
    const float ampLR = static_cast<float>(params->intensity * W * 0.03);
    const float ampTB = static_cast<float>(params->intensity * H * 0.03);
    QopMPDSeed(lineL, 0, H - 1, ampLR, 0.7f, params->noiseType, QopRNGNextInt(&rng));
    QopMPDSeed(lineR, 0, H - 1, ampLR, 0.7f, params->noiseType, QopRNGNextInt(&rng));
    QopMPDSeed(lineT, 0, W - 1, ampTB, 0.7f, params->noiseType, QopRNGNextInt(&rng));
    QopMPDSeed(lineB, 0, W - 1, ampTB, 0.7f, params->noiseType, QopRNGNextInt(&rng));
    const float size = static_cast<float>((static_cast<double>(W) + H) / 30.0);

    if (bitmap->glData) {
        QopColor_t colour = params->color;
        colour.a = static_cast<uint8_t>(std::clamp(clampedTrunc(alpha * 255.0), 0, 255));
        QopGLAddBorderHardRand(bitmap, &colour, size, static_cast<float>(params->scale), static_cast<float>(offset),
                               static_cast<float>(params->seed), static_cast<float>(W / 2),
                               static_cast<float>(H / 2), lineL, lineR, lineT, lineB);
        return;
    }
    const QopColor_t colour = params->color;
    const double Rh = kSqrt2 * size;
    const float cornerWidth = kSqrt2f * size;
    const float exponent = static_cast<float>(4.0 * params->scale);
    for (int y = 0; y < H; ++y) {
        QopColor_t *row = &bitmap->data[static_cast<size_t>(y) * bitmap->width];
        for (int x = 0; x < W; ++x) {
            const double yd = y < H / 2 ? (y - offset) - lineT[x] : (H - 1 - y - offset) - lineB[x];
            const double xd = x < W / 2 ? (x - offset) - lineL[y] : (W - 1 - x - offset) - lineR[y];
            const int yc = clampedTrunc(yd), xc = clampedTrunc(xd);
            if (xc < 0 || yc < 0) {
                QopColorBlend(&row[x], &colour, params->blendMode, alpha);
                continue;
            }
            const float d = frameDistance(xc, yc, Rh, cornerWidth);
            if (!(d < size))
                continue;
            const float u = QopRNGNextFloat(&rng);
            const float v = 1.0f - 2.0f * (0.4f * u + 0.6f) * powf(1.0f - d / size, exponent);
            QopColorBlend(&row[x], &colour, params->blendMode, (1.0f - clamp01(v)) * alpha);
        }
    }
}

} // extern "C"
