#include "QuartzCore/CATransform3D.h"

#include <cmath>

namespace {

using Matrix = CGFloat[4][4];

void load(const CATransform3D& t, Matrix m)
{
    const CGFloat* p = &t.m11;
    for (int i = 0; i < 16; ++i) m[i / 4][i % 4] = p[i];
}

CATransform3D store(const Matrix m)
{
    CATransform3D t;
    CGFloat* p = &t.m11;
    for (int i = 0; i < 16; ++i) p[i] = m[i / 4][i % 4];
    return t;
}

}  // namespace

CATransform3D CATransform3DConcat(const CATransform3D& a, const CATransform3D& b)
{
    Matrix x, y, r;
    load(a, x);
    load(b, y);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            CGFloat sum = 0;
            for (int k = 0; k < 4; ++k) sum += x[i][k] * y[k][j];
            r[i][j] = sum;
        }
    return store(r);
}

CATransform3D CATransform3DMakeTranslation(CGFloat tx, CGFloat ty, CGFloat tz)
{
    CATransform3D t;
    t.m41 = tx, t.m42 = ty, t.m43 = tz;
    return t;
}

CATransform3D CATransform3DMakeScale(CGFloat sx, CGFloat sy, CGFloat sz)
{
    CATransform3D t;
    t.m11 = sx, t.m22 = sy, t.m33 = sz;
    return t;
}

CATransform3D CATransform3DMakeRotation(CGFloat angle, CGFloat x, CGFloat y, CGFloat z)
{
    CGFloat length = std::sqrt(x * x + y * y + z * z);
    if (length == 0) return CATransform3DIdentity;
    x /= length, y /= length, z /= length;
    CGFloat c = std::cos(angle), s = std::sin(angle), k = 1 - c;
    CATransform3D t;
    t.m11 = x * x * k + c, t.m12 = x * y * k + z * s, t.m13 = x * z * k - y * s;
    t.m21 = y * x * k - z * s, t.m22 = y * y * k + c, t.m23 = y * z * k + x * s;
    t.m31 = z * x * k + y * s, t.m32 = z * y * k - x * s, t.m33 = z * z * k + c;
    return t;
}

CATransform3D CATransform3DTranslate(const CATransform3D& t, CGFloat tx, CGFloat ty, CGFloat tz)
{
    return CATransform3DConcat(CATransform3DMakeTranslation(tx, ty, tz), t);
}

CATransform3D CATransform3DScale(const CATransform3D& t, CGFloat sx, CGFloat sy, CGFloat sz)
{
    return CATransform3DConcat(CATransform3DMakeScale(sx, sy, sz), t);
}

CATransform3D CATransform3DRotate(const CATransform3D& t, CGFloat angle, CGFloat x, CGFloat y, CGFloat z)
{
    return CATransform3DConcat(CATransform3DMakeRotation(angle, x, y, z), t);
}
