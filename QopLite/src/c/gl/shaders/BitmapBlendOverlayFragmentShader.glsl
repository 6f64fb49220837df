#version 100
// The source overlaid on the current image (the current image is the base layer), mixed in at
// u_factor; alpha of the current image kept.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

varying vec2 v_texCoord;
uniform sampler2D u_sampler;
uniform sampler2D u_srcSampler;
uniform float u_factor;

#include "common/Levels.glsl"

#include "common/Overlay.glsl"

void main()
{
    vec4 c = texture2D(u_sampler, v_texCoord);
    vec3 base = levels(c.rgb);
    vec3 blend = levels(texture2D(u_srcSampler, v_texCoord).rgb);
    vec3 result = (1.0 - u_factor) * base + u_factor * overlayLevels(base, blend);
    gl_FragColor = vec4(floor(clamp(result, 0.0, 255.0) + 0.5) / 255.0, c.a);
}
