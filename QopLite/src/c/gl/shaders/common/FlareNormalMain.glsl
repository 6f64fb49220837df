// main() of a single-shape flare for a Normal (blending) pass: the flare colour at the strength
// flareStrength(x, y, r2) gives (defined by the includer), truncated to whole levels as the CPU
// does; GL blends it.
void main()
{
    // u_sampler is looked up too; the branch never runs and keeps it active.
    float keep = keepFlareUniforms();
    if (keep == -1.0e30) {
        gl_FragColor = texture2D(u_sampler, v_texCoord);
        return;
    }
    vec2 p = flarePoint();
    float alpha = level(flareStrength(p.x, p.y, dot(p, p)));
    gl_FragColor = vec4(u_flareColor.rgb, alpha);
}
