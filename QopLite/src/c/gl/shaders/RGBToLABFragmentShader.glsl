#version 100
// RGB to L*a*b* bytes as the CPU conversion makes them: L 0..255, a* and b* centred on 127,
// truncated. The sRGB curve is computed; the cube root is read at the CPU table's own steps.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
varying vec2 v_texCoord;
uniform sampler2D u_sampler;

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
    vec3 lab = vec3((116.0 * fy - 16.0) * 2.55, 500.0 * (fx - fy) + 127.0, 200.0 * (fy - fz) + 127.0);
    gl_FragColor = vec4(clamp(floor(lab), 0.0, 255.0) / 255.0, c.a);
}
