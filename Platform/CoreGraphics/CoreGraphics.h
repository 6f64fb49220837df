#pragma once
// The whole drawing stand-in.

#include "CoreGraphics/CGAffineTransform.h"
#include "CoreGraphics/CGBase.h"
#include "CoreGraphics/CGColor.h"
#include "CoreGraphics/CGColorSpace.h"
#include "CoreGraphics/CGContext.h"
#include "CoreGraphics/CGDataProvider.h"
#include "CoreGraphics/CGFont.h"
#include "CoreGraphics/CGGeometry.h"
#include "CoreGraphics/CGGradient.h"
#include "CoreGraphics/CGImage.h"
#include "CoreGraphics/CGPath.h"
#include "CoreGraphics/CGPattern.h"
