// The six blend modes in whole levels, as the CPU blends one colour onto a pixel: for the passes
// that blend by themselves (None passes) rather than through GL's blending.
#include "common/Overlay.glsl"
#include "common/HSL.glsl"

// s laid on base (both in whole levels) at alpha by mode (0 Normal, 1 Overlay, 2 Color, 3 Screen,
// 4 Darken, 5 Multiply), with the CPU's per-channel arithmetic and rounding. Color takes s's hue
// and its saturation times sAlpha (s's own opacity, in levels) at the lightness l of each channel
// (0..1), and truncates where the other modes round, as the CPU does.
vec3 blendLevels(int mode, vec3 base, vec3 s, float sAlpha, vec3 l, float alpha)
{
    if (mode == 2) {
        vec2 hs = hueSaturation(s / 255.0);
        float sat = hs.y * sAlpha / 255.0;
        vec3 coloured = vec3(hslToLevels(hs.x, sat, l.r).r, hslToLevels(hs.x, sat, l.g).g,
                             hslToLevels(hs.x, sat, l.b).b);
        return floor(clamp((1.0 - alpha) * base + alpha * coloured, 0.0, 255.0));
    }
    vec3 blended;
    if (mode == 0)
        blended = s;
    else if (mode == 1)
        blended = overlayLevels(base, s);
    else if (mode == 3)
        blended = 255.0 - (255.0 - base) * (255.0 - s) / 255.0;
    else if (mode == 4)
        blended = min(base, s);
    else if (mode == 5)
        blended = base * s / 255.0;
    else
        blended = base;
    return clamp(floor((1.0 - alpha) * base + alpha * blended + 0.5), 0.0, 255.0);
}
