#version 100
// The standard vertex stage: the quad's clip-space corner with w = 1, and its texture coordinate,
// which is the fragment's position in the image (0..1 on both axes, t = 0 at data row 0).
attribute vec3 a_position;
attribute vec2 a_texCoord;
varying vec2 v_texCoord;

void main()
{
    v_texCoord = a_texCoord;
    gl_Position = vec4(a_position, 1.0);
}
