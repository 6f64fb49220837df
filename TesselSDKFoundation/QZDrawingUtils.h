#pragma once
// Shared colours, clipped drawing helpers and the inner glow of the editor's screens.

#include <functional>
#include <memory>
#include <vector>

#include "CoreGraphics/CGContext.h"
#include "Foundation/NSObject.h"
#include "QuartzCore/CAShapeLayer.h"
#include "UIKit/UIBezierPath.h"
#include "UIKit/UIColor.h"

class QZDrawingUtils : public NSObject {
public:
    using NSObject::NSObject;
    // Grey of white level 0.9372 x mul with alpha mul.
    static std::shared_ptr<UIColor> standardBackgroundColorMultiplied(CGFloat mul);
    static std::shared_ptr<UIColor> standardBackgroundColor();
    static std::shared_ptr<UIColor> darkenedStandardBackgroundColor();
    // RGB (0, 0.462, 0.905) with the alpha.
    static std::shared_ptr<UIColor> standardHighlightColorWithOpacity(CGFloat alpha);
    static std::shared_ptr<UIColor> standardHighlightColor();

    // Runs draw with the current context clipped to the path (under its fill rule), then
    // restores the state.
    static void doWhileClippedToPath(const UIBezierPath& path, const std::function<void()>& draw);
    // A device-RGB gradient of the colours at the locations (one per colour; empty for an even
    // spread, any other count draws nothing) from start to end, clipped to the path.
    static void drawLinearGradientInPath(const UIBezierPath& path, const std::vector<std::shared_ptr<UIColor>>& colors,
                                         const std::vector<CGFloat>& locations, CGPoint from, CGPoint to,
                                         uint32_t options);
    // A glow of the colour cast inwards from the shape's edge, blurred by the radius.
    static void drawInnerGlowWithShape(const UIBezierPath& shape, const std::shared_ptr<UIColor>& color, CGFloat radius);
    // A layer, framed to the given layer's bounds, that lights the inside of the path with a glow
    // of the colour cast inwards from its edge; nothing shows outside the path.
    static std::shared_ptr<CAShapeLayer> innerGlowLayerForLayer(const CALayer& layer, const UIBezierPath& path,
                                                                const std::shared_ptr<UIColor>& color, CGFloat radius);

};
