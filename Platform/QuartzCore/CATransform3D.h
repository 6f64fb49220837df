#pragma once
// A 3-D transform as the platform writes it: row vectors, m34 the perspective term. Layers draw
// its affine part; values of it travel in NSValue (animations, dictionaries).

#include "CoreGraphics/CGBase.h"

struct CATransform3D {
    CGFloat m11 = 1, m12 = 0, m13 = 0, m14 = 0;
    CGFloat m21 = 0, m22 = 1, m23 = 0, m24 = 0;
    CGFloat m31 = 0, m32 = 0, m33 = 1, m34 = 0;
    CGFloat m41 = 0, m42 = 0, m43 = 0, m44 = 1;
    bool operator==(const CATransform3D&) const = default;
};

inline const CATransform3D CATransform3DIdentity{};
