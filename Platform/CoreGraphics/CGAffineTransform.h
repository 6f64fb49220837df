#pragma once
// Affine transforms as the platform writes them: x' = a x + c y + tx, y' = b x + d y + ty.
// The modifying functions put the new step before the existing transform (it acts first on a
// point), which is what CTM changes and the orientation helpers rely on.

#include "CoreGraphics/CGGeometry.h"

struct CGAffineTransform {
    CGFloat a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
};

extern const CGAffineTransform CGAffineTransformIdentity;

inline CGAffineTransform CGAffineTransformMake(CGFloat a, CGFloat b, CGFloat c, CGFloat d, CGFloat tx, CGFloat ty)
{
    return CGAffineTransform{a, b, c, d, tx, ty};
}
CGAffineTransform CGAffineTransformMakeTranslation(CGFloat tx, CGFloat ty);
CGAffineTransform CGAffineTransformMakeScale(CGFloat sx, CGFloat sy);
CGAffineTransform CGAffineTransformMakeRotation(CGFloat angle);
// t1 then t2.
CGAffineTransform CGAffineTransformConcat(CGAffineTransform t1, CGAffineTransform t2);
CGAffineTransform CGAffineTransformTranslate(CGAffineTransform t, CGFloat tx, CGFloat ty);
CGAffineTransform CGAffineTransformScale(CGAffineTransform t, CGFloat sx, CGFloat sy);
CGAffineTransform CGAffineTransformRotate(CGAffineTransform t, CGFloat angle);
// A singular transform is returned unchanged.
CGAffineTransform CGAffineTransformInvert(CGAffineTransform t);
bool CGAffineTransformIsIdentity(CGAffineTransform t);
bool CGAffineTransformEqualToTransform(CGAffineTransform t1, CGAffineTransform t2);

CGPoint CGPointApplyAffineTransform(CGPoint p, CGAffineTransform t);
CGSize CGSizeApplyAffineTransform(CGSize s, CGAffineTransform t);
// The bounding box of the transformed corners.
CGRect CGRectApplyAffineTransform(CGRect r, CGAffineTransform t);
