#version 100
// Per-channel lookup table: the 1 x 256 map texture holds entry i in texel row i (red, green and
// blue tables in its r, g, b). Addressing hits texel centres, so the lookup is exact.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

varying vec2 v_texCoord;
uniform sampler2D u_sampler;
uniform sampler2D u_colorMapSampler;

float entry(float channel, int table)
{
    vec4 texel = texture2D(u_colorMapSampler, vec2(0.5, (floor(channel * 255.0 + 0.5) + 0.5) / 256.0));
    return table == 0 ? texel.r : (table == 1 ? texel.g : texel.b);
}

void main()
{
    vec4 c = texture2D(u_sampler, v_texCoord);
    gl_FragColor = vec4(entry(c.r, 0), entry(c.g, 1), entry(c.b, 2), c.a);
}
