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
uniform sampler2D u_sampler;
uniform float u_radius;
uniform float u_width;
uniform float u_height;
uniform float u_alpha;
uniform float u_dEdge;
uniform float u_l;
uniform float u_a;
uniform float u_b;
uniform float u_sigmaC;

void main()
{
    vec4 c = texture2D(u_sampler, vec2(0.5));
    float keep = u_radius +
                 u_width +
                 u_height +
                 u_alpha +
                 u_dEdge +
                 u_l +
                 u_a +
                 u_b +
                 u_sigmaC;
    gl_FragColor = keep == -1.0e30 ? vec4(keep) : c;
}
