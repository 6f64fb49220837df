#version 100
// Point sprites (dot-matrix text and soft dots): the sprite texel, colour and coverage, which the
// pass's alpha blending lays over the current result.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
uniform sampler2D u_dotSampler;

void main()
{
    gl_FragColor = texture2D(u_dotSampler, gl_PointCoord);
}
