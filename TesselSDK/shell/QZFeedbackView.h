#pragma once
// The feedback panel, opened from the strip's feedback cell: its action asks the feedback
// delegate to compose a feedback mail.

#include "TesselSDK/shell/QZAboutView.h"

class QZFeedbackView;

class QZFeedbackViewDelegate {
public:
    virtual ~QZFeedbackViewDelegate() = default;
    virtual void feedbackViewRequestedSendFeedback(QZFeedbackView* view) = 0;
};

class QZFeedbackView : public QZAboutView {
public:
    using QZAboutView::QZAboutView;

    std::weak_ptr<QZFeedbackViewDelegate> feedbackDelegate() const { return feedbackDelegate_; }
    void setFeedbackDelegate(std::weak_ptr<QZFeedbackViewDelegate> delegate)
    {
        feedbackDelegate_ = std::move(delegate);
    }

    std::string aboutText() const override;
    std::string actionButtonText() const override;

protected:
    void actionButtonPressed() override;

private:
    std::weak_ptr<QZFeedbackViewDelegate> feedbackDelegate_;
};
