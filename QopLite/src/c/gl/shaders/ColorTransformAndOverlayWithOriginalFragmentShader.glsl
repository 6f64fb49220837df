#version 100
// The colour matrix's result overlaid on the pixel (the pixel is the base layer) and mixed in at
// u_overlayAmount. The matrix result is rounded to a level first, as the CPU twin stores it.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

varying vec2 v_texCoord;
uniform sampler2D u_sampler;
uniform mat3 u_colorMat;
uniform vec3 u_colorTrans;
uniform float u_overlayAmount;

// A texel back in whole levels (0..255), as the CPU kernels see it.
vec3 levels(vec3 c) { return floor(c * 255.0 + 0.5); }

// Overlay in levels: the base channel decides, and 128 takes the multiplying branch.
vec3 overlayLevels(vec3 base, vec3 blend)
{
    vec3 low = 2.0 * base * blend / 255.0;
    vec3 high = 255.0 - 2.0 * (255.0 - base) * (255.0 - blend) / 255.0;
    return mix(high, low, step(base, vec3(128.0)));
}

void main()
{
    vec4 c = texture2D(u_sampler, v_texCoord);
    vec3 base = levels(c.rgb);
    vec3 transformed = floor(clamp(u_colorMat * base + u_colorTrans * 255.0 + 0.5, 0.0, 255.0));
    vec3 result = (1.0 - u_overlayAmount) * base + u_overlayAmount * overlayLevels(base, transformed);
    gl_FragColor = vec4(floor(clamp(result, 0.0, 255.0) + 0.5) / 255.0, c.a);
}
