#version 100
// The 3 x 4 colour matrix: u_colorMat (column-major) times rgb plus the offset, clamped; alpha kept.
// Worked in levels and rounded as the CPU transform rounds, so both give the same bytes.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

varying vec2 v_texCoord;
uniform sampler2D u_sampler;
uniform mat3 u_colorMat;
uniform vec3 u_colorTrans;

void main()
{
    vec4 c = texture2D(u_sampler, v_texCoord);
    vec3 base = floor(c.rgb * 255.0 + 0.5);
    vec3 result = u_colorMat * base + u_colorTrans * 255.0;
    gl_FragColor = vec4(floor(clamp(result + 0.5, 0.0, 255.0)) / 255.0, c.a);
}
