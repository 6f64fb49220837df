/* QopGLMask.h: the GPU masks the brush and focus tools paint in the preview (mask textures, focus
 * fills, brush dots), the GPU whiten and red-eye passes, and the preprocessors that render a
 * processed image once for a brush session.
 *
 * A GPU mask is an RGBA texture (NEAREST, clamped) whose values run 0..1; it is set where brush
 * dots are painted and away from a focus, and the masked redraws of QopGLBitmapBlend.h show the
 * processed image there. The mask calls render into the mask by lending it the write target and
 * the image size for one pass; they leave the image's textures, the read/write pair and the size
 * as they found them. */
#pragma once
#include "QopLite/QopGLData.h"
#include "QopLite/QopTypes.h"
#ifdef __cplusplus
extern "C" {
#endif

typedef enum QopGLMaskType {
    QopGLMaskTypeNormal = 0, /* plain brush dots */
    QopGLMaskTypeSplash = 1  /* dots weighted by the colour similarity of the source image */
} QopGLMaskType;

/* A new sizeX x sizeY mask texture, cleared to 0 (nothing painted), in *maskID; 0 for a zero or too
 * large size. */
void QopGLMaskCreate(GLuint *maskID, int sizeX, int sizeY, QopGLData_t *glData);
/* Deletes the mask; 0 is ignored. */
void QopGLMaskDestroy(GLuint maskID);
/* The whole focus mask (width x height, the mask's size), as the CPU masks compute it (angle in
 * radians for the linear one). */
void QopGLMaskFillRadial(GLuint maskID, int width, int height, double posX, double posY, double sigmaR,
                         QopGLData_t *glData);
void QopGLMaskFillLinear(GLuint maskID, int width, int height, double posX, double posY, double sigmaR, double angle,
                         QopGLData_t *glData);
/* positionsLength / 2 brush dots at (x, y) pairs relative to the mask (0..1), each the CPU dab
 * (radius sigmaR, strength alpha; Splash also weighs the source image's colour against color with
 * sigmaC), added to the mask, or taken away when erase. An unknown type prints "Error, invalid GL
 * Mask Type" and draws nothing. */
void QopGLMaskAddPoints(GLuint maskID, int width, int height, float *positions, int positionsLength, float sigmaR,
                        float sigmaC, float alpha, QopGLMaskType type, const QopColor_rgba *color, bool erase,
                        QopGLData_t *glData);
/* Lends the mask the write target and its size for the following passes, keeping the record's
 * values in the three cached ones; QopGLUnsetMaskActive puts them back. */
void QopGLSetMaskActive(GLuint maskID, int width, int height, GLuint *cachedWriteTex, int *cachedWidth,
                        int *cachedHeight, QopGLData_t *glData);
void QopGLUnsetMaskActive(GLuint cachedWriteTex, int cachedWidth, int cachedHeight, QopGLData_t *glData);

/* One full-image pass of the whiten or red-eye program (the CPU kernels QopWhiten and QopRedEye). */
void QopGLWhiten(QopBitmap_t *bitmap);
void QopGLRedeye(QopBitmap_t *bitmap);

/* Render the processed image of a brush tool once (whitened, red-eye corrected, or desaturated)
 * and return its texture in *texID; call with no effect open. The rendering mode is restored.
 * QopMaskEffectDesaturateProcess then begins a new effect on the bitmap, which the brush's masked
 * redraw finishes. Nothing for a bitmap without GPU data. */
void QopMaskEffectWhiten(QopBitmap_t *bitmap, GLuint *texID);
void QopMaskEffectRedeye(QopBitmap_t *bitmap, GLuint *texID);
void QopMaskEffectDesaturateProcess(QopBitmap_t *bitmap, GLuint *texID);

#ifdef __cplusplus
}
#endif
