#version 100
// Whitening as the CPU kernel computes it: L*a*b* bytes of the pixel (sRGB curve, D65, the cube
// root at the CPU table's steps), strength f = 0.65 exp(-((a - 132)^2 + q) / 98) with q the squared
// blue of the pixel (0 for yellow), lightness raised by the gamma 1 / (0.5 f + 1), yellow reduced
// by f, each truncated to a byte, and back to RGB through the CPU's inverse.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
varying vec2 v_texCoord;
uniform sampler2D u_sampler;
uniform sampler2D u_maskSampler;

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

void main()
{
    vec4 c = texture2D(u_sampler, v_texCoord);
    vec3 bytes = floor(c.rgb * 255.0 + 0.5);
    vec3 lin = vec3(toLinear(bytes.r / 255.0), toLinear(bytes.g / 255.0), toLinear(bytes.b / 255.0));
    float x = 0.00433891 * lin.r + 0.00376234915 * lin.g + 0.0018990604648 * lin.b;
    float y = 0.002126 * lin.r + 0.007152 * lin.g + 0.000722 * lin.b;
    float z = 0.000177255 * lin.r + 0.00109475308 * lin.g + 0.0087295537 * lin.b;
    float fx = labF(x);
    float fy = labF(y);
    float fz = labF(z);
    float l = (116.0 * fy - 16.0) * 2.55;
    float a = 500.0 * (fx - fy) + 127.0;
    float b = 200.0 * (fy - fz) + 127.0;

    float q = b < 127.0 ? (b - 127.0) * (b - 127.0) : 0.0;
    float f = 0.65 * exp(-((a - 132.0) * (a - 132.0) + q) / 98.0);
    float lightness = clamp(floor(255.0 * pow(max(l, 0.0) / 255.0, 1.0 / (0.5 * f + 1.0))), 0.0, 255.0);
    float aByte = clamp(floor(a), 0.0, 255.0);
    float bByte = clamp(floor((1.0 - f) * (b - 127.0) + 127.0), 0.0, 255.0);

    float fyOut = (lightness / 2.55 + 16.0) / 116.0;
    float fxOut = fyOut + (aByte - 127.0) / 500.0;
    float fzOut = fyOut - (bByte - 127.0) / 200.0;
    float X = labFInverse(fxOut) * 0.95047;
    float Y = labFInverse(fyOut);
    float Z = labFInverse(fzOut) * 1.08883;
    vec3 rgb = vec3(toByte(3.2406 * X - 1.5372 * Y - 0.4986 * Z), toByte(-0.9689 * X + 1.8758 * Y + 0.0415 * Z),
                    toByte(0.0557 * X - 0.2040 * Y + 1.0570 * Z));
    // The program's mask sampler is never set (it reads the image's own unit); an impossible
    // value keeps it in the program so its location resolves.
    if (texture2D(u_maskSampler, v_texCoord).a < -1.0)
        rgb = vec3(0.0);
    gl_FragColor = vec4(rgb / 255.0, c.a);
}
