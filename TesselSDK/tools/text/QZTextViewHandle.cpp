#include "TesselSDK/tools/text/QZTextViewHandle.h"

#include "TesselSDK/tools/text/QZTextView.h"

#include <cfloat>

void QZTextViewHandle::prepareView()
{
    QZScalableViewHandle::prepareView();
    setExclusiveTouch(true);
    longPressRecognizer_ = UIGestureRecognizer::recognizerWithTarget<UILongPressGestureRecognizer>(
        self<QZTextViewHandle>(), &QZTextViewHandle::handleTouched);
    longPressRecognizer_->setAllowableMovement(FLT_MAX);
    longPressRecognizer_->setMinimumPressDuration(0);
    addGestureRecognizer(longPressRecognizer_);
    setHandleType(QZScalableViewHandleTypeResize);
}

void QZTextViewHandle::registerTextViewRecognizer(const std::shared_ptr<UIGestureRecognizer>& recognizer)
{
    recognizer->requireGestureRecognizerToFail(longPressRecognizer_);
}

void QZTextViewHandle::handleTouched(UILongPressGestureRecognizer* recognizer)
{
    auto box = std::dynamic_pointer_cast<QZTextView>(superview());
    if (!box || !box->isScalingEnabled()) return;
    box->transformWithHandlePoint(recognizer->locationInView(box.get()));
}
