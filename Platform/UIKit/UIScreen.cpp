#include "UIKit/UIScreen.h"

#include "Foundation/PlatformSettings.h"

std::shared_ptr<UIScreen> UIScreen::mainScreen()
{
    static const auto screen = NSObject::create<UIScreen>();
    return screen;
}

CGRect UIScreen::bounds() const
{
    return CGRectMake(0, 0, PlatformSettings::screenWidth(), PlatformSettings::screenHeight());
}

CGFloat UIScreen::scale() const
{
    return PlatformSettings::screenScale();
}
