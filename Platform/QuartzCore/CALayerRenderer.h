#pragma once
// The compositor's drawing of a layer tree into a CGContext by the presentation values, shared by
// renderInContext and the window's compositor (CALayerCompositor). Internal to QuartzCore.

#include "QuartzCore/CALayer.h"

#include "CoreGraphics/CGObjectValue.h"
#include "Foundation/NSValue.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

struct CALayerRenderer {
    // Limits a render to part of the frame: a layer whose drawing lies wholly outside it is
    // skipped with its sublayers, and each layer drawn is counted.
    struct Area {
        virtual ~Area() = default;
        virtual bool admits(const CALayer& layer) = 0;
    };

    CGContextRef c;
    double time;
    Area* area = nullptr;

    // The values drawn: the layer itself, or a presentation copy while animations run.
    static std::shared_ptr<const CALayer> drawn(const CALayer& layer, double time)
    {
        if (layer.animations_.empty()) return layer.self<const CALayer>();
        auto copy = CALayer::layer();
        layer.copyValuesTo(*copy, time);
        return copy;
    }

    static CGPathRef roundedBounds(CGRect r, CGFloat radius)
    {
        CGMutablePathRef path = CGPathCreateMutable();
        radius = std::min({radius, r.size.width / 2, r.size.height / 2});
        if (radius <= 0) {
            CGPathAddRect(path, nullptr, r);
            return path;
        }
        CGFloat x0 = CGRectGetMinX(r), y0 = CGRectGetMinY(r), x1 = CGRectGetMaxX(r), y1 = CGRectGetMaxY(r);
        CGPathMoveToPoint(path, nullptr, x0 + radius, y0);
        CGPathAddArcToPoint(path, nullptr, x1, y0, x1, y1, radius);
        CGPathAddArcToPoint(path, nullptr, x1, y1, x0, y1, radius);
        CGPathAddArcToPoint(path, nullptr, x0, y1, x0, y0, radius);
        CGPathAddArcToPoint(path, nullptr, x0, y0, x1, y0, radius);
        CGPathCloseSubpath(path);
        return path;
    }

    // Draws the image with its first row at the rectangle's smaller y (upright in a y-down space).
    void drawImageTopDown(CGImageRef image, CGRect r, CGFloat alpha)
    {
        CGContextSaveGState(c);
        if (alpha < 1) CGContextSetAlpha(c, alpha);
        CGContextTranslateCTM(c, 0, CGRectGetMinY(r) + CGRectGetMaxY(r));
        CGContextScaleCTM(c, 1, -1);
        CGContextDrawImage(c, r, image);
        CGContextRestoreGState(c);
    }

    void drawContents(const CALayer& layer, const CALayer& v)
    {
        CGImageRef own = v.copyContents();
        CGImageRef image = own;
        CGImageRef fadingFrom = nullptr;
        double fade = 1;
        bool crossFading = false;
        for (const auto& running : layer.animations_) {
            auto basic = std::dynamic_pointer_cast<CABasicAnimation>(running.animation);
            if (!basic || basic->keyPath() != "contents" || running.ended) continue;
            crossFading = true;
            fadingFrom = CGObjectValue::CGImageFromValue(basic->fromValue());
            image = CGObjectValue::CGImageFromValue(basic->toValue());
            fade = time < basic->beginTime() ? 0 : basic->progressAt(time);
        }
        auto draw = [&](CGImageRef img, CGFloat alpha) {
            if (!img || alpha <= 0) return;
            CGSize size = CGSizeMake(CGImageGetWidth(img) / v.contentsScale_, CGImageGetHeight(img) / v.contentsScale_);
            drawImageTopDown(img, CALayerGravityRect(v.contentsGravity_, v.bounds_, size), alpha);
        };
        if (crossFading) {
            draw(fadingFrom, static_cast<CGFloat>(1 - fade));
            draw(image, static_cast<CGFloat>(fade));
        } else if (image) {
            draw(image, 1);
        } else if (layer.backingImage_) {
            drawImageTopDown(layer.backingImage_, v.bounds_, 1);
        }
        CGImageRelease(own);
    }

    void drawBody(CALayer& layer, const CALayer& v)
    {
        CGPathRef shape = roundedBounds(v.bounds_, v.cornerRadius_);
        if (v.backgroundColor_) {
            CGContextSaveGState(c);
            CGContextSetFillColorWithColor(c, v.backgroundColor_);
            CGContextAddPath(c, shape);
            CGContextFillPath(c);
            CGContextRestoreGState(c);
        }
        CGContextSaveGState(c);
        if (v.masksToBounds_) {
            CGContextAddPath(c, shape);
            CGContextClip(c);
        }
        drawContents(layer, v);
        layer.drawOwnContent(c, time);
        std::vector<std::shared_ptr<CALayer>> order = layer.sublayers_;
        std::stable_sort(order.begin(), order.end(), [&](const auto& a, const auto& b) {
            return drawn(*a, time)->zPosition_ < drawn(*b, time)->zPosition_;
        });
        for (const auto& sub : order) render(*sub, false);
        CGContextRestoreGState(c);
        if (v.borderWidth_ > 0 && v.borderColor_) {
            CGFloat inset = v.borderWidth_ / 2;
            CGPathRef border =
                roundedBounds(CGRectInset(v.bounds_, inset, inset), std::max<CGFloat>(0, v.cornerRadius_ - inset));
            CGContextSaveGState(c);
            CGContextSetStrokeColorWithColor(c, v.borderColor_);
            CGContextSetLineWidth(c, v.borderWidth_);
            CGContextAddPath(c, border);
            CGContextStrokePath(c);
            CGContextRestoreGState(c);
            CGPathRelease(border);
        }
        CGPathRelease(shape);
    }

