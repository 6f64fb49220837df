#version 100
// The smart colour-splash dot: the brush dot's weight times the colour weight of the source pixel
// under it against the reference (u_a, u_b): 1 while the squared a*b* distance D2 is below 0.0198
// s2, exp(-D2 / s2) up to 3.93 s2, and the pixel is left alone beyond (s2 = 2 sigmaC^2). a* and b*
// come from the CPU conversion (sRGB curve, D65, the cube root at the CPU table's steps).
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
uniform sampler2D u_sampler;
uniform float u_radius;
uniform highp float u_width;
uniform highp float u_height;
uniform float u_alpha;
uniform float u_dEdge;
uniform float u_l;
uniform float u_a;
uniform float u_b;
uniform float u_sigmaC;
varying highp vec2 v_center;

#include "common/LAB.glsl"

void main()
{
    float d = length(gl_FragCoord.xy - 0.5 - v_center);
    float reach = u_radius + 0.8599719915971991 * u_dEdge;
    float edge = 1.0 - (d - u_radius) / u_dEdge;
    float spatial = d < u_radius ? 1.0 : (d < reach ? edge * edge : 0.0);

    vec4 c = texture2D(u_sampler, gl_FragCoord.xy / vec2(u_width, u_height));
    vec3 bytes = floor(c.rgb * 255.0 + 0.5);
    vec3 lab = rgbToLab(bytes);
    float a = lab.y;
    float b = lab.z;
    float D2 = (u_a - a) * (u_a - a) + (u_b - b) * (u_b - b);
    // Lightness is sent with the colour but the smart brush ignores it; an impossible reference
    // lightness keeps the uniform in the program so its location resolves.
    if (u_l < -1.0e30)
        D2 = 0.0;
    float s2 = 2.0 * u_sigmaC * u_sigmaC;
    float colour;
    if (s2 == 0.0)
        colour = D2 == 0.0 ? 1.0 : 0.0;
    else if (D2 > 3.9318256327243257 * s2)
        colour = 0.0;
    else if (D2 < 0.019802627296179754 * s2)
        colour = 1.0;
    else
        colour = exp(-D2 / s2);
    gl_FragColor = vec4(spatial * u_alpha * colour);
}
