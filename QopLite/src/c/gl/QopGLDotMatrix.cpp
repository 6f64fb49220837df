// GPU twins of the drawing primitives: dot-matrix text and soft dots as point sprites, and line
// segments as a quad whose fragments apply the CPU coverage rule. All draw over the effect's
// current result with alpha blending that leaves the result's alpha alone.
#include "QopLite/QopGLDotMatrix.h"

#include "QopGLInternal.h"

#include "QopLite/QopAlloc.h"
#include "QopLite/QopGL.h"
#include "QopLite/QopGLShaders.h"
#include "QopLite/QopGLUtils.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr double kPi = 3.14159265358979323846;

using qopgl::slot;

void beginDrawOver(QopGLData_t *glData, GLuint programID)
{
    // The drawing lands on the effect's current result, never on the source or on whatever target
    // the last operation left attached.
    QopGLPrepareDrawOverCurrentResult(glData);
    glUseProgram(programID);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glViewport(0, 0, static_cast<GLsizei>(glData->glImageData.width), static_cast<GLsizei>(glData->glImageData.height));
    glEnable(GL_BLEND);
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ZERO, GL_ONE);
    glBlendEquation(GL_FUNC_ADD);
}

// The attribute arrays pointed into client memory that the caller frees next: no later draw may
// read through these slots.
void endDrawOver(QopGLData_t *glData, GLuint attributeA, GLuint attributeB)
{
    glDisable(GL_BLEND);
    glDisableVertexAttribArray(attributeA);
    glDisableVertexAttribArray(attributeB);
    glBindFramebuffer(GL_FRAMEBUFFER, glData->glRenderingObjects.offscreenFramebuffer);
    glBindBuffer(GL_ARRAY_BUFFER, glData->glBuffers.vertexBufferFlipped);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, glData->glBuffers.indexBuffer);
}

GLuint uploadSprite(const QopColor_t *pixels, int n, GLuint texIndex)
{
    GLuint texture = 0;
    glActiveTexture(QopGLGetTextureEnumForIndex(static_cast<int>(texIndex)));
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, n, n, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    QopGLSetCurrentlyBoundTexture2DProperties(GL_LINEAR, GL_LINEAR, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE);
    glActiveTexture(GL_TEXTURE0);
    return texture;
}

} // namespace

extern "C" {

GLuint createMatrixDotTexture(const QopColor_t *color, float radius, GLuint texIndex)
{
    if (!color)
        return 0;
    float r = std::max(radius, 3.3f);
    if (!(r <= 4096.0f))
        return 0; // not finite, or a sprite no buffer could hold
    int n = static_cast<int>(std::ceil(10.0f * r));
    if (n % 2 == 0) {
        r = static_cast<float>(n + 1) / 10.0f;
        n = static_cast<int>(std::ceil(10.0f * r));
    }
    QopColor_t *pixels = nullptr;
    if (!QopArrayBuild(reinterpret_cast<void **>(&pixels), static_cast<size_t>(n) * static_cast<size_t>(n),
                       sizeof(QopColor_t)))
        return 0;
    const float alpha = static_cast<float>(color->a) / 255.0f;
    const float half = static_cast<float>(n) / 2.0f;
    const float theta0 = static_cast<float>(kPi) / (2.0f * r * r);
    for (int y = 0; y < n; ++y) {
        const float Y = static_cast<float>(y) + 0.5f - half;
        for (int x = 0; x < n; ++x) {
            const float X = static_cast<float>(x) + 0.5f - half;
            const float q = X * X + Y * Y;
            float v = 0.0f;
            if (q <= 5.0f * r * r) {
                const float theta = q * theta0;
                const float theta2 = std::sqrt(theta) / 1.8f;
                if (theta < 2.25f)
                    v = std::max(std::cos(theta), 0.5f * std::cos(theta2)) * alpha;
                else
                    v = 0.5f * std::cos(theta2) * alpha;
                v = std::clamp(v, 0.0f, 1.0f);
            }
            pixels[y * n + x] = {color->r, color->g, color->b, static_cast<uint8_t>(static_cast<int>(255.0f * v))};
        }
    }
    const GLuint texture = uploadSprite(pixels, n, texIndex);
    QopArrayFree(reinterpret_cast<void **>(&pixels));
    return texture;
}

GLuint QopGLCreateBasicDotTexture(const QopColor_t *color, float, float, GLuint texIndex)
{
    if (!color)
        return 0;
    constexpr int n = 9;
    QopColor_t *pixels = nullptr;
    if (!QopArrayBuild(reinterpret_cast<void **>(&pixels), n * n, sizeof(QopColor_t)))
        return 0;
    const float v = static_cast<float>(color->a) / 255.0f;
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const float X = static_cast<float>(x) + 0.5f - 4.5f;
            const float Y = static_cast<float>(y) + 0.5f - 4.5f;
            const float d2 = X * X + Y * Y;
            float alpha = 0.0f;
            if (d2 <= 2.25f)
                alpha = v;
            else if (d2 <= 20.25f)
                alpha = v * (1.0f - (std::sqrt(d2) - 1.5f) / 3.0f);
            pixels[y * n + x] = {color->r, color->g, color->b, static_cast<uint8_t>(static_cast<int>(255.0f * alpha))};
        }
    }
    const GLuint texture = uploadSprite(pixels, n, texIndex);
    QopArrayFree(reinterpret_cast<void **>(&pixels));
    return texture;
}

