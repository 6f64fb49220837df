// Contexts over Cairo. Cairo keeps pixels as native-endian ARGB (B, G, R, A in memory) while our
// callers hand in R, G, B, A buffers that they read directly at any time, so each drawing call
// swaps red and blue in just the device box it may touch, draws, and swaps back. Drawing inside a
// transparency layer goes to Cairo's own group surface and needs no swap until the layer ends.

#include "CoreGraphics/CGContext.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>

#include "CGInternal.h"
#include "CoreGraphics/CGContextCairo.h"

namespace {

struct Box {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // half-open device pixel box
    bool empty() const { return x1 <= x0 || y1 <= y0; }
};

Box unite(Box a, Box b)
{
    if (a.empty()) return b;
    if (b.empty()) return a;
    return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

Box intersect(Box a, Box b) { return {std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)}; }

cairo_matrix_t toCairo(CGAffineTransform t)
{
    cairo_matrix_t m;
    cairo_matrix_init(&m, t.a, t.b, t.c, t.d, t.tx, t.ty);
    return m;
}

cairo_operator_t cairoOperator(CGBlendMode mode)
{
    switch (mode) {
    case kCGBlendModeNormal: return CAIRO_OPERATOR_OVER;
    case kCGBlendModeMultiply: return CAIRO_OPERATOR_MULTIPLY;
    case kCGBlendModeScreen: return CAIRO_OPERATOR_SCREEN;
    case kCGBlendModeOverlay: return CAIRO_OPERATOR_OVERLAY;
    case kCGBlendModeDarken: return CAIRO_OPERATOR_DARKEN;
    case kCGBlendModeLighten: return CAIRO_OPERATOR_LIGHTEN;
    case kCGBlendModeColorDodge: return CAIRO_OPERATOR_COLOR_DODGE;
    case kCGBlendModeColorBurn: return CAIRO_OPERATOR_COLOR_BURN;
    case kCGBlendModeSoftLight: return CAIRO_OPERATOR_SOFT_LIGHT;
    case kCGBlendModeHardLight: return CAIRO_OPERATOR_HARD_LIGHT;
    case kCGBlendModeDifference: return CAIRO_OPERATOR_DIFFERENCE;
    case kCGBlendModeExclusion: return CAIRO_OPERATOR_EXCLUSION;
    case kCGBlendModeHue: return CAIRO_OPERATOR_HSL_HUE;
    case kCGBlendModeSaturation: return CAIRO_OPERATOR_HSL_SATURATION;
    case kCGBlendModeColor: return CAIRO_OPERATOR_HSL_COLOR;
    case kCGBlendModeLuminosity: return CAIRO_OPERATOR_HSL_LUMINOSITY;
    case kCGBlendModeClear: return CAIRO_OPERATOR_CLEAR;
    case kCGBlendModeCopy: return CAIRO_OPERATOR_SOURCE;
    case kCGBlendModeSourceIn: return CAIRO_OPERATOR_IN;
    case kCGBlendModeSourceOut: return CAIRO_OPERATOR_OUT;
    case kCGBlendModeSourceAtop: return CAIRO_OPERATOR_ATOP;
    case kCGBlendModeDestinationOver: return CAIRO_OPERATOR_DEST_OVER;
    case kCGBlendModeDestinationIn: return CAIRO_OPERATOR_DEST_IN;
    case kCGBlendModeDestinationOut: return CAIRO_OPERATOR_DEST_OUT;
    case kCGBlendModeDestinationAtop: return CAIRO_OPERATOR_DEST_ATOP;
    case kCGBlendModeXOR: return CAIRO_OPERATOR_XOR;
    case kCGBlendModePlusDarker: return CAIRO_OPERATOR_SATURATE;
    case kCGBlendModePlusLighter: return CAIRO_OPERATOR_ADD;
    }
    return CAIRO_OPERATOR_OVER;
}

CGRef<CGColor> makeColor(CGFloat r, CGFloat g, CGFloat b, CGFloat a)
{
    CGRef<CGColorSpace> space = CGRef<CGColorSpace>::adopt(CGColorSpaceCreateDeviceRGB());
    CGFloat c[4] = {r, g, b, a};
    return CGRef<CGColor>::adopt(CGColorCreate(space.get(), c));
}

CGRef<CGColor> makeGray(CGFloat gray, CGFloat a)
{
    CGRef<CGColorSpace> space = CGRef<CGColorSpace>::adopt(CGColorSpaceCreateDeviceGray());
    CGFloat c[2] = {gray, a};
    return CGRef<CGColor>::adopt(CGColorCreate(space.get(), c));
}

}  // namespace

struct CGContext : CGObject {
    struct Shadow {
        CGSize offset;
        CGFloat blur = 0;
        CGRGBA color;
        bool on = false;
    };
    struct GState {
        CGAffineTransform ctm;
        CGRef<CGColor> fill = makeGray(0, 1);
        CGRef<CGColor> stroke = makeGray(0, 1);
        CGFloat alpha = 1;
        CGBlendMode blend = kCGBlendModeNormal;
        Shadow shadow;
        CGInterpolationQuality interpolation = kCGInterpolationDefault;
        bool shadowOnly = false;
    };
    struct Layer {
        size_t depth;  // saved states at the begin, restored at the end
    };

    ~CGContext() override
    {
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }

    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
    uint8_t* data = nullptr;
    std::vector<uint8_t> ownData;
    size_t width = 0, height = 0, bytesPerRow = 0;
    CGRef<CGColorSpace> space;
    CGAffineTransform base;  // default user space -> Cairo device space (y down)
    GState gs;
    std::vector<GState> saved;
    std::vector<Layer> layers;
    CGFloat shadowPixelsPerUnit = 1;
    bool shadowYDown = false;
    CGAffineTransform textMatrix;  // not part of the graphics state

