// The image view that takes images only from its attached context.

#include "QZShellTestSupport.h"
#include "TesselSDK/shell/QZImageView.h"

namespace {

std::shared_ptr<UIImage> pixel()
{
    const uint8_t rgba[4] = {255, 0, 0, 255};
    CGImageRef image = CGImageCreateWithRGBABytes(1, 1, 4, rgba);
    auto ui = UIImage::imageWithCGImage(image, 1, UIImageOrientationUp);
    CGImageRelease(image);
    return ui;
}

using QZImageViewTest = QZShellTest;

TEST_F(QZImageViewTest, OnlyTheAttachedContextSetsTheImage)
{
    auto view = UIView::viewWithFrame<QZImageView>(CGRectMake(0, 0, 10, 10));
    auto old = QZImageViewContext::make(), current = QZImageViewContext::make();
    view->setContext(old);
    view->setContext(current);
    EXPECT_EQ(current->delegate().lock(), view);

    old->setImage(pixel());  // a late result of the replaced context
    EXPECT_FALSE(view->image());
    auto image = pixel();
    current->setImage(image);
    EXPECT_EQ(view->image(), image);

    // Clearing the image detaches the context: its later results are ignored.
    view->setImage(nullptr);
    EXPECT_FALSE(view->context());
    current->setImage(pixel());
    EXPECT_FALSE(view->image());
}

}  // namespace
