#include "TesselSDK/shell/QZDeveloperInfoView.h"

#include "TesselSDKFoundation/QZLocalizedString.h"
#include "UIKit/UIApplication.h"

std::string QZDeveloperInfoView::aboutText() const
{
    return QZLocalizedString("Tessel is the world's leading photo editing platform. Developers: learn how to add it to "
                             "your app in minutes.");
}

std::string QZDeveloperInfoView::actionButtonText() const
{
    return QZLocalizedString("Visit the Developer Site");
}

void QZDeveloperInfoView::actionButtonPressed()
{
    presentLeavingAlert();
}

void QZDeveloperInfoView::presentLeavingAlert()
{
    UIAlertView::make(QZLocalizedString("Leave the App?"),
                      QZLocalizedString("You will now be taken to Safari. Would you like to continue?"),
                      std::static_pointer_cast<UIAlertViewDelegate>(self<QZDeveloperInfoView>()),
                      QZLocalizedString("Cancel"), {QZLocalizedString("Open")})
        ->show();
}

void QZDeveloperInfoView::alertViewDidDismissWithButtonIndex(UIAlertView* alertView, NSInteger buttonIndex)
{
    if (buttonIndex != alertView->cancelButtonIndex()) UIApplication::sharedApplication()->openURL(kQZDeveloperSiteURL);
}
