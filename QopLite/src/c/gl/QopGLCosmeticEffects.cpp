// The GPU whiten and red-eye passes, and the preprocessors that render a brush tool's processed
// image (whitened, red-eye corrected or desaturated) once for a brush session.
#include "QopLite/QopGLMask.h"

#include "QopLite/QopBitmap.h"
#include "QopLite/QopColorMatrix.h"
#include "QopLite/QopGL.h"
#include "QopLite/QopGLShaders.h"
#include "QopLite/QopGLUtils.h"

#include <cassert>

namespace {

// One None pass of a program that reads only the image.
template <class Program>
void fullImagePass(QopBitmap_t *bitmap, Program *program, QopGLSetupFunction setup, const char *fragmentShader)
{
    QopGLData_t *glData = bitmap->glData;
    QopGLLoadShaderProgramIfNecessary(&program->programID, setup, VertexShader, fragmentShader, glData, false);
    if (glData->state == QopGLStateFailed)
        return;
    glUseProgram(program->programID);
    QopGLStartRender(program->programID, &program->sharedUnisAndAttribs, glData, QopGLBlendModeNone);
    QopGLFinishRender(&program->sharedUnisAndAttribs, glData, 1, true);
}

// Renders one pass from the source into the record's read texture without showing or reading
// anything back, and hands that texture out.
template <class Pass>
void renderProcessedTexture(QopBitmap_t *bitmap, GLuint *texID, Pass pass)
{
    QopGLData_t *glData = bitmap->glData;
    assert(glData->effectDepth == 0 && "the rendering mode may only change with no effect open");
    const QopGLRenderingMode mode = glData->renderingMode;
    glData->renderingMode = QopGLRenderingModeReadSourceWriteNone;
    QopBitmapBeginGLEffectIfEnabled(bitmap);
    pass(bitmap);
    if (texID)
        *texID = glData->glRenderingObjects.readTexture;
    QopBitmapEndGLEffectIfEnabled(bitmap);
    glData->renderingMode = mode;
}

} // namespace

extern "C" {

void QopGLWhiten(QopBitmap_t *bitmap)
{
    if (!bitmap || !bitmap->glData)
        return;
    fullImagePass(bitmap, &bitmap->glData->glPrograms.whitenProgram, QopGLSetupWhitenProgram, WhitenFragmentShader);
}

void QopGLRedeye(QopBitmap_t *bitmap)
{
    if (!bitmap || !bitmap->glData)
        return;
    fullImagePass(bitmap, &bitmap->glData->glPrograms.redeyeProgram, QopGLSetupRedeyeProgram, RedeyeFragmentShader);
}

void QopMaskEffectWhiten(QopBitmap_t *bitmap, GLuint *texID)
{
    if (!bitmap || !bitmap->glData)
        return;
    renderProcessedTexture(bitmap, texID, QopGLWhiten);
}

void QopMaskEffectRedeye(QopBitmap_t *bitmap, GLuint *texID)
{
    if (!bitmap || !bitmap->glData)
        return;
    renderProcessedTexture(bitmap, texID, QopGLRedeye);
}

void QopMaskEffectDesaturateProcess(QopBitmap_t *bitmap, GLuint *texID)
{
    if (!bitmap)
        return;
    if (bitmap->glData) {
        renderProcessedTexture(bitmap, texID, [](QopBitmap_t *image) {
            QopColorMatrix_t cm;
            QopColorMatrixSetIdentity(cm);
            QopColorMatrixAdjSaturation(cm, 0.0f);
            QopBitmapColorMatrixTransform(image, cm);
        });
    }
    // The brush session's effect: its masked redraw finishes it.
    QopBitmapBeginGLEffectIfEnabled(bitmap);
}

}
