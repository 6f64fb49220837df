// The zoomable image view's GL view on a real context: its renderbuffer is released on the GPU
// queue after the image view is gone.
#include "TesselSDKImaging/tests/QZGLTestSupport.h"

#include "TesselSDKImaging/QZTesselGLImageView.h"

using qz_test::runGL;

namespace {

class QZTesselGLImageViewGLTest : public GLManagerTest {
protected:
    void configureDevice() override { PlatformSettings::setScreenScale(1); }
};

TEST_F(QZTesselGLImageViewGLTest, TearingDownReleasesTheRenderbufferOnTheGPUQueue)
{
    auto view = UIView::viewWithFrame<QZTesselGLImageView>(CGRectMake(0, 0, 64, 64));
    std::shared_ptr<QZOpenGLView> glView = view->openGLView();
    glView->setFrame(CGRectMake(0, 0, 32, 32));
    GLuint renderbuffer = 0;
    ASSERT_TRUE(runGL(manager_, [&] {
        auto context = manager_->glContext();
        ASSERT_TRUE(EAGLContext::dispatchSyncToMainHandingOverCurrentContext([&] {
            auto before = EAGLContext::currentContext();
            ASSERT_TRUE(EAGLContext::setCurrentContext(context));
            renderbuffer = glView->getRenderBufferWithContext(context);
            EAGLContext::setCurrentContext(before);
        }));
    }));
    ASSERT_NE(renderbuffer, 0u);

    std::weak_ptr<QZTesselGLImageView> gone = view;
    view.reset();
    EXPECT_TRUE(gone.expired());
    ASSERT_TRUE(qz_test::drainGPUQueue());
    EXPECT_EQ(glView->colorRenderBuffer(), 0u);
    bool stillThere = true;
    ASSERT_TRUE(runGL(manager_, [&] { stillThere = glIsRenderbuffer(renderbuffer); }));
    EXPECT_FALSE(stillThere);
}

}  // namespace
