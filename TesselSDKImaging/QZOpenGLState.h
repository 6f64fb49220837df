#pragma once
// One GL instance's share of the shared GPU record: its source image, rendering mode and rendering
// objects. The instance copies it into the record before its GL work and back out afterwards, so
// one record serves several images in turn. Touched only by GL blocks, one at a time.

#include "Foundation/NSObject.h"
#include "QopLite/QopGLData.h"

class QZOpenGLState : public NSObject {
public:
    using NSObject::NSObject;
    static std::shared_ptr<QZOpenGLState> make() { return NSObject::create<QZOpenGLState>(); }

    QopGLImageData_t glImageData{};
    QopGLRenderingMode renderingMode = QopGLRenderingModeDefault;
    QopGLRenderingObjects_t glRenderingObjects{};

    // Record -> state: image data, rendering mode and rendering objects.
    void setWithGLData(const QopGLData_t* glData);
    // State -> record, except the offscreen framebuffer: the record keeps its own.
    void configureGLData(QopGLData_t* glData) const;
    // An empty state in the given mode: no image (up, RGBA), no textures or renderbuffer, the
    // record's offscreen framebuffer.
    void setFreshFromGLData(const QopGLData_t* glData, QopGLRenderingMode mode);
    // Deletes the state's source texture and its two processed textures, then makes the state
    // fresh in its own mode.
    void destroyAssociatedObjectsInGLData(QopGLData_t* glData);
};
