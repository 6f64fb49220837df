#version 100
// The image on u_sampler with coverage 1 - mask (the mask value is in alpha), for a Normal
// (blending) pass: the image is painted over the current result where the mask is clear.
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif

varying vec2 v_texCoord;
uniform sampler2D u_sampler;
uniform sampler2D u_maskSampler;

void main()
{
    vec4 image = texture2D(u_sampler, v_texCoord);
    gl_FragColor = vec4(image.rgb, 1.0 - texture2D(u_maskSampler, v_texCoord).a);
}
