#pragma once
// The fixed replay session as plain operations, for the libraries people would use instead. Each
// peer performs the same six steps on the same RGBA bytes, one thread, each step's result made
// real in memory before the next starts, and reports milliseconds per step.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qz_bench {

// Opaque RGBA, rows without gaps.
struct RGBAImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

struct PeerSession {
    // crop: the kept rectangle, in pixels.
    int cropX = 0, cropY = 0, cropWidth = 0, cropHeight = 0;
    // straighten: rotated about the centre by the angle (degrees, counter-clockwise as shown),
    // bilinear, keeping the centre width / scale x height / scale (whole pixels).
    double angleDegrees = 0;
    double scale = 1;
    // brightness and contrast: one curve each, the same on r, g and b.
    std::array<std::uint8_t, 256> brightness{};
    std::array<std::uint8_t, 256> contrast{};
    // saturation: r', g', b' from r, g, b, row by row.
    std::array<float, 9> saturation{};
    // sharpness: an unsharp mask, 1.5 x image - 0.5 x Gaussian blur of this sigma.
    double sharpenSigma = 0;
};

inline const std::vector<std::string>& peerStepNames()
{
    static const std::vector<std::string> names = {"crop",     "straighten", "brightness",
                                                   "contrast", "saturation", "sharpness"};
    return names;
}

// Each runs the session once: *milliseconds gets one figure per step; false, with the library's
// reason, when a step fails. init pins the library to one thread.
#ifdef QZ_BENCH_HAVE_VIPS
bool vipsInit(const char* argv0, std::string* error);
bool vipsRunSession(const RGBAImage& input, const PeerSession& session, std::vector<double>* milliseconds,
                    RGBAImage* output, std::string* error);
#endif
#ifdef QZ_BENCH_HAVE_OPENCV
void openCvInit();
bool openCvRunSession(const RGBAImage& input, const PeerSession& session, std::vector<double>* milliseconds,
                      RGBAImage* output, std::string* error);
#endif

}  // namespace qz_bench
