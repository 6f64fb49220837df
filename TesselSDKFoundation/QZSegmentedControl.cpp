#include "TesselSDKFoundation/QZSegmentedControl.h"

#include "Foundation/NSLog.h"
#include "TesselSDKFoundation/QZSDKResources.h"

bool QZSegmentedControl::initWithFrame(CGRect frame, std::vector<std::string> defaultNames,
                                       std::vector<std::string> highlightedNames)
{
    if (!UIView::initWithFrame(frame)) return false;
    defaultNames_ = std::move(defaultNames);
    highlightedNames_ = std::move(highlightedNames);
    if (defaultNames_.size() != highlightedNames_.size())
        NSLog("%s %@", "-[QZSegmentedControl initWithFrame:defaultIconNames:highlightedIconNames:]",
              std::string("uneven number of highlighted vs non highlighed icons"));
    prepareView();
    return true;
}

void QZSegmentedControl::prepareView()
{
    size_t n = defaultNames_.size();
    std::vector<std::shared_ptr<QZSegmentButton>> buttons;
    setAllowsDeselection(true);
    auto me = self<QZSegmentedControl>();
    for (size_t i = 0; i < n; ++i) {
        auto icon = QZSDKResources::imageNamed(defaultNames_[i]);
        // A shorter list of highlighted names leaves the last buttons without a highlighted icon.
        auto highlighted = i < highlightedNames_.size() ? QZSDKResources::imageNamed(highlightedNames_[i]) : nullptr;
        QZSegmentedButtonStyle style = n == 1       ? QZSegmentedButtonStyleSingle
                                       : i == 0     ? QZSegmentedButtonStyleLeftCap
                                       : i == n - 1 ? QZSegmentedButtonStyleRightCap
                                                    : QZSegmentedButtonStyleCenter;
        auto button = QZSegmentButton::make(CGRectZero, style, icon, highlighted);
        button->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
        button->addTarget(me, &QZSegmentedControl::buttonPressed, UIControlEventTouchDown);
        button->addTarget(me, &QZSegmentedControl::buttonUnpressed, UIControlEventTouchUpInside);
        addSubview(button);
        buttons.push_back(button);
    }
    buttons_ = std::move(buttons);
    selectedIndex_ = NSNotFound;
}

void QZSegmentedControl::layoutSubviews()
{
    UIView::layoutSubviews();
    CGRect b = bounds();
    if (buttons_.size() == 1) {
        buttons_[0]->setFrame(CGRectMake(0, 0, b.size.width, b.size.height));
        return;
    }
    CGRect inner = CGRectInset(b, 8, 0);
    CGFloat s = inner.size.width / CGFloat(buttons_.size());
    CGFloat x = 0;
    for (size_t i = 0; i < buttons_.size(); ++i) {
        bool end = i == 0 || i == buttons_.size() - 1;
        buttons_[i]->setFrame(CGRectMake(x, 0, end ? s + 8 : s, inner.size.height));
        x += i == 0 ? s + 8 : s;
    }
}

void QZSegmentedControl::setMomentary(bool momentary)
{
    auto me = self<QZSegmentedControl>();
    for (const auto& button : buttons_) {
        if (momentary)
            button->addTarget(me, &QZSegmentedControl::buttonUnpressed, UIControlEventTouchUpOutside);
        else
            button->removeTarget(me, &QZSegmentedControl::buttonUnpressed, UIControlEventTouchUpOutside);
    }
    momentary_ = momentary;
}

NSInteger QZSegmentedControl::indexOfButton(const QZSegmentButton* button) const
{
    for (size_t i = 0; i < buttons_.size(); ++i)
        if (buttons_[i].get() == button) return NSInteger(i);
    return NSNotFound;
}

void QZSegmentedControl::pressButtonAtIndex(NSInteger index)
{
    if (index < 0 || size_t(index) >= buttons_.size()) return;
    buttonPressed(buttons_[size_t(index)].get());
}

void QZSegmentedControl::deselectAll()
{
    for (const auto& button : buttons_)
        if (button->isSelected()) button->setSelected(false);
}

void QZSegmentedControl::buttonPressed(QZSegmentButton* button)
{
    if (!button || button->isSelected()) return;
    if (!momentary_)
        for (const auto& other : buttons_)
            if (other.get() != button) other->setSelected(false);
    button->setSelected(true);
    if (auto delegate = delegate_.lock()) delegate->segmentedControlDidSelectItemAtIndex(this, indexOfButton(button));
}

void QZSegmentedControl::buttonUnpressed(QZSegmentButton* button)
{
    if (!button) return;
    NSInteger index = indexOfButton(button);
    if (allowsDeselection_ && index == selectedIndex_) {
        button->setSelected(false);
        if (auto delegate = delegate_.lock()) delegate->segmentedControlDidDeselectItemAtIndex(this, index);
        selectedIndex_ = NSNotFound;
    } else if (momentary_) {
        button->setSelected(false);
    } else {
        selectedIndex_ = index;
    }
}
