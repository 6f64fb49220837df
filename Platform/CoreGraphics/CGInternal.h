#pragma once
// Object layouts shared by the sources of this library; not installed for other libraries.

#include <cairo.h>

#include <mutex>
#include <vector>

#include "CoreGraphics/CGContext.h"

// Owning handle over a counted object: adopts a +1 reference or retains one on request.
template <class T> class CGRef {
public:
    CGRef() = default;
    static CGRef adopt(T* p)
    {
        CGRef r;
        r.p_ = p;
        return r;
    }
    static CGRef retained(const T* p)
    {
        CGRef r;
        r.p_ = const_cast<T*>(p);
        if (r.p_) r.p_->retain();
        return r;
    }
    CGRef(const CGRef& o) : p_(o.p_)
    {
        if (p_) p_->retain();
    }
    CGRef(CGRef&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
    CGRef& operator=(CGRef o) noexcept
    {
        std::swap(p_, o.p_);
        return *this;
    }
    ~CGRef()
    {
        if (p_) p_->release();
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

struct CGColorSpace : CGObject {
    explicit CGColorSpace(CGColorSpaceModel m) : model(m) {}
    CGColorSpaceModel model;
};

struct CGColor : CGObject {
    CGRef<CGColorSpace> space;
    CGRef<CGPattern> pattern;
    std::vector<CGFloat> components;  // the space's components, then alpha
};

// Straight (not premultiplied) RGBA of a non-pattern colour; grey spreads to r = g = b.
struct CGRGBA {
    CGFloat r = 0, g = 0, b = 0, a = 0;
};
CGRGBA CGColorToRGBA(CGColorRef color);

struct CGPattern : CGObject {
    ~CGPattern() override;
    void* info = nullptr;
    CGRect bounds;
    CGAffineTransform matrix;
    CGFloat xStep = 0, yStep = 0;
    CGPatternCallbacks callbacks;
    // The cell drawn once at the scale of its first use, in cairo's byte order.
    std::mutex cellLock;
    cairo_surface_t* cell = nullptr;
    CGFloat cellScale = 0;
};

struct CGGradient : CGObject {
    struct Stop {
        CGFloat location;
        CGRGBA color;
    };
    std::vector<Stop> stops;
};

struct CGPath : CGObject {
    struct Element {
        CGPathElementType type;
        CGPoint points[3];
    };
    std::vector<Element> elements;
    CGPoint current;
    CGPoint subpathStart;
    bool hasCurrent = false;
};

struct CGImage : CGObject {
    ~CGImage() override;
    size_t width = 0, height = 0;
    std::vector<uint8_t> bytes;  // R, G, B, A premultiplied, width * 4 per row
    // Cairo wants B, G, R, A in memory (native-endian ARGB); made once on first draw.
    cairo_surface_t* cairoSurface();

private:
    std::once_flag surfaceOnce_;
    cairo_surface_t* surface_ = nullptr;
};

// Copies RGBA rows into a new cairo image surface (or the reverse), swapping red and blue.
void CGSwapRedBlue(uint8_t* data, size_t width, size_t height, size_t bytesPerRow);
cairo_surface_t* CGCreateCairoSurfaceFromRGBA(const uint8_t* bytes, size_t width, size_t height, size_t bytesPerRow);

// Gaussian blur of the alpha of a cairo ARGB surface, painted as `color`; used for shadows.
cairo_surface_t* CGCreateShadowSurface(cairo_surface_t* content, double sigma, const CGRGBA& color);

// Cairo side of a path: appends the elements to a cairo context's current path.
void CGPathAppendToCairo(CGPathRef path, cairo_t* cr);
