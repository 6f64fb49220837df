#version 100
// Auto-enhance: each pixel brightened by the factor at its luminance, mixed at u_gain, then each
// channel shifted by its min and scaled. The factors come from a 256 x 1 texture, each stored as
// a 24-bit fraction of the factor range (alpha the most significant byte, then blue, then green)
// that maps back through u_floatMult and u_floatTrans.
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

float factorAt(float index)
{
    vec4 t = texture2D(u_mapFactorSampler, vec2((index + 0.5) / 256.0, 0.5)) * 255.0;
    float fraction = (floor(t.a + 0.5) * 65536.0 + floor(t.b + 0.5) * 256.0 + floor(t.g + 0.5)) / 16777215.0;
    // A flat factor table has no range: u_floatMult is 0 and every factor is u_floatTrans.
    return u_floatMult > 0.0 ? fraction / u_floatMult + u_floatTrans : u_floatTrans;
}

void main()
{
    vec4 c = texture2D(u_sampler, v_texCoord);
    vec3 v = floor(c.rgb * 255.0 + 0.5);
    float index = clamp(floor(0.213 * v.r + 0.715 * v.g + 0.072 * v.b + 0.0001), 0.0, 255.0);
    float e = factorAt(index);
    // The CPU twin rounds the brightened green before taking the shift from it: half a level.
    float gNew = c.g * e + 0.5 / 255.0;
    float shift = (gNew - c.g) * (1.0 - u_gain);
    float r = ((c.r * e - c.r) * u_gain + c.r + shift - u_rMin) * u_rScale;
    float g = (gNew - u_gMin) * u_gScale;
    float b = ((c.b * e - c.b) * u_gain + c.b + shift - u_bMin) * u_bScale;
    gl_FragColor = vec4(clamp(vec3(r, g, b), 0.0, 1.0), c.a);
}
