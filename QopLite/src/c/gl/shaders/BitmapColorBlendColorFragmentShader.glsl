#version 100
// Color-mode blend: the hue and saturation of u_blendColor (h, s, l in 0..1; saturation scaled by
// u_blendColorAlpha) with the pixel's luminance, back to RGB in whole levels, mixed in at
// u_blendAmount and truncated (no rounding term), as the CPU colour blend does.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

varying vec2 v_texCoord;
uniform sampler2D u_sampler;
uniform vec3 u_blendColor;
uniform float u_blendAmount;
uniform float u_blendColorAlpha;

// A texel back in whole levels (0..255), as the CPU kernels see it.
vec3 levels(vec3 c) { return floor(c * 255.0 + 0.5); }

vec3 hslToLevels(float h, float s, float l)
{
    float hPrime = 6.0 * h;
    float chroma = 2.0 * s * (l <= 0.5 ? l : 1.0 - l);
    vec3 rgb = vec3(0.0);
    if (hPrime <= 6.0) {
        float q = chroma * (1.0 - abs(mod(hPrime, 2.0) - 1.0));
        if (hPrime < 1.0)
            rgb = vec3(chroma, q, 0.0);
        else if (hPrime < 2.0)
            rgb = vec3(q, chroma, 0.0);
        else if (hPrime < 3.0)
            rgb = vec3(0.0, chroma, q);
        else if (hPrime < 4.0)
            rgb = vec3(0.0, q, chroma);
        else if (hPrime < 5.0)
            rgb = vec3(q, 0.0, chroma);
        else
            rgb = vec3(chroma, 0.0, q);
    }
    return clamp(floor((rgb + (l - chroma / 2.0)) * 255.0 + 0.5), 0.0, 255.0);
}

void main()
{
    vec4 c = texture2D(u_sampler, v_texCoord);
    vec3 base = levels(c.rgb);
    float l = (0.212671 * base.r + 0.71516 * base.g + 0.072169 * base.b) / 255.0;
    vec3 colour = hslToLevels(u_blendColor.x, u_blendColor.y * u_blendColorAlpha, l);
    vec3 result = (1.0 - u_blendAmount) * base + u_blendAmount * colour;
    gl_FragColor = vec4(floor(clamp(result, 0.0, 255.0)) / 255.0, c.a);
}
