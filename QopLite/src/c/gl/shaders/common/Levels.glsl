// A texel back in whole levels (0..255), as the CPU kernels see it.
vec3 levels(vec3 c) { return floor(c * 255.0 + 0.5); }
