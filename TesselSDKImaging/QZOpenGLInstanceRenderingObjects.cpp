#include "TesselSDKImaging/QZOpenGLInstanceRenderingObjects.h"

std::shared_ptr<QZOpenGLInstanceRenderingObjects>
QZOpenGLInstanceRenderingObjects::make(GLuint textureID, GLuint processingTexture1, GLuint processingTexture2,
                                       std::int32_t width, std::int32_t height)
{
    return NSObject::create<QZOpenGLInstanceRenderingObjects>(&QZOpenGLInstanceRenderingObjects::initWithTextureID,
                                                              textureID, processingTexture1, processingTexture2, width,
                                                              height);
}

void QZOpenGLInstanceRenderingObjects::initWithTextureID(GLuint textureID, GLuint processingTexture1,
                                                         GLuint processingTexture2, std::int32_t width,
                                                         std::int32_t height)
{
    textureID_ = textureID;
    processingTexture1_ = processingTexture1;
    processingTexture2_ = processingTexture2;
    width_ = width;
    height_ = height;
}
