#version 100
// L*a*b* bytes back to RGB as the CPU conversion does, with a* and b* scaled by u_scaleA and
// u_scaleB before the neutral 127 is taken off.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
varying vec2 v_texCoord;
uniform sampler2D u_sampler;
uniform float u_scaleA;
uniform float u_scaleB;

#include "common/LAB.glsl"

void main()
{
    vec4 c = texture2D(u_sampler, v_texCoord);
    vec3 lab = floor(c.rgb * 255.0 + 0.5);
    vec3 rgb = labToRgb(lab.r / 2.55, lab.g * u_scaleA - 127.0, lab.b * u_scaleB - 127.0);
    gl_FragColor = vec4(rgb / 255.0, c.a);
}
