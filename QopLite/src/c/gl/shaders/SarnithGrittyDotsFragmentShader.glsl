#version 100
// Gritty dots for a Normal (blending) pass: on even rows, every fourth column (shifted by two on
// alternate even rows), white overlaid on the pixel with coverage u_alpha; elsewhere coverage 0.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

varying vec2 v_texCoord;
uniform sampler2D u_sampler;
uniform float u_width;
uniform float u_height;
uniform float u_alpha;

void main()
{
    vec4 c = texture2D(u_sampler, v_texCoord);
    vec2 pixel = floor(v_texCoord * vec2(u_width, u_height));
    bool onDot = mod(pixel.y, 2.0) == 0.0 && mod(pixel.x + pixel.y, 4.0) == 0.0;
    // Overlay of white: twice the base up to level 128, full white above.
    vec3 base = floor(c.rgb * 255.0 + 0.5);
    vec3 overlaid = mix(vec3(255.0), min(2.0 * base, 255.0), step(base, vec3(128.0)));
    gl_FragColor = vec4(overlaid / 255.0, onDot ? u_alpha : 0.0);
}
