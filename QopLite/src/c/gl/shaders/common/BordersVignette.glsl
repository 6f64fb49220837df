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

float vignetteAlpha()
{
    vec2 pixel = floor(gl_FragCoord.xy);
    vec2 size = vec2(u_width, u_height);
    vec2 centre = floor(size / 2.0) + floor(vec2(u_dx_2, u_dy_2) * size + 0.5);
    vec2 c = pixel - centre;
    float theta = u_shouldStretch != 0 ? dot(c / size, c / size) : dot(c, c);
    float denom = u_vignetteScale * u_vignetteScale / 1.15;
    theta = theta / (denom == 0.0 ? 1e-8 : denom);
    if (u_shapeMode == 1)
        theta = theta * theta;
    else if (u_shapeMode == 2)
        theta = pow(theta, 1.5);
    else if (u_shapeMode == 3)
        theta = theta * theta * theta * theta;
    float a = floor(u_vignetteColor.a * 255.0 + 0.5);
    if (theta > 1.15)
        return a / 255.0;
    if (theta < 0.04)
        return 0.0;
    float t = theta * theta;
    float f = 1.0 - 2.0 * t + 1.6666666 * t * t - 0.75555557 * t * t * t + 0.20634921 * t * t * t * t -
              0.036261022 * t * t * t * t * t;
    return clamp(floor(a * (1.0 - f)), 0.0, 255.0) / 255.0;
}
