// Writes the probe drawing's RGBA bytes to stdout, for a test that runs this under other font settings.

#include <cstdio>

#include "CTProbeText.h"

int main()
{
    std::vector<uint8_t> bytes = drawProbeText();
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() ? 0 : 1;
}
