#include "TesselSDKImaging/Processors/QZBrushStroke.h"

#include "UIKit/UIColor.h"

void QZBrushStroke::init()
{
    points_ = std::make_shared<std::vector<CGPoint>>();
    color_ = UIColor::redColor();
}

QZBrushStroke::Snapshot QZBrushStroke::snapshot() const
{
    std::lock_guard<std::mutex> guard(lock_);
    Snapshot snapshot;
    snapshot.stroke = std::const_pointer_cast<QZBrushStroke>(self<QZBrushStroke>());
    // An immutable copy: the main thread keeps appending to its own list.
    snapshot.points = std::make_shared<const std::vector<CGPoint>>(*points_);
    snapshot.brushSize = radius_;
    snapshot.blendMode = blendMode_;
    snapshot.isComplete = isComplete_;
    snapshot.colorSplashMode = colorSplashMode_;
    snapshot.color = color_;
    return snapshot;
}

std::vector<CGPoint> QZBrushStroke::points() const
{
    std::lock_guard<std::mutex> guard(lock_);
    return *points_;
}

void QZBrushStroke::setPoints(std::vector<CGPoint> points)
{
    auto list = std::make_shared<std::vector<CGPoint>>(std::move(points));
    std::lock_guard<std::mutex> guard(lock_);
    points_ = std::move(list);
}

void QZBrushStroke::addPoint(CGPoint point)
{
    std::lock_guard<std::mutex> guard(lock_);
    points_->push_back(point);
}

std::size_t QZBrushStroke::pointCount() const
{
    std::lock_guard<std::mutex> guard(lock_);
    return points_->size();
}

float QZBrushStroke::brushSize() const
{
    std::lock_guard<std::mutex> guard(lock_);
    return radius_;
}

void QZBrushStroke::setBrushSize(float size)
{
    std::lock_guard<std::mutex> guard(lock_);
    radius_ = size;
}

std::shared_ptr<UIColor> QZBrushStroke::color() const
{
    std::lock_guard<std::mutex> guard(lock_);
    return color_;
}

void QZBrushStroke::setColor(std::shared_ptr<UIColor> color)
{
    std::lock_guard<std::mutex> guard(lock_);
    color_ = std::move(color);
}

CGBlendMode QZBrushStroke::blendMode() const
{
    std::lock_guard<std::mutex> guard(lock_);
    return blendMode_;
}

void QZBrushStroke::setBlendMode(CGBlendMode mode)
{
    std::lock_guard<std::mutex> guard(lock_);
    blendMode_ = mode;
}

bool QZBrushStroke::isComplete() const
{
    std::lock_guard<std::mutex> guard(lock_);
    return isComplete_;
}

void QZBrushStroke::setIsComplete(bool complete)
{
    std::lock_guard<std::mutex> guard(lock_);
    isComplete_ = complete;
}

QZColorSplashMode QZBrushStroke::colorSplashMode() const
{
    std::lock_guard<std::mutex> guard(lock_);
    return colorSplashMode_;
}

void QZBrushStroke::setColorSplashMode(QZColorSplashMode mode)
{
    std::lock_guard<std::mutex> guard(lock_);
    colorSplashMode_ = mode;
}

int QZBrushStroke::nextRenderIndex() const
{
    std::lock_guard<std::mutex> guard(lock_);
    return nextRenderIndex_;
}

void QZBrushStroke::setNextRenderIndex(int index)
{
    std::lock_guard<std::mutex> guard(lock_);
    nextRenderIndex_ = index;
}
