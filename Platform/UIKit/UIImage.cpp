#include "UIKit/UIImage.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>

#include "Files/FileContents.h"
#include "Foundation/PlatformSettings.h"
#include "ImageIO/ImageIOCodec.h"
#include "UIImageCodecs.h"
#include "UIKit/UIGraphics.h"
#include "UIKit/UIImageResourceFile.h"

namespace {

// Where the displayed picture's unit square takes a stored pixel position (u, v), both with y
// down: rows of the columns a, b, c, d, tx, ty of the affine map.
CGAffineTransform orientationMap(UIImageOrientation orientation)
{
    switch (orientation) {
    case UIImageOrientationUp: return CGAffineTransformMake(1, 0, 0, 1, 0, 0);
    case UIImageOrientationDown: return CGAffineTransformMake(-1, 0, 0, -1, 1, 1);
    case UIImageOrientationLeft: return CGAffineTransformMake(0, -1, 1, 0, 0, 1);
    case UIImageOrientationRight: return CGAffineTransformMake(0, 1, -1, 0, 1, 0);
    case UIImageOrientationUpMirrored: return CGAffineTransformMake(-1, 0, 0, 1, 1, 0);
    case UIImageOrientationDownMirrored: return CGAffineTransformMake(1, 0, 0, -1, 0, 1);
    case UIImageOrientationLeftMirrored: return CGAffineTransformMake(0, 1, 1, 0, 0, 0);
    case UIImageOrientationRightMirrored: return CGAffineTransformMake(0, -1, -1, 0, 1, 1);
    }
    return CGAffineTransformIdentity;
}

bool quarterTurned(UIImageOrientation o)
{
    return o == UIImageOrientationLeft || o == UIImageOrientationRight || o == UIImageOrientationLeftMirrored ||
           o == UIImageOrientationRightMirrored;
}

// Draws the stored pixels so that the picture shows upright in `rect` of a y-down user space.
void drawOriented(CGContextRef context, CGImageRef image, UIImageOrientation orientation, CGRect rect)
{
    // CGContextDrawImage puts stored (u, v) at (u, 1 - v) of a y-up unit square: undo that flip,
    // orient, then scale into the rectangle.
    CGAffineTransform unflip = CGAffineTransformMake(1, 0, 0, -1, 0, 1);
    CGAffineTransform place =
        CGAffineTransformMake(rect.size.width, 0, 0, rect.size.height, rect.origin.x, rect.origin.y);
    CGAffineTransform t = CGAffineTransformConcat(CGAffineTransformConcat(unflip, orientationMap(orientation)), place);
    CGContextSaveGState(context);
    CGContextConcatCTM(context, t);
    CGContextDrawImage(context, CGRectMake(0, 0, 1, 1), image);
    CGContextRestoreGState(context);
}

std::optional<std::vector<uint8_t>> readFile(const std::string& path, std::string* reason)
{
    std::vector<uint8_t> bytes;
    if (!FileReadContents(path, kImageIOMaximumFileBytes, &bytes, reason)) return std::nullopt;
    return bytes;
}

// "dir/name.png" -> "dir/name@2x.png"; a name without extension gets the suffix at its end.
std::string retinaVariant(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + "@2x";
    return path.substr(0, dot) + "@2x" + path.substr(dot);
}

bool namesRetinaVariant(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    return file.find("@2x") != std::string::npos;
}

}  // namespace

void UIImage::initWithCGImage(CGImageRef image, CGFloat scale, UIImageOrientation orientation)
{
    image_ = CGImageRetain(image);
    scale_ = scale > 0 ? scale : 1;
    orientation_ = orientation;
}

UIImage::~UIImage()
{
    CGImageRelease(image_);
}

std::shared_ptr<UIImage> UIImage::imageWithCGImage(CGImageRef image)
{
    return imageWithCGImage(image, 1, UIImageOrientationUp);
}

std::shared_ptr<UIImage> UIImage::imageWithCGImage(CGImageRef image, CGFloat scale, UIImageOrientation orientation)
{
    if (!image) return nullptr;
    if (orientation < UIImageOrientationUp || orientation > UIImageOrientationRightMirrored)
        orientation = UIImageOrientationUp;
    return NSObject::create<UIImage>(&UIImage::initWithCGImage, image, scale, orientation);
}

std::shared_ptr<UIImage> UIImage::imageWithData(const std::vector<uint8_t>& data, CGFloat scale)
{
    return imageWithData(data, scale, kUIImageMaximumDecodedPixels);
}

std::shared_ptr<UIImage> UIImage::imageWithData(const std::vector<uint8_t>& data, CGFloat scale,
                                                std::size_t maximumPixels, std::string* reason)
{
    UIImageOrientation orientation = UIImageOrientationUp;
    CGImageRef image = UIImageDecodeCGImage(data.data(), data.size(), maximumPixels, reason, &orientation);
    std::shared_ptr<UIImage> result = imageWithCGImage(image, scale, orientation);
    CGImageRelease(image);
    return result;
}

std::shared_ptr<UIImage> UIImage::imageWithContentsOfFile(const std::string& path)
{
    return imageWithContentsOfFile(path, nullptr);
}

std::shared_ptr<UIImage> UIImage::imageWithContentsOfFile(const std::string& path, std::string* reason)
{
    auto data = readFile(path, reason);
    if (!data) return nullptr;
    return imageWithData(*data, namesRetinaVariant(path) ? 2 : 1, kUIImageMaximumDecodedPixels, reason);
}

