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
uniform float u_width;
uniform float u_height;
uniform float u_scale;
uniform float u_xCenter;
uniform float u_yCenter;
uniform float u_dx_2;
uniform float u_dy_2;
uniform float u_denomI;
uniform float u_alphaBlend;
uniform int u_shapeMode;
uniform int u_vignetteShape;
uniform float u_angleCos;
uniform float u_angleSin;
uniform sampler2D u_gradientMap;

void main()
{
    vec4 c = texture2D(u_sampler, v_texCoord);
    float keep = u_width +
                 u_height +
                 u_scale +
                 u_xCenter +
                 u_yCenter +
                 u_dx_2 +
                 u_dy_2 +
                 u_denomI +
                 u_alphaBlend +
                 float(u_shapeMode) +
                 float(u_vignetteShape) +
                 u_angleCos +
                 u_angleSin +
                 texture2D(u_gradientMap, vec2(0.5)).r;
    gl_FragColor = keep == -1.0e30 ? vec4(keep) : c;
}
