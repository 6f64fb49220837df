// Fuzz target for the recipe runner: any text is loaded and, when it is a recipe, run on a small
// CPU bitmap. The first two bytes choose the effect's intensity and border flag, so processors
// see intensities of 0, above 1 and below 0 as well as the usual range.
#include "QopLite/QLPL.h"
#include "QopLite/QopAlloc.h"
#include "QopLite/QopBitmap.h"

#include <cstdint>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    static const double kIntensities[] = {1.0, 0.0, 0.6, 2.5, -0.7, 1e-9, 40.0, 0.25};
    QopEffectParams_t params;
    QopEffectInitParams(&params);
    params.intensity = kIntensities[data[0] % 8];
    params.border = (data[0] & 8) != 0;
    params.seed = data[1];
    const std::string text(reinterpret_cast<const char *>(data + 2), size - 2); // NUL-terminated copy

    QopJSONEffect effect = QLPLLoadEffect(text.c_str());
    if (effect == nullptr)
        return 0;
    QopBitmap_t bitmap;
    if (QopBitmapBuild(&bitmap, 7, 5)) {
        for (size_t i = 0; i < 7 * 5; ++i)
            bitmap.data[i] = {static_cast<uint8_t>(i * 37), static_cast<uint8_t>(i * 11 + 90),
                              static_cast<uint8_t>(255 - i * 7), static_cast<uint8_t>(i * 5)};
        QLPLRunEffect(effect, &bitmap, &params);
        QopBitmapFree(&bitmap);
    }
    QLPLUnloadEffect(&effect);
    return 0;
}
