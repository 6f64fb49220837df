#pragma once
// One set of textures a GL instance can make active: its own source texture (a cached image, a
// thumbnail, a mask) and the pair of processing textures it shares with every set of its size
// (QZOpenGLInstanceRenderingObjectsManager). Every property is atomic.

#include "Foundation/NSObject.h"

#include <GLES2/gl2.h>

#include <atomic>
#include <cstdint>

class QZOpenGLInstanceRenderingObjects : public NSObject {
public:
    using NSObject::NSObject;
    // initWithTextureID:processingTexture1:processingTexture2:width:height:
    static std::shared_ptr<QZOpenGLInstanceRenderingObjects> make(GLuint textureID, GLuint processingTexture1,
                                                                  GLuint processingTexture2, std::int32_t width,
                                                                  std::int32_t height);
    static std::shared_ptr<QZOpenGLInstanceRenderingObjects> make() { return make(0, 0, 0, 0, 0); }

    GLuint textureID() const { return textureID_; }
    void setTextureID(GLuint name) { textureID_ = name; }
    GLuint processingTexture1() const { return processingTexture1_; }
    void setProcessingTexture1(GLuint name) { processingTexture1_ = name; }
    GLuint processingTexture2() const { return processingTexture2_; }
    void setProcessingTexture2(GLuint name) { processingTexture2_ = name; }
    std::int32_t width() const { return width_; }
    void setWidth(std::int32_t width) { width_ = width; }
    std::int32_t height() const { return height_; }
    void setHeight(std::int32_t height) { height_ = height; }
    // The record's read and write textures, saved in a GL instance's own set while a thumbnail set
    // is active.
    GLuint readTexture() const { return readTexture_; }
    void setReadTexture(GLuint name) { readTexture_ = name; }
    GLuint writeTexture() const { return writeTexture_; }
    void setWriteTexture(GLuint name) { writeTexture_ = name; }

    // The object's identity as an unsigned number: its key in the sharing table.
    std::uint64_t hashValueAsObject() const { return reinterpret_cast<std::uintptr_t>(this); }

private:
    void initWithTextureID(GLuint textureID, GLuint processingTexture1, GLuint processingTexture2, std::int32_t width,
                           std::int32_t height);

    std::atomic<GLuint> textureID_{0};
    std::atomic<GLuint> processingTexture1_{0};
    std::atomic<GLuint> processingTexture2_{0};
    std::atomic<std::int32_t> width_{0};
    std::atomic<std::int32_t> height_{0};
    std::atomic<GLuint> readTexture_{0};
    std::atomic<GLuint> writeTexture_{0};
};
