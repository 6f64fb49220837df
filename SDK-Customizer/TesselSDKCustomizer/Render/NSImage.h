#pragma once
// Images of the customizer: an immutable bitmap whose size in points is its size in pixels.
// Images are made by drawing (imageWithSize), loaded by name from the resource folder
// (imageNamed, through NSImageProvider) or resized from another image.

#include <functional>
#include <memory>
#include <string>

#include "Render/CGContext.h"
#include "Render/CGImage.h"

namespace customizer {

class NSImage;
using NSImagePtr = std::shared_ptr<const NSImage>;

enum NSCompositingOperation {
    NSCompositeCopy = 1,
    NSCompositeSourceOver = 2,
    NSCompositeDestinationOver = 6,
};

class NSImage {
public:
    struct Token {};
    NSImage(Token, CGImageRef image);

    // A new image of the size (rounded up to whole pixels; negative or NaN sizes count as 0)
    // whose content the handler drew at once, with the rectangle (0, 0, width, height) and the
    // image as the current context. The user space is y-up; a flipped image concatenates
    // (1, 0, 0, -1, 0, height), so y runs downwards. The handler's result is ignored. Null for a
    // null handler, or (logged) when no bitmap of that size can be made.
    static NSImagePtr imageWithSize(CGSize size, bool flipped, const std::function<bool(CGRect)>& drawingHandler);
    // Null for a null bitmap.
    static NSImagePtr imageWithCGImage(CGImageRef image);
    // The resource image "<name>.png" (a name with an extension is taken as it is) from the
    // current NSImageProvider; null when there is none.
    static NSImagePtr imageNamed(const std::string& name);

    CGSize size() const;
    // False for an image without pixels (size zero).
    bool isValid() const;
    CGImageRef CGImage() const { return image_; }

    // Draws the part `fromRect` (in the image's points, origin bottom-left; an empty rectangle
    // means the whole image) into `rect` of the current context with the operation and the
    // fraction as alpha.
    void drawInRect(CGRect rect, CGRect fromRect, NSCompositingOperation operation, CGFloat fraction) const;

    // Resized copies for previews: null for an invalid image. The proportional one fits the
    // image into the size, centred; the stretching one fills the size; the resizing one keeps
    // capInset points at each side and tiles the centre strip between them, and logs one line
    // and gives null when its limits are not met (no vertical cap, width at least 2 caps, width
    // at most the target width).
    NSImagePtr imageByScalingProportionallyToSize(CGSize targetSize) const;
    NSImagePtr imageByStretchingToSize(CGSize targetSize) const;
    NSImagePtr imageByResizingToSize(CGSize targetSize, CGFloat capInset, CGFloat verticalCapInset) const;

private:
    CGImageRef image_;
};

}  // namespace customizer
