#include "TesselSDK/tools/brush/QZColorConveyorController.h"

#include "TesselSDK/tools/brush/QZColorConveyorViewCell.h"
#include "TesselSDK/tools/brush/QZEraserConveyorViewCell.h"

#include "TesselSDKFoundation/QZLocalizedString.h"
#include "TesselSDKFoundation/QZSDKResources.h"

#include "Foundation/NSString.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>

namespace {

constexpr const char* kEraserCellIdentifier = "QZDrawViewController_EraserCell";
constexpr const char* kColorCellIdentifier = "QZDrawViewController_ColorCell";

// The chip's red, green and blue bytes: each component times 255, truncated (clamped first, so
// a component out of range names no byte it cannot be).
std::optional<std::array<unsigned, 3>> chipBytes(const std::shared_ptr<UIColor>& color)
{
    CGFloat rgb[3] = {0, 0, 0};
    if (!color || !color->getRed(&rgb[0], &rgb[1], &rgb[2], nullptr)) return std::nullopt;
    std::array<unsigned, 3> bytes{};
    for (int i = 0; i < 3; ++i) bytes[std::size_t(i)] = unsigned(std::clamp(rgb[i], 0.0f, 1.0f) * 255.0f);
    return bytes;
}

}  // namespace

std::shared_ptr<QZColorConveyorController> QZColorConveyorController::make(const std::shared_ptr<QZConveyorView>& view)
{
    return NSObject::create<QZColorConveyorController>(
        [&](QZColorConveyorController& controller) { return controller.initWithConveyorView(view); });
}

std::shared_ptr<QZColorConveyorController> QZColorConveyorController::make(const std::shared_ptr<QZConveyorView>& view,
                                                                           Colors colors, bool eraserEnabled)
{
    return NSObject::create<QZColorConveyorController>([&](QZColorConveyorController& controller) {
        return controller.initWithConveyorView(view, std::move(colors), eraserEnabled);
    });
}

bool QZColorConveyorController::initWithConveyorView(const std::shared_ptr<QZConveyorView>& view)
{
    return initWithConveyorView(view, defaultColors(), false);
}

bool QZColorConveyorController::initWithConveyorView(const std::shared_ptr<QZConveyorView>& view, Colors colors,
                                                     bool eraserEnabled)
{
    if (!QZConveyorController::initWithConveyorView(view)) return false;
    colors_ = std::move(colors);
    eraserEnabled_ = eraserEnabled;
    return true;
}

QZColorConveyorController::Colors QZColorConveyorController::defaultColors()
{
    return {UIColor::whiteColor(),  UIColor::blackColor(), UIColor::redColor(),  UIColor::orangeColor(),
            UIColor::yellowColor(), UIColor::greenColor(), UIColor::blueColor(), UIColor::purpleColor()};
}

std::string QZColorConveyorController::chipImageNameForColor(const std::shared_ptr<UIColor>& color)
{
    const auto bytes = chipBytes(color);
    if (!bytes) return "";
    char name[32];
    std::snprintf(name, sizeof name, "0xff%02x%02x%02x.png", (*bytes)[0], (*bytes)[1], (*bytes)[2]);
    return name;
}

std::string QZColorConveyorController::nameForColor(const std::shared_ptr<UIColor>& color)
{
    struct Named {
        std::uint32_t rgb;
        const char* name;
    };
    // The default colours and the shipped palette.
    static constexpr Named kNames[] = {
        {0xffffff, "White"},     {0x000000, "Black"},  {0xff0000, "Red"},    {0xe5261f, "Red"},
        {0xff7f00, "Orange"},    {0xf28c1a, "Orange"}, {0xffff00, "Yellow"}, {0xf6d629, "Yellow"},
        {0x00ff00, "Green"},     {0x4cb84a, "Green"},  {0x0000ff, "Blue"},   {0x1f9de0, "Blue"},
        {0x2b4fa8, "Dark Blue"}, {0x7f007f, "Purple"}, {0x8e44ad, "Purple"}, {0xe85c9a, "Pink"},
    };
    const auto bytes = chipBytes(color);
    if (!bytes) return "";
    const std::uint32_t rgb = ((*bytes)[0] << 16) | ((*bytes)[1] << 8) | (*bytes)[2];
    for (const Named& named : kNames)
        if (named.rgb == rgb) return QZLocalizedString(named.name);
    char hex[16];
    std::snprintf(hex, sizeof hex, "#%06X", unsigned(rgb));
    return hex;
}

