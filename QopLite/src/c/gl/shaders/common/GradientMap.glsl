// What every gradient-map pass shares: its uniforms (the gradient records look up all of them),
// the map entry of the pixel and the vignette fade.
varying vec2 v_texCoord;
uniform sampler2D u_sampler;
uniform float u_width;
uniform float u_height;
uniform float u_scale;
uniform float u_xCenter;
uniform float u_yCenter;
uniform float u_dx_2;
uniform float u_dy_2;
uniform float u_denomI;
uniform float u_alphaBlend;
uniform int u_shapeMode;
uniform int u_vignetteShape;
uniform float u_angleCos;
uniform float u_angleSin;
uniform sampler2D u_gradientMap;

#include "common/VignetteFalloff.glsl"
uniform int u_blendMode;

// The map entry the CPU picks for this pixel: the factor from x/W and y/H (whole pixels, as the
// CPU counts them), clamped to the ends, rounded to one of the 1024 entries and sampled at that
// texel's centre, where linear filtering returns the entry itself.
vec4 mapEntry(bool radial)
{
    vec2 pixel = floor(gl_FragCoord.xy);
    float u = (pixel.x / u_width - u_xCenter) / u_scale;
    float v = (pixel.y / u_height - u_yCenter) / u_scale;
    float factor = radial ? sqrt(u * u + v * v) : u * u_angleCos - v * u_angleSin;
    float index = factor < 0.0 ? 0.0 : (factor > 1.0 ? 1023.0 : floor(factor * 1023.0 + 0.5));
    return texture2D(u_gradientMap, vec2(0.5, (index + 0.5) / 1024.0));
}

// The vignette fade of LinearVignette: 0 at the centre, the full strength beyond theta 1.15.
float vignetteStrength()
{
    vec2 size = vec2(u_width, u_height);
    vec2 c = (floor(gl_FragCoord.xy) - vignetteCentre(size, u_dx_2, u_dy_2)) / size;
    float theta = shapedTheta(dot(c, c) * u_denomI, u_vignetteShape);
    if (theta > 1.15)
        return u_alphaBlend;
    if (theta < 0.04)
        return 0.0;
    return u_alphaBlend * (1.0 - vignetteSeries(theta));
}