    void syncMatrix()
    {
        cairo_matrix_t m = toCairo(CGAffineTransformConcat(gs.ctm, base));
        cairo_set_matrix(cr, &m);
    }

    void save()
    {
        saved.push_back(gs);
        cairo_save(cr);
    }

    void restore()
    {
        if (saved.size() <= (layers.empty() ? 0 : layers.back().depth)) return;
        gs = saved.back();
        saved.pop_back();
        // Cairo's restore would bring back its own matrix; ours is the truth.
        cairo_restore(cr);
        syncMatrix();
    }

    Box deviceBox(double x0, double y0, double x1, double y1) const
    {
        double xs[4] = {x0, x1, x0, x1}, ys[4] = {y0, y0, y1, y1};
        double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
        for (int i = 0; i < 4; ++i) {
            cairo_user_to_device(cr, &xs[i], &ys[i]);
            minX = std::min(minX, xs[i]);
            maxX = std::max(maxX, xs[i]);
            minY = std::min(minY, ys[i]);
            maxY = std::max(maxY, ys[i]);
        }
        auto clampInt = [](double v) { return int(std::clamp(v, -1e8, 1e8)); };
        return {clampInt(std::floor(minX)) - 1, clampInt(std::floor(minY)) - 1, clampInt(std::ceil(maxX)) + 1,
                clampInt(std::ceil(maxY)) + 1};
    }

    Box clipBox() const
    {
        double x0, y0, x1, y1;
        cairo_clip_extents(cr, &x0, &y0, &x1, &y1);
        return deviceBox(x0, y0, x1, y1);
    }

    Box surfaceBox() const { return {0, 0, int(width), int(height)}; }

    void swap(Box b)
    {
        b = intersect(b, surfaceBox());
        if (b.empty()) return;
        cairo_surface_flush(surface);
        CGSwapRedBlue(data + size_t(b.y0) * bytesPerRow + size_t(b.x0) * 4, size_t(b.x1 - b.x0), size_t(b.y1 - b.y0),
                      bytesPerRow);
        cairo_surface_mark_dirty(surface);
    }

    bool shadowActive() const
    {
        return gs.shadow.on && gs.shadow.color.a > 0 && gs.blend != kCGBlendModeClear;
    }

    double shadowSigma() const { return gs.shadow.blur * shadowPixelsPerUnit / 2.0; }

    // Device offset of the shadow: in the default space, y up unless the UIKit layer says otherwise.
    void shadowOffset(double& dx, double& dy) const
    {
        dx = gs.shadow.offset.width * shadowPixelsPerUnit;
        dy = gs.shadow.offset.height * shadowPixelsPerUnit * (shadowYDown ? 1 : -1);
    }

    // Copies what Cairo keeps of our state to a scratch context drawing the same operation.
    void copyDrawingState(cairo_t* to) const
    {
        cairo_set_line_width(to, cairo_get_line_width(cr));
        cairo_set_line_cap(to, cairo_get_line_cap(cr));
        cairo_set_line_join(to, cairo_get_line_join(cr));
        cairo_set_miter_limit(to, cairo_get_miter_limit(cr));
        cairo_set_antialias(to, cairo_get_antialias(cr));
        cairo_set_fill_rule(to, cairo_get_fill_rule(cr));
    }

