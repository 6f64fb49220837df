#pragma once
// Drawing contexts. Every function does nothing (or answers a zero value) on a null context.
// User space starts as the context's default space: y up, origin at the bottom left, for bitmap
// contexts. Shadow offsets and blur are in that default space and ignore the CTM.

#include "CoreGraphics/CGColor.h"
#include "CoreGraphics/CGGradient.h"
#include "CoreGraphics/CGImage.h"
#include "CoreGraphics/CGPath.h"
#include "CoreGraphics/CGPattern.h"

struct CGContext;
typedef CGContext* CGContextRef;

enum CGLineCap { kCGLineCapButt = 0, kCGLineCapRound = 1, kCGLineCapSquare = 2 };
enum CGLineJoin { kCGLineJoinMiter = 0, kCGLineJoinRound = 1, kCGLineJoinBevel = 2 };
enum CGPathDrawingMode { kCGPathFill, kCGPathEOFill, kCGPathStroke, kCGPathFillStroke, kCGPathEOFillStroke };

enum CGInterpolationQuality {
    kCGInterpolationDefault = 0,
    kCGInterpolationNone = 1,
    kCGInterpolationLow = 2,
    kCGInterpolationMedium = 4,
    kCGInterpolationHigh = 3,
};

enum CGBlendMode {
    kCGBlendModeNormal,
    kCGBlendModeMultiply,
    kCGBlendModeScreen,
    kCGBlendModeOverlay,
    kCGBlendModeDarken,
    kCGBlendModeLighten,
    kCGBlendModeColorDodge,
    kCGBlendModeColorBurn,
    kCGBlendModeSoftLight,
    kCGBlendModeHardLight,
    kCGBlendModeDifference,
    kCGBlendModeExclusion,
    kCGBlendModeHue,
    kCGBlendModeSaturation,
    kCGBlendModeColor,
    kCGBlendModeLuminosity,
    kCGBlendModeClear,
    kCGBlendModeCopy,
    kCGBlendModeSourceIn,
    kCGBlendModeSourceOut,
    kCGBlendModeSourceAtop,
    kCGBlendModeDestinationOver,
    kCGBlendModeDestinationIn,
    kCGBlendModeDestinationOut,
    kCGBlendModeDestinationAtop,
    kCGBlendModeXOR,
    kCGBlendModePlusDarker,
    kCGBlendModePlusLighter,
};

CGContextRef CGContextRetain(CGContextRef c);
void CGContextRelease(CGContextRef c);
void CGContextFlush(CGContextRef c);

// Graphics state: CTM, clip, colours, alpha, blend mode, line attributes, shadow, interpolation.
void CGContextSaveGState(CGContextRef c);
void CGContextRestoreGState(CGContextRef c);
CGAffineTransform CGContextGetCTM(CGContextRef c);
void CGContextConcatCTM(CGContextRef c, CGAffineTransform transform);
void CGContextTranslateCTM(CGContextRef c, CGFloat tx, CGFloat ty);
void CGContextScaleCTM(CGContextRef c, CGFloat sx, CGFloat sy);
void CGContextRotateCTM(CGContextRef c, CGFloat angle);

void CGContextSetFillColorWithColor(CGContextRef c, CGColorRef color);
void CGContextSetStrokeColorWithColor(CGContextRef c, CGColorRef color);
void CGContextSetRGBFillColor(CGContextRef c, CGFloat r, CGFloat g, CGFloat b, CGFloat a);
void CGContextSetRGBStrokeColor(CGContextRef c, CGFloat r, CGFloat g, CGFloat b, CGFloat a);
void CGContextSetGrayFillColor(CGContextRef c, CGFloat gray, CGFloat a);
void CGContextSetGrayStrokeColor(CGContextRef c, CGFloat gray, CGFloat a);
void CGContextSetAlpha(CGContextRef c, CGFloat alpha);
void CGContextSetBlendMode(CGContextRef c, CGBlendMode mode);
void CGContextSetLineWidth(CGContextRef c, CGFloat width);
void CGContextSetLineCap(CGContextRef c, CGLineCap cap);
void CGContextSetLineJoin(CGContextRef c, CGLineJoin join);
void CGContextSetMiterLimit(CGContextRef c, CGFloat limit);
void CGContextSetShouldAntialias(CGContextRef c, bool shouldAntialias);
void CGContextSetInterpolationQuality(CGContextRef c, CGInterpolationQuality quality);
CGInterpolationQuality CGContextGetInterpolationQuality(CGContextRef c);
// The default shadow colour: black at one third alpha.
void CGContextSetShadow(CGContextRef c, CGSize offset, CGFloat blur);
// A null colour turns the shadow off.
void CGContextSetShadowWithColor(CGContextRef c, CGSize offset, CGFloat blur, CGColorRef color);
// Our addition, part of the graphics state: while set, drawing with a shadow paints the shadow
// alone (a layer's shadow path casts a shadow without being drawn); drawing without one paints
// as usual.
void CGContextSetShadowOnly(CGContextRef c, bool shadowOnly);

