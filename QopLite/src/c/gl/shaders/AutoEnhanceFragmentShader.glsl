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
uniform sampler2D u_mapFactorSampler;
uniform float u_gain;
uniform float u_rScale;
uniform float u_gScale;
uniform float u_bScale;
uniform float u_rMin;
uniform float u_gMin;
uniform float u_bMin;
uniform float u_floatMult;
uniform float u_floatTrans;

void main()
{
    vec4 c = texture2D(u_sampler, v_texCoord);
    float keep = texture2D(u_mapFactorSampler, vec2(0.5)).r +
                 u_gain +
                 u_rScale +
                 u_gScale +
                 u_bScale +
                 u_rMin +
                 u_gMin +
                 u_bMin +
                 u_floatMult +
                 u_floatTrans;
    gl_FragColor = keep == -1.0e30 ? vec4(keep) : c;
}
