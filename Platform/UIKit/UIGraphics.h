#pragma once
// The current drawing context: a stack per thread (drawing also runs on the work queues), and
// image contexts that measure in points at a scale, with UIKit's top-left origin.

#include <memory>

#include "CoreGraphics/CGContext.h"

class UIImage;

CGContextRef UIGraphicsGetCurrentContext();
// The stack retains the context until it is popped.
void UIGraphicsPushContext(CGContextRef context);
void UIGraphicsPopContext();

// A new bitmap context of size x scale pixels made current; scale 0 means the screen scale. An
// empty size makes no context (the current context stays what it was).
void UIGraphicsBeginImageContextWithOptions(CGSize size, bool opaque, CGFloat scale);
void UIGraphicsBeginImageContext(CGSize size);
// The drawing so far as an image of the context's scale; null when the current context is not an
// image context.
std::shared_ptr<UIImage> UIGraphicsGetImageFromCurrentImageContext();
// Pops the current context when it is an image context.
void UIGraphicsEndImageContext();

// Fills the rectangle with the current fill colour of the current context.
void UIRectFill(CGRect rect);
