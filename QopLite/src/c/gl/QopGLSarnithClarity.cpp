// GPU clarity: the local grey averages of the image before and after its tone table, each a box
// blur of the grey image, drive one pass that moves each pixel by the table's local change and
// sharpens it against its own local average.
#include "QopLite/QopGLEnhance.h"

#include "QopLite/QopBitmap.h"
#include "QopLite/QopColorMatrix.h"
#include "QopLite/QopGL.h"
#include "QopLite/QopGLBitmapBlend.h"
#include "QopLite/QopGLConvolution.h"
#include "QopLite/QopGLShaders.h"
#include "QopLite/QopGLUtils.h"

#include <cstdio>
#include <initializer_list>

namespace {

GLuint createEmptyTexture(int unit, GLsizei width, GLsizei height)
{
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glActiveTexture(QopGLGetTextureEnumForIndex(unit));
    glBindTexture(GL_TEXTURE_2D, texture);
    QopGLSetCurrentlyBoundTexture2DProperties(GL_LINEAR, GL_LINEAR, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glBindTexture(GL_TEXTURE_2D, 0);
    glActiveTexture(GL_TEXTURE0);
    return texture;
}

} // namespace

extern "C" {

void QopGLAvgGrayImage(QopBitmap_t *bitmap, GLuint inTexture, GLuint spareTexture, GLuint outTexture, int winSize)
{
    QopGLData_t *glData = bitmap->glData;
    QopGLRenderingObjects_t &objects = glData->glRenderingObjects;
    objects.readTexture = inTexture;
    objects.writeTexture = spareTexture;
    QopGLDrawCurrentBitmapIdentity(glData);
    objects.processedTexture1 = objects.readTexture = spareTexture;
    objects.processedTexture2 = objects.writeTexture = outTexture;
    QopGLAddBoxBlur(2 * winSize + 1, QopGLConvolutionDirectionHorizontal, glData);
    QopGLAddBoxBlur(2 * winSize + 1, QopGLConvolutionDirectionVertical, glData);
    QopColorMatrix_t grey;
    QopColorMatrixSetIdentity(grey);
    QopColorMatrixAdjSaturation(grey, 0.0f);
    QopBitmapColorMatrixTransform(bitmap, grey);
    // A box that factors into several passes leaves an even count of passes behind it; the
    // average must still end in outTexture.
    if (objects.readTexture != outTexture)
        QopGLDrawCurrentBitmapIdentity(glData);
}

void QopGLApplyClarity(QopBitmap_t *bitmap, const QopHistMap_t *histMap, int dWindow, float gain,
                       float sharpenAmount)
{
    QopGLData_t *glData = bitmap->glData;
    QopGLSarnithClarityProgram_t *program = &glData->glPrograms.sarnithClarityProgram;
    QopGLLoadShaderProgramIfNecessary(&program->programID, QopGLSetupSarnithClarityProgram, VertexShader,
                                      SarnithClarityFragmentShader, glData, false);
    if (glData->state == QopGLStateFailed)
        return;
    QopGLRenderingObjects_t &objects = glData->glRenderingObjects;
    const GLuint processed1 = objects.processedTexture1;
    const GLuint processed2 = objects.processedTexture2;
    const GLuint before = objects.readTexture;
    const GLuint scratch = objects.writeTexture;

    const int outUnit = QopGLClaimFreeTexture(glData);
    const int spareUnit = QopGLClaimFreeTexture(glData);
    if (outUnit < 0 || spareUnit < 0) {
        std::fputs("QopGLApplyClarity: no free texture unit\n", stderr);
        QopGLResetTextureToFree(glData, outUnit);
        QopGLResetTextureToFree(glData, spareUnit);
        return;
    }

    QopBitmapHistogramTransform(bitmap, histMap);
    const GLuint mapped = objects.readTexture;
    const GLsizei width = static_cast<GLsizei>(glData->glImageData.width);
    const GLsizei height = static_cast<GLsizei>(glData->glImageData.height);
    GLuint out = createEmptyTexture(outUnit, width, height);
    GLuint spare = createEmptyTexture(spareUnit, width, height);

    QopGLAvgGrayImage(bitmap, mapped, spare, out, dWindow);
    QopGLAvgGrayImage(bitmap, before, scratch, spare, dWindow);

    objects.readTexture = before;
    objects.writeTexture = scratch;
    objects.processedTexture1 = processed1;
    objects.processedTexture2 = processed2;

    glUseProgram(program->programID);
    QopGLStartRender(program->programID, &program->sharedUnisAndAttribs, glData, QopGLBlendModeNone);
    glActiveTexture(QopGLGetTextureEnumForIndex(spareUnit));
    glBindTexture(GL_TEXTURE_2D, spare);
    glActiveTexture(QopGLGetTextureEnumForIndex(outUnit));
    glBindTexture(GL_TEXTURE_2D, out);
    glActiveTexture(GL_TEXTURE0);
    glUniform1i(static_cast<GLint>(program->avgImgSamplerSlot), spareUnit);
    glUniform1i(static_cast<GLint>(program->effectedAvgImgSamplerSlot), outUnit);
    glUniform1f(static_cast<GLint>(program->gainSlot), gain);
    glUniform1f(static_cast<GLint>(program->sharpenAmountSlot), sharpenAmount);
    QopGLFinishRender(&program->sharedUnisAndAttribs, glData, 1, true);

    for (int unit : {spareUnit, outUnit}) {
        glActiveTexture(QopGLGetTextureEnumForIndex(unit));
        glBindTexture(GL_TEXTURE_2D, 0);
        QopGLResetTextureToFree(glData, unit);
    }
    glActiveTexture(GL_TEXTURE0);
    glDeleteTextures(1, &out);
    glDeleteTextures(1, &spare);
}

}