    // Runs one drawing operation with the alpha, blend mode and shadow of the state. `op` draws
    // (and consumes the current path) on the Cairo context it is given; `extents` is the user-space
    // box it may cover.
    void render(double ex0, double ey0, double ex1, double ey1, const std::function<void(cairo_t*)>& op,
                bool inCairoOrder = true)
    {
        Box box = intersect(deviceBox(ex0, ey0, ex1, ey1), clipBox());
        bool shadow = shadowActive();
        double sigma = shadowSigma(), dx = 0, dy = 0;
        int pad = int(std::ceil(3 * sigma)) + 2;
        if (shadow) {
            shadowOffset(dx, dy);
            Box moved{box.x0 + int(std::floor(dx)) - pad, box.y0 + int(std::floor(dy)) - pad,
                      box.x1 + int(std::ceil(dx)) + pad, box.y1 + int(std::ceil(dy)) + pad};
            box = intersect(unite(deviceBox(ex0, ey0, ex1, ey1), moved), clipBox());
        }
        if (box.empty() || gs.alpha <= 0) {
            cairo_new_path(cr);
            return;
        }
        bool direct = layers.empty() && inCairoOrder;
        if (direct) swap(box);
        cairo_operator_t oper = cairoOperator(gs.blend);
        if (!shadow) {
            if (gs.alpha >= 1) {
                cairo_set_operator(cr, oper);
                op(cr);
            } else {
                cairo_push_group(cr);
                cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
                op(cr);
                cairo_pop_group_to_source(cr);
                cairo_set_operator(cr, oper);
                cairo_paint_with_alpha(cr, gs.alpha);
            }
        } else {
            // The shape goes to a scratch surface, unclipped, covering what the visible part of
            // the shadow is blurred from; the clip applies when both are composited.
            // Only where the shape or its shadow can reach: a small shape in a large clip is
            // blurred over its own neighbourhood, not the whole clip.
            Box visible = intersect(box, surfaceBox());
            Box from{visible.x0 - int(std::ceil(dx)) - pad, visible.y0 - int(std::ceil(dy)) - pad,
                     visible.x1 - int(std::floor(dx)) + pad, visible.y1 - int(std::floor(dy)) + pad};
            from = unite(from, Box{visible.x0 - pad, visible.y0 - pad, visible.x1 + pad, visible.y1 + pad});
            cairo_path_t* path = cairo_copy_path(cr);
            cairo_new_path(cr);
            cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, from.x1 - from.x0, from.y1 - from.y0);
            cairo_t* scr = cairo_create(scratch);
            cairo_matrix_t m;
            cairo_get_matrix(cr, &m);
            m.x0 -= from.x0;
            m.y0 -= from.y0;
            cairo_set_matrix(scr, &m);
            copyDrawingState(scr);
            cairo_append_path(scr, path);
            cairo_path_destroy(path);
            op(scr);
            cairo_destroy(scr);
            cairo_surface_t* shade = CGCreateShadowSurface(scratch, sigma, gs.shadow.color);
            cairo_save(cr);
            cairo_identity_matrix(cr);
            cairo_set_operator(cr, oper);
            cairo_set_source_surface(cr, shade, from.x0 + dx, from.y0 + dy);
            cairo_paint_with_alpha(cr, gs.alpha);
            if (!gs.shadowOnly) {
                cairo_set_source_surface(cr, scratch, from.x0, from.y0);
                cairo_paint_with_alpha(cr, gs.alpha);
            }
            cairo_restore(cr);
            cairo_surface_destroy(shade);
            cairo_surface_destroy(scratch);
        }
        if (direct) swap(box);
    }

    // Sets the colour as source; answers the alpha still to apply (a pattern colour's own alpha).
    double setSource(cairo_t* c, CGColorRef color);

    // Runs a path-consuming draw with the source's remaining alpha applied.
    static void withAlpha(cairo_t* c, double alpha, void (*draw)(cairo_t*))
    {
        if (alpha >= 1) {
            draw(c);
            return;
        }
        cairo_pattern_t* source = cairo_pattern_reference(cairo_get_source(c));
        cairo_push_group(c);
        cairo_set_source(c, source);
        draw(c);
        cairo_pop_group_to_source(c);
        cairo_paint_with_alpha(c, alpha);
        cairo_pattern_destroy(source);
    }

    void fillPath(cairo_fill_rule_t rule)
    {
        double x0, y0, x1, y1;
        cairo_set_fill_rule(cr, rule);
        cairo_fill_extents(cr, &x0, &y0, &x1, &y1);
        CGColorRef color = gs.fill.get();
        render(x0, y0, x1, y1, [this, color, rule](cairo_t* c) {
            double alpha = setSource(c, color);
            cairo_set_fill_rule(c, rule);
            withAlpha(c, alpha, cairo_fill);
        });
    }
    void strokePath()
    {
        double x0, y0, x1, y1;
        cairo_stroke_extents(cr, &x0, &y0, &x1, &y1);
        // Cairo leaves a lone dot out of the extents though it draws it with round caps.
        double half = cairo_get_line_width(cr);
        CGColorRef color = gs.stroke.get();
        render(x0 - half, y0 - half, x1 + half, y1 + half, [this, color](cairo_t* c) {
            withAlpha(c, setSource(c, color), cairo_stroke);
        });
    }
};

namespace {

void drawPatternCell(CGPattern* pattern)
{
    int w = std::max(1, int(std::ceil(pattern->xStep))), h = std::max(1, int(std::ceil(pattern->yStep)));
    CGRef<CGColorSpace> space = CGRef<CGColorSpace>::adopt(CGColorSpaceCreateDeviceRGB());
    CGContextRef cell = CGBitmapContextCreate(nullptr, size_t(w), size_t(h), 8, 0, space.get(), kCGImageAlphaPremultipliedLast);
    if (!cell) return;
    CGContextTranslateCTM(cell, -pattern->bounds.origin.x, -pattern->bounds.origin.y);
    pattern->callbacks.drawPattern(pattern->info, cell);
    pattern->cell = CGCreateCairoSurfaceFromRGBA(static_cast<uint8_t*>(CGBitmapContextGetData(cell)), size_t(w), size_t(h),
                                                 CGBitmapContextGetBytesPerRow(cell));
    CGContextRelease(cell);
}

}  // namespace

double CGContext::setSource(cairo_t* c, CGColorRef color)
{
    CGPattern* pattern = color ? color->pattern.get() : nullptr;
    if (!pattern) {
        CGRGBA rgba = CGColorToRGBA(color);
        cairo_set_source_rgba(c, rgba.r, rgba.g, rgba.b, rgba.a);
        return 1;
    }
    {
        std::lock_guard<std::mutex> lock(pattern->cellLock);
        if (!pattern->cell) drawPatternCell(pattern);
    }
    if (!pattern->cell) return 0;
    // Cell pixels (rows top down) -> pattern space (y up) -> default space -> device; Cairo wants
    // the inverse from the user space in force now.
    int h = cairo_image_surface_get_height(pattern->cell);
    CGAffineTransform cellToPattern = CGAffineTransformMake(1, 0, 0, -1, pattern->bounds.origin.x, CGFloat(h) + pattern->bounds.origin.y);
    CGAffineTransform cellToDevice = CGAffineTransformConcat(CGAffineTransformConcat(cellToPattern, pattern->matrix), base);
    CGAffineTransform userToDevice = CGAffineTransformConcat(gs.ctm, base);
    CGAffineTransform userToCell = CGAffineTransformConcat(userToDevice, CGAffineTransformInvert(cellToDevice));
    cairo_pattern_t* p = cairo_pattern_create_for_surface(pattern->cell);
    cairo_pattern_set_extend(p, CAIRO_EXTEND_REPEAT);
    cairo_matrix_t m = toCairo(userToCell);
    cairo_pattern_set_matrix(p, &m);
    cairo_set_source(c, p);
    cairo_pattern_destroy(p);
    return color->components.back();
}

