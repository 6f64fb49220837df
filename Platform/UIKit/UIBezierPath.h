#pragma once
// A path object over CGPath with its fill rule and line width, drawing into the current context.

#include <memory>

#include "CoreGraphics/CGContext.h"
#include "Foundation/NSObject.h"

class UIBezierPath : public NSObject {
public:
    explicit UIBezierPath(Key key);
    ~UIBezierPath() override;

    static std::shared_ptr<UIBezierPath> bezierPath();
    static std::shared_ptr<UIBezierPath> bezierPathWithRect(CGRect rect);
    static std::shared_ptr<UIBezierPath> bezierPathWithOvalInRect(CGRect rect);
    static std::shared_ptr<UIBezierPath> bezierPathWithRoundedRect(CGRect rect, CGFloat cornerRadius);
    // Copies the path.
    static std::shared_ptr<UIBezierPath> bezierPathWithCGPath(CGPathRef path);

    // Owned by the object: valid until the path next changes.
    CGPathRef CGPath() const { return path_; }
    void setCGPath(CGPathRef path);
    bool usesEvenOddFillRule() const { return usesEvenOddFillRule_; }
    void setUsesEvenOddFillRule(bool evenOdd) { usesEvenOddFillRule_ = evenOdd; }
    CGFloat lineWidth() const { return lineWidth_; }
    void setLineWidth(CGFloat width) { lineWidth_ = width; }
    // Every point of the path, control points included; CGRectNull when empty.
    CGRect bounds() const { return CGPathGetBoundingBox(path_); }
    bool isEmpty() const { return CGPathIsEmpty(path_); }

    void moveToPoint(CGPoint point);
    void addLineToPoint(CGPoint point);
    void addQuadCurveToPoint(CGPoint endPoint, CGPoint controlPoint);
    void addCurveToPoint(CGPoint endPoint, CGPoint controlPoint1, CGPoint controlPoint2);
    void addArcWithCenter(CGPoint center, CGFloat radius, CGFloat startAngle, CGFloat endAngle, bool clockwise);
    void closePath();
    void appendPath(const UIBezierPath& other);
    void applyTransform(CGAffineTransform transform);
    void removeAllPoints();

    void fill() const;
    void stroke() const;
    // Intersects the current context's clip with the path under its fill rule.
    void addClip() const;

private:
    CGMutablePathRef path_;
    bool usesEvenOddFillRule_ = false;
    CGFloat lineWidth_ = 1;
};
