// The focus masks' Gaussian quantised to the CPU mask's levels: 0 below zeroEnd, 1 beyond 5.54 s2,
// and 4 + 8k levels between, with l the squared distance and s2 = 2 sigmaR^2.
float maskLevel(float l, float s2, float zeroEnd)
{
    if (l < zeroEnd)
        return 0.0;
    if (l > s2 * 5.541263545158429)
        return 1.0;
    // Level boundaries t_i = -s2 ln(1 - (i + 0.5) / 32): the count of t_1..t_31 at or below l.
    float k = clamp(floor(32.0 * (1.0 - exp(-l / s2)) - 0.5), 0.0, 31.0);
    return (4.0 + 8.0 * k) / 255.0;
}
