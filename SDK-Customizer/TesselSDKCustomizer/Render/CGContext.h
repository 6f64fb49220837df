#pragma once
// The drawing context of the customizer: a Cairo context over an image surface plus the parts of
// the graphics state Cairo does not keep the way the generators need them (blend mode, alpha,
// fill and stroke colours, clips to image masks), saved and restored together with Cairo's own.
//
// The user space is y-up (origin at the bottom-left of the surface); images and masks are
// placed upright in it, as the platform draws an image. Every drawing call goes through one
// compositing step: the shape is drawn, multiplied by the mask clips and the alpha, and blended
// onto the surface with the blend mode.

#include <cairo.h>

#include <vector>

#include "Render/CGColor.h"
#include "Render/CGGeometry.h"
#include "Render/CGGradient.h"
#include "Render/CGImage.h"
#include "Render/CGPath.h"

namespace customizer {

enum CGBlendMode {
    kCGBlendModeNormal = 0,
    kCGBlendModeOverlay = 3,
    kCGBlendModeCopy = 17,
    kCGBlendModeDestinationOver = 21,
};

class CGContext {
public:
    // Draws into the surface, which must outlive the context.
    explicit CGContext(cairo_surface_t* surface);
    ~CGContext();
    CGContext(const CGContext&) = delete;
    CGContext& operator=(const CGContext&) = delete;

    void saveGState();
    void restoreGState();

    void setBlendMode(CGBlendMode mode) { state().blendMode = mode; }
    CGBlendMode blendMode() const { return states_.back().blendMode; }
    void setAlpha(CGFloat alpha) { state().alpha = std::clamp(alpha, 0.0, 1.0); }
    CGFloat alpha() const { return states_.back().alpha; }
    void setFillColor(CGColor color) { state().fillColor = color; }
    void setStrokeColor(CGColor color) { state().strokeColor = color; }
    void setLineWidth(CGFloat width) { state().lineWidth = width; }

    void concatCTM(CGFloat a, CGFloat b, CGFloat c, CGFloat d, CGFloat tx, CGFloat ty);
    void translateCTM(CGFloat tx, CGFloat ty);

    void clipToRect(CGRect rect);
    // Later drawing is multiplied by the mask's alpha, the mask placed upright in the rectangle;
    // nothing outside the rectangle is drawn.
    void clipToMask(CGRect rect, const CGImageRef& mask);

    // The current path, in user space at the time each point is added; filling and stroking
    // consume it.
    void beginPath();
    void moveToPoint(CGFloat x, CGFloat y);
    void addLineToPoint(CGFloat x, CGFloat y);
    void addCurveToPoint(CGFloat cp1x, CGFloat cp1y, CGFloat cp2x, CGFloat cp2y, CGFloat x, CGFloat y);
    void closePath();
    void addPath(const CGPath& path);
    void addRect(CGRect rect);

    void fillRect(CGRect rect);
    void fillPath();
    void strokePath();
    // The whole image, upright, scaled into the rectangle.
    void drawImage(CGRect rect, const CGImageRef& image);
    // The part `source` of the image (in its points, origin at its bottom-left), upright, scaled
    // into the rectangle.
    void drawImage(CGRect rect, const CGImageRef& image, CGRect source);
    // Paints the whole clip region: the first stop at `start`, the last at `end`, constant along
    // lines across; beyond the ends only where the options say so.
    void drawLinearGradient(const CGGradient& gradient, CGPoint start, CGPoint end, unsigned options);

    cairo_t* cairo() const { return cr_; }

private:
    struct MaskClip {
        CGImageRef mask;
        cairo_matrix_t deviceToMask;
    };
    struct State {
        CGBlendMode blendMode = kCGBlendModeNormal;
        CGFloat alpha = 1;
        CGColor fillColor{0, 0, 0, 1};
        CGColor strokeColor{0, 0, 0, 1};
        CGFloat lineWidth = 1;
        std::vector<MaskClip> masks;
    };

    State& state() { return states_.back(); }
    // Runs `draw` (which sets its own source and draws with the operator it finds) and
    // composites the result as the state says.
    template <class Draw>
    void composite(Draw&& draw);
    void setSourceImage(CGRect rect, const CGImageRef& image, CGRect sourcePixels);

    cairo_t* cr_;
    std::vector<State> states_{State{}};
};

using CGContextRef = CGContext*;

}  // namespace customizer
