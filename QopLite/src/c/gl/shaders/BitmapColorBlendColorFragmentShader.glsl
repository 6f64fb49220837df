#version 100
// Color-mode blend: the hue and saturation of u_blendColor (h, s, l in 0..1; saturation scaled by
// u_blendColorAlpha) with the pixel's luminance, back to RGB in whole levels, mixed in at
// u_blendAmount and truncated (no rounding term), as the CPU colour blend does.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

varying vec2 v_texCoord;
uniform sampler2D u_sampler;
uniform vec3 u_blendColor;
uniform float u_blendAmount;
uniform float u_blendColorAlpha;

#include "common/Levels.glsl"

#include "common/HSL.glsl"

void main()
{
    vec4 c = texture2D(u_sampler, v_texCoord);
    vec3 base = levels(c.rgb);
    float l = (0.212671 * base.r + 0.71516 * base.g + 0.072169 * base.b) / 255.0;
    vec3 colour = hslToLevels(u_blendColor.x, u_blendColor.y * u_blendColorAlpha, l);
    vec3 result = (1.0 - u_blendAmount) * base + u_blendAmount * colour;
    gl_FragColor = vec4(floor(clamp(result, 0.0, 255.0)) / 255.0, c.a);
}
