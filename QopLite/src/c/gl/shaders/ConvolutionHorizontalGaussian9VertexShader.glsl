#version 100
// The nine Gaussian taps along the row, u_texelStride apart in texture
// coordinates (the spacing of the box window), computed here once per corner.
attribute vec3 a_position;
attribute vec2 a_texCoord;
uniform float u_texelStride;
varying vec2 v_texCoord;
varying vec4 v_taps[4];

void main()
{
    vec2 step = vec2(u_texelStride, 0.0);
    v_texCoord = a_texCoord;
    v_taps[0] = vec4(a_texCoord - 1.0 * step, a_texCoord + 1.0 * step);
    v_taps[1] = vec4(a_texCoord - 2.0 * step, a_texCoord + 2.0 * step);
    v_taps[2] = vec4(a_texCoord - 3.0 * step, a_texCoord + 3.0 * step);
    v_taps[3] = vec4(a_texCoord - 4.0 * step, a_texCoord + 4.0 * step);
    gl_Position = vec4(a_position, 1.0);
}
