#version 100
// Every flare shape and every blend mode, as a None pass: the strength of u_flareType's shape,
// truncated to whole levels, lays the colour on by u_blendMode (0 Normal, 1 Overlay, 2 Color,
// 3 Screen, 4 Darken, 5 Multiply) with the CPU's per-channel arithmetic and rounding; Color mode
// takes each channel from the flare colour's hue and saturation at the lightness of a grey of that
// channel's level, as the CPU's memoised blend does. Lensflare (8) draws nothing.
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

// atan2 with the C library's value on the axes (GLSL leaves atan(0, 0) undefined).
float angleOf(float x, float y)
{
    if (x == 0.0 && y == 0.0)
        return 0.0;
    return atan(y, x);
}

float sincStrength(float x, float y, float r2)
{
    float theta = 80.0 * r2;
    return theta == 0.0 ? 0.0 : 0.4 * u_aF * sin(theta) / sqrt(theta);
}

float gaussianThingStrength(float x, float y, float r2)
{
    return E(-2.0 * r2 - 16.0 * (y + 0.5) * (y + 0.5) * (x + 0.5) * (x + 0.5));
}

float gaussianThing2Strength(float x, float y, float r2)
{
    return E(-2.0 * r2 - 16.0 * (y + 1.0) * (y + 1.0) * (x - 0.5) * (x - 0.5));
}

float gaussianThing3Strength(float x, float y, float r2)
{
    return E(-2.0 * r2 - (y + 1.7) * (y + 1.7) * (x - 0.6) * (x - 0.6));
}

float gaussianThing4Strength(float x, float y, float r2)
{
    return E(-0.5 * (y - 1.7) * (y - 1.7) * (x + 0.6) * (x + 0.6) -
             0.5 * (y + 1.7) * (y + 1.7) * (x - 0.6) * (x - 0.6));
}

float angleGaussianStrength(float x, float y, float r2)
{
    float N = -2.0 * r2 - 5.0 * (x + 0.2) * (y + 0.2) * x * x;
    if (N < u_minEXP)
        return 0.0;
    return N > u_maxEXP ? 0.5 * u_aF : 0.5 * u_aF * exp(N);
}

float stardomStrength(float x, float y, float r2)
{
    return 0.2 * u_aF * (r2 * r2 * sin(-10.0 * angleOf(x, y)) + 1.0);
}

float lobesStrength(float x, float y, float r2)
{
    return 0.5 * u_aF * exp(-2.0 * r2) * (0.5 * sin(4.0 * angleOf(x, y) + 1.0) + 0.5);
}

float stripeStrength(float x, float y, float r2)
{
    return E(-y * y / 64.0 - x * x);
}

float stripe2Strength(float x, float y, float r2)
{
    return E(-x * x / 64.0 - y * y);
}

float dimondflareStrength(float x, float y, float r2)
{
    return u_aF * exp(-2.0 * r2 * r2 - 8.0 * (x - 0.5) * (x + 0.5) * (y + 0.5) * (y - 0.5));
}

float crossflareStrength(float x, float y, float r2)
{
    return E(-2.0 * r2 / 180.0 - 16.0 * (y + 0.5) * (y + 0.5) * (x + 0.5) * (x + 0.5));
}

float cornerflaresStrength(float x, float y, float r2)
{
    return u_aF * exp(-2.0 * r2 / 180.0) * exp(-8.0 * (x - 1.0) * (x + 1.0) * (y + 1.0) * (y - 1.0));
}

float fingerflareStrength(float x, float y, float r2)
{
    float u = x - 1.0, v = y - 1.0;
    // x = 1 exactly (one column of odd widths) would divide by zero: no flare there.
    if (u == 0.0)
        return 0.0;
    float t = 1.0 - u_aF * exp(v / u - (x * u + v * v) * exp(exp(v) * u));
    return t == t ? t : 0.0;
}

float blobflareStrength(float x, float y, float r2)
{
    return u_aF * exp(-0.9 * (x - 1.5) * (y - 1.7) * (y + 0.5) * (x + 0.5) - r2 * r2);
}

float blahStrength(float x, float y, float r2)
{
    return 0.2 * u_aF * (1.0 - sin(r2) * sin(10.0 * r2) * sin(10.0 * angleOf(x, y)));
}

float blobStrength(float x, float y, float r2)
{
    return E(-100.0 * r2 * r2 * r2 * r2);
}

