/* QopGLUtils.h: shader programs (compile, link, set up once per record, warm up, delete), the
 * group loaders the GL manager queues at start-up, and the small GL helpers every pass uses. */
#pragma once

#include "QopLite/QopGLData.h"
#include "QopLite/QopTypes.h"

#include <sys/time.h>

#ifdef __cplusplus
extern "C" {
#endif

/* A group loader: loads its programs (warming them up when prewarm is true) and answers whether
 * the record's failure latch is still Ok. */
typedef bool (*QopGLPrewarmFunction)(QopGLData_t *glData, bool prewarm);

/* Loads one program into its record unless the record already holds one. program points at the
 * record's programID. A program that cannot be made sets the latch to Failed; once Failed, every
 * call only says so. */
void QopGLLoadShaderProgramIfNecessary(GLuint *program, QopGLSetupFunction setupFunction, const char *inVertexShader,
                                       const char *inFragmentShader, QopGLData_t *glData, bool prewarm);
void QopGLUnloadShaderProgramIfNecessary(GLuint *program);
/* Makes the program current and issues an empty draw, so the driver finishes preparing it. */
void QopGLPrewarmShaderProgram(GLuint program);

bool QopGLLoadIdentityShader(QopGLData_t *glData, bool prewarm);
bool QopGLLoadBitmapBlendShaders(QopGLData_t *glData, bool prewarm);
bool QopGLLoadColorMapAndTransformShaders(QopGLData_t *glData, bool prewarm);
bool QopGLLoadIntensityMapShaders(QopGLData_t *glData, bool prewarm);
/* The convolution programs and clarity are never warmed, whatever prewarm says. */
bool QopGLLoadEnhanceAndBlurShaders(QopGLData_t *glData, bool prewarm);
bool QopGLLoadLABShaders(QopGLData_t *glData, bool prewarm);
bool QopGLLoadSpotAndDrawingToolShaders(QopGLData_t *glData, bool prewarm);
bool QopGLLoadFlareShaders1(QopGLData_t *glData, bool prewarm);
bool QopGLLoadFlareShaders2(QopGLData_t *glData, bool prewarm);
bool QopGLLoadFlareShaders3(QopGLData_t *glData, bool prewarm);
bool QopGLLoadVignetteShaders(QopGLData_t *glData, bool prewarm);
bool QopGLLoadBorderShaders(QopGLData_t *glData, bool prewarm);
bool QopGLLoadGradientShaders(QopGLData_t *glData, bool prewarm);
bool QopGLLoadMiscellaneousShaders1(QopGLData_t *glData, bool prewarm);
bool QopGLLoadMiscellaneousShaders2(QopGLData_t *glData, bool prewarm);
bool QopGLLoadSarnithSpecificShaders1(QopGLData_t *glData, bool prewarm);
bool QopGLLoadMaskShaders(QopGLData_t *glData, bool prewarm);
/* The identity program, then the 16 groups above in order. */
bool QopGLHardLoadAllShaders(QopGLData_t *glData, bool prewarm);
bool QopGLLoadAllShaders(QopGLData_t *glData, bool shouldPrewarm);
/* Deletes every loaded program and zeroes its slot. */
void QopGLDeleteAllShaders(QopGLData_t *glData);

/* A linked program, or 0 (objects deleted, log printed) when compiling or linking fails. */
GLuint createProgram(const char *vertexShaderSource, const char *fragmentShaderSource);
/* The compiled shader's name (also when compilation failed: the log is printed). */
GLuint compileShader(const char *source, GLenum shaderType);

/* floatColor = (r, g, b, a) / 255. */
void QopGLFillFloatColorWithQopColorVals(float floatColor[4], const QopColor_rgba *color);
/* Parameters of the texture bound to GL_TEXTURE_2D (wrap S, wrap T, min, mag). */
void QopGLSetCurrentlyBoundTexture2DProperties(GLint min_filter, GLint mag_filter, GLint wrap_s, GLint wrap_t);
void QopGLSetCurrentlyBoundTexture2DWrapProperties(GLint wrap_s, GLint wrap_t);
void QopGLSetCurrentlyBoundTexture2DFilterProperties(GLint min_filter, GLint mag_filter);

/* result = t2 - t1 (computed in microseconds, 32-bit); returns 1 when the difference is negative. */
int timeval_subtract(struct timeval *result, const struct timeval *t2, const struct timeval *t1);

#ifdef __cplusplus
}
#endif
