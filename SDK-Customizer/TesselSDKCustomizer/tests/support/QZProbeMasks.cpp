#include "QZProbeMasks.h"

#include <algorithm>

#include "QZTestImages.h"

namespace customizer::testing {

NSImagePtr QZProbeMasks::imageNamed(const std::string& fileName)
{
    std::lock_guard lock(mutex_);
    if (std::find(missing_.begin(), missing_.end(), fileName) != missing_.end()) return nullptr;
    if (auto image = images_.find(fileName); image != images_.end()) return image->second;
    int stripe = stripeLocked(fileName);
    std::vector<std::pair<int, double>> covered = {{stripe, 1.0}};
    for (const Cover& cover : covers_[fileName]) covered.emplace_back(stripeLocked(cover.other), cover.alpha);
    auto [width, height] = sizes_.count(fileName) ? sizes_[fileName] : std::pair{kWidth, kHeight};
    return makeImage(width, height, [&, w = width](int x, int) {
        int column = x * kStripes / w;
        double alpha = 0;
        for (auto [s, a] : covered)
            if (s == column) alpha = std::max(alpha, a);
        return CGColor{0.5, 0.5, 0.5, alpha};
    });
}

void QZProbeMasks::setSize(const std::string& fileName, int width, int height)
{
    std::lock_guard lock(mutex_);
    sizes_[fileName] = {width, height};
}

void QZProbeMasks::setMissing(const std::string& fileName)
{
    std::lock_guard lock(mutex_);
    missing_.push_back(fileName);
}

void QZProbeMasks::alsoCover(const std::string& fileName, const std::string& otherFileName, double alpha)
{
    std::lock_guard lock(mutex_);
    stripeLocked(fileName);
    stripeLocked(otherFileName);
    covers_[fileName].push_back({otherFileName, alpha});
}

void QZProbeMasks::setImage(const std::string& fileName, NSImagePtr image)
{
    std::lock_guard lock(mutex_);
    images_[fileName] = std::move(image);
}

int QZProbeMasks::stripeOf(const std::string& fileName)
{
    std::lock_guard lock(mutex_);
    return stripeLocked(fileName);
}

int QZProbeMasks::stripeLocked(const std::string& fileName)
{
    auto found = stripes_.find(fileName);
    if (found != stripes_.end()) return found->second;
    int stripe = int(stripes_.size());
    stripes_[fileName] = stripe;
    return stripe;
}

NSImagePtr QZLoaderSpy::imageNamed(const std::string& fileName)
{
    NSImagePtr image = inner_->imageNamed(fileName);
    std::lock_guard lock(mutex_);
    requests_.push_back(fileName);
    if (!image) misses_.push_back(fileName);
    return image;
}

std::vector<std::string> QZLoaderSpy::requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

std::vector<std::string> QZLoaderSpy::misses() const
{
    std::lock_guard lock(mutex_);
    return misses_;
}

bool QZLoaderSpy::requested(const std::string& fileName) const
{
    std::lock_guard lock(mutex_);
    return std::find(requests_.begin(), requests_.end(), fileName) != requests_.end();
}

void QZLoaderSpy::clear()
{
    std::lock_guard lock(mutex_);
    requests_.clear();
    misses_.clear();
}

}  // namespace customizer::testing
