#version 100
// Clarity: the pixel sharpened against its local grey average m (u_avgImgSampler), then the
// tone table's change to that average (e, u_effectedAvgImgSampler) applied, part added and part
// multiplied: (1 - gain)(c' + e - m) + gain c' e / m. Alpha becomes 1, as on the CPU.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
varying vec2 v_texCoord;
uniform sampler2D u_sampler;
uniform sampler2D u_avgImgSampler;
uniform sampler2D u_effectedAvgImgSampler;
uniform float u_gain;
uniform float u_sharpenAmount;

void main()
{
    vec4 c = texture2D(u_sampler, v_texCoord);
    float m = texture2D(u_avgImgSampler, v_texCoord).r;
    float e = texture2D(u_effectedAvgImgSampler, v_texCoord).r;
    float grey = 0.2 * c.r + 0.7 * c.g + 0.1 * c.b;
    vec3 cPrime = c.rgb + (grey - m) * u_sharpenAmount;
    vec3 out3 = (1.0 - u_gain) * (cPrime + e - m) + u_gain * cPrime * e / max(m, 1.0 / 255.0);
    gl_FragColor = vec4(clamp(out3, 0.0, 1.0), 1.0);
}
