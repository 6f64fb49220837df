#pragma once
// An immutable bitmap: a Cairo ARGB32 image surface (premultiplied, native-endian B,G,R,A words),
// row 0 at the top as the picture is viewed. Shared freely between threads once made.

#include <cairo.h>

#include <memory>
#include <string>

#include "Render/CGGeometry.h"
#include "Render/CGColor.h"

namespace customizer {

class CGImage;
using CGImageRef = std::shared_ptr<const CGImage>;

class CGImage {
public:
    struct Token {};
    // Adopts the surface, which must be a finished image surface nobody draws into any more.
    CGImage(Token, cairo_surface_t* surface);
    ~CGImage();
    CGImage(const CGImage&) = delete;
    CGImage& operator=(const CGImage&) = delete;

    // Null when the surface is null or in an error state (the surface is released).
    static CGImageRef imageWithSurface(cairo_surface_t* surface);
    // Null when the file is missing or is not a readable PNG.
    static CGImageRef imageWithContentsOfPNGFile(const std::string& path);

    int width() const;
    int height() const;
    cairo_surface_t* surface() const { return surface_; }

    // The pixel at column x, row y (from the top), not premultiplied; transparent black outside.
    CGColor colorAt(int x, int y) const;
    // False (with Cairo's reason in `error`) when the file cannot be written.
    bool writePNG(const std::string& path, std::string* error = nullptr) const;

private:
    cairo_surface_t* surface_;
};

}  // namespace customizer
