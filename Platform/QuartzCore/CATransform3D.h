#pragma once
// A 3-D transform as the platform writes it: row vectors, m34 the perspective term. Layers draw
// its affine part; values of it travel in NSValue (animations, dictionaries).

#include "CoreGraphics/CGAffineTransform.h"
#include "CoreGraphics/CGBase.h"

struct CATransform3D {
    CGFloat m11 = 1, m12 = 0, m13 = 0, m14 = 0;
    CGFloat m21 = 0, m22 = 1, m23 = 0, m24 = 0;
    CGFloat m31 = 0, m32 = 0, m33 = 1, m34 = 0;
    CGFloat m41 = 0, m42 = 0, m43 = 0, m44 = 1;
    bool operator==(const CATransform3D&) const = default;
};

inline const CATransform3D CATransform3DIdentity{};

inline bool CATransform3DIsIdentity(const CATransform3D& t)
{
    return t == CATransform3DIdentity;
}
inline bool CATransform3DEqualToTransform(const CATransform3D& a, const CATransform3D& b)
{
    return a == b;
}
inline CATransform3D CATransform3DMakeAffineTransform(CGAffineTransform m)
{
    CATransform3D t;
    t.m11 = m.a, t.m12 = m.b, t.m21 = m.c, t.m22 = m.d, t.m41 = m.tx, t.m42 = m.ty;
    return t;
}
// The affine part (what a layer draws); the z and perspective terms are dropped.
inline CGAffineTransform CATransform3DGetAffineTransform(const CATransform3D& t)
{
    return CGAffineTransformMake(t.m11, t.m12, t.m21, t.m22, t.m41, t.m42);
}
inline bool CATransform3DIsAffine(const CATransform3D& t)
{
    return t.m13 == 0 && t.m14 == 0 && t.m23 == 0 && t.m24 == 0 && t.m31 == 0 && t.m32 == 0 && t.m33 == 1 &&
           t.m34 == 0 && t.m43 == 0 && t.m44 == 1;
}
// a then b.
CATransform3D CATransform3DConcat(const CATransform3D& a, const CATransform3D& b);
CATransform3D CATransform3DMakeTranslation(CGFloat tx, CGFloat ty, CGFloat tz);
CATransform3D CATransform3DMakeScale(CGFloat sx, CGFloat sy, CGFloat sz);
// About the axis (x, y, z); angle in radians.
CATransform3D CATransform3DMakeRotation(CGFloat angle, CGFloat x, CGFloat y, CGFloat z);
CATransform3D CATransform3DTranslate(const CATransform3D& t, CGFloat tx, CGFloat ty, CGFloat tz);
CATransform3D CATransform3DScale(const CATransform3D& t, CGFloat sx, CGFloat sy, CGFloat sz);
CATransform3D CATransform3DRotate(const CATransform3D& t, CGFloat angle, CGFloat x, CGFloat y, CGFloat z);
