#include "Render/CGContext.h"

#include <cmath>

namespace customizer {
namespace {

cairo_operator_t operatorFor(CGBlendMode mode)
{
    switch (mode) {
    case kCGBlendModeOverlay: return CAIRO_OPERATOR_OVERLAY;
    case kCGBlendModeCopy: return CAIRO_OPERATOR_SOURCE;
    case kCGBlendModeDestinationOver: return CAIRO_OPERATOR_DEST_OVER;
    case kCGBlendModeNormal: break;
    }
    return CAIRO_OPERATOR_OVER;
}

void setSourceColor(cairo_t* cr, CGColor c)
{
    cairo_set_source_rgba(cr, c.red, c.green, c.blue, c.alpha);
}

// The mapping from the user space to the image's pixels that shows the image upright in `rect`:
// its top row at the rectangle's maximum y.
cairo_matrix_t userToImage(CGRect rect, double imageWidth, double imageHeight)
{
    cairo_matrix_t m;
    cairo_matrix_init(&m, rect.size.width / imageWidth, 0, 0, -rect.size.height / imageHeight, rect.origin.x,
                      rect.origin.y + rect.size.height);
    cairo_matrix_invert(&m);
    return m;
}

// Drawing into an empty or degenerate rectangle would need a singular matrix, which puts a
// Cairo context into an error state for good.
bool canPlace(CGRect rect, int imageWidth, int imageHeight)
{
    return std::isfinite(rect.size.width) && std::isfinite(rect.size.height) && rect.size.width != 0 &&
           rect.size.height != 0 && imageWidth > 0 && imageHeight > 0;
}

}  // namespace

CGContext::CGContext(cairo_surface_t* surface) : cr_(cairo_create(surface))
{
    int height = cairo_image_surface_get_height(surface);
    cairo_matrix_t yUp;
    cairo_matrix_init(&yUp, 1, 0, 0, -1, 0, height);
    cairo_set_matrix(cr_, &yUp);
}

CGContext::~CGContext() { cairo_destroy(cr_); }

void CGContext::saveGState()
{
    cairo_save(cr_);
    states_.push_back(states_.back());
}

void CGContext::restoreGState()
{
    // An unbalanced restore is ignored, as the platform ignores it.
    if (states_.size() < 2) return;
    states_.pop_back();
    cairo_restore(cr_);
}

void CGContext::concatCTM(CGFloat a, CGFloat b, CGFloat c, CGFloat d, CGFloat tx, CGFloat ty)
{
    cairo_matrix_t m;
    cairo_matrix_init(&m, a, b, c, d, tx, ty);
    if (cairo_matrix_invert(&m) != CAIRO_STATUS_SUCCESS) return;
    cairo_matrix_init(&m, a, b, c, d, tx, ty);
    cairo_transform(cr_, &m);
}

void CGContext::translateCTM(CGFloat tx, CGFloat ty) { cairo_translate(cr_, tx, ty); }

void CGContext::clipToRect(CGRect rect)
{
    cairo_new_path(cr_);
    cairo_rectangle(cr_, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
    cairo_clip(cr_);
}

void CGContext::clipToMask(CGRect rect, const CGImageRef& mask)
{
    if (!mask) return;
    clipToRect(rect);
    if (!canPlace(rect, mask->width(), mask->height())) return;
    cairo_matrix_t deviceToUser;
    cairo_get_matrix(cr_, &deviceToUser);
    cairo_matrix_invert(&deviceToUser);
    cairo_matrix_t toMask = userToImage(rect, mask->width(), mask->height());
    cairo_matrix_t deviceToMask;
    cairo_matrix_multiply(&deviceToMask, &deviceToUser, &toMask);
    state().masks.push_back({mask, deviceToMask});
}

void CGContext::beginPath() { cairo_new_path(cr_); }

void CGContext::moveToPoint(CGFloat x, CGFloat y) { cairo_move_to(cr_, x, y); }

void CGContext::addLineToPoint(CGFloat x, CGFloat y) { cairo_line_to(cr_, x, y); }

void CGContext::addCurveToPoint(CGFloat cp1x, CGFloat cp1y, CGFloat cp2x, CGFloat cp2y, CGFloat x, CGFloat y)
{
    cairo_curve_to(cr_, cp1x, cp1y, cp2x, cp2y, x, y);
}

void CGContext::closePath() { cairo_close_path(cr_); }

void CGContext::addPath(const CGPath& path)
{
    for (const CGPathElement& e : path.elements) {
        switch (e.type) {
        case kCGPathElementMoveToPoint: cairo_move_to(cr_, e.points[0].x, e.points[0].y); break;
        case kCGPathElementAddLineToPoint: cairo_line_to(cr_, e.points[0].x, e.points[0].y); break;
        case kCGPathElementAddCurveToPoint:
            cairo_curve_to(cr_, e.points[0].x, e.points[0].y, e.points[1].x, e.points[1].y, e.points[2].x, e.points[2].y);
            break;
        case kCGPathElementCloseSubpath: cairo_close_path(cr_); break;
        }
    }
}

void CGContext::addRect(CGRect rect) { cairo_rectangle(cr_, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height); }

template <class Draw>
void CGContext::composite(Draw&& draw)
{
    const State& s = states_.back();
    cairo_operator_t op = operatorFor(s.blendMode);
    if (s.masks.empty() && s.alpha >= 1) {
        cairo_set_operator(cr_, op);
        draw();
        return;
    }
    // Draw the shape alone, then apply each mask and the alpha to it, then blend the result.
    cairo_push_group(cr_);
    cairo_set_operator(cr_, CAIRO_OPERATOR_OVER);
    draw();
    cairo_pattern_t* layer = cairo_pop_group(cr_);
    if (s.alpha < 1) {
        cairo_push_group(cr_);
        cairo_set_source(cr_, layer);
        cairo_paint_with_alpha(cr_, s.alpha);
        cairo_pattern_destroy(layer);
        layer = cairo_pop_group(cr_);
    }
    for (size_t i = 0; i < s.masks.size(); ++i) {
        bool last = i + 1 == s.masks.size();
        if (!last) cairo_push_group(cr_);
        cairo_set_operator(cr_, last ? op : CAIRO_OPERATOR_OVER);
        cairo_set_source(cr_, layer);
        cairo_pattern_t* mask = cairo_pattern_create_for_surface(s.masks[i].mask->surface());
        cairo_pattern_set_matrix(mask, &s.masks[i].deviceToMask);
        cairo_pattern_set_extend(mask, CAIRO_EXTEND_PAD);
        cairo_pattern_set_filter(mask, CAIRO_FILTER_GOOD);
        cairo_save(cr_);
        cairo_identity_matrix(cr_);
        cairo_mask(cr_, mask);
        cairo_restore(cr_);
        cairo_pattern_destroy(mask);
        if (!last) {
            cairo_pattern_destroy(layer);
            layer = cairo_pop_group(cr_);
        }
    }
    if (s.masks.empty()) {
        cairo_set_operator(cr_, op);
        cairo_set_source(cr_, layer);
        cairo_paint(cr_);
    }
    cairo_pattern_destroy(layer);
}

void CGContext::fillRect(CGRect rect)
{
    CGColor color = state().fillColor;
    composite([&] {
        setSourceColor(cr_, color);
        cairo_new_path(cr_);
        cairo_rectangle(cr_, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
        cairo_fill(cr_);
    });
}

void CGContext::fillPath()
{
    CGColor color = state().fillColor;
    composite([&] {
        setSourceColor(cr_, color);
        cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_WINDING);
        cairo_fill(cr_);
    });
}

void CGContext::strokePath()
{
    CGColor color = state().strokeColor;
    CGFloat width = state().lineWidth;
    composite([&] {
        setSourceColor(cr_, color);
        cairo_set_line_width(cr_, width);
        cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
        cairo_set_line_join(cr_, CAIRO_LINE_JOIN_MITER);
        cairo_stroke(cr_);
    });
}

void CGContext::setSourceImage(CGRect rect, const CGImageRef& image, CGRect sourcePixels)
{
    cairo_surface_t* part = cairo_surface_create_for_rectangle(image->surface(), sourcePixels.origin.x, sourcePixels.origin.y,
                                                               sourcePixels.size.width, sourcePixels.size.height);
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(part);
    cairo_matrix_t m = userToImage(rect, sourcePixels.size.width, sourcePixels.size.height);
    cairo_pattern_set_matrix(pattern, &m);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_GOOD);
    cairo_set_source(cr_, pattern);
    cairo_pattern_destroy(pattern);
    cairo_surface_destroy(part);
}

void CGContext::drawImage(CGRect rect, const CGImageRef& image)
{
    if (!image) return;
    drawImage(rect, image, CGRectMake(0, 0, image->width(), image->height()));
}

void CGContext::drawImage(CGRect rect, const CGImageRef& image, CGRect source)
{
    if (!image) return;
    // Source rectangles count from the image's bottom-left; the surface's rows from its top.
    CGRect pixels = CGRectMake(CGRectGetMinX(source), image->height() - CGRectGetMaxY(source), CGRectGetWidth(source),
                               CGRectGetHeight(source));
    if (!canPlace(rect, int(std::ceil(pixels.size.width)), int(std::ceil(pixels.size.height)))) return;
    composite([&] {
        setSourceImage(rect, image, pixels);
        cairo_new_path(cr_);
        cairo_rectangle(cr_, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
        cairo_fill(cr_);
    });
}

void CGContext::drawLinearGradient(const CGGradient& gradient, CGPoint start, CGPoint end, unsigned options)
{
    CGFloat dx = end.x - start.x, dy = end.y - start.y;
    CGFloat length = std::hypot(dx, dy);
    if (gradient.stops.empty() || !(length > 0)) return;
    bool before = options & kCGGradientDrawsBeforeStartLocation;
    bool after = options & kCGGradientDrawsAfterEndLocation;
    cairo_save(cr_);
    // Cairo extends both ends or neither; a gradient extended at one end only pads both and
    // clips the other end away with a half-plane.
    auto clipBeyond = [&](CGPoint from, CGFloat ux, CGFloat uy) {
        // Far beyond any image, and within Cairo's fixed-point range (about 8 million).
        const CGFloat far = 1e6;
        CGFloat nx = -uy, ny = ux;
        cairo_new_path(cr_);
        cairo_move_to(cr_, from.x + nx * far, from.y + ny * far);
        cairo_line_to(cr_, from.x - nx * far, from.y - ny * far);
        cairo_line_to(cr_, from.x - nx * far + ux * far, from.y - ny * far + uy * far);
        cairo_line_to(cr_, from.x + nx * far + ux * far, from.y + ny * far + uy * far);
        cairo_close_path(cr_);
        cairo_clip(cr_);
    };
    if (before != after) {
        if (!before) clipBeyond(start, dx / length, dy / length);
        if (!after) clipBeyond(end, -dx / length, -dy / length);
    }
    cairo_pattern_t* pattern = cairo_pattern_create_linear(start.x, start.y, end.x, end.y);
    for (const CGGradientStop& stop : gradient.stops)
        cairo_pattern_add_color_stop_rgba(pattern, std::clamp(stop.location, 0.0, 1.0), stop.color.red, stop.color.green,
                                          stop.color.blue, stop.color.alpha);
    cairo_pattern_set_extend(pattern, before || after ? CAIRO_EXTEND_PAD : CAIRO_EXTEND_NONE);
    composite([&] {
        cairo_set_source(cr_, pattern);
        cairo_paint(cr_);
    });
    cairo_pattern_destroy(pattern);
    cairo_restore(cr_);
}

}  // namespace customizer
