// Freehand drawing strokes on the GPU: every stroke is a chain of filled circles drawn into a
// transparent layer (processedTexture2); the end blurs the layer lightly (antialiasing) and draws
// the image behind it.
//
// The layer is premultiplied throughout: the circles are drawn with their colour already multiplied
// by its alpha, and the antialiasing blur spreads colour and coverage together into transparent
// black. The image
// therefore goes behind with (ONE_MINUS_DST_ALPHA, ONE): weighting the layer's colour by its alpha
// once more (DST_ALPHA) would darken every soft edge - a red stroke on a red image would get a ring
// a quarter darker at half coverage.
#include "QopLite/QopGLDrawing.h"

#include "QopLite/QopBitmap.h"
#include "QopLite/QopGL.h"
#include "QopLite/QopGLShaders.h"
#include "QopLite/QopGLUtils.h"

#include <cmath>
#include <initializer_list>

namespace {

// Circles below this width would need a spacing of no length at all (the rim tolerance is 1/8 px).
constexpr float kMinimumLineWidth = 0.125f;
// No stretch is split into more circles than this, whatever its length (a guard against absurd
// coordinates, far beyond any image).
constexpr float kMaximumCircles = 1.0e6f;
constexpr int kFanRimPoints = 50;

QopGLDrawingProgram_t *drawingProgram(QopGLData_t *glData)
{
    QopGLDrawingProgram_t *program = &glData->glPrograms.drawingProgram;
    QopGLLoadShaderProgramIfNecessary(&program->programID, QopGLSetupDrawingProgram, DrawingVertexShader,
                                      DrawingFragmentShader, glData, false);
    return glData->state == QopGLStateFailed ? nullptr : program;
}

// Geometry comes from client memory and is drawn straight into the stroke layer.
void prepareStrokeDrawing(QopGLData_t *glData, QopGLDrawingProgram_t *program)
{
    glUseProgram(program->programID);
    glBindFramebuffer(GL_FRAMEBUFFER, glData->glRenderingObjects.offscreenFramebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, glData->glRenderingObjects.writeTexture,
                           0);
    glDisable(GL_BLEND);
    glViewport(0, 0, static_cast<GLsizei>(glData->glImageData.width), static_cast<GLsizei>(glData->glImageData.height));
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glEnableVertexAttribArray(program->positionSlot);
}

struct Point {
    float x, y;
};

Point midpoint(Point a, Point b) { return {(a.x + b.x) / 2.0f, (a.y + b.y) / 2.0f}; }

void drawStraightStretch(QopBitmap_t *bitmap, Point from, Point to, float lineWidth, float separation)
{
    const int n = numCirclesToDrawBetweenPoints(bitmap, from.x, from.y, to.x, to.y, lineWidth, separation);
    for (int i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(n - 1);
        drawCircle(bitmap, from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t, lineWidth);
    }
}

// The light antialiasing blur of the stroke layer: a [1 2 1] / 4 tent along both axes, as two
// bilinear identity passes half a texel off in opposite directions. The library's blur passes
// (QopConvolutionAntialiasGL) keep each pixel's alpha, as the CPU filter does for images; a stroke
// layer needs its coverage softened together with its colour, or the soft rim would be colour
// without coverage (darker inside the edge, a faint halo outside it).
void antialiasStrokeLayer(QopGLData_t *glData, QopGLBitmapIdentityProgram_t *identity)
{
    const float dx = 0.5f / static_cast<float>(glData->glImageData.width);
    const float dy = 0.5f / static_cast<float>(glData->glImageData.height);
    for (float sign : {1.0f, -1.0f}) {
        const float sx = sign * dx, sy = sign * dy;
        const Vertex quad[4] = {{{1, -1, 0}, {1 + sx, 0 + sy}},
                                {{1, 1, 0}, {1 + sx, 1 + sy}},
                                {{-1, 1, 0}, {0 + sx, 1 + sy}},
                                {{-1, -1, 0}, {0 + sx, 0 + sy}}};
        glUseProgram(identity->programID);
        QopGLStartRender(identity->programID, &identity->sharedUnisAndAttribs, glData, QopGLBlendModeNone);
        glBindBuffer(GL_ARRAY_BUFFER, glData->glBuffers.vertexBufferFlipped);
        glBufferData(GL_ARRAY_BUFFER, sizeof quad, quad, GL_STREAM_DRAW);
        const GLuint layer = glData->glRenderingObjects.readTexture;
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, layer);
        QopGLSetCurrentlyBoundTexture2DFilterProperties(GL_LINEAR, GL_LINEAR);
        QopGLFinishRender(&identity->sharedUnisAndAttribs, glData, 0, true);
        glBindTexture(GL_TEXTURE_2D, layer);
        QopGLSetCurrentlyBoundTexture2DFilterProperties(GL_NEAREST, GL_NEAREST);
        QopGLResetVertexBufferVertices(glData);
    }
}

} // namespace

