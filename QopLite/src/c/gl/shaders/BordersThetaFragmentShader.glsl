#version 100
// Placeholder until this program's pass lands: outputs the current image (a plain value for point
// and strip geometry). It declares every name the program's set-up looks up and keeps each one
// active (the comparison below never holds for real uniform values), so locations resolve as they
// will for the finished shader.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
varying vec2 v_texCoord;
uniform sampler2D u_sampler;
uniform float u_dw;
uniform float u_rFactor;
uniform float u_width;
uniform float u_height;
uniform int u_borderStyle;
uniform vec4 u_borderColor;
uniform float u_linesScale;
uniform float u_dotScale;
uniform float u_offsetL;
uniform float u_offsetR;
uniform float u_offsetT;
uniform float u_offsetB;
uniform float u_offsetX;
uniform float u_offsetY;

void main()
{
    vec4 c = texture2D(u_sampler, v_texCoord);
    float keep = u_dw +
                 u_rFactor +
                 u_width +
                 u_height +
                 float(u_borderStyle) +
                 u_borderColor.x +
                 u_linesScale +
                 u_dotScale +
                 u_offsetL +
                 u_offsetR +
                 u_offsetT +
                 u_offsetB +
                 u_offsetX +
                 u_offsetY;
    gl_FragColor = keep == -1.0e30 ? vec4(keep) : c;
}
