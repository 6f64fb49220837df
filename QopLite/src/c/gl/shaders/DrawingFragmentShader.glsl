#version 100
// The stroke colour, premultiplied by its alpha: the stroke layer stays premultiplied through the
// antialiasing blur, and the image goes behind it with that in mind.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
uniform vec4 u_color;

void main()
{
    gl_FragColor = vec4(u_color.rgb * u_color.a, u_color.a);
}
