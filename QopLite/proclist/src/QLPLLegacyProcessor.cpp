// The "legacyProcessor": one fixed operation of the older effects, chosen by its legacy name.
#include "QLPLJSONValues.h"
#include "QopLite/QLPL.h"
#include "QopLite/QopLegacy.h"
#include "QopLite/QopLegacyBorders.h"

namespace {

using QLPLLegacyOperation = void (*)(QopBitmap_t *bitmap, QopEffectParams_t *params);

// legacyName (matched exactly); whether the effect's border flag gates it (a gated operation
// with the flag off succeeds without drawing); the operation.
struct QLPLLegacyEntry {
    const char *legacyName;
    bool borderGated;
    QLPLLegacyOperation run;
};

#define QLPL_LEGACY(legacyName, gated, fn) {legacyName, gated, fn}

const QLPLLegacyEntry kLegacyOperations[] = {
    QLPL_LEGACY("san_carmenBorder", true, QopEffectSanCarmenBorder),
    QLPL_LEGACY("tam_brewBorder", true, QopEffectTamBrewBorder),
    QLPL_LEGACY("vexaBorder", true, QopEffectVexaBorder),
    QLPL_LEGACY("singeBorder", true, QopEffectSingeBorder),
    QLPL_LEGACY("aquaBorder", true, QopEffectAquaBorder),
    QLPL_LEGACY("threshBorder", true, QopEffectThreshBorder),
    QLPL_LEGACY("edgewoodBorder", true, QopEffectEdgewoodBorder),
    QLPL_LEGACY("purpleBorder", true, QopEffectPurpleBorder),
    QLPL_LEGACY("cherryBorder", true, QopEffectCherryBorder),
    QLPL_LEGACY("cross_processBorder", true, QopEffectCrossprocessBorder),
    QLPL_LEGACY("fadedBorder", true, QopEffectFadedBorder),
    QLPL_LEGACY("ithacaBorder", true, QopEffectIthacaBorder),
    QLPL_LEGACY("sunburnBorder", true, QopEffectSunburnBorder),
    QLPL_LEGACY("earthyBorder", true, QopEffectEarthyBorder),
    QLPL_LEGACY("solarBorder", true, QopEffectSolarBorder),
    QLPL_LEGACY("old_threshBorder", true, QopEffectOldThreshBorder),
    QLPL_LEGACY("tova_quinbelBorder", true, QopEffectTovaquinbelBorder),
    QLPL_LEGACY("brownieBorder", true, QopEffectBrownieBorder),
    QLPL_LEGACY("orcaBorder", true, QopEffectOrcaBorder),
    QLPL_LEGACY("chronoBorder", true, QopEffectChronoBorder),
    QLPL_LEGACY("titanBorder", true, QopEffectTitanBorder),
    QLPL_LEGACY("cabanaBorder", true, QopEffectCabanaBorder),
    QLPL_LEGACY("bordeauxBorder", true, QoeEffectBordeauxBorder),
    QLPL_LEGACY("covertBorder", true, QopEffectCovertBorder),
    QLPL_LEGACY("ithacaFlare", false, QopFlareLegacyIthaca),
    QLPL_LEGACY("sunburnFlare", false, QopFlareLegacySunburn),
    QLPL_LEGACY("soft_focus", false, QopLegacySoftFocus),
    QLPL_LEGACY("san_carmenAutoColors", false, QopLegacySanCarmenAutoColors),
    QLPL_LEGACY("pellarBWBorder", false, QopEffectPellarBWBorder),
    QLPL_LEGACY("pellarTintypeBorder", false, QopEffectPellarTintypeBorder),
    QLPL_LEGACY("pellarTintypeColorMatrixTransform", false, QopLegacyPellarTintypeColorMatrixTransform),
    QLPL_LEGACY("pellarTintypeDiamondSquare", false, QopLegacyPellarTintypeDiamondSquare),
    QLPL_LEGACY("pellarVintageColorMatrixTransform", false, QopLegacyPellarVintageColorMatrixTransform),
    QLPL_LEGACY("sarnithGrittySBSat", false, QopLegacySarnithGrittySBSat),
    QLPL_LEGACY("sarnithGrittyDots", false, QopLegacySarnithGrittyDots),
    QLPL_LEGACY("sarnithBWSBSat", false, QopLegacySarnithBWSBSat),
    QLPL_LEGACY("sarnithCinematicSBSat", false, QopLegacySarnithCinematicSBSat),
    QLPL_LEGACY("clarityEnhance", false, QopEnhanceClarity),
};

#undef QLPL_LEGACY

} // namespace

extern "C" bool QLPLRunLegacyProcessor(yajl_val parameters, QopBitmap_t *bitmap, QopEffectParams_t *effectParams)
{
    const char *legacyName = QLPLStringMember(parameters, "legacyName");
    if (legacyName == nullptr)
        return false;
    for (const QLPLLegacyEntry &entry : kLegacyOperations) {
        if (!QLPLStringIs(legacyName, entry.legacyName))
            continue;
        if (entry.borderGated && !effectParams->border)
            return true;
        entry.run(bitmap, effectParams);
        return true;
    }
    return false;
}
