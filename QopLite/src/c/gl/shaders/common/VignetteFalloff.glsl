// What the colour vignettes and the gradient's vignette fade share: the centre, theta shaped by
// the shape mode (1 Sharp theta^2, 2 MediumSharp theta^1.5, 3 UltraSharp theta^4), and the series
// that takes the falloff from 1 towards 0 between theta 0.04 (the untouched centre) and 1.15 (the
// full strength).

// The image's middle moved by dx, dy times half its size, in whole pixels, with the half size
// rounded down first as the CPU does (on odd sizes W x dx / 2 can round to another pixel).
vec2 vignetteCentre(vec2 size, float dx_2, float dy_2)
{
    vec2 halfSize = floor(size / 2.0);
    return halfSize + floor(halfSize * (2.0 * vec2(dx_2, dy_2)) + 0.5);
}

float shapedTheta(float theta, int shapeMode)
{
    if (shapeMode == 1)
        return theta * theta;
    if (shapeMode == 2)
        return pow(theta, 1.5);
    if (shapeMode == 3)
        return theta * theta * theta * theta;
    return theta;
}

float vignetteSeries(float theta)
{
    float t = theta * theta;
    return 1.0 - 2.0 * t + 1.6666666 * t * t - 0.75555557 * t * t * t + 0.20634921 * t * t * t * t -
           0.036261022 * t * t * t * t * t;
}
