// The 3 x 4 colour matrix on the 0..255 scale and its adjustments. Adjustments multiply on the
// right, so the adjustment made last is the first to act on a pixel. All arithmetic is single
// precision, in the order written, so that a matrix built here is the same on every machine.
#include "QopLite/QopColorMatrix.h"

#include <cstring>

namespace {

// The matrix of a per-channel scale with one translation for all three rows.
void setScaleTranslate(QopColorMatrix_t m, float scale, float translate)
{
    std::memset(m, 0, sizeof(QopColorMatrix_t));
    m[0] = m[5] = m[10] = scale;
    m[3] = m[7] = m[11] = translate;
}

} // namespace

extern "C" {

void QopColorMatrixSetIdentity(QopColorMatrix_t cm)
{
    std::memset(cm, 0, sizeof(QopColorMatrix_t));
    cm[0] = cm[5] = cm[10] = 1.0f;
}

void QopColorMatrixCopy(QopColorMatrix_t dst, const QopColorMatrix_t src)
{
    std::memmove(dst, src, sizeof(QopColorMatrix_t));
}

void QopColorMatrixMultiply(QopColorMatrix_t dst, const QopColorMatrix_t src)
{
    QopColorMatrix_t out;
    for (int row = 0; row < 3; ++row) {
        const float *d = dst + 4 * row;
        for (int col = 0; col < 3; ++col)
            out[4 * row + col] = d[0] * src[col] + d[1] * src[4 + col] + d[2] * src[8 + col];
        out[4 * row + 3] = d[0] * src[3] + d[1] * src[7] + d[2] * src[11] + d[3];
    }
    std::memcpy(dst, out, sizeof(QopColorMatrix_t));
}

void QopColorMatrixAdjSaturation(QopColorMatrix_t cm, float v)
{
    const float r = 0.213f * (1.0f - v);
    const float g = 0.715f * (1.0f - v);
    const float b = 0.072f * (1.0f - v);
    const QopColorMatrix_t s = {
        r + v, g,     b,     0.0f,
        r,     g + v, b,     0.0f,
        r,     g,     b + v, 0.0f,
    };
    QopColorMatrixMultiply(cm, s);
}

void QopColorMatrixBrightnessContrast(QopColorMatrix_t cm, float b, float c)
{
    QopColorMatrix_t s;
    setScaleTranslate(s, b * c, (1.0f - c) * 128.0f * b);
    QopColorMatrixMultiply(cm, s);
}

void QopColorMatrixBrightness(QopColorMatrix_t cm, float b)
{
    QopColorMatrix_t s;
    setScaleTranslate(s, b, 0.0f);
    QopColorMatrixMultiply(cm, s);
}

void QopColorMatrixContrast(QopColorMatrix_t cm, float c)
{
    const float scale = c + 1.0f;
    QopColorMatrix_t s;
    setScaleTranslate(s, scale, (1.0f - scale) * 128.0f);
    QopColorMatrixMultiply(cm, s);
}

} // extern "C"
