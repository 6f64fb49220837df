#pragma once
// An effect item: its recipe is the item document as JSON text ("effectJSON"); its preview is
// "<identifier>.jpg" from the pack's thumbnails, else from the editor's resource bundle.

#include "TesselSDK/remote/QZContentPackItem.h"

class QZModule;

class QZEffectContentPackItem : public QZContentPackItem {
public:
    using QZContentPackItem::QZContentPackItem;

    std::string effectJSON() { return valueForKey("effectJSON").stringValue(); }
    // A new module of the class registered for the identifier; only "original" has one (the other
    // effects are applied from their recipe by the effect tools). Nil, logged, for any other.
    std::shared_ptr<QZModule> module();
    // Loaded once, kept until the record turns into a fault.
    std::shared_ptr<UIImage> previewImage();
    void dropCachedImages() override { previewImage_.reset(); }

private:
    std::shared_ptr<UIImage> previewImage_;
};
