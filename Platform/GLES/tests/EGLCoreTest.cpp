// The EGL core on a real display: one display for the process, counted by its contexts.
#include "GLES/EGLCoreContext.h"
#include "GLES/EGLHeadlessContext.h"

#include <GLES2/gl2.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// The context is current and draws without error.
::testing::AssertionResult works(EGLCoreContext& context)
{
    std::string why;
    if (!context.makeCurrent(&why)) return ::testing::AssertionFailure() << why;
    // Nothing is drawn to a surface: a cleared framebuffer object read back shows the context works.
    GLuint renderbuffer = 0, framebuffer = 0;
    glGenRenderbuffers(1, &renderbuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGB565, 2, 2);
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, renderbuffer);
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    uint8_t pixel[4] = {0, 0, 0, 0};
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteRenderbuffers(1, &renderbuffer);
    const GLenum error = glGetError();
    EGLCoreContext::makeNoneCurrent(nullptr);
    if (error != GL_NO_ERROR) return ::testing::AssertionFailure() << "GL error 0x" << std::hex << error;
    if (pixel[0] != 255 || pixel[1] != 0)
        return ::testing::AssertionFailure() << "the clear did not reach the framebuffer";
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST(EGLCoreTest, TheDisplayLastsUntilItsLastContextIsGone)
{
    std::string why;
    std::unique_ptr<EGLCoreContext> first = EGLCoreContext::create(&why);
    if (!first) GTEST_SKIP() << why;
    std::unique_ptr<EGLCoreContext> second = EGLCoreContext::create(&why);
    ASSERT_TRUE(second) << why;
    EXPECT_EQ(first->connection().display(), second->connection().display());
    EXPECT_EQ(EGLDisplayConnection::openCount(), 2);

    first.reset();
    EXPECT_EQ(EGLDisplayConnection::openCount(), 1);
    EXPECT_TRUE(works(*second)) << "ending one context ended the other";

    second.reset();
    EXPECT_EQ(EGLDisplayConnection::openCount(), 0);
    std::unique_ptr<EGLCoreContext> third = EGLCoreContext::create(&why);
    ASSERT_TRUE(third) << "the display does not open again after it was terminated: " << why;
    EXPECT_TRUE(works(*third));
}

TEST(EGLCoreTest, HeadlessContextIsCurrentWhileOpen)
{
    EGLHeadlessContext headless;
    std::string why;
    if (!headless.open(&why)) GTEST_SKIP() << why;
    EXPECT_EQ(eglGetCurrentContext(), headless.handle());
    EXPECT_STRNE(headless.route(), nullptr);
    headless.close();
    EXPECT_EQ(eglGetCurrentContext(), EGL_NO_CONTEXT);
    EXPECT_EQ(EGLDisplayConnection::openCount(), 0);
}

// Each route named in the environment opens that route or nothing.
TEST(EGLCoreTest, TheNamedRouteIsTheOneTaken)
{
    std::string refusals;
    int opened = 0;
    for (const char* route : {"surfaceless", "device"}) {
        SCOPED_TRACE(route);
        setenv("TESSEL_EGL_PLATFORM", route, 1);
        std::string why;
        std::unique_ptr<EGLCoreContext> context = EGLCoreContext::create(&why);
        if (!context) {
            refusals += std::string(route) + ": " + why + "; ";
            continue;
        }
        ++opened;
        EXPECT_STREQ(context->connection().route(), route);
        EXPECT_TRUE(works(*context));
    }
    unsetenv("TESSEL_EGL_PLATFORM");
    if (opened == 0) GTEST_SKIP() << refusals;
    if (!refusals.empty()) std::printf("route not offered here: %s\n", refusals.c_str());
}
