#version 100
// Gradient map for a Normal (blending) pass, linear at an angle and faded in by a vignette: the
// map entry at the pixel's factor, at its own opacity times the vignette strength, which is 0 at
// the centre and u_alphaBlend towards the edges.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

#include "common/GradientNormal.glsl"
