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
uniform float u_radius;
uniform float u_width;
uniform float u_height;
uniform float u_alpha;
uniform float u_dEdge;

void main()
{
    vec4 c = vec4(1.0);
    float keep = u_radius +
                 u_width +
                 u_height +
                 u_alpha +
                 u_dEdge;
    gl_FragColor = keep == -1.0e30 ? vec4(keep) : c;
}
