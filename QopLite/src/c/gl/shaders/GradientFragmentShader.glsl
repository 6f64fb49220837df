#version 100
// Gradient map for a Normal (blending) pass, linear at an angle (u_shapeMode 0) or radial (1):
// the map entry at the pixel's factor, at its own opacity times u_alphaBlend.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

#include "common/GradientNormal.glsl"
