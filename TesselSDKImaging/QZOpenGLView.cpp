#include "TesselSDKImaging/QZOpenGLView.h"

std::shared_ptr<QZOpenGLView> QZOpenGLView::makeWithTransparentBacking(bool transparentBacking)
{
    // The backing is stored before the initialiser prepares the view, so it is prepared once.
    return NSObject::create<QZOpenGLView>([&](QZOpenGLView& view) {
        view.transparentBacking_ = transparentBacking;
        return view.initWithFrame(CGRectZero);
    });
}

void QZOpenGLView::prepareView()
{
    setAllowsTouchesOnlyInSubviews(true);
    eaglLayer_ = std::dynamic_pointer_cast<CAEAGLLayer>(layer());
    // Storage is the bounds in points (the GL instance records it so), whatever the screen scale.
    eaglLayer_->setContentsScale(1);
    eaglLayer_->setOpaque(!transparentBacking_);
    if (transparentBacking_) setBackgroundColor(UIColor::clearColor());
    setTransform(CGAffineTransformMake(1, 0, 0, -1, 0, 0));
}

GLuint QZOpenGLView::getRenderBufferWithContext(const std::shared_ptr<EAGLContext>& context)
{
    if (colorRenderBuffer_) glDeleteRenderbuffers(1, &colorRenderBuffer_);
    glGenRenderbuffers(1, &colorRenderBuffer_);
    glBindRenderbuffer(GL_RENDERBUFFER, colorRenderBuffer_);
    if (context) context->renderbufferStorage(GL_RENDERBUFFER, eaglLayer_);
    return colorRenderBuffer_;
}

void QZOpenGLView::releaseRenderbufferAndCheckAgainstID(GLuint renderbuffer, bool* removed)
{
    if (removed) *removed = renderbuffer == colorRenderBuffer_;
    if (colorRenderBuffer_) {
        glDeleteRenderbuffers(1, &colorRenderBuffer_);
        colorRenderBuffer_ = 0;
    }
}
