#version 100
// Whitening as the CPU kernel computes it: L*a*b* bytes of the pixel (sRGB curve, D65, the cube
// root at the CPU table's steps), strength f = 0.65 exp(-((a - 132)^2 + q) / 98) with q the squared
// blue of the pixel (0 for yellow), lightness raised by the gamma 1 / (0.5 f + 1), yellow reduced
// by f, each truncated to a byte, and back to RGB through the CPU's inverse.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
varying vec2 v_texCoord;
uniform sampler2D u_sampler;
uniform sampler2D u_maskSampler;

#include "common/LAB.glsl"

void main()
{
    vec4 c = texture2D(u_sampler, v_texCoord);
    vec3 bytes = floor(c.rgb * 255.0 + 0.5);
    vec3 lab = rgbToLab(bytes);
    float l = lab.x;
    float a = lab.y;
    float b = lab.z;

    float q = b < 127.0 ? (b - 127.0) * (b - 127.0) : 0.0;
    float f = 0.65 * exp(-((a - 132.0) * (a - 132.0) + q) / 98.0);
    float lightness = clamp(floor(255.0 * pow(max(l, 0.0) / 255.0, 1.0 / (0.5 * f + 1.0))), 0.0, 255.0);
    float aByte = clamp(floor(a), 0.0, 255.0);
    float bByte = clamp(floor((1.0 - f) * (b - 127.0) + 127.0), 0.0, 255.0);

    vec3 rgb = labToRgb(lightness / 2.55, aByte - 127.0, bByte - 127.0);
    // The program's mask sampler is never set (it reads the image's own unit); an impossible
    // value keeps it in the program so its location resolves.
    if (texture2D(u_maskSampler, v_texCoord).a < -1.0)
        rgb = vec3(0.0);
    gl_FragColor = vec4(rgb / 255.0, c.a);
}
