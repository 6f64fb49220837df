#pragma once
// Font descriptors: a font's name and size, to make fonts from later.

#include <string_view>

#include "CoreGraphics/CGAffineTransform.h"
#include "CoreGraphics/CGFont.h"
#include "CoreText/CFBase.h"

struct CTFont;
typedef const CTFont* CTFontRef;
struct CTFontDescriptor;
typedef const CTFontDescriptor* CTFontDescriptorRef;

CTFontDescriptorRef CTFontDescriptorCreateWithNameAndSize(std::string_view name, CGFloat size);
CTFontDescriptorRef CFRetain(CTFontDescriptorRef descriptor);
void CFRelease(CTFontDescriptorRef descriptor);

// The descriptor's font at `size`, or at the descriptor's size when `size` is 0; as
// CTFontCreateWithName for its name. The matrix is not supported (pass null). Null for null.
CTFontRef CTFontCreateWithFontDescriptor(CTFontDescriptorRef descriptor, CGFloat size, const CGAffineTransform* matrix);
// The face in the graphics font's file at `size` (12 points for 0 or less). The file joins the
// fonts layout may use. The matrix is not supported and the descriptor's attributes are not read
// (pass null). Null, logged, when fontconfig cannot read the file.
CTFontRef CTFontCreateWithGraphicsFont(CGFontRef graphicsFont, CGFloat size, const CGAffineTransform* matrix,
                                       CTFontDescriptorRef attributes);
// The font's face at `size` (the font's own size for 0 or less). The matrix and the attributes are
// not supported (pass null). Null for null.
CTFontRef CTFontCreateCopyWithAttributes(CTFontRef font, CGFloat size, const CGAffineTransform* matrix,
                                         CTFontDescriptorRef attributes);
