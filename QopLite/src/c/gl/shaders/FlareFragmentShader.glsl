#version 100
// Every flare shape and every blend mode, as a None pass: the strength of u_flareType's shape,
// truncated to whole levels, lays the colour on by u_blendMode (0 Normal, 1 Overlay, 2 Color,
// 3 Screen, 4 Darken, 5 Multiply) with the CPU's per-channel arithmetic and rounding; Color mode
// takes each channel from the flare colour's hue and saturation at the lightness of a grey of that
// channel's level, as the CPU's memoised blend does. Lensflare (8) draws nothing.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

#include "common/FlareShape.glsl"
#include "common/FlareStrengths.glsl"
#include "common/BlendLevels.glsl"

float strength(int type, float x, float y)
{
    float r2 = x * x + y * y;
    if (type == 0)
        return sincStrength(x, y, r2);
    if (type == 1)
        return gaussianThingStrength(x, y, r2);
    if (type == 2)
        return gaussianThing2Strength(x, y, r2);
    if (type == 3)
        return gaussianThing3Strength(x, y, r2);
    if (type == 4)
        return gaussianThing4Strength(x, y, r2);
    if (type == 5)
        return angleGaussianStrength(x, y, r2);
    if (type == 6)
        return stardomStrength(x, y, r2);
    if (type == 7)
        return lobesStrength(x, y, r2);
    if (type == 9)
        return stripeStrength(x, y, r2);
    if (type == 10)
        return stripe2Strength(x, y, r2);
    if (type == 11)
        return dimondflareStrength(x, y, r2);
    if (type == 12)
        return crossflareStrength(x, y, r2);
    if (type == 13)
        return cornerflaresStrength(x, y, r2);
    if (type == 14)
        return fingerflareStrength(x, y, r2);
    if (type == 15)
        return blobflareStrength(x, y, r2);
    if (type == 16)
        return blahStrength(x, y, r2);
    if (type == 17)
        return blobStrength(x, y, r2);
    if (type == 18)
        return blob2Strength(x, y, r2);
    return 0.0;
}

void main()
{
    // The flare records look up every flare uniform; this program keeps the ones it does not
    // need active (the sum is never that value) so that every record resolves alike.
    float keep = keepFlareUniforms();
    if (keep == -1.0e30) {
        gl_FragColor = vec4(keep);
        return;
    }
    vec4 c = texture2D(u_sampler, v_texCoord);
    vec2 p = flarePoint();
    float alpha = level(strength(u_flareType, p.x, p.y));
    vec3 base = floor(c.rgb * 255.0 + 0.5);
    vec3 s = floor(u_flareColor.rgb * 255.0 + 0.5);
    // The CPU lays flares on through its memoised blend, which lights each channel in Color mode
    // as a grey of that channel's level.
    vec3 l = (0.212671 * base + 0.71516 * base + 0.072169 * base) / 255.0;
    vec3 result = blendLevels(u_blendMode, base, s, floor(u_flareColor.a * 255.0 + 0.5), l, alpha);
    gl_FragColor = vec4(result / 255.0, c.a);
}
