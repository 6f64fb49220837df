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
uniform float u_dr22;
uniform float u_dr12;
uniform float u_daa;
uniform float u_avgD;
uniform float u_bA;
uniform float u_height;
uniform float u_width;
uniform float u_xCenter;
uniform float u_yCenter;
uniform vec4 u_color;

void main()
{
    vec4 c = texture2D(u_sampler, v_texCoord);
    float keep = u_dr22 +
                 u_dr12 +
                 u_daa +
                 u_avgD +
                 u_bA +
                 u_height +
                 u_width +
                 u_xCenter +
                 u_yCenter +
                 u_color.x;
    gl_FragColor = keep == -1.0e30 ? vec4(keep) : c;
}
