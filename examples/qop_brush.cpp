// qop_brush: paints one scripted stroke of the red-eye brush over a photograph, once on the CPU
// and once through the GPU library on a headless OpenGL ES context, and writes both results, so
// the two roads of the editor's brush can be compared side by side.
//
//   qop_brush INPUT CPU_OUTPUT.png GPU_OUTPUT.png [RADIUS]
//
// Exit status: 0 written, 1 a road could not run or its result not be written, 2 a bad command line
// or unreadable input.
#include "QopBitmapFile.h"
#include "QopBrushStroke.h"

#include "GLES/EGLHeadlessContext.h"
#include "ImageIO/ImageIOCodec.h"

#include "QopLite/QopAlloc.h"
#include "QopLite/QopGL.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int usage(const char *message)
{
    std::fprintf(stderr, "qop_brush: %s\nusage: qop_brush INPUT CPU_OUTPUT.png GPU_OUTPUT.png [RADIUS]\n", message);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 4 || argc > 5)
        return usage("expected an input and two outputs");
    double radius = 12.0;
    if (argc == 5) {
        char *end = nullptr;
        radius = std::strtod(argv[4], &end);
        if (!end || *end != '\0' || !(radius >= 1.0 && radius <= 80.0))
            return usage("RADIUS must be a number from 1 to 80");
    }
    QopBitmap_t cpu, gpu;
    std::string error;
    if (!qop_examples::readBitmapFile(argv[1], &cpu, &error))
        return usage(error.c_str());
    if (!QopBitmapBuild(&gpu, cpu.width, cpu.height) || !QopBitmapCopy(&gpu, &cpu)) {
        QopBitmapFree(&cpu);
        return usage("out of memory");
    }
    const std::vector<qop_brush::Dab> dabs = qop_brush::scriptedStroke(cpu.width, cpu.height, radius);
    int status = 0;
    if (!qop_brush::paintStrokeCpu(&cpu, dabs, radius, 1.0) ||
        !ImageIOWritePNGFile(argv[2], cpu.data, cpu.width, cpu.height, &error)) {
        std::fprintf(stderr, "qop_brush: CPU: %s\n", error.empty() ? "out of memory" : error.c_str());
        status = 1;
    }

    EGLHeadlessContext context;
    std::string why;
    QopGLData_t *record = nullptr;
    if (status == 0 && context.open(&why)) {
        record = static_cast<QopGLData_t *>(std::calloc(1, sizeof(QopGLData_t)));
        if (record && QopGLInitialize(record, QopGLDeviceGPUSpeedFast, QopGLRenderingModeDefault)) {
            gpu.glData = record;
            QopGLSetBitmap(&gpu, record);
            const bool painted = qop_brush::paintStrokeGpu(&gpu, dabs, radius, 1.0);
            gpu.glData = nullptr;
            if (!painted || !ImageIOWritePNGFile(argv[3], gpu.data, gpu.width, gpu.height, &error)) {
                std::fprintf(stderr, "qop_brush: GPU: %s\n", error.empty() ? "a GPU step failed" : error.c_str());
                status = 1;
            }
            QopGLDestroy(record);
        } else {
            std::fprintf(stderr, "qop_brush: GPU: the GPU record could not be set up\n");
            status = 1;
        }
        std::free(record);
        context.close();
    } else if (status == 0) {
        std::fprintf(stderr, "qop_brush: GPU: %s\n", why.c_str());
        status = 1;
    }
    QopBitmapFree(&cpu);
    QopBitmapFree(&gpu);
    return status;
}
