// The GL view on a real context: a renderbuffer made from its layer on the main thread (the GL
// block handing the context over), a frame presented from the GL thread, and the release.
#include "TesselSDKImaging/tests/QZGLTestSupport.h"

#include "TesselSDKImaging/QZOpenGLView.h"

#include "UIKit/UIWindow.h"

using qz_test::runGL;

namespace {

struct Rgba {
    uint8_t r, g, b, a;
};

Rgba pixel(const std::shared_ptr<UIImage>& image, size_t x, size_t y)
{
    const uint8_t* p = CGImageGetBytes(image->CGImage()) + y * CGImageGetBytesPerRow(image->CGImage()) + x * 4;
    return {p[0], p[1], p[2], p[3]};
}

// A 40 x 20 GL view in a parent, at screen scale 1; its renderbuffer gets GL rows 0 to 9 red and
// rows 10 to 19 blue, presented from the GL thread.
class QZOpenGLViewTest : public GLManagerTest {
protected:
    void configureDevice() override { PlatformSettings::setScreenScale(1); }
};

TEST_F(QZOpenGLViewTest, AFramePresentedOnTheGLThreadShowsUprightThroughTheViewsFlip)
{
    auto parent = UIView::viewWithFrame(CGRectMake(0, 0, 40, 20));
    auto view = QZOpenGLView::make();
    view->setFrame(CGRectMake(0, 0, 40, 20));
    parent->addSubview(view);
    EXPECT_TRUE(view->eaglLayer()->isOpaque());
    EXPECT_TRUE(view->isUserInteractionEnabled());
    EXPECT_EQ(view->transform().d, -1);

    GLuint renderbuffer = 0;
    bool presented = false;
    ASSERT_TRUE(runGL(manager_, [&] {
        auto context = manager_->glContext();
        // The renderbuffer is made on the main thread while this block waits, as the GL instance does.
        ASSERT_TRUE(EAGLContext::dispatchSyncToMainHandingOverCurrentContext([&] {
            auto before = EAGLContext::currentContext();
            ASSERT_TRUE(EAGLContext::setCurrentContext(context));
            renderbuffer = view->getRenderBufferWithContext(context);
            EAGLContext::setCurrentContext(before);
        }));
        GLuint framebuffer = 0;
        glGenFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, renderbuffer);
        glViewport(0, 0, 40, 20);
        glClearColor(0, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, 40, 10);
        glClearColor(1, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_SCISSOR_TEST);
        glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
        presented = context->presentRenderbuffer(GL_RENDERBUFFER);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &framebuffer);
    }));
    ASSERT_NE(renderbuffer, 0u);
    EXPECT_EQ(view->colorRenderBuffer(), renderbuffer);
    ASSERT_TRUE(presented);

    // As the screen shows it, through the parent: GL's row 0 reads upright at the top.
    auto shown = UIViewSnapshot(*parent);
    EXPECT_EQ(pixel(shown, 20, 2).r, 255);
    EXPECT_EQ(pixel(shown, 20, 17).b, 255);
    // The layer alone, unflipped, shows it as a plain screen would: GL's row 0 at the bottom.
    auto plain = UIViewSnapshot(*view);
    EXPECT_EQ(pixel(plain, 20, 2).b, 255);
    EXPECT_EQ(pixel(plain, 20, 17).r, 255);

    // Released with another name: reported NO, and the view's own is gone all the same.
    bool removed = true;
    bool stillThere = true;
    ASSERT_TRUE(runGL(manager_, [&] {
        view->releaseRenderbufferAndCheckAgainstID(renderbuffer + 1, &removed);
        stillThere = glIsRenderbuffer(renderbuffer);
        view->releaseRenderbufferAndCheckAgainstID(renderbuffer, nullptr);  // nothing left: no effect
    }));
    EXPECT_FALSE(removed);
    EXPECT_FALSE(stillThere);
    EXPECT_EQ(view->colorRenderBuffer(), 0u);
}

TEST_F(QZOpenGLViewTest, ATransparentBackingIsPreparedOnceWithAClearBackground)
{
    auto view = QZOpenGLView::makeWithTransparentBacking(true);
    EXPECT_TRUE(view->transparentBacking());
    EXPECT_FALSE(view->eaglLayer()->isOpaque());
    ASSERT_TRUE(view->backgroundColor());
    EXPECT_TRUE(view->backgroundColor()->isEqual(*UIColor::clearColor()));
    EXPECT_TRUE(view->allowsTouchesOnlyInSubviews());
    EXPECT_EQ(view->eaglLayer()->contentsScale(), 1);
    EXPECT_EQ(view->layer(), view->eaglLayer());
}

}  // namespace
