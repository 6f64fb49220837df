// Dot-matrix text on the CPU, and the glyph table the GPU path shares.
#include "QopLite/QopDotMatrix.h"

#include "QopLite/QopAlloc.h"
#include "QopLite/QopGLDotMatrix.h"

#include <algorithm>
#include <cmath>
#include <cstring>

extern "C" {

const char QopDotMatrixKeys[57] = " %&~{}^><:-+./\xB0*|@ABCDEFGHIJKLMNOPQRSTUVWXYZfs1234567890";

const char QopDotMatrixGlyphs[56][7][8] = {
    {".......", ".......", ".......", ".......", ".......", ".......", "......."}, // blank
    {".......", "..###..", ".#####.", ".#####.", ".#####.", "..###..", "......."}, // letterCircle
    {".#####.", ".#####.", ".#####.", ".#####.", ".#####.", ".#####.", ".#####."}, // letterBlock
    {".#####.", ".#####.", ".#####.", ".#.#.#.", ".#.#.#.", ".#.#.#.", ".#.#.#."}, // letterSquigy1
    {"#.#.#.#", "#.#.#.#", "#.#.#.#", "#.#.#.#", ".######", ".######", ".######"}, // letterSquigy2
    {".###.#.", ".###.#.", ".###.#.", ".#.#...", ".#.#...", ".#.#...", ".#.#..."}, // letterSquigy3
    {"...#...", "...#...", "..###..", ".#####.", ".#####.", "#######", "......."}, // letterHat
    {".#.....", ".##....", ".###...", ".####..", ".###...", ".##....", ".#....."}, // letterArrow
    {".....#.", "....##.", "...###.", "..####.", "...###.", "....##.", ".....#."}, // letterArrowL
    {".......", "...#...", ".......", ".......", ".......", "...#...", "......."}, // letterColon
    {".......", ".......", ".......", ".#####.", ".......", ".......", "......."}, // letterDash
    {".......", "...#...", "...#...", ".#####.", "...#...", "...#...", "......."}, // letterPlus
    {".......", ".......", ".......", ".......", ".......", "..##...", "..##..."}, // letterDot
    {".......", ".....#.", "....#..", "...#...", "..#....", ".#.....", "......."}, // letterSlash
    {"..##...", ".#..#..", ".#..#..", "..##...", ".......", ".......", "......."}, // letterDeg
    {".......", ".#...#.", "..#.#..", "...#...", "..#.#..", ".#...#.", "......."}, // letterStar
    {"...#...", "...#...", "...#...", "...#...", "...#...", "...#...", "...#..."}, // letterOr
    {"..###..", "..###..", "..###..", "..###..", "..###..", "..###..", "..###.."}, // letterBar
    {"..###..", ".#...#.", ".#...#.", ".#...#.", ".#####.", ".#...#.", ".#...#."}, // letterA
    {".####..", ".#...#.", ".#...#.", ".####..", ".#...#.", ".#...#.", ".####.."}, // letterB
    {"..###..", ".#...#.", ".#.....", ".#.....", ".#.....", ".#...#.", "..###.."}, // letterC
    {".####..", ".#...#.", ".#...#.", ".#...#.", ".#...#.", ".#...#.", ".####.."}, // letterD
    {".#####.", ".#.....", ".#.....", ".####..", ".#.....", ".#.....", ".#####."}, // letterE
    {".#####.", ".#.....", ".#.....", ".####..", ".#.....", ".#.....", ".#....."}, // letterF
    {"..###..", ".#...#.", ".#.....", ".#.....", ".#.###.", ".#...#.", "..###.."}, // letterG
    {".#...#.", ".#...#.", ".#...#.", ".#####.", ".#...#.", ".#...#.", ".#...#."}, // letterH
    {"..###..", "...#...", "...#...", "...#...", "...#...", "...#...", "..###.."}, // letterI
    {".....#.", ".....#.", ".....#.", ".....#.", ".#...#.", ".#...#.", "..###.."}, // letterJ
    {".#...#.", ".#..#..", ".#.#...", ".##....", ".#.#...", ".#..#..", ".#...#."}, // letterK
    {".#.....", ".#.....", ".#.....", ".#.....", ".#.....", ".#.....", ".#####."}, // letterL
    {".#...#.", ".##.##.", ".#.#.#.", ".#...#.", ".#...#.", ".#...#.", ".#...#."}, // letterM
    {".#...#.", ".#...#.", ".##..#.", ".#.#.#.", ".#..##.", ".#...#.", ".#...#."}, // letterN
    {"..###..", ".#...#.", ".#...#.", ".#...#.", ".#...#.", ".#...#.", "..###.."}, // letterO
    {".####..", ".#...#.", ".#...#.", ".#...#.", ".####..", ".#.....", ".#....."}, // letterP
    {"..###..", ".#...#.", ".#...#.", ".#...#.", ".#.#.#.", ".#..##.", "..####."}, // letterQ
    {".####..", ".#...#.", ".#...#.", ".#...#.", ".####..", ".#...#.", ".#...#."}, // letterR
    {"..###..", ".#...#.", ".#.....", "..###..", ".....#.", ".#...#.", "..###.."}, // letterS
    {".#####.", "...#...", "...#...", "...#...", "...#...", "...#...", "...#..."}, // letterT
    {".#...#.", ".#...#.", ".#...#.", ".#...#.", ".#...#.", ".#...#.", "..###.."}, // letterU
    {".#...#.", ".#...#.", ".#...#.", ".#...#.", ".#...#.", "..#.#..", "...#..."}, // letterV
    {".#...#.", ".#...#.", ".#...#.", ".#...#.", ".#.#.#.", ".##.##.", ".#...#."}, // letterW
    {".#...#.", ".#...#.", "..#.#..", "...#...", "..#.#..", ".#...#.", ".#...#."}, // letterX
    {".#...#.", ".#...#.", ".#...#.", "..#.#..", "...#...", "...#...", "...#..."}, // letterY
    {".#####.", ".....#.", "....#..", "...#...", "..#....", ".#.....", ".#####."}, // letterZ
    {".......", "...###.", "..#....", "..#....", "..###..", "..#....", "..#...."}, // letterf
    {".......", ".......", "..###..", ".#.....", "..###..", ".....#.", "..###.."}, // letters
    {"...#...", "..##...", "...#...", "...#...", "...#...", "...#...", "...#..."}, // letter1
    {".#####.", ".....#.", ".....#.", ".#####.", ".#.....", ".#.....", ".#####."}, // letter2
    {".#####.", ".....#.", ".....#.", "..####.", ".....#.", ".....#.", ".#####."}, // letter3
    {".#...#.", ".#...#.", ".#...#.", ".#####.", ".....#.", ".....#.", ".....#."}, // letter4
    {".#####.", ".#.....", ".#.....", ".#####.", ".....#.", ".....#.", ".#####."}, // letter5
    {".#####.", ".#.....", ".#.....", ".#####.", ".#...#.", ".#...#.", ".#####."}, // letter6
    {".#####.", ".....#.", ".....#.", "....#..", "...#...", "...#...", "...#..."}, // letter7
    {".#####.", ".#...#.", ".#...#.", ".#####.", ".#...#.", ".#...#.", ".#####."}, // letter8
    {".#####.", ".#...#.", ".#...#.", ".#####.", ".....#.", ".....#.", ".#####."}, // letter9
    {"..###..", ".#...#.", ".#..##.", ".#.#.#.", ".##..#.", ".#...#.", "..###.."}, // letter0
};

} // extern "C"

