#version 100
// The CPU dab's weight at this pixel, as (w, w, w, w): 1 within u_radius, then (1 - (d -
// u_radius) / u_dEdge)^2 out to R = u_radius + 0.86 u_dEdge, 0 beyond, times u_alpha. The blend
// turns it into m + w - m w (or m (1 - w) when erasing), as the CPU kernel does.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
uniform float u_radius;
uniform float u_alpha;
uniform float u_dEdge;
varying highp vec2 v_center;

void main()
{
    // The integer pixel position, as the CPU measures it.
    float d = length(gl_FragCoord.xy - 0.5 - v_center);
    float reach = u_radius + 0.8599719915971991 * u_dEdge;
    float edge = 1.0 - (d - u_radius) / u_dEdge;
    float w = d < u_radius ? 1.0 : (d < reach ? edge * edge : 0.0);
    gl_FragColor = vec4(w * u_alpha);
}
