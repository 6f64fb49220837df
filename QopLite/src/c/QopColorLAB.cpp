// CIE L*a*b* of one pixel, scaled to bytes (L 0..255, a and b centred on 127), and back. The
// sRGB curve and the cube root come from fixed tables, so no pow is called per pixel.
#include "QopLite/QopColor.h"
#include "QopLite/QopColorTables.h"

#include "QopClampedInt.h"

#include <cmath>

namespace {

using qop_internal::truncatedByte;

// Linear RGB (0..100 per channel) to XYZ with the D65 white point divided out and the 0..100
// range scaled away, so that white is (1, 1, 1).
struct XYZ {
    double x, y, z;
};

inline XYZ linearToXYZ(const QopColor_t *color, const float *toLinear)
{
    double r = toLinear[color->r], g = toLinear[color->g], b = toLinear[color->b];
    return {0.00433891 * r + 0.00376234915 * g + 0.0018990604648 * b,
            0.002126 * r + 0.007152 * g + 0.000722 * b,
            0.000177255 * r + 0.00109475308 * g + 0.0087295537 * b};
}

constexpr double kLinearSlope = 7.787;
constexpr double kLinearOffset = 16.0 / 116.0;
constexpr double kLinearLimit = 0.008856;

// The cube root through the 1024-entry table. The index is t x 1024 although the entries are
// spaced by 1/1023; that small offset is part of the defined results, so it stays.
inline double labFTable(double t)
{
    if (t <= kLinearLimit)
        return kLinearSlope * t + kLinearOffset;
    if (t >= 1.0)
        return 1.0;
    return QopCubeRootTable[static_cast<int>(t * 1024.0)];
}

inline double labFExact(double t)
{
    if (t <= kLinearLimit)
        return kLinearSlope * t + kLinearOffset;
    return std::cbrt(static_cast<float>(t));
}

inline void labFromF(double fx, double fy, double fz, double *l, double *a, double *b)
{
    *l = (116.0 * fy - 16.0) * 2.55;
    *a = 500.0 * (fx - fy) + 127.0;
    *b = 200.0 * (fy - fz) + 127.0;
}

inline void storeLAB(QopColor_t *color, double l, double a, double b)
{
    color->r = truncatedByte(l);
    color->g = truncatedByte(a);
    color->b = truncatedByte(b);
}

inline float labFInverse(float f)
{
    float cube = f * f * f;
    return cube > 0.008856f ? cube : (f - 0.13793103f) / 7.787f;
}

inline uint8_t linearToByte(float v)
{
    if (!(v > 0.0f))
        return 0;
    if (v >= 1.0f)
        return 255;
    return static_cast<uint8_t>(static_cast<int>(QopLinearToSRGBTable[static_cast<int>(v * 1024.0f)] * 255.0f + 0.5f));
}

} // namespace

extern "C" {

void QopColorRGB2LABDoublesWithCbrtMapping(const QopColor_t *color, double *l, double *a, double *b)
{
    XYZ c = linearToXYZ(color, QopSRGBToLinearTable);
    labFromF(labFTable(c.x), labFTable(c.y), labFTable(c.z), l, a, b);
}

void QopColorRGB2LABDoublesWithMapping(const QopColor_t *color, double *l, double *a, double *b,
                                       const float *rgb2labMapping)
{
    XYZ c = linearToXYZ(color, rgb2labMapping);
    labFromF(labFExact(c.x), labFExact(c.y), labFExact(c.z), l, a, b);
}

void QopColorRGB2LAB(QopColor_t *color)
{
    double l, a, b;
    QopColorRGB2LABDoublesWithCbrtMapping(color, &l, &a, &b);
    storeLAB(color, l, a, b);
}

void QopColorRGB2LABWithMapping(QopColor_t *color, const float *rgb2labMapping)
{
    double l, a, b;
    QopColorRGB2LABDoublesWithMapping(color, &l, &a, &b, rgb2labMapping);
    storeLAB(color, l, a, b);
}

// Both tables are computed in double and rounded once to float, exactly as the fixed tables
// are generated, so a caller's table equals the library's.
void QopColorRGB2LABInitMapping(float *rgb2labMapping)
{
    for (int i = 0; i < 256; ++i) {
        double x = i / 255.0;
        double v = x <= 0.04045 ? 100.0 * x / 12.92 : 100.0 * std::pow((x + 0.055) / 1.055, 2.4);
        rgb2labMapping[i] = static_cast<float>(v);
    }
}

void QopColorRGB2LABInitMappingCbrt(float *cbrtMapping)
{
    for (int i = 0; i < 1024; ++i)
        cbrtMapping[i] = static_cast<float>(std::pow(i / 1023.0, 1.0 / 3.0));
}

void QopColorLAB2RGBScaled(QopColor_t *color, double scaleL, double scaleA, double scaleB)
{
    double lightness = color->r * scaleL / 2.55;
    double aStar = color->g * scaleA - 127.0;
    double bStar = color->b * scaleB - 127.0;
    double fyD = (lightness + 16.0) / 116.0;
    float fy = static_cast<float>(fyD);
    float fx = static_cast<float>(fyD + aStar / 500.0);
    float fz = static_cast<float>(fyD - bStar / 200.0);
    float x = labFInverse(fx) * 0.95047f;
    float y = labFInverse(fy);
    float z = labFInverse(fz) * 1.08883f;
    color->r = linearToByte(3.2406f * x - 1.5372f * y - 0.4986f * z);
    color->g = linearToByte(-0.9689f * x + 1.8758f * y + 0.0415f * z);
    color->b = linearToByte(0.0557f * x - 0.2040f * y + 1.0570f * z);
}

void QopColorLAB2RGB(QopColor_t *color) { QopColorLAB2RGBScaled(color, 1.0, 1.0, 1.0); }

}
