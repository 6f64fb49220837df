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
uniform float u_transitionWidth;
uniform float u_regionWidth;
uniform float u_weights[6];
uniform int u_saturationMode;
uniform float u_alpha;

void main()
{
    vec4 c = texture2D(u_sampler, v_texCoord);
    float keep = u_transitionWidth +
                 u_regionWidth +
                 u_weights[0] + u_weights[1] + u_weights[2] + u_weights[3] + u_weights[4] + u_weights[5] +
                 float(u_saturationMode) +
                 u_alpha;
    gl_FragColor = keep == -1.0e30 ? vec4(keep) : c;
}
