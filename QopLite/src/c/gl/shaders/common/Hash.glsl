// A pseudo-random value in [0, 1) from p, by arithmetic alone (no texture, no integers), so that
// every pass seeded alike draws the same grain.
float hash13(vec3 p)
{
    p = fract(p * 0.1031);
    p += dot(p, p.zyx + 31.32);
    return fract((p.x + p.y) * p.z);
}
