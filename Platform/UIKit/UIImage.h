#pragma once
// Images: a CGImage with a scale (pixels per point) and an orientation that drawing honours,
// optionally resizable (cap insets: corners kept, edges and centre stretched).

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "CoreGraphics/CGContext.h"
#include "Foundation/NSObjCRuntime.h"
#include "Foundation/NSObject.h"
#include "UIKit/UIGeometry.h"

// How the stored pixels must be turned to show the picture upright. NSInteger-backed, as on the
// platform: a stored value outside the eight is representable (and answered as unhandled).
enum UIImageOrientation : NSInteger {
    UIImageOrientationUp = 0,
    UIImageOrientationDown = 1,           // 180 degrees
    UIImageOrientationLeft = 2,           // 90 degrees counterclockwise
    UIImageOrientationRight = 3,          // 90 degrees clockwise
    UIImageOrientationUpMirrored = 4,     // flipped horizontally
    UIImageOrientationDownMirrored = 5,   // flipped vertically
    UIImageOrientationLeftMirrored = 6,   // transposed
    UIImageOrientationRightMirrored = 7,  // transposed across the other diagonal
};

class UIImage : public NSObject {
public:
    using NSObject::NSObject;
    ~UIImage() override;

    // Null for a null image.
    static std::shared_ptr<UIImage> imageWithCGImage(CGImageRef image);
    static std::shared_ptr<UIImage> imageWithCGImage(CGImageRef image, CGFloat scale, UIImageOrientation orientation);
    // A PNG or JPEG in memory; null when it cannot be decoded or has more than 2^27 pixels. The
    // pixels are kept as stored, with the file's EXIF orientation as the image's.
    static std::shared_ptr<UIImage> imageWithData(const std::vector<uint8_t>& data, CGFloat scale = 1);
    // The same, refusing more than `maximumPixels` (bytes from outside the app: a few hundred of
    // them may claim gigabytes of pixels) before any pixel is decoded.
    // *reason, when given, says why it answered null.
    static std::shared_ptr<UIImage> imageWithData(const std::vector<uint8_t>& data, CGFloat scale,
                                                  std::size_t maximumPixels, std::string* reason = nullptr);
    // Reads exactly the file named (scale 2 when its name says "@2x"): a "name@2x.ext" beside it is
    // taken only for a resource (imageNamed, UIImageResourceFile.h). Only a regular file of at most
    // kImageIOMaximumFileBytes is read (a directory, a device or a FIFO is refused at once).
    static std::shared_ptr<UIImage> imageWithContentsOfFile(const std::string& path);
    // The same; when it answers null, *reason says what is wrong with the file or its contents.
    static std::shared_ptr<UIImage> imageWithContentsOfFile(const std::string& path, std::string* reason);
    // An image of the main bundle's directory (".png" assumed when the name has no extension),
    // chosen like UIImageWithContentsOfResourceFile, cached by name for the life of the process.
    static std::shared_ptr<UIImage> imageNamed(const std::string& name);

    // In points: pixel size over scale, width and height exchanged by the quarter-turn orientations.
    CGSize size() const;
    CGFloat scale() const { return scale_; }
    UIImageOrientation imageOrientation() const { return orientation_; }
    CGImageRef CGImage() const { return image_; }

    // Copies that stretch between the caps when drawn. `stretchable...` keeps a one-point centre
    // column/row after the left/top cap; a zero cap stretches that whole dimension.
    std::shared_ptr<UIImage> resizableImageWithCapInsets(UIEdgeInsets capInsets) const;
    std::shared_ptr<UIImage> stretchableImageWithLeftCapWidth(NSInteger leftCapWidth, NSInteger topCapHeight) const;
    UIEdgeInsets capInsets() const { return capInsets_; }
    NSInteger leftCapWidth() const { return NSInteger(capInsets_.left); }
    NSInteger topCapHeight() const { return NSInteger(capInsets_.top); }

    // Into the current context, whose user space is taken to be UIKit's (y down).
    void drawAtPoint(CGPoint point) const;
    void drawInRect(CGRect rect) const;
    void drawInRect(CGRect rect, CGBlendMode blendMode, CGFloat alpha) const;

private:
    void initWithCGImage(CGImageRef image, CGFloat scale, UIImageOrientation orientation);
    void drawStretched(CGContextRef context, CGRect rect) const;

    CGImageRef image_ = nullptr;
    CGFloat scale_ = 1;
    UIImageOrientation orientation_ = UIImageOrientationUp;
    UIEdgeInsets capInsets_{};
};

// PNG of the image's pixels, turned upright as its orientation says (a PNG keeps no orientation);
// nullopt for a null image or a failure.
std::optional<std::vector<uint8_t>> UIImagePNGRepresentation(const std::shared_ptr<UIImage>& image);
// The same written to a file, atomically (nothing partial on failure); false with the reason.
bool UIImageWritePNGToFile(const std::shared_ptr<UIImage>& image, const std::string& path, std::string* error = nullptr);