void QopGLAddDotMatrix(QopBitmap_t *bitmap, const QopColor_t *color, const float *positions, int numberOfDots,
                       float dotSize)
{
    if (!bitmap || !bitmap->glData || !color || !positions || numberOfDots <= 0)
        return;
    QopGLData_t *glData = bitmap->glData;
    QopGLDotMatrixProgram_t *program = &glData->glPrograms.dotMatrixProgram;
    QopGLLoadShaderProgramIfNecessary(&program->programID, QopGlSetupDotMatrixProgram, DotMatrixVertexShader,
                                      DotMatrixFragmentShader, glData, false);
    if (glData->state == QopGLStateFailed)
        return;
    const int unit = QopGLClaimFreeTexture(glData);
    if (unit < 0) {
        std::printf("No free texture unit for the dot-matrix text: nothing is drawn.\n");
        return;
    }
    const float radius = static_cast<float>(glData->glImageData.width) * dotSize * 0.5f;
    const GLuint sprite = createMatrixDotTexture(color, radius, static_cast<GLuint>(unit));
    if (sprite != 0) {
        beginDrawOver(glData, program->programID);
        glEnableVertexAttribArray(program->positionSlot);
        glActiveTexture(QopGLGetTextureEnumForIndex(unit));
        glBindTexture(GL_TEXTURE_2D, sprite);
        glActiveTexture(GL_TEXTURE0);
        glUniform1i(slot(program->dotSamplerSlot), unit);
        glUniform1f(slot(program->pointSizeSlot), 10.0f * radius);
        glVertexAttribPointer(program->positionSlot, 2, GL_FLOAT, GL_FALSE, 0, positions);
        glDrawArrays(GL_POINTS, 0, numberOfDots);
        QopGLFinishAndPauseExecutionIfNecessary(glData);
        endDrawOver(glData, program->positionSlot, program->positionSlot);
        glActiveTexture(QopGLGetTextureEnumForIndex(unit));
        glBindTexture(GL_TEXTURE_2D, 0);
        glActiveTexture(GL_TEXTURE0);
        glDeleteTextures(1, &sprite);
    }
    QopGLResetTextureToFree(glData, unit);
}

void QopGLAddBasicDots(QopBitmap_t *bitmap, const QopColor_t *color, const float *positionsAndPointSizes,
                       int numberOfDots, float maxDotRadius, float dAA)
{
    if (!bitmap || !bitmap->glData || !color || !positionsAndPointSizes || numberOfDots <= 0)
        return;
    QopGLData_t *glData = bitmap->glData;
    QopGLBasicDotsProgram_t *program = &glData->glPrograms.basicDotsProgram;
    QopGLLoadShaderProgramIfNecessary(&program->programID, QopGlSetupBasicDotsProgram, BasicDotsVertexShader,
                                      DotMatrixFragmentShader, glData, false);
    if (glData->state == QopGLStateFailed)
        return;
    const int unit = QopGLClaimFreeTexture(glData);
    if (unit < 0) {
        std::printf("No free texture unit for the soft dots: nothing is drawn.\n");
        return;
    }
    const GLuint sprite = QopGLCreateBasicDotTexture(color, maxDotRadius, dAA, static_cast<GLuint>(unit));
    if (sprite != 0) {
        beginDrawOver(glData, program->programID);
        glEnableVertexAttribArray(program->positionSlot);
        glEnableVertexAttribArray(program->pointSizeSlot);
        glActiveTexture(QopGLGetTextureEnumForIndex(unit));
        glBindTexture(GL_TEXTURE_2D, sprite);
        glActiveTexture(GL_TEXTURE0);
        glUniform1i(slot(program->dotSamplerSlot), unit);
        constexpr GLsizei stride = 4 * sizeof(float);
        glVertexAttribPointer(program->positionSlot, 2, GL_FLOAT, GL_FALSE, stride, positionsAndPointSizes);
        glVertexAttribPointer(program->pointSizeSlot, 1, GL_FLOAT, GL_FALSE, stride, positionsAndPointSizes + 2);
        glDrawArrays(GL_POINTS, 0, numberOfDots);
        QopGLFinishAndPauseExecutionIfNecessary(glData);
        endDrawOver(glData, program->positionSlot, program->pointSizeSlot);
        glActiveTexture(QopGLGetTextureEnumForIndex(unit));
        glBindTexture(GL_TEXTURE_2D, 0);
        glActiveTexture(GL_TEXTURE0);
        glDeleteTextures(1, &sprite);
    }
    QopGLResetTextureToFree(glData, unit);
}

