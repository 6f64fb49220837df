#version 100
// Colour vignette, Multiply blend: the same falloff as the Normal vignette, mixed into the pixel by
// the program itself (a None pass), in whole levels with the CPU's rounding.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

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

void main()
{
    vec4 c = texture2D(u_sampler, v_texCoord);
    // u_blend belongs to every vignette record; the mode is this program's own.
    if (u_width < 0.0) {
        gl_FragColor = c * float(u_blend);
        return;
    }
    float alpha = vignetteAlpha();
    vec3 base = floor(c.rgb * 255.0 + 0.5);
    vec3 s = floor(u_vignetteColor.rgb * 255.0 + 0.5);
    vec3 blended = base * s / 255.0;
    vec3 result = clamp(floor((1.0 - alpha) * base + alpha * blended + 0.5), 0.0, 255.0);
    gl_FragColor = vec4(result / 255.0, c.a);
}
