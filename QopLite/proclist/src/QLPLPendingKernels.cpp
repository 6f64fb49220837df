// Placeholder bodies for the kernels that the recipe runner dispatches to but whose families
// (border engine, legacy borders and operations, flares, gradient map) have not landed in the
// library yet. Each placeholder does nothing and is listed in kPendingKernels, so the processor
// that would call it fails instead of silently succeeding.
//
// When a family lands: delete its placeholders and their names below. When the list is empty,
// delete this file and QLPLPendingKernels.h together with the QLPLKernelIsPending checks.
#include "QLPLPendingKernels.h"

#include "QopLite/QopBorders.h"
#include "QopLite/QopFlare.h"
#include "QopLite/QopGradientMap.h"
#include "QopLite/QopLegacy.h"
#include "QopLite/QopLegacyBorders.h"

#include <cstring>

bool QLPLKernelIsPending(const char *kernelName)
{
    static const char *const kPendingKernels[] = {
        "QopFlareLegacyIthaca", "QopFlareLegacySunburn",
        "QopLegacyPellarTintypeColorMatrixTransform", "QopLegacyPellarVintageColorMatrixTransform",
        "QopLegacyPellarTintypeDiamondSquare", "QopLegacySarnithGrittySBSat", "QopLegacySarnithGrittyDots",
        "QopLegacySarnithBWSBSat", "QopLegacySarnithCinematicSBSat",
        "QopEffectSanCarmenBorder", "QopEffectTamBrewBorder", "QopEffectVexaBorder", "QopEffectSingeBorder",
        "QopEffectAquaBorder", "QopEffectThreshBorder", "QopEffectEdgewoodBorder", "QopEffectPurpleBorder",
        "QopEffectCherryBorder", "QopEffectCrossprocessBorder", "QopEffectFadedBorder", "QopEffectIthacaBorder",
        "QopEffectSunburnBorder", "QopEffectEarthyBorder", "QopEffectSolarBorder", "QopEffectOldThreshBorder",
        "QopEffectTovaquinbelBorder", "QopEffectBrownieBorder", "QopEffectOrcaBorder", "QopEffectChronoBorder",
        "QopEffectTitanBorder", "QopEffectCabanaBorder", "QoeEffectBordeauxBorder", "QopEffectCovertBorder",
        "QopEffectPellarBWBorder", "QopEffectPellarTintypeBorder",
    };
    for (const char *pending : kPendingKernels) {
        if (std::strcmp(pending, kernelName) == 0)
            return true;
    }
    return false;
}

extern "C" {

void QopFlareLegacyIthaca(QopBitmap_t *, QopEffectParams_t *) {}
void QopFlareLegacySunburn(QopBitmap_t *, QopEffectParams_t *) {}
void QopLegacyPellarTintypeColorMatrixTransform(QopBitmap_t *, QopEffectParams_t *) {}
void QopLegacyPellarVintageColorMatrixTransform(QopBitmap_t *, QopEffectParams_t *) {}
void QopLegacyPellarTintypeDiamondSquare(QopBitmap_t *, QopEffectParams_t *) {}
void QopLegacySarnithGrittySBSat(QopBitmap_t *, QopEffectParams_t *) {}
void QopLegacySarnithGrittyDots(QopBitmap_t *, QopEffectParams_t *) {}
void QopLegacySarnithBWSBSat(QopBitmap_t *, QopEffectParams_t *) {}
void QopLegacySarnithCinematicSBSat(QopBitmap_t *, QopEffectParams_t *) {}

void QopEffectSanCarmenBorder(QopBitmap_t *, QopEffectParams_t *) {}
void QopEffectTamBrewBorder(QopBitmap_t *, QopEffectParams_t *) {}
void QopEffectVexaBorder(QopBitmap_t *, QopEffectParams_t *) {}
void QopEffectSingeBorder(QopBitmap_t *, QopEffectParams_t *) {}
void QopEffectAquaBorder(QopBitmap_t *, QopEffectParams_t *) {}
void QopEffectThreshBorder(QopBitmap_t *, QopEffectParams_t *) {}
void QopEffectEdgewoodBorder(QopBitmap_t *, QopEffectParams_t *) {}
void QopEffectPurpleBorder(QopBitmap_t *, QopEffectParams_t *) {}
void QopEffectCherryBorder(QopBitmap_t *, QopEffectParams_t *) {}
void QopEffectCrossprocessBorder(QopBitmap_t *, QopEffectParams_t *) {}
void QopEffectFadedBorder(QopBitmap_t *, QopEffectParams_t *) {}
void QopEffectIthacaBorder(QopBitmap_t *, QopEffectParams_t *) {}
void QopEffectSunburnBorder(QopBitmap_t *, QopEffectParams_t *) {}
void QopEffectEarthyBorder(QopBitmap_t *, QopEffectParams_t *) {}
void QopEffectSolarBorder(QopBitmap_t *, QopEffectParams_t *) {}
void QopEffectOldThreshBorder(QopBitmap_t *, QopEffectParams_t *) {}
void QopEffectTovaquinbelBorder(QopBitmap_t *, QopEffectParams_t *) {}
void QopEffectBrownieBorder(QopBitmap_t *, QopEffectParams_t *) {}
void QopEffectOrcaBorder(QopBitmap_t *, QopEffectParams_t *) {}
void QopEffectChronoBorder(QopBitmap_t *, QopEffectParams_t *) {}
void QopEffectTitanBorder(QopBitmap_t *, QopEffectParams_t *) {}
void QopEffectCabanaBorder(QopBitmap_t *, QopEffectParams_t *) {}
void QoeEffectBordeauxBorder(QopBitmap_t *, QopEffectParams_t *) {}
void QopEffectCovertBorder(QopBitmap_t *, QopEffectParams_t *) {}
void QopEffectPellarBWBorder(QopBitmap_t *, QopEffectParams_t *) {}
void QopEffectPellarTintypeBorder(QopBitmap_t *, QopEffectParams_t *) {}

}
