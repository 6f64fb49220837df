// GPU passes that copy, redraw, composite and blend whole images.
#include "QopLite/QopGLBitmapBlend.h"

#include "QopLite/QopGL.h"
#include "QopLite/QopGLShaders.h"
#include "QopLite/QopGLUtils.h"

extern "C" {

void QopGLDrawCurrentBitmapIdentity(QopGLData_t *glData)
{
    if (!glData)
        return;
    QopGLBitmapIdentityProgram_t *identity = &glData->glPrograms.bitmapIdentityProgram;
    QopGLLoadShaderProgramIfNecessary(&identity->programID, QopGLSetupBitmapIdentityProgram, VertexShader,
                                      BitmapIdentityFragmentShader, glData, false);
    if (glData->state == QopGLStateFailed)
        return;
    glUseProgram(identity->programID);
    QopGLStartRender(identity->programID, &identity->sharedUnisAndAttribs, glData, QopGLBlendModeNone);
    QopGLFinishRender(&identity->sharedUnisAndAttribs, glData, 1, true);
}

}
