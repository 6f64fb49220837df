#version 100
// Intensity map (Multiply): the map colour multiplies the pixel.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

#include "common/Levels.glsl"

vec3 intensityBlend(vec3 base, vec3 mapped)
{
    return base * mapped / 255.0;
}

#include "common/IntensityMapMain.glsl"
