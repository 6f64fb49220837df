#version 100
// Placeholder until this program's pass lands: it declares every name the program's set-up looks
// up that belongs to the vertex stage and keeps each one active.
attribute vec3 a_position;
attribute vec2 a_texCoord;
uniform float u_texelStride;
varying vec2 v_texCoord;

void main()
{
    v_texCoord = a_texCoord;
    gl_Position = vec4(a_position, 1.0);
    if (u_texelStride == -1.0e30)
        gl_Position = vec4(u_texelStride);
}
