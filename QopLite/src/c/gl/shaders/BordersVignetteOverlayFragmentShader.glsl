#version 100
// Colour vignette, Overlay blend (the pixel is the base layer).
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

#include "common/Overlay.glsl"

vec3 vignetteBlend(vec3 base, vec3 colour)
{
    return overlayLevels(base, colour);
}

#include "common/BordersVignetteBlendMain.glsl"
