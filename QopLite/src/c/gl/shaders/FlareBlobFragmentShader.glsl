#version 100
// Blob flare for a Normal (blending) pass: the flare colour at the strength of this shape,
// truncated to whole levels as the CPU does.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

#include "common/FlareShape.glsl"
#include "common/FlareStrengths.glsl"

float flareStrength(float x, float y, float r2) { return blobStrength(x, y, r2); }

#include "common/FlareNormalMain.glsl"
