#include "TesselSDK/packs/QZContentPackSelectionViewSectionHeaderView.h"

#include "TesselSDK/packs/QZContentPackSelectionView.h"

#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "TesselSDKFoundation/QZSDKResources.h"

#include <algorithm>
#include <cmath>

void QZContentPackSelectionViewSectionHeaderView::prepareView()
{
    QZView::prepareView();
    headerImageView_ = addSubviewOfClass<UIImageView>(QZUIViewAutoresizingFlexibleDimensions);
    headerImageView_->setImage(QZSDKResources::imageNamed("contentPackDivider.png"));
    headerImageView_->setContentMode(UIViewContentModeTopRight);
    setBackgroundColor(UIColor::clearColor());
    label_ = UIView::viewWithFrame<UILabel>();
    label_->setFont(UIFont::boldSystemFontOfSize(kQZSelectionViewHeaderFontSize));
    label_->setTextColor(QZPhotoEditorCustomization::colorOptionValueForKey("editor.textColor"));
    label_->setTextAlignment(NSTextAlignmentCenter);
    label_->setBackgroundColor(UIColor::clearColor());
    label_->setShadowColor(QZPhotoEditorCustomization::colorOptionValueForKey("editor.textShadowColor"));
    label_->setShadowOffset(CGSizeMake(-1, 0));
    addSubview(label_);
}

void QZContentPackSelectionViewSectionHeaderView::layoutSubviews()
{
    QZView::layoutSubviews();
    CGRect b = bounds();
    headerImageView_->setFrame(b);
    label_->sizeToFit();
    CGRect area = CGRectMake(b.origin.x, b.origin.y, b.size.width,
                             std::max(CGFloat(0), b.size.height - kQZSelectionViewDividerPadding));
    CGRect frame = QZCGRectCenterInRect(label_->frame(), area);
    // Whole points on the screen, where the turned text would otherwise blur.
    if (window()) {
        CGRect inWindow = convertRectToView(frame, nullptr);
        inWindow.origin = CGPointMake(std::round(inWindow.origin.x), std::round(inWindow.origin.y));
        frame = convertRectFromView(inWindow, nullptr);
    }
    label_->setFrame(frame);
}
