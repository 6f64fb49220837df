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
varying vec2 v_imagePos;
uniform float u_nHatx;
uniform float u_nHaty;
uniform float u_x1;
uniform float u_y1;
uniform float u_x2;
uniform float u_y2;
uniform float u_r;
uniform float u_r2;
uniform float u_dAA;
uniform float u_bA;
uniform float u_r2AA;
uniform vec4 u_color;
uniform float u_vLength2;

void main()
{
    vec4 c = vec4(v_imagePos, 0.0, 1.0);
    float keep = u_nHatx +
                 u_nHaty +
                 u_x1 +
                 u_y1 +
                 u_x2 +
                 u_y2 +
                 u_r +
                 u_r2 +
                 u_dAA +
                 u_bA +
                 u_r2AA +
                 u_color.x +
                 u_vLength2;
    gl_FragColor = keep == -1.0e30 ? vec4(keep) : c;
}
