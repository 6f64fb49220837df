/* QopHistogram.h: colour histograms, their cumulative distributions, and lookup-table helpers. */
#pragma once

#include "QopLite/QopTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct QopHistogram {
    uint32_t r[256];
    uint32_t g[256];
    uint32_t b[256];
} QopHistogram;
typedef QopHistogram QopHistogram_t;

typedef struct QopCDF {
    double r[256];
    double g[256];
    double b[256];
} QopCDF;
typedef QopCDF QopCDF_t;

/* Adds every pixel to hist; the caller zeroes it first. */
void QopHistogramBuild(QopBitmap_t *bitmap, QopHistogram_t *hist);
/* Running sums over the total; an empty channel gives cdf[i] = i/255. */
void QopHistogram2CDFChan(const uint32_t *histChannel, double *cdfChannel);
void QopHistogram2CDF(const QopHistogram_t *hist, QopCDF_t *cdf);
/* The channel value (0..255, interpolated) at which the distribution reaches value. */
double QopCDFINV(const double *cdfChannel, double value);

void QopHistMapSet(QopHistMap_t *map, const uint8_t *r, const uint8_t *g, const uint8_t *b);
void QopHistMapSetIdentity(QopHistMap_t *map);
/* Fades the map toward the identity: alpha 1 keeps it, alpha 0 gives the identity. */
void QopHistMapFade(QopHistMap_t *map, double alpha);
/* histMap followed by map: histMap.r[i] = map.r[histMap.r[i]]. */
void QopHistMapMap(QopHistMap_t *histMap, const QopHistMap_t *map);

#ifdef __cplusplus
}
#endif
