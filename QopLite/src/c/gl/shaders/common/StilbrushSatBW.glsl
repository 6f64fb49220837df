// Selective black and white, shared by its plain and Overlay passes: the grey of each pixel in
// levels, from the weights of its hue region and its neighbours (see SarnithStilbrushSatBWShader).
varying vec2 v_texCoord;
uniform sampler2D u_sampler;
uniform float u_transitionWidth;
uniform float u_regionWidth;
uniform float u_weights[6];
uniform int u_saturationMode;
uniform float u_alpha;

// Constant indices only: GLSL ES 1.00 does not promise dynamic indexing of uniform arrays.
float weightOf(int region)
{
    if (region == 0)
        return u_weights[0];
    if (region == 1)
        return u_weights[1];
    if (region == 2)
        return u_weights[2];
    if (region == 3)
        return u_weights[3];
    if (region == 4)
        return u_weights[4];
    return u_weights[5];
}

// The channel mix a region stands for, in levels.
float valueOf(int region, vec3 c)
{
    if (region == 0)
        return c.r;
    if (region == 1)
        return (c.r + c.g) * 0.5 + 0.5;
    if (region == 2)
        return c.g;
    if (region == 3)
        return (c.g + c.b) * 0.5 + 0.5;
    if (region == 4)
        return c.b;
    return (c.b + c.r) * 0.5 + 0.5;
}

// Hue in degrees (0 for greys and black), as the CPU's HSV conversion gives it.
float hueOf(vec3 c)
{
    float top = max(c.r, max(c.g, c.b));
    float delta = top - min(c.r, min(c.g, c.b));
    if (top == 0.0 || delta == 0.0)
        return 0.0;
    float h;
    if (top == c.r)
        h = (c.g - c.b) / delta;
    else if (top == c.g)
        h = (c.b - c.r) / delta + 2.0;
    else
        h = (c.r - c.g) / delta + 4.0;
    h *= 60.0;
    return h < 0.0 ? h + 360.0 : h;
}

// The selective grey of the pixel base (in levels), in whole levels.
vec3 stilbrushGrey(vec3 base)
{
    float h = hueOf(base);
    float halfRegion = 0.5 * u_regionWidth;
    int region = int(mod(floor((h + halfRegion) / u_regionWidth), 6.0));
    // Shares of the previous (e) and next (f) region inside the transition bands.
    float e = 0.0;
    float f = 0.0;
    if (region != 0) {
        float start = u_regionWidth * float(region) - halfRegion;
        if (h < start + u_transitionWidth)
            e = (start + u_transitionWidth - h) * 0.5 / u_transitionWidth;
        else if (h > start + u_regionWidth - u_transitionWidth)
            f = (h - (start + u_regionWidth - u_transitionWidth)) * 0.5 / u_transitionWidth;
    } else {
        float wrapStart = 360.0 - halfRegion;
        if (h > halfRegion && h < wrapStart + u_transitionWidth)
            e = (wrapStart + u_transitionWidth - h) * 0.5 / u_transitionWidth;
        else if (h > halfRegion - u_transitionWidth && h < wrapStart)
            f = (h - (halfRegion - u_transitionWidth)) * 0.5 / u_transitionWidth;
    }
    int previous = region == 0 ? 5 : region - 1;
    int next = region == 5 ? 0 : region + 1;
    float wPrevious = weightOf(previous);
    float wCurrent = weightOf(region);
    float wNext = weightOf(next);
    float middle = 1.0 - e - f;
    float w = e * wPrevious + middle * wCurrent + f * wNext;
    float v = e * wPrevious * valueOf(previous, base) + middle * wCurrent * valueOf(region, base) +
              f * wNext * valueOf(next, base) + min(base.r, min(base.g, base.b)) * (1.0 - w);
    float d = u_saturationMode != 0 ? w * pow(max(v, 0.0) / 255.0, 0.3) : -1.0;
    return floor(clamp(base * (1.0 + d) - v * d, 0.0, 255.0));
}
