#pragma once
// The whole text stand-in.

#include "CoreText/CFAttributedString.h"
#include "CoreText/CFBase.h"
#include "CoreText/CFStringTokenizer.h"
#include "CoreText/CTFont.h"
#include "CoreText/CTFontDescriptor.h"
#include "CoreText/CTFontManager.h"
#include "CoreText/CTFrame.h"
#include "CoreText/CTFramesetter.h"
#include "CoreText/CTLine.h"
#include "CoreText/CTParagraphStyle.h"
#include "CoreText/CTStringAttributes.h"
