#version 100
// One brush dot per point. The sprite is one pixel wider than the dot's extent 2R: fragment
// centres sit half a pixel off the integer pixel positions the dab is measured from, and without
// the margin the last pixel row inside R on the right and bottom would be left out. The dot's
// centre goes to the fragment stage in mask pixels.
attribute vec2 a_position;
uniform float u_pointSize;
uniform highp float u_width;
uniform highp float u_height;
varying highp vec2 v_center;

void main()
{
    gl_Position = vec4(a_position, 0.0, 1.0);
    gl_PointSize = u_pointSize + 1.0;
    v_center = (a_position * 0.5 + 0.5) * vec2(u_width, u_height);
}
