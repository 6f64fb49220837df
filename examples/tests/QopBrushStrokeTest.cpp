// The example's scripted brush stroke: the CPU and GPU roads agree within the dab tolerance, and
// the stroke changes the image along its path and nowhere else.
#include "QopBrushStroke.h"
#include "QopGLTestSupport.h"

#include "QopLite/QopGLData.h"

#include <gtest/gtest.h>

using namespace qop_test;

namespace {

using BrushStrokeTest = GLTest;

TEST_F(BrushStrokeTest, CpuAndGpuStrokesAgree)
{
    if (!haveContext_)
        GTEST_SKIP() << "no GL context";
    const TestBitmap photo = makeHueWheel(160, 120);
    const double radius = 9.0;
    const auto dabs = qop_brush::scriptedStroke(photo.width(), photo.height(), radius);
    ASSERT_GT(dabs.size(), 20u);

    TestBitmap cpu = photo;
    ASSERT_TRUE(qop_brush::paintStrokeCpu(cpu.get(), dabs, radius, 1.0));
    TestBitmap gpu = gpuBitmap(photo);
    ASSERT_TRUE(qop_brush::paintStrokeGpu(gpu.get(), dabs, radius, 1.0));
    gpu.get()->glData = nullptr;

    const ImageDiff diff = compareImages(*cpu.get(), *gpu.get());
    std::printf("[ agreement ] %-34s %s\n", "scripted red-eye stroke", describe(diff).c_str());
    EXPECT_TRUE(imagesAgree(cpu, gpu, {2}, "brush_stroke"));
    const ImageDiff change = compareImages(*photo.get(), *cpu.get());
    EXPECT_GT(change.max, 50) << "the stroke crosses red pixels and corrects them";
    for (size_t x = 0; x < photo.width(); ++x)
        EXPECT_EQ(cpu.at(x, 0).r, photo.at(x, 0).r) << "the top row is far from the stroke";
    QOP_EXPECT_NO_GL_ERROR();
}

} // namespace
