/* QopDotMatrix.h: the small drawing primitives of the camera read-outs and grunge frames: LED-style
 * dot-matrix text, anti-aliased thick line segments and soft round dots. Each draws on the pixels,
 * or over the current GPU result when the bitmap carries a GPU record. */
#pragma once

#include "QopLite/QopTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The 56 characters the dot matrix knows, in glyph order; byte 0xB0 is the degree sign. Position 0
 * (the space) and any character not listed draw nothing but still take one cell. */
extern const char QopDotMatrixKeys[57];
/* Glyph k: seven rows (top first) of seven cells (left first), '#' where a dot is drawn. */
extern const char QopDotMatrixGlyphs[56][7][8];

/* Draws strLength characters of str. (dx, dy) anchors the text in normalised image coordinates
 * (-1 left/top ... +1 right/bottom); dr is the dot radius in units of half the image width and
 * drr x dr the distance between dot centres; charOff shifts the text by whole characters (negative
 * values right-align or centre it); angle turns the text about its anchor (radians). */
void QopDotMatrix(QopBitmap_t *bitmap, const char *str, int strLength, const QopColor_t *color, float dr, float dx,
                  float dy, float charOff, float drr, float angle);
/* One soft dot on the CPU: centre (a + (dx + dOffx) a, H/2 + dy a + dOffy H/2) with a = W/2, so the
 * dot offset is in half-width units and the anchor in half-height units. */
void QopDotMatrixDot(QopBitmap_t *bitmap, const QopColor_t *color, float dr, float dx, float dy, float fScale,
                     float dsx, float dsy, float dOffx, float dOffy);

/* An anti-aliased segment of half-width r with a 2-pixel soft rim, in pixel coordinates, laid on
 * in the colour at its alpha. A segment of length 0 draws a round dot of radius r. */
void QopDrawLine(QopBitmap_t *bitmap, const QopColor_t *color, double x1, double y1, double x2, double y2, double r);

#ifdef __cplusplus
}
#endif
