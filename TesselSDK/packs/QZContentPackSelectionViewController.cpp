#include "TesselSDK/packs/QZContentPackSelectionViewController.h"

#include "TesselSDK/remote/QZContentPack.h"

namespace {
constexpr double kStripFade = 0.3;
}  // namespace

bool QZContentPackSelectionViewController::initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance)
{
    return initWithGLInstance(glInstance, true);
}

bool QZContentPackSelectionViewController::initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance,
                                                              bool selectionView)
{
    if (!QZToolViewController::initWithGLInstance(glInstance)) return false;
    shouldAllocateSelectionView_ = selectionView;
    return true;
}

void QZContentPackSelectionViewController::setSelectionView(std::shared_ptr<QZContentPackSelectionView> view)
{
    selectionView_ = std::move(view);
    if (selectionView_)
        selectionView_->setDelegate(
            std::static_pointer_cast<QZContentPackSelectionViewDelegate>(self<QZContentPackSelectionViewController>()));
}

void QZContentPackSelectionViewController::presentDetaiIAPViewControllerOnAppearanceWithContentPack(
    std::shared_ptr<QZContentPack> pack)
{
    packToLaunch_ = std::move(pack);
}

void QZContentPackSelectionViewController::loadView()
{
    QZToolViewController::loadView();
    const std::shared_ptr<UIView>& view = this->view();
    view->setBackgroundColor(UIColor::clearColor());
    if (!shouldAllocateSelectionView_) return;
    CGRect frame = view->bounds();
    if (frame.size.height == 0) frame.size.height = targetViewHeight();
    auto strip = UIView::viewWithFrame<QZContentPackSelectionView>(frame);
    strip->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    view->addSubview(strip);
    setSelectionView(strip);
}

void QZContentPackSelectionViewController::viewWillDisappear(bool animated)
{
    QZToolViewController::viewWillDisappear(animated);
    if (selectionView_) {
        auto table = selectionView_->tableView();
        UIView::animateWithDuration(kStripFade, [&] { table->setAlpha(0); });
    }
    if (auto canvas = scrollableImageView()) canvas->zoomOutAnimated(true);
}
