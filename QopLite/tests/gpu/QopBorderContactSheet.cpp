// Contact sheet of the procedural frames, vignettes, flares and gradients for a person to look at:
// one PNG per style, the CPU result on the left and the GPU result on the right, on a real photo.
//
//   QopBorderContactSheet [output directory] [photo name]
//
// The photo comes from the photo cache (scripts/fetch-photos.sh; TESSEL_PHOTO_DIR overrides it).
// Each line printed gives the style, its file and the CPU/GPU difference statistics.
#include "QopGpuComparison.h"

#include "ImageIO/ImageIOCodec.h"
#include "QopLite/QopBorders.h"
#include "QopLite/QopFlare.h"
#include "QopLite/QopGradientMap.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

using namespace qop_test;

namespace {

struct Style {
    std::string name;
    BitmapOperation operation;
};

BitmapOperation border(std::function<void(QopBorderParams_t *)> set)
{
    return [set](QopBitmap_t *bitmap) {
        const size_t W = bitmap->width, H = bitmap->height;
        std::vector<float> line(std::max(W, H)), lineA(std::max(W, H)), lineB(std::max(W, H)), lineL(H), lineR(H),
            lineT(W);
        QopBorderParams_t p{};
        QopBorderInitParams(&p);
        p.line = line.data();
        p.lineA = lineA.data();
        p.lineB = lineB.data();
        p.lineL = lineL.data();
        p.lineR = lineR.data();
        p.lineT = lineT.data();
        p.color = {245, 240, 228, 255};
        p.seed = 2024;
        set(&p);
        QopBorders(bitmap, &p);
    };
}

std::vector<Style> styles()
{
    std::vector<Style> s = {
        {"border-halftone", border([](QopBorderParams_t *p) { p->style = QopBorderStyleHalftone; p->offset = 0.3; })},
        {"border-lines", border([](QopBorderParams_t *p) { p->style = QopBorderStyleLines; p->dw = 1.5; })},
        {"border-smooth", border([](QopBorderParams_t *p) { p->style = QopBorderStyleSmooth; p->offset = 8; })},
        {"border-shadow",
         border([](QopBorderParams_t *p) { p->style = QopBorderStyleShadow; p->dw = 2; p->shadowAngle = 45; })},
        {"border-fade", border([](QopBorderParams_t *p) { p->style = QopBorderStyleFade; p->dw = 2; p->offset = 0.5; })},
        {"border-rough", border([](QopBorderParams_t *p) { p->style = QopBorderStyleRough; p->offset = 6; })},
        {"border-viewfinder", border([](QopBorderParams_t *p) {
             p->style = QopBorderStyleViewfinder;
             p->color = {20, 20, 20, 255};
             p->offsetL = p->offsetR = p->offsetT = p->offsetB = 12;
         })},
        {"border-bulge", border([](QopBorderParams_t *p) { p->style = QopBorderStyleBulge; p->dw = 0.06; p->offset = 0.7; })},
        {"border-torn", border([](QopBorderParams_t *p) { p->style = QopBorderStyleTorn; p->dw = 0.03; p->amp = 0.015; })},
        {"border-torn2", border([](QopBorderParams_t *p) { p->style = QopBorderStyleTorn2; p->dw = 0.04; p->amp = 0.02; })},
        {"border-rect", border([](QopBorderParams_t *p) { p->style = QopBorderStyleRect; p->dw = 0.04; })},
        {"border-round", border([](QopBorderParams_t *p) {
             p->style = QopBorderStyleRound;
             p->dw = 0.06;
             p->dwB = 2.5;
             p->color = {250, 250, 250, 255};
         })},
        {"border-pellar", border([](QopBorderParams_t *p) { p->style = QopBorderStylePellar; })},
        {"border-hardrand", border([](QopBorderParams_t *p) {
             p->style = QopBorderStyleHardRand;
             p->color = {15, 10, 5, 255};
             p->intensity = 1.0;
             p->corner = 10;
             p->offset = 4;
         })},
    };
    const char *shapes[] = {"normal", "sharp", "mediumsharp", "ultrasharp"};
    for (int shape = 0; shape < 4; ++shape) {
        s.push_back({std::string("vignette-") + shapes[shape], border([shape](QopBorderParams_t *p) {
                         p->style = QopBorderStyleVignette;
                         p->color = {10, 5, 30, 230};
                         p->stretch = true;
                         p->vignetteScale = 0.6;
                         p->shapeMode = static_cast<QopBorderShapeMode_t>(shape);
                     })});
    }
    s.push_back({"vignette-overlay", border([](QopBorderParams_t *p) {
                     p->style = QopBorderStyleVignette;
                     p->color = {120, 40, 0, 255};
                     p->blendMode = QopBlendModeOverlay;
                     p->stretch = true;
                     p->vignetteScale = 0.5;
                 })});
    s.push_back({"vignette-multiply", border([](QopBorderParams_t *p) {
                     p->style = QopBorderStyleVignette;
                     p->color = {60, 80, 140, 255};
                     p->blendMode = QopBlendModeMultiply;
                     p->stretch = true;
                     p->vignetteScale = 0.5;
                     p->dx = 0.2;
                 })});
    const char *flares[] = {"sinc",   "gaussianthing", "gaussianthing2", "gaussianthing3", "gaussianthing4",
                            "anglegaussian", "stardom", "lobes", "lensflare", "stripe", "stripe2", "dimondflare",
                            "crossflare", "cornerflares", "fingerflare", "blobflare", "blah", "blob", "blob2"};
    for (int type = 0; type < 19; ++type) {
        s.push_back({std::string("flare-") + flares[type], [type](QopBitmap_t *b) {
                         const QopColor_t colour = {255, 214, 160, 220};
                         QopFlare(b, 0.6f, &colour, static_cast<QopFlareType_t>(type), 0.2f, -0.2f, 1.0f, 1.0f,
                                  type % 2 ? QopBlendModeScreen : QopBlendModeNormal);
                     }});
    }
    s.push_back({"ringflare", [](QopBitmap_t *b) {
                     const QopColor_t colour = {255, 230, 170, 200};
                     QopRingFlare(b, &colour, b->width * 0.6, b->height * 0.4, 0.12, 0.2);
                 }});
    const char *gradients[] = {"linear", "radial", "linearvignette"};
    for (int shape = 0; shape < 3; ++shape) {
        s.push_back({std::string("gradient-") + gradients[shape], [shape](QopBitmap_t *b) {
                         QopGradientColor_t colours[] = {{{30, 20, 160, 255}, 0}, {{240, 120, 40, 255}, 55},
                                                         {{250, 230, 120, 255}, 100}};
                         QopGradientOpacity_t opacities[] = {{0.9, 0}, {0.4, 50}, {0.9, 100}};
                         QopGradient_t gradient = {colours, opacities, 3, 3};
                         QopGradientShapeParams_t p;
                         QopGradientShapeParamsInit(&p);
                         p.shapeMode = static_cast<QopGradientShapeMode_t>(shape);
                         p.angle = 0.5;
                         p.scale = shape == 1 ? 0.6 : 0.8;
                         p.xCenter = shape == 1 ? 0.5 : 0.1;
                         p.vignetteScale = 0.6;
                         QopGradientApply(b, &p, &gradient, QopBlendModeNormal, 0.8);
                     }});
    }
    return s;
}

// The CPU result and the GPU result side by side, 8 black pixels apart.
TestBitmap sideBySide(const TestBitmap &left, const TestBitmap &right)
{
    const size_t gap = 8;
    TestBitmap sheet(left.width() * 2 + gap, left.height());
    sheet.fill({0, 0, 0, 255});
    for (size_t y = 0; y < left.height(); ++y) {
        for (size_t x = 0; x < left.width(); ++x) {
            sheet.at(x, y) = left.at(x, y);
            sheet.at(left.width() + gap + x, y) = right.at(x, y);
            sheet.at(x, y).a = 255;
            sheet.at(left.width() + gap + x, y).a = 255;
        }
    }
    return sheet;
}

} // namespace