// The current path, built in user space at the CTM of each call; drawing and clipping consume it.
void CGContextBeginPath(CGContextRef c);
void CGContextMoveToPoint(CGContextRef c, CGFloat x, CGFloat y);
void CGContextAddLineToPoint(CGContextRef c, CGFloat x, CGFloat y);
void CGContextAddQuadCurveToPoint(CGContextRef c, CGFloat cpx, CGFloat cpy, CGFloat x, CGFloat y);
void CGContextAddCurveToPoint(CGContextRef c, CGFloat cp1x, CGFloat cp1y, CGFloat cp2x, CGFloat cp2y, CGFloat x,
                              CGFloat y);
void CGContextAddArc(CGContextRef c, CGFloat x, CGFloat y, CGFloat radius, CGFloat startAngle, CGFloat endAngle,
                     int clockwise);
void CGContextAddArcToPoint(CGContextRef c, CGFloat x1, CGFloat y1, CGFloat x2, CGFloat y2, CGFloat radius);
void CGContextAddRect(CGContextRef c, CGRect rect);
void CGContextAddEllipseInRect(CGContextRef c, CGRect rect);
void CGContextAddPath(CGContextRef c, CGPathRef path);
void CGContextClosePath(CGContextRef c);
bool CGContextIsPathEmpty(CGContextRef c);
CGRect CGContextGetPathBoundingBox(CGContextRef c);

void CGContextDrawPath(CGContextRef c, CGPathDrawingMode mode);
void CGContextFillPath(CGContextRef c);
void CGContextEOFillPath(CGContextRef c);
void CGContextStrokePath(CGContextRef c);
void CGContextFillRect(CGContextRef c, CGRect rect);
void CGContextStrokeRect(CGContextRef c, CGRect rect);
void CGContextStrokeRectWithWidth(CGContextRef c, CGRect rect, CGFloat width);
void CGContextFillEllipseInRect(CGContextRef c, CGRect rect);
void CGContextStrokeEllipseInRect(CGContextRef c, CGRect rect);
// Pairs of points, each pair one segment.
void CGContextStrokeLineSegments(CGContextRef c, const CGPoint* points, size_t count);
// Makes the rectangle transparent, whatever the blend mode, alpha or shadow.
void CGContextClearRect(CGContextRef c, CGRect rect);

void CGContextClip(CGContextRef c);
void CGContextEOClip(CGContextRef c);
void CGContextClipToRect(CGContextRef c, CGRect rect);
CGRect CGContextGetClipBoundingBox(CGContextRef c);

// Fills the clip with the gradient along start -> end; the options extend the end colours.
void CGContextDrawLinearGradient(CGContextRef c, CGGradientRef gradient, CGPoint startPoint, CGPoint endPoint,
                                 uint32_t options);
// Draws the image upright in the rectangle (its first row at the rectangle's max y), scaled with
// the interpolation quality (a filtered downscale unless kCGInterpolationNone).
void CGContextDrawImage(CGContextRef c, CGRect rect, CGImageRef image);

// The text matrix maps text space (glyphs upright, y up) to user space; its translation is the text
// position. It is no part of the graphics state: saving and restoring leave it as it is.
void CGContextSetTextMatrix(CGContextRef c, CGAffineTransform t);
CGAffineTransform CGContextGetTextMatrix(CGContextRef c);
void CGContextSetTextPosition(CGContextRef c, CGFloat x, CGFloat y);
CGPoint CGContextGetTextPosition(CGContextRef c);

// Drawing until the matching end goes to a fresh transparent layer, which is then composited
// with the alpha, blend mode and shadow in force at the begin.
void CGContextBeginTransparencyLayer(CGContextRef c, const void* auxiliaryInfo);
void CGContextBeginTransparencyLayerWithRect(CGContextRef c, CGRect rect, const void* auxiliaryInfo);
void CGContextEndTransparencyLayer(CGContextRef c);

// Bitmap contexts: 8 bits per component, 4 bytes per pixel, R, G, B, A in memory with
// premultiplied alpha last (kCGImageAlphaPremultipliedLast, default or 32-bit big-endian order),
// in an RGB space. Other layouts give null. `data` null makes the context own a zeroed buffer;
// `bytesPerRow` 0 means width x 4. The caller's buffer holds R, G, B, A whenever no drawing
// call is running.
CGContextRef CGBitmapContextCreate(void* data, size_t width, size_t height, size_t bitsPerComponent,
                                   size_t bytesPerRow, CGColorSpaceRef space, CGBitmapInfo bitmapInfo);
void* CGBitmapContextGetData(CGContextRef c);
size_t CGBitmapContextGetWidth(CGContextRef c);
size_t CGBitmapContextGetHeight(CGContextRef c);
size_t CGBitmapContextGetBytesPerRow(CGContextRef c);
size_t CGBitmapContextGetBitsPerComponent(CGContextRef c);
size_t CGBitmapContextGetBitsPerPixel(CGContextRef c);
CGBitmapInfo CGBitmapContextGetBitmapInfo(CGContextRef c);
CGImageAlphaInfo CGBitmapContextGetAlphaInfo(CGContextRef c);
CGColorSpaceRef CGBitmapContextGetColorSpace(CGContextRef c);
// A copy of the pixels as they are now.
CGImageRef CGBitmapContextCreateImage(CGContextRef c);

// For the UIKit layer: how shadow offsets and blur map to pixels. By default one unit is one pixel
// and positive heights go up; image contexts of the view layer measure in points and go down.
void CGContextSetShadowBaseSpace(CGContextRef c, CGFloat pixelsPerUnit, bool yDown);
