/* QopRandom.h: the library's own seeded generator (state = state x 69069 + 1 mod 2^32), its
 * float distributions, and one-dimensional midpoint-displacement lines. Every random decision of
 * the library goes through it, so one seed always gives one picture. */
#pragma once

#include "QopLite/QopTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct QopRNG {
    uint32_t _seed;  /* the seed last set */
    uint64_t _state; /* only the low 32 bits are ever non-zero */
} QopRNG;
typedef QopRNG QopRNG_t;

typedef enum QopMPDType {
    QopMPDUniform = 0,
    QopMPDNormal = 1,
    QopMPDLaplace = 2
} QopMPDType;
typedef QopMPDType QopMPDType_t;

void QopRNGSeed(QopRNG_t *rng, uint32_t seed);
/* Seeds from the C library's rand(). */
void QopRNGInit(QopRNG_t *rng);
uint32_t QopRNGNextInt(QopRNG_t *rng);
/* seed advanced by the given number of steps. */
uint32_t QopRNGNextSeedN(uint32_t seed, size_t iterations);
/* 0..1; rounding to single precision can give exactly 1.0. */
float QopRNGNextFloat(QopRNG_t *rng);
/* Box-Muller: mean 0, variance 1. */
float QopRNGNextFloatNormal(QopRNG_t *rng);
/* Laplace: mean 0, variance 2; always finite. */
float QopRNGNextFloatLaplace(QopRNG_t *rng);

/* Fills line[min..max] by midpoint displacement between the caller's end values. The three
 * differ only in the generator: seeded by rand(), by seed, or the caller's (which advances). */
void QopMPD(float *line, int min, int max, float amp, float h, QopMPDType_t type);
void QopMPDSeed(float *line, int min, int max, float amp, float h, QopMPDType_t type, uint32_t seed);
void QopMPDRNG(float *line, int min, int max, float amp, float h, QopMPDType_t type, QopRNG_t *rng);

#ifdef __cplusplus
}
#endif
