#pragma once
// Places in a text document and ranges between two of them, as a text view hands them out:
// offsets in UTF-16 units from the document's start.

#include "Foundation/NSObjCRuntime.h"
#include "Foundation/NSObject.h"

#include <algorithm>
#include <memory>

class UITextPosition : public NSObject {
public:
    using NSObject::NSObject;
    static std::shared_ptr<UITextPosition> make(NSInteger offset)
    {
        return NSObject::create<UITextPosition>([&](UITextPosition& p) { p.offset_ = offset; });
    }
    NSInteger offset() const { return offset_; }

private:
    NSInteger offset_ = 0;
};

class UITextRange : public NSObject {
public:
    using NSObject::NSObject;
    // The two positions in document order.
    static std::shared_ptr<UITextRange> make(NSInteger from, NSInteger to)
    {
        return NSObject::create<UITextRange>([&](UITextRange& r) {
            r.start_ = UITextPosition::make(std::min(from, to));
            r.end_ = UITextPosition::make(std::max(from, to));
        });
    }
    const std::shared_ptr<UITextPosition>& start() const { return start_; }
    const std::shared_ptr<UITextPosition>& end() const { return end_; }
    bool isEmpty() const { return start_->offset() == end_->offset(); }

private:
    std::shared_ptr<UITextPosition> start_;
    std::shared_ptr<UITextPosition> end_;
};
