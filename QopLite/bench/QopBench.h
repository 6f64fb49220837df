// QopBench.h: what the QopLite benchmark and its comparisons share: the input images, the
// parameters of each kernel (so every library is asked for exactly the same result), and the
// shape of one implementation of a kernel.
#pragma once

#include "QopLite/QopTypes.h"

#include <array>
#include <cstdint>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace qop_bench {

// Two opaque RGBA images of one size, in the library's memory layout (r, g, b, a, no stride).
// a is the image every kernel works on; b is the second image of the two-image blends.
struct BenchImages {
    int width = 0;
    int height = 0;
    std::vector<QopColor_t> a;
    std::vector<QopColor_t> b;
    size_t pixels() const { return static_cast<size_t>(width) * static_cast<size_t>(height); }
};

// Where an implementation leaves its result: an RGBA image of the input's size, or the three
// 256-bin channel histograms (r, then g, then b).
struct BenchOutput {
    std::vector<QopColor_t> pixels;
    std::array<uint32_t, 768> histogram{};
};

// One library's way of computing one kernel. prepare (optional, not timed) sets the output up
// for an in-place library call; run (timed) computes the result into out. run returns false
// with a reason when the library reported an error.
struct Implementation {
    const char *kernel;
    const char *library;
    void (*prepare)(const BenchImages &in, BenchOutput &out);
    bool (*run)(const BenchImages &in, BenchOutput &out, std::string *error);
};

// The kernels, in the order of the summary, with what each computes (every library computes the
// same, up to the rounding noted).
//   lut       per-channel 256-entry tables on r, g, b (alpha unchanged)
//   matrix    the general 3 x 4 colour matrix kMatrix: r' = m0 r + m1 g + m2 b + m3 + 0.5,
//             truncated and clamped (alpha unchanged)
//   histogram counts of r, g and b values
//   blend     a = (a + b) / 2, rounded (Normal blend at alpha 0.5)
//   separate  a = a kSeparateA + b kSeparateB, truncated and clamped
//   copy      a copied by memcpy into the output: one read and one write of the image, the floor
//             that a per-pixel kernel's time is measured against (library "memcpy" only)
inline const std::vector<std::string> &kernelNames()
{
    static const std::vector<std::string> names = {"copy", "lut", "matrix", "histogram", "blend", "separate"};
    return names;
}

// The processor the figures come from: its model name, the vector instruction sets the kernels
// choose between, and the number of CPUs (x86-64 Linux; elsewhere what is known).
inline std::string machineDescription()
{
    std::string model = "unknown processor", flags;
    std::ifstream cpuinfo("/proc/cpuinfo");
    for (std::string line; std::getline(cpuinfo, line);) {
        const size_t colon = line.find(": ");
        if (colon == std::string::npos)
            continue;
        if (line.compare(0, 10, "model name") == 0 && model == "unknown processor")
            model.assign(line, colon + 2, std::string::npos);
        else if (line.compare(0, 5, "flags") == 0 && flags.empty())
            flags = " " + line.substr(colon + 2) + " ";
    }
    std::string sets;
    for (const char *set : {"avx2", "avx512f", "avx512bw", "avx512vl", "avx512vbmi", "avx512_vnni"})
        if (flags.find(std::string(" ") + set + " ") != std::string::npos)
            sets += std::string(sets.empty() ? "" : " ") + set;
    return model + ", " + std::to_string(std::thread::hardware_concurrency()) + " CPUs" +
           (sets.empty() ? "" : ", " + sets);
}

// Off-diagonal terms on every row, so no implementation can take a per-channel shortcut.
inline constexpr float kMatrix[12] = {0.80f, 0.15f, 0.05f, 6.0f,    //
                                      0.10f, 0.75f, 0.10f, -4.0f,   //
                                      0.05f, 0.20f, 0.70f, 10.0f};
inline constexpr float kBlendAlpha = 0.5f;
inline constexpr float kSeparateA = 0.7f;
inline constexpr float kSeparateB = 0.5f;

// The lookup tables of the lut kernel: a lifting curve on r, an inversion on g, a darkening curve
// on b (three different tables, so no implementation can share one).
struct LutTables {
    uint8_t r[256];
    uint8_t g[256];
    uint8_t b[256];
};
const LutTables &lutTables();

// The comparison libraries, each compiled in only when found. init pins the library to one
// thread; it returns false (with a reason) when the library cannot start.
#ifdef QOP_BENCH_HAVE_VIPS
bool vipsInit(const char *argv0, std::string *error);
const std::vector<Implementation> &vipsImplementations();
void vipsShutdown();
#endif
#ifdef QOP_BENCH_HAVE_OPENCV
bool openCvInit(std::string *error);
const std::vector<Implementation> &openCvImplementations();
#endif
// QopLite's GPU passes through a headless EGL context (Mesa): lut, matrix and the two blends, each
// a round trip (upload, pass, read-back) whose stages gpuPrintStages shows apart.
#ifdef QOP_BENCH_HAVE_GPU
bool gpuInit(std::string *error);
const std::vector<Implementation> &gpuImplementations();
void gpuPrintStages();
void gpuShutdown();
#endif

} // namespace qop_bench
