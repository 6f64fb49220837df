#pragma once
// Keeps a window's frame of a layer tree and brings it up to date by drawing only what changed.
//
// Each composite measures the tree (where each layer's drawing lands in the frame's pixels, its
// shadow included) and compares it with the last one: a layer whose change count moved, whose
// animations run, whose contents image is another (a GL layer's presented frame) or whose place in
// the frame moved damages where it was and where it is now; so does a layer that left the tree or
// was hidden. Only the damaged pixels are drawn again, and within them only the layers whose drawing
// reaches them; an untouched tree draws nothing. The damaged part is drawn into a second frame
// over a margin wide enough for every shadow blurred into it, then copied across, so the frame is
// the same to the byte as renderInContext of the whole tree into a fresh image context of its size.
// Main thread only.

#include "QuartzCore/CALayer.h"

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// Whole pixels of the frame, rows from the top.
struct CALayerPixelRect {
    int x = 0, y = 0, width = 0, height = 0;
};

class CALayerCompositor {
public:
    CALayerCompositor();
    ~CALayerCompositor();
    CALayerCompositor(const CALayerCompositor&) = delete;
    CALayerCompositor& operator=(const CALayerCompositor&) = delete;

    // Lays the tree out, then brings the frame (the root's bounds times `scale`, in pixels, the
    // root's bounds origin at the top left) up to date; answers the pixels drawn again, none when
    // nothing changed. A change of size or scale draws everything.
    std::vector<CALayerPixelRect> composite(CALayer& root, CGFloat scale);
    // Forgets the frame: the next composite draws everything.
    void invalidate();

    // The frame: premultiplied R, G, B, A bytes, rows from the top; null before the first composite.
    const std::uint8_t* pixels() const;
    size_t width() const { return width_; }
    size_t height() const { return height_; }
    size_t bytesPerRow() const;

    // Composites that drew something, and the layers the last one drew.
    int compositeCount() const { return composites_; }
    const std::unordered_set<const CALayer*>& layersDrawnLast() const { return drawnLast_; }

private:
    struct Seen;
    struct Measure;
    class Damaged;
    std::unordered_map<const CALayer*, Seen> seen_;
    CGContextRef frame_ = nullptr;
    CGContextRef scratch_ = nullptr;
    size_t width_ = 0, height_ = 0;
    CGFloat scale_ = 0;
    int composites_ = 0;
    std::unordered_set<const CALayer*> drawnLast_;
};
