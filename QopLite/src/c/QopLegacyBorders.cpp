// Ready-made frames of the older effects: fixed parameter sets of the border engine, stacked
// grunge layers, and imitation camera read-outs drawn with dot-matrix text, lines and ring flares.
// Every random choice comes from a generator seeded with the effect's seed, so one seed gives one
// frame (the printed date aside).
#include "QopLite/QopLegacyBorders.h"

#include "QopLite/QopAlloc.h"
#include "QopLite/QopBorders.h"
#include "QopLite/QopColor.h"
#include "QopLite/QopDotMatrix.h"
#include "QopLite/QopFlare.h"
#include "QopLite/QopGLDotMatrix.h"
#include "QopLite/QopRandom.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr double kPi = 3.14159265358979323846;

const char *const kFNumbers[10] = {"1.4", "2", "2.8", "4", "5.6", "8", "11", "16", "22", "32"};
const char *const kISOs[5] = {"100", "200", "400", "800", "1600"};
const char *const kShutters[11] = {"1", "2", "4", "8", "15", "30", "60", "125", "250", "500", "1000"};
const char *const kPlaces[20] = {"ABERCRAVE", "ABILENE",  "AITH",        "BANFF",   "BLEAN",
                                 "CAARNDUNCAN", "CORRIEVORRIE", "COTTERSTOCK", "DALRYMPLE", "DRAFFAN",
                                 "DUBUQUE",   "EPSOM",    "FROLESWORTH", "GLASSEL", "GOLANT",
                                 "HARPENDEN", "HASSOP",   "HOVE",        "POPCASTLE", "WINKLEY"};
const char kScale[] = "+2..1..0..1..2-";

const QopColor_t kBlack = {0, 0, 0, 255};
const QopColor_t kWhite = {255, 255, 255, 255};

std::atomic<QopLegacyClock> gClock{nullptr};

// A table entry picked by a uniform draw. The generator can return exactly 1.0, which would index
// one past the end: that draw picks the last entry.
int pick(float u, int count) { return std::clamp(static_cast<int>(static_cast<float>(count) * u), 0, count - 1); }

// The work lines of one member, freed on every way out.
class WorkLines {
public:
    WorkLines() = default;
    WorkLines(const WorkLines &) = delete;
    WorkLines &operator=(const WorkLines &) = delete;
    ~WorkLines()
    {
        for (float *&line : lines_)
            QopArrayFree(reinterpret_cast<void **>(&line));
    }
    // Builds `count` more lines of `length` floats; false (nothing more built) when one is refused.
    bool add(int count, size_t length)
    {
        for (int i = 0; i < count; ++i) {
            if (used_ == kMax)
                return false;
            if (!QopArrayBuild(reinterpret_cast<void **>(&lines_[used_]), std::max<size_t>(length, 1), sizeof(float)))
                return false;
            ++used_;
        }
        return true;
    }
    float *operator[](int i) const { return lines_[i]; }

private:
    static constexpr int kMax = 8;
    float *lines_[kMax] = {};
    int used_ = 0;
};

size_t maxDim(const QopBitmap_t *bitmap) { return std::max(bitmap->width, bitmap->height); }

bool usable(const QopBitmap_t *bitmap)
{
    return bitmap && bitmap->width > 0 && bitmap->height > 0 && (bitmap->data || bitmap->glData);
}

QopBorderParams_t freshParams(QopBorderStyle_t style, QopColor_t color)
{
    QopBorderParams_t params{};
    QopBorderInitParams(&params);
    params.style = style;
    params.color = color;
    return params;
}

// One border-engine layer of a side or inset style, with its one work line.
bool simpleBorder(QopBitmap_t *bitmap, QopBorderParams_t params)
{
    WorkLines lines;
    if (!lines.add(1, maxDim(bitmap)))
        return false;
    params.line = lines[0];
    QopBorders(bitmap, &params);
    return true;
}

// The thin Round frame that several effects end with.
bool thinRound(QopBitmap_t *bitmap, QopColor_t color)
{
    QopBorderParams_t round = freshParams(QopBorderStyleRound, color);
    round.dw = 0.025;
    return simpleBorder(bitmap, round);
}

// The hard-edged bulging inset of the Tam Brew and Chrono frames.
bool bulgeInset(QopBitmap_t *bitmap, QopColor_t color)
{
    QopBorderParams_t bulge = freshParams(QopBorderStyleBulge, color);
    bulge.dw = 0.05;
    bulge.offset = 0.5;
    bulge.antiAliasing = 0.0;
    return simpleBorder(bitmap, bulge);
}

// A thin Round frame overlaid with six ragged translucent Torn2 strips, each less ragged and deeper
// than the one before. amp(n) gives the raggedness of pass n = 6 ... 1.
template <typename Amp>
void roundWithRoughStrips(QopBitmap_t *bitmap, uint32_t seed, QopColor_t roundColor, QopColor_t stripColor,
                          Amp amp, double hConst)
{
    WorkLines lines;
    if (!lines.add(3, maxDim(bitmap)))
        return;
    QopRNG_t rng;
    QopRNGSeed(&rng, seed);
    QopBorderParams_t round = freshParams(QopBorderStyleRound, roundColor);
    round.dw = 0.025;
    round.line = lines[0];
    QopBorders(bitmap, &round);
    for (int n = 6, k = 4; n >= 1; --n, ++k) {
        QopBorderParams_t strip = freshParams(QopBorderStyleTorn2, stripColor);
        strip.amp = amp(n);
        strip.dw = k * 0.005 + 0.01;
        strip.hConst = hConst;
        strip.lineA = lines[1];
        strip.lineB = lines[2];
        strip.seed = QopRNGNextInt(&rng);
        QopBorders(bitmap, &strip);
    }
}

