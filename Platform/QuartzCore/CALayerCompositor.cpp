#include "QuartzCore/CALayerCompositor.h"

#include "QuartzCore/CALayerRenderer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

using ImageHandle = std::shared_ptr<CGImage>;

ImageHandle adopt(CGImageRef image)
{
    return ImageHandle(image, [](CGImageRef i) { CGImageRelease(i); });
}

bool sameTransform(const CGAffineTransform& a, const CGAffineTransform& b)
{
    return a.a == b.a && a.b == b.b && a.c == b.c && a.d == b.d && a.tx == b.tx && a.ty == b.ty;
}

bool sameRect(CGRect a, CGRect b)
{
    if (CGRectIsNull(a) || CGRectIsNull(b)) return CGRectIsNull(a) == CGRectIsNull(b);
    return CGRectEqualToRect(a, b);
}

// Frame pixels touched by a rectangle of frame coordinates, within the frame.
std::optional<CALayerPixelRect> pixelsOf(CGRect r, size_t width, size_t height)
{
    if (CGRectIsNull(r) || CGRectIsEmpty(r)) return std::nullopt;
    const double x0 = std::max(0.0, std::floor(double(CGRectGetMinX(r))));
    const double y0 = std::max(0.0, std::floor(double(CGRectGetMinY(r))));
    const double x1 = std::min(double(width), std::ceil(double(CGRectGetMaxX(r))));
    const double y1 = std::min(double(height), std::ceil(double(CGRectGetMaxY(r))));
    if (!(x1 > x0) || !(y1 > y0)) return std::nullopt;
    return CALayerPixelRect{int(x0), int(y0), int(x1 - x0), int(y1 - y0)};
}

bool touches(const CALayerPixelRect& a, const CALayerPixelRect& b)
{
    return a.x <= b.x + b.width && b.x <= a.x + a.width && a.y <= b.y + b.height && b.y <= a.y + a.height;
}

CALayerPixelRect unite(const CALayerPixelRect& a, const CALayerPixelRect& b)
{
    const int x0 = std::min(a.x, b.x), y0 = std::min(a.y, b.y);
    const int x1 = std::max(a.x + a.width, b.x + b.width), y1 = std::max(a.y + a.height, b.y + b.height);
    return {x0, y0, x1 - x0, y1 - y0};
}

// Rectangles that touch become one; more than a few become their bounding box, since each is a
// pass over the tree.
std::vector<CALayerPixelRect> merged(std::vector<CALayerPixelRect> rects)
{
    constexpr size_t kMostPasses = 4;
    for (bool joined = true; joined;) {
        joined = false;
        for (size_t i = 0; i < rects.size() && !joined; ++i)
            for (size_t j = i + 1; j < rects.size(); ++j)
                if (touches(rects[i], rects[j])) {
                    rects[i] = unite(rects[i], rects[j]);
                    rects.erase(rects.begin() + std::ptrdiff_t(j));
                    joined = true;
                    break;
                }
    }
    if (rects.size() > kMostPasses) {
        CALayerPixelRect all = rects.front();
        for (const auto& r : rects) all = unite(all, r);
        rects = {all};
    }
    return rects;
}

CGContextRef makeFrame(size_t width, size_t height)
{
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGContextRef context = CGBitmapContextCreate(nullptr, width, height, 8, 0, space, kCGImageAlphaPremultipliedLast);
    CGColorSpaceRelease(space);
    return context;
}

}  // namespace

// What the last composite saw of one layer.
struct CALayerCompositor::Seen {
    std::weak_ptr<const CALayer> layer;
    std::uint64_t changes = 0;
    bool animating = false;
    ImageHandle contents;
    CGAffineTransform toFrame{};
    CGRect extent = CGRectNull;  // frame coordinates of all it and its sublayers draw; null: nothing
    int reach = 0;  // how far outside a rectangle a shadow it casts into that rectangle is blurred from
};

// One walk over the tree, as the renderer walks it.
struct CALayerCompositor::Measure {
    double time;
    CGRect frame;
    std::unordered_map<const CALayer*, Seen>& out;

    static bool animating(const CALayer& layer)
    {
        return std::any_of(layer.animations_.begin(), layer.animations_.end(), [](const auto& a) { return !a.ended; });
    }

    // A mask draws nothing where it is, but every change of it changes the masked layer.
    static void signature(const CALayer& layer, std::uint64_t& changes, bool& running)
    {
        changes = changes * 1099511628211ull + layer.changeCount_ + 1;
        running = running || animating(layer);
        if (layer.mask_) signature(*layer.mask_, changes, running);
        for (const auto& sub : layer.sublayers_) signature(*sub, changes, running);
    }

    static bool hasContentsAnimation(const CALayer& layer)
    {
        return std::any_of(layer.animations_.begin(), layer.animations_.end(), [](const auto& a) {
            auto basic = std::dynamic_pointer_cast<CABasicAnimation>(a.animation);
            return basic && basic->keyPath() == "contents" && !a.ended;
        });
    }

