// The replay session with libvips on one thread, its operation cache off. libvips builds lazy
// pipelines, so each step ends by writing into a memory image: the next step starts from real
// pixels, as ours does.
#include "QzReplayBenchPeers.h"

#include <vips/vips.h>

#include <chrono>
#include <functional>

namespace qz_bench {

namespace {

// Owns one reference.
class Image {
public:
    Image() = default;
    explicit Image(VipsImage* image) : image_(image) {}
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;
    Image(Image&& other) noexcept : image_(other.image_) { other.image_ = nullptr; }
    Image& operator=(Image&& other) noexcept
    {
        std::swap(image_, other.image_);
        return *this;
    }
    ~Image()
    {
        if (image_) g_object_unref(image_);
    }
    VipsImage* get() const { return image_; }
    VipsImage** out() { return &image_; }

private:
    VipsImage* image_ = nullptr;
};

bool fail(std::string* error)
{
    *error = vips_error_buffer();
    vips_error_clear();
    return false;
}

// The pipeline's pixels, computed into a memory image.
bool materialise(const Image& pipeline, Image* result)
{
    Image memory(vips_image_new_memory());
    if (!pipeline.get() || vips_image_write(pipeline.get(), memory.get())) return false;
    *result = std::move(memory);
    return true;
}

// The curve on r, g and b; alpha kept.
Image curveTable(const std::array<std::uint8_t, 256>& curve)
{
    std::vector<std::uint8_t> table(256 * 4);
    for (int i = 0; i < 256; ++i) {
        table[i * 4] = table[i * 4 + 1] = table[i * 4 + 2] = curve[i];
        table[i * 4 + 3] = std::uint8_t(i);
    }
    Image wrapped(vips_image_new_from_memory_copy(table.data(), table.size(), 256, 1, 4, VIPS_FORMAT_UCHAR));
    return wrapped;
}

}  // namespace

bool vipsInit(const char* argv0, std::string* error)
{
    if (VIPS_INIT(argv0)) return fail(error);
    vips_concurrency_set(1);
    vips_cache_set_max(0);
    return true;
}

bool vipsRunSession(const RGBAImage& input, const PeerSession& session, std::vector<double>* milliseconds,
                    RGBAImage* output, std::string* error)
{
    milliseconds->clear();
    Image image(vips_image_new_from_memory(input.pixels.data(), input.pixels.size(), input.width, input.height, 4,
                                           VIPS_FORMAT_UCHAR));
    if (!image.get()) return fail(error);
    auto timed = [&](const std::function<bool(Image*)>& step) {
        const auto start = std::chrono::steady_clock::now();
        Image pipeline;
        if (!step(&pipeline) || !materialise(pipeline, &image)) return false;
        milliseconds->push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        return true;
    };
    auto curve = [&](const std::array<std::uint8_t, 256>& table) {
        return [&image, curve = &table](Image* out) {
            Image lut = curveTable(*curve);
            return lut.get() && !vips_maplut(image.get(), out->out(), lut.get(), nullptr);
        };
    };
    const bool ran = timed([&](Image* out) {
                         return !vips_extract_area(image.get(), out->out(), session.cropX, session.cropY,
                                                   session.cropWidth, session.cropHeight, nullptr);
                     }) &&
                     timed([&](Image* out) {
                         const int width = int(vips_image_get_width(image.get()) / session.scale);
                         const int height = int(vips_image_get_height(image.get()) / session.scale);
                         Image rotated;
                         // Rotated about its centre into the bounding box; the kept part is that box's centre.
                         if (vips_similarity(image.get(), rotated.out(), "angle", -session.angleDegrees, "interpolate",
                                             vips_interpolate_bilinear_static(), nullptr))
                             return false;
                         const int left = (vips_image_get_width(rotated.get()) - width) / 2;
                         const int top = (vips_image_get_height(rotated.get()) - height) / 2;
                         return !vips_extract_area(rotated.get(), out->out(), left, top, width, height, nullptr);
                     }) &&
                     timed(curve(session.brightness)) && timed(curve(session.contrast)) && timed([&](Image* out) {
                         Image colour, alpha, matrix(vips_image_new_matrix(3, 3)), mixed, bytes;
                         for (int i = 0; i < 9; ++i)
                             *VIPS_MATRIX(matrix.get(), i % 3, i / 3) = session.saturation[std::size_t(i)];
                         return !vips_extract_band(image.get(), colour.out(), 0, "n", 3, nullptr) &&
                                !vips_extract_band(image.get(), alpha.out(), 3, nullptr) &&
                                !vips_recomb(colour.get(), mixed.out(), matrix.get(), nullptr) &&
                                !vips_cast(mixed.get(), bytes.out(), VIPS_FORMAT_UCHAR, nullptr) &&
                                !vips_bandjoin2(bytes.get(), alpha.get(), out->out(), nullptr);
                     }) &&
                     timed([&](Image* out) {
                         Image blurred, combined;
                         double weights[2] = {1.5, -0.5};
                         VipsImage* pair[2] = {image.get(), nullptr};
                         if (vips_gaussblur(image.get(), blurred.out(), session.sharpenSigma, nullptr)) return false;
                         pair[1] = blurred.get();
                         // 1.5 x image - 0.5 x blur, rounded and clamped into bytes.
                         Image scaledImage, scaledBlur;
                         return !vips_linear1(pair[0], scaledImage.out(), weights[0], 0.5, nullptr) &&
                                !vips_linear1(pair[1], scaledBlur.out(), weights[1], 0.0, nullptr) &&
                                !vips_add(scaledImage.get(), scaledBlur.get(), combined.out(), nullptr) &&
                                !vips_cast(combined.get(), out->out(), VIPS_FORMAT_UCHAR, nullptr);
                     });
    if (!ran) return fail(error);
    output->width = vips_image_get_width(image.get());
    output->height = vips_image_get_height(image.get());
    std::size_t size = 0;
    void* bytes = vips_image_write_to_memory(image.get(), &size);
    if (!bytes) return fail(error);
    output->pixels.assign(static_cast<std::uint8_t*>(bytes), static_cast<std::uint8_t*>(bytes) + size);
    g_free(bytes);
    return true;
}

}  // namespace qz_bench
