#pragma once
// How a bitmap image server draws its input image into its buffer: upright through UIKit, or
// placed for an orientation and then straightened or cropped. Plain functions on a bitmap context
// laid over the server's buffer; they run on the server's queue.

#include "CoreGraphics/CGContext.h"
#include "CoreGraphics/CGImage.h"
#include "UIKit/UIImage.h"

#include <atomic>
#include <cstddef>

// The input image drawn with the orientation at a UIKit scale of imageScale (1 / the server's
// scale), so that it fills the server's size. Nothing when stopped or without a context.
void QZBitmapServerDrawImage_UIKit(UIImageOrientation orientation, CGImageRef image, CGFloat imageScale,
                                   CGContextRef context, const std::atomic<bool>* stop);

// Transforms the context so that an image drawn into it shows with the orientation, for a target of
// Tw x Th. Unknown orientations transform nothing.
void QZBitmapServerApplyOrientationPlacement(CGContextRef context, UIImageOrientation orientation, CGFloat targetWidth,
                                             CGFloat targetHeight);

// The centre of the image, turned by `rotation` (radians, positive clockwise as seen) and enlarged
// by `scale`, drawn over the start of the context's bytes; size is the server's size (W x H)
// already configured for `orientation`. Returns the new size, QZStraightenedSize (round(W / s) x
// round(H / s)), with the kept region centred in it. A scale below 1 or not finite is taken as 1,
// so the drawing never needs more bytes than the context has. Drawn in `strips` strips of rows at
// once on the global queue (0: as many as the size is worth), each pixel as one draw would give it.
CGSize QZBitmapServerDrawStraightened(CGContextRef context, CGSize size, CGImageRef image, CGFloat rotation,
                                      CGFloat scale, UIImageOrientation orientation, std::size_t strips = 0);

// The integral pixel rectangle a relative crop keeps of W x H: the position limited to the image,
// the side limited to W x H after the outward rounding. Null rect for a non-finite rectangle.
CGRect QZBitmapServerCropRect(CGSize size, CGRect relativeRect);
// The input image cropped to the relative rect (origin top left) drawn over the start of the
// context's bytes. Returns the new size; the old one when the rectangle is not finite.
CGSize QZBitmapServerDrawCropped(CGContextRef context, CGSize size, CGImageRef image, CGRect relativeRect,
                                 UIImageOrientation orientation);
