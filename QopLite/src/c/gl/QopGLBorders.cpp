// GPU passes of the border engine: the inset styles and the vignette as full-image passes, the
// hard-random frame from a texture of its four lines, and the side styles as triangle strips
// drawn straight over the current result.
#include "QopLite/QopGLBorders.h"

#include "QopGLInternal.h"

#include "QopLite/QopAlloc.h"
#include "QopLite/QopGL.h"
#include "QopLite/QopGLShaders.h"
#include "QopLite/QopGLUtils.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

using qopgl::slot;

// Strip vertices: x, y (clip space), alpha, and a fourth float nobody reads (16-byte stride).
constexpr int kFloatsPerVertex = 4;
constexpr GLsizei kStride = kFloatsPerVertex * sizeof(float);

// A clip coordinate from a pixel coordinate p across a side of m pixels: pixel centres, so that
// the rasteriser samples the strip where the CPU walk evaluates each pixel. Lines far beyond the
// image (huge amplitudes, infinite noise draws) stay finite for the rasteriser; anything past +-2
// is clipped away all the same.
inline float clipOf(float p, int m)
{
    const float c = (2.0f * p + 1.0f) / static_cast<float>(m) - 1.0f;
    if (!(c == c))
        return 0.0f;
    return std::clamp(c, -1.0e4f, 1.0e4f);
}

inline float finiteAlpha(float a)
{
    if (!(a == a))
        return 0.0f;
    return std::clamp(a, -1.0e4f, 1.0e4f);
}

struct StripSide {
    int n, m;
    bool vertical; // left and right sides run along the rows
    float dirMult; // +1 for left and top (inwards is +), -1 for bottom and right
    float edge;    // pixel coordinate of the side's outer border (half a pixel outside its edge pixels)
};

StripSide stripSide(int side, int W, int H)
{
    const bool vertical = side == 0 || side == 3;
    const bool leading = side == 0 || side == 1;
    const int m = vertical ? W : H;
    return {vertical ? H : W, m, vertical, leading ? 1.0f : -1.0f, leading ? -0.5f : static_cast<float>(m) - 0.5f};
}

// One strip vertex pair per run position at the pixel centres, plus a pair at each end of the
// run (on the image border) so that the strip covers the whole run: n + 2 pairs.
inline int stripPairs(const StripSide &s) { return s.n + 2; }

inline float runClip(int k, int n)
{
    if (k == 0)
        return -1.0f;
    if (k == n + 1)
        return 1.0f;
    return (2.0f * static_cast<float>(k - 1) + 1.0f) / static_cast<float>(n) - 1.0f;
}

inline int runIndex(int k, int n) { return std::clamp(k - 1, 0, n - 1); }

inline void putVertex(float *v, const StripSide &s, float run, float across, float alpha)
{
    v[0] = s.vertical ? across : run;
    v[1] = s.vertical ? run : across;
    v[2] = alpha;
    v[3] = 0.0f;
}

void drawStrip(QopGLData_t *glData, const float *vertices, int count)
{
    const QopGLBorderSideProgram_t &program = glData->glPrograms.borderSideProgram;
    glVertexAttribPointer(program.positionSlot, 2, GL_FLOAT, GL_FALSE, kStride, vertices);
    glVertexAttribPointer(program.alphaSlot, 1, GL_FLOAT, GL_FALSE, kStride, vertices + 2);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, count);
}

bool buildVertices(float **vertices, int pairs)
{
    return QopArrayBuild(reinterpret_cast<void **>(vertices), static_cast<size_t>(pairs) * 2,
                         kFloatsPerVertex * sizeof(float));
}

} // namespace