    // The layer through its mask: drawn apart at the context's pixel size, multiplied by the
    // mask's alpha, then composited through the current clip.
    void drawMasked(CALayer& layer, const CALayer& v, CALayer& mask)
    {
        size_t w = CGBitmapContextGetWidth(c), h = CGBitmapContextGetHeight(c);
        if (w == 0 || h == 0) return;
        CGAffineTransform ctm = CGContextGetCTM(c);
        CGFloat pixelsPerPoint = std::sqrt(std::fabs(ctm.a * ctm.d - ctm.b * ctm.c));
        auto offscreen = [&]() {
            CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
            CGContextRef o = CGBitmapContextCreate(nullptr, w, h, 8, 0, space, kCGImageAlphaPremultipliedLast);
            CGColorSpaceRelease(space);
            CGContextConcatCTM(o, ctm);
            CGContextSetShadowBaseSpace(o, pixelsPerPoint, ctm.d < 0);
            return o;
        };
        CGContextRef content = offscreen(), alpha = offscreen();
        CALayerRenderer{content, time, nullptr}.drawShadowed(layer, v);
        CALayerRenderer{alpha, time, nullptr}.render(mask, false);
        auto* px = static_cast<uint8_t*>(CGBitmapContextGetData(content));
        const auto* mk = static_cast<const uint8_t*>(CGBitmapContextGetData(alpha));
        size_t stride = CGBitmapContextGetBytesPerRow(content), mstride = CGBitmapContextGetBytesPerRow(alpha);
        for (size_t y = 0; y < h; ++y)
            for (size_t x = 0; x < w; ++x) {
                unsigned m = mk[y * mstride + x * 4 + 3];
                uint8_t* p = px + y * stride + x * 4;
                for (int k = 0; k < 4; ++k) p[k] = static_cast<uint8_t>((p[k] * m + 127) / 255);
            }
        CGImageRef image = CGBitmapContextCreateImage(content);
        CGContextSaveGState(c);
        CGContextConcatCTM(c, CGAffineTransformInvert(ctm));
        CGContextDrawImage(c, CGRectMake(0, 0, CGFloat(w), CGFloat(h)), image);
        CGContextRestoreGState(c);
        CGImageRelease(image);
        CGContextRelease(content);
        CGContextRelease(alpha);
    }

    // The body with the layer's shadow: of the shadow path, else of everything drawn.
    void drawShadowed(CALayer& layer, const CALayer& v)
    {
        if (!(v.shadowOpacity_ > 0 && v.shadowColor_)) return drawBody(layer, v);
        CGContextSaveGState(c);
        CGColorRef color =
            CGColorCreateCopyWithAlpha(v.shadowColor_, CGColorGetAlpha(v.shadowColor_) * v.shadowOpacity_);
        CGContextSetShadowWithColor(c, v.shadowOffset_, v.shadowRadius_ * 2, color);
        CGColorRelease(color);
        if (v.shadowPath_) {
            CGContextSaveGState(c);
            CGContextSetShadowOnly(c, true);
            CGContextAddPath(c, v.shadowPath_);
            CGContextFillPath(c);
            CGContextRestoreGState(c);
            CGContextSetShadowWithColor(c, CGSizeZero, 0, nullptr);
            drawBody(layer, v);
        } else {
            CGContextBeginTransparencyLayer(c, nullptr);
            drawBody(layer, v);
            CGContextEndTransparencyLayer(c);
        }
        CGContextRestoreGState(c);
    }

    // Cairo leaves a context given a matrix it cannot invert in a lasting error state, in which
    // nothing more of the frame draws: a layer squashed flat (a flip passing edge-on) or with a
    // broken transform is skipped with its sublayers, and its siblings still draw.
    static bool isDrawable(CGAffineTransform t)
    {
        const double determinant = double(t.a) * double(t.d) - double(t.b) * double(t.c);
        return std::isfinite(t.tx) && std::isfinite(t.ty) && std::isfinite(determinant) && determinant != 0;
    }

    void render(CALayer& layer, bool asRoot)
    {
        layer.displayIfNeeded();
        auto shown = drawn(layer, time);
        const CALayer& v = *shown;
        if (v.hidden_ || v.opacity_ <= 0) return;
        const CGAffineTransform toSuperlayer = v.transformToSuperlayer();
        if (!asRoot && !isDrawable(toSuperlayer)) return;
        if (area && !area->admits(layer)) return;
        CGContextSaveGState(c);
        if (!asRoot) CGContextConcatCTM(c, toSuperlayer);
        bool group = v.opacity_ < 1;
        if (group) {
            CGContextSetAlpha(c, v.opacity_);
            CGContextBeginTransparencyLayer(c, nullptr);
        }
        // A mask masks the shadow too.
        if (layer.mask_)
            drawMasked(layer, v, *layer.mask_);
        else
            drawShadowed(layer, v);
        if (group) CGContextEndTransparencyLayer(c);
        CGContextRestoreGState(c);
    }
};
