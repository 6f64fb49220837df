#version 100
// Inset border styles for a Normal (blending) pass: the pixel's distance into a frame of width
// u_dw with rounded corners, measured from the four insets, gives the image weight v of the style
// (u_borderStyle: 1 Halftone, 2 Lines, 3 Smooth, 4 Shadow, 5 Fade, 6 Rough, 16 Viewfinder). The
// output is the border colour at coverage 1 - v; outside the insets the colour covers the pixel.
// Shadow outputs its darkened colour itself. Rough and Viewfinder grain comes from a hash of the
// pixel position: the program has no seed, so it is the same grain for every seed.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

varying vec2 v_texCoord;
uniform sampler2D u_sampler;
uniform float u_dw;
uniform float u_rFactor;
uniform float u_width;
uniform float u_height;
uniform int u_borderStyle;
uniform vec4 u_borderColor;
uniform float u_linesScale;
uniform float u_dotScale;
uniform float u_offsetL;
uniform float u_offsetR;
uniform float u_offsetT;
uniform float u_offsetB;
uniform float u_offsetX;
uniform float u_offsetY;

float truncated(float v) { return sign(v) * floor(abs(v)); }

#include "common/Hash.glsl"

// The shadow's darkening t: distances shifted by the angle, a squircle corner.
float shadowT(float x, float y, bool insideInset)
{
    float size = u_dw;
    float inset = u_offsetT;
    float halfW = floor(u_width / 2.0), halfH = floor(u_height / 2.0);
    float a = y < halfH ? (y - inset) - u_offsetY : (u_height - 1.0 - y - inset) + u_offsetY;
    float b = x < halfW ? (x - inset) - u_offsetX : (u_width - 1.0 - x - inset) + u_offsetX;
    float k = 1.4142135 * size;
    float ds;
    if (k <= a || k <= b) {
        ds = min(a, b);
    } else {
        float bk = b - k, ak = a - k;
        ds = k - pow(bk * bk * bk * bk + ak * ak * ak * ak, 0.25);
    }
    ds = max(ds, -size);
    if (insideInset && ds > size)
        ds = sqrt(ds / size) * size;
    float h = (ds / size + 1.0) * 0.5;
    return clamp(h * h * h * h * 0.6000000238418579, 0.0, 1.0);
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
    float halfW = floor(u_width / 2.0), halfH = floor(u_height / 2.0);
    float size = u_dw;
    vec3 colour = u_borderColor.rgb;
    float yc = y < halfH ? truncated(y - u_offsetT) : truncated((u_height - 1.0 - y) - u_offsetB);
    float xc = x < halfW ? truncated(x - u_offsetL) : truncated((u_width - 1.0 - x) - u_offsetR);
    float halftone = 2.0 * (cos(u_dotScale * (y - halfH)) * cos(u_dotScale * (x - halfW)) + 1.0);

    if (xc < 0.0 || yc < 0.0) {
        if (u_borderStyle == 4)
            gl_FragColor = vec4(colour * (1.0 - shadowT(x, y, false)), 1.0);
        else if (u_borderStyle == 1)
            gl_FragColor = vec4(colour, 1.0 - clamp(1.0 - halftone, 0.0, 1.0));
        else
            gl_FragColor = vec4(colour, 1.0);
        return;
    }
    float R = u_rFactor * 1.4142135 * size;
    float d = (R <= yc || R <= xc) ? min(xc, yc) : R - length(vec2(xc - R, yc - R));
    if (!(d < size)) {
        gl_FragColor = vec4(colour, 0.0);
        return;
    }
    float q = 1.0 - d / size;
    float q4 = q * q * q * q;
    float v;
    if (u_borderStyle == 1) {
        v = d <= 0.0 ? 1.0 - halftone : 1.0 - halftone * q4;
    } else if (u_borderStyle == 2) {
        float wave = cos((y - halfH) / u_height * 439.822971502571 / u_linesScale);
        v = 1.0 + 2.0 * (-0.8 * (wave + 1.0)) * q4;
    } else if (u_borderStyle == 3) {
        v = 1.0 - 2.0 * q4;
    } else if (u_borderStyle == 4) {
        if (xc < size || yc < size)
            gl_FragColor = vec4(colour * (1.0 - shadowT(x, y, true)), 1.0);
        else
            gl_FragColor = vec4(colour, 0.0);
        return;
    } else if (u_borderStyle == 5) {
        float f = max(d, 0.0) / size;
        v = f * f;
    } else {
        float u = hash13(vec3(x, y, 7.0));
        v = 1.0 - 2.0 * (0.4 * u + 0.6) * q4;
    }
    gl_FragColor = vec4(colour, 1.0 - clamp(v, 0.0, 1.0));
}