extern "C" {

void QopGLAddBorderTheta(QopBitmap_t *bitmap, const QopColor_t *color, QopBorderStyle_t style, float dw,
                         float rFactor, float offsetL, float offsetR, float offsetT, float offsetB, float offsetX,
                         float offsetY, float lineScale, float dotScale)
{
    if (!bitmap || !bitmap->glData || !color)
        return;
    QopGLData_t *glData = bitmap->glData;
    QopGLBorderThetaProgram_t *program = &glData->glPrograms.borderThetaProgram;
    float colour[4];
    if (!qopgl::startColourPass(glData, program, QopGlSetupBorderThetaProgram, BordersThetaFragmentShader, color,
                                QopGLBlendModeNormal, colour))
        return;
    glUniform1f(slot(program->dwSlot), dw);
    glUniform1f(slot(program->rFactorSlot), rFactor);
    glUniform1f(slot(program->widthSlot), static_cast<float>(bitmap->width));
    glUniform1f(slot(program->heightSlot), static_cast<float>(bitmap->height));
    glUniform1i(slot(program->borderStyleSlot), static_cast<int>(style));
    glUniform4fv(slot(program->borderColorSlot), 1, colour);
    glUniform1f(slot(program->linesScaleSlot), lineScale);
    glUniform1f(slot(program->dotScaleSlot), dotScale);
    glUniform1f(slot(program->offsetLSlot), offsetL);
    glUniform1f(slot(program->offsetRSlot), offsetR);
    glUniform1f(slot(program->offsetTSlot), offsetT);
    glUniform1f(slot(program->offsetBSlot), offsetB);
    glUniform1f(slot(program->offsetXSlot), offsetX);
    glUniform1f(slot(program->offsetYSlot), offsetY);
    QopGLFinishRender(&program->sharedUnisAndAttribs, glData, 1, false);
}

void QopGLAddBorderVignette(QopBitmap_t *bitmap, const QopBorderParams_t *params)
{
    if (!bitmap || !bitmap->glData || !params)
        return;
    QopGLData_t *glData = bitmap->glData;
    QopGLBorderVignetteProgram_t *program;
    const char *fragmentShader;
    bool blendsItself = true;
    switch (params->blendMode) {
    case QopBlendModeOverlay:
        program = &glData->glPrograms.borderVignetteOverlayProgram;
        fragmentShader = BordersVignetteOverlayFragmentShader;
        break;
    case QopBlendModeMultiply:
        program = &glData->glPrograms.borderVignetteMultiplyProgram;
        fragmentShader = BordersVignetteMultiplyFragmentShader;
        break;
    default:
        if (params->blendMode != QopBlendModeNormal)
            std::printf("\nWarning: The QopBlendMode you are trying to use in QopGLAddBorderVignette isn't "
                        "implemented yet. Using QopBlendModeNormal.");
        program = &glData->glPrograms.borderVignetteProgram;
        fragmentShader = BordersVignetteFragmentShader;
        blendsItself = false;
        break;
    }
    float colour[4];
    if (!qopgl::startColourPass(glData, program, QopGlSetupBorderVignetteProgram, fragmentShader, &params->color,
                                blendsItself ? QopGLBlendModeNone : QopGLBlendModeNormal, colour))
        return;
    glUniform1f(slot(program->widthSlot), static_cast<float>(bitmap->width));
    glUniform1f(slot(program->heightSlot), static_cast<float>(bitmap->height));
    glUniform1f(slot(program->vignetteScaleSlot), static_cast<float>(params->vignetteScale));
    glUniform1f(slot(program->dx_2Slot), static_cast<float>(params->dx * 0.5));
    glUniform1f(slot(program->dy_2Slot), static_cast<float>(params->dy * 0.5));
    glUniform4fv(slot(program->vignetteColorSlot), 1, colour);
    glUniform1i(slot(program->shouldStrecthSlot), params->stretch ? 1 : 0);
    glUniform1i(slot(program->shapeModeSlot), static_cast<int>(params->shapeMode));
    QopGLFinishRender(&program->sharedUnisAndAttribs, glData, 1, blendsItself);
}

GLuint createLinesTexture(float width, float height, const float *lineL, const float *lineR, const float *lineT,
                          const float *lineB, float maxDim, double multiplier, double trans, GLuint texIndex)
{
    glActiveTexture(QopGLGetTextureEnumForIndex(static_cast<int>(texIndex)));
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    const size_t columns = static_cast<size_t>(maxDim);
    uint8_t *texels = nullptr;
    if (!QopArrayBuild(reinterpret_cast<void **>(&texels), columns * 4, 4)) {
        glActiveTexture(GL_TEXTURE0);
        return 0;
    }
    const auto pack = [&](size_t row, const float *line, size_t count) {
        for (size_t k = 0; k < count && k < columns; ++k) {
            const double v = (line[k] - trans) * multiplier;
            const double f1 = v * 256.0 - std::floor(v * 256.0);
            const double f2 = v * 65536.0 - std::floor(v * 65536.0);
            const double f3 = v * 16777216.0 - std::floor(v * 16777216.0);
            uint8_t *texel = &texels[(row * columns + k) * 4];
            const double f2b = f2 - f3 / 256.0;
            const double f1b = f1 - f2b / 256.0;
            const auto byte = [](double b) { return static_cast<uint8_t>(std::clamp(b * 255.0, 0.0, 255.0)); };
            texel[0] = byte(f3);
            texel[1] = byte(f2b);
            texel[2] = byte(f1b);
            texel[3] = byte(v - f1b / 256.0);
        }
    };
    const size_t H = static_cast<size_t>(height), W = static_cast<size_t>(width);
    pack(0, lineL, H);
    pack(1, lineR, H);
    pack(2, lineT, W);
    pack(3, lineB, W);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, static_cast<GLsizei>(columns), 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    QopArrayFree(reinterpret_cast<void **>(&texels));
    QopGLSetCurrentlyBoundTexture2DProperties(GL_NEAREST, GL_NEAREST, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE);
    glActiveTexture(GL_TEXTURE0);
    return texture;
}

void QopGLAddBorderHardRand(QopBitmap_t *bitmap, const QopColor_t *color, float dw, float scale, float offset,
                            float randomSeed, float w2, float h2, const float *lineL, const float *lineR,
                            const float *lineT, const float *lineB)
{
    if (!bitmap || !bitmap->glData || !color || !lineL || !lineR || !lineT || !lineB)
        return;
    QopGLData_t *glData = bitmap->glData;
    QopGLHardRandBorderProgram_t *program = &glData->glPrograms.hardRandProgram;
    QopGLLoadShaderProgramIfNecessary(&program->programID, QopGlSetupHardRandProgram, VertexShader,
                                      BordersHardRandFragmentShader, glData, false);
    if (glData->state == QopGLStateFailed)
        return;
    const size_t W = bitmap->width, H = bitmap->height;
    if (W == 0 || H == 0)
        return;
    glUseProgram(program->programID);
    QopGLStartRender(program->programID, &program->sharedUnisAndAttribs, glData, QopGLBlendModeNormal);
    const float maxDim = static_cast<float>(std::max(W, H));
    double lowest = lineL[0], highest = 0.0;
    const auto scan = [&](const float *line, size_t count) {
        for (size_t k = 0; k < count; ++k) {
            lowest = std::min<double>(lowest, line[k]);
            highest = std::max<double>(highest, line[k]);
        }
    };
    scan(lineL, H);
    scan(lineR, H);
    scan(lineT, W);
    scan(lineB, W);
    // Four flat lines (amplitude and corner 0, as at effect intensity 0) have no range to scale:
    // every value is `trans` itself, stored as 0.
    const double multiplier = highest > lowest ? 1.0 / (highest - lowest) : 0.0;
    const int unit = QopGLClaimFreeTexture(glData);
    if (unit < 0) {
        std::printf("No free texture unit for the border lines: the pass is skipped.\n");
        return;
    }
    GLuint linesTexture = createLinesTexture(static_cast<float>(W), static_cast<float>(H), lineL, lineR, lineT, lineB,
                                             maxDim, multiplier, lowest, static_cast<GLuint>(unit));
    QopGLFinishAndPauseExecutionIfNecessary(glData);
    glActiveTexture(QopGLGetTextureEnumForIndex(unit));
    glBindTexture(GL_TEXTURE_2D, linesTexture);
    glActiveTexture(GL_TEXTURE0);
    float colour[4];
    QopGLFillFloatColorWithQopColorVals(colour, color);
    glUseProgram(program->programID);
    glUniform1i(slot(program->linesSamplerSlot), unit);
    glUniform1f(slot(program->heightSlot), static_cast<float>(H));
    glUniform1f(slot(program->widthSlot), static_cast<float>(W));
    glUniform1f(slot(program->widthTexCoordMultSlot), 1.0f / maxDim);
    glUniform1f(slot(program->heightTexCoordMultSlot), 1.0f / maxDim);
    glUniform1f(slot(program->h2Slot), h2);
    glUniform1f(slot(program->w2Slot), w2);
    glUniform1f(slot(program->offsetSlot), offset);
    glUniform1f(slot(program->dwSlot), dw);
    glUniform4fv(slot(program->colorSlot), 1, colour);
    glUniform1f(slot(program->scaleSlot), scale);
    glUniform1f(slot(program->floatMultSlot), static_cast<float>(multiplier));
    glUniform1f(slot(program->floatTransSlot), static_cast<float>(lowest));
    glUniform1f(slot(program->randomSeedSlot), randomSeed == 0.0f ? 1.0f : randomSeed);
    QopGLFinishRender(&program->sharedUnisAndAttribs, glData, 1, false);
    glActiveTexture(QopGLGetTextureEnumForIndex(unit));
    glBindTexture(GL_TEXTURE_2D, 0);
    glDeleteTextures(1, &linesTexture);
    glActiveTexture(GL_TEXTURE0);
    QopGLResetTextureToFree(glData, unit);
}

void QopGLBeginSideBorder(QopBitmap_t *bitmap, const QopColor_t *color)
{
    if (!bitmap || !bitmap->glData || !color)
        return;
    QopGLData_t *glData = bitmap->glData;
    QopGLBorderSideProgram_t *program = &glData->glPrograms.borderSideProgram;
    QopGLLoadShaderProgramIfNecessary(&program->programID, QopGlSetupBorderSideProgram, BorderSideVertexShader,
                                      BorderSideFragmentShader, glData, false);
    if (glData->state == QopGLStateFailed)
        return;
    // The strips land on the effect's current result, never on the source or on whatever target
    // the last operation left attached.
    QopGLPrepareDrawOverCurrentResult(glData);
    glUseProgram(program->programID);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glViewport(0, 0, static_cast<GLsizei>(glData->glImageData.width), static_cast<GLsizei>(glData->glImageData.height));
    glEnableVertexAttribArray(program->positionSlot);
    glEnableVertexAttribArray(program->alphaSlot);
    glEnable(GL_BLEND);
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ZERO, GL_ONE);
    glBlendEquation(GL_FUNC_ADD);
    float colour[4];
    QopGLFillFloatColorWithQopColorVals(colour, color);
    glUniform4fv(slot(program->borderColorSlot), 1, colour);
}

