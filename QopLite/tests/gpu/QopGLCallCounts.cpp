// Link-time wrappers (-Wl,--wrap) counting the library's draws and program creations.
#include "QopGLCallCounts.h"

#include <GLES2/gl2.h>

namespace qop_test {

GLCallCounts &glCallCounts()
{
    static GLCallCounts counts;
    return counts;
}

} // namespace qop_test

extern "C" {

void __real_glDrawElements(GLenum mode, GLsizei count, GLenum type, const void *indices);
GLuint __real_glCreateProgram(void);

void __wrap_glDrawElements(GLenum mode, GLsizei count, GLenum type, const void *indices)
{
    ++qop_test::glCallCounts().drawElements;
    __real_glDrawElements(mode, count, type, indices);
}

GLuint __wrap_glCreateProgram(void)
{
    ++qop_test::glCallCounts().createProgram;
    return __real_glCreateProgram();
}

}
