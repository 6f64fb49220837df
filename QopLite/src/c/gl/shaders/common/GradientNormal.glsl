// The Normal (blending) gradient pass, linear, radial or faded in by the vignette (u_shapeMode 0,
// 1, 2): the map entry at its own opacity times the strength.
#include "common/GradientMap.glsl"

void main()
{
    // u_sampler belongs to every image-quad program and u_blendMode to every gradient record;
    // this pass is blended over the result by GL and reads neither (the width is never negative).
    if (u_width < 0.0) {
        gl_FragColor = texture2D(u_sampler, v_texCoord) + float(u_blendMode);
        return;
    }
    vec4 entry = mapEntry(u_shapeMode == 1);
    float strength = u_shapeMode == 2 ? vignetteStrength() : u_alphaBlend;
    gl_FragColor = vec4(entry.rgb, entry.a * strength);
}
