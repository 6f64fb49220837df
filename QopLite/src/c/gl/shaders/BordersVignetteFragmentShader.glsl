#version 100
// Colour vignette for a Normal (blending) pass: the colour at its own alpha beyond theta 1.15, at
// alpha x (1 - f) in the soft zone (f the series of cos^4, truncated to whole levels as the CPU's
// memoised blend does) and nothing inside theta 0.04. theta is the squared distance to the
// shifted centre (in pixels, or as fractions of the size when stretched) over vignetteScale^2/1.15.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

#include "common/BordersVignette.glsl"

void main()
{
    // u_sampler belongs to every image-quad program and u_blend to every vignette record; this
    // pass blends over the result and never reads either (the width is never negative).
    if (u_width < 0.0) {
        gl_FragColor = texture2D(u_sampler, v_texCoord) * float(u_blend);
        return;
    }
    gl_FragColor = vec4(u_vignetteColor.rgb, vignetteAlpha());
}
