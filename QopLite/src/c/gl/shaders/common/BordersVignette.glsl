// What every colour vignette pass shares: its uniforms (the vignette records look up all of
// them) and the alpha of the falloff at the pixel, in whole levels.
varying vec2 v_texCoord;
uniform sampler2D u_sampler;
uniform float u_vignetteScale;
uniform float u_width;
uniform float u_height;
uniform int u_blend;
uniform vec4 u_vignetteColor;
uniform int u_shouldStretch;
uniform int u_shapeMode;
uniform float u_dx_2;
uniform float u_dy_2;

#include "common/VignetteFalloff.glsl"

float vignetteAlpha()
{
    vec2 size = vec2(u_width, u_height);
    vec2 c = floor(gl_FragCoord.xy) - vignetteCentre(size, u_dx_2, u_dy_2);
    float theta = u_shouldStretch != 0 ? dot(c / size, c / size) : dot(c, c);
    float denom = u_vignetteScale * u_vignetteScale / 1.15;
    theta = shapedTheta(theta / (denom == 0.0 ? 1e-8 : denom), u_shapeMode);
    float a = floor(u_vignetteColor.a * 255.0 + 0.5);
    if (theta > 1.15)
        return a / 255.0;
    if (theta < 0.04)
        return 0.0;
    return clamp(floor(a * (1.0 - vignetteSeries(theta))), 0.0, 255.0) / 255.0;
}
