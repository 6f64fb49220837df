#pragma once
// The brush-size strip of the brush tools: one cell per size, showing a dot of about that size.
// It reports every selection, also of the size already selected, and every size the strip scrolls
// past, to a delegate of its own. Main thread only.

#include "TesselSDKFoundation/QZConveyorController.h"

#include "CoreGraphics/CGGeometry.h"

#include <memory>
#include <string>
#include <vector>

class QZSizeConveyorController;

class QZSizeConveyorControllerDelegate {
public:
    virtual ~QZSizeConveyorControllerDelegate() = default;
    virtual void sizeControllerDidSelectSize(QZSizeConveyorController*, CGFloat /*size*/) {}
    virtual void sizeControllerDidScrollToSize(QZSizeConveyorController*, CGFloat /*size*/) {}
};

class QZSizeConveyorController : public QZConveyorController {
public:
    using QZConveyorController::QZConveyorController;

    // The default sizes.
    static std::shared_ptr<QZSizeConveyorController> make(const std::shared_ptr<QZConveyorView>& view);
    static std::shared_ptr<QZSizeConveyorController> make(const std::shared_ptr<QZConveyorView>& view,
                                                          std::vector<CGFloat> sizes);
    bool initWithConveyorView(const std::shared_ptr<QZConveyorView>& view);
    bool initWithConveyorView(const std::shared_ptr<QZConveyorView>& view, std::vector<CGFloat> sizes);

    // 2, 5, 10, 15, 25, 50 points on screen.
    static std::vector<CGFloat> defaultSizes();
    // The strip's images of a size: "<N>.png" and "<N>-active.png", N the size truncated.
    static std::string imageNameForSize(CGFloat size, bool active);
    // What a person calls the size ("Medium" for 10, "Size 12" for a size of no name), localised.
    static std::string nameForSize(CGFloat size);

    std::weak_ptr<QZSizeConveyorControllerDelegate> delegate() const { return delegate_; }
    void setDelegate(std::weak_ptr<QZSizeConveyorControllerDelegate> delegate) { delegate_ = std::move(delegate); }
    const std::vector<CGFloat>& sizes() const { return sizes_; }
    // 0 until a size is selected.
    CGFloat selectedSize() const { return selectedSize_; }
    bool showsGlowBox() const { return showsGlowBox_; }
    void setShowsGlowBox(bool shows) { showsGlowBox_ = shows; }
    // 0 outside the list.
    CGFloat sizeAtIndex(NSInteger index) const;

    NSInteger numberOfItemsInConveyorView(QZConveyorView* view) override;
    std::shared_ptr<QZConveyorViewCell> conveyorViewCellForIndex(QZConveyorView* view, NSInteger index) override;
    void conveyorViewDidSelectItemAtIndex(QZConveyorView* view, NSInteger index) override;
    void conveyorViewDidScrollToIndex(QZConveyorView* view, NSInteger index) override;

private:
    bool holdsIndex(NSInteger index) const { return index >= 0 && std::size_t(index) < sizes_.size(); }

    std::weak_ptr<QZSizeConveyorControllerDelegate> delegate_;
    std::vector<CGFloat> sizes_;
    CGFloat selectedSize_ = 0;
    bool showsGlowBox_ = false;
};
