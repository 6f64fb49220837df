// The GL context stand-in on a real context: per-thread currency, storage from a layer, presents
// read back into the layer, and the hand-over to the main thread.
#include "GLESTestSupport.h"

#include "Foundation/NSLogCapture.h"
#include "GLES/CAEAGLLayer.h"

#include <GLES2/gl2.h>

using gles_test::RGBA;
using gles_test::rowsAre;
using gles_test::runOn;

namespace {

constexpr RGBA kBlue = {51, 102, 153, 255};
constexpr RGBA kOrange = {255, 153, 0, 255};

void clearTo(RGBA colour)
{
    glClearColor(colour[0] / 255.0f, colour[1] / 255.0f, colour[2] / 255.0f, colour[3] / 255.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

std::shared_ptr<CAEAGLLayer> layerOfSize(CGFloat width, CGFloat height)
{
    auto layer = CAEAGLLayer::layer();
    layer->setBounds(CGRectMake(0, 0, width, height));
    return layer;
}

GLint binding(GLenum which)
{
    GLint name = -1;
    glGetIntegerv(which, &name);
    return name;
}

}  // namespace

TEST_F(GLESTest, PresentShowsTheRenderbufferInTheLayerWithGLRowZeroAtTheBottom)
{
    auto gl = DispatchThreadBoundQueue::make("com.tessel.tests.gl");
    auto layer = layerOfSize(64, 32);
    GLuint renderbuffer = 0, framebuffer = 0;
    ASSERT_TRUE(runOn(gl, [&] {
        ASSERT_TRUE(EAGLContext::setCurrentContext(context_));
        glGenRenderbuffers(1, &renderbuffer);
        glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
        ASSERT_TRUE(context_->renderbufferStorage(GL_RENDERBUFFER, layer));
        glGenFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, renderbuffer);
        clearTo(kBlue);
        EXPECT_TRUE(context_->presentRenderbuffer(GL_RENDERBUFFER));
        EXPECT_EQ(binding(GL_FRAMEBUFFER_BINDING), GLint(framebuffer)) << "the present left its own framebuffer bound";
        EXPECT_EQ(binding(GL_RENDERBUFFER_BINDING), GLint(renderbuffer));
    }));
    const std::shared_ptr<CGImage> first = layer->contents();
    ASSERT_TRUE(first);
    EXPECT_EQ(CGImageGetWidth(first.get()), 64u);
    EXPECT_EQ(CGImageGetHeight(first.get()), 32u);
    EXPECT_TRUE(rowsAre(first, 0, 32, kBlue));

    ASSERT_TRUE(runOn(gl, [&] {
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, 64, 8);
        clearTo(kOrange);
        glDisable(GL_SCISSOR_TEST);
        EXPECT_TRUE(context_->presentRenderbuffer(GL_RENDERBUFFER));
    }));
    const std::shared_ptr<CGImage> second = layer->contents();
    ASSERT_TRUE(second);
    EXPECT_TRUE(rowsAre(second, 0, 24, kBlue));
    EXPECT_TRUE(rowsAre(second, 24, 32, kOrange)) << "GL rows 0 to 7 are the picture's bottom rows";
    EXPECT_TRUE(rowsAre(first, 0, 32, kBlue)) << "an earlier frame changed after it was presented";

    ASSERT_TRUE(runOn(gl, [&] {
        glDeleteFramebuffers(1, &framebuffer);
        glDeleteRenderbuffers(1, &renderbuffer);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        EXPECT_TRUE(EAGLContext::setCurrentContext(nullptr));
    }));
    EXPECT_FALSE(EAGLContext::currentContext());
}

TEST_F(GLESTest, AContextIsCurrentOnOneThreadAtATimeAndHeldWhileCurrent)
{
    auto other = EAGLContext::make(kEAGLRenderingAPIOpenGLES2);
    ASSERT_TRUE(other);
    auto worker = DispatchThreadBoundQueue::make("com.tessel.tests.worker");
    ASSERT_TRUE(runOn(worker, [&] { EXPECT_TRUE(EAGLContext::setCurrentContext(context_)); }));

    ASSERT_TRUE(EAGLContext::setCurrentContext(other));
    EXPECT_FALSE(EAGLContext::setCurrentContext(context_)) << "made current while current on the worker";
    EXPECT_EQ(EAGLContext::currentContext(), other);
    EXPECT_NE(eglGetCurrentContext(), EGL_NO_CONTEXT);
    GLint maxTextureSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTextureSize);
    EXPECT_GT(maxTextureSize, 0) << "the refused switch disturbed this thread's context";
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    // The worker's current context is held while current, even with no other reference.
    std::weak_ptr<EAGLContext> held = context_;
    std::shared_ptr<EAGLContext> original = std::move(context_);
    original.reset();
    EXPECT_FALSE(held.expired());
    ASSERT_TRUE(runOn(worker, [&] {
        EXPECT_EQ(EAGLContext::currentContext(), held.lock());
        EXPECT_TRUE(EAGLContext::setCurrentContext(nullptr));
        EXPECT_FALSE(EAGLContext::currentContext());
    }));
    EXPECT_TRUE(held.expired()) << "released on the worker, the context should have gone";

    // Released on its thread, a context can be made current elsewhere.
    auto third = EAGLContext::make(kEAGLRenderingAPIOpenGLES2);
    ASSERT_TRUE(runOn(worker, [&] {
        EXPECT_TRUE(EAGLContext::setCurrentContext(third));
        EXPECT_TRUE(EAGLContext::setCurrentContext(nullptr));
    }));
    EXPECT_TRUE(EAGLContext::setCurrentContext(third));
    EXPECT_EQ(EAGLContext::currentContext(), third);
    EXPECT_TRUE(EAGLContext::setCurrentContext(nullptr));
    EXPECT_EQ(eglGetCurrentContext(), EGL_NO_CONTEXT);
}

