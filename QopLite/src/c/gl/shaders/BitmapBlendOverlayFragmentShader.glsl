#version 100
// The source overlaid on the current image (the current image is the base layer), mixed in at
// u_factor; alpha of the current image kept.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

#include "common/BitmapBlendOverlay.glsl"

void main()
{
    gl_FragColor = overlayMixed(texture2D(u_sampler, v_texCoord), texture2D(u_srcSampler, v_texCoord));
}
