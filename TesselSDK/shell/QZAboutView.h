#pragma once
// A small fixed-size panel (284 x 282 points) shown over a dimmed screen: a logo and the version
// line in a header band, a paragraph of text, an action button and a Done button. Subclasses
// supply the text, the action button's title and the action.

#include "TesselSDKFoundation/QZView.h"
#include "UIKit/UIButton.h"
#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"

#include <memory>
#include <string>

class QZAboutView;

class QZAboutViewDelegate {
public:
    virtual ~QZAboutViewDelegate() = default;
    // Done was pressed.
    virtual void aboutViewDismissed(QZAboutView* view) = 0;
};

class QZAboutView : public QZView {
public:
    using QZView::QZView;

    std::weak_ptr<QZAboutViewDelegate> delegate() const { return delegate_; }
    void setDelegate(std::weak_ptr<QZAboutViewDelegate> delegate) { delegate_ = std::move(delegate); }

    const std::shared_ptr<UIImageView>& shadowView() const { return shadowView_; }
    const std::shared_ptr<UIImageView>& backgroundView() const { return backgroundView_; }
    const std::shared_ptr<UIImageView>& logoView() const { return logoView_; }
    const std::shared_ptr<UILabel>& versionLabel() const { return versionLabel_; }
    const std::shared_ptr<UILabel>& aboutLabel() const { return aboutLabel_; }
    const std::shared_ptr<UIButton>& actionButton() const { return actionButton_; }
    const std::shared_ptr<UIButton>& doneButton() const { return doneButton_; }
    // Kept for subclasses; the panel does not read it.
    const std::string& currDestURL() const { return currDestURL_; }
    void setCurrDestURL(std::string url) { currDestURL_ = std::move(url); }

    // "Version 3.3.11", the word localised.
    virtual std::string versionText() const;
    // Empty in the base.
    virtual std::string aboutText() const { return ""; }
    virtual std::string actionButtonText() const { return ""; }

    // The buttons' actions.
    void actionButtonPressed(UIButton* sender);
    void doneButtonPressed(UIButton* sender);

    // Always 284 x 282.
    CGSize sizeThatFits(CGSize size) const override;
    void layoutSubviews() override;

protected:
    void prepareView() override;
    // What the action button does: nothing in the base.
    virtual void actionButtonPressed() {}

private:
    std::weak_ptr<QZAboutViewDelegate> delegate_;
    std::shared_ptr<UIImageView> shadowView_;
    std::shared_ptr<UIImageView> backgroundView_;
    std::shared_ptr<UIImageView> logoView_;
    std::shared_ptr<UILabel> versionLabel_;
    std::shared_ptr<UILabel> aboutLabel_;
    std::shared_ptr<UIButton> actionButton_;
    std::shared_ptr<UIButton> doneButton_;
    std::string currDestURL_;
};
