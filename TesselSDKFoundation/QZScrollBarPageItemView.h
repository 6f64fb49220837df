#pragma once
// The base of the item views a scroll bar's delegate returns: reusable by identifier, and
// knowing which column it shows.

#include "TesselSDKFoundation/QZView.h"

#include <string>

class QZScrollBarPageItemView : public QZView {
public:
    using QZView::QZView;

    template <class T = QZScrollBarPageItemView>
    static std::shared_ptr<T> itemWithReuseIdentifier(const std::string& reuseIdentifier)
    {
        return NSObject::create<T>([&](T& item) { return item.initWithReuseIdentifier(reuseIdentifier); });
    }
    // A zero frame (prepareView runs), then the identifier.
    virtual bool initWithReuseIdentifier(const std::string& reuseIdentifier);

    const std::string& reuseIdentifier() const { return reuseIdentifier_; }
    void setReuseIdentifier(std::string identifier) { reuseIdentifier_ = std::move(identifier); }
    NSUInteger index() const { return index_; }
    void setIndex(NSUInteger index) { index_ = index; }

private:
    std::string reuseIdentifier_;
    NSUInteger index_ = 0;
};
