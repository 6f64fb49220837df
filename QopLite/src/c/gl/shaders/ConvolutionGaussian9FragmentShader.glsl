#version 100
// Nine symmetric taps: u_weight0 at the centre, u_weightK at K strides on either side (the weights
// sum to 1). Alpha is kept, as the CPU filter leaves it.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

varying vec2 v_texCoord;
varying vec4 v_taps[4];
uniform sampler2D u_sampler;
uniform float u_weight0;
uniform float u_weight1;
uniform float u_weight2;
uniform float u_weight3;
uniform float u_weight4;

vec3 pair(int i)
{
    return texture2D(u_sampler, v_taps[i].xy).rgb + texture2D(u_sampler, v_taps[i].zw).rgb;
}

void main()
{
    vec4 centre = texture2D(u_sampler, v_texCoord);
    vec3 sum = u_weight0 * centre.rgb + u_weight1 * pair(0) + u_weight2 * pair(1) + u_weight3 * pair(2) +
               u_weight4 * pair(3);
    gl_FragColor = vec4(sum, centre.a);
}
