#include "Render/NSImage.h"

#include <cmath>

#include "Render/NSGraphicsContext.h"
#include "Render/NSImageProvider.h"
#include "Render/NSLog.h"

namespace customizer {
namespace {

int pixelsFor(CGFloat points) { return std::isfinite(points) && points > 0 ? int(std::min(std::ceil(points), 1e9)) : 0; }

CGBlendMode blendModeFor(NSCompositingOperation operation)
{
    switch (operation) {
    case NSCompositeCopy: return kCGBlendModeCopy;
    case NSCompositeDestinationOver: return kCGBlendModeDestinationOver;
    case NSCompositeSourceOver: break;
    }
    return kCGBlendModeNormal;
}

}  // namespace

NSImage::NSImage(Token, CGImageRef image) : image_(std::move(image)) {}

NSImagePtr NSImage::imageWithSize(CGSize size, bool flipped, const std::function<bool(CGRect)>& drawingHandler)
{
    if (!drawingHandler) return nullptr;
    int width = pixelsFor(size.width), height = pixelsFor(size.height);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        NSLog("imageWithSize: no bitmap of %g x %g can be made", size.width, size.height);
        return nullptr;
    }
    {
        CGContext context(surface);
        NSGraphicsContext::Scope current(&context);
        context.saveGState();
        if (flipped) context.concatCTM(1, 0, 0, -1, 0, height);
        drawingHandler(CGRectMake(0, 0, width, height));
        context.restoreGState();
    }
    return imageWithCGImage(CGImage::imageWithSurface(surface));
}

NSImagePtr NSImage::imageWithCGImage(CGImageRef image)
{
    if (!image) return nullptr;
    return std::make_shared<const NSImage>(Token{}, std::move(image));
}

NSImagePtr NSImage::imageNamed(const std::string& name)
{
    std::string fileName = name;
    size_t slash = fileName.rfind('/');
    if (fileName.find('.', slash == std::string::npos ? 0 : slash + 1) == std::string::npos) fileName += ".png";
    return NSImageProvider::current()->imageNamed(fileName);
}

CGSize NSImage::size() const { return CGSizeMake(image_->width(), image_->height()); }

bool NSImage::isValid() const { return image_->width() > 0 && image_->height() > 0; }

void NSImage::drawInRect(CGRect rect, CGRect fromRect, NSCompositingOperation operation, CGFloat fraction) const
{
    CGContextRef context = NSGraphicsContext::currentGraphicsPort();
    if (!context || !isValid()) return;
    if (CGRectIsEmpty(fromRect)) fromRect = CGRectMake(0, 0, image_->width(), image_->height());
    context->saveGState();
    context->setBlendMode(blendModeFor(operation));
    context->setAlpha(fraction);
    context->drawImage(rect, image_, fromRect);
    context->restoreGState();
}

}  // namespace customizer