void QopGLAddLine(QopBitmap_t *bitmap, const QopColor_t *color, float nHatx, float nHaty, float x1, float x2, float y1,
                  float y2, float r, float r2, float dAA, float bA, float r2AA, float vLength2, float startX,
                  float startY, float endX, float endY)
{
    if (!bitmap || !bitmap->glData || !color)
        return;
    QopGLData_t *glData = bitmap->glData;
    QopGLLineProgram_t *program = &glData->glPrograms.lineProgram;
    QopGLLoadShaderProgramIfNecessary(&program->programID, QopGlSetupLineProgram, LineVertexShader,
                                      LineFragmentShader, glData, false);
    if (glData->state == QopGLStateFailed)
        return;
    const float W = static_cast<float>(glData->glImageData.width);
    const float H = static_cast<float>(glData->glImageData.height);
    // The quad's corners are the outer edges of the box's corner pixels, carrying image positions
    // half a pixel outside their centres: the position interpolated to each fragment's centre is
    // then exactly its pixel's index, as the CPU loop sees it, and the quad covers exactly the
    // CPU's box. (Mapping pixel p to 2p / (size - 1) - 1 would shift every pixel by up to half a
    // pixel and divide by zero on an image one pixel across.)
    const float left = startX - 0.5f, right = endX + 0.5f, top = startY - 0.5f, bottom = endY + 0.5f;
    const auto clipX = [W](float x) { return (x + 0.5f) / W * 2.0f - 1.0f; };
    const auto clipY = [H](float y) { return (y + 0.5f) / H * 2.0f - 1.0f; };
    const float vertices[16] = {
        clipX(left), clipY(top),    left, top,    clipX(right), clipY(top),    right, top,
        clipX(left), clipY(bottom), left, bottom, clipX(right), clipY(bottom), right, bottom,
    };
    beginDrawOver(glData, program->programID);
    glEnableVertexAttribArray(program->positionSlot);
    glEnableVertexAttribArray(program->imagePosSlot);
    float colour[4];
    QopGLFillFloatColorWithQopColorVals(colour, color);
    glUniform1f(slot(program->nHatxSlot), nHatx);
    glUniform1f(slot(program->nHatySlot), nHaty);
    glUniform1f(slot(program->x1Slot), x1);
    glUniform1f(slot(program->y1Slot), y1);
    glUniform1f(slot(program->x2Slot), x2);
    glUniform1f(slot(program->y2Slot), y2);
    glUniform1f(slot(program->rSlot), r);
    glUniform1f(slot(program->r2Slot), r2);
    glUniform1f(slot(program->dAASlot), dAA);
    glUniform1f(slot(program->bASlot), bA);
    glUniform1f(slot(program->r2AASlot), r2AA);
    glUniform4fv(slot(program->colorSlot), 1, colour);
    glUniform1f(slot(program->vLength2Slot), vLength2);
    constexpr GLsizei stride = 4 * sizeof(float);
    glVertexAttribPointer(program->positionSlot, 2, GL_FLOAT, GL_FALSE, stride, vertices);
    glVertexAttribPointer(program->imagePosSlot, 2, GL_FLOAT, GL_FALSE, stride, vertices + 2);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    QopGLFinishAndPauseExecutionIfNecessary(glData);
    endDrawOver(glData, program->positionSlot, program->imagePosSlot);
}

} // extern "C"
