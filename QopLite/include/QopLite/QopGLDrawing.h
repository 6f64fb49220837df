/* QopGLDrawing.h: freehand drawing strokes on the GPU. Between begin and end, each stroke is drawn
 * as a chain of filled circles into a transparent layer; the end softens the layer's edges and
 * puts the image behind it. Points are (x, y) pairs in clip space (-1..1 over the image), line
 * widths in pixels. */
#pragma once
#include "QopLite/QopGLData.h"
#include "QopLite/QopTypes.h"
#ifdef __cplusplus
extern "C" {
#endif

/* Begins an effect on the bitmap and a cleared, transparent stroke layer. */
void QopGLBeginDrawingEffect(QopBitmap_t *bitmap);
/* One stroke of pointCount points: circles along straight half-stretches at both ends and
 * quadratic Bezier joins through the midpoints between. Nothing for pointCount < 1 or a
 * non-positive (or NaN) width; widths below 1/8 pixel draw as 1/8. */
void QopGLDrawStrokeWithPoints(QopBitmap_t *bitmap, const float *points, int pointCount, float lineWidth,
                               const QopColor_rgba *color);
/* Antialiases the stroke layer, draws the image behind it and finishes the effect. */
void QopGLEndDrawingEffect(QopBitmap_t *bitmap);
/* One filled circle (a 51-vertex fan) of diameter radius pixels at a clip-space point. */
void drawCircle(QopBitmap_t *bitmap, float pointX, float pointY, float radius);
/* Circles for one stretch: its length in pixels over radius x separationConst, plus 1, rounded up;
 * at least 3. */
int numCirclesToDrawBetweenPoints(QopBitmap_t *bitmap, float point1X, float point1Y, float point2X, float point2Y,
                                  float radius, float separationConst);
/* 2 sqrt(1 - ((lineWidth - 0.125) / lineWidth)^2): the spacing of circles, as a fraction of the
 * width, at which the chord between neighbours stays within 1/8 pixel of the rim. */
float getSeparationConstant(float lineWidth);
/* One point of the quadratic Bezier curve from point1 to point2 with control point controlPoint,
 * at step (0..1); the stroke code does not use it. */
void bezierPoint(const float *controlPoint, const float *point1, const float *point2, float step, float *bezierPointY,
                 float *bezierPointX);

#ifdef __cplusplus
}
#endif
