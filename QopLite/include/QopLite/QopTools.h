/* QopTools.h: the brush and focus tools (colour splash, tilt-shift, blemish, red-eye, whiten) on
 * the CPU - the processed copy, the mask painted dab by dab, the preview and full-size blends -
 * and the single-slider adjustments (brightness, contrast, saturation, warmth, sharpness) with
 * their combined form.
 *
 * A CPU mask is a bitmap whose alpha byte is the mask value: 255 shows the processed copy, 0 the
 * image. The tools read and write only that byte. See QopMask.h for the dab and focus kernels and
 * QopGLMask.h for the GPU masks the preview paints. */
#pragma once
#include "QopLite/QopTypes.h"
#ifdef __cplusplus
extern "C" {
#endif

typedef enum QopToolType {
    QopToolTypeNone = 0,
    QopToolTypeColorSplash = 1,
    QopToolTypeTiltShift = 2,
    QopToolTypeBlemish = 3,
    QopToolTypeRedEye = 4,
    QopToolTypeWhiten = 5
} QopToolType;
typedef QopToolType QopToolType_t;

typedef enum QopToolColorSplashBrushMode {
    QopToolColorSplashBrushModeNone = 0,
    QopToolColorSplashBrushModeSmart = 1,
    QopToolColorSplashBrushModeFree = 2,
    QopToolColorSplashBrushModeErase = 3
} QopToolColorSplashBrushMode;
typedef QopToolColorSplashBrushMode QopToolColorSplashBrushMode_t;

typedef enum QopToolTiltShiftMode {
    QopToolTiltShiftModeNone = 0,
    QopToolTiltShiftModeRadial = 1,
    QopToolTiltShiftModeLinear = 2
} QopToolTiltShiftMode;
typedef QopToolTiltShiftMode QopToolTiltShiftMode_t;

/* One brush dab or focus: positions and sizes in pixels of the bitmap. */
typedef struct QopToolDrawParams {
    QopToolType_t toolType;
    double x;
    double y;
    double radius;     /* dab radius, or the tilt-shift sigma */
    QopColor_rgba color; /* reference colour of a smart dab */
    bool isFirstDraw;  /* the caller's; the kernels do not read it */
    QopToolColorSplashBrushMode_t colorSplashBrushMode;
    QopToolTiltShiftMode_t tiltShiftMode;
    double angle;      /* linear tilt-shift, degrees */
    double alpha;      /* dab strength of the blemish, red-eye and whiten brushes */
    bool tiltShiftTestMask; /* tilt-shift shows pure red through the mask instead of a blur */
    double scaleX;     /* the caller's; the kernels do not read them */
    double scaleY;
} QopToolDrawParams;
typedef QopToolDrawParams QopToolDrawParams_t;

/* Tool None at (0, 0), radius 0, white, first draw, no modes, angle 0, alpha 1, no test mask,
 * scales 1. Returns params. */
QopToolDrawParams_t *QopToolDrawParamsInit(QopToolDrawParams_t *params);
/* The processed copy into tmpBitmap (built by the caller at the bitmap's size) and the mask's
 * starting value: colour splash desaturates and sets the mask to 255; red-eye and whiten run their
 * kernels; tilt-shift and blemish blur (tilt-shift shows red with its test mask); the others clear
 * the mask. Nothing for tool types outside 1..5; stops when the copy fails. */
void QopToolInit(QopBitmap_t *bitmap, QopBitmap_t *tmpBitmap, QopBitmap_t *mask, QopToolDrawParams_t *params);
/* One dab into the mask (the bitmap gives the colours a smart dab compares against), or the whole
 * tilt-shift mask. Nothing for other tool types or a mode None. */
void QopToolDraw(QopBitmap_t *bitmap, QopBitmap_t *mask, QopToolDrawParams_t *params);
/* preview = (tmp m + src (255 - m) + 127) >> 8 per channel, m the mask alpha; the preview's alpha
 * is kept. The box is normalised and clamped to the image; nothing unless all four sizes match. */
void QopToolRenderPreview(QopBitmap_t *bitmapPreview, QopBitmap_t *srcBitmap, QopBitmap_t *tmpBitmap,
                          QopBitmap_t *mask);
void QopToolRenderPreviewBox(QopBitmap_t *bitmapPreview, QopBitmap_t *srcBitmap, QopBitmap_t *tmpBitmap,
                             QopBitmap_t *mask, int x1, int y1, int x2, int y2);
/* Full size: a processed copy of the bitmap blended over it through the (stretched) mask. */
void QopToolRenderHiRes(QopBitmap_t *bitmap, QopBitmap_t *mask, QopToolDrawParams_t *params);

/* Red-eye: for each pixel of src with r >= g + b, bitmap's red becomes round((g + b) / 2); all else
 * in bitmap is left. Nothing when the sizes differ. */
void QopRedEye(QopBitmap_t *bitmap, QopBitmap_t *src);
/* Whitening in place: slightly red, yellowish pixels are lightened and lose yellow (up to 65 % at
 * a* = 132, b* = 140 in the library's L*a*b* bytes); neutral pixels keep their colour. */
void QopWhiten(QopBitmap_t *src);

/* The adjustments: each is one effect (one CPU loop or GPU pass per step). Values are clamped to
 * -100..100 except warmth. Brightness below 0 is a gamma (-100: 2), above 0 a scale of
 * 1 + 0.6 v / 100; contrast is the S-curve with f = 3.1^(v / 100); saturation scales by 1 + v / 100;
 * warmth is eased ((1 - cos(pi v / 200)) x 100) and raises red and lowers green and blue (cool values
 * the reverse); sharpness is the box-hybrid filter (negative softens). */
void QopToolBrightness(QopBitmap_t *bitmap, double value);
void QopToolContrast(QopBitmap_t *bitmap, double value);
void QopToolSaturation(QopBitmap_t *bitmap, double value);
void QopToolWarmth(QopBitmap_t *bitmap, double value);
void QopToolSharpness(QopBitmap_t *bitmap, double value);
/* Brightness, contrast and warmth composed into one lookup table, then the saturation matrix: the
 * same image as the four single adjustments in that order, in two passes on the GPU. */
void QopToolAdjustBrightnessContrastWarmthSaturation(QopBitmap_t *bitmap, double brightness, double contrast,
                                                     double warmth, double saturation);

#ifdef __cplusplus
}
#endif
