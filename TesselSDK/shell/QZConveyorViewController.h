#pragma once
// The tool screen base for tools whose control area is a strip of cells (crop presets, the brush
// family, text): the strip fills the tool view (its upper half in the split layout) with the
// conveyor overlay drawn over it. The screen is the strip's data source and delegate; the base's
// strip is empty until a subclass supplies cells.

#include "TesselSDKFoundation/QZConveyorView.h"
#include "TesselSDK/shell/QZToolViewController.h"

#include "UIKit/UIColor.h"

#include <memory>

class QZConveyorViewController : public QZToolViewController, public QZConveyorViewDelegate {
public:
    using QZToolViewController::QZToolViewController;

    // The draw screen's layout: the strip over the top half, the overlay in its split form.
    virtual bool usesSplitConveyorLayout() const { return false; }

    void loadView() override;
    void viewDidLoad() override;

    const std::shared_ptr<QZConveyorView>& conveyorView() const { return conveyorView_; }
    // For subclasses' selected cells; the base does not read it.
    const std::shared_ptr<UIColor>& highlightColor() const { return highlightColor_; }
    void setHighlightColor(std::shared_ptr<UIColor> color) { highlightColor_ = std::move(color); }
    // Handed to the strip when it is made; 0: the strip's own default. Set before the view loads.
    float cellWidth() const { return cellWidth_; }
    void setCellWidth(float width) { cellWidth_ = width; }

    NSInteger numberOfItemsInConveyorView(QZConveyorView*) override { return 0; }
    std::shared_ptr<QZConveyorViewCell> conveyorViewCellForIndex(QZConveyorView*, NSInteger) override
    {
        return nullptr;
    }
    void conveyorViewDidSelectItemAtIndex(QZConveyorView*, NSInteger) override {}

protected:
    // Makes the strip (loadView, after the base's view, overlays, buttons and background).
    virtual void createConveyorOverlay();
    // Draws the overlay over the strip (viewDidLoad).
    virtual void setupConveyorOverlay();

private:
    std::shared_ptr<QZConveyorView> conveyorView_;
    std::shared_ptr<UIColor> highlightColor_;
    float cellWidth_ = 0;
};
