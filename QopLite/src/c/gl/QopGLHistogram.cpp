// GPU histogram: the current result read back and counted on the CPU.
#include "QopLite/QopGLColor.h"

#include "QopGLInternal.h"
#include "QopLite/QopAlloc.h"
#include "QopLite/QopGL.h"
#include "QopLite/QopGLBitmapBlend.h"

namespace {

void count(const uint8_t *pixels, size_t pixelCount, QopHistogram_t *histogram)
{
    for (size_t i = 0; i < pixelCount; ++i) {
        ++histogram->r[pixels[4 * i]];
        ++histogram->g[pixels[4 * i + 1]];
        ++histogram->b[pixels[4 * i + 2]];
    }
}

} // namespace

extern "C" {

void QopGLHistogramBuild(QopBitmap_t *bitmap, QopHistogram_t *histogram)
{
    if (!bitmap || !bitmap->glData || !histogram)
        return;
    QopGLData_t *glData = bitmap->glData;
    QopGLRenderingObjects_t &objects = glData->glRenderingObjects;
    if (objects.readTexture == glData->glImageData.texID) {
        if (bitmap->data) {
            count(reinterpret_cast<const uint8_t *>(bitmap->data), bitmap->width * bitmap->height, histogram);
            return;
        }
        QopGLDrawCurrentBitmapIdentity(glData);
    }
    // The read covers the record's image, whatever size the bitmap claims.
    const size_t width = glData->glImageData.width, height = glData->glImageData.height;
    void *pixels = nullptr;
    if (!QopArrayBuild2(&pixels, width, height, 4))
        return;
    // The last result is readTexture; it is attached explicitly, since whatever the previous
    // operation left attached may be another texture.
    glBindFramebuffer(GL_FRAMEBUFFER, objects.offscreenFramebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, objects.readTexture, 0);
    glReadPixels(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height), GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    QopGLFinishAndPauseExecutionIfNecessary(glData);
    count(static_cast<const uint8_t *>(pixels), width * height, histogram);
    QopArrayFree(&pixels);
}

void generateHistogram(void) {}

void setupHistogramFBO(void) {}

}
