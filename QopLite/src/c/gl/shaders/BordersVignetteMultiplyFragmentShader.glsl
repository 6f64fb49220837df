#version 100
// Colour vignette, Multiply blend: the same falloff as the Normal vignette, mixed into the pixel by
// the program itself (a None pass), in whole levels with the CPU's rounding.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

#include "common/BordersVignette.glsl"

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
