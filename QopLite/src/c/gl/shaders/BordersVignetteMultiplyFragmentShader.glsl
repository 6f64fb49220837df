#version 100
// Colour vignette, Multiply blend.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

vec3 vignetteBlend(vec3 base, vec3 colour)
{
    return base * colour / 255.0;
}

#include "common/BordersVignetteBlendMain.glsl"
