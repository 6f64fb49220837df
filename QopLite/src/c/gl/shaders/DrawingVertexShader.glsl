#version 100
// Stroke geometry: triangle fans whose vertices are already in clip space.
attribute vec2 a_position;

void main()
{
    gl_Position = vec4(a_position, 0.0, 1.0);
}
