#include "UIKit/UILabel.h"
#include "UIKit/UIWindow.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(UILabelTest, ANarrowWrappedLabelGrowsByWholeLinesAndMeasuresAsItDraws)
{
    auto label = UIView::viewWithFrame<UILabel>(CGRectMake(0, 0, 300, 10));
    label->setText("The quick brown fox jumps over the lazy dog");
    label->setFont(UIFont::systemFontOfSize(14));
    EXPECT_FALSE(label->isUserInteractionEnabled());
    CGSize oneLine = label->sizeThatFits(CGSizeMake(300, 0));
    EXPECT_EQ(oneLine.height, std::ceil(label->font()->lineHeight()));
    EXPECT_EQ(oneLine.width, std::ceil(oneLine.width));  // whole points

    label->setNumberOfLines(0);
    CGSize narrow = label->sizeThatFits(CGSizeMake(80, 0));
    EXPECT_LE(narrow.width, 80);
    int lines = int(std::lround(narrow.height / label->font()->lineHeight()));
    EXPECT_GE(lines, 3);
    EXPECT_NEAR(narrow.height, std::ceil(lines * label->font()->lineHeight()), 1);
    CGSize measured = sizeWithFont(label->text(), label->font(), CGSizeMake(80, 10000), NSLineBreakByWordWrapping);
    EXPECT_EQ(narrow.width, measured.width);
    EXPECT_EQ(narrow.height, measured.height);

    label->setNumberOfLines(2);
    CGSize two = label->sizeThatFits(CGSizeMake(80, 0));
    EXPECT_NEAR(two.height, std::ceil(2 * label->font()->lineHeight()), 1);

    // sizeToFit keeps the origin and takes the one-line size.
    label->setNumberOfLines(1);
    label->setFrame(CGRectMake(7, 9, 10, 10));
    label->sizeToFit();
    EXPECT_EQ(label->frame().origin.x, 7);
    EXPECT_EQ(label->frame().size.width, oneLine.width);
}

TEST(UILabelTest, TextIsCentredVerticallyInTheHighlightedColourWhenHighlighted)
{
    auto label = UIView::viewWithFrame<UILabel>(CGRectMake(0, 0, 120, 60));
    label->setText("Hi");
    label->setFont(UIFont::boldSystemFontOfSize(20));
    label->setTextAlignment(NSTextAlignmentCenter);
    label->setTextColor(UIColor::redColor());
    label->setHighlightedTextColor(UIColor::blueColor());
    auto ink = [&](const std::shared_ptr<UIImage>& image, int channel, int rowFrom, int rowTo) {
        CGImageRef px = image->CGImage();
        int count = 0;
        for (int y = rowFrom; y < rowTo; ++y)
            for (size_t x = 0; x < CGImageGetWidth(px); ++x)
                count += CGImageGetBytes(px)[size_t(y) * CGImageGetBytesPerRow(px) + x * 4 + size_t(channel)] > 128;
        return count;
    };
    auto plain = UIViewSnapshot(*label);
    int height = int(CGImageGetHeight(plain->CGImage()));
    int top = ink(plain, 0, 0, height / 3), middle = ink(plain, 0, height / 3, 2 * height / 3),
        bottom = ink(plain, 0, 2 * height / 3, height);
    EXPECT_GT(middle, 0);
    EXPECT_EQ(top, 0);
    EXPECT_EQ(bottom, 0);
    label->setHighlighted(true);
    auto highlighted = UIViewSnapshot(*label);
    EXPECT_EQ(ink(highlighted, 0, 0, height), 0);
    EXPECT_GT(ink(highlighted, 2, 0, height), 0);
}

}  // namespace