extern "C" {

void QopGLBeginDrawingEffect(QopBitmap_t *bitmap)
{
    if (!bitmap || !bitmap->glData)
        return;
    QopGLData_t *glData = bitmap->glData;
    QopBitmapBeginGLEffectIfEnabled(bitmap);
    QopGLDrawingProgram_t *program = drawingProgram(glData);
    if (!program)
        return;
    glUseProgram(program->programID);
    QopGLStartRender(program->programID, &program->sharedUnisAndAttribs, glData, QopGLBlendModeNone);
    glData->glRenderingObjects.writeTexture = glData->glRenderingObjects.processedTexture2;
    prepareStrokeDrawing(glData, program);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

void QopGLDrawStrokeWithPoints(QopBitmap_t *bitmap, const float *points, int pointCount, float lineWidth,
                               const QopColor_rgba *color)
{
    if (!bitmap || !bitmap->glData || !points || pointCount < 1 || !color || !(lineWidth > 0.0f))
        return;
    QopGLData_t *glData = bitmap->glData;
    QopGLDrawingProgram_t *program = drawingProgram(glData);
    if (!program)
        return;
    lineWidth = std::fmax(lineWidth, kMinimumLineWidth);
    prepareStrokeDrawing(glData, program);
    float floatColor[4];
    QopGLFillFloatColorWithQopColorVals(floatColor, color);
    glUniform4fv(static_cast<GLint>(program->colorSlot), 1, floatColor);

    auto point = [points](int k) { return Point{points[2 * k], points[2 * k + 1]}; };
    if (pointCount == 1) {
        drawCircle(bitmap, points[0], points[1], lineWidth);
    } else {
        const float separation = getSeparationConstant(lineWidth);
        drawStraightStretch(bitmap, point(0), midpoint(point(0), point(1)), lineWidth, separation);
        for (int k = 1; k <= pointCount - 2; ++k) {
            const Point control = point(k);
            const Point previous = midpoint(point(k - 1), control);
            const Point next = midpoint(control, point(k + 1));
            const int n =
                numCirclesToDrawBetweenPoints(bitmap, control.x, control.y, next.x, next.y, lineWidth, separation) +
                numCirclesToDrawBetweenPoints(bitmap, control.x, control.y, previous.x, previous.y, lineWidth,
                                              separation);
            for (int i = 0; i < n; ++i) {
                const float t = static_cast<float>(i) / static_cast<float>(n - 1);
                const float a = (1.0f - t) * (1.0f - t), b = 2.0f * (1.0f - t) * t, c = t * t;
                drawCircle(bitmap, a * previous.x + b * control.x + c * next.x,
                           a * previous.y + b * control.y + c * next.y, lineWidth);
            }
        }
        drawStraightStretch(bitmap, midpoint(point(pointCount - 2), point(pointCount - 1)), point(pointCount - 1),
                            lineWidth, separation);
    }
    QopGLFinishAndPauseExecutionIfNecessary(glData);
}

void QopGLEndDrawingEffect(QopBitmap_t *bitmap)
{
    if (!bitmap || !bitmap->glData)
        return;
    QopGLData_t *glData = bitmap->glData;
    if (glData->state == QopGLStateFailed) {
        QopBitmapEndGLEffectIfEnabled(bitmap);
        return;
    }
    QopGLSwapRenderBuffers(glData);
    glBindFramebuffer(GL_FRAMEBUFFER, glData->glRenderingObjects.offscreenFramebuffer);
    glBindBuffer(GL_ARRAY_BUFFER, glData->glBuffers.vertexBufferFlipped);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, glData->glBuffers.indexBuffer);
    glDisableVertexAttribArray(glData->glPrograms.drawingProgram.positionSlot);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);

    QopGLBitmapIdentityProgram_t *identity = &glData->glPrograms.bitmapIdentityProgram;
    QopGLLoadShaderProgramIfNecessary(&identity->programID, QopGLSetupBitmapIdentityProgram, VertexShader,
                                      BitmapIdentityFragmentShader, glData, false);
    if (glData->state != QopGLStateFailed) {
        antialiasStrokeLayer(glData, identity);
        glUseProgram(identity->programID);
        QopGLStartRender(identity->programID, &identity->sharedUnisAndAttribs, glData, QopGLBlendModeDrawBehind);
        glBlendFunc(GL_ONE_MINUS_DST_ALPHA, GL_ONE);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, glData->glImageData.texID);
        QopGLFinishRender(&identity->sharedUnisAndAttribs, glData, 0, false);
        glDisable(GL_BLEND);
    }
    QopBitmapEndGLEffectIfEnabled(bitmap);
}

