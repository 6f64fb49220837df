#include "CoreText/CTStringAttributes.h"

const CFStringRef kCTFontAttributeName = "NSFont";
const CFStringRef kCTForegroundColorAttributeName = "CTForegroundColor";
const CFStringRef kCTForegroundColorFromContextAttributeName = "CTForegroundColorFromContext";
const CFStringRef kCTParagraphStyleAttributeName = "NSParagraphStyle";
const CFStringRef kCTStrokeWidthAttributeName = "NSStrokeWidth";
const CFStringRef kCTStrokeColorAttributeName = "NSStrokeColor";
