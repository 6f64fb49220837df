#version 100
// Gradient map, Overlay blend, as a None pass: the map entry at the pixel's factor overlaid on the
// pixel at its own opacity times u_alphaBlend, in whole levels with the CPU's rounding. This
// program has no vignette: LinearVignette runs as plain linear here.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

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

// Overlay of the colour s on the base d, both in levels; 128 takes the multiplying branch.
vec3 overlay(vec3 d, vec3 s)
{
    return mix(255.0 - 2.0 * (255.0 - d) * (255.0 - s) / 255.0, 2.0 * d * s / 255.0, step(d, vec3(128.0)));
}

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
    vec3 result = clamp(floor((1.0 - alpha) * base + alpha * overlay(base, s) + 0.5), 0.0, 255.0);
    gl_FragColor = vec4(result / 255.0, c.a);
}
