// Colour models of one pixel: RGB to and from HSL, and RGB to HSV. Single-precision float
// throughout, with 0.5 added before each truncation to a byte.
#include "QopLite/QopColor.h"

#include <cstdio>

namespace {

inline uint8_t roundToByte(float v)
{
    float f = v * 255.0f + 0.5f;
    if (!(f >= 0.0f))
        return 0;
    if (f >= 255.0f)
        return 255;
    return static_cast<uint8_t>(static_cast<int>(f));
}

} // namespace

extern "C" {

void QopColorRGB2HSL(const QopColor_t *in, QopColor_hsl *out)
{
    float r = in->r / 255.0f;
    float g = in->g / 255.0f;
    float b = in->b / 255.0f;
    float max = r > g ? r : g;
    max = max > b ? max : b;
    float min = r < g ? r : g;
    min = min < b ? min : b;
    float l = (max + min) / 2.0f;
    float h = 0.0f, s = 0.0f;
    if (max != min) {
        float delta = max - min;
        s = l > 0.5f ? delta / (2.0f - max - min) : delta / (max + min);
        if (max == r)
            h = (g - b) / delta + (g < b ? 6.0f : 0.0f);
        else if (max == g)
            h = (b - r) / delta + 2.0f;
        else
            h = (r - g) / delta + 4.0f;
        h /= 6.0f;
    }
    out->h = h;
    out->s = s;
    out->l = l;
}

void QopColorHSL2RGB(const QopColor_hsl *in, QopColor_t *out)
{
    float hPrime = 6.0f * in->h;
    float chroma = 2.0f * in->s * (in->l <= 0.5f ? in->l : 1.0f - in->l);
    float r = 0.0f, g = 0.0f, b = 0.0f;
    // The sector is chosen before reducing h' mod 2: a hue far out of range (or infinite) would
    // otherwise keep the repeated subtraction running for ever, and its result is unused there.
    if (hPrime <= 6.0f) {
        float hMod2 = hPrime;
        while (hMod2 >= 2.0f)
            hMod2 -= 2.0f;
        float dist = hMod2 - 1.0f;
        float q = chroma * (1.0f - (dist < 0.0f ? -dist : dist));
        if (hPrime < 1.0f) {
            r = chroma, g = q;
        } else if (hPrime < 2.0f) {
            r = q, g = chroma;
        } else if (hPrime < 3.0f) {
            g = chroma, b = q;
        } else if (hPrime < 4.0f) {
            g = q, b = chroma;
        } else if (hPrime < 5.0f) {
            r = q, b = chroma;
        } else {
            r = chroma, b = q;
        }
    } else {
        std::printf("There was an error in QopColorHSL2RGB...The hPrime value was more than 6 somehow.\n");
    }
    float m = in->l - chroma / 2.0f;
    out->r = roundToByte(r + m);
    out->g = roundToByte(g + m);
    out->b = roundToByte(b + m);
    out->a = 255;
}

void QopColorRGB2HSV(const QopColor_t *in, QopColor_hsv *out)
{
    int r = in->r, g = in->g, b = in->b;
    int max = r > g ? r : g;
    max = max > b ? max : b;
    int min = r < g ? r : g;
    min = min < b ? min : b;
    if (max == 0) {
        out->h = out->s = out->v = 0.0f;
        return;
    }
    int delta = max - min;
    out->v = static_cast<float>(max);
    if (delta == 0) {
        out->h = out->s = 0.0f;
        return;
    }
    float d = static_cast<float>(delta);
    float h;
    if (max == r)
        h = static_cast<float>(g - b) / d;
    else if (max == g)
        h = static_cast<float>(b - r) / d + 2.0f;
    else
        h = static_cast<float>(r - g) / d + 4.0f;
    h *= 60.0f;
    if (h < 0.0f)
        h += 360.0f;
    out->h = h;
    out->s = d / static_cast<float>(max);
}

}
