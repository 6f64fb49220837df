#version 100
// Gradient map, Overlay blend, as a None pass: the map entry at the pixel's factor overlaid on the
// pixel at its own opacity times u_alphaBlend, in whole levels with the CPU's rounding. This
// program has no vignette: LinearVignette runs as plain linear here.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

#include "common/GradientMap.glsl"
#include "common/Overlay.glsl"

void main()
{
    // The gradient records look up the vignette uniforms too; this program keeps them active (the
    // sum is never that value) so that every record resolves alike.
    float keep = u_dx_2 + u_dy_2 + u_denomI + float(u_vignetteShape);
    if (keep == -1.0e30) {
        gl_FragColor = vec4(keep);
        return;
    }
    vec4 c = texture2D(u_sampler, v_texCoord);
    vec4 entry = mapEntry(u_shapeMode == 1);
    float alpha = entry.a * u_alphaBlend;
    vec3 base = floor(c.rgb * 255.0 + 0.5);
    vec3 s = floor(entry.rgb * 255.0 + 0.5);
    vec3 result = clamp(floor((1.0 - alpha) * base + alpha * overlayLevels(base, s) + 0.5), 0.0, 255.0);
    gl_FragColor = vec4(result / 255.0, c.a);
}
