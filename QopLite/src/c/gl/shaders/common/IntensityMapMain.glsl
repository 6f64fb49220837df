// The intensity-map pass: the pixel's luminance level picks a row of the 1 x 256 map texture, and
// the including shader's intensityBlend(base, mapped) (in levels) is mixed in at u_intensity.
varying vec2 v_texCoord;
uniform sampler2D u_sampler;
uniform sampler2D u_colorMapSampler;
uniform float u_intensity;

void main()
{
    vec4 c = texture2D(u_sampler, v_texCoord);
    vec3 base = levels(c.rgb);
    float index = min(floor(0.212671 * base.r + 0.71516 * base.g + 0.072169 * base.b + 0.5), 255.0);
    vec3 mapped = levels(texture2D(u_colorMapSampler, vec2(0.5, (index + 0.5) / 256.0)).rgb);
    vec3 result = (1.0 - u_intensity) * base + u_intensity * intensityBlend(base, mapped);
    gl_FragColor = vec4(floor(clamp(result, 0.0, 255.0) + 0.5) / 255.0, c.a);
}
