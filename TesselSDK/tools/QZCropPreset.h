#pragma once
// One entry of the crop tool's preset strip: a name (Custom, Original, or a host's named entry)
// or a ratio, and the two sides the crop box keeps. Negative sides mean free form starting at
// that aspect. A ratio that is not strict turns with the screen's one shared flag, so turning one
// turns them all.

#include "TesselSDKFoundation/QZOptionValidators.h"  // kQZCropPresetName, kQZCropPresetWidth, kQZCropPresetHeight

#include "CoreGraphics/CGGeometry.h"
#include "Foundation/NSObject.h"
#include "Foundation/Value.h"

#include <memory>
#include <optional>
#include <string>

class QZCropPreset : public NSObject {
public:
    using NSObject::NSObject;

    // initWithDictionary:withOrientation:isStrict:. A strict preset keeps the sides as written;
    // any other is put in the photo's orientation, except that a free-form one (a negative side)
    // keeps the photo's own orientation.
    static std::shared_ptr<QZCropPreset> make(const Value& dictionary, bool isLandscape, bool isStrict)
    {
        return NSObject::create<QZCropPreset>(
            [&](QZCropPreset& preset) { return preset.initWithDictionary(dictionary, isLandscape, isStrict); });
    }
    bool initWithDictionary(const Value& dictionary, bool isLandscape, bool isStrict);

    // Already localised; none for a ratio preset.
    const std::optional<std::string>& name() const { return name_; }
    void setName(std::optional<std::string> name) { name_ = std::move(name); }
    CGFloat width() const { return width_; }
    void setWidth(CGFloat width) { width_ = width; }
    CGFloat height() const { return height_; }
    void setHeight(CGFloat height) { height_ = height; }
    // A named preset is always strict: it never turns.
    bool isStrict() const { return name_.has_value() || strict_; }
    void setStrict(bool strict) { strict_ = strict; }
    // The screen's turned flag, shared: a cell that outlives the screen still reads valid memory.
    const std::shared_ptr<bool>& reversed() const { return reversed_; }
    void setReversed(std::shared_ptr<bool> reversed) { reversed_ = std::move(reversed); }
    // NO for a strict preset, else the shared flag (NO without one).
    bool isReversed() const { return !isStrict() && reversed_ && *reversed_; }

private:
    std::optional<std::string> name_;
    CGFloat width_ = 0;
    CGFloat height_ = 0;
    bool strict_ = false;
    std::shared_ptr<bool> reversed_;
};
