// QopGLInternal.h: helpers the GPU library's own sources share (not part of the interface).
#pragma once

#include "QopLite/QopGL.h"
#include "QopLite/QopGLData.h"
#include "QopLite/QopGLShaders.h"
#include "QopLite/QopGLUtils.h"

#include <atomic>

namespace qopgl {

// The pause bytes are shared with the thread that backgrounds the application: every access is
// one atomic byte load or store, nothing more (no lock, no read-modify-write).
static_assert(std::atomic_ref<bool>::is_always_lock_free);

inline bool loadFlag(bool &flag) { return std::atomic_ref<bool>(flag).load(); }
inline void storeFlag(bool &flag, bool value) { std::atomic_ref<bool>(flag).store(value); }

// The GL bracket around calls that issue GL commands outside an effect. Closing it leaves
// isMakingGLCalls set while an effect is still open: the background handler must keep waiting for
// the effect's next pause point instead of calling glFinish under its feet.
void openBracket(QopGLData_t *glData);
void closeBracket(QopGLData_t *glData);

// Clears isMakingGLCalls unless an effect is open.
void endGLActions(QopGLData_t *glData);

// A uniform location as the program records keep it, in the signed form GL takes.
inline GLint slot(GLuint stored) { return static_cast<GLint>(stored); }

// Opens a full-image pass of a program that draws one colour: builds the program on first use,
// makes it current and starts the render with the given blend; colour receives the colour as the
// shaders take it. false, with nothing opened, when the program could not be built.
template <typename Program>
bool startColourPass(QopGLData_t *glData, Program *program, QopGLSetupFunction setup, const char *fragmentShader,
                     const QopColor_t *color, QopGLBlendMode blendMode, float colour[4])
{
    QopGLLoadShaderProgramIfNecessary(&program->programID, setup, VertexShader, fragmentShader, glData, false);
    if (glData->state == QopGLStateFailed)
        return false;
    QopGLFillFloatColorWithQopColorVals(colour, color);
    glUseProgram(program->programID);
    QopGLStartRender(program->programID, &program->sharedUnisAndAttribs, glData, blendMode);
    return true;
}

} // namespace qopgl
