// 2-D affine transforms: composition order, inversion, and the singular case.
#include "QopLite/QopTransform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

void apply(const QopTransform_t t, double x, double y, double *ox, double *oy)
{
    *ox = t[0] * x + t[1] * y + t[2];
    *oy = t[3] * x + t[4] * y + t[5];
}

void expectIdentity(const QopTransform_t t, double tolerance)
{
    const double identity[6] = {1, 0, 0, 0, 1, 0};
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(t[i], identity[i], tolerance) << "entry " << i;
}

} // namespace

TEST(QopTransform, PostOperationsApplyAfterWhatIsThere)
{
    QopTransform_t t;
    QopTransformSetIdentity(t);
    QopTransformPostTranslate(t, 2, 3);
    QopTransformPostScale(t, 10, 100);
    double x, y;
    apply(t, 1, 1, &x, &y); // (1, 1) + (2, 3) = (3, 4), then scaled
    EXPECT_DOUBLE_EQ(x, 30);
    EXPECT_DOUBLE_EQ(y, 400);

    QopTransformPostRotate(t, M_PI / 2); // then a quarter turn: (x, y) -> (-y, x)
    apply(t, 1, 1, &x, &y);
    EXPECT_NEAR(x, -400, 1e-9);
    EXPECT_NEAR(y, 30, 1e-9);
}

TEST(QopTransform, ConcatAppliesTheSecondArgumentFirst)
{
    const QopTransform_t a = {2, 1, 5, -1, 3, 7};
    QopTransform_t b = {0.5, -2, 1, 4, 1, -3};
    const QopTransform_t bBefore = {0.5, -2, 1, 4, 1, -3};
    QopTransformConcat(a, b);
    std::mt19937 rng(3);
    for (int i = 0; i < 10; ++i) {
        double px = rng() % 200 - 100.0, py = rng() % 200 - 100.0, mx, my, ex, ey, cx, cy;
        apply(bBefore, px, py, &mx, &my);
        apply(a, mx, my, &ex, &ey);
        apply(b, px, py, &cx, &cy);
        EXPECT_DOUBLE_EQ(cx, ex);
        EXPECT_DOUBLE_EQ(cy, ey);
    }
    // Concatenating a transform with itself, in place.
    QopTransform_t c = {2, 0, 1, 0, 3, -1};
    QopTransformConcat(c, c);
    const double squared[6] = {4, 0, 3, 0, 9, -4};
    for (int i = 0; i < 6; ++i)
        EXPECT_DOUBLE_EQ(c[i], squared[i]);
}

TEST(QopTransform, InverseUndoesTheTransform)
{
    std::mt19937 rng(4);
    std::uniform_real_distribution<double> value(-10, 10);
    for (int i = 0; i < 1000; ++i) {
        QopTransform_t t, inverse, product;
        for (double &v : t)
            v = value(rng);
        if (std::fabs(t[0] * t[4] - t[3] * t[1]) < 0.1)
            continue; // badly conditioned: the 1e-12 bound below is for reasonable transforms
        QopTransformGetInverse(t, inverse);
        QopTransformCopy(product, t);
        QopTransformConcat(inverse, product);
        expectIdentity(product, 1e-12);
        QopTransformCopy(product, inverse);
        QopTransformConcat(t, product);
        expectIdentity(product, 1e-12);
    }
    // The result may overwrite its own input.
    QopTransform_t t = {2, 0, 4, 0, 4, -8};
    QopTransformGetInverse(t, t);
    const double expected[6] = {0.5, 0, -2, 0, 0.25, 2};
    for (int i = 0; i < 6; ++i)
        EXPECT_DOUBLE_EQ(t[i], expected[i]);
}

TEST(QopTransform, SingularTransformsInvertToTheIdentity)
{
    const QopTransform_t singular[] = {
        {0, 0, 0, 0, 0, 0},
        {1, 2, 5, 2, 4, 6}, // rank one: the determinant is exactly 0
    };
    for (const auto &t : singular) {
        QopTransform_t inverse = {9, 9, 9, 9, 9, 9};
        QopTransformGetInverse(t, inverse);
        expectIdentity(inverse, 0);
    }
}