TEST_F(GLESTest, StorageIsRefusedWithoutACurrentContextARenderbufferOrAnArea)
{
    auto layer = layerOfSize(16, 8);
    EXPECT_FALSE(context_->renderbufferStorage(GL_RENDERBUFFER, layer)) << "no context is current";
    ASSERT_TRUE(EAGLContext::setCurrentContext(context_));
    EXPECT_FALSE(context_->renderbufferStorage(GL_RENDERBUFFER, layer)) << "no renderbuffer is bound";

    GLuint renderbuffer = 0;
    glGenRenderbuffers(1, &renderbuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
    EXPECT_FALSE(context_->renderbufferStorage(GL_FRAMEBUFFER, layer)) << "another target";
    EXPECT_FALSE(context_->renderbufferStorage(GL_RENDERBUFFER, layerOfSize(16, 0))) << "a zero-area layer";
    EXPECT_FALSE(context_->renderbufferStorage(GL_RENDERBUFFER, layerOfSize(0.4f, 8))) << "under half a pixel wide";
    EXPECT_FALSE(context_->renderbufferStorage(GL_RENDERBUFFER, layerOfSize(1e6f, 8))) << "beyond the GL's limit";
    EXPECT_FALSE(context_->presentRenderbuffer(GL_RENDERBUFFER)) << "refused storage links nothing";

    auto scaled = layerOfSize(10, 6);
    scaled->setContentsScale(2);
    ASSERT_TRUE(context_->renderbufferStorage(GL_RENDERBUFFER, scaled));
    GLint width = 0, height = 0, format = 0;
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_WIDTH, &width);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_HEIGHT, &height);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_INTERNAL_FORMAT, &format);
    EXPECT_EQ(width, 20);
    EXPECT_EQ(height, 12);
    EXPECT_EQ(format, 0x8058) << "RGBA8 storage";
    EXPECT_EQ(CAEAGLLayer::layer()->contentsScale(), 1.0f) << "a new layer's scale is 1 whatever the screen's";

    glDeleteRenderbuffers(1, &renderbuffer);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_TRUE(EAGLContext::setCurrentContext(nullptr));
}

TEST_F(GLESTest, PresentWithoutDrawableStoragePresentsNothing)
{
    ASSERT_TRUE(EAGLContext::setCurrentContext(context_));
    GLuint renderbuffers[2] = {0, 0};
    glGenRenderbuffers(2, renderbuffers);
    auto first = layerOfSize(8, 4);
    auto second = layerOfSize(8, 4);

    // Plain GL storage stands for no drawable.
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers[0]);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGB565, 8, 4);
    EXPECT_FALSE(context_->presentRenderbuffer(GL_RENDERBUFFER));

    // A drawable moves to its newest renderbuffer; a renderbuffer stands for its newest drawable.
    ASSERT_TRUE(context_->renderbufferStorage(GL_RENDERBUFFER, first));
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers[1]);
    ASSERT_TRUE(context_->renderbufferStorage(GL_RENDERBUFFER, first));
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers[0]);
    EXPECT_FALSE(context_->presentRenderbuffer(GL_RENDERBUFFER)) << "the layer's storage moved on";
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers[1]);
    ASSERT_TRUE(context_->renderbufferStorage(GL_RENDERBUFFER, second));
    EXPECT_TRUE(context_->presentRenderbuffer(GL_RENDERBUFFER));
    EXPECT_FALSE(first->contents()) << "presented to the renderbuffer's earlier drawable";
    EXPECT_TRUE(second->contents());

    // Storage replaced by plain GL, or a drawable that has gone, presents nothing.
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA4, 4, 4);
    second->setContents(nullptr);
    EXPECT_FALSE(context_->presentRenderbuffer(GL_RENDERBUFFER));
    EXPECT_FALSE(second->contents());
    ASSERT_TRUE(context_->renderbufferStorage(GL_RENDERBUFFER, second));
    second.reset();
    EXPECT_FALSE(context_->presentRenderbuffer(GL_RENDERBUFFER));

    glDeleteRenderbuffers(2, renderbuffers);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_TRUE(EAGLContext::setCurrentContext(nullptr));
}

