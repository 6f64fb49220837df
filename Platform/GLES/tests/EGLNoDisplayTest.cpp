// What the GL stand-in does with no display, or when asked for what it cannot give. Runs on every
// machine: the route "none" opens nothing.
#include "Dispatch/DispatchMainQueue.h"
#include "GLES/EAGLContext.h"
#include "GLES/EGLDisplayConnection.h"
#include "GLES/EGLHeadlessContext.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(EGLNoDisplayTest, CreationAnswersNullWithTheReason)
{
    struct Case {
        const char* route;
        EAGLRenderingAPI api;
        const char* reason;
    };
    const Case cases[] = {
        {"none", kEAGLRenderingAPIOpenGLES2, "\"none\""},
        {"vulkan", kEAGLRenderingAPIOpenGLES2, "\"vulkan\"; it must be surfaceless, device or none"},
        {"none", kEAGLRenderingAPIOpenGLES1, "only OpenGL ES 2"},
        {"none", kEAGLRenderingAPIOpenGLES3, "only OpenGL ES 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.route) + ", API " + std::to_string(c.api));
        setenv("TESSEL_EGL_PLATFORM", c.route, 1);
        EXPECT_FALSE(EAGLContext::make(c.api));
        EXPECT_NE(EAGLContext::creationFailureReason().find(c.reason), std::string::npos)
            << EAGLContext::creationFailureReason();
        EXPECT_EQ(EGLDisplayConnection::openCount(), 0);
    }
    EGLHeadlessContext headless;
    std::string why;
    EXPECT_FALSE(headless.open(&why));
    EXPECT_FALSE(headless.isOpen());
    EXPECT_NE(why.find("TESSEL_EGL_PLATFORM"), std::string::npos) << why;
    unsetenv("TESSEL_EGL_PLATFORM");
}

TEST(EGLNoDisplayTest, NoContextIsAlwaysOneToMakeCurrent)
{
    EXPECT_TRUE(EAGLContext::setCurrentContext(nullptr));
    EXPECT_FALSE(EAGLContext::currentContext());
}

TEST(EGLNoDisplayTest, HandOverOnTheMainThreadStopsWithAMessage)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(EAGLContext::dispatchSyncToMainHandingOverCurrentContext([] {}), "called on the main thread");
}
