#include "TesselSDK/packs/QZContentPackStoreStyle.h"

#include "TesselSDKFoundation/QZSDKResources.h"

void QZStyleStoreLabel(UILabel& label)
{
    label.setBackgroundColor(UIColor::clearColor());
    label.setTextColor(UIColor::colorWithRed(44 / 255.0f, 56 / 255.0f, 65 / 255.0f, 1));
    label.setShadowColor(UIColor::whiteColor());
    label.setShadowOffset(CGSizeMake(0, 1));
}

std::shared_ptr<UIButton> QZMakeStoreInstallButton()
{
    auto button = UIButton::buttonWithType(UIButtonTypeCustom);
    const UIEdgeInsets caps = UIEdgeInsetsMake(0, 10, 0, 10);
    button->setBackgroundImage(QZSDKResources::stretchableImageNamed("iap_button.png", caps), UIControlStateNormal);
    button->setBackgroundImage(QZSDKResources::stretchableImageNamed("iap_button-active.png", caps),
                               UIControlStateHighlighted);
    button->setBackgroundImage(QZSDKResources::stretchableImageNamed("iap_button-disabled.png", caps),
                               UIControlStateDisabled);
    button->titleLabel()->setFont(UIFont::boldSystemFontOfSize(12));
    button->setTitleShadowColor(UIColor::colorWithWhite(0, 0.5f), UIControlStateNormal);
    button->titleLabel()->setShadowOffset(CGSizeMake(0, 1));
    return button;
}

std::shared_ptr<UIColor> QZStoreBackgroundColor()
{
    return UIColor::colorWithWhite(249 / 255.0f, 1);
}
