#pragma once
// A layer that fills a path (drawn whatever the layer's bounds: a glow's mask has none). Its fill
// colour is animatable ("fillColor") and drawn at its presentation value.

#include "QuartzCore/CALayer.h"

inline constexpr const char* kCAFillRuleNonZero = "non-zero";
inline constexpr const char* kCAFillRuleEvenOdd = "even-odd";

class CAShapeLayer : public CALayer {
public:
    using CALayer::CALayer;
    ~CAShapeLayer() override;
    static std::shared_ptr<CAShapeLayer> layer() { return NSObject::create<CAShapeLayer>(&CAShapeLayer::initShape); }

    CGPathRef path() const { return path_; }
    void setPath(CGPathRef path);
    // Opaque black by default; null fills nothing.
    CGColorRef fillColor() const { return fillColor_; }
    void setFillColor(CGColorRef color);
    const std::string& fillRule() const { return fillRule_; }
    void setFillRule(std::string rule) { assign(fillRule_, std::move(rule)); }

    Value valueForKeyPath(const std::string& keyPath) const override;

protected:
    void drawOwnContent(CGContextRef context, double time) override;
    CGRect ownContentBounds() const override { return path_ ? CGPathGetBoundingBox(path_) : CGRectNull; }

private:
    void initShape();

    CGPathRef path_ = nullptr;
    CGColorRef fillColor_ = nullptr;
    std::string fillRule_ = kCAFillRuleNonZero;
};
