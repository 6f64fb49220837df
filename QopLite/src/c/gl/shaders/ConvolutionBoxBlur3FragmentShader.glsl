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
uniform float u_texelStride;

void main()
{
    vec4 c = texture2D(u_sampler, v_texCoord);
    float keep = u_texelStride;
    gl_FragColor = keep == -1.0e30 ? vec4(keep) : c;
}
