// The colour vignettes that blend by themselves (None passes): the Normal vignette's falloff, with
// the including shader's vignetteBlend(base, colour) (in levels) mixed into the pixel, in whole
// levels with the CPU's rounding.
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
    vec3 result = clamp(floor((1.0 - alpha) * base + alpha * vignetteBlend(base, s) + 0.5), 0.0, 255.0);
    gl_FragColor = vec4(result / 255.0, c.a);
}
