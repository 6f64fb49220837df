#version 100
// L*a*b* bytes back to RGB as the CPU conversion does, with a* and b* scaled by u_scaleA and
// u_scaleB before the neutral 127 is taken off.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
varying vec2 v_texCoord;
uniform sampler2D u_sampler;
uniform float u_scaleA;
uniform float u_scaleB;

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
    vec3 lab = floor(c.rgb * 255.0 + 0.5);
    float lightness = lab.r / 2.55;
    float aStar = lab.g * u_scaleA - 127.0;
    float bStar = lab.b * u_scaleB - 127.0;
    float fy = (lightness + 16.0) / 116.0;
    float fx = fy + aStar / 500.0;
    float fz = fy - bStar / 200.0;
    float x = labFInverse(fx) * 0.95047;
    float y = labFInverse(fy);
    float z = labFInverse(fz) * 1.08883;
    vec3 rgb = vec3(toByte(3.2406 * x - 1.5372 * y - 0.4986 * z), toByte(-0.9689 * x + 1.8758 * y + 0.0415 * z),
                    toByte(0.0557 * x - 0.2040 * y + 1.0570 * z));
    gl_FragColor = vec4(rgb / 255.0, c.a);
}
