#include "TesselSDK/shell/QZFeedbackView.h"

#include "TesselSDKFoundation/QZLocalizedString.h"

std::string QZFeedbackView::aboutText() const
{
    return QZLocalizedString("Have a suggestion to improve this photo editor? Let us know.");
}

std::string QZFeedbackView::actionButtonText() const
{
    return QZLocalizedString("Send Feedback");
}

void QZFeedbackView::actionButtonPressed()
{
    if (auto delegate = feedbackDelegate_.lock()) delegate->feedbackViewRequestedSendFeedback(this);
}