std::shared_ptr<UIImage> UIImageWithContentsOfResourceFile(const std::string& path)
{
    if (PlatformSettings::screenScale() >= 2 && !namesRetinaVariant(path)) {
        if (auto data = readFile(retinaVariant(path), nullptr)) {
            if (auto image = UIImage::imageWithData(*data, 2)) return image;
        }
    }
    return UIImage::imageWithContentsOfFile(path);
}

std::shared_ptr<UIImage> UIImage::imageNamed(const std::string& name)
{
    if (name.empty()) return nullptr;
    // Images are shared between screens; the cache keeps them for the life of the process.
    static std::mutex lock;
    static std::map<std::string, std::shared_ptr<UIImage>> cache;
    std::string key = name + "|" + std::to_string(PlatformSettings::screenScale());
    {
        std::lock_guard<std::mutex> guard(lock);
        auto found = cache.find(key);
        if (found != cache.end()) return found->second;
    }
    std::string path = PlatformSettings::mainBundlePath() + "/" + name;
    size_t slash = name.find_last_of('/');
    if (name.find('.', slash == std::string::npos ? 0 : slash) == std::string::npos) path += ".png";
    std::shared_ptr<UIImage> image = UIImageWithContentsOfResourceFile(path);
    if (image) {
        std::lock_guard<std::mutex> guard(lock);
        cache.emplace(key, image);
    }
    return image;
}

CGSize UIImage::size() const
{
    CGFloat w = CGFloat(CGImageGetWidth(image_)) / scale_, h = CGFloat(CGImageGetHeight(image_)) / scale_;
    return quarterTurned(orientation_) ? CGSizeMake(h, w) : CGSizeMake(w, h);
}

std::shared_ptr<UIImage> UIImage::resizableImageWithCapInsets(UIEdgeInsets capInsets) const
{
    auto copy = NSObject::create<UIImage>(&UIImage::initWithCGImage, image_, scale_, orientation_);
    copy->capInsets_ = capInsets;
    return copy;
}

std::shared_ptr<UIImage> UIImage::stretchableImageWithLeftCapWidth(NSInteger leftCapWidth, NSInteger topCapHeight) const
{
    CGSize s = size();
    UIEdgeInsets insets;
    if (leftCapWidth > 0) {
        insets.left = CGFloat(leftCapWidth);
        insets.right = std::max(CGFloat(0), s.width - insets.left - 1);
    }
    if (topCapHeight > 0) {
        insets.top = CGFloat(topCapHeight);
        insets.bottom = std::max(CGFloat(0), s.height - insets.top - 1);
    }
    return resizableImageWithCapInsets(insets);
}

void UIImage::drawAtPoint(CGPoint point) const
{
    CGSize s = size();
    drawInRect(CGRectMake(point.x, point.y, s.width, s.height));
}

void UIImage::drawInRect(CGRect rect) const
{
    drawInRect(rect, kCGBlendModeNormal, 1);
}

void UIImage::drawInRect(CGRect rect, CGBlendMode blendMode, CGFloat alpha) const
{
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context || CGRectIsEmpty(rect)) return;
    CGContextSaveGState(context);
    CGContextSetBlendMode(context, blendMode);
    CGContextSetAlpha(context, alpha);
    if (UIEdgeInsetsEqualToEdgeInsets(capInsets_, UIEdgeInsetsZero))
        drawOriented(context, image_, orientation_, CGRectStandardize(rect));
    else
        drawStretched(context, CGRectStandardize(rect));
    CGContextRestoreGState(context);
}

// Nine pieces: corners at their own size, edges stretched along the edge, the centre both ways.
// Each piece is cut out of the pixels first so that filtering never mixes in a neighbour.
void UIImage::drawStretched(CGContextRef context, CGRect rect) const
{
    CGSize s = size();
    auto spans = [](CGFloat lead, CGFloat trail, CGFloat source, CGFloat origin, CGFloat extent, CGFloat src[4],
                    CGFloat dst[4]) {
        // Caps shrink together when the destination is smaller than both.
        CGFloat shrink = lead + trail > extent && lead + trail > 0 ? extent / (lead + trail) : 1;
        src[0] = 0, src[1] = lead, src[2] = source - trail, src[3] = source;
        dst[0] = origin, dst[1] = origin + lead * shrink, dst[2] = origin + extent - trail * shrink,
        dst[3] = origin + extent;
    };
    CGFloat sx[4], dx[4], sy[4], dy[4];
    spans(capInsets_.left, capInsets_.right, s.width, rect.origin.x, rect.size.width, sx, dx);
    spans(capInsets_.top, capInsets_.bottom, s.height, rect.origin.y, rect.size.height, sy, dy);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            CGRect source = CGRectMake(sx[col] * scale_, sy[row] * scale_, (sx[col + 1] - sx[col]) * scale_,
                                       (sy[row + 1] - sy[row]) * scale_);
            CGRect target = CGRectMake(dx[col], dy[row], dx[col + 1] - dx[col], dy[row + 1] - dy[row]);
            if (CGRectIsEmpty(source) || !(target.size.width > 0) || !(target.size.height > 0)) continue;
            CGImageRef piece = CGImageCreateWithImageInRect(image_, source);
            drawOriented(context, piece, UIImageOrientationUp, target);
            CGImageRelease(piece);
        }
}

std::optional<std::vector<uint8_t>> UIImagePNGRepresentation(const std::shared_ptr<UIImage>& image)
{
    if (!image) return std::nullopt;
    return UIImageEncodePNG(image->CGImage(), image->imageOrientation());
}

bool UIImageWritePNGToFile(const std::shared_ptr<UIImage>& image, const std::string& path, std::string* error)
{
    if (!image) {
        if (error) *error = "no image";
        return false;
    }
    return UIImageWritePNGFile(image->CGImage(), path, error, image->imageOrientation());
}
