// The strength of every flare shape at (x, y), r2 = x^2 + y^2, as the CPU's table gives it; the
// includer first includes common/FlareShape.glsl (for E and the uniforms).

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
