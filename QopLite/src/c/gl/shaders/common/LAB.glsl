// L*a*b* as the CPU conversion computes it: the sRGB curve, D65, and the cube root and its inverse
// read at the CPU table's steps.

// An sRGB level (0..1) as linear light, 0..100.
float toLinear(float x)
{
    return x <= 0.04045 ? 100.0 * x / 12.92 : 100.0 * pow((x + 0.055) / 1.055, 2.4);
}

float labF(float t)
{
    if (t <= 0.008856)
        return 7.787 * t + 16.0 / 116.0;
    if (t >= 1.0)
        return 1.0;
    return pow(floor(t * 1024.0) / 1023.0, 1.0 / 3.0);
}

float labFInverse(float f)
{
    float cube = f * f * f;
    return cube > 0.008856 ? cube : (f - 0.13793103) / 7.787;
}

// Linear light (0..1) back to an sRGB level, 0..255.
float toByte(float v)
{
    if (!(v > 0.0))
        return 0.0;
    if (v >= 1.0)
        return 255.0;
    float x = floor(v * 1024.0) / 1023.0;
    float s = x <= 0.0031308 ? 12.92 * x : 1.055 * pow(x, 1.0 / 2.4) - 0.055;
    return floor(s * 255.0 + 0.5);
}

// The L*a*b* of a pixel in levels, before truncation to bytes: L 0..255, a* and b* centred on 127.
vec3 rgbToLab(vec3 bytes)
{
    vec3 lin = vec3(toLinear(bytes.r / 255.0), toLinear(bytes.g / 255.0), toLinear(bytes.b / 255.0));
    float x = 0.00433891 * lin.r + 0.00376234915 * lin.g + 0.0018990604648 * lin.b;
    float y = 0.002126 * lin.r + 0.007152 * lin.g + 0.000722 * lin.b;
    float z = 0.000177255 * lin.r + 0.00109475308 * lin.g + 0.0087295537 * lin.b;
    float fx = labF(x);
    float fy = labF(y);
    float fz = labF(z);
    return vec3((116.0 * fy - 16.0) * 2.55, 500.0 * (fx - fy) + 127.0, 200.0 * (fy - fz) + 127.0);
}

// The levels of L* (0..100), a* and b* (centred on 0).
vec3 labToRgb(float lightness, float aStar, float bStar)
{
    float fy = (lightness + 16.0) / 116.0;
    float fx = fy + aStar / 500.0;
    float fz = fy - bStar / 200.0;
    float x = labFInverse(fx) * 0.95047;
    float y = labFInverse(fy);
    float z = labFInverse(fz) * 1.08883;
    return vec3(toByte(3.2406 * x - 1.5372 * y - 0.4986 * z), toByte(-0.9689 * x + 1.8758 * y + 0.0415 * z),
                toByte(0.0557 * x - 0.2040 * y + 1.0570 * z));
}
