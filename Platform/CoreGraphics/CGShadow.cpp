// Shadows: Cairo has none, so a shape's shadow is the Gaussian blur of its alpha, tinted with
// the shadow colour. The blur runs in two separable passes over floats.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <deque>
#include <vector>

#include "CGInternal.h"

namespace {

std::vector<float> gaussianKernel(double sigma)
{
    int radius = int(std::ceil(3 * sigma));
    std::vector<float> k(size_t(2 * radius + 1));
    double sum = 0;
    for (int i = -radius; i <= radius; ++i) sum += k[size_t(i + radius)] = float(std::exp(-0.5 * i * i / (sigma * sigma)));
    for (float& v : k) v = float(v / sum);
    return k;
}

// One pass along rows (step 1) or columns (step = width) of a w x h float plane. A window whose
// values are all the same (the empty outside and the solid inside of a shape, most of a shadow)
// gives the sum the loop would give for it, kept from its first use: the same additions in the
// same order, so the same floats, without the loop.
void blurPass(const std::vector<float>& in, std::vector<float>& out, int w, int h, const std::vector<float>& k,
              bool alongRows)
{
    int radius = int(k.size() / 2);
    int n = alongRows ? w : h, lines = alongRows ? h : w;
    size_t step = alongRows ? 1 : size_t(w), lineStep = alongRows ? size_t(w) : 1;
    std::vector<int> runEnd(static_cast<size_t>(n));
    float cachedValue = 0, cachedSum = 0;
    bool cached = false;
    for (int line = 0; line < lines; ++line) {
        const float* src = in.data() + size_t(line) * lineStep;
        float* dst = out.data() + size_t(line) * lineStep;
        // runEnd[i]: the last index of the run of equal values that i is in.
        for (int i = n - 1; i >= 0; --i)
            runEnd[size_t(i)] = i + 1 < n && src[size_t(i) * step] == src[size_t(i + 1) * step] ? runEnd[size_t(i + 1)] : i;
        for (int i = 0; i < n; ++i) {
            int lo = std::max(0, i - radius), hi = std::min(n - 1, i + radius);
            const float v = src[size_t(lo) * step];
            if (lo == i - radius && hi == i + radius && runEnd[size_t(lo)] >= hi) {
                if (!cached || cachedValue != v) {
                    float acc = 0;
                    for (int j = lo; j <= hi; ++j) acc += v * k[size_t(j - i + radius)];
                    cachedValue = v, cachedSum = acc, cached = true;
                }
                dst[size_t(i) * step] = cachedSum;
                continue;
            }
            float acc = 0;
            for (int j = lo; j <= hi; ++j) acc += src[size_t(j) * step] * k[size_t(j - i + radius)];
            dst[size_t(i) * step] = acc;
        }
    }
}

// The shadows blurred last on this thread, with what they were blurred from. A window drawn again
// around a layer that did not change blurs the same shape again: the same alpha, radius and colour
// give the same shadow, handed out again instead of blurred anew.
class RecentShadows {
public:
    struct Key {
        int width = 0, height = 0;
        double sigma = 0;
        CGRGBA color{};
        std::vector<uint8_t> alpha;

        bool operator==(const Key& o) const
        {
            return width == o.width && height == o.height && sigma == o.sigma && color.r == o.color.r &&
                   color.g == o.color.g && color.b == o.color.b && color.a == o.color.a && alpha == o.alpha;
        }
    };

    ~RecentShadows()
    {
        for (Entry& e : entries_) cairo_surface_destroy(e.shadow);
    }

    // A new reference to the shadow blurred from `key`, or null.
    cairo_surface_t* find(const Key& key) const
    {
        for (const Entry& e : entries_)
            if (e.key == key) return cairo_surface_reference(e.shadow);
        return nullptr;
    }

    void keep(Key key, cairo_surface_t* shadow)
    {
        // A handful: the shadowed layers of one window.
        constexpr size_t kMostKept = 8;
        if (entries_.size() == kMostKept) {
            cairo_surface_destroy(entries_.front().shadow);
            entries_.pop_front();
        }
        entries_.push_back({std::move(key), cairo_surface_reference(shadow)});
    }

private:
    struct Entry {
        Key key;
        cairo_surface_t* shadow;
    };
    std::deque<Entry> entries_;
};

}  // namespace

cairo_surface_t* CGCreateShadowSurface(cairo_surface_t* content, double sigma, const CGRGBA& color)
{
    cairo_surface_flush(content);
    int w = cairo_image_surface_get_width(content), h = cairo_image_surface_get_height(content);
    int srcStride = cairo_image_surface_get_stride(content);
    const uint8_t* src = cairo_image_surface_get_data(content);
    RecentShadows::Key key{w, h, sigma, color, std::vector<uint8_t>(size_t(w) * size_t(h))};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            key.alpha[size_t(y) * size_t(w) + size_t(x)] = src[size_t(y) * size_t(srcStride) + size_t(x) * 4 + 3];
    thread_local RecentShadows recent;
    if (cairo_surface_t* known = recent.find(key)) return known;
    std::vector<float> a(key.alpha.size()), tmp(a.size());
    for (size_t i = 0; i < a.size(); ++i) a[i] = key.alpha[i] / 255.0f;
    if (sigma >= 0.1) {
        std::vector<float> k = gaussianKernel(sigma);
        blurPass(a, tmp, w, h, k, true);
        blurPass(tmp, a, w, h, k, false);
    }
    cairo_surface_t* shadow = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_surface_flush(shadow);
    uint8_t* dst = cairo_image_surface_get_data(shadow);
    int dstStride = cairo_image_surface_get_stride(shadow);
    auto channel = [](float v) { return uint8_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255)); };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float alpha = a[size_t(y) * size_t(w) + size_t(x)] * color.a;
            uint8_t* p = dst + size_t(y) * size_t(dstStride) + size_t(x) * 4;
            p[0] = channel(color.b * alpha);
            p[1] = channel(color.g * alpha);
            p[2] = channel(color.r * alpha);
            p[3] = channel(alpha);
        }
    cairo_surface_mark_dirty(shadow);
    recent.keep(std::move(key), shadow);
    return shadow;
}
