#version 100
// RGB to L*a*b* bytes as the CPU conversion makes them: L 0..255, a* and b* centred on 127,
// truncated. The sRGB curve is computed; the cube root is read at the CPU table's own steps.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
varying vec2 v_texCoord;
uniform sampler2D u_sampler;

#include "common/LAB.glsl"

void main()
{
    vec4 c = texture2D(u_sampler, v_texCoord);
    vec3 bytes = floor(c.rgb * 255.0 + 0.5);
    vec3 lab = rgbToLab(bytes);
    gl_FragColor = vec4(clamp(floor(lab), 0.0, 255.0) / 255.0, c.a);
}