void QopGLAddBorderSide(QopBitmap_t *bitmap, const QopColor_t *, QopBlendMode_t, QopBorderStyle_t, const float *line,
                        float db, int side)
{
    if (!bitmap || !bitmap->glData || !line || side < 0 || side > 3)
        return;
    QopGLData_t *glData = bitmap->glData;
    if (glData->state == QopGLStateFailed)
        return;
    const StripSide s = stripSide(side, static_cast<int>(bitmap->width), static_cast<int>(bitmap->height));
    if (s.n < 1 || s.m < 1)
        return;
    float *vertices = nullptr;
    const int pairs = stripPairs(s);
    if (!buildVertices(&vertices, pairs))
        return;
    const float edgeClip = clipOf(s.edge, s.m);
    for (int k = 0; k < pairs; ++k) {
        const float run = runClip(k, s.n);
        const float L = line[runIndex(k, s.n)];
        float inner, edgeAlpha, innerAlpha;
        if (db != 0.0f) {
            // The CPU's ramp, 0 at L + db inwards and 1 at L - db, continued to the border.
            inner = L + s.dirMult * db;
            innerAlpha = 0.0f;
            edgeAlpha = (s.dirMult * (L - s.edge) + db) / (2.0f * db);
        } else {
            // A hard edge: the CPU paints the whole pixels strictly before the line, so the strip
            // ends half way between the last of them and the next pixel centre (never on a
            // centre, where the rasteriser's tie rule would decide).
            inner = s.dirMult > 0.0f ? std::ceil(L) - 0.5f : std::floor(L) + 0.5f;
            if (!std::isfinite(inner))
                inner = L;
            innerAlpha = edgeAlpha = 1.0f;
        }
        putVertex(&vertices[(2 * k) * kFloatsPerVertex], s, run, clipOf(inner, s.m), innerAlpha);
        putVertex(&vertices[(2 * k + 1) * kFloatsPerVertex], s, run, edgeClip, finiteAlpha(edgeAlpha));
    }
    drawStrip(glData, vertices, 2 * pairs);
    QopGLFinishAndPauseExecutionIfNecessary(glData);
    QopArrayFree(reinterpret_cast<void **>(&vertices));
}

