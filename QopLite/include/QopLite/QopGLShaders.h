/* QopGLShaders.h: the 70 GLSL ES 1.00 sources of the GPU library, embedded at build time from
 * src/c/gl/shaders (one file per source, named after it). */
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

extern const char VertexShader[];
extern const char BitmapIdentityFragmentShader[];
extern const char ColorTransformFragmentShader[];
extern const char ColorMapFragmentShader[];
extern const char FlareBlobFragmentShader[];
extern const char FlareAngleGaussianFragmentShader[];
extern const char FlareGaussianThingFragmentShader[];
extern const char FlareGaussianThing2FragmentShader[];
extern const char BitmapBlendFragmentShader[];
extern const char BordersVignetteFragmentShader[];
extern const char BordersThetaFragmentShader[];
extern const char BorderSideVertexShader[];
extern const char BorderSideFragmentShader[];
extern const char DotMatrixVertexShader[];
extern const char DotMatrixFragmentShader[];
extern const char RingFlareFragmentShader[];
extern const char LineVertexShader[];
extern const char LineFragmentShader[];
extern const char NoiseFragmentShader[];
extern const char BasicDotsVertexShader[];
extern const char BordersHardRandFragmentShader[];
extern const char AutoEnhanceFragmentShader[];
extern const char RGBToLABFragmentShader[];
extern const char LABToRGBFragmentShader[];
extern const char BitmapDrawWithMaskFragmentShader[];
extern const char WhitenFragmentShader[];
extern const char RedeyeFragmentShader[];
extern const char DrawingVertexShader[];
extern const char DrawingFragmentShader[];
extern const char BordersVignetteOverlayFragmentShader[];
extern const char FlareBlobOverlayFragmentShader[];
extern const char BitmapBlendOverlayFragmentShader[];
extern const char ColorTransformAndOverlayWithOriginalFragmentShader[];
extern const char SarnithGrittyDotsFragmentShader[];
extern const char SarnithStilbrushSatBWShader[];
extern const char SarnithClarityFragmentShader[];
extern const char FlareBlob2FragmentShader[];
extern const char FlareBlob2OverlayFragmentShader[];
extern const char FlareCornerflaresFragmentShader[];
extern const char FlareCornerflaresOverlayFragmentShader[];
extern const char FlareGaussianThing3OverlayFragmentShader[];
extern const char IntensityMapOverlayFragmentShader[];
extern const char IntensityMapMultiplyFragmentShader[];
extern const char BordersVignetteMultiplyFragmentShader[];
extern const char BitmapColorBlendColorFragmentShader[];
extern const char SarnithStilbrushSatBWOverlayShader[];
extern const char BitmapBlendOverlayReverseFragmentShader[];
extern const char GradientFragmentShader[];
extern const char GradientLinearVignetteFragmentShader[];
extern const char GradientOverlayFragmentShader[];
extern const char FlareFragmentShader[];
extern const char IntensityMapFragmentShader[];
extern const char MaskLinearFragmentShader[];
extern const char MaskRadialFragmentShader[];
extern const char BitmapRedrawWithMaskFragmentShader[];
extern const char MaskDotsVertexShader[];
extern const char MaskDotFragmentShader[];
extern const char ColorSplashAutoFragmentShader[];
extern const char ConvolutionHorizontalBoxBlur3VertexShader[];
extern const char ConvolutionBoxBlur3FragmentShader[];
extern const char ConvolutionVerticalBoxBlur3VertexShader[];
extern const char ConvolutionHorizontalBoxBlur5VertexShader[];
extern const char ConvolutionBoxBlur5FragmentShader[];
extern const char ConvolutionVerticalBoxBlur5VertexShader[];
extern const char ConvolutionHorizontalBoxBlur7VertexShader[];
extern const char ConvolutionBoxBlur7FragmentShader[];
extern const char ConvolutionVerticalBoxBlur7VertexShader[];
extern const char ConvolutionHorizontalGaussian9VertexShader[];
extern const char ConvolutionGaussian9FragmentShader[];
extern const char ConvolutionVerticalGaussian9VertexShader[];

#ifdef __cplusplus
}
#endif
