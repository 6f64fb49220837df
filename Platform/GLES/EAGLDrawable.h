#pragma once
// What a renderbuffer's storage can come from (EAGLContext::renderbufferStorage): a size in
// pixels, and a receiver for the frames presented from that renderbuffer.

#include "CoreGraphics/CGImage.h"

struct EAGLDrawablePixelSize {
    long width = 0;
    long height = 0;
};

class EAGLDrawable {
public:
    virtual ~EAGLDrawable() = default;

    // The renderbuffer's storage size.
    virtual EAGLDrawablePixelSize drawablePixelSize() const = 0;
    // One presented frame, on the presenting thread: an immutable image whose first row is the
    // top of the picture (GL's last row). The drawable retains what it keeps.
    virtual void presentDrawableImage(CGImageRef image) = 0;
};
