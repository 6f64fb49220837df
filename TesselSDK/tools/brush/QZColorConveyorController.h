#pragma once
// The colour strip of the draw and text tools: one chip per colour and, when the eraser is
// enabled, an eraser cell at either end (so a person finds it whichever way they scroll). It
// reports every selection and every cell the strip scrolls past to a delegate of its own, with the
// colour's own index (the leading eraser cell not counted). Main thread only.

#include "TesselSDKFoundation/QZConveyorController.h"

#include "UIKit/UIColor.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QZColorConveyorController;

class QZColorConveyorControllerDelegate {
public:
    virtual ~QZColorConveyorControllerDelegate() = default;
    virtual void colorControllerDidSelectColorAtIndex(QZColorConveyorController*, const std::shared_ptr<UIColor>&,
                                                      NSInteger /*index*/)
    {
    }
    virtual void colorControllerDidScrollToColorAtIndex(QZColorConveyorController*, const std::shared_ptr<UIColor>&,
                                                        NSInteger /*index*/)
    {
    }
    virtual void colorControllerDidSelectEraser(QZColorConveyorController*, bool /*selected*/) {}
    virtual void colorControllerDidScrollToEraser(QZColorConveyorController*, bool /*selected*/) {}
};

class QZColorConveyorController : public QZConveyorController {
public:
    using QZConveyorController::QZConveyorController;
    using Colors = std::vector<std::shared_ptr<UIColor>>;

    // The default colours, no eraser.
    static std::shared_ptr<QZColorConveyorController> make(const std::shared_ptr<QZConveyorView>& view);
    static std::shared_ptr<QZColorConveyorController> make(const std::shared_ptr<QZConveyorView>& view, Colors colors,
                                                           bool eraserEnabled = false);
    bool initWithConveyorView(const std::shared_ptr<QZConveyorView>& view);
    bool initWithConveyorView(const std::shared_ptr<QZConveyorView>& view, Colors colors, bool eraserEnabled = false);

    // White, black, red, orange, yellow, green, blue, purple.
    static Colors defaultColors();
    // "0xffRRGGBB.png": each component times 255, truncated. Empty for a colour without RGB
    // components (a pattern), whose cell then shows no chip.
    static std::string chipImageNameForColor(const std::shared_ptr<UIColor>& color);
    // What a person calls the chip's colour ("Red" for ff0000 and e5261f), localised; "#RRGGBB"
    // for a colour of no name.
    static std::string nameForColor(const std::shared_ptr<UIColor>& color);

    std::weak_ptr<QZColorConveyorControllerDelegate> delegate() const { return delegate_; }
    void setDelegate(std::weak_ptr<QZColorConveyorControllerDelegate> delegate) { delegate_ = std::move(delegate); }
    const Colors& colors() const { return colors_; }
    const std::shared_ptr<UIColor>& selectedColor() const { return selectedColor_; }
    bool eraserEnabled() const { return eraserEnabled_; }
    bool eraserSelected() const { return eraserSelected_; }
    // The colour of that colour index; null outside the list.
    std::shared_ptr<UIColor> colorAtIndex(NSInteger index) const;

    NSInteger numberOfItemsInConveyorView(QZConveyorView* view) override;
    std::shared_ptr<QZConveyorViewCell> conveyorViewCellForIndex(QZConveyorView* view, NSInteger index) override;
    void conveyorViewDidSelectItemAtIndex(QZConveyorView* view, NSInteger index) override;
    void conveyorViewDidScrollToIndex(QZConveyorView* view, NSInteger index) override;

private:
    // What a strip index stands for: an eraser cell, a colour (by its own index), or nothing.
    struct Item {
        bool eraser = false;
        NSInteger colorIndex = -1;
    };
    std::optional<Item> itemAtIndex(NSInteger index) const;

    std::weak_ptr<QZColorConveyorControllerDelegate> delegate_;
    Colors colors_;
    std::shared_ptr<UIColor> selectedColor_;
    bool eraserEnabled_ = false;
    bool eraserSelected_ = false;
};
