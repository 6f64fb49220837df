#pragma once
// The developer-info panel, opened by the logo button: its action asks, in an alert, before
// leaving the app for the developer web page.

#include "TesselSDK/shell/QZAboutView.h"
#include "UIKit/UIAlertView.h"

// The page the panel's action opens in the browser.
inline constexpr const char* kQZDeveloperSiteURL = "https://developers.example.com/tessel";

class QZDeveloperInfoView : public QZAboutView, public UIAlertViewDelegate {
public:
    using QZAboutView::QZAboutView;

    std::string aboutText() const override;
    std::string actionButtonText() const override;
    // "Leave the App?" with Cancel and Open; the panel is its delegate.
    void presentLeavingAlert();

    // Any button but Cancel opens the developer page.
    void alertViewDidDismissWithButtonIndex(UIAlertView* alertView, NSInteger buttonIndex) override;

protected:
    void actionButtonPressed() override;
};