int main(int argc, char **argv)
{
    const std::string outDir = argc > 1 ? argv[1] : "contact-sheet";
    const std::string photoName = argc > 2 ? argv[2] : "chelsea.png";
    TestBitmap photo;
    if (!loadPhoto(photoName, &photo)) {
        std::fprintf(stderr, "No photo %s in %s: run scripts/fetch-photos.sh first.\n", photoName.c_str(),
                     photoDirectory().c_str());
        return 2;
    }
    std::filesystem::create_directories(outDir);
    int failures = 0;
    for (const Style &style : styles()) {
        const GpuComparison result = compareCpuAndGpu(photo, style.operation);
        if (!result.ran) {
            std::fprintf(stderr, "No GL context: %s\n", result.skipReason.c_str());
            return 2;
        }
        const std::string path = outDir + "/" + style.name + ".png";
        std::string error;
        const TestBitmap sheet = sideBySide(result.cpu, result.gpu);
        if (!ImageIOWritePNGFile(path, sheet.data(), sheet.width(), sheet.height(), &error)) {
            std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
            ++failures;
            continue;
        }
        std::printf("%-22s %s  %s%s\n", style.name.c_str(), path.c_str(), describe(result.diff).c_str(),
                    result.glError != GL_NO_ERROR ? "  GL ERROR" : "");
    }
    return failures == 0 ? 0 : 1;
}
