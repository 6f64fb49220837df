/* QopGLEnhance.h: GPU passes of the automatic corrections: the colour-model conversions, the
 * auto-enhance factor pass, and clarity (local contrast through local grey averages). */
#pragma once

#include "QopLite/QopGLData.h"
#include "QopLite/QopTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

/* r, g, b replaced by L*a*b* bytes (as QopColorRGB2LAB) and back (as QopColorLAB2RGBScaled with
 * scales 1, scaleA, scaleB). */
void QopGLConvertRGBTOLAB(QopBitmap_t *bitmap);
void QopGLConvertLABToRGB(QopBitmap_t *bitmap, float scaleA, float scaleB);

/* The auto-enhance pass: each pixel brightened by mapF at its luminance (256 factors), mixed at
 * gain, then each channel shifted by its min and scaled. rMin, gMin and bMin are on the 0..255
 * scale. Nothing for an empty bitmap. */
void QopGLAutoEnhance(QopBitmap_t *bitmap, float gain, float rScale, float gScale, float bScale, float rMin,
                      float gMin, float bMin, const float *mapF);

/* Clarity: the tone table's effect on the local grey average (box of radius dWindow) added to each
 * pixel at gain, and the pixel sharpened against its local average at sharpenAmount. Processing
 * textures, texture units and readTexture are as before, with the result in readTexture. */
void QopGLApplyClarity(QopBitmap_t *bitmap, const QopHistMap_t *histMap, int dWindow, float gain,
                       float sharpenAmount);
/* The grey local average (box of width 2 winSize + 1) of inTexture into outTexture, using
 * spareTexture as scratch; spareTexture and outTexture are the processing pair afterwards. */
void QopGLAvgGrayImage(QopBitmap_t *bitmap, GLuint inTexture, GLuint spareTexture, GLuint outTexture, int winSize);

#ifdef __cplusplus
}
#endif