    CGRect layerExtent(CALayer& layer, CGAffineTransform parentToFrame, bool asRoot, int reach)
    {
        layer.displayIfNeeded();
        auto shown = CALayerRenderer::drawn(layer, time);
        const CALayer& v = *shown;
        Seen seen;
        seen.layer = layer.self<const CALayer>();
        seen.changes = layer.changeCount_;
        seen.animating = animating(layer);
        if (layer.mask_) signature(*layer.mask_, seen.changes, seen.animating);
        seen.contents = adopt(layer.copyContents());
        seen.toFrame = parentToFrame;
        const CGAffineTransform toSuperlayer = v.transformToSuperlayer();
        if (!(v.hidden_ || v.opacity_ <= 0) && (asRoot || CALayerRenderer::isDrawable(toSuperlayer))) {
            const CGAffineTransform m = asRoot ? parentToFrame : CGAffineTransformConcat(toSuperlayer, parentToFrame);
            seen.toFrame = m;
            auto toFrame = [&](CGRect r) { return CGRectIsNull(r) ? r : CGRectApplyAffineTransform(r, m); };
            const bool shadowed = v.shadowOpacity_ > 0 && v.shadowColor_;
            // Shadows are blurred in the frame's pixels: sigma is the radius times the scale.
            const double pixelsPerPoint = std::sqrt(std::fabs(double(parentToFrame.a) * parentToFrame.d -
                                                              double(parentToFrame.b) * parentToFrame.c));
            const int pad = shadowed ? int(std::ceil(3 * double(v.shadowRadius_) * pixelsPerPoint)) + 2 : 0;
            const double dx = shadowed ? double(v.shadowOffset_.width) * pixelsPerPoint : 0;
            const double dy = shadowed ? double(v.shadowOffset_.height) * pixelsPerPoint : 0;
            const int shadowReach = shadowed ? pad + int(std::ceil(std::fabs(dx) + std::fabs(dy))) : 0;
            const int inner = reach + shadowReach;
            if (shadowed) seen.reach = inner;

            CGRect own = v.bounds_;
            bool unbounded = false;
            if (v.contentsGravity_ != kCAGravityResize && !v.masksToBounds_) {
                if (hasContentsAnimation(layer)) unbounded = true;
                if (CGImageRef image = v.copyContents()) {
                    const CGSize size = CGSizeMake(CGImageGetWidth(image) / v.contentsScale_,
                                                   CGImageGetHeight(image) / v.contentsScale_);
                    own = CGRectUnion(own, CALayerGravityRect(v.contentsGravity_, v.bounds_, size));
                    CGImageRelease(image);
                }
            }
            const CGRect content = layer.ownContentBounds();
            if (!CGRectIsNull(content)) own = CGRectUnion(own, content);
            CGRect body = unbounded ? frame : toFrame(own);
            CGRect subs = CGRectNull;
            for (const auto& sub : layer.sublayers_) {
                const CGRect e = layerExtent(*sub, m, false, inner);
                if (!CGRectIsNull(e)) subs = CGRectUnion(subs, e);
            }
            if (v.masksToBounds_ && !CGRectIsNull(subs)) subs = CGRectIntersection(subs, toFrame(v.bounds_));
            if (!CGRectIsNull(subs)) body = CGRectUnion(body, subs);
            if (shadowed) {
                CGRect source = v.shadowPath_ ? toFrame(CGPathGetBoundingBox(v.shadowPath_)) : body;
                if (!CGRectIsNull(source)) {
                    source = CGRectOffset(source, CGFloat(dx), CGFloat(dy));
                    body = CGRectUnion(body, CGRectInset(source, -CGFloat(pad), -CGFloat(pad)));
                }
            }
            // Antialiased edges and filtered images reach into the next pixel.
            seen.extent = CGRectInset(body, -2, -2);
        }
        const CGRect extent = seen.extent;
        out[&layer] = std::move(seen);
        return extent;
    }
};

// The part of the frame being drawn again: layers whose drawing misses it are skipped.
class CALayerCompositor::Damaged : public CALayerRenderer::Area {
public:
    Damaged(const std::unordered_map<const CALayer*, Seen>& seen, CGRect area, std::unordered_set<const CALayer*>& drawn)
        : seen_(seen), area_(area), drawn_(drawn)
    {
    }
    bool admits(const CALayer& layer) override
    {
        auto it = seen_.find(&layer);
        if (it != seen_.end() && (CGRectIsNull(it->second.extent) || !CGRectIntersectsRect(it->second.extent, area_)))
            return false;
        drawn_.insert(&layer);
        return true;
    }

private:
    const std::unordered_map<const CALayer*, Seen>& seen_;
    CGRect area_;
    std::unordered_set<const CALayer*>& drawn_;
};

CALayerCompositor::CALayerCompositor() = default;

CALayerCompositor::~CALayerCompositor()
{
    CGContextRelease(frame_);
    CGContextRelease(scratch_);
}

void CALayerCompositor::invalidate()
{
    seen_.clear();
    scale_ = 0;
}

const std::uint8_t* CALayerCompositor::pixels() const
{
    return frame_ ? static_cast<const std::uint8_t*>(CGBitmapContextGetData(frame_)) : nullptr;
}

