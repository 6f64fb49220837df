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
uniform sampler2D u_dotSampler;

void main()
{
    vec4 c = vec4(1.0);
    float keep = texture2D(u_dotSampler, vec2(0.5)).r;
    gl_FragColor = keep == -1.0e30 ? vec4(keep) : c;
}
