// HSL as the CPU's colour blends convert it, with h, s and l in 0..1.

// The hue and saturation of c (0..1), as the CPU's RGB to HSL gives them.
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

// The colour of hue h, saturation s and lightness l, in whole levels.
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
