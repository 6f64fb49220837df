#pragma once
// Picture tests against reviewed golden images: the difference statistics (max, 99.9th percentile
// and mean absolute difference over all channels), and the comparison with a golden PNG file that
// dumps the actual image and an amplified difference on failure. With TESSEL_UPDATE_GOLDEN set in
// the environment the golden file is rewritten instead (review it before committing).

#include "CoreGraphics/CGImage.h"

#include <string>
#include <vector>

struct UIImageDifference {
    int max = 0;
    int p999 = 0;
    double mean = 0;
};

// Same-sized images; `diff` (when given) receives an RGBA picture of the difference x 8.
UIImageDifference UIImageCompare(CGImageRef a, CGImageRef b, std::vector<uint8_t>* diff = nullptr);

struct UIGoldenTolerance {
    int max = 24;
    int p999 = 4;
    double mean = 0.25;
};

struct UIGoldenOutcome {
    bool matches = false;
    bool updated = false;  // the golden file was rewritten (TESSEL_UPDATE_GOLDEN)
    std::string message;   // why it does not match, and where the dumps are
};

// `dumpDirectory` receives NAME.actual.png and NAME.diff.png on a mismatch (NAME: the golden's
// file name without extension).
UIGoldenOutcome UICompareWithGolden(CGImageRef image, const std::string& goldenPath, const std::string& dumpDirectory,
                                    UIGoldenTolerance tolerance = {});
