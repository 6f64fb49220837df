#pragma once
// The delegate and data source of a conveyor it is given: an empty strip until a subclass (the
// colour and size strips of the brush tools) supplies items. Its conveyor view is observable
// under the key "conveyorView".

#include "Foundation/NSKeyValueObserving.h"
#include "Foundation/NSObject.h"
#include "TesselSDKFoundation/QZConveyorView.h"

class QZConveyorController : public NSObject, public QZConveyorViewDelegate, public NSKeyValueObservable {
public:
    using NSObject::NSObject;

    template <class T = QZConveyorController>
    static std::shared_ptr<T> make(const std::shared_ptr<QZConveyorView>& view)
    {
        return NSObject::create<T>([&](T& controller) { return controller.initWithConveyorView(view); });
    }
    bool initWithConveyorView(const std::shared_ptr<QZConveyorView>& view);

    const std::shared_ptr<QZConveyorView>& conveyorView() const { return conveyorView_; }
    // A different view is announced and gets this controller as its delegate; the old view keeps
    // its delegate.
    void setConveyorView(std::shared_ptr<QZConveyorView> view);

    NSInteger numberOfItemsInConveyorView(QZConveyorView*) override { return 0; }
    std::shared_ptr<QZConveyorViewCell> conveyorViewCellForIndex(QZConveyorView*, NSInteger) override
    {
        return nullptr;
    }
    void conveyorViewDidSelectItemAtIndex(QZConveyorView*, NSInteger) override {}

private:
    std::shared_ptr<QZConveyorView> conveyorView_;
};