void drawCircle(QopBitmap_t *bitmap, float pointX, float pointY, float radius)
{
    if (!bitmap || !bitmap->glData)
        return;
    QopGLData_t *glData = bitmap->glData;
    const float width = static_cast<float>(glData->glImageData.width);
    const float height = static_cast<float>(glData->glImageData.height);
    if (!(width > 0.0f && height > 0.0f))
        return;
    GLfloat fan[2 * (kFanRimPoints + 1)];
    fan[0] = pointX;
    fan[1] = pointY;
    for (int k = 0; k < kFanRimPoints; ++k) {
        // Angles i pi / 49 for even i up to 98: the last rim point is the first again.
        const float angle = static_cast<float>(2 * k) * static_cast<float>(M_PI) / 49.0f;
        fan[2 + 2 * k] = pointX + std::cos(angle) * radius / width;
        fan[3 + 2 * k] = pointY + std::sin(angle) * radius / height;
    }
    const GLuint slot = glData->glPrograms.drawingProgram.positionSlot;
    glVertexAttribPointer(slot, 2, GL_FLOAT, GL_FALSE, 0, fan);
    glDrawArrays(GL_TRIANGLE_FAN, 0, kFanRimPoints + 1);
    QopGLFinishAndPauseExecutionIfNecessary(glData);
}

int numCirclesToDrawBetweenPoints(QopBitmap_t *bitmap, float point1X, float point1Y, float point2X, float point2Y,
                                  float radius, float separationConst)
{
    if (!bitmap || !bitmap->glData)
        return 3;
    const float width = static_cast<float>(bitmap->glData->glImageData.width);
    const float height = static_cast<float>(bitmap->glData->glImageData.height);
    const float dx = (point2X + 1.0f) * width / 2.0f - (point1X + 1.0f) * width / 2.0f;
    const float dy = (point2Y + 1.0f) * height / 2.0f - (point1Y + 1.0f) * height / 2.0f;
    const float count = std::ceil(std::sqrt(dx * dx + dy * dy) / (radius * separationConst) + 1.0f);
    // NaN (a zero spacing, a NaN point) and absurd lengths must not reach the integer conversion.
    if (!(count >= 3.0f))
        return 3;
    return static_cast<int>(std::fmin(count, kMaximumCircles));
}

float getSeparationConstant(float lineWidth)
{
    if (!(lineWidth >= kMinimumLineWidth))
        lineWidth = kMinimumLineWidth;
    const float q = (lineWidth - kMinimumLineWidth) / lineWidth;
    return 2.0f * std::sqrt(1.0f - q * q);
}

void bezierPoint(const float *controlPoint, const float *point1, const float *point2, float step, float *bezierPointY,
                 float *bezierPointX)
{
    if (!controlPoint || !point1 || !point2 || !bezierPointX || !bezierPointY)
        return;
    const float a = (1.0f - step) * (1.0f - step), b = 2.0f * (1.0f - step) * step, c = step * step;
    *bezierPointX = a * point1[0] + b * controlPoint[0] + c * point2[0];
    *bezierPointY = a * point1[1] + b * controlPoint[1] + c * point2[1];
}

}
