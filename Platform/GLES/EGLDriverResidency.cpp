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
