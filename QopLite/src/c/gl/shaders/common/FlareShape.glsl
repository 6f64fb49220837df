// What every single-shape flare pass shares: its uniforms (the flare records look up all of them),
// the clipped exponential, the pixel's position as the CPU measures it and the strength in levels.
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

// The flare's own coordinates of this pixel.
vec2 flarePoint()
{
    return (pixelCoord() - u_onePlusDxTimesCenterCoord) * vec2(u_scaleDiffx, u_scaleDiffy);
}

// The flare uniforms a pass may not need, summed so that they stay active: the flare records look
// up every one and must resolve alike. The sum is never -1.0e30.
float keepFlareUniforms()
{
    return u_flareAmount + float(u_flareType) + float(u_blendMode) + u_maxEXP + u_minEXP;
}
