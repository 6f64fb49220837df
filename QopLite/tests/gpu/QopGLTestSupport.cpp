// GL fixture, texture read-back and the test-only passes.
#include "QopGLTestSupport.h"

#include "QopLite/QopGLShaders.h"
#include "QopLite/QopGLUtils.h"

#include <cstdlib>
#include <cstring>

namespace qop_test {

namespace {

constexpr char kInvertFragmentShader[] = R"(#version 100
precision highp float;
varying vec2 v_texCoord;
uniform sampler2D u_sampler;
void main()
{
    vec4 c = texture2D(u_sampler, v_texCoord);
    gl_FragColor = vec4(1.0 - c.rgb, c.a);
}
)";

constexpr char kRedWashFragmentShader[] = R"(#version 100
precision highp float;
void main()
{
    gl_FragColor = vec4(1.0, 0.0, 0.0, 0.5);
}
)";

// Test programs live in records of the identity type and are set up like it; they are made once
// per record and context.
struct TestPrograms {
    const QopGLData_t *owner = nullptr;
    EGLContext context = EGL_NO_CONTEXT;
    QopGLBitmapIdentityProgram_t invert{};
    QopGLBitmapIdentityProgram_t redWash{};
};

TestPrograms &testPrograms(QopGLData_t *glData)
{
    static TestPrograms programs;
    if (programs.owner != glData || programs.context != eglGetCurrentContext()) {
        programs = TestPrograms{};
        programs.owner = glData;
        programs.context = eglGetCurrentContext();
    }
    return programs;
}

void runPass(QopGLData_t *glData, QopGLBitmapIdentityProgram_t *record, const char *fragment, QopGLBlendMode mode,
             bool swap)
{
    QopGLLoadShaderProgramIfNecessary(&record->programID, QopGLSetupBitmapIdentityProgram, VertexShader, fragment,
                                      glData, false);
    if (glData->state == QopGLStateFailed)
        return;
    glUseProgram(record->programID);
    QopGLStartRender(record->programID, &record->sharedUnisAndAttribs, glData, mode);
    QopGLFinishRender(&record->sharedUnisAndAttribs, glData, 1, swap);
}

TestBitmap readAttachment(GLenum attach(GLuint), GLuint name, size_t width, size_t height)
{
    GLint previous = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previous);
    GLuint framebuffer = 0;
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    attach(name);
    TestBitmap out(width, height);
    glReadPixels(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height), GL_RGBA, GL_UNSIGNED_BYTE,
                 out.data());
    glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previous));
    glDeleteFramebuffers(1, &framebuffer);
    return out;
}

} // namespace

bool acquireGLContext(EGLHeadlessContext *context, std::string *why)
{
    return context->open(why);
}

GLRecord::~GLRecord() { destroy(); }

bool GLRecord::initialise(QopGLDeviceGPUSpeed speed, QopGLRenderingMode mode)
{
    destroy();
    data = static_cast<QopGLData_t *>(calloc(1, sizeof(QopGLData_t)));
    return QopGLInitialize(data, speed, mode);
}

void GLRecord::destroy()
{
    if (!data)
        return;
    QopGLDestroy(data);
    free(data);
    data = nullptr;
}

void GLTest::SetUp()
{
    std::string why;
    if (!acquireGLContext(&context_, &why))
        GTEST_SKIP() << why;
    haveContext_ = true;
    ASSERT_TRUE(record_.initialise(QopGLDeviceGPUSpeedFast, QopGLRenderingModeDefault));
}

void GLTest::TearDown()
{
    if (!haveContext_)
        return;
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "GL reported an error during the test";
    record_.destroy();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "GL reported an error while destroying the record";
    context_.close();
}

void GLTest::reinitialise(QopGLDeviceGPUSpeed speed, QopGLRenderingMode mode)
{
    ASSERT_TRUE(record_.initialise(speed, mode));
}

TestBitmap GLTest::gpuBitmap(const TestBitmap &image)
{
    TestBitmap copy = image;
    copy.get()->glData = gl();
    return copy;
}

TestBitmap readTexture(GLuint texture, size_t width, size_t height)
{
    return readAttachment(
        [](GLuint name) -> GLenum {
            glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, name, 0);
            return 0;
        },
        texture, width, height);
}

TestBitmap readRenderbuffer(GLuint renderbuffer, size_t width, size_t height)
{
    return readAttachment(
        [](GLuint name) -> GLenum {
            glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, name);
            return 0;
        },
        renderbuffer, width, height);
}

void addInvertPass(QopGLData_t *glData)
{
    runPass(glData, &testPrograms(glData).invert, kInvertFragmentShader, QopGLBlendModeNone, true);
}

void addRedWashPass(QopGLData_t *glData)
{
    runPass(glData, &testPrograms(glData).redWash, kRedWashFragmentShader, QopGLBlendModeNormal, false);
}

TestBitmap inverted(const TestBitmap &image)
{
    TestBitmap out = image;
    for (size_t i = 0; i < out.pixelCount(); ++i) {
        QopColor_t &p = out.data()[i];
        p = {static_cast<uint8_t>(255 - p.r), static_cast<uint8_t>(255 - p.g), static_cast<uint8_t>(255 - p.b), p.a};
    }
    return out;
}

} // namespace qop_test
