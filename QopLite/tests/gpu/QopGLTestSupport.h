// QopGLTestSupport.h: a GL context and an initialised GPU record for GPU tests, texture read-back
// helpers, and two test-only passes (inversion and a half-transparent red wash) that exercise the
// pass machinery before the library's own programs exist.
#pragma once

#include "QopImageCompare.h"
#include "QopTestBitmap.h"

#include "GLES/EGLHeadlessContext.h"
#include "QopLite/QopGL.h"

#include <gtest/gtest.h>
#include <string>

namespace qop_test {

// Makes a headless ES 2 context current on this thread. false (reason in *why) when no EGL
// display initialises: the caller skips.
bool acquireGLContext(EGLHeadlessContext *context, std::string *why);

// A zero-filled GPU record, initialised with the given speed and mode; freed on destruction.
struct GLRecord {
    QopGLData_t *data = nullptr;
    GLRecord() = default;
    GLRecord(const GLRecord &) = delete;
    GLRecord &operator=(const GLRecord &) = delete;
    ~GLRecord();
    bool initialise(QopGLDeviceGPUSpeed speed, QopGLRenderingMode mode);
    void destroy();
};

// Fixture: context and record (Fast, Default) per test; TearDown checks that GL reports no error.
class GLTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    QopGLData_t *gl() { return record_.data; }
    // Re-initialises the record with another speed or mode.
    void reinitialise(QopGLDeviceGPUSpeed speed, QopGLRenderingMode mode);
    // A copy of the image that records GPU passes on this test's record.
    TestBitmap gpuBitmap(const TestBitmap &image);

    EGLHeadlessContext context_;
    GLRecord record_;
    bool haveContext_ = false;
};

// width x height RGBA bytes of a texture (or a renderbuffer), row 0 first.
TestBitmap readTexture(GLuint texture, size_t width, size_t height);
TestBitmap readRenderbuffer(GLuint renderbuffer, size_t width, size_t height);

// Test-only passes on the record's current result: rgb inverted (alpha kept), as a None pass with
// swap; and (1, 0, 0) at coverage 0.5 as a Normal (blending) pass.
void addInvertPass(QopGLData_t *glData);
void addRedWashPass(QopGLData_t *glData);
// The CPU twins of the two passes.
TestBitmap inverted(const TestBitmap &image);

} // namespace qop_test

#define QOP_EXPECT_NO_GL_ERROR() EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR))
