// What the two-image overlay passes share: the current image (u_sampler), the source
// (u_srcSampler), and one layer overlaid on the other, mixed in at u_factor, in whole levels.
varying vec2 v_texCoord;
uniform sampler2D u_sampler;
uniform sampler2D u_srcSampler;
uniform float u_factor;

#include "common/Levels.glsl"
#include "common/Overlay.glsl"

// blendLayer overlaid on baseLayer; the base layer's alpha is kept.
vec4 overlayMixed(vec4 baseLayer, vec4 blendLayer)
{
    vec3 base = levels(baseLayer.rgb);
    vec3 result = (1.0 - u_factor) * base + u_factor * overlayLevels(base, levels(blendLayer.rgb));
    return vec4(floor(clamp(result, 0.0, 255.0) + 0.5) / 255.0, baseLayer.a);
}
