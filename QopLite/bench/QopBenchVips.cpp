// QopBenchVips.cpp: the benchmark kernels computed with libvips, on one thread. libvips builds
// lazy pipelines, so every run ends in vips_image_write into an image that wraps the
// preallocated output: the pixels are really computed, and no fresh buffer is faulted in on
// each run. The operation cache is off, so each run builds and runs its pipeline as a caller
// would.
#include "QopBench.h"

#include <vips/vips.h>

#include <cstdlib>

namespace qop_bench {

namespace {

// Owns one reference to a VipsImage.
class Image {
public:
    Image() = default;
    explicit Image(VipsImage *image) : image_(image) {}
    Image(const Image &) = delete;
    Image &operator=(const Image &) = delete;
    ~Image()
    {
        if (image_)
            g_object_unref(image_);
    }
    VipsImage *get() const { return image_; }
    VipsImage **out() { return &image_; }

private:
    VipsImage *image_ = nullptr;
};

bool fail(std::string *error)
{
    *error = vips_error_buffer();
    vips_error_clear();
    return false;
}

Image wrap(const std::vector<QopColor_t> &pixels, int width, int height)
{
    return Image(vips_image_new_from_memory(pixels.data(), pixels.size() * sizeof(QopColor_t), width, height, 4,
                                            VIPS_FORMAT_UCHAR));
}

// Computes image into the caller's output buffer.
bool writeOut(const Image &image, const BenchImages &in, BenchOutput &out, std::string *error)
{
    Image dst = wrap(out.pixels, in.width, in.height);
    if (!dst.get() || vips_image_write(image.get(), dst.get()))
        return fail(error);
    return true;
}

bool runLut(const BenchImages &in, BenchOutput &out, std::string *error)
{
    static const std::vector<QopColor_t> table = [] {
        std::vector<QopColor_t> t(256);
        const LutTables &lut = lutTables();
        for (int i = 0; i < 256; ++i)
            t[i] = {lut.r[i], lut.g[i], lut.b[i], static_cast<uint8_t>(i)};
        return t;
    }();
    Image src = wrap(in.a, in.width, in.height);
    Image lut = wrap(table, 256, 1);
    Image mapped;
    if (vips_maplut(src.get(), mapped.out(), lut.get(), nullptr))
        return fail(error);
    return writeOut(mapped, in, out, error);
}

bool runMatrix(const BenchImages &in, BenchOutput &out, std::string *error)
{
    // vips_recomb has no offsets: the 4 x 4 product (alpha passed through) is followed by one
    // vips_linear that adds them with the kernel's 0.5, and a cast that truncates to bytes.
    // (vips_linear's own "uchar" output measured over twice as slow as linear + cast here.)
    double m[16] = {};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            m[row * 4 + col] = kMatrix[row * 4 + col];
    m[15] = 1;
    double scale[4] = {1, 1, 1, 1};
    double offset[4] = {kMatrix[3] + 0.5, kMatrix[7] + 0.5, kMatrix[11] + 0.5, 0.5};
    Image src = wrap(in.a, in.width, in.height);
    Image matrix(vips_image_new_matrix_from_array(4, 4, m, 16));
    Image product, shifted, bytes;
    if (vips_recomb(src.get(), product.out(), matrix.get(), nullptr) ||
        vips_linear(product.get(), shifted.out(), scale, offset, 4, nullptr) ||
        vips_cast_uchar(shifted.get(), bytes.out(), nullptr))
        return fail(error);
    return writeOut(bytes, in, out, error);
}

bool runHistogram(const BenchImages &in, BenchOutput &out, std::string *error)
{
    // vips_hist_find computes when called (it is a sink); r, g and b only, as the kernel does.
    Image src = wrap(in.a, in.width, in.height);
    Image rgb, hist;
    if (vips_extract_band(src.get(), rgb.out(), 0, "n", 3, nullptr) || vips_hist_find(rgb.get(), hist.out(), nullptr) ||
        vips_image_wio_input(hist.get()))
        return fail(error);
    const auto *counts = reinterpret_cast<const unsigned int *>(VIPS_IMAGE_ADDR(hist.get(), 0, 0));
    for (int i = 0; i < 256; ++i)
        for (int channel = 0; channel < 3; ++channel)
            out.histogram[channel * 256 + i] = counts[i * 3 + channel];
    return true;
}

bool runBlend(const BenchImages &in, BenchOutput &out, std::string *error)
{
    // (a + b) / 2 with the kernel's rounding: the sum, one scale and offset, a truncating cast.
    Image a = wrap(in.a, in.width, in.height);
    Image b = wrap(in.b, in.width, in.height);
    Image sum, scaled, bytes;
    if (vips_add(a.get(), b.get(), sum.out(), nullptr) ||
        vips_linear1(sum.get(), scaled.out(), kBlendAlpha, 0.5, nullptr) ||
        vips_cast_uchar(scaled.get(), bytes.out(), nullptr))
        return fail(error);
    return writeOut(bytes, in, out, error);
}

bool runSeparate(const BenchImages &in, BenchOutput &out, std::string *error)
{
    Image a = wrap(in.a, in.width, in.height);
    Image b = wrap(in.b, in.width, in.height);
    Image scaledA, scaledB, sum, bytes;
    if (vips_linear1(a.get(), scaledA.out(), kSeparateA, 0.0, nullptr) ||
        vips_linear1(b.get(), scaledB.out(), kSeparateB, 0.0, nullptr) ||
        vips_add(scaledA.get(), scaledB.get(), sum.out(), nullptr) ||
        vips_cast_uchar(sum.get(), bytes.out(), nullptr))
        return fail(error);
    return writeOut(bytes, in, out, error);
}

} // namespace

bool vipsInit(const char *argv0, std::string *error)
{
    // The environment variable is read at start-up; the call covers a library already started.
    setenv("VIPS_CONCURRENCY", "1", 1);
    if (VIPS_INIT(argv0))
        return fail(error);
    vips_concurrency_set(1);
    vips_cache_set_max(0);
    return true;
}

void vipsShutdown()
{
    vips_shutdown();
}

const std::vector<Implementation> &vipsImplementations()
{
    static const std::vector<Implementation> table = {
        {"lut", "libvips", nullptr, runLut},
        {"matrix", "libvips", nullptr, runMatrix},
        {"histogram", "libvips", nullptr, runHistogram},
        {"blend", "libvips", nullptr, runBlend},
        {"separate", "libvips", nullptr, runSeparate},
    };
    return table;
}

} // namespace qop_bench
