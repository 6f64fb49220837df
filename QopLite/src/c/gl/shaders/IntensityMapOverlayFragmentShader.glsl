#version 100
// Intensity map (Overlay): the map colour is overlaid on the pixel (the pixel is the base layer).
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

#include "common/Levels.glsl"
#include "common/Overlay.glsl"

vec3 intensityBlend(vec3 base, vec3 mapped)
{
    return overlayLevels(base, mapped);
}

#include "common/IntensityMapMain.glsl"
