#pragma once
// The golden-image check of the foundation's picture tests: the image against the reviewed
// TESSEL_FOUNDATION_GOLDEN_DIR/<name>.png. A difference fails and leaves NAME.actual.png and
// NAME.diff.png in the test's temporary folder; with TESSEL_UPDATE_GOLDEN=1 the golden file is
// rewritten and the test skips (look at the new image before committing).

#include "UIKit/testing/UIGoldenImage.h"

#include <gtest/gtest.h>

#include <string>

#define QZ_EXPECT_GOLDEN(image, name)                                                                                  \
    do {                                                                                                               \
        UIGoldenOutcome outcome_ = UICompareWithGolden(                                                                \
            (image), std::string(TESSEL_FOUNDATION_GOLDEN_DIR) + "/" + (name) + ".png", ::testing::TempDir());         \
        if (outcome_.updated) GTEST_SKIP() << outcome_.message;                                                        \
        EXPECT_TRUE(outcome_.matches) << outcome_.message;                                                             \
    } while (0)
