// QopBenchOpenCV.cpp: the benchmark kernels computed with OpenCV, on one thread. Every call
// writes into the preallocated output (the destination Mat wraps it, so OpenCV never
// reallocates); the histogram takes one cv::calcHist per channel, as OpenCV is used for it.
#include "QopBench.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

namespace qop_bench {

namespace {

cv::Mat wrap(const std::vector<QopColor_t> &pixels, int width, int height)
{
    return cv::Mat(height, width, CV_8UC4, const_cast<QopColor_t *>(pixels.data()));
}

// A destination Mat that must still be the caller's buffer after the call.
bool keptBuffer(const cv::Mat &dst, const BenchOutput &out, std::string *error)
{
    if (dst.data == reinterpret_cast<const uchar *>(out.pixels.data()))
        return true;
    *error = "OpenCV reallocated the destination";
    return false;
}

bool runLut(const BenchImages &in, BenchOutput &out, std::string *error)
{
    static const cv::Mat table = [] {
        cv::Mat t(1, 256, CV_8UC4);
        const LutTables &lut = lutTables();
        for (int i = 0; i < 256; ++i)
            t.at<cv::Vec4b>(0, i) = cv::Vec4b(lut.r[i], lut.g[i], lut.b[i], static_cast<uchar>(i));
        return t;
    }();
    cv::Mat dst = wrap(out.pixels, in.width, in.height);
    cv::LUT(wrap(in.a, in.width, in.height), table, dst);
    return keptBuffer(dst, out, error);
}

bool runMatrix(const BenchImages &in, BenchOutput &out, std::string *error)
{
    // 4 x 5: the colour matrix with its offsets in the last column, and alpha passed through.
    static const cv::Mat m = [] {
        cv::Mat t = cv::Mat::zeros(4, 5, CV_32F);
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < 3; ++col)
                t.at<float>(row, col) = kMatrix[row * 4 + col];
            t.at<float>(row, 4) = kMatrix[row * 4 + 3];
        }
        t.at<float>(3, 3) = 1;
        return t;
    }();
    cv::Mat dst = wrap(out.pixels, in.width, in.height);
    cv::transform(wrap(in.a, in.width, in.height), dst, m);
    return keptBuffer(dst, out, error);
}

bool runHistogram(const BenchImages &in, BenchOutput &out, std::string *)
{
    const cv::Mat src = wrap(in.a, in.width, in.height);
    const int histSize[] = {256};
    const float range[] = {0, 256};
    const float *ranges[] = {range};
    for (int channel = 0; channel < 3; ++channel) {
        cv::Mat hist;
        const int channels[] = {channel};
        cv::calcHist(&src, 1, channels, cv::Mat(), hist, 1, histSize, ranges, true, false);
        for (int i = 0; i < 256; ++i)
            out.histogram[channel * 256 + i] = static_cast<uint32_t>(hist.at<float>(i));
    }
    return true;
}

bool runBlend(const BenchImages &in, BenchOutput &out, std::string *error)
{
    cv::Mat dst = wrap(out.pixels, in.width, in.height);
    cv::addWeighted(wrap(in.a, in.width, in.height), 1 - kBlendAlpha, wrap(in.b, in.width, in.height), kBlendAlpha,
                    0.0, dst);
    return keptBuffer(dst, out, error);
}

bool runSeparate(const BenchImages &in, BenchOutput &out, std::string *error)
{
    // addWeighted rounds where the kernel truncates: results may differ by one level.
    cv::Mat dst = wrap(out.pixels, in.width, in.height);
    cv::addWeighted(wrap(in.a, in.width, in.height), kSeparateA, wrap(in.b, in.width, in.height), kSeparateB, 0.0,
                    dst);
    return keptBuffer(dst, out, error);
}

} // namespace

bool openCvInit(std::string *)
{
    cv::setNumThreads(1);
    return true;
}

const std::vector<Implementation> &openCvImplementations()
{
    static const std::vector<Implementation> table = {
        {"lut", "OpenCV", nullptr, runLut},
        {"matrix", "OpenCV", nullptr, runMatrix},
        {"histogram", "OpenCV", nullptr, runHistogram},
        {"blend", "OpenCV", nullptr, runBlend},
        {"separate", "OpenCV", nullptr, runSeparate},
    };
    return table;
}

} // namespace qop_bench
