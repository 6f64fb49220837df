#version 100
// u_sampler where the mask (alpha) is clear, u_sourceSampler where it is set, mixed in between.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

varying vec2 v_texCoord;
uniform sampler2D u_sampler;
uniform sampler2D u_sourceSampler;
uniform sampler2D u_maskSampler;

void main()
{
    float m = texture2D(u_maskSampler, v_texCoord).a;
    gl_FragColor = mix(texture2D(u_sampler, v_texCoord), texture2D(u_sourceSampler, v_texCoord), m);
}
