#pragma once
// The per-thread current drawing context: set by NSImage::imageWithSize for the time of its
// drawing handler, read by the primitives that draw into "the current context". Scopes nest, so
// a handler may make another image while it draws.

#include "Render/CGContext.h"

namespace customizer {

class NSGraphicsContext {
public:
    // Null on a thread that is not inside a drawing handler.
    static CGContextRef currentGraphicsPort();

    class Scope {
    public:
        explicit Scope(CGContextRef context);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        CGContextRef previous_;
    };
};

}  // namespace customizer
