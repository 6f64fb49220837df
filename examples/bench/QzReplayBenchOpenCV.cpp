// The replay session with OpenCV on one thread: an ROI copy, warpAffine, LUT, transform and an
// unsharp mask from GaussianBlur and addWeighted.
#include "QzReplayBenchPeers.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <chrono>
#include <cmath>
#include <functional>

namespace qz_bench {

void openCvInit()
{
    cv::setNumThreads(1);
}

bool openCvRunSession(const RGBAImage& input, const PeerSession& session, std::vector<double>* milliseconds,
                      RGBAImage* output, std::string* error)
{
    milliseconds->clear();
    try {
        cv::Mat image(input.height, input.width, CV_8UC4, const_cast<std::uint8_t*>(input.pixels.data()));
        auto timed = [&](const std::function<void()>& step) {
            const auto start = std::chrono::steady_clock::now();
            step();
            milliseconds->push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        };
        timed([&] {
            image = image(cv::Rect(session.cropX, session.cropY, session.cropWidth, session.cropHeight)).clone();
        });
        timed([&] {
            const int width = int(image.cols / session.scale), height = int(image.rows / session.scale);
            cv::Mat rotation =
                cv::getRotationMatrix2D(cv::Point2f(image.cols / 2.0f, image.rows / 2.0f), session.angleDegrees, 1.0);
            rotation.at<double>(0, 2) += (width - image.cols) / 2.0;
            rotation.at<double>(1, 2) += (height - image.rows) / 2.0;
            cv::Mat rotated;
            cv::warpAffine(image, rotated, rotation, cv::Size(width, height), cv::INTER_LINEAR);
            image = rotated;
        });
        auto curve = [&](const std::array<std::uint8_t, 256>& table) {
            cv::Mat lut(1, 256, CV_8UC4);
            for (int i = 0; i < 256; ++i) lut.at<cv::Vec4b>(0, i) = {table[i], table[i], table[i], std::uint8_t(i)};
            cv::Mat mapped;
            cv::LUT(image, lut, mapped);
            image = mapped;
        };
        timed([&] { curve(session.brightness); });
        timed([&] { curve(session.contrast); });
        timed([&] {
            const std::array<float, 9>& m = session.saturation;
            const cv::Matx44f matrix(m[0], m[1], m[2], 0, m[3], m[4], m[5], 0, m[6], m[7], m[8], 0, 0, 0, 0, 1);
            cv::Mat saturated;
            cv::transform(image, saturated, matrix);
            image = saturated;
        });
        timed([&] {
            cv::Mat blurred, sharpened;
            cv::GaussianBlur(image, blurred, cv::Size(0, 0), session.sharpenSigma);
            cv::addWeighted(image, 1.5, blurred, -0.5, 0, sharpened);
            image = sharpened;
        });
        output->width = image.cols;
        output->height = image.rows;
        output->pixels.assign(image.data, image.data + image.total() * 4);
        return true;
    } catch (const cv::Exception& exception) {
        *error = exception.what();
        return false;
    }
}

}  // namespace qz_bench
