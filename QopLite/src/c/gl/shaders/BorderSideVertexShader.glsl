#version 100
// Placeholder until this program's pass lands: it declares every name the program's set-up looks
// up that belongs to the vertex stage and keeps each one active.
attribute vec2 a_position;
attribute float a_alpha;
varying float v_alpha;

void main()
{
    gl_Position = vec4(a_position, 0.0, 1.0);
    v_alpha = a_alpha;
}
