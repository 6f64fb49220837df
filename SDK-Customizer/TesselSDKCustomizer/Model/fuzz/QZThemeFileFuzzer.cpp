// Fuzz target for theme files: any bytes are checked and opened as a theme file (SQLite). A file
// that is no theme file of ours must be refused with a reason; one that opens must say so both ways.
#include "Model/QZThemeDatabase.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const std::string path = "/tmp/QZThemeFileFuzzer-" + std::to_string(getpid()) + ".tesseltheme";
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
        if (!file)
            std::abort();
    }
    std::string validateError, readError;
    const bool valid = customizer::QZValidateThemeFile(path, &validateError);
    const auto theme = customizer::QZReadThemeFile(path, &readError);
    if ((!valid && validateError.empty()) || (!theme && readError.empty()))
        std::abort(); // a refusal without a reason
    if (theme && !valid)
        std::abort(); // read although the check refuses it
    return 0;
}
