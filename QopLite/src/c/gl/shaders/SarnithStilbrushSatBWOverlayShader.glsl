#version 100
// Selective black and white: the grey of each pixel weighs the channel mix of its hue region (red,
// yellow, green, cyan, blue, magenta, u_regionWidth degrees each, centred on 0, 60, ...) by
// u_weights, blending into the neighbouring region over u_transitionWidth degrees at each edge.
// With u_saturationMode the pixel keeps a share of its colour that grows with the grey's
// lightness. The result, in whole levels, is overlaid on the pixel (the pixel is the base layer) and mixed in at u_alpha.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

#include "common/StilbrushSatBW.glsl"

#include "common/Overlay.glsl"

void main()
{
    vec4 pixel = texture2D(u_sampler, v_texCoord);
    vec3 base = floor(pixel.rgb * 255.0 + 0.5);
    vec3 grey = stilbrushGrey(base);
    vec3 result = (1.0 - u_alpha) * base + u_alpha * (overlayLevels(base, grey));
    gl_FragColor = vec4(floor(clamp(result, 0.0, 255.0) + 0.5) / 255.0, pixel.a);
}
