#pragma once
// The view the live preview is presented in: a pass-through overlay whose layer is a CAEAGLLayer
// and which owns exactly one colour renderbuffer, made from that layer on the main thread and
// released on the GPU queue, both with the one shared GL context current. The view is flipped
// vertically, so GL's bottom-up rows show upright.

#include "TesselSDKFoundation/QZOverlayView.h"

#include "GLES/CAEAGLLayer.h"
#include "GLES/EAGLContext.h"

#include <GLES2/gl2.h>

#include <memory>

class QZOpenGLView : public QZOverlayView {
public:
    using QZOverlayView::QZOverlayView;
    // initWithTransparentBacking:; `init` is the opaque one.
    static std::shared_ptr<QZOpenGLView> makeWithTransparentBacking(bool transparentBacking);
    static std::shared_ptr<QZOpenGLView> make() { return makeWithTransparentBacking(false); }

    bool transparentBacking() const { return transparentBacking_; }
    const std::shared_ptr<CAEAGLLayer>& eaglLayer() const { return eaglLayer_; }
    GLuint colorRenderBuffer() const { return colorRenderBuffer_; }

    // Main thread, `context` current: replaces the view's renderbuffer with a new one whose
    // storage comes from the layer; answers its name (bound to GL_RENDERBUFFER).
    GLuint getRenderBufferWithContext(const std::shared_ptr<EAGLContext>& context);
    // GPU queue, the shared context current: `*removed` (when given) tells whether `renderbuffer`
    // was the view's own; the view's renderbuffer is deleted either way.
    void releaseRenderbufferAndCheckAgainstID(GLuint renderbuffer, bool* removed);

protected:
    std::shared_ptr<CALayer> makeLayer() const override { return CAEAGLLayer::layer(); }
    // Replaces the overlay's preparation (interaction stays on).
    void prepareView() override;

private:
    std::shared_ptr<CAEAGLLayer> eaglLayer_;
    // Written on the main thread while the GL queue waits, read and cleared on the GL queue.
    GLuint colorRenderBuffer_ = 0;
    bool transparentBacking_ = false;
};
