#version 100
// Monochrome grain: one seeded hash per pixel, (2h - 1) u_intensity added to every channel; the
// result is opaque. The hash uses only float arithmetic on small operands, so it is deterministic
// for a seed and a pixel position on every driver that gives highp.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

varying vec2 v_texCoord;
uniform sampler2D u_sampler;
uniform float u_randomSeed;
uniform float u_intensity;

#include "common/Hash.glsl"

void main()
{
    vec4 c = texture2D(u_sampler, v_texCoord);
    // The seed is split into two parts below 4096 so that no operand loses its low bits.
    float low = mod(u_randomSeed, 4096.0);
    float high = mod(floor(u_randomSeed / 4096.0), 4096.0);
    vec2 pixel = floor(gl_FragCoord.xy);
    float offset = hash13(vec3(high, low, 17.0)) * 4096.0;
    float h = hash13(vec3(pixel.x + offset, pixel.y + low * 0.5, high + low + 1.0));
    float grain = (2.0 * h - 1.0) * u_intensity;
    gl_FragColor = vec4(clamp(c.rgb + grain, 0.0, 1.0), 1.0);
}
