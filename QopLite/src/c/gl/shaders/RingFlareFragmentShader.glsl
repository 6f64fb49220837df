#version 100
// Ring flare for a Normal (blending) pass: B ramps up over u_daa outside the inner squared
// radius, holds 1 to the outer one and ramps down over u_daa beyond it (squared distances in
// units of u_avgD); the colour covers at B^2 u_bA where that reaches 0.005.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

varying vec2 v_texCoord;
uniform sampler2D u_sampler;
uniform float u_dr22;
uniform float u_dr12;
uniform float u_daa;
uniform float u_avgD;
uniform float u_bA;
uniform float u_height;
uniform float u_width;
uniform float u_xCenter;
uniform float u_yCenter;
uniform vec4 u_color;

void main()
{
    // u_sampler belongs to every image-quad program; this pass blends over the result and never
    // reads it (the size is never negative).
    if (u_width < 0.0 || u_height < 0.0) {
        gl_FragColor = texture2D(u_sampler, v_texCoord);
        return;
    }
    vec2 pixel = floor(gl_FragCoord.xy);
    vec2 d = (pixel - vec2(u_xCenter, u_yCenter)) / u_avgD;
    float q = dot(d, d);
    float B;
    if (q > u_dr22 + u_daa)
        B = 0.0;
    else if (q > u_dr22)
        B = (u_dr22 + u_daa - q) / u_daa;
    else if (q > u_dr12)
        B = 1.0;
    else if (q > u_dr12 - u_daa)
        B = 1.0 - (u_dr12 - q) / u_daa;
    else
        B = 0.0;
    float cover = B * B * u_bA;
    gl_FragColor = vec4(u_color.rgb, 1.0 - cover < 0.995 ? cover : 0.0);
}
