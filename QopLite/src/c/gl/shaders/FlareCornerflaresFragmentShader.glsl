#version 100
// Cornerflares flare for a Normal (blending) pass: the flare colour at the strength of this shape,
// truncated to whole levels as the CPU does.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

varying vec2 v_texCoord;
uniform sampler2D u_sampler;
uniform float u_scaleDiffx;
uniform float u_scaleDiffy;
uniform vec2 u_onePlusDxTimesCenterCoord;
uniform vec4 u_flareColor;
uniform float u_minEXP;
uniform float u_maxEXP;
uniform float u_aF;
uniform float u_flareAmount;
uniform int u_flareType;
uniform int u_blendMode;

// alpha e^N, cut to 0 below u_minEXP and to alpha above u_maxEXP.
float E(float N)
{
    if (N < u_minEXP)
        return 0.0;
    if (N > u_maxEXP)
        return u_aF;
    return u_aF * exp(N);
}

float cornerflaresStrength(float x, float y, float r2)
{
    return u_aF * exp(-2.0 * r2 / 180.0) * exp(-8.0 * (x - 1.0) * (x + 1.0) * (y + 1.0) * (y - 1.0));
}

// The pixel's position as the CPU measures it: whole pixels over twice the integer half size, so
// that odd sizes scale as on the CPU. (v_texCoord is gl_FragCoord.xy / size, which gives the
// size without a uniform for it.)
vec2 pixelCoord()
{
    vec2 size = floor(gl_FragCoord.xy / v_texCoord + 0.5);
    return floor(gl_FragCoord.xy) / max(2.0 * floor(size / 2.0), 1.0);
}

// The strength as the whole levels the CPU's (int)(255 t) gives.
float level(float t)
{
    return floor(255.0 * clamp(t, 0.0, 1.0)) / 255.0;
}

void main()
{
    // The flare records look up every flare uniform and u_sampler; this program draws one shape
    // for GL to blend and keeps the rest active (the sum is never that value) so that every
    // record resolves alike.
    float keep = u_flareAmount + float(u_flareType) + float(u_blendMode) + u_maxEXP + u_minEXP;
    if (keep == -1.0e30) {
        gl_FragColor = texture2D(u_sampler, v_texCoord);
        return;
    }
    vec2 p = (pixelCoord() - u_onePlusDxTimesCenterCoord) * vec2(u_scaleDiffx, u_scaleDiffy);
    float alpha = level(cornerflaresStrength(p.x, p.y, dot(p, p)));
    gl_FragColor = vec4(u_flareColor.rgb, alpha);
}
