#pragma once
// The stickers tool: a strip of the installed sticker packs; a pack opens its page of stickers
// (QZStickerContentPackDetailViewController), which places stickers on this tool's stickers layer.
// Apply bakes every placed sticker into the preview (drawn into a buffer of the preview's pixels,
// blended on the GL queue) and hands the session a module of one sticker processor per sticker,
// so that a replay draws them again at any size. Main thread only.

#include "TesselSDK/packs/QZContentPackListSelectionViewController.h"
#include "TesselSDK/packs/QZStickerContentPackDetailViewController.h"

#include "TesselSDK/tools/QZStickersOverlayView.h"

#include "TesselSDKImaging/Processors/QZStickerProcessor.h"

#include "CoreGraphics/CGContext.h"

#include <cstdint>
#include <memory>
#include <vector>

class QZStickerContentPackListSelectionViewController : public QZContentPackListSelectionViewController,
                                                        public QZStickersOverlayViewDelegate {
public:
    using StickerProcessors = std::vector<std::shared_ptr<QZStickerProcessor>>;

    using QZContentPackListSelectionViewController::QZContentPackListSelectionViewController;
    using QZContentPackListSelectionViewController::initWithGLInstance;
    ~QZStickerContentPackListSelectionViewController() override;

    // The base's, then the drawing buffer of the preview's size.
    bool initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance) override;

    // ---- Class values ----
    std::shared_ptr<const QZManagedObjectClass> contentPackClass() const override;
    std::string contentPackDescriptor() const override { return "Stickers"; }
    std::string customizationKeyPath() const override;
    QZOverlayViewFactory staticOverlayViewClass() const override;
    QZContentPackDetailViewControllerFactory detailViewControllerClass() const override;
    bool firstLaunchRequiresDownload() const override { return true; }
    std::string firstLaunchTitle() const override;
    std::string firstLaunchText() const override;

    std::shared_ptr<QZStickersOverlayView> stickersOverlayView() const;
    const StickerProcessors& stickerProcessors() const { return stickerProcessors_; }
    // The preview-sized RGBA buffer the stickers are drawn into at Apply (top-down, zero at first).
    const std::vector<std::uint8_t>& bitmapData() const { return bitmapData_; }
    CGContextRef contextForGL() const { return contextForGL_; }

    std::shared_ptr<UITableViewCell> cellForContentPack(const std::shared_ptr<QZContentPack>& pack) override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void retractIAPViewController() override;
    void willRotateToInterfaceOrientation(UIInterfaceOrientation orientation, double duration) override;
    void willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation orientation, double duration) override;
    void didRotateFromInterfaceOrientation(UIInterfaceOrientation orientation) override;
    // The canvas image view's bounds in the layer.
    CGRect rectForImageInStickersOverlayView(QZStickersOverlayView* overlay) override;

    // Draws and records every placed sticker, blends the drawing on the GL queue, then finishes as
    // the list tool does once the blended preview is on screen; posts one content-applied
    // notification per sticker.
    void finishApplying() override;
    // A block module adding a copy of each sticker processor.
    std::shared_ptr<QZModule> outputModule() override;
    // "stickers: applied" with the page's pack and the number of placed stickers.
    void reportApplied() override;

    std::shared_ptr<QZContentPackListIAPViewController> loadListIAPViewControllerWithPacks(Packs packs) override;
    std::shared_ptr<QZContentPackDetailIAPViewController>
    loadDetailIAPViewControllerWithContentPack(const std::shared_ptr<QZContentPack>& pack) override;

private:
    // A zero-filled buffer and a top-down context of the GL instance's image size; false when it
    // has no pixel size.
    bool makeDrawingBuffer();

    StickerProcessors stickerProcessors_;
    std::vector<std::uint8_t> bitmapData_;
    CGContextRef contextForGL_ = nullptr;
    CGSize bitmapSize_{0, 0};
    std::string appliedPackIdentifier_;
    std::size_t appliedStickerCount_ = 0;
    bool finishQueued_ = false;
};
