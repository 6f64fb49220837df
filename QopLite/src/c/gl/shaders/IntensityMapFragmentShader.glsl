#version 100
// Intensity map (Normal): the map colour replaces the pixel.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

#include "common/Levels.glsl"

vec3 intensityBlend(vec3 base, vec3 mapped)
{
    return mapped;
}

#include "common/IntensityMapMain.glsl"
