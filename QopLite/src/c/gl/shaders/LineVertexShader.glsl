#version 100
// Line segments: a quad over the segment's box; the image position (pixels) is interpolated for
// the fragment's coverage.
attribute vec2 a_position;
attribute vec2 a_imagePos;
varying vec2 v_imagePos;

void main()
{
    gl_Position = vec4(a_position, 0.0, 1.0);
    v_imagePos = a_imagePos;
}
