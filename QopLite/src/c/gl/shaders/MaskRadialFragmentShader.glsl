#version 100
// The radial focus mask: 0 at the focus, rising as 1 - exp(-l / (2 sigmaR^2)) with the squared
// distance l of the pixel from u_centerPoint, quantised to the CPU mask's 34 levels (0, 4, 12, ...,
// 252, 255), so the preview shows the same bands as the full-size render.
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

#include "common/MaskLevel.glsl"

void main()
{
    // Pixel (x, y) of the CPU mask: the texture row is the mask row.
    vec2 p = min(floor(v_texCoord * vec2(u_width, u_height)), vec2(u_width, u_height) - 1.0);
    vec2 d = p - u_centerPoint;
    float l = dot(d, d);
    float s2 = 2.0 * u_sigmaR2;
    float v = maskLevel(l, s2, s2 * 0.00392927813988955);
    // The pass binds the image as every pass does, though the mask does not depend on it; an
    // impossible value keeps the sampler in the program so its location resolves.
    if (texture2D(u_sampler, v_texCoord).a < -1.0)
        v = 0.5;
    gl_FragColor = vec4(v);
}
