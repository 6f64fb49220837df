// GPU passes of the box-hybrid filter: a box of width w as a cascade of 3-, 5- and 7-tap box passes
// (strides 1, 3, 3 x 5, ... so the boxes multiply), then one 9-tap Gaussian pass at a spacing of w.
#include "QopLite/QopGLConvolution.h"

#include "QopLite/QopBitmap.h"
#include "QopLite/QopConvolution.h"
#include "QopLite/QopGL.h"
#include "QopLite/QopGLBitmapBlend.h"
#include "QopLite/QopGLShaders.h"
#include "QopLite/QopGLUtils.h"

#include <cassert>
#include <initializer_list>

namespace {

bool isProductOf357(int n)
{
    for (int f : {3, 5, 7})
        while (n % f == 0)
            n /= f;
    return n == 1;
}

struct BoxProgramSource {
    const char *vertex;
    const char *fragment;
};

// Per tap count (3, 5, 7): horizontal and vertical sources.
constexpr BoxProgramSource kBoxHorizontal[3] = {
    {ConvolutionHorizontalBoxBlur3VertexShader, ConvolutionBoxBlur3FragmentShader},
    {ConvolutionHorizontalBoxBlur5VertexShader, ConvolutionBoxBlur5FragmentShader},
    {ConvolutionHorizontalBoxBlur7VertexShader, ConvolutionBoxBlur7FragmentShader},
};
constexpr BoxProgramSource kBoxVertical[3] = {
    {ConvolutionVerticalBoxBlur3VertexShader, ConvolutionBoxBlur3FragmentShader},
    {ConvolutionVerticalBoxBlur5VertexShader, ConvolutionBoxBlur5FragmentShader},
    {ConvolutionVerticalBoxBlur7VertexShader, ConvolutionBoxBlur7FragmentShader},
};

QopGLBoxBlurProgram_t *boxProgram(QopGLData_t *glData, QopGLConvolutionDirection direction, int index)
{
    QopGLPrograms_t &p = glData->glPrograms;
    if (direction == QopGLConvolutionDirectionHorizontal) {
        QopGLBoxBlurProgram_t *programs[3] = {&p.horizontalBoxBlur3Program, &p.horizontalBoxBlur5Program,
                                              &p.horizontalBoxBlur7Program};
        return programs[index];
    }
    QopGLBoxBlurProgram_t *programs[3] = {&p.verticalBoxBlur3Program, &p.verticalBoxBlur5Program,
                                          &p.verticalBoxBlur7Program};
    return programs[index];
}

// One pass that samples its input with linear filtering, which goes back to nearest afterwards.
template <typename SetUniforms>
void drawLinear(GLuint programID, QopGLSharedUniformsAndAttribs_t *shared, QopGLData_t *glData, SetUniforms setUniforms)
{
    glUseProgram(programID);
    QopGLStartRender(programID, shared, glData, QopGLBlendModeNone);
    const GLuint sampled = glData->glRenderingObjects.readTexture; // bound on unit 0 by the start
    QopGLSetCurrentlyBoundTexture2DFilterProperties(GL_LINEAR, GL_LINEAR);
    setUniforms();
    QopGLFinishRender(shared, glData, 1, true);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, sampled);
    QopGLSetCurrentlyBoundTexture2DFilterProperties(GL_NEAREST, GL_NEAREST);
}

float texelSize(const QopGLData_t *glData, QopGLConvolutionDirection direction)
{
    const GLuint extent =
        direction == QopGLConvolutionDirectionHorizontal ? glData->glImageData.width : glData->glImageData.height;
    return extent ? 1.0f / static_cast<float>(extent) : 0.0f;
}

} // namespace