CGContextRef CGContextRetain(CGContextRef c)
{
    if (c) c->retain();
    return c;
}

void CGContextRelease(CGContextRef c)
{
    if (c) c->release();
}

void CGContextFlush(CGContextRef c)
{
    if (c) cairo_surface_flush(c->surface);
}

void CGContextSaveGState(CGContextRef c)
{
    if (c) c->save();
}

void CGContextRestoreGState(CGContextRef c)
{
    if (c) c->restore();
}

CGAffineTransform CGContextGetCTM(CGContextRef c) { return c ? c->gs.ctm : CGAffineTransformIdentity; }

void CGContextConcatCTM(CGContextRef c, CGAffineTransform transform)
{
    if (!c) return;
    c->gs.ctm = CGAffineTransformConcat(transform, c->gs.ctm);
    c->syncMatrix();
}

void CGContextTranslateCTM(CGContextRef c, CGFloat tx, CGFloat ty) { CGContextConcatCTM(c, CGAffineTransformMakeTranslation(tx, ty)); }
void CGContextScaleCTM(CGContextRef c, CGFloat sx, CGFloat sy) { CGContextConcatCTM(c, CGAffineTransformMakeScale(sx, sy)); }
void CGContextRotateCTM(CGContextRef c, CGFloat angle) { CGContextConcatCTM(c, CGAffineTransformMakeRotation(angle)); }

void CGContextSetFillColorWithColor(CGContextRef c, CGColorRef color)
{
    if (c && color) c->gs.fill = CGRef<CGColor>::retained(color);
}

void CGContextSetStrokeColorWithColor(CGContextRef c, CGColorRef color)
{
    if (c && color) c->gs.stroke = CGRef<CGColor>::retained(color);
}

void CGContextSetRGBFillColor(CGContextRef c, CGFloat r, CGFloat g, CGFloat b, CGFloat a)
{
    if (c) c->gs.fill = makeColor(r, g, b, a);
}

void CGContextSetRGBStrokeColor(CGContextRef c, CGFloat r, CGFloat g, CGFloat b, CGFloat a)
{
    if (c) c->gs.stroke = makeColor(r, g, b, a);
}

void CGContextSetGrayFillColor(CGContextRef c, CGFloat gray, CGFloat a)
{
    if (c) c->gs.fill = makeGray(gray, a);
}

void CGContextSetGrayStrokeColor(CGContextRef c, CGFloat gray, CGFloat a)
{
    if (c) c->gs.stroke = makeGray(gray, a);
}

void CGContextSetAlpha(CGContextRef c, CGFloat alpha)
{
    if (c) c->gs.alpha = std::clamp(alpha, CGFloat(0), CGFloat(1));
}

void CGContextSetBlendMode(CGContextRef c, CGBlendMode mode)
{
    if (c) c->gs.blend = mode;
}

void CGContextSetLineWidth(CGContextRef c, CGFloat width)
{
    if (c && width >= 0) cairo_set_line_width(c->cr, width);
}

void CGContextSetLineCap(CGContextRef c, CGLineCap cap)
{
    if (!c) return;
    cairo_set_line_cap(c->cr, cap == kCGLineCapRound ? CAIRO_LINE_CAP_ROUND
                              : cap == kCGLineCapSquare ? CAIRO_LINE_CAP_SQUARE
                                                        : CAIRO_LINE_CAP_BUTT);
}

void CGContextSetLineJoin(CGContextRef c, CGLineJoin join)
{
    if (!c) return;
    cairo_set_line_join(c->cr, join == kCGLineJoinRound ? CAIRO_LINE_JOIN_ROUND
                               : join == kCGLineJoinBevel ? CAIRO_LINE_JOIN_BEVEL
                                                          : CAIRO_LINE_JOIN_MITER);
}

void CGContextSetMiterLimit(CGContextRef c, CGFloat limit)
{
    if (c) cairo_set_miter_limit(c->cr, limit);
}

