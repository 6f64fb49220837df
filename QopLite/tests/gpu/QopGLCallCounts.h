// QopGLCallCounts.h: how often the library called two GL entry points (the test executable is
// linked with --wrap for them; the counters forward every call to GL).
#pragma once

namespace qop_test {

struct GLCallCounts {
    long drawElements = 0;
    long createProgram = 0;
};

GLCallCounts &glCallCounts();
inline void resetGLCallCounts() { glCallCounts() = GLCallCounts{}; }

} // namespace qop_test