// HardRand needs four lines of its own: left and right of H floats, top and bottom of W.
bool hardRand(QopBitmap_t *bitmap, QopBorderParams_t params)
{
    WorkLines lines;
    if (!lines.add(2, bitmap->height) || !lines.add(2, bitmap->width))
        return false;
    params.lineL = lines[0];
    params.lineR = lines[1];
    params.lineT = lines[2];
    params.lineB = lines[3];
    QopBorders(bitmap, &params);
    return true;
}

void text(QopBitmap_t *bitmap, const std::string &str, const QopColor_t &color, double radius, double x, double y,
          double charOff, double angle = 0.0)
{
    QopDotMatrix(bitmap, str.c_str(), static_cast<int>(str.size()), &color, static_cast<float>(radius),
                 static_cast<float>(x), static_cast<float>(y), static_cast<float>(charOff), 1.3f,
                 static_cast<float>(angle));
}

void line(QopBitmap_t *bitmap, const QopColor_t &color, double x1, double y1, double x2, double y2, double r)
{
    QopDrawLine(bitmap, &color, x1, y1, x2, y2, r);
}

// "Scale column": one label per entry, placed with character offset -(length / 2) - 2.
double columnOffset(const std::string &label) { return -(static_cast<double>(label.size()) / 2.0) - 2.0; }

std::string dateText()
{
    char buffer[128];
    QopLegacyBordersDateText(buffer, sizeof buffer);
    return buffer;
}

std::string needleLine(float u)
{
    std::string needle(15, ' ');
    needle[static_cast<size_t>(pick(u, 15))] = '@';
    return needle;
}

// Aperture, ISO and the shutter speed nearest the exposure they call for, as the camera read-outs
// print them; shutterIndex is the shutter's table position.
struct Exposure {
    std::string aperture;
    std::string iso;
    std::string shutter;
    int shutterIndex;
};

Exposure chooseExposure(QopRNG_t *rng)
{
    const float u1 = QopRNGNextFloat(rng);
    const float u2 = QopRNGNextFloat(rng);
    Exposure exposure;
    exposure.aperture = kFNumbers[pick(u1, 10)];
    exposure.iso = kISOs[pick(u2, 5)];
    const double aperture = std::atof(exposure.aperture.c_str());
    const double target = std::atoi(exposure.iso.c_str()) * 0.5 / (aperture * aperture / 64.0);
    int best = 0;
    for (int k = 1; k < 11; ++k) {
        const int entry = std::atoi(kShutters[k]);
        const int current = std::atoi(kShutters[best]);
        if (std::abs(static_cast<int>(entry - target)) < std::abs(static_cast<int>(current - target)))
            best = k;
    }
    exposure.shutter = kShutters[best];
    exposure.shutterIndex = best;
    return exposure;
}

std::string padRight(std::string s, size_t width)
{
    if (s.size() < width)
        s.append(width - s.size(), ' ');
    return s;
}

std::string padLeft(const std::string &s, size_t width)
{
    return s.size() < width ? std::string(width - s.size(), ' ') + s : s;
}

void vexaReadOut(QopBitmap_t *bitmap, uint32_t seed)
{
    const double W = static_cast<double>(bitmap->width);
    const double H = static_cast<double>(bitmap->height);
    QopRNG_t rng;
    QopRNGSeed(&rng, seed);
    const Exposure exposure = chooseExposure(&rng);
    const std::string lineA = padLeft(exposure.shutter, 4) + "/s f" + padRight(exposure.aperture, 3) + "  > |";
    const std::string lineB = "  | <     ISO:" + padRight(exposure.iso, 4);
    const std::string needle = needleLine(QopRNGNextFloat(&rng));
    const double d = std::min(W, H) * 0.0043 / W;
    const QopColor_t amber = {180, 120, 0, 255};
    text(bitmap, lineA, amber, d, -0.9, -0.978, 0.0);
    text(bitmap, lineB, amber, d, 0.9, -0.978, -static_cast<double>(lineB.size()));
    text(bitmap, kScale, amber, d / 1.7, 0.0, -0.985, -7.5);
    text(bitmap, needle, amber, d / 1.7, 0.0, 7.0 * d * 1.3 * W / H - 0.988, -7.5);
    const QopColor_t red = {230, 50, 40, 255};
    text(bitmap, dateText(), red, d, 0.85, 0.86, -15.0);
}

void cherryReadOut(QopBitmap_t *bitmap, uint32_t seed)
{
    const double W = static_cast<double>(bitmap->width);
    const double H = static_cast<double>(bitmap->height);
    QopRNG_t rng;
    QopRNGSeed(&rng, seed);
    const std::string place = std::string("<> <> ") + kPlaces[pick(QopRNGNextFloat(&rng), 20)] + " <> <>";
    const QopColor_t color = {230, 50, 40, 102};
    const double radius = std::min(W, H) * 0.003 / W;
    const double d = 0.03 * std::min(W, H) / W;
    const double length = static_cast<double>(place.size());
    const double angle = -kPi / 2.0;
    text(bitmap, place, color, radius, 1.0 - 1.4 * d, 0.85, 0.0, angle);
    text(bitmap, place, color, radius, 0.6 * d - 1.0, 0.85, 0.0, angle);
    text(bitmap, place, color, radius, 1.0 - 1.4 * d, -0.85, -length, angle);
    text(bitmap, place, color, radius, 0.6 * d - 1.0, -0.85, -length, angle);
}

