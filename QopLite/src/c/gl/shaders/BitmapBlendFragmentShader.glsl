#version 100
// Weighted sum of the current image and the source, per channel, truncated to a level and clamped
// as the CPU twin does (no rounding term); alpha of the current image kept.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

varying vec2 v_texCoord;
uniform sampler2D u_sampler;
uniform sampler2D u_srcSampler;
uniform float u_srcAmount;
uniform float u_dstAmount;

#include "common/Levels.glsl"

void main()
{
    vec4 c = texture2D(u_sampler, v_texCoord);
    vec3 s = levels(texture2D(u_srcSampler, v_texCoord).rgb);
    vec3 sum = levels(c.rgb) * u_dstAmount + s * u_srcAmount;
    gl_FragColor = vec4(floor(clamp(sum, 0.0, 255.0)) / 255.0, c.a);
}