// A GL block hops to the main thread synchronously, which needs the context there for a while:
// the worker lets it go around the hop and finds its state intact afterwards.
TEST_F(GLESTest, HandOverLendsTheContextToTheMainThreadAndTakesItBackIntact)
{
    auto worker = DispatchThreadBoundQueue::make("com.tessel.tests.gl");
    auto layer = layerOfSize(32, 16);
    GLuint framebuffer = 0, texture = 0, renderbuffer = 0;
    std::atomic<bool> holding{false}, mayHandOver{false}, finished{false};
    bool mainSawNoContext = false, mainMadeCurrent = false, mainAllocated = false;
    const RGBA texel = {10, 20, 30, 40};

    worker->async([&] {
        EXPECT_TRUE(EAGLContext::setCurrentContext(context_));
        glGenFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        std::vector<RGBA> pixels(4 * 4, texel);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        holding = true;
        while (!mayHandOver.load()) std::this_thread::yield();

        EXPECT_TRUE(EAGLContext::dispatchSyncToMainHandingOverCurrentContext([&] {
            const std::shared_ptr<EAGLContext> noted = EAGLContext::currentContext();
            mainSawNoContext = noted == nullptr;
            mainMadeCurrent = EAGLContext::setCurrentContext(context_);
            glGenRenderbuffers(1, &renderbuffer);
            glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
            mainAllocated = context_->renderbufferStorage(GL_RENDERBUFFER, layer);
            EXPECT_TRUE(EAGLContext::setCurrentContext(noted));
        }));

        EXPECT_EQ(EAGLContext::currentContext(), context_);
        EXPECT_EQ(binding(GL_FRAMEBUFFER_BINDING), GLint(framebuffer));
        EXPECT_EQ(binding(GL_TEXTURE_BINDING_2D), GLint(texture));
        EXPECT_EQ(binding(GL_RENDERBUFFER_BINDING), GLint(renderbuffer))
            << "the main thread's binding is the context's";
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
        std::vector<RGBA> readBack(16);
        glReadPixels(0, 0, 4, 4, GL_RGBA, GL_UNSIGNED_BYTE, readBack.data());
        EXPECT_EQ(readBack, std::vector<RGBA>(16, texel)) << "the texture did not survive the hop";

        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, renderbuffer);
        clearTo(kOrange);
        EXPECT_TRUE(context_->presentRenderbuffer(GL_RENDERBUFFER));
        glDeleteTextures(1, &texture);
        glDeleteFramebuffers(1, &framebuffer);
        glDeleteRenderbuffers(1, &renderbuffer);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        EXPECT_EQ(eglGetError(), EGL_SUCCESS);
        EXPECT_TRUE(EAGLContext::setCurrentContext(nullptr));
        finished = true;
    });

    ASSERT_TRUE(DispatchRunLoop::runUntil([&] { return holding.load(); }, 30));
    EXPECT_FALSE(EAGLContext::setCurrentContext(context_)) << "taken while the worker holds it";
    mayHandOver = true;
    ASSERT_TRUE(DispatchRunLoop::runUntil([&] { return finished.load(); }, 30));

    EXPECT_TRUE(mainSawNoContext);
    EXPECT_TRUE(mainMadeCurrent);
    EXPECT_TRUE(mainAllocated);
    EXPECT_FALSE(EAGLContext::currentContext());
    EXPECT_EQ(eglGetCurrentContext(), EGL_NO_CONTEXT);
    ASSERT_TRUE(layer->contents());
    EXPECT_TRUE(rowsAre(layer->contents(), 0, 16, kOrange));
}

// The hop fails only when the block keeps the context: the worker then has none and says so.
TEST_F(GLESTest, HandOverAnswersNoWhenTheMainThreadKeepsTheContext)
{
    NSLogCapture log;
    auto worker = DispatchThreadBoundQueue::make("com.tessel.tests.gl");
    std::atomic<bool> finished{false};
    bool answer = true;
    worker->async([&] {
        EXPECT_TRUE(EAGLContext::setCurrentContext(context_));
        answer = EAGLContext::dispatchSyncToMainHandingOverCurrentContext(
            [&] { EXPECT_TRUE(EAGLContext::setCurrentContext(context_)); });
        EXPECT_FALSE(EAGLContext::currentContext());
        finished = true;
    });
    ASSERT_TRUE(DispatchRunLoop::runUntil([&] { return finished.load(); }, 30));
    EXPECT_FALSE(answer);
    EXPECT_TRUE(log.contains("left it current on the main thread"));
    EXPECT_EQ(EAGLContext::currentContext(), context_);
    EXPECT_TRUE(EAGLContext::setCurrentContext(nullptr));
}