static_assert(sizeof QopDotMatrixKeys == 57, "56 key bytes and the terminating zero");

namespace {

constexpr double kPi = 3.14159265358979323846;

// The key position of one character. The terminating zero of the key counts as a match, clamped
// to the last glyph, so a NUL byte inside the text draws the last glyph; anything else not in the
// key draws the blank glyph.
int glyphIndex(char c)
{
    for (int k = 0; k < 57; ++k) {
        if (QopDotMatrixKeys[k] == c)
            return std::min(k, 55);
    }
    return 0;
}

} // namespace

extern "C" {

void QopDotMatrixDot(QopBitmap_t *bitmap, const QopColor_t *color, float dr, float dx, float dy, float fScale,
                     float dsx, float dsy, float dOffx, float dOffy)
{
    if (!bitmap || !bitmap->data || !color || bitmap->width == 0 || bitmap->height == 0)
        return;
    const float W = static_cast<float>(bitmap->width);
    const float H = static_cast<float>(bitmap->height);
    const float a = W / 2.0f;
    const float cx = a + (dx + dOffx) * a;
    const float cy = H / 2.0f + dy * a + dOffy * H / 2.0f;
    const float k = 1.0f / fScale / a;
    const float kx = k / dsx;
    const float ky = k / dsy;
    const float reach = 5.0f * dr;
    const float reach2 = 5.0f * dr * dr;
    // The box is clipped in float first: a dot far outside (or a non-finite size) visits nothing.
    const float left = std::max(std::floor(cx - reach / kx), 0.0f);
    const float right = std::min(std::ceil(cx + reach / kx), W - 1.0f);
    const float top = std::max(std::floor(cy - reach / ky), 0.0f);
    const float bottom = std::min(std::ceil(cy + reach / ky), H - 1.0f);
    if (!(left <= right) || !(top <= bottom))
        return;
    const float alpha = static_cast<float>(color->a) / 255.0f;
    const float theta0 = static_cast<float>(kPi) / (2.0f * dr * dr);
    for (int i = static_cast<int>(top); i <= static_cast<int>(bottom); ++i) {
        const float Y = ky * (static_cast<float>(i) - cy);
        for (int j = static_cast<int>(left); j <= static_cast<int>(right); ++j) {
            const float X = kx * (static_cast<float>(j) - cx);
            const float q = X * X + Y * Y;
            if (q > reach2)
                continue;
            const float theta = q * theta0;
            const float theta2 = std::sqrt(theta) / 1.8f;
            float c;
            if (theta < 2.25f)
                c = std::max(std::cos(theta), 0.5f * std::cos(theta2)) * alpha;
            else
                c = 0.5f * std::cos(theta2) * alpha;
            const float B = std::clamp(1.0f - c, 0.0f, 1.0f);
            QopColor_t &p = bitmap->data[static_cast<size_t>(i) * bitmap->width + static_cast<size_t>(j)];
            p.r = static_cast<uint8_t>(static_cast<int>(static_cast<float>(p.r) * B + static_cast<float>(color->r) * (1.0f - B)));
            p.g = static_cast<uint8_t>(static_cast<int>(static_cast<float>(p.g) * B + static_cast<float>(color->g) * (1.0f - B)));
            p.b = static_cast<uint8_t>(static_cast<int>(static_cast<float>(p.b) * B + static_cast<float>(color->b) * (1.0f - B)));
            p.a = 255;
        }
    }
}

void QopDotMatrix(QopBitmap_t *bitmap, const char *str, int strLength, const QopColor_t *color, float dr, float dx,
                  float dy, float charOff, float drr, float angle)
{
    if (!bitmap || !str || !color || strLength <= 0 || bitmap->width == 0 || bitmap->height == 0)
        return;
    const float step = drr * dr;
    const float cosA = std::cos(angle);
    const float sinA = std::sin(angle);
    float *positions = nullptr;
    int count = 0;
    if (bitmap->glData) {
        if (!QopArrayBuild(reinterpret_cast<void **>(&positions), static_cast<size_t>(strLength) * 49,
                           2 * sizeof(float)))
            return;
    }
    const float aspect = static_cast<float>(bitmap->width) / static_cast<float>(bitmap->height);
    for (int p = 0; p < strLength; ++p) {
        const char(&glyph)[7][8] = QopDotMatrixGlyphs[glyphIndex(str[p])];
        for (int s = 0; s < 7; ++s) {
            for (int i = 0; i < 7; ++i) {
                if (glyph[i][s] != '#')
                    continue;
                const float e = (static_cast<float>(s) + 7.0f * (static_cast<float>(p) + charOff)) * step;
                const float f = static_cast<float>(i) * step;
                const float ox = e * cosA - f * sinA;
                const float oy = f * cosA + e * sinA;
                if (positions) {
                    positions[2 * count] = ox + dx;
                    positions[2 * count + 1] = oy * aspect + dy;
                    ++count;
                } else {
                    QopDotMatrixDot(bitmap, color, dr, ox, oy, 1.0f, 1.0f, 1.0f, dx, dy);
                }
            }
        }
    }
    if (positions) {
        if (count > 0)
            QopGLAddDotMatrix(bitmap, color, positions, count, dr);
        QopArrayFree(reinterpret_cast<void **>(&positions));
    }
}

} // extern "C"