extern "C" {

void QopGLGet357FactorsOfClosestFactorableNumber(int number, int *outDiff, int *factors)
{
    (void)outDiff;
    factors[0] = factors[1] = factors[2] = 0;
    // number, number - 1, number + 1, number - 2, ...; upward candidates always reach 3 or more.
    int candidate = number;
    for (int step = 0;; ++step) {
        candidate = step % 2 ? number - (step + 1) / 2 : number + step / 2;
        if (candidate >= 3 && isProductOf357(candidate))
            break;
    }
    const int primes[3] = {3, 5, 7};
    for (int i = 0; i < 3; ++i)
        while (candidate % primes[i] == 0) {
            candidate /= primes[i];
            ++factors[i];
        }
}

void QopGLAddBoxBlur(int size, QopGLConvolutionDirection direction, QopGLData_t *glData)
{
    if (size < 2)
        return;
    int factors[3];
    QopGLGet357FactorsOfClosestFactorableNumber(size, nullptr, factors);
    const BoxProgramSource *sources = direction == QopGLConvolutionDirectionHorizontal ? kBoxHorizontal : kBoxVertical;
    for (int i = 0; i < 3; ++i) {
        QopGLBoxBlurProgram_t *program = boxProgram(glData, direction, i);
        QopGLLoadShaderProgramIfNecessary(&program->programID, QopGLSetupBoxBlurProgram, sources[i].vertex,
                                          sources[i].fragment, glData, false);
    }
    if (glData->state == QopGLStateFailed)
        return;
    float stride = texelSize(glData, direction);
    const int taps[3] = {3, 5, 7};
    for (int i = 0; i < 3; ++i) {
        QopGLBoxBlurProgram_t *program = boxProgram(glData, direction, i);
        for (int pass = 0; pass < factors[i]; ++pass) {
            drawLinear(program->programID, &program->sharedUnisAndAttribs, glData,
                       [&] { glUniform1f(static_cast<GLint>(program->texelStrideSlot), stride); });
            stride *= static_cast<float>(taps[i]);
        }
    }
}

void QopGLAddConvolution(const float *convolutionData, int size, QopGLConvolutionDirection direction,
                         QopGLData_t *glData)
{
    if (size > 1)
        QopGLAddBoxBlur(size, direction, glData);
    QopGLGaussianBlurProgram_t *program = direction == QopGLConvolutionDirectionHorizontal
                                              ? &glData->glPrograms.gaussianBlurHorizontalProgram
                                              : &glData->glPrograms.gaussianBlurVerticalProgram;
    QopGLLoadShaderProgramIfNecessary(&program->programID, QopGLSetupGaussianBlurProgram,
                                      direction == QopGLConvolutionDirectionHorizontal
                                          ? ConvolutionHorizontalGaussian9VertexShader
                                          : ConvolutionVerticalGaussian9VertexShader,
                                      ConvolutionGaussian9FragmentShader, glData, false);
    if (glData->state == QopGLStateFailed)
        return;
    const float spacing = static_cast<float>(size == 0 ? 1 : size);
    drawLinear(program->programID, &program->sharedUnisAndAttribs, glData, [&] {
        glUniform1f(static_cast<GLint>(program->texelStrideSlot), texelSize(glData, direction) * spacing);
        glUniform1f(static_cast<GLint>(program->weight0Slot), convolutionData[4]);
        glUniform1f(static_cast<GLint>(program->weight1Slot), convolutionData[3]);
        glUniform1f(static_cast<GLint>(program->weight2Slot), convolutionData[2]);
        glUniform1f(static_cast<GLint>(program->weight3Slot), convolutionData[1]);
        glUniform1f(static_cast<GLint>(program->weight4Slot), convolutionData[0]);
    });
}

void QopConvolutionEffectBlurProcess(QopBitmap_t *bitmap, GLuint *texID)
{
    QopGLData_t *glData = bitmap->glData;
    if (!glData)
        return;
    assert(glData->effectDepth == 0 && "the rendering mode may only change with no effect open");
    const QopGLRenderingMode mode = glData->renderingMode;
    glData->renderingMode = QopGLRenderingModeReadSourceWriteNone;
    QopBitmapBeginGLEffectIfEnabled(bitmap);
    QopBoxHybridSharpenX(bitmap, -100.0f);
    QopBoxHybridSharpenY(bitmap, -100.0f);
    *texID = glData->glRenderingObjects.readTexture;
    QopBitmapEndGLEffectIfEnabled(bitmap);
    glData->renderingMode = mode;
}

void QopConvolutionEffectBlurWithGLMask(QopBitmap_t *bitmap, GLuint maskID)
{
    QopBitmapBeginGLEffectIfEnabled(bitmap);
    QopBoxHybridSharpenX(bitmap, -100.0f);
    QopBoxHybridSharpenY(bitmap, -100.0f);
    if (bitmap->glData)
        QopGLDrawBitmapWithGLMask(bitmap, maskID);
    QopBitmapEndGLEffectIfEnabled(bitmap);
}

}
