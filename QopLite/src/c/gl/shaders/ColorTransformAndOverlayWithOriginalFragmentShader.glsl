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

#include "common/Levels.glsl"

#include "common/Overlay.glsl"

void main()
{
    vec4 c = texture2D(u_sampler, v_texCoord);
    vec3 base = levels(c.rgb);
    vec3 transformed = floor(clamp(u_colorMat * base + u_colorTrans * 255.0 + 0.5, 0.0, 255.0));
    vec3 result = (1.0 - u_overlayAmount) * base + u_overlayAmount * overlayLevels(base, transformed);
    gl_FragColor = vec4(floor(clamp(result, 0.0, 255.0) + 0.5) / 255.0, c.a);
}
