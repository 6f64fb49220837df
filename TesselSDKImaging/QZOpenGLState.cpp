#include "TesselSDKImaging/QZOpenGLState.h"

#include "QopLite/QopGL.h"

void QZOpenGLState::setWithGLData(const QopGLData_t* glData)
{
    glImageData = glData->glImageData;
    renderingMode = glData->renderingMode;
    glRenderingObjects = glData->glRenderingObjects;
}

void QZOpenGLState::configureGLData(QopGLData_t* glData) const
{
    const GLuint offscreenFramebuffer = glData->glRenderingObjects.offscreenFramebuffer;
    glData->glImageData = glImageData;
    glData->renderingMode = renderingMode;
    glData->glRenderingObjects = glRenderingObjects;
    glData->glRenderingObjects.offscreenFramebuffer = offscreenFramebuffer;
}

void QZOpenGLState::setFreshFromGLData(const QopGLData_t* glData, QopGLRenderingMode mode)
{
    glImageData = {0, 0, 0, QopGLImageOrientationUp, QopGLImagePixelFormatRGBA};
    renderingMode = mode;
    glRenderingObjects = {};
    glRenderingObjects.offscreenFramebuffer = glData->glRenderingObjects.offscreenFramebuffer;
}

void QZOpenGLState::destroyAssociatedObjectsInGLData(QopGLData_t* glData)
{
    QopGLDeleteProcessingObjects(glImageData.texID, glRenderingObjects.processedTexture1,
                                 glRenderingObjects.processedTexture2, glData);
    setFreshFromGLData(glData, renderingMode);
}
