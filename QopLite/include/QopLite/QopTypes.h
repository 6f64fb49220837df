/* QopTypes.h: the plain data types every QopLite operation passes around: pixels, bitmaps,
 * colour models, lookup tables, transforms, effect parameters, gradients and versions. */
#pragma once

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* One pixel or colour. The four bytes lie in memory as r, g, b, a; never premultiplied. */
typedef struct QopColor_rgba {
    uint8_t r;
    uint8_t g;
    uint8_t b;
    uint8_t a;
} QopColor_rgba;
typedef QopColor_rgba QopColor_t;

/* The GPU record (see QopGLData.h); a bitmap never owns it. */
typedef struct QopGLData QopGLData_t;

/* An RGBA image: width x height pixels, row after row with no gap (there is no stride).
 * glData null: operations change data. glData set: operations record GPU passes instead. */
typedef struct QopBitmap {
    QopColor_t *data;
    size_t width;
    size_t height;
    QopGLData_t *glData;
} QopBitmap;
typedef QopBitmap QopBitmap_t;

/* h, s, l each 0..1 (h is a fraction of a turn). */
typedef struct QopColor_hsl {
    float h;
    float s;
    float l;
} QopColor_hsl;
typedef QopColor_hsl QopHSLColor_t;

/* h in degrees 0..360, s 0..1, v 0..255 (the largest channel, not normalised). */
typedef struct QopColor_hsv {
    float h;
    float s;
    float v;
} QopColor_hsv;
typedef QopColor_hsv QopHSVColor_t;

typedef enum QopBlendMode {
    QopBlendModeNormal = 0,
    QopBlendModeOverlay = 1,
    QopBlendModeColor = 2,
    QopBlendModeScreen = 3,
    QopBlendModeDarken = 4,
    QopBlendModeMultiply = 5
} QopBlendMode;
typedef QopBlendMode QopBlendMode_t;

/* Memo of blend results for one blend mode, keyed by alpha level: mapping[alpha][channel][value]. */
typedef struct QopColorMemoData {
    QopBlendMode_t blendMode;
    bool isMemoized[256];
    uint8_t mapping[256][3][256];
} QopColorMemoData;
typedef QopColorMemoData QopColorMemoData_t;

/* Per-channel lookup tables: entry v is the new value of a channel whose old value is v. */
typedef struct QopHistMap {
    uint8_t r[256];
    uint8_t g[256];
    uint8_t b[256];
} QopHistMap;
typedef QopHistMap QopHistMap_t;

/* 2-D affine transform mapping (x, y) to (t0 x + t1 y + t2, t3 x + t4 y + t5). */
typedef double QopTransform_t[6];

typedef struct QopBitmapCoord {
    float x;
    float y;
} QopBitmapCoord;
typedef QopBitmapCoord QopBitmapCoord_t;

/* Four corners through which the GPU library draws the current image. */
typedef struct QopBitmapResizeRect {
    QopBitmapCoord_t lowerLeft;
    QopBitmapCoord_t lowerRight;
    QopBitmapCoord_t upperRight;
    QopBitmapCoord_t upperLeft;
} QopBitmapResizeRect;
typedef QopBitmapResizeRect QopBitmapResizeRect_t;

/* The parameters every effect and every recipe run receives (see QopEffectInitParams). */
typedef struct QopEffectParams {
    uint32_t seed;
    double intensity;
    bool border;
    double scale;
} QopEffectParams;
typedef QopEffectParams QopEffectParams_t;

typedef struct QopGradientColor {
    QopColor_t color;
    double location;
} QopGradientColor;
typedef QopGradientColor QopGradientColor_t;

typedef struct QopGradientOpacity {
    double opacity;
    double location;
} QopGradientOpacity;
typedef QopGradientOpacity QopGradientOpacity_t;

typedef struct QopGradient {
    QopGradientColor_t *color;
    QopGradientOpacity_t *opacity;
    size_t colorLength;
    size_t opacityLength;
} QopGradient;
typedef QopGradient QopGradient_t;

typedef struct QopVersion {
    int major;
    int minor;
    int patch;
} QopVersion;
typedef QopVersion QopVersion_t;

typedef struct QLPLVersion {
    int major;
    int minor;
    int patch;
} QLPLVersion;
typedef QLPLVersion QopLiteProclistVersion_t;

#ifdef __cplusplus
}
#endif
