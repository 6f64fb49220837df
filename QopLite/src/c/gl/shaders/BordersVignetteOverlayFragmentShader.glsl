#version 100
// Placeholder until this program's pass lands: outputs the current image (a plain value for point
// and strip geometry). It declares every name the program's set-up looks up and keeps each one
// active (the comparison below never holds for real uniform values), so locations resolve as they
// will for the finished shader.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
varying vec2 v_texCoord;
uniform sampler2D u_sampler;
uniform float u_vignetteScale;
uniform float u_width;
uniform float u_height;
uniform int u_blend;
uniform vec4 u_vignetteColor;
uniform int u_shouldStretch;
uniform int u_shapeMode;
uniform float u_dx_2;
uniform float u_dy_2;

void main()
{
    vec4 c = texture2D(u_sampler, v_texCoord);
    float keep = u_vignetteScale +
                 u_width +
                 u_height +
                 float(u_blend) +
                 u_vignetteColor.x +
                 float(u_shouldStretch) +
                 float(u_shapeMode) +
                 u_dx_2 +
                 u_dy_2;
    gl_FragColor = keep == -1.0e30 ? vec4(keep) : c;
}
