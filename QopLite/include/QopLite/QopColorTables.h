/* QopColorTables.h: the fixed read-only tables of the colour model, generated at build time by
 * QopLite/tools/QopGenerateColorTables.cpp from the rules below. */
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

/* Entry i, x = i/255: 100 x/12.92 when x <= 0.04045, else 100 ((x + 0.055)/1.055)^2.4. */
extern const float QopSRGBToLinearTable[256];
/* Entry i: (i/1023)^(1/3). */
extern const float QopCubeRootTable[1024];
/* Entry i, x = i/1023: 12.92 x when x <= 0.0031308, else 1.055 x^(1/2.4) - 0.055. */
extern const float QopLinearToSRGBTable[1024];

#ifdef __cplusplus
}
#endif