void appendDot(float *buffer, int index, double x, double y, double r, double W, double H)
{
    float *dot = buffer + 4 * index;
    dot[0] = static_cast<float>(x * 2.0 / (W - 1.0) - 1.0);
    dot[1] = static_cast<float>(y * 2.0 / (H - 1.0) - 1.0);
    // The 9-texel sprite has a full-strength core of 1.5 texels and a rim of 3: spanning core and
    // rim over r + min(2r, 2) pixels matches the CPU dot exactly for r <= 1 and in coverage beyond.
    dot[2] = static_cast<float>(2.0 * (r + std::min(2.0 * r, 2.0)));
    dot[3] = 0.0f;
}

} // namespace

extern "C" {

void QopLegacyBordersSetClock(QopLegacyClock clock) { gClock.store(clock); }

void QopLegacyBordersDateText(char *buffer, size_t size)
{
    if (!buffer || size == 0)
        return;
    // Written out by hand rather than through strftime, whose names follow the process locale: the
    // read-out is always English.
    static const char *const kDays[7] = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};
    static const char *const kMonths[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                            "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    const QopLegacyClock clock = gClock.load();
    const time_t now = clock ? clock() : time(nullptr);
    struct tm local {};
    if (!localtime_r(&now, &local)) {
        buffer[0] = '\0';
        return;
    }
    std::snprintf(buffer, size, "%s %s %02d %d", kDays[std::clamp(local.tm_wday, 0, 6)],
                  kMonths[std::clamp(local.tm_mon, 0, 11)], local.tm_mday, local.tm_year + 1900);
}

void QopDrawBasicDotLegacy(QopBitmap_t *bitmap, const QopColor_t *color, double x, double y, double r)
{
    if (!bitmap || !bitmap->data || !color || bitmap->width == 0 || bitmap->height == 0)
        return;
    const double e = std::min(2.0 * r, 2.0);
    const double reach = r + e;
    const double left = std::max(std::floor(x - reach), 0.0);
    const double right = std::min(std::ceil(x + reach), static_cast<double>(bitmap->width) - 1.0);
    const double top = std::max(std::floor(y - reach), 0.0);
    const double bottom = std::min(std::ceil(y + reach), static_cast<double>(bitmap->height) - 1.0);
    if (!(left <= right) || !(top <= bottom))
        return;
    const double v = static_cast<double>(color->a) / 255.0;
    for (int i = static_cast<int>(top); i <= static_cast<int>(bottom); ++i) {
        for (int j = static_cast<int>(left); j <= static_cast<int>(right); ++j) {
            const double dist = std::hypot(j - x, i - y);
            if (dist > reach)
                continue;
            const double alpha = dist <= r ? v : v * (1.0 - (dist - r) / e);
            QopColorBlend(&bitmap->data[static_cast<size_t>(i) * bitmap->width + static_cast<size_t>(j)], color,
                          QopBlendModeNormal, static_cast<float>(alpha));
        }
    }
}

void QopDirtSpecLegacy(QopBitmap_t *bitmap, double x, double y, double r, const QopColor_t *color, uint32_t seed)
{
    if (!usable(bitmap) || !color)
        return;
    constexpr int kMaxDots = 1000;
    const double W = static_cast<double>(bitmap->width);
    const double H = static_cast<double>(bitmap->height);
    const bool onGPU = bitmap->glData != nullptr;
    // The GPU's clip mapping divides by size - 1: an image one pixel across gets no specks there.
    if (onGPU && (W < 2.0 || H < 2.0))
        return;
    float *buffer = nullptr;
    if (onGPU && !QopArrayBuild(reinterpret_cast<void **>(&buffer), 4 * kMaxDots, sizeof(float)))
        return;
    // The cluster's geometry is kept so that later dots can branch from any earlier one.
    double dotX[kMaxDots], dotY[kMaxDots], dotR[kMaxDots];
    dotX[0] = x;
    dotY[0] = y;
    dotR[0] = r;
    int count = 1;
    if (onGPU)
        appendDot(buffer, 0, x, y, r, W, H);
    else
        QopDrawBasicDotLegacy(bitmap, color, x, y, r);
    QopRNG_t rng;
    QopRNGSeed(&rng, seed);
    double radius = r;
    while (radius > 0.2 && count < kMaxDots) {
        radius *= 0.97;
        const int parent = std::clamp(static_cast<int>((count - 1) * QopRNGNextFloat(&rng)), 0, count - 1);
        const double angle = 2.0 * kPi * QopRNGNextFloat(&rng);
        const double reach = 0.5 * (dotR[parent] + radius);
        dotX[count] = dotX[parent] + reach * std::cos(angle);
        dotY[count] = dotY[parent] + reach * std::sin(angle);
        dotR[count] = radius;
        if (onGPU)
            appendDot(buffer, count, dotX[count], dotY[count], radius, W, H);
        else
            QopDrawBasicDotLegacy(bitmap, color, dotX[count], dotY[count], radius);
        ++count;
    }
    if (onGPU) {
        QopGLAddBasicDots(bitmap, color, buffer, count, static_cast<float>(r),
                          static_cast<float>(std::min(2.0 * r, 2.0)));
        QopArrayFree(reinterpret_cast<void **>(&buffer));
    }
}

void QopGrungeBorder1Legacy(QopBitmap_t *bitmap, const QopColor_t *color, uint32_t seed, double intensity)
{
    if (!usable(bitmap) || !color)
        return;
    WorkLines lines;
    if (!lines.add(1, maxDim(bitmap)))
        return;
    QopRNG_t rng;
    QopRNGSeed(&rng, seed);
    QopBorderParams_t torn = freshParams(QopBorderStyleTorn, *color);
    torn.line = lines[0];
    torn.seed = QopRNGNextInt(&rng);
    torn.amp = 0.02 * intensity;
    torn.dw = 0.02;
    torn.hConst = 0.5;
    QopBorders(bitmap, &torn);
    torn.amp = 0.01 * intensity;
    torn.hConst = 0.0;
    torn.seed = QopRNGNextInt(&rng);
    QopBorders(bitmap, &torn);
    QopBorderParams_t hard = freshParams(QopBorderStyleHardRand, *color);
    hard.intensity = intensity;
    hard.seed = QopRNGNextInt(&rng);
    hardRand(bitmap, hard);
}

void QopGrungeBorder4Legacy(QopBitmap_t *bitmap, uint32_t seed, double intensity)
{
    if (!usable(bitmap))
        return;
    WorkLines lines;
    if (!lines.add(1, maxDim(bitmap)))
        return;
    QopRNG_t rng;
    QopRNGSeed(&rng, seed);
    QopBorderParams_t faint = freshParams(QopBorderStyleTorn, {0, 0, 0, 51});
    faint.line = lines[0];
    faint.seed = QopRNGNextInt(&rng);
    faint.amp = 0.03 * intensity;
    faint.dw = 0.02;
    faint.hConst = 0.2;
    QopBorders(bitmap, &faint);
    QopBorderParams_t dark = freshParams(QopBorderStyleTorn, {0, 0, 0, 204});
    dark.line = lines[0];
    dark.seed = QopRNGNextInt(&rng);
    dark.amp = 0.02 * intensity;
    dark.dw = 0.01;
    dark.hConst = 0.5;
    QopBorders(bitmap, &dark);
    QopBorderParams_t hard = freshParams(QopBorderStyleHardRand, kBlack);
    hard.intensity = intensity;
    hard.seed = QopRNGNextInt(&rng);
    hard.offset = -static_cast<double>(bitmap->width + bitmap->height) / 150.0;
    hard.corner = 0.0;
    hard.scale = 0.5;
    hardRand(bitmap, hard);
}

void QopGrungeBorder5Legacy(QopBitmap_t *bitmap, uint32_t seed, double intensity)
{
    if (!usable(bitmap))
        return;
    WorkLines lines;
    if (!lines.add(1, maxDim(bitmap)))
        return;
    const double W = static_cast<double>(bitmap->width);
    const double H = static_cast<double>(bitmap->height);
    const double m = std::min(W, H);
    QopRNG_t rng;
    QopRNGSeed(&rng, seed);
    QopBorderParams_t base = freshParams(QopBorderStyleTorn, kBlack);
    base.line = lines[0];
    base.seed = QopRNGNextInt(&rng);
    base.amp = 0.0;
    base.dw = 0.04 * H / m;
    base.hConst = 0.2;
    QopBorders(bitmap, &base);
    const std::string place = std::string("&  >| ") + kPlaces[pick(QopRNGNextFloat(&rng), 20)] + " |<  &";
    const QopColor_t yellow = {255, 255, 0, 76};
    const double radius = 0.003 * m / W;
    text(bitmap, place, yellow, radius, 0.8, 0.935, -static_cast<double>(place.size()));
    text(bitmap, place, yellow, radius, -0.8, -0.957, 0.0);
    struct Layer {
        double amp;
        double hConst;
        QopMPDType_t noise;
    };
    const Layer layers[3] = {{0.0, 0.2, QopMPDUniform}, {0.02 * intensity, 0.5, QopMPDUniform},
                             {0.008 * intensity, 0.3, QopMPDNormal}};
    for (const Layer &layer : layers) {
        QopBorderParams_t torn = freshParams(QopBorderStyleTorn, kWhite);
        torn.line = lines[0];
        torn.seed = QopRNGNextInt(&rng);
        torn.dw = 0.01 * H / m;
        torn.amp = layer.amp;
        torn.hConst = layer.hConst;
        torn.noiseType = layer.noise;
        QopBorders(bitmap, &torn);
    }
}

void QopGrungeBorder6Legacy(QopBitmap_t *bitmap, uint32_t seed, double intensity)
{
    if (!usable(bitmap))
        return;
    const double W = static_cast<double>(bitmap->width);
    const double H = static_cast<double>(bitmap->height);
    const double S = W + H;
    QopRNG_t rng;
    QopRNGSeed(&rng, seed);
    const QopColor_t specks[2] = {{141, 88, 46, 26}, {70, 48, 26, 26}};
    for (const QopColor_t &color : specks) {
        for (int a = 7; a <= 9; ++a) {
            const double r = a * S / 4500.0;
            // Accumulated in double, as the frame was designed: 8, 6 and 3 rounds.
            for (double b = a; b < 10.0; b += 0.4) {
                for (int side = 0; side < 2; ++side) {
                    const double n = QopRNGNextFloatNormal(&rng);
                    const double u = QopRNGNextFloat(&rng);
                    const uint32_t speckSeed = QopRNGNextInt(&rng);
                    QopDirtSpecLegacy(bitmap, n * 0.02 * W + side * W, u * H, r, &color, speckSeed);
                }
                for (int side = 0; side < 2; ++side) {
                    const double u = QopRNGNextFloat(&rng);
                    const double n = QopRNGNextFloatNormal(&rng);
                    const uint32_t speckSeed = QopRNGNextInt(&rng);
                    QopDirtSpecLegacy(bitmap, u * W, n * 0.02 * H + side * H, r, &color, speckSeed);
                }
            }
        }
    }
    struct Layer {
        QopColor_t color;
        double alpha;
        double offset;
        double corner;
    };
    const Layer layers[3] = {{{200, 140, 80, 255}, 0.3, S / 80.0, S / 40.0},
                             {{113, 77, 40, 255}, 0.7, S / 200.0, S / 60.0},
                             {kBlack, 0.9, 0.0, S / 80.0}};
    for (const Layer &layer : layers) {
        QopBorderParams_t hard = freshParams(QopBorderStyleHardRand, layer.color);
        hard.intensity = intensity;
        hard.seed = QopRNGNextInt(&rng);
        hard.alpha = layer.alpha;
        hard.offset = layer.offset;
        hard.corner = layer.corner;
        if (!hardRand(bitmap, hard))
            return;
    }
}

void QopCameraDisplay2Legacy(QopBitmap_t *bitmap, uint32_t seed)
{
    if (!usable(bitmap))
        return;
    const double W = static_cast<double>(bitmap->width);
    const double H = static_cast<double>(bitmap->height);
    QopBorderParams_t rough = freshParams(QopBorderStyleRough, kBlack);
    rough.seed = seed;
    rough.offset = static_cast<double>((bitmap->width + bitmap->height) / 30) * 0.6;
    if (!simpleBorder(bitmap, rough))
        return;
    QopRNG_t rng;
    QopRNGSeed(&rng, seed);
    const int marked = pick(QopRNGNextFloat(&rng), 10);
    const double d = std::min(W, H) * 0.0043 / W;
    const QopColor_t labelColor = {216, 193, 163, 153};
    for (int i = 0; i < 10; ++i) {
        const double y = -0.5 + 0.11 * i;
        text(bitmap, kFNumbers[i], labelColor, 0.7 * d, 1.0, y, columnOffset(kFNumbers[i]));
        if (i == marked)
            line(bitmap, {230, 50, 40, 178}, 0.95 * W, (y + 1.0) * H / 2.0, 2.0 * W, H / 2.0, 0.7 * d * W);
    }
    const QopColor_t faint = {0, 0, 0, 25};
    for (double x : {W / 4.0, 3.0 * W / 4.0}) {
        line(bitmap, faint, x, 0.0, x, H / 3.0, 0.0);
        line(bitmap, faint, x, H, x, 2.0 * H / 3.0, 0.0);
    }
    for (double y : {H / 4.0, 3.0 * H / 4.0}) {
        line(bitmap, faint, 0.0, y, W / 3.0, y, 0.0);
        line(bitmap, faint, W, y, 2.0 * W / 3.0, y, 0.0);
    }
    line(bitmap, faint, 0.0, H / 2.0, W / 4.0, H / 2.0, 0.0);
    line(bitmap, faint, W, H / 2.0, 3.0 * W / 4.0, H / 2.0, 0.0);
    line(bitmap, faint, W / 2.0, 0.0, W / 2.0, H / 4.0, 0.0);
    line(bitmap, faint, W / 2.0, H, W / 2.0, 3.0 * H / 4.0, 0.0);
    const QopColor_t ring = {255, 255, 255, 71};
    QopRingFlare(bitmap, &ring, W / 2.0, H / 2.0, 0.08, 0.22);
}

void QopCameraDisplay3Legacy(QopBitmap_t *bitmap, uint32_t seed)
{
    if (!usable(bitmap))
        return;
    const double W = static_cast<double>(bitmap->width);
    const double H = static_cast<double>(bitmap->height);
    const QopColor_t faint = {0, 0, 0, 25};
    line(bitmap, faint, 0.0, H / 3.0, W, H / 3.0, 0.0);
    line(bitmap, faint, 0.0, 2.0 * H / 3.0, W, 2.0 * H / 3.0, 0.0);
    line(bitmap, faint, W / 3.0, 0.0, W / 3.0, H, 0.0);
    line(bitmap, faint, 2.0 * W / 3.0, 0.0, 2.0 * W / 3.0, H, 0.0);
    QopBorderParams_t smooth = freshParams(QopBorderStyleSmooth, kBlack);
    smooth.dw = 0.5;
    smooth.offset = std::max(W, H) / 15.0 * 0.6;
    if (!simpleBorder(bitmap, smooth))
        return;
    QopRNG_t rng;
    QopRNGSeed(&rng, seed);
    const Exposure exposure = chooseExposure(&rng);
    const double d = std::min(W, H) * 0.0043 / W;
    const QopColor_t green = {90, 250, 20, 153};
    for (int k = 0; k < 11; ++k) {
        const double y = 0.5 - 0.1 * k;
        text(bitmap, kShutters[k], green, 0.7 * d, 1.0, y, columnOffset(kShutters[k]));
        if (k == exposure.shutterIndex)
            line(bitmap, green, 0.97 * W, (y + 1.05) * H / 2.0, 2.0 * W, (y + 1.0) * H / 2.0, 0.7 * d * W);
    }
    text(bitmap, kScale, green, d / 1.2, -0.5, 0.915, -7.5);
    text(bitmap, needleLine(QopRNGNextFloat(&rng)), green, d / 1.2, -0.5, W * 7.0 * d * 1.3 / H + 0.918, -7.5);
    const std::string date = dateText();
    text(bitmap, date, green, d, 0.75, 0.92, -static_cast<double>(date.size()));
}

void QopCameraDisplay4Legacy(QopBitmap_t *bitmap, uint32_t seed, double intensity)
{
    if (!usable(bitmap))
        return;
    const double W = static_cast<double>(bitmap->width);
    const double H = static_cast<double>(bitmap->height);
    const double S = W + H;
    const double r = S / 250.0;
    const QopColor_t yellow = {255, 255, 0, 51};
    line(bitmap, yellow, 0.35 * W, 0.125 * H, 0.65 * W, 0.125 * H, r);
    line(bitmap, yellow, 0.35 * W, 0.875 * H, 0.65 * W, 0.875 * H, r);
    line(bitmap, yellow, 0.11 * W, 0.2 * H, 0.11 * W, 0.8 * H, r);
    line(bitmap, {110, 110, 0, 216}, 0.965 * W, 0.0, 0.965 * W, H, 0.07 * W);
    line(bitmap, {110, 0, 0, 216}, 0.947 * W, 0.04 * H, 1.2 * W, 0.3 * H, 0.05 * W);
    line(bitmap, {110, 0, 0, 216}, 0.947 * W, 0.96 * H, 1.2 * W, 0.7 * H, 0.05 * W);
    line(bitmap, {0, 0, 0, 127}, 0.895 * W, 0.0, 0.895 * W, H, 0.0);
    QopRNG_t rng;
    QopRNGSeed(&rng, seed);
    const int marked = pick(QopRNGNextFloat(&rng), 10);
    const QopColor_t ink = {0, 0, 0, 204};
    for (int i = 0; i < 10; ++i) {
        const double y = 0.9 - 0.2 * i;
        text(bitmap, kFNumbers[i], ink, 0.004, 0.95, y, columnOffset(kFNumbers[i]));
        text(bitmap, "%", ink, 0.004, 0.95, y + 0.1, -2.5);
        if (i == marked)
            line(bitmap, ink, 0.86 * W, (y * 0.5 + 0.52) * H, 0.86 * W, (y * 0.5 + 0.48) * H, r);
    }
    QopBorderParams_t hard = freshParams(QopBorderStyleHardRand, kBlack);
    hard.intensity = 1.0;
    hard.scale = 0.5;
    hard.seed = QopRNGNextInt(&rng);
    if (!hardRand(bitmap, hard))
        return;
    QopBorderParams_t vignette = freshParams(QopBorderStyleVignette, {0, 0, 150, 255});
    vignette.vignetteScale = S * 0.5 * 1.1 / (intensity + 1e-8);
    QopBorders(bitmap, &vignette);
    bulgeInset(bitmap, kBlack);
}

void QopCameraDisplay5Legacy(QopBitmap_t *bitmap, uint32_t seed)
{
    if (!usable(bitmap))
        return;
    const double W = static_cast<double>(bitmap->width);
    const double H = static_cast<double>(bitmap->height);
    const double S = W + H;
    QopBorderParams_t finder = freshParams(QopBorderStyleViewfinder, kBlack);
    finder.seed = seed;
    finder.offsetL = finder.offsetT = 0.005 * S;
    finder.offsetR = finder.offsetB = 0.035 * S;
    if (!simpleBorder(bitmap, finder))
        return;
    line(bitmap, kBlack, W - 0.03 * S, 0.8 * H - 0.035 * S, W - 0.03 * S, 0.2 * H, S / 50.0);
    QopRNG_t rng;
    QopRNGSeed(&rng, seed);
    const int aperture = pick(QopRNGNextFloat(&rng), 10);
    line(bitmap, {255, 255, 255, 51}, 0.4 * W, H - 0.0175 * S, 0.45 * W, H - 0.0175 * S, S / 100.0);
    const std::string fNumber = kFNumbers[aperture];
    text(bitmap, fNumber, kWhite, 0.0025 * S / W, -0.15, 0.5 * (1.0 - 2.5 * 0.035 * S / H) + 0.5,
         -static_cast<double>(fNumber.size()) / 2.0);
    for (int k = 0; k < 11; ++k) {
        const std::string shutter = kShutters[k];
        text(bitmap, shutter, {230, 230, 255, 204}, 0.7 * 0.0025 * S / W, 1.0, 0.4 - 0.1 * k,
             -static_cast<double>(shutter.size()) / 2.0 - 3.5);
    }
}

void QopCameraDisplay6Legacy(QopBitmap_t *bitmap)
{
    if (!usable(bitmap))
        return;
    const double W = static_cast<double>(bitmap->width);
    const double H = static_cast<double>(bitmap->height);
    const QopColor_t color = {255, 255, 255, 127};
    const char *const labels[5] = {"0.5", "1.0", "1.5", "2.0", "2.5"};
    const double e = std::min(W, H) * 0.0053 / W;
    for (int i = 0; i < 5; ++i) {
        const double row = (0.1 + 0.2 * i) * H;
        line(bitmap, color, 0.0, row, 0.08 * W, row, 0.0);
        text(bitmap, labels[i], color, e, -0.8, row / H * 2.0 - 1.0 - 2.0 * e, 0.0);
    }
    thinRound(bitmap, kBlack);
}

void QopCameraDisplay7Legacy(QopBitmap_t *bitmap, uint32_t seed)
{
    if (!usable(bitmap))
        return;
    const double W = static_cast<double>(bitmap->width);
    const double H = static_cast<double>(bitmap->height);
    const double S = W + H;
    const double yc = 0.5 * H - 0.05 * W;
    const double k = W / (0.5 * S);
    const QopColor_t faint = {255, 255, 255, 76};
    line(bitmap, faint, 0.46 * W, yc, 0.54 * W, yc, 0.0);
    QopRingFlare(bitmap, &faint, 0.5 * W, yc, 0.08 * k, 0.081 * k);
    const double cx = 0.5 * W;
    line(bitmap, faint, cx, yc - 0.18 * W, cx, yc - 0.25 * W, 0.0);
    line(bitmap, faint, cx, yc + 0.18 * W, cx, yc + 0.25 * W, 0.0);
    line(bitmap, faint, cx - 0.18 * W, yc, cx - 0.25 * W, yc, 0.0);
    line(bitmap, faint, cx + 0.18 * W, yc, cx + 0.25 * W, yc, 0.0);
    line(bitmap, kWhite, -W, H - 0.1 * W, 2.0 * W, H - 0.1 * W, 0.0);
    line(bitmap, kBlack, -W, H, 2.0 * W, H, 0.1 * W);
    QopRNG_t rng;
    QopRNGSeed(&rng, seed);
    const QopColor_t readOut = {255, 255, 255, 153};
    const double scaleY = 0.5 * (1.0 - 0.3 * W / H) + 0.5;
    text(bitmap, needleLine(QopRNGNextFloat(&rng)), readOut, 1.0 / 240.0, -0.5, scaleY + 0.0455 * W / H, -7.5);
    text(bitmap, kScale, readOut, 1.0 / 240.0, -0.5, scaleY, -7.5);
    const double p = 0.005 * W;
    const double hw = 0.25 * p;
    const double x0 = 0.8 * W;
    line(bitmap, kWhite, x0, H - 8.0 * p, x0 + 10.0 * p, H - 8.0 * p, hw);
    line(bitmap, kWhite, x0 + 10.0 * p, H - 8.0 * p, x0 + 10.0 * p, H - 14.0 * p, hw);
    line(bitmap, kWhite, x0 + 10.0 * p, H - 14.0 * p, x0, H - 14.0 * p, hw);
    line(bitmap, kWhite, x0, H - 14.0 * p, x0, H - 8.0 * p, hw);
    line(bitmap, kWhite, x0 - p, H - 10.0 * p, x0 - p, H - 12.0 * p, hw);
    const double v = 4.0 * QopRNGNextFloat(&rng);
    const double bars[4] = {8.0, 6.0, 4.0, 2.0};
    for (int i = 0; i < 4; ++i) {
        if (v > i)
            line(bitmap, kWhite, x0 + bars[i] * p, H - 10.0 * p, x0 + bars[i] * p, H - 12.0 * p, hw);
    }
}

void QopEffectSanCarmenBorder(QopBitmap_t *bitmap, QopEffectParams_t *params)
{
    if (!usable(bitmap) || !params)
        return;
    const double intensity = params->intensity;
    roundWithRoughStrips(bitmap, params->seed, {225, 225, 200, 255}, {225, 225, 200, 51},
                         [intensity](int n) { return intensity * 0.06 * n / 10.0; }, 0.4);
}

void QopEffectTamBrewBorder(QopBitmap_t *bitmap, QopEffectParams_t *params)
{
    if (!usable(bitmap) || !params)
        return;
    bulgeInset(bitmap, kWhite);
}

void QopEffectVexaBorder(QopBitmap_t *bitmap, QopEffectParams_t *params)
{
    if (!usable(bitmap) || !params)
        return;
    QopBorderParams_t round = freshParams(QopBorderStyleRound, kBlack);
    round.dw = 0.008;
    round.dwT = 6.0;
    round.dwB = 4.0;
    round.dwL = 4.0;
    round.dwR = 4.0;
    if (!simpleBorder(bitmap, round))
        return;
    vexaReadOut(bitmap, params->seed);
}

void QopEffectSingeBorder(QopBitmap_t *bitmap, QopEffectParams_t *params)
{
    if (!usable(bitmap) || !params)
        return;
    QopBorderParams_t fade = freshParams(QopBorderStyleFade, kBlack);
    fade.offset = 1.0;
    fade.fadeCorrection = 1.0;
    simpleBorder(bitmap, fade);
}

void QopEffectAquaBorder(QopBitmap_t *bitmap, QopEffectParams_t *params)
{
    if (!usable(bitmap) || !params)
        return;
    thinRound(bitmap, kWhite);
}

void QopEffectThreshBorder(QopBitmap_t *bitmap, QopEffectParams_t *params)
{
    if (!usable(bitmap) || !params)
        return;
    thinRound(bitmap, kBlack);
}

void QopEffectEdgewoodBorder(QopBitmap_t *bitmap, QopEffectParams_t *params)
{
    if (!usable(bitmap) || !params)
        return;
    const double intensity = params->intensity;
    roundWithRoughStrips(bitmap, params->seed, kWhite, kWhite,
                         [intensity](int n) { return intensity * 0.03 * n / 10.0; }, 0.4);
}

void QopEffectPurpleBorder(QopBitmap_t *bitmap, QopEffectParams_t *params)
{
    if (!usable(bitmap) || !params)
        return;
    WorkLines lines;
    if (!lines.add(1, maxDim(bitmap)))
        return;
    QopBorderParams_t block = freshParams(QopBorderStyleTorn, kBlack);
    block.line = lines[0];
    block.seed = params->seed;
    block.amp = params->intensity * 0.02;
    block.dw = 0.02;
    block.hConst = 0.5;
    QopBorders(bitmap, &block);
    block.style = QopBorderStyleRound;
    block.dw = 0.02;
    QopBorders(bitmap, &block);
}

void QopEffectCherryBorder(QopBitmap_t *bitmap, QopEffectParams_t *params)
{
    if (!usable(bitmap) || !params)
        return;
    QopBorderParams_t round = freshParams(QopBorderStyleRound, kWhite);
    round.dw = 0.03;
    if (!simpleBorder(bitmap, round))
        return;
    cherryReadOut(bitmap, params->seed);
}

void QopEffectCrossprocessBorder(QopBitmap_t *bitmap, QopEffectParams_t *params)
{
    if (!usable(bitmap) || !params)
        return;
    QopBorderParams_t torn = freshParams(QopBorderStyleTorn, kWhite);
    torn.seed = params->seed;
    torn.amp = params->intensity * 0.015;
    torn.dw = 0.02;
    torn.hConst = 0.5;
    simpleBorder(bitmap, torn);
}

void QopEffectFadedBorder(QopBitmap_t *bitmap, QopEffectParams_t *params)
{
    if (!usable(bitmap) || !params)
        return;
    const double amp = params->intensity * 0.03;
    roundWithRoughStrips(bitmap, params->seed, kWhite, kWhite, [amp](int) { return amp; }, 8.0);
}

void QopEffectIthacaBorder(QopBitmap_t *bitmap, QopEffectParams_t *params)
{
    if (!usable(bitmap) || !params)
        return;
    simpleBorder(bitmap, freshParams(QopBorderStyleSmooth, kWhite));
}

void QopEffectSunburnBorder(QopBitmap_t *bitmap, QopEffectParams_t *params)
{
    if (!usable(bitmap) || !params)
        return;
    QopBorderParams_t fade = freshParams(QopBorderStyleFade, kBlack);
    fade.offset = 0.0;
    fade.fadeCorrection = 2.222;
    simpleBorder(bitmap, fade);
}

void QopEffectEarthyBorder(QopBitmap_t *bitmap, QopEffectParams_t *params)
{
    if (!usable(bitmap) || !params)
        return;
    const QopColor_t moss = {0, 15, 0, 255};
    QopGrungeBorder1Legacy(bitmap, &moss, params->seed, params->intensity);
}

void QopEffectSolarBorder(QopBitmap_t *bitmap, QopEffectParams_t *params)
{
    if (!usable(bitmap) || !params)
        return;
    QopGrungeBorder6Legacy(bitmap, params->seed, params->intensity);
}

void QopEffectOldThreshBorder(QopBitmap_t *bitmap, QopEffectParams_t *params)
{
    if (!usable(bitmap) || !params)
        return;
    const double intensity = params->intensity;
    roundWithRoughStrips(bitmap, params->seed, kWhite, {255, 255, 255, 51},
                         [intensity](int n) { return intensity * 0.06 * n / 10.0; }, 0.4);
}

void QopEffectTovaquinbelBorder(QopBitmap_t *bitmap, QopEffectParams_t *params)
{
    if (!usable(bitmap) || !params)
        return;
    QopGrungeBorder5Legacy(bitmap, params->seed, params->intensity);
}

void QopEffectBrownieBorder(QopBitmap_t *bitmap, QopEffectParams_t *params)
{
    if (!usable(bitmap) || !params)
        return;
    QopGrungeBorder4Legacy(bitmap, params->seed, params->intensity);
}

void QopEffectOrcaBorder(QopBitmap_t *bitmap, QopEffectParams_t *params)
{
    if (!usable(bitmap) || !params)
        return;
    QopCameraDisplay2Legacy(bitmap, params->seed);
}

void QopEffectChronoBorder(QopBitmap_t *bitmap, QopEffectParams_t *params)
{
    if (!usable(bitmap) || !params)
        return;
    QopCameraDisplay4Legacy(bitmap, params->seed, params->intensity);
}

void QopEffectTitanBorder(QopBitmap_t *bitmap, QopEffectParams_t *params)
{
    if (!usable(bitmap) || !params)
        return;
    QopCameraDisplay5Legacy(bitmap, params->seed);
}

void QopEffectCabanaBorder(QopBitmap_t *bitmap, QopEffectParams_t *params)
{
    if (!usable(bitmap) || !params)
        return;
    QopCameraDisplay6Legacy(bitmap);
}

void QoeEffectBordeauxBorder(QopBitmap_t *bitmap, QopEffectParams_t *params)
{
    if (!usable(bitmap) || !params)
        return;
    QopCameraDisplay7Legacy(bitmap, params->seed);
}

void QopEffectCovertBorder(QopBitmap_t *bitmap, QopEffectParams_t *params)
{
    if (!usable(bitmap) || !params)
        return;
    QopRNG_t rng;
    QopRNGSeed(&rng, params->seed);
    QopRNGNextInt(&rng);
    QopCameraDisplay3Legacy(bitmap, QopRNGNextInt(&rng));
}

void QopEffectPellarBWBorder(QopBitmap_t *bitmap, QopEffectParams_t *params)
{
    if (!usable(bitmap) || !params)
        return;
    WorkLines lines;
    if (!lines.add(1, maxDim(bitmap)))
        return;
    QopBorderParams_t block = freshParams(QopBorderStyleRect, {127, 127, 127, 255});
    block.line = lines[0];
    block.dw = 0.021;
    QopBorders(bitmap, &block);
    block.color = kWhite;
    block.dw = 0.02;
    QopBorders(bitmap, &block);
}

void QopEffectPellarTintypeBorder(QopBitmap_t *bitmap, QopEffectParams_t *params)
{
    if (!usable(bitmap) || !params)
        return;
    QopBorderParams_t pellar = freshParams(QopBorderStylePellar, kBlack);
    pellar.size = 1.0;
    simpleBorder(bitmap, pellar);
}

} // extern "C"