void CGContextSetShouldAntialias(CGContextRef c, bool shouldAntialias)
{
    if (c) cairo_set_antialias(c->cr, shouldAntialias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
}

void CGContextSetInterpolationQuality(CGContextRef c, CGInterpolationQuality quality)
{
    if (c) c->gs.interpolation = quality;
}

CGInterpolationQuality CGContextGetInterpolationQuality(CGContextRef c) { return c ? c->gs.interpolation : kCGInterpolationDefault; }

void CGContextSetShadow(CGContextRef c, CGSize offset, CGFloat blur)
{
    if (!c) return;
    c->gs.shadow = {offset, std::max(blur, CGFloat(0)), CGRGBA{0, 0, 0, CGFloat(1.0 / 3.0)}, true};
}

void CGContextSetShadowWithColor(CGContextRef c, CGSize offset, CGFloat blur, CGColorRef color)
{
    if (!c) return;
    if (!color || CGColorGetPattern(color)) {
        c->gs.shadow = {};
        return;
    }
    c->gs.shadow = {offset, std::max(blur, CGFloat(0)), CGColorToRGBA(color), true};
}

void CGContextSetShadowBaseSpace(CGContextRef c, CGFloat pixelsPerUnit, bool yDown)
{
    if (!c) return;
    c->shadowPixelsPerUnit = pixelsPerUnit;
    c->shadowYDown = yDown;
}

void CGContextBeginPath(CGContextRef c)
{
    if (c) cairo_new_path(c->cr);
}

void CGContextMoveToPoint(CGContextRef c, CGFloat x, CGFloat y)
{
    if (c) cairo_move_to(c->cr, x, y);
}

void CGContextAddLineToPoint(CGContextRef c, CGFloat x, CGFloat y)
{
    if (c) cairo_line_to(c->cr, x, y);
}

void CGContextAddQuadCurveToPoint(CGContextRef c, CGFloat cpx, CGFloat cpy, CGFloat x, CGFloat y)
{
    if (!c) return;
    CGMutablePathRef path = CGPathCreateMutable();
    if (cairo_has_current_point(c->cr)) {
        double x0, y0;
        cairo_get_current_point(c->cr, &x0, &y0);
        CGPathMoveToPoint(path, nullptr, CGFloat(x0), CGFloat(y0));
    }
    CGPathAddQuadCurveToPoint(path, nullptr, cpx, cpy, x, y);
    CGPathAppendToCairo(path, c->cr);
    CGPathRelease(path);
}

void CGContextAddCurveToPoint(CGContextRef c, CGFloat cp1x, CGFloat cp1y, CGFloat cp2x, CGFloat cp2y, CGFloat x, CGFloat y)
{
    if (!c) return;
    if (!cairo_has_current_point(c->cr)) cairo_move_to(c->cr, cp1x, cp1y);
    cairo_curve_to(c->cr, cp1x, cp1y, cp2x, cp2y, x, y);
}

namespace {

// Builds a piece with our path code from the current point and appends it without its first move.
void appendFromCurrentPoint(CGContextRef c, const std::function<void(CGMutablePathRef)>& build)
{
    CGMutablePathRef path = CGPathCreateMutable();
    bool hadPoint = cairo_has_current_point(c->cr);
    if (hadPoint) {
        double x0, y0;
        cairo_get_current_point(c->cr, &x0, &y0);
        CGPathMoveToPoint(path, nullptr, CGFloat(x0), CGFloat(y0));
    }
    build(path);
    if (hadPoint) path->elements.erase(path->elements.begin());
    CGPathAppendToCairo(path, c->cr);
    CGPathRelease(path);
}

}  // namespace

void CGContextAddArc(CGContextRef c, CGFloat x, CGFloat y, CGFloat radius, CGFloat startAngle, CGFloat endAngle, int clockwise)
{
    if (!c) return;
    appendFromCurrentPoint(c, [&](CGMutablePathRef p) { CGPathAddArc(p, nullptr, x, y, radius, startAngle, endAngle, clockwise != 0); });
}

void CGContextAddArcToPoint(CGContextRef c, CGFloat x1, CGFloat y1, CGFloat x2, CGFloat y2, CGFloat radius)
{
    if (!c) return;
    appendFromCurrentPoint(c, [&](CGMutablePathRef p) { CGPathAddArcToPoint(p, nullptr, x1, y1, x2, y2, radius); });
}

void CGContextAddRect(CGContextRef c, CGRect rect)
{
    if (!c || CGRectIsNull(rect)) return;
    CGPathRef path = CGPathCreateWithRect(rect, nullptr);
    CGPathAppendToCairo(path, c->cr);
    CGPathRelease(path);
}

void CGContextAddEllipseInRect(CGContextRef c, CGRect rect)
{
    if (!c || CGRectIsNull(rect)) return;
    CGPathRef path = CGPathCreateWithEllipseInRect(rect, nullptr);
    CGPathAppendToCairo(path, c->cr);
    CGPathRelease(path);
}

void CGContextAddPath(CGContextRef c, CGPathRef path)
{
    if (c) CGPathAppendToCairo(path, c->cr);
}

void CGContextClosePath(CGContextRef c)
{
    if (c && cairo_has_current_point(c->cr)) cairo_close_path(c->cr);
}

bool CGContextIsPathEmpty(CGContextRef c)
{
    if (!c) return true;
    cairo_path_t* path = cairo_copy_path(c->cr);
    bool empty = path->num_data == 0;
    cairo_path_destroy(path);
    return empty;
}

CGRect CGContextGetPathBoundingBox(CGContextRef c)
{
    if (CGContextIsPathEmpty(c)) return CGRectNull;
    double x0, y0, x1, y1;
    cairo_path_extents(c->cr, &x0, &y0, &x1, &y1);
    return CGRectMake(CGFloat(x0), CGFloat(y0), CGFloat(x1 - x0), CGFloat(y1 - y0));
}

void CGContextDrawPath(CGContextRef c, CGPathDrawingMode mode)
{
    if (!c) return;
    switch (mode) {
    case kCGPathFill: c->fillPath(CAIRO_FILL_RULE_WINDING); break;
    case kCGPathEOFill: c->fillPath(CAIRO_FILL_RULE_EVEN_ODD); break;
    case kCGPathStroke: c->strokePath(); break;
    case kCGPathFillStroke:
    case kCGPathEOFillStroke: {
        cairo_path_t* path = cairo_copy_path(c->cr);
        c->fillPath(mode == kCGPathFillStroke ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
        cairo_append_path(c->cr, path);
        cairo_path_destroy(path);
        c->strokePath();
        break;
    }
    }
}

void CGContextFillPath(CGContextRef c) { CGContextDrawPath(c, kCGPathFill); }
void CGContextEOFillPath(CGContextRef c) { CGContextDrawPath(c, kCGPathEOFill); }
void CGContextStrokePath(CGContextRef c) { CGContextDrawPath(c, kCGPathStroke); }

void CGContextFillRect(CGContextRef c, CGRect rect)
{
    if (!c) return;
    cairo_new_path(c->cr);
    CGContextAddRect(c, rect);
    CGContextFillPath(c);
}

void CGContextStrokeRect(CGContextRef c, CGRect rect)
{
    if (!c) return;
    cairo_new_path(c->cr);
    CGContextAddRect(c, rect);
    CGContextStrokePath(c);
}

void CGContextStrokeRectWithWidth(CGContextRef c, CGRect rect, CGFloat width)
{
    if (!c) return;
    CGContextSaveGState(c);
    CGContextSetLineWidth(c, width);
    CGContextStrokeRect(c, rect);
    CGContextRestoreGState(c);
}

void CGContextFillEllipseInRect(CGContextRef c, CGRect rect)
{
    if (!c) return;
    cairo_new_path(c->cr);
    CGContextAddEllipseInRect(c, rect);
    CGContextFillPath(c);
}

void CGContextStrokeEllipseInRect(CGContextRef c, CGRect rect)
{
    if (!c) return;
    cairo_new_path(c->cr);
    CGContextAddEllipseInRect(c, rect);
    CGContextStrokePath(c);
}

void CGContextStrokeLineSegments(CGContextRef c, const CGPoint* points, size_t count)
{
    if (!c || !points) return;
    cairo_new_path(c->cr);
    for (size_t i = 0; i + 1 < count; i += 2) {
        cairo_move_to(c->cr, points[i].x, points[i].y);
        cairo_line_to(c->cr, points[i + 1].x, points[i + 1].y);
    }
    CGContextStrokePath(c);
}

void CGContextClearRect(CGContextRef c, CGRect rect)
{
    if (!c || CGRectIsNull(rect)) return;
    rect = CGRectStandardize(rect);
    Box box = intersect(c->deviceBox(rect.origin.x, rect.origin.y, rect.origin.x + rect.size.width,
                                     rect.origin.y + rect.size.height),
                        c->clipBox());
    bool direct = c->layers.empty();
    if (direct) c->swap(box);
    cairo_save(c->cr);
    cairo_new_path(c->cr);
    cairo_rectangle(c->cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
    cairo_set_operator(c->cr, CAIRO_OPERATOR_CLEAR);
    cairo_fill(c->cr);
    cairo_restore(c->cr);
    if (direct) c->swap(box);
}

void CGContextClip(CGContextRef c)
{
    if (!c) return;
    cairo_set_fill_rule(c->cr, CAIRO_FILL_RULE_WINDING);
    cairo_clip(c->cr);
}

void CGContextEOClip(CGContextRef c)
{
    if (!c) return;
    cairo_set_fill_rule(c->cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_clip(c->cr);
}

void CGContextClipToRect(CGContextRef c, CGRect rect)
{
    if (!c) return;
    cairo_path_t* path = cairo_copy_path(c->cr);  // clipping to a rect keeps the current path
    cairo_new_path(c->cr);
    CGContextAddRect(c, rect);
    CGContextClip(c);
    cairo_append_path(c->cr, path);
    cairo_path_destroy(path);
}

CGRect CGContextGetClipBoundingBox(CGContextRef c)
{
    if (!c) return CGRectNull;
    double x0, y0, x1, y1;
    cairo_clip_extents(c->cr, &x0, &y0, &x1, &y1);
    if (x1 <= x0 || y1 <= y0) return CGRectNull;
    return CGRectMake(CGFloat(x0), CGFloat(y0), CGFloat(x1 - x0), CGFloat(y1 - y0));
}

void CGContextDrawLinearGradient(CGContextRef c, CGGradientRef gradient, CGPoint startPoint, CGPoint endPoint, uint32_t options)
{
    if (!c || !gradient || gradient->stops.empty()) return;
    double x0, y0, x1, y1;
    cairo_clip_extents(c->cr, &x0, &y0, &x1, &y1);
    cairo_new_path(c->cr);
    bool before = options & kCGGradientDrawsBeforeStartLocation, after = options & kCGGradientDrawsAfterEndLocation;
    c->render(x0, y0, x1, y1, [=](cairo_t* cr) {
        cairo_pattern_t* p = cairo_pattern_create_linear(startPoint.x, startPoint.y, endPoint.x, endPoint.y);
        for (const CGGradient::Stop& s : gradient->stops)
            cairo_pattern_add_color_stop_rgba(p, s.location, s.color.r, s.color.g, s.color.b, s.color.a);
        cairo_pattern_set_extend(p, before || after ? CAIRO_EXTEND_PAD : CAIRO_EXTEND_NONE);
        cairo_set_source(cr, p);
        cairo_pattern_destroy(p);
        // Cairo extends both ends or neither: one-sided extension is the padded gradient cut by
        // the half plane beyond the end that must stay empty.
        double ux = double(endPoint.x) - startPoint.x, uy = double(endPoint.y) - startPoint.y, len = std::hypot(ux, uy);
        if (before != after && len > 0) {
            ux /= len, uy /= len;
            double big = 4 * (std::hypot(x1 - x0, y1 - y0) + std::hypot(x0 - startPoint.x, y0 - startPoint.y) + len);
            CGPoint edge = after ? startPoint : endPoint;  // keep the side that is extended
            double dir = after ? 1 : -1;
            cairo_new_path(cr);
            cairo_move_to(cr, edge.x - uy * big, edge.y + ux * big);
            cairo_line_to(cr, edge.x + uy * big, edge.y - ux * big);
            cairo_line_to(cr, edge.x + uy * big + dir * ux * big, edge.y - ux * big + dir * uy * big);
            cairo_line_to(cr, edge.x - uy * big + dir * ux * big, edge.y + ux * big + dir * uy * big);
            cairo_close_path(cr);
            cairo_save(cr);
            cairo_clip(cr);
            cairo_paint(cr);
            cairo_restore(cr);
            return;
        }
        cairo_paint(cr);
    });
}

void CGContextDrawImage(CGContextRef c, CGRect rect, CGImageRef image)
{
    if (!c || !image || CGRectIsEmpty(rect)) return;
    rect = CGRectStandardize(rect);
    // Plain compositing treats red and blue alike: drawn so straight into the context's bytes, an
    // image needs neither its pixels nor the context's put in Cairo's order (B, G, R, A), and both
    // staying R, G, B, A gives the same bytes. Layers, shadows and other blend modes take Cairo's order.
    const bool sameOrder = c->layers.empty() && !c->shadowActive() &&
                           (c->gs.blend == kCGBlendModeNormal || c->gs.blend == kCGBlendModeCopy);
    cairo_surface_t* pixels = sameOrder ? cairo_image_surface_create_for_data(image->bytes.data(), CAIRO_FORMAT_ARGB32,
                                                                              int(image->width), int(image->height),
                                                                              int(image->width * 4))
                                        : cairo_surface_reference(image->cairoSurface());
    if (cairo_surface_status(pixels) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(pixels);
        return;
    }
    cairo_filter_t filter = CAIRO_FILTER_GOOD;
    if (c->gs.interpolation == kCGInterpolationNone) filter = CAIRO_FILTER_NEAREST;
    if (c->gs.interpolation == kCGInterpolationLow) filter = CAIRO_FILTER_BILINEAR;
    cairo_new_path(c->cr);
    double iw = double(image->width), ih = double(image->height);
    c->render(
        rect.origin.x, rect.origin.y, rect.origin.x + rect.size.width, rect.origin.y + rect.size.height,
        [=](cairo_t* cr) {
            // Upright in y-up space: the first row goes to the top edge (max y).
            cairo_save(cr);
            cairo_translate(cr, rect.origin.x, double(rect.origin.y) + rect.size.height);
            cairo_scale(cr, rect.size.width / iw, -rect.size.height / ih);
            cairo_set_source_surface(cr, pixels, 0, 0);
            cairo_pattern_set_filter(cairo_get_source(cr), filter);
            cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
            cairo_new_path(cr);
            cairo_rectangle(cr, 0, 0, iw, ih);
            cairo_fill(cr);
            cairo_restore(cr);
        },
        !sameOrder);
    cairo_surface_destroy(pixels);
}

void CGContextSetShadowOnly(CGContextRef c, bool shadowOnly)
{
    if (c) c->gs.shadowOnly = shadowOnly;
}

void CGContextSetTextMatrix(CGContextRef c, CGAffineTransform t)
{
    if (c) c->textMatrix = t;
}

CGAffineTransform CGContextGetTextMatrix(CGContextRef c)
{
    return c ? c->textMatrix : CGAffineTransformIdentity;
}

void CGContextSetTextPosition(CGContextRef c, CGFloat x, CGFloat y)
{
    if (!c) return;
    c->textMatrix.tx = x;
    c->textMatrix.ty = y;
}

CGPoint CGContextGetTextPosition(CGContextRef c)
{
    return c ? CGPointMake(c->textMatrix.tx, c->textMatrix.ty) : CGPointZero;
}

void CGContextDrawWithCairo(CGContextRef c, CGRect userBounds,
                            const std::function<void(cairo_t* cr, const CGContextCairoSource& setSource)>& draw)
{
    if (!c || CGRectIsNull(userBounds) || CGRectIsEmpty(userBounds)) return;
    CGRect r = CGRectStandardize(userBounds);
    cairo_new_path(c->cr);
    c->render(r.origin.x, r.origin.y, double(r.origin.x) + r.size.width, double(r.origin.y) + r.size.height,
              [c, &draw](cairo_t* cr) {
                  CGContextCairoSource setSource = [c, cr](CGColorRef color) {
                      return c->setSource(cr, color ? color : c->gs.fill.get());
                  };
                  cairo_save(cr);
                  draw(cr, setSource);
                  cairo_restore(cr);
                  cairo_new_path(cr);
              });
}

namespace {

// Narrows user-space extents to the pixels of a group that are not clear (nothing when none is).
void CGInkExtents(cairo_t* cr, cairo_pattern_t* group, double* x0, double* y0, double* x1, double* y1)
{
    cairo_surface_t* surface = nullptr;
    if (cairo_pattern_get_surface(group, &surface) != CAIRO_STATUS_SUCCESS ||
        cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE ||
        cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32)
        return;
    cairo_surface_flush(surface);
    const int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const auto* data = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(surface));
    if (!data) return;
    int minX = w, minY = h, maxX = -1, maxY = -1;
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* row = data + size_t(y) * size_t(stride / 4);
        int first = 0;
        while (first < w && (row[first] >> 24) == 0) ++first;
        if (first == w) continue;
        int last = w - 1;
        while ((row[last] >> 24) == 0) --last;
        minX = std::min(minX, first), maxX = std::max(maxX, last);
        minY = std::min(minY, y), maxY = y;
    }
    if (maxX < 0) {
        *x1 = *x0, *y1 = *y0;
        return;
    }
    double ox = 0, oy = 0;
    cairo_surface_get_device_offset(surface, &ox, &oy);
    double xs[4] = {minX - ox, maxX + 1 - ox, minX - ox, maxX + 1 - ox};
    double ys[4] = {minY - oy, minY - oy, maxY + 1 - oy, maxY + 1 - oy};
    double ux0 = INFINITY, uy0 = INFINITY, ux1 = -INFINITY, uy1 = -INFINITY;
    for (int i = 0; i < 4; ++i) {
        cairo_device_to_user(cr, &xs[i], &ys[i]);
        ux0 = std::min(ux0, xs[i]), ux1 = std::max(ux1, xs[i]);
        uy0 = std::min(uy0, ys[i]), uy1 = std::max(uy1, ys[i]);
    }
    *x0 = std::max(*x0, ux0), *y0 = std::max(*y0, uy0);
    *x1 = std::min(*x1, ux1), *y1 = std::min(*y1, uy1);
    if (*x1 < *x0) *x1 = *x0;
    if (*y1 < *y0) *y1 = *y0;
}

}  // namespace

void CGContextBeginTransparencyLayer(CGContextRef c, const void*)
{
    if (!c) return;
    c->save();
    c->layers.push_back({c->saved.size()});
    // Inside the layer drawing starts from plain compositing; the saved state applies at the end.
    c->gs.alpha = 1;
    c->gs.blend = kCGBlendModeNormal;
    c->gs.shadow = {};
    cairo_push_group(c->cr);
}

void CGContextBeginTransparencyLayerWithRect(CGContextRef c, CGRect rect, const void* auxiliaryInfo)
{
    if (!c) return;
    // The rectangle only bounds the layer: clipping inside it keeps what lies outside untouched.
    CGContextBeginTransparencyLayer(c, auxiliaryInfo);
    CGContextClipToRect(c, rect);
}

void CGContextEndTransparencyLayer(CGContextRef c)
{
    if (!c || c->layers.empty()) return;
    size_t depth = c->layers.back().depth;
    while (c->saved.size() > depth) c->restore();
    cairo_pattern_t* group = cairo_pop_group(c->cr);
    c->layers.pop_back();
    // Back to the state of the begin (its saved copy), then composite the layer with it.
    c->gs = c->saved.back();
    c->syncMatrix();
    double x0, y0, x1, y1;
    cairo_clip_extents(c->cr, &x0, &y0, &x1, &y1);
    // A shadowed layer is blurred over what it drew, not over the whole clip.
    if (c->shadowActive()) CGInkExtents(c->cr, group, &x0, &y0, &x1, &y1);
    cairo_new_path(c->cr);
    c->render(x0, y0, x1, y1, [group](cairo_t* cr) {
        cairo_set_source(cr, group);
        cairo_paint(cr);
    });
    cairo_pattern_destroy(group);
    c->restore();
}

CGContextRef CGBitmapContextCreate(void* data, size_t width, size_t height, size_t bitsPerComponent, size_t bytesPerRow,
                                   CGColorSpaceRef space, CGBitmapInfo bitmapInfo)
{
    uint32_t alpha = bitmapInfo & kCGBitmapAlphaInfoMask, order = bitmapInfo & kCGBitmapByteOrderMask;
    if (width == 0 || height == 0 || width > 32767 || height > 32767 || bitsPerComponent != 8) return nullptr;
    if (CGColorSpaceGetModel(space) != kCGColorSpaceModelRGB || alpha != kCGImageAlphaPremultipliedLast) return nullptr;
    if (order != kCGBitmapByteOrderDefault && order != kCGBitmapByteOrder32Big) return nullptr;
    if (bytesPerRow == 0) bytesPerRow = width * 4;
    if (bytesPerRow < width * 4 || bytesPerRow % 4 != 0 || bytesPerRow > size_t(std::numeric_limits<int>::max())) return nullptr;
    auto* c = new CGContext;
    if (!data) {
        c->ownData.assign(bytesPerRow * height, 0);
        data = c->ownData.data();
    }
    c->data = static_cast<uint8_t*>(data);
    c->width = width;
    c->height = height;
    c->bytesPerRow = bytesPerRow;
    c->space = CGRef<CGColorSpace>::retained(space);
    c->surface = cairo_image_surface_create_for_data(c->data, CAIRO_FORMAT_ARGB32, int(width), int(height), int(bytesPerRow));
    c->cr = cairo_create(c->surface);
    if (cairo_status(c->cr) != CAIRO_STATUS_SUCCESS) {
        delete c;
        return nullptr;
    }
    c->base = CGAffineTransformMake(1, 0, 0, -1, 0, CGFloat(height));
    c->syncMatrix();
    return c;
}

void* CGBitmapContextGetData(CGContextRef c) { return c ? c->data : nullptr; }
size_t CGBitmapContextGetWidth(CGContextRef c) { return c ? c->width : 0; }
size_t CGBitmapContextGetHeight(CGContextRef c) { return c ? c->height : 0; }
size_t CGBitmapContextGetBytesPerRow(CGContextRef c) { return c ? c->bytesPerRow : 0; }
size_t CGBitmapContextGetBitsPerComponent(CGContextRef c) { return c ? 8 : 0; }
size_t CGBitmapContextGetBitsPerPixel(CGContextRef c) { return c ? 32 : 0; }
CGBitmapInfo CGBitmapContextGetBitmapInfo(CGContextRef c) { return c ? CGBitmapInfo(kCGImageAlphaPremultipliedLast) : 0; }
CGImageAlphaInfo CGBitmapContextGetAlphaInfo(CGContextRef c) { return c ? kCGImageAlphaPremultipliedLast : kCGImageAlphaNone; }
CGColorSpaceRef CGBitmapContextGetColorSpace(CGContextRef c) { return c ? c->space.get() : nullptr; }

CGImageRef CGBitmapContextCreateImage(CGContextRef c)
{
    if (!c) return nullptr;
    cairo_surface_flush(c->surface);
    return CGImageCreateWithRGBABytes(c->width, c->height, c->bytesPerRow, c->data);
}
