// The CPU/GPU comparison harness reports agreement for twins that agree and the size of the
// difference for ones that do not.
#include "QopGpuComparison.h"
#include "QopGLTestSupport.h"

namespace qop_test {
namespace {

// Inversion on either path: the CPU twin on pixels, the test pass on the GPU.
void invert(QopBitmap_t *bitmap)
{
    if (bitmap->glData) {
        addInvertPass(bitmap->glData);
        return;
    }
    for (size_t i = 0; i < bitmap->width * bitmap->height; ++i) {
        QopColor_t &p = bitmap->data[i];
        p.r = static_cast<uint8_t>(255 - p.r);
        p.g = static_cast<uint8_t>(255 - p.g);
        p.b = static_cast<uint8_t>(255 - p.b);
    }
}

TEST(GpuComparisonTest, TwinsThatAgreeShowNoDifference)
{
    const TestBitmap input = makePhotoLike(97, 61);
    for (QopGLDeviceGPUSpeed speed : {QopGLDeviceGPUSpeedFast, QopGLDeviceGPUSpeedSlow}) {
        QOP_COMPARE_CPU_GPU_OR_SKIP(result, input, invert, GpuComparisonOptions{speed, true});
        EXPECT_TRUE(gpuAgreesWithCpu(result, Tolerance{}, "invert"));
        EXPECT_EQ(result.diff.max, 0);
        EXPECT_TRUE(result.cpu == inverted(input));
    }
}

TEST(GpuComparisonTest, DisagreementIsMeasured)
{
    const TestBitmap input = makeRamp(40, 30);
    // The GPU inverts, the CPU leaves the image alone.
    QOP_COMPARE_CPU_GPU_OR_SKIP(result, input, [](QopBitmap_t *bitmap) {
        if (bitmap->glData)
            addInvertPass(bitmap->glData);
    });
    EXPECT_TRUE(result.cpu == input);
    EXPECT_TRUE(result.gpu == inverted(input));
    EXPECT_GT(result.diff.max, 200);
    EXPECT_FALSE(gpuAgreesWithCpu(result, Tolerance{2, -1, -1}, "gpu-only inversion"));
}

// Nested brackets inside the operation (a library function that opens its own effect) keep the
// passes before them.
TEST(GpuComparisonTest, OperationsThatBracketTheirOwnEffectAreComparedWhole)
{
    const TestBitmap input = makeHueWheel(33, 33);
    QOP_COMPARE_CPU_GPU_OR_SKIP(result, input, [](QopBitmap_t *bitmap) {
        invert(bitmap);
        QopGLCreateEffect(bitmap); // does nothing on a CPU bitmap
        QopGLFinalizeEffect(bitmap);
    });
    EXPECT_TRUE(gpuAgreesWithCpu(result, Tolerance{}, "bracketed"));
}

} // namespace
} // namespace qop_test
