// Overlay in levels: the base channel decides, and 128 takes the multiplying branch.
vec3 overlayLevels(vec3 base, vec3 blend)
{
    vec3 low = 2.0 * base * blend / 255.0;
    vec3 high = 255.0 - 2.0 * (255.0 - base) * (255.0 - blend) / 255.0;
    return mix(high, low, step(base, vec3(128.0)));
}
