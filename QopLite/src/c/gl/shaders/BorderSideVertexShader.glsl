#version 100
// Side-border strips: clip-space positions straight from the caller's vertex array, with a
// coverage per vertex that the rasteriser interpolates across the soft edge.
attribute vec2 a_position;
attribute float a_alpha;
varying float v_alpha;

void main()
{
    gl_Position = vec4(a_position, 0.0, 1.0);
    v_alpha = a_alpha;
}
