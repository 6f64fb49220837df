#pragma once
// The caption face at the captions' starting size of 100 points.

#include "CoreText/CoreText.h"

// A new font the caller owns (null on an older system whose bundle lacks the face's file).
CTFontRef createDefaultMemeFont();