float blob2Strength(float x, float y, float r2)
{
    return E(-10.0 * r2 * r2);
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

// Overlay of the colour s on the base d, both in levels; 128 takes the multiplying branch.
vec3 overlay(vec3 d, vec3 s)
{
    return mix(255.0 - 2.0 * (255.0 - d) * (255.0 - s) / 255.0, 2.0 * d * s / 255.0, step(d, vec3(128.0)));
}

float strength(int type, float x, float y)
{
    float r2 = x * x + y * y;
    if (type == 0)
        return sincStrength(x, y, r2);
    if (type == 1)
        return gaussianThingStrength(x, y, r2);
    if (type == 2)
        return gaussianThing2Strength(x, y, r2);
    if (type == 3)
        return gaussianThing3Strength(x, y, r2);
    if (type == 4)
        return gaussianThing4Strength(x, y, r2);
    if (type == 5)
        return angleGaussianStrength(x, y, r2);
    if (type == 6)
        return stardomStrength(x, y, r2);
    if (type == 7)
        return lobesStrength(x, y, r2);
    if (type == 9)
        return stripeStrength(x, y, r2);
    if (type == 10)
        return stripe2Strength(x, y, r2);
    if (type == 11)
        return dimondflareStrength(x, y, r2);
    if (type == 12)
        return crossflareStrength(x, y, r2);
    if (type == 13)
        return cornerflaresStrength(x, y, r2);
    if (type == 14)
        return fingerflareStrength(x, y, r2);
    if (type == 15)
        return blobflareStrength(x, y, r2);
    if (type == 16)
        return blahStrength(x, y, r2);
    if (type == 17)
        return blobStrength(x, y, r2);
    if (type == 18)
        return blob2Strength(x, y, r2);
    return 0.0;
}

// The flare colour's hue and saturation (0..1), as the CPU's RGB to HSL gives them.
vec2 hueSaturation(vec3 c)
{
    float mx = max(c.r, max(c.g, c.b)), mn = min(c.r, min(c.g, c.b));
    if (mx == mn)
        return vec2(0.0);
    float l = (mx + mn) / 2.0;
    float delta = mx - mn;
    float s = l > 0.5 ? delta / (2.0 - mx - mn) : delta / (mx + mn);
    float h;
    if (mx == c.r)
        h = (c.g - c.b) / delta + (c.g < c.b ? 6.0 : 0.0);
    else if (mx == c.g)
        h = (c.b - c.r) / delta + 2.0;
    else
        h = (c.r - c.g) / delta + 4.0;
    return vec2(h / 6.0, s);
}

vec3 hslToLevels(float h, float s, float l)
{
    float hPrime = 6.0 * h;
    float chroma = 2.0 * s * (l <= 0.5 ? l : 1.0 - l);
    vec3 rgb = vec3(0.0);
    if (hPrime <= 6.0) {
        float q = chroma * (1.0 - abs(mod(hPrime, 2.0) - 1.0));
        if (hPrime < 1.0)
            rgb = vec3(chroma, q, 0.0);
        else if (hPrime < 2.0)
            rgb = vec3(q, chroma, 0.0);
        else if (hPrime < 3.0)
            rgb = vec3(0.0, chroma, q);
        else if (hPrime < 4.0)
            rgb = vec3(0.0, q, chroma);
        else if (hPrime < 5.0)
            rgb = vec3(q, 0.0, chroma);
        else
            rgb = vec3(chroma, 0.0, q);
    }
    return clamp(floor((rgb + (l - chroma / 2.0)) * 255.0 + 0.5), 0.0, 255.0);
}

void main()
{
    // The flare records look up every flare uniform; this program keeps the ones it does not
    // need active (the sum is never that value) so that every record resolves alike.
    float keep = u_flareAmount + float(u_flareType) + float(u_blendMode) + u_maxEXP + u_minEXP;
    if (keep == -1.0e30) {
        gl_FragColor = vec4(keep);
        return;
    }
    vec4 c = texture2D(u_sampler, v_texCoord);
    vec2 p = (pixelCoord() - u_onePlusDxTimesCenterCoord) * vec2(u_scaleDiffx, u_scaleDiffy);
    float alpha = level(strength(u_flareType, p.x, p.y));
    vec3 base = floor(c.rgb * 255.0 + 0.5);
    vec3 s = floor(u_flareColor.rgb * 255.0 + 0.5);
    vec3 result;
    if (u_blendMode == 2) {
        vec2 hs = hueSaturation(s / 255.0);
        float sat = hs.y * floor(u_flareColor.a * 255.0 + 0.5) / 255.0;
        // A grey's luminance: the weights sum to just under 1.
        vec3 l = (0.212671 * base + 0.71516 * base + 0.072169 * base) / 255.0;
        vec3 coloured = vec3(hslToLevels(hs.x, sat, l.r).r, hslToLevels(hs.x, sat, l.g).g,
                             hslToLevels(hs.x, sat, l.b).b);
        result = floor(clamp((1.0 - alpha) * base + alpha * coloured, 0.0, 255.0));
    } else {
        vec3 blended;
        if (u_blendMode == 0)
            blended = s;
        else if (u_blendMode == 1)
            blended = overlay(base, s);
        else if (u_blendMode == 3)
            blended = 255.0 - (255.0 - base) * (255.0 - s) / 255.0;
        else if (u_blendMode == 4)
            blended = min(base, s);
        else if (u_blendMode == 5)
            blended = base * s / 255.0;
        else
            blended = base;
        result = clamp(floor((1.0 - alpha) * base + alpha * blended + 0.5), 0.0, 255.0);
    }
    gl_FragColor = vec4(result / 255.0, c.a);
}
