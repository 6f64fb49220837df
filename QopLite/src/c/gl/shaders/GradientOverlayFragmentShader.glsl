#version 100
// Gradient map in every blend mode but Normal, as a None pass: the map entry at the pixel's factor
// laid on the pixel by u_blendMode at its own opacity times the strength (u_alphaBlend, faded by
// the vignette for LinearVignette), in whole levels with the CPU's rounding.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

#include "common/GradientMap.glsl"
#include "common/BlendLevels.glsl"

void main()
{
    vec4 c = texture2D(u_sampler, v_texCoord);
    vec4 entry = mapEntry(u_shapeMode == 1);
    float strength = u_shapeMode == 2 ? vignetteStrength() : u_alphaBlend;
    float alpha = entry.a * strength;
    vec3 base = floor(c.rgb * 255.0 + 0.5);
    vec3 s = floor(entry.rgb * 255.0 + 0.5);
    // The CPU's Color blend lights every channel with the luminance of the whole pixel.
    vec3 l = vec3((0.212671 * base.r + 0.71516 * base.g + 0.072169 * base.b) / 255.0);
    vec3 result = blendLevels(u_blendMode, base, s, floor(entry.a * 255.0 + 0.5), l, alpha);
    gl_FragColor = vec4(result / 255.0, c.a);
}
