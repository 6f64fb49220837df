#version 100
// The linear focus mask: the distance of the pixel from the line through u_centerPoint with normal
// (u_normX, u_normY), truncated to whole pixels, through the same Gaussian and the same 34 levels
// as the CPU mask.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
varying vec2 v_texCoord;
uniform sampler2D u_sampler;
uniform vec2 u_centerPoint;
uniform float u_sigmaR2;
uniform float u_width;
uniform float u_height;
uniform float u_normX;
uniform float u_normY;

#include "common/MaskLevel.glsl"

void main()
{
    vec2 p = min(floor(v_texCoord * vec2(u_width, u_height)), vec2(u_width, u_height) - 1.0);
    float signedDistance = (u_centerPoint.x - p.x) * u_normX + (p.y - u_centerPoint.y) * u_normY;
    // Truncated to whole pixels; within 1/1024 pixel of a whole distance counts as that distance, so
    // the round-off of sin and cos at right angles does not move a pixel to the band before.
    float m = floor(abs(signedDistance) + 1.0 / 1024.0);
    float l = m * m;
    float s2 = 2.0 * u_sigmaR2;
    // The zero band ends at the first level boundary t_0 (G = 1 - 1/64).
    float v = maskLevel(l, s2, -s2 * log(1.0 - 0.5 / 32.0));
    // The pass binds the image as every pass does, though the mask does not depend on it; an
    // impossible value keeps the sampler in the program so its location resolves.
    if (texture2D(u_sampler, v_texCoord).a < -1.0)
        v = 0.5;
    gl_FragColor = vec4(v);
}
