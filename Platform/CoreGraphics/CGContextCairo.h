#pragma once
// For the stand-ins that draw with Cairo themselves (Core Text's glyphs): one drawing operation on
// a context's Cairo side, treated as every drawing call of the context is.

#include <cairo.h>

#include <functional>

#include "CoreGraphics/CGContext.h"

// Makes a colour the source of the Cairo context a drawing runs on, as fills of the context paint
// it (a pattern colour included); null means the state's fill colour. Answers the alpha still to
// apply (a pattern colour's own alpha; 1 otherwise). Call it while the Cairo matrix is still the
// user space the drawing was given.
using CGContextCairoSource = std::function<double(CGColorRef color)>;

// Runs `draw` once on a Cairo context in the user space of the context (its CTM), with the clip,
// alpha, blend mode and shadow of the graphics state applied around it and red and blue swapped in
// the device box of `userBounds`, which must hold all it draws. Cairo's state is restored after.
void CGContextDrawWithCairo(CGContextRef c, CGRect userBounds,
                            const std::function<void(cairo_t* cr, const CGContextCairoSource& setSource)>& draw);