size_t CALayerCompositor::bytesPerRow() const
{
    return frame_ ? CGBitmapContextGetBytesPerRow(frame_) : 0;
}

std::vector<CALayerPixelRect> CALayerCompositor::composite(CALayer& root, CGFloat scale)
{
    drawnLast_.clear();
    if (!(scale > 0)) return {};
    root.layoutIfNeeded();
    const CGRect b = root.bounds();
    const auto width = size_t(std::ceil(b.size.width * scale)), height = size_t(std::ceil(b.size.height * scale));
    if (!(b.size.width > 0) || !(b.size.height > 0) || width == 0 || height == 0) return {};
    const bool fresh = !frame_ || width != width_ || height != height_ || scale != scale_;
    if (fresh) {
        CGContextRelease(frame_);
        CGContextRelease(scratch_);
        frame_ = makeFrame(width, height);
        scratch_ = makeFrame(width, height);
        if (!frame_ || !scratch_) {
            CGContextRelease(frame_);
            CGContextRelease(scratch_);
            frame_ = scratch_ = nullptr;
            return {};
        }
        // Shadows measured in points, positive heights going down, as in an image context.
        CGContextSetShadowBaseSpace(scratch_, scale, true);
        width_ = width, height_ = height, scale_ = scale;
        seen_.clear();
    }

    const double time = CACurrentMediaTime();
    const CGAffineTransform toFrame =
        CGAffineTransformConcat(CGAffineTransformMakeTranslation(-b.origin.x, -b.origin.y),
                                CGAffineTransformMakeScale(scale, scale));
    std::unordered_map<const CALayer*, Seen> now;
    Measure measure{time, CGRectMake(0, 0, CGFloat(width), CGFloat(height)), now};
    measure.layerExtent(root, toFrame, true, 0);

    std::vector<CALayerPixelRect> damage;
    auto damaged = [&](CGRect r) {
        if (auto pixels = pixelsOf(r, width, height)) damage.push_back(*pixels);
    };
    if (fresh) {
        damage.push_back({0, 0, int(width), int(height)});
    } else {
        for (const auto& [layer, seen] : now) {
            auto it = seen_.find(layer);
            if (it == seen_.end() || it->second.layer.expired()) {
                damaged(seen.extent);
                if (it != seen_.end()) damaged(it->second.extent);  // another layer that lived here
                continue;
            }
            const Seen& was = it->second;
            if (was.changes != seen.changes || was.animating || seen.animating || was.contents != seen.contents ||
                !sameTransform(was.toFrame, seen.toFrame) || !sameRect(was.extent, seen.extent)) {
                damaged(was.extent);
                damaged(seen.extent);
            }
        }
        for (const auto& [layer, was] : seen_)
            if (!now.count(layer)) damaged(was.extent);
    }
    seen_ = std::move(now);
    if (damage.empty()) return {};
    damage = merged(std::move(damage));

    const size_t stride = CGBitmapContextGetBytesPerRow(frame_);
    auto* to = static_cast<std::uint8_t*>(CGBitmapContextGetData(frame_));
    const auto* from = static_cast<const std::uint8_t*>(CGBitmapContextGetData(scratch_));
    for (const CALayerPixelRect& r : damage) {
        // Drawn over a margin that holds everything blurred into the shadows cast into the rectangle.
        const CGRect inside = CGRectMake(CGFloat(r.x), CGFloat(r.y), CGFloat(r.width), CGFloat(r.height));
        int m = 0;
        for (const auto& [layer, seen] : seen_)
            if (seen.reach > m && !CGRectIsNull(seen.extent) && CGRectIntersectsRect(seen.extent, inside)) m = seen.reach;
        m += 1;
        const auto drawn = pixelsOf(CGRectMake(CGFloat(r.x - m), CGFloat(r.y - m), CGFloat(r.width + 2 * m),
                                               CGFloat(r.height + 2 * m)),
                                    width, height);
        if (!drawn) continue;
        // The clip in the default space (y up), then the image context's space over it.
        const CGRect clip = CGRectMake(CGFloat(drawn->x), CGFloat(int(height) - drawn->y - drawn->height),
                                       CGFloat(drawn->width), CGFloat(drawn->height));
        CGContextSaveGState(scratch_);
        CGContextClipToRect(scratch_, clip);
        CGContextClearRect(scratch_, clip);
        CGContextTranslateCTM(scratch_, 0, CGFloat(height));
        CGContextScaleCTM(scratch_, scale, -scale);
        CGContextTranslateCTM(scratch_, -b.origin.x, -b.origin.y);
        Damaged area(seen_, CGRectMake(CGFloat(drawn->x), CGFloat(drawn->y), CGFloat(drawn->width), CGFloat(drawn->height)),
                     drawnLast_);
        CALayerRenderer{scratch_, time, &area}.render(root, true);
        CGContextRestoreGState(scratch_);
        CGContextFlush(scratch_);
        for (int y = r.y; y < r.y + r.height; ++y)
            std::memcpy(to + size_t(y) * stride + size_t(r.x) * 4, from + size_t(y) * stride + size_t(r.x) * 4,
                        size_t(r.width) * 4);
    }
    ++composites_;
    return damage;
}
