#version 100
// The current image overlaid on the source (the source is the base layer), mixed in at u_factor;
// alpha of the source kept. Sharpen-and-blend uses it to lay its result over the original.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

#include "common/BitmapBlendOverlay.glsl"

void main()
{
    gl_FragColor = overlayMixed(texture2D(u_srcSampler, v_texCoord), texture2D(u_sampler, v_texCoord));
}
