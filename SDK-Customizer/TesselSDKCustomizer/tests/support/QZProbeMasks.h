#pragma once
// The probe-mask fixture: a mask provider in which every requested mask is one distinct stripe,
// so a generator's output shows, stripe by stripe, which layer drew what. Mask k (the k-th
// distinct file name asked for or configured) is a kStripes-column image opaque in column k
// only, full height. A test can give a name its own size (to see which mask sets the image
// size), make a name missing, let one mask also cover another's stripe (at full or half alpha:
// to see which of two layers is drawn later, or an overlay over a colour), or give a name an
// image of its own. Safe from any thread.

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "Render/NSImageProvider.h"

namespace customizer::testing {

class QZProbeMasks : public NSImageProvider {
public:
    static constexpr int kStripes = 12;
    static constexpr int kStripeWidth = 8;
    static constexpr int kWidth = kStripes * kStripeWidth;
    static constexpr int kHeight = 96;

    NSImagePtr imageNamed(const std::string& fileName) override;

    void setSize(const std::string& fileName, int width, int height);
    void setMissing(const std::string& fileName);
    void alsoCover(const std::string& fileName, const std::string& otherFileName, double alpha = 1);
    void setImage(const std::string& fileName, NSImagePtr image);

    // The name's stripe (assigned now when it has none yet).
    int stripeOf(const std::string& fileName);
    // The centre column of a stripe in an image of the probe width.
    static int stripeCentre(int stripe) { return stripe * kStripeWidth + kStripeWidth / 2; }

private:
    int stripeLocked(const std::string& fileName);

    struct Cover {
        std::string other;
        double alpha;
    };
    std::mutex mutex_;
    std::map<std::string, int> stripes_;
    std::map<std::string, std::pair<int, int>> sizes_;
    std::map<std::string, std::vector<Cover>> covers_;
    std::map<std::string, NSImagePtr> images_;
    std::vector<std::string> missing_;
};

// Wraps a provider and records every file name asked for, in order, and those it had no image for.
class QZLoaderSpy : public NSImageProvider {
public:
    explicit QZLoaderSpy(std::shared_ptr<NSImageProvider> inner) : inner_(std::move(inner)) {}

    NSImagePtr imageNamed(const std::string& fileName) override;

    std::vector<std::string> requests() const;
    std::vector<std::string> misses() const;
    bool requested(const std::string& fileName) const;
    void clear();

private:
    std::shared_ptr<NSImageProvider> inner_;
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::vector<std::string> misses_;
};

}  // namespace customizer::testing
