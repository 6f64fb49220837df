// The Normal (blending) gradient pass, linear, radial or faded in by the vignette (u_shapeMode 0,
// 1, 2): the map entry at its own opacity times the strength.
#include "common/GradientMap.glsl"

// The vignette fade of LinearVignette: 0 at the centre, the full strength beyond theta 1.15.
float vignetteStrength()
{
    vec2 pixel = floor(gl_FragCoord.xy);
    vec2 size = vec2(u_width, u_height);
    vec2 centre = floor(size / 2.0) + floor(vec2(u_dx_2, u_dy_2) * size + 0.5);
    vec2 c = (pixel - centre) / size;
    float theta = dot(c, c) * u_denomI;
    if (u_vignetteShape == 1)
        theta = theta * theta;
    else if (u_vignetteShape == 2)
        theta = pow(theta, 1.5);
    else if (u_vignetteShape == 3)
        theta = theta * theta * theta * theta;
    if (theta > 1.15)
        return u_alphaBlend;
    if (theta < 0.04)
        return 0.0;
    float t = theta * theta;
    float g = 1.0 - 2.0 * t + 1.6666666 * t * t - 0.75555557 * t * t * t + 0.20634921 * t * t * t * t -
              0.036261022 * t * t * t * t * t;
    return u_alphaBlend * (1.0 - g);
}

void main()
{
    // u_sampler belongs to every image-quad program; this pass blends over the result and never
    // reads it (the width is never negative).
    if (u_width < 0.0) {
        gl_FragColor = texture2D(u_sampler, v_texCoord);
        return;
    }
    vec4 entry = mapEntry(u_shapeMode == 1);
    float strength = u_shapeMode == 2 ? vignetteStrength() : u_alphaBlend;
    gl_FragColor = vec4(entry.rgb, entry.a * strength);
}
