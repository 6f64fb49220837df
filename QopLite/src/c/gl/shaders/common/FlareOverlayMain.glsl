// main() of a single-shape flare, Overlay blend, as a None pass: the strength flareStrength(x, y,
// r2) gives (defined by the includer), truncated to whole levels, mixes the overlaid colour into
// the pixel with the CPU's rounding.
#include "common/Overlay.glsl"

void main()
{
    float keep = keepFlareUniforms();
    if (keep == -1.0e30) {
        gl_FragColor = vec4(keep);
        return;
    }
    vec2 p = flarePoint();
    float alpha = level(flareStrength(p.x, p.y, dot(p, p)));
    vec4 c = texture2D(u_sampler, v_texCoord);
    vec3 base = floor(c.rgb * 255.0 + 0.5);
    vec3 s = floor(u_flareColor.rgb * 255.0 + 0.5);
    vec3 result = clamp(floor((1.0 - alpha) * base + alpha * overlayLevels(base, s) + 0.5), 0.0, 255.0);
    gl_FragColor = vec4(result / 255.0, c.a);
}
