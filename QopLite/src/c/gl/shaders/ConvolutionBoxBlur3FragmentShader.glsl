#version 100
// The plain mean of 3 taps (a box of 3 at the vertex stage's stride); alpha is kept, as
// the CPU filter leaves it.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

varying vec2 v_texCoord;
varying vec4 v_taps[1];
uniform sampler2D u_sampler;

void main()
{
    vec4 centre = texture2D(u_sampler, v_texCoord);
    vec3 sum = centre.rgb;
    sum += texture2D(u_sampler, v_taps[0].xy).rgb + texture2D(u_sampler, v_taps[0].zw).rgb;
    gl_FragColor = vec4(sum / 3.0, centre.a);
}
