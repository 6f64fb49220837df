#version 100
// Red-eye: where red (in levels) is at least green plus blue, red becomes round((g + b) / 2).
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
varying vec2 v_texCoord;
uniform sampler2D u_sampler;

void main()
{
    vec4 c = texture2D(u_sampler, v_texCoord);
    vec3 bytes = floor(c.rgb * 255.0 + 0.5);
    float greenBlue = bytes.g + bytes.b;
    if (bytes.r >= greenBlue)
        c.r = floor(greenBlue * 0.5 + 0.5) / 255.0;
    gl_FragColor = c;
}
