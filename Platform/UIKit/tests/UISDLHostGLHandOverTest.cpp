// The GL hand-over while a window is shown: the GL thread owns the one context and lends it to the
// main thread for a hop, as the editor does to give its canvas a renderbuffer. The window host
// draws on the main thread between and around the hops; whatever it draws with must leave the main
// thread able to take the context and give it back.
#include "UIKit/sdl/UISDLHost.h"

#include "Dispatch/DispatchThreadBoundQueue.h"
#include "GLES/CAEAGLLayer.h"
#include "GLES/EAGLContext.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIWindow.h"

#include <GLES2/gl2.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

namespace {

GLint binding(GLenum which)
{
    GLint name = -1;
    glGetIntegerv(which, &name);
    return name;
}

// Turns the window's event loop (which also runs the main queue) until `done` or the seconds pass.
bool runWindowUntil(UISDLHost& host, const std::atomic<bool>& done, double seconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done.load()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        host.run(0.05);
    }
    return true;
}

TEST(UISDLHostGLHandOverTest, TheMainThreadTakesTheContextAndGivesItBackWhileTheWindowDraws)
{
    std::shared_ptr<EAGLContext> context = EAGLContext::make(kEAGLRenderingAPIOpenGLES2);
    if (!context) GTEST_SKIP() << "no OpenGL ES 2 context: " << EAGLContext::creationFailureReason();
    auto window = UIWindow::window();
    window->setBackgroundColor(UIColor::whiteColor());
    std::string error;
    std::unique_ptr<UISDLHost> host = UISDLHost::open(window, "hand-over test", &error);
    if (!host) GTEST_SKIP() << "no window: " << error;
    ASSERT_GT(host->run(0.1), 0) << "the window drew no frame";

    auto gl = DispatchThreadBoundQueue::make("com.tessel.tests.sdl-gl");
    auto layer = CAEAGLLayer::layer();
    layer->setBounds(CGRectMake(0, 0, 32, 16));
    GLuint framebuffer = 0, texture = 0, renderbuffer = 0;
    bool mainFoundNone = false, mainMadeCurrent = false, mainGotStorage = false, mainGaveBack = false;
    bool handedOver = false;
    std::atomic<bool> firstDone{false}, secondDone{false};

    gl->async([&] {
        ASSERT_TRUE(EAGLContext::setCurrentContext(context));
        glGenFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        handedOver = EAGLContext::dispatchSyncToMainHandingOverCurrentContext([&] {
            const std::shared_ptr<EAGLContext> noted = EAGLContext::currentContext();
            mainFoundNone = noted == nullptr;
            mainMadeCurrent = EAGLContext::setCurrentContext(context);
            if (!mainMadeCurrent) return;
            glGenRenderbuffers(1, &renderbuffer);
            glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
            mainGotStorage = context->renderbufferStorage(GL_RENDERBUFFER, layer);
            mainGaveBack = EAGLContext::setCurrentContext(noted);
        });
        firstDone = true;
    });
    ASSERT_TRUE(runWindowUntil(*host, firstDone, 30));
    EXPECT_TRUE(mainFoundNone) << "the main thread had a context of its own";
    ASSERT_TRUE(mainMadeCurrent) << "the main thread could not take the context while the window is shown";
    EXPECT_TRUE(mainGotStorage);
    EXPECT_TRUE(mainGaveBack);
    EXPECT_TRUE(handedOver) << "the GL thread did not get its context back";
    // The window keeps drawing while the GL thread holds the context again (it draws a frame when
    // something changed: an untouched window draws none).
    window->setBackgroundColor(UIColor::blackColor());
    EXPECT_GT(host->run(0.1), 0);

    // The GL thread's next block: still current there, with its bindings and the main thread's.
    gl->async([&] {
        EXPECT_EQ(EAGLContext::currentContext(), context);
        EXPECT_EQ(binding(GL_FRAMEBUFFER_BINDING), GLint(framebuffer));
        EXPECT_EQ(binding(GL_TEXTURE_BINDING_2D), GLint(texture));
        EXPECT_EQ(binding(GL_RENDERBUFFER_BINDING), GLint(renderbuffer));
        GLint width = 0, height = 0;
        glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_WIDTH, &width);
        glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_HEIGHT, &height);
        EXPECT_EQ(width, 32);
        EXPECT_EQ(height, 16);
        glDeleteTextures(1, &texture);
        glDeleteFramebuffers(1, &framebuffer);
        glDeleteRenderbuffers(1, &renderbuffer);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        EXPECT_TRUE(EAGLContext::setCurrentContext(nullptr));
        secondDone = true;
    });
    ASSERT_TRUE(runWindowUntil(*host, secondDone, 30));
    EXPECT_FALSE(EAGLContext::currentContext());
    host.reset();
}

}  // namespace