std::shared_ptr<UIColor> QZColorConveyorController::colorAtIndex(NSInteger index) const
{
    if (index < 0 || std::size_t(index) >= colors_.size()) return nullptr;
    return colors_[std::size_t(index)];
}

std::optional<QZColorConveyorController::Item> QZColorConveyorController::itemAtIndex(NSInteger index) const
{
    const NSInteger count = NSInteger(colors_.size());
    if (!eraserEnabled_) {
        if (index < 0 || index >= count) return std::nullopt;
        return Item{false, index};
    }
    if (index == 0 || index == count + 1) return Item{true, -1};
    if (index < 1 || index > count) return std::nullopt;
    return Item{false, index - 1};
}

NSInteger QZColorConveyorController::numberOfItemsInConveyorView(QZConveyorView*)
{
    return NSInteger(colors_.size()) + (eraserEnabled_ ? 2 : 0);
}

std::shared_ptr<QZConveyorViewCell> QZColorConveyorController::conveyorViewCellForIndex(QZConveyorView* view,
                                                                                        NSInteger index)
{
    const std::optional<Item> item = itemAtIndex(index);
    if (item && item->eraser) {
        std::shared_ptr<QZEraserConveyorViewCell> cell;
        if (view)
            cell = std::dynamic_pointer_cast<QZEraserConveyorViewCell>(
                view->dequeueReusableCellWithIdentifier(kEraserCellIdentifier));
        if (!cell) cell = QZConveyorViewCell::cellWithReuseIdentifier<QZEraserConveyorViewCell>(kEraserCellIdentifier);
        return cell;
    }
    std::shared_ptr<QZColorConveyorViewCell> cell;
    if (view)
        cell = std::dynamic_pointer_cast<QZColorConveyorViewCell>(
            view->dequeueReusableCellWithIdentifier(kColorCellIdentifier));
    if (!cell) cell = QZConveyorViewCell::cellWithReuseIdentifier<QZColorConveyorViewCell>(kColorCellIdentifier);
    const std::shared_ptr<UIColor> color = item ? colorAtIndex(item->colorIndex) : nullptr;
    const std::string chip = chipImageNameForColor(color);
    cell->setColorChipImage(chip.empty() ? nullptr : QZSDKResources::imageNamed(chip));
    cell->setAccessibilityLabel(nameForColor(color));
    return cell;
}

void QZColorConveyorController::conveyorViewDidSelectItemAtIndex(QZConveyorView*, NSInteger index)
{
    const std::optional<Item> item = itemAtIndex(index);
    if (!item) return;
    auto delegate = delegate_.lock();
    if (item->eraser) {
        if (eraserSelected_) return;
        eraserSelected_ = true;
        if (delegate) delegate->colorControllerDidSelectEraser(this, true);
        return;
    }
    if (eraserSelected_) {
        eraserSelected_ = false;
        if (delegate) delegate->colorControllerDidSelectEraser(this, false);
    }
    selectedColor_ = colorAtIndex(item->colorIndex);
    if (delegate) delegate->colorControllerDidSelectColorAtIndex(this, selectedColor_, item->colorIndex);
}

void QZColorConveyorController::conveyorViewDidScrollToIndex(QZConveyorView*, NSInteger index)
{
    const std::optional<Item> item = itemAtIndex(index);
    if (!item) return;
    auto delegate = delegate_.lock();
    if (item->eraser) {
        if (eraserSelected_) return;
        eraserSelected_ = true;
        if (delegate) delegate->colorControllerDidScrollToEraser(this, true);
        return;
    }
    if (eraserSelected_) {
        eraserSelected_ = false;
        if (delegate) delegate->colorControllerDidScrollToEraser(this, false);
    }
    if (delegate)
        delegate->colorControllerDidScrollToColorAtIndex(this, colorAtIndex(item->colorIndex), item->colorIndex);
}
