#include "CoreGraphics/CGAffineTransform.h"

#include <algorithm>
#include <cmath>

const CGAffineTransform CGAffineTransformIdentity{1, 0, 0, 1, 0, 0};

CGAffineTransform CGAffineTransformMakeTranslation(CGFloat tx, CGFloat ty) { return {1, 0, 0, 1, tx, ty}; }
CGAffineTransform CGAffineTransformMakeScale(CGFloat sx, CGFloat sy) { return {sx, 0, 0, sy, 0, 0}; }

CGAffineTransform CGAffineTransformMakeRotation(CGFloat angle)
{
    CGFloat c = std::cos(angle), s = std::sin(angle);
    return {c, s, -s, c, 0, 0};
}

CGAffineTransform CGAffineTransformConcat(CGAffineTransform t1, CGAffineTransform t2)
{
    return {t1.a * t2.a + t1.b * t2.c,         t1.a * t2.b + t1.b * t2.d,
            t1.c * t2.a + t1.d * t2.c,         t1.c * t2.b + t1.d * t2.d,
            t1.tx * t2.a + t1.ty * t2.c + t2.tx, t1.tx * t2.b + t1.ty * t2.d + t2.ty};
}

CGAffineTransform CGAffineTransformTranslate(CGAffineTransform t, CGFloat tx, CGFloat ty)
{
    return CGAffineTransformConcat(CGAffineTransformMakeTranslation(tx, ty), t);
}

CGAffineTransform CGAffineTransformScale(CGAffineTransform t, CGFloat sx, CGFloat sy)
{
    return CGAffineTransformConcat(CGAffineTransformMakeScale(sx, sy), t);
}

CGAffineTransform CGAffineTransformRotate(CGAffineTransform t, CGFloat angle)
{
    return CGAffineTransformConcat(CGAffineTransformMakeRotation(angle), t);
}

CGAffineTransform CGAffineTransformInvert(CGAffineTransform t)
{
    CGFloat det = t.a * t.d - t.b * t.c;
    if (det == 0) return t;
    CGAffineTransform r;
    r.a = t.d / det;
    r.b = -t.b / det;
    r.c = -t.c / det;
    r.d = t.a / det;
    r.tx = -(r.a * t.tx + r.c * t.ty);
    r.ty = -(r.b * t.tx + r.d * t.ty);
    return r;
}

bool CGAffineTransformIsIdentity(CGAffineTransform t) { return CGAffineTransformEqualToTransform(t, CGAffineTransformIdentity); }

bool CGAffineTransformEqualToTransform(CGAffineTransform t1, CGAffineTransform t2)
{
    return t1.a == t2.a && t1.b == t2.b && t1.c == t2.c && t1.d == t2.d && t1.tx == t2.tx && t1.ty == t2.ty;
}

CGPoint CGPointApplyAffineTransform(CGPoint p, CGAffineTransform t)
{
    return {t.a * p.x + t.c * p.y + t.tx, t.b * p.x + t.d * p.y + t.ty};
}

CGSize CGSizeApplyAffineTransform(CGSize s, CGAffineTransform t)
{
    return {t.a * s.width + t.c * s.height, t.b * s.width + t.d * s.height};
}

CGRect CGRectApplyAffineTransform(CGRect r, CGAffineTransform t)
{
    if (CGRectIsNull(r)) return r;
    r = CGRectStandardize(r);
    CGPoint p[4] = {CGPointApplyAffineTransform(r.origin, t),
                    CGPointApplyAffineTransform({r.origin.x + r.size.width, r.origin.y}, t),
                    CGPointApplyAffineTransform({r.origin.x, r.origin.y + r.size.height}, t),
                    CGPointApplyAffineTransform({r.origin.x + r.size.width, r.origin.y + r.size.height}, t)};
    CGFloat minX = p[0].x, maxX = p[0].x, minY = p[0].y, maxY = p[0].y;
    for (const CGPoint& q : p) {
        minX = std::min(minX, q.x);
        maxX = std::max(maxX, q.x);
        minY = std::min(minY, q.y);
        maxY = std::max(maxY, q.y);
    }
    return CGRectMake(minX, minY, maxX - minX, maxY - minY);
}
