// 2-D affine transforms of six doubles: (x, y) -> (t0 x + t1 y + t2, t3 x + t4 y + t5).
#include "QopLite/QopTransform.h"

#include <cmath>

extern "C" {

void QopTransformSetIdentity(QopTransform_t t)
{
    t[0] = 1.0, t[1] = 0.0, t[2] = 0.0;
    t[3] = 0.0, t[4] = 1.0, t[5] = 0.0;
}

void QopTransformCopy(QopTransform_t dst, const QopTransform_t src)
{
    for (int i = 0; i < 6; ++i)
        dst[i] = src[i];
}

void QopTransformConcat(const QopTransform_t transA, QopTransform_t transB)
{
    // Read everything first: transA and transB may be the same array.
    const double a0 = transA[0], a1 = transA[1], a2 = transA[2], a3 = transA[3], a4 = transA[4], a5 = transA[5];
    const double b0 = transB[0], b1 = transB[1], b2 = transB[2], b3 = transB[3], b4 = transB[4], b5 = transB[5];
    transB[0] = a0 * b0 + a1 * b3;
    transB[1] = a0 * b1 + a1 * b4;
    transB[2] = a0 * b2 + a1 * b5 + a2;
    transB[3] = a3 * b0 + a4 * b3;
    transB[4] = a3 * b1 + a4 * b4;
    transB[5] = a3 * b2 + a4 * b5 + a5;
}

void QopTransformPostScale(QopTransform_t t, double scaleX, double scaleY)
{
    const QopTransform_t scale = {scaleX, 0.0, 0.0, 0.0, scaleY, 0.0};
    QopTransformConcat(scale, t);
}

void QopTransformPostTranslate(QopTransform_t t, double dx, double dy)
{
    const QopTransform_t translate = {1.0, 0.0, dx, 0.0, 1.0, dy};
    QopTransformConcat(translate, t);
}

void QopTransformPostRotate(QopTransform_t t, double rotate)
{
    const double c = std::cos(rotate), s = std::sin(rotate);
    const QopTransform_t rotation = {c, -s, 0.0, s, c, 0.0};
    QopTransformConcat(rotation, t);
}

void QopTransformGetInverse(const QopTransform_t t, QopTransform_t inverted)
{
    const double det = t[0] * t[4] - t[3] * t[1];
    if (det == 0.0) {
        QopTransformSetIdentity(inverted);
        return;
    }
    const double i0 = t[4] / det, i1 = -t[1] / det, i3 = -t[3] / det, i4 = t[0] / det;
    const double t2 = t[2], t5 = t[5];
    inverted[0] = i0;
    inverted[1] = i1;
    inverted[2] = -(i0 * t2 + i1 * t5);
    inverted[3] = i3;
    inverted[4] = i4;
    inverted[5] = -(i3 * t2 + i4 * t5);
}

}
