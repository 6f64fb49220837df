#version 100
// Side-border strips, blended SRC_ALPHA / ONE_MINUS_SRC_ALPHA: the border colour with its alpha
// scaled by the interpolated coverage (clamped, as vertices at the image edge carry more than 1).
// Only the alpha is scaled: scaling the colour too would darken the soft edge.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

uniform vec4 u_borderColor;
varying float v_alpha;

void main()
{
    gl_FragColor = vec4(u_borderColor.rgb, u_borderColor.a * clamp(v_alpha, 0.0, 1.0));
}
