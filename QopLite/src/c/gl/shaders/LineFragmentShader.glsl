#version 100
// Anti-aliased thick segment: the CPU coverage rule per fragment. w is the share of the pixel
// beneath that stays; the colour goes on with alpha 1 - w, and nothing where w >= 0.995.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
varying vec2 v_imagePos;
uniform float u_nHatx;
uniform float u_nHaty;
uniform float u_x1;
uniform float u_y1;
uniform float u_x2;
uniform float u_y2;
uniform float u_r;
uniform float u_r2;
uniform float u_dAA;
uniform float u_bA;
uniform float u_r2AA;
uniform vec4 u_color;
uniform float u_vLength2;

void main()
{
    vec2 p = v_imagePos;
    float m = abs(u_nHatx * (p.x - u_x1) + u_nHaty * (p.y - u_y1));
    vec2 e1 = p - vec2(u_x1, u_y1);
    vec2 e2 = p - vec2(u_x2, u_y2);
    float d1 = dot(e1, e1);
    float d2 = dot(e2, e2);
    float dMin = min(d1, d2);
    float P = 1.0 - u_bA;
    float w = 1.0;
    if (m <= u_r + u_dAA) {
        // A segment of length 0 has only its round cap.
        if (u_vLength2 > 0.0 && max(d1, d2) <= u_vLength2 + dMin) {
            w = P;
            if (m > u_r)
                w += (m - u_r) * u_bA * 0.5;
        } else if (dMin < u_r2) {
            w = P;
        } else if (dMin < u_r2AA) {
            w = (sqrt(dMin) - u_r) * u_bA * 0.5 + P;
        }
    }
    if (w >= 0.995)
        gl_FragColor = vec4(0.0);
    else
        gl_FragColor = vec4(u_color.rgb, 1.0 - w);
}
