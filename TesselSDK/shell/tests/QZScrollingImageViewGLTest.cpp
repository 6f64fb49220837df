// The canvas on a real GL context: what the GL path draws into the GL view shows in the window
// exactly over the image's rectangle at the computed zoom.

#include "TesselSDKImaging/tests/QZGLTestSupport.h"

#include "TesselSDK/shell/QZScrollingImageView.h"
#include "Foundation/NSLogCapture.h"
#include "UIKit/UIWindow.h"

using qz_test::runGL;

namespace {

class QZScrollingImageViewGLTest : public GLManagerTest {
protected:
    void configureDevice() override { PlatformSettings::setScreenScale(1); }
    void TearDown() override
    {
        GLManagerTest::TearDown();
        PlatformSettings::reset();
    }
};

bool isRed(CGImageRef image, size_t x, size_t y)
{
    const uint8_t* p = CGImageGetBytes(image) + y * CGImageGetBytesPerRow(image) + x * 4;
    return p[0] == 255 && p[1] == 0 && p[2] == 0 && p[3] == 255;
}

TEST_F(QZScrollingImageViewGLTest, TheGLViewFillsTheImageRectangleAtTheComputedZoom)
{
    auto window = UIWindow::window();
    window->makeKeyAndVisible();
    auto canvas = UIView::viewWithFrame<QZScrollingImageView>(window->bounds());
    window->addSubview(canvas);
    canvas->setImageSize(CGSizeMake(640, 320));
    canvas->showOpenGLView(true);
    canvas->layoutIfNeeded();
    ASSERT_FLOAT_EQ(canvas->zoomScale(), 0.5f);  // 640 points into 320

    std::shared_ptr<QZOpenGLView> glView = canvas->openGLView();
    bool presented = false;
    ASSERT_TRUE(runGL(manager_, [&] {
        auto context = manager_->glContext();
        GLuint renderbuffer = 0;
        ASSERT_TRUE(EAGLContext::dispatchSyncToMainHandingOverCurrentContext([&] {
            auto before = EAGLContext::currentContext();
            ASSERT_TRUE(EAGLContext::setCurrentContext(context));
            renderbuffer = glView->getRenderBufferWithContext(context);
            EAGLContext::setCurrentContext(before);
        }));
        ASSERT_NE(renderbuffer, 0u);
        GLuint framebuffer = 0;
        glGenFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, renderbuffer);
        glViewport(0, 0, 640, 320);
        glClearColor(1, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
        presented = context->presentRenderbuffer(GL_RENDERBUFFER);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &framebuffer);
    }));
    ASSERT_TRUE(presented);

    // The image's rectangle in the window: 320 x 160, centred on the 320 x 480 canvas.
    auto snapshot = window->snapshot();
    CGImageRef image = snapshot->CGImage();
    ASSERT_EQ(CGImageGetWidth(image), 320u);
    for (auto [x, y] : {std::pair{1, 161}, {160, 240}, {318, 318}, {0, 239}})
        EXPECT_TRUE(isRed(image, x, y)) << x << "," << y;
    for (auto [x, y] : {std::pair{160, 158}, {160, 322}, {0, 0}, {319, 479}})
        EXPECT_FALSE(isRed(image, x, y)) << x << "," << y;

    canvas->removeFromSuperview();
    canvas.reset();
    ASSERT_TRUE(qz_test::drainGPUQueue());
    EXPECT_EQ(glView->colorRenderBuffer(), 0u);  // released on the GPU queue with the canvas
}

// A host that purges GPU memory closes the editor after the manager's tear-down: the context took
// the GL view's renderbuffer with it, so the canvas queues nothing (and logs no dropped block).
TEST_F(QZScrollingImageViewGLTest, ACanvasOutlivingATearDownQueuesNothing)
{
    auto canvas = UIView::viewWithFrame<QZScrollingImageView>(CGRectMake(0, 0, 320, 480));
    canvas->setImageSize(CGSizeMake(640, 320));
    canvas->showOpenGLView(true);
    ASSERT_NE(canvas->openGLView(), nullptr);
    ASSERT_TRUE(qz_test::drainGPUQueue());
    manager_->breakdown();
    ASSERT_EQ(manager_->glContext(), nullptr);

    NSLogCapture log;
    canvas.reset();
    ASSERT_TRUE(qz_test::drainGPUQueue());
    EXPECT_FALSE(log.contains("There is no GL context: the block is dropped."));
}

}  // namespace
