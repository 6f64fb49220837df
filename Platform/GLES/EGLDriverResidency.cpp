#include "GLES/EGLDriverResidency.h"

#include <dlfcn.h>
#include <link.h>

#include <cstring>

void EGLKeepDriversResident()
{
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            if (info->dlpi_name &&
                (std::strstr(info->dlpi_name, "_dri.so") || std::strstr(info->dlpi_name, "libgallium")))
                dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}

// Mesa's software rasteriser synchronises its worker threads in ways ThreadSanitizer cannot see
// (the driver is not instrumented); its reports are about the driver, never about our code. Every
// program that opens a display links this file, so the suppressions come with the display.
// A program has one set of default suppressions and this one wins wherever GLES is linked, so it
// also carries the test kit's line for cpp-httplib (built without the sanitizer as well: its
// workers' copies of its own buffers read as races); see testing/TsanSuppressions.cpp.
extern "C" const char* __tsan_default_suppressions()
{
    return "race:swrast_dri.so\nrace:libgallium\nrace:libcpp-httplib.so\n";
}
