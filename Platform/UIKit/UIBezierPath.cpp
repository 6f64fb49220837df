#include "UIKit/UIBezierPath.h"

#include <algorithm>

#include "UIKit/UIGraphics.h"

UIBezierPath::UIBezierPath(Key key) : NSObject(key), path_(CGPathCreateMutable()) {}
UIBezierPath::~UIBezierPath()
{
    CGPathRelease(path_);
}

std::shared_ptr<UIBezierPath> UIBezierPath::bezierPath()
{
    return NSObject::create<UIBezierPath>();
}

std::shared_ptr<UIBezierPath> UIBezierPath::bezierPathWithRect(CGRect rect)
{
    auto path = bezierPath();
    CGPathAddRect(path->path_, nullptr, rect);
    return path;
}

std::shared_ptr<UIBezierPath> UIBezierPath::bezierPathWithOvalInRect(CGRect rect)
{
    auto path = bezierPath();
    CGPathAddEllipseInRect(path->path_, nullptr, rect);
    return path;
}

std::shared_ptr<UIBezierPath> UIBezierPath::bezierPathWithRoundedRect(CGRect rect, CGFloat cornerRadius)
{
    auto path = bezierPath();
    rect = CGRectStandardize(rect);
    CGFloat r = std::clamp(cornerRadius, CGFloat(0), std::min(rect.size.width, rect.size.height) / 2);
    CGFloat minX = CGRectGetMinX(rect), maxX = CGRectGetMaxX(rect), minY = CGRectGetMinY(rect),
            maxY = CGRectGetMaxY(rect);
    CGPathMoveToPoint(path->path_, nullptr, minX + r, minY);
    CGPathAddArcToPoint(path->path_, nullptr, maxX, minY, maxX, maxY, r);
    CGPathAddArcToPoint(path->path_, nullptr, maxX, maxY, minX, maxY, r);
    CGPathAddArcToPoint(path->path_, nullptr, minX, maxY, minX, minY, r);
    CGPathAddArcToPoint(path->path_, nullptr, minX, minY, maxX, minY, r);
    CGPathCloseSubpath(path->path_);
    return path;
}

std::shared_ptr<UIBezierPath> UIBezierPath::bezierPathWithCGPath(CGPathRef path)
{
    auto result = bezierPath();
    result->setCGPath(path);
    return result;
}

void UIBezierPath::setCGPath(CGPathRef path)
{
    CGMutablePathRef copy = path ? CGPathCreateMutableCopy(path) : CGPathCreateMutable();
    CGPathRelease(path_);
    path_ = copy;
}

void UIBezierPath::moveToPoint(CGPoint p)
{
    CGPathMoveToPoint(path_, nullptr, p.x, p.y);
}
void UIBezierPath::addLineToPoint(CGPoint p)
{
    CGPathAddLineToPoint(path_, nullptr, p.x, p.y);
}

void UIBezierPath::addQuadCurveToPoint(CGPoint end, CGPoint control)
{
    CGPathAddQuadCurveToPoint(path_, nullptr, control.x, control.y, end.x, end.y);
}

void UIBezierPath::addCurveToPoint(CGPoint end, CGPoint c1, CGPoint c2)
{
    CGPathAddCurveToPoint(path_, nullptr, c1.x, c1.y, c2.x, c2.y, end.x, end.y);
}

void UIBezierPath::addArcWithCenter(CGPoint center, CGFloat radius, CGFloat startAngle, CGFloat endAngle,
                                    bool clockwise)
{
    // UIKit's clockwise is on screen (y down), which is the path's counterclockwise.
    CGPathAddArc(path_, nullptr, center.x, center.y, radius, startAngle, endAngle, !clockwise);
}

void UIBezierPath::closePath()
{
    CGPathCloseSubpath(path_);
}
void UIBezierPath::appendPath(const UIBezierPath& other)
{
    CGPathAddPath(path_, nullptr, other.path_);
}

void UIBezierPath::applyTransform(CGAffineTransform transform)
{
    CGMutablePathRef moved = CGPathCreateMutable();
    CGPathAddPath(moved, &transform, path_);
    CGPathRelease(path_);
    path_ = moved;
}

void UIBezierPath::removeAllPoints()
{
    CGPathRelease(path_);
    path_ = CGPathCreateMutable();
}

void UIBezierPath::fill() const
{
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context) return;
    CGContextBeginPath(context);
    CGContextAddPath(context, path_);
    CGContextDrawPath(context, usesEvenOddFillRule_ ? kCGPathEOFill : kCGPathFill);
}

void UIBezierPath::stroke() const
{
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context) return;
    CGContextSaveGState(context);
    CGContextSetLineWidth(context, lineWidth_);
    CGContextBeginPath(context);
    CGContextAddPath(context, path_);
    CGContextStrokePath(context);
    CGContextRestoreGState(context);
}

void UIBezierPath::addClip() const
{
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context) return;
    CGContextBeginPath(context);
    CGContextAddPath(context, path_);
    if (usesEvenOddFillRule_)
        CGContextEOClip(context);
    else
        CGContextClip(context);
}
