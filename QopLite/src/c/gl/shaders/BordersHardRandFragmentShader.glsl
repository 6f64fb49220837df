#version 100
// Hard-random frame for a Normal (blending) pass. The four random lines come from a maxDim x 4
// texture (rows: left, right, top, bottom), each value in 32-bit fixed point with the most
// significant byte in alpha, scaled by u_floatMult and shifted by u_floatTrans. The frame edge
// is the line-displaced inset with rounded corners; outside it the colour covers at its alpha,
// within u_dw of it a seeded grain falls off as (1 - d/u_dw)^(4 u_scale).
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

varying vec2 v_texCoord;
uniform sampler2D u_sampler;
uniform sampler2D u_linesSampler;
uniform float u_height;
uniform float u_width;
uniform float u_widthTexCoordMult;
uniform float u_heightTexCoordMult;
uniform float u_h2;
uniform float u_w2;
uniform float u_offset;
uniform float u_dw;
uniform vec4 u_color;
uniform float u_scale;
uniform float u_floatMult;
uniform float u_floatTrans;
uniform float u_randomSeed;

float truncated(float v) { return sign(v) * floor(abs(v)); }

#include "common/Hash.glsl"

// Value k of line `row` (0 left, 1 right: k is a row; 2 top, 3 bottom: k is a column).
float lineValue(float row, float k, float texCoordMult)
{
    vec4 t = texture2D(u_linesSampler, vec2((k + 0.5) * texCoordMult, (row + 0.5) / 4.0));
    float v = t.a + t.b / 256.0 + t.g / 65536.0 + t.r / 16777216.0;
    // Flat lines are stored with multiplier 0: every value is the shift itself.
    return u_floatMult == 0.0 ? u_floatTrans : v / u_floatMult + u_floatTrans;
}

void main()
{
    // u_sampler belongs to every image-quad program; this pass blends over the result and never
    // reads it (the width is never negative).
    if (u_width < 0.0) {
        gl_FragColor = texture2D(u_sampler, v_texCoord);
        return;
    }
    vec2 pixel = floor(gl_FragCoord.xy);
    float x = pixel.x, y = pixel.y;
    float yd = y < u_h2 ? (y - u_offset) - lineValue(2.0, x, u_widthTexCoordMult)
                        : (u_height - 1.0 - y - u_offset) - lineValue(3.0, x, u_widthTexCoordMult);
    float xd = x < u_w2 ? (x - u_offset) - lineValue(0.0, y, u_heightTexCoordMult)
                        : (u_width - 1.0 - x - u_offset) - lineValue(1.0, y, u_heightTexCoordMult);
    float yc = truncated(yd), xc = truncated(xd);
    if (xc < 0.0 || yc < 0.0) {
        gl_FragColor = vec4(u_color.rgb, u_color.a);
        return;
    }
    float size = u_dw;
    float R = 1.4142135 * size;
    float d = (R <= yc || R <= xc) ? min(xc, yc) : R - length(vec2(yc - R, xc - R));
    if (!(d < size)) {
        gl_FragColor = vec4(u_color.rgb, 0.0);
        return;
    }
    // The seed is split into two parts below 4096 so that no operand loses its low bits.
    float low = mod(u_randomSeed, 4096.0);
    float high = mod(floor(u_randomSeed / 4096.0), 4096.0);
    float offset = hash13(vec3(high, low, 29.0)) * 4096.0;
    float u = hash13(vec3(x + offset, y + low * 0.5, high + low + 3.0));
    float v = 1.0 - 2.0 * (0.4 * u + 0.6) * pow(1.0 - d / size, 4.0 * u_scale);
    gl_FragColor = vec4(u_color.rgb, (1.0 - clamp(v, 0.0, 1.0)) * u_color.a);
}
