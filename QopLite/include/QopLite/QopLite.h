/* QopLite.h: the whole public interface of the imaging library. */
#pragma once

#include "QopLite/QopTypes.h"
#include "QopLite/QopAlloc.h"
#include "QopLite/QopBitmap.h"
#include "QopLite/QopColor.h"
#include "QopLite/QopColorMatrix.h"
#include "QopLite/QopColorTables.h"
#include "QopLite/QopHistogram.h"
#include "QopLite/QopNoise.h"
#include "QopLite/QopRandom.h"
#include "QopLite/QopTransform.h"
#include "QopLite/QopGL.h"
#include "QopLite/QopGLBitmapBlend.h"
#include "QopLite/QopGLColor.h"
#include "QopLite/QopGLEnhance.h"