void QopGLAddBorderDoubleSide(QopBitmap_t *bitmap, const QopColor_t *, QopBlendMode_t, QopBorderStyle_t,
                              const float *lineA, const float *lineB, float db, int side)
{
    if (!bitmap || !bitmap->glData || !lineA || !lineB || side < 0 || side > 3)
        return;
    QopGLData_t *glData = bitmap->glData;
    if (glData->state == QopGLStateFailed)
        return;
    const StripSide s = stripSide(side, static_cast<int>(bitmap->width), static_cast<int>(bitmap->height));
    if (s.n < 1 || s.m < 1)
        return;
    float *middle = nullptr, *stripA = nullptr, *stripB = nullptr;
    const int pairs = stripPairs(s);
    if (!QopArrayBuild(reinterpret_cast<void **>(&middle), static_cast<size_t>(s.n), 2 * sizeof(float)) ||
        !buildVertices(&stripA, pairs) || !buildVertices(&stripB, pairs)) {
        QopArrayFree(reinterpret_cast<void **>(&middle));
        QopArrayFree(reinterpret_cast<void **>(&stripA));
        QopArrayFree(reinterpret_cast<void **>(&stripB));
        return;
    }
    for (int j = 0; j < s.n; ++j) {
        middle[2 * j] = (lineA[j] + lineB[j]) / 2.0f;
        middle[2 * j + 1] = finiteAlpha((lineA[j] - lineB[j]) * s.dirMult / (2.0f * db));
    }
    for (int k = 0; k < pairs; ++k) {
        const float run = runClip(k, s.n);
        const int j = runIndex(k, s.n);
        const float mid = clipOf(middle[2 * j], s.m), midAlpha = middle[2 * j + 1];
        putVertex(&stripA[(2 * k) * kFloatsPerVertex], s, run, clipOf(lineA[j], s.m), 0.0f);
        putVertex(&stripA[(2 * k + 1) * kFloatsPerVertex], s, run, mid, midAlpha);
        putVertex(&stripB[(2 * k) * kFloatsPerVertex], s, run, clipOf(lineB[j], s.m), 0.0f);
        putVertex(&stripB[(2 * k + 1) * kFloatsPerVertex], s, run, mid, midAlpha);
    }
    drawStrip(glData, stripA, 2 * pairs);
    drawStrip(glData, stripB, 2 * pairs);
    QopGLFinishAndPauseExecutionIfNecessary(glData);
    QopArrayFree(reinterpret_cast<void **>(&middle));
    QopArrayFree(reinterpret_cast<void **>(&stripA));
    QopArrayFree(reinterpret_cast<void **>(&stripB));
}

void QopGLEndSideBorder(QopBitmap_t *bitmap)
{
    if (!bitmap || !bitmap->glData)
        return;
    QopGLData_t *glData = bitmap->glData;
    glDisable(GL_BLEND);
    // The strips' vertex arrays lived in client memory that is gone now; no later draw may read
    // through these attribute slots.
    const QopGLBorderSideProgram_t &program = glData->glPrograms.borderSideProgram;
    if (glData->state != QopGLStateFailed && program.programID != 0) {
        glDisableVertexAttribArray(program.positionSlot);
        glDisableVertexAttribArray(program.alphaSlot);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, glData->glRenderingObjects.offscreenFramebuffer);
    glBindBuffer(GL_ARRAY_BUFFER, glData->glBuffers.vertexBufferFlipped);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, glData->glBuffers.indexBuffer);
}

} // extern "C"
