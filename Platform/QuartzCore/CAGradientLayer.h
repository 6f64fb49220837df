#pragma once
// A layer filled with an axial gradient between its colours, at its locations (even spread when
// none), from startPoint to endPoint in unit coordinates of the bounds ((0.5, 0) to (0.5, 1) by
// default: top to bottom in UIKit's space).

#include "QuartzCore/CALayer.h"

#include <vector>

class CAGradientLayer : public CALayer {
public:
    using CALayer::CALayer;
    ~CAGradientLayer() override;
    static std::shared_ptr<CAGradientLayer> layer() { return NSObject::create<CAGradientLayer>(); }

    // Retained.
    const std::vector<CGColorRef>& colors() const { return colors_; }
    void setColors(const std::vector<CGColorRef>& colors);
    const std::vector<CGFloat>& locations() const { return locations_; }
    void setLocations(std::vector<CGFloat> locations) { assign(locations_, std::move(locations)); }
    CGPoint startPoint() const { return startPoint_; }
    void setStartPoint(CGPoint p) { assign(startPoint_, p); }
    CGPoint endPoint() const { return endPoint_; }
    void setEndPoint(CGPoint p) { assign(endPoint_, p); }

protected:
    void drawOwnContent(CGContextRef context, double time) override;
    CGRect ownContentBounds() const override { return bounds(); }

private:
    std::vector<CGColorRef> colors_;
    std::vector<CGFloat> locations_;
    CGPoint startPoint_{0.5f, 0};
    CGPoint endPoint_{0.5f, 1};
};
