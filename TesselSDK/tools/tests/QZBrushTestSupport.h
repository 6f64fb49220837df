#pragma once
// What the brush tools' suites share: a brush screen shown as the root screen shows it, its draw
// overlay inside a canvas zoomed to a chosen scale, so that window points reach the overlay as a
// finger's would.

#include "QZToolScreenTestSupport.h"

#include "TesselSDK/tools/brush/QZBrushViewController.h"

#include "TesselSDKImaging/Processors/QZBrushStroke.h"

#include <string>
#include <vector>

class QZBrushScreenTest : public QZToolScreenTest {
protected:
    static constexpr CGFloat kCanvasLeft = 10;
    static constexpr CGFloat kCanvasTop = 64;
    static constexpr CGFloat kCanvasSide = 300;

    // The canvas holds an image of `imageSize` points (the GL instance's, when there is one) at
    // `zoom` (it may go down to the fit and up to twice the size, or to the fit when that is
    // larger), scrolled to its top-left corner; the tool's overlay lies over the image. `settings`
    // are the tool table's for the tool.
    template <class T>
    std::shared_ptr<T> presentBrush(CGSize imageSize, CGFloat zoom, const std::string& key = "brush",
                                    const std::string& title = "Brush", Value settings = Value())
    {
        canvas_ =
            UIView::viewWithFrame<QZScrollingImageView>(CGRectMake(kCanvasLeft, kCanvasTop, kCanvasSide, kCanvasSide));
        window_->addSubview(canvas_);
        canvas_->setAllowsScaleUp(true);
        canvas_->setImageSize(imageSize);
        if (gl_) {
            canvas_->showOpenGLView(true);
            canvas_->layoutIfNeeded();
            gl_->setRenderbufferFromOpenGLView(canvas_->openGLView());
        }
        canvas_->setZoomScale(zoom);
        canvas_->setContentOffset(CGPointZero);
        canvas_->layoutIfNeeded();
        bar_ = UIView::viewWithFrame<QZNavigationBar>(CGRectMake(0, 20, kWidth, 44));
        window_->addSubview(bar_);
        auto tool = QZToolViewController::makeWithGLInstance<T>(gl_, std::move(settings), false);
        tool->setBordersEnabled(false);
        tool->setNavigationBar(bar_);
        tool->setDelegate(statuses_);
        tool->setTargetViewHeight(100);
        tool->setAnalyticsKey(key);
        tool->setScrollableImageView(canvas_);
        canvas_->setScrollingImageViewDelegate(std::static_pointer_cast<QZScrollingImageViewDelegate>(tool));
        tool->setTitle(title);
        tool->setOverlayRect(CGRectMake(0, 0, kWidth, kToolTop));
        const auto& view = tool->view();
        view->setFrame(CGRectMake(0, kToolTop, kWidth, view->frame().size.height));
        window_->addSubview(view);
        canvas_->setImageOverlayView(tool->scrollableOverlayView());
        window_->addSubview(tool->staticOverlayView());
        bar_->pushNavigationItem(tool->navigationItem(), false);
        tool->viewWillAppear(false);
        tool->viewDidAppear(false);
        driver_.advance(0.4);
        tool_ = tool;
        return tool;
    }

    // A point of the image (in its own points) in window coordinates, the canvas at its top-left.
    CGPoint imagePoint(CGFloat x, CGFloat y) const
    {
        return canvas_->imageView()->convertPointToView(CGPointMake(x, y), nullptr);
    }
    // A finger's stroke through the image points, `moves` moves between each two.
    void stroke(const std::vector<CGPoint>& imagePoints, double seconds = 0.3)
    {
        std::vector<CGPoint> path;
        for (const CGPoint& p : imagePoints) path.push_back(imagePoint(p.x, p.y));
        driver_.drag(path, seconds);
    }
};
