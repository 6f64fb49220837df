#version 100
// Gaussianthing3 flare, Overlay blend, as a None pass: the strength of the CPU's table for this shape,
// truncated to whole levels, mixes the overlaid colour into the pixel with the CPU's rounding.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

#include "common/FlareShape.glsl"
#include "common/FlareStrengths.glsl"

float flareStrength(float x, float y, float r2) { return gaussianThing3Strength(x, y, r2); }

#include "common/FlareOverlayMain.glsl"
