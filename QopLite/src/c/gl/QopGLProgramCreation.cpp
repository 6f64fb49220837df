// Compiling, linking and loading shader programs into their records, once per record.
#include "QopLite/QopGLUtils.h"

#include <cstdio>
#include <cstring>

extern "C" {

GLuint compileShader(const char *source, GLenum shaderType)
{
    GLuint shader = glCreateShader(shaderType);
    const GLint length = static_cast<GLint>(strlen(source));
    glShaderSource(shader, 1, &source, &length);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled != GL_TRUE) {
        char log[256] = {0};
        glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        printf("\n\n\n%s", log);
    }
    return shader;
}

GLuint createProgram(const char *vertexShaderSource, const char *fragmentShaderSource)
{
    GLuint vertexShader = compileShader(vertexShaderSource, GL_VERTEX_SHADER);
    GLuint fragmentShader = compileShader(fragmentShaderSource, GL_FRAGMENT_SHADER);
    GLuint program = glCreateProgram();
    if (program != 0) {
        glAttachShader(program, vertexShader);
        glAttachShader(program, fragmentShader);
        glLinkProgram(program);
        GLint linked = GL_FALSE;
        glGetProgramiv(program, GL_LINK_STATUS, &linked);
        if (linked != GL_TRUE) {
            char log[256] = {0};
            glGetProgramInfoLog(program, sizeof log, nullptr, log);
            printf("%s", log);
            // A program that did not link is answered as no program at all, so the loader's
            // failure latch trips instead of every later pass drawing nothing useful.
            glDeleteProgram(program);
            program = 0;
        }
    }
    glDeleteShader(vertexShader);
    glDeleteShader(fragmentShader);
    return program;
}

void QopGLLoadShaderProgramIfNecessary(GLuint *program, QopGLSetupFunction setupFunction, const char *inVertexShader,
                                       const char *inFragmentShader, QopGLData_t *glData, bool prewarm)
{
    if (glData->state == QopGLStateFailed) {
        printf("\nQopLite: GL Already failed somewhere, bailing.\n");
        return;
    }
    if (!program || !setupFunction || !inVertexShader || !inFragmentShader) {
        printf("\nQopLite: A null argument was passed into the the shader program loading function. Either there "
               "is a mistake in the code, or \n");
        return;
    }
    if (*program != 0)
        return;
    GLuint created = createProgram(inVertexShader, inFragmentShader);
    if (created == 0) {
        printf("\nQopLite: Error loading shader program!");
        glData->state = QopGLStateFailed;
        return;
    }
    setupFunction(created, program);
    if (prewarm)
        QopGLPrewarmShaderProgram(created);
}

void QopGLUnloadShaderProgramIfNecessary(GLuint *program)
{
    if (*program == 0)
        return;
    glDeleteProgram(*program);
    *program = 0;
}

void QopGLPrewarmShaderProgram(GLuint program)
{
    glUseProgram(program);
    // GL rejects even an empty draw when the bound framebuffer is incomplete (warm-up may run
    // before any image is loaded); there is nothing to warm then, so no error is raised.
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE)
        glDrawArrays(GL_TRIANGLES, 0, 0);
}

}
