// QopRecipeBench: every whole recipe of the runner's corpus (processors/, mixed/, legacy/) on a
// 4000 x 3000 photo, in milliseconds: on the CPU, and on the GPU path through the headless EGL
// context (Mesa's llvmpipe here), where one run is the recipe's whole effect: upload, passes and
// read-back.
#include "GLES/EGLHeadlessContext.h"
#include "ImageIO/ImageIOCodec.h"
#include "QopLite/QopLite.h"
#include "QopLite/QLPL.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr size_t kWidth = 4000, kHeight = 3000;

struct Recipe {
    std::string name;
    std::string text;
};

std::vector<Recipe> corpus()
{
    std::vector<Recipe> recipes;
    const std::string root = std::string(TESSEL_SOURCE_DIR) + "/QopLite/tests/recipes/";
    for (const char *dir : {"processors", "mixed", "legacy"}) {
        for (const auto &entry : std::filesystem::directory_iterator(root + dir)) {
            std::ifstream in(entry.path());
            std::stringstream text;
            text << in.rdbuf();
            recipes.push_back({std::string(dir) + "/" + entry.path().stem().string(), text.str()});
        }
    }
    std::sort(recipes.begin(), recipes.end(), [](const Recipe &a, const Recipe &b) { return a.name < b.name; });
    return recipes;
}

// The cached photo stretched (nearest neighbour) to 4000 x 3000, or a smooth generated field.
std::vector<QopColor_t> photo(std::string *source)
{
    std::vector<QopColor_t> pixels(kWidth * kHeight);
    const char *dir = std::getenv("TESSEL_PHOTO_DIR");
    const std::string path =
        (dir && *dir ? std::string(dir) : std::string(TESSEL_SOURCE_DIR) + "/.cache/photos") + "/chelsea.png";
    std::vector<QopColor_t> image;
    size_t width = 0, height = 0;
    const bool read = ImageIODecodeFile(path, [&](size_t w, size_t h) -> void * {
        image.resize(w * h);
        width = w;
        height = h;
        return image.data();
    });
    if (read) {
        for (size_t y = 0; y < kHeight; ++y)
            for (size_t x = 0; x < kWidth; ++x)
                pixels[y * kWidth + x] = image[(y * height / kHeight) * width + x * width / kWidth];
        *source = path + " stretched to 4000 x 3000";
        return pixels;
    }
    for (size_t y = 0; y < kHeight; ++y)
        for (size_t x = 0; x < kWidth; ++x)
            pixels[y * kWidth + x] = {static_cast<uint8_t>(x * 255 / kWidth), static_cast<uint8_t>(y * 255 / kHeight),
                                      static_cast<uint8_t>(128 + (x + y) % 64), 255};
    *source = "a generated 4000 x 3000 field (no photo at " + path + ")";
    return pixels;
}

EGLHeadlessContext g_context;
QopGLData_t *g_record = nullptr;

void runRecipe(benchmark::State &state, const Recipe *recipe, const std::vector<QopColor_t> *input, bool gpu)
{
    std::vector<QopColor_t> pixels(input->size());
    QopJSONEffect effect = QLPLLoadEffect(recipe->text.c_str());
    if (!effect) {
        state.SkipWithError("the recipe does not load");
        return;
    }
    QopEffectParams_t params;
    QopEffectInitParams(&params);
    params.seed = 7;
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(pixels.data(), input->data(), input->size() * sizeof(QopColor_t));
        QopBitmap_t bitmap{pixels.data(), kWidth, kHeight, gpu ? g_record : nullptr};
        state.ResumeTiming();
        const bool ok = QLPLRunEffect(effect, &bitmap, &params);
        if (!ok) {
            state.SkipWithError("the recipe reports failure");
            break;
        }
        if (gpu && (g_record->state != QopGLStateOk || glGetError() != GL_NO_ERROR)) {
            state.SkipWithError("the GPU record failed or GL reported an error");
            break;
        }
    }
    QLPLUnloadEffect(&effect);
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    std::string source;
    const std::vector<QopColor_t> input = photo(&source);
    std::printf("Input: %s\n", source.c_str());

    // One rasteriser thread, as the CPU kernels run on one.
    setenv("LP_NUM_THREADS", "1", 0);
    std::string why;
    const bool haveContext = g_context.open(&why);
    bool haveGpu = haveContext;
    if (haveGpu) {
        g_record = static_cast<QopGLData_t *>(calloc(1, sizeof(QopGLData_t)));
        haveGpu = g_record && QopGLInitialize(g_record, QopGLDeviceGPUSpeedFast, QopGLRenderingModeDefault);
        if (haveGpu) {
            const char *renderer = reinterpret_cast<const char *>(glGetString(GL_RENDERER));
            std::printf("GPU: %s (LP_NUM_THREADS=%s)\n", renderer ? renderer : "?", std::getenv("LP_NUM_THREADS"));
        }
    } else {
        std::fprintf(stderr, "QopRecipeBench: no GL context (%s); the GPU runs are left out\n", why.c_str());
    }

    const std::vector<Recipe> recipes = corpus();
    for (const Recipe &recipe : recipes) {
        benchmark::RegisterBenchmark(("CPU/" + recipe.name).c_str(), runRecipe, &recipe, &input, false)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->MinTime(0.01);
        if (haveGpu)
            benchmark::RegisterBenchmark(("GPU/" + recipe.name).c_str(), runRecipe, &recipe, &input, true)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime()
                ->MinTime(0.01);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (g_record) {
        QopGLDestroy(g_record);
        free(g_record);
    }
    g_context.close();
    return 0;
}
