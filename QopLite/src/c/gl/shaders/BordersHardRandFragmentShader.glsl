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
uniform sampler2D u_linesSampler;
uniform float u_height;
uniform float u_width;
uniform float u_widthTexCoordMult;
uniform float u_heightTexCoordMult;
uniform float u_h2;
uniform float u_w2;
uniform float u_offset;
uniform float u_dw;
uniform vec4 u_color;
uniform float u_scale;
uniform float u_floatMult;
uniform float u_floatTrans;
uniform float u_randomSeed;

void main()
{
    vec4 c = texture2D(u_sampler, v_texCoord);
    float keep = texture2D(u_linesSampler, vec2(0.5)).r +
                 u_height +
                 u_width +
                 u_widthTexCoordMult +
                 u_heightTexCoordMult +
                 u_h2 +
                 u_w2 +
                 u_offset +
                 u_dw +
                 u_color.x +
                 u_scale +
                 u_floatMult +
                 u_floatTrans +
                 u_randomSeed;
    gl_FragColor = keep == -1.0e30 ? vec4(keep) : c;
}
