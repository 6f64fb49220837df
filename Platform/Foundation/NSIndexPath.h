#pragma once
// A section and a row: how tables address their rows. Immutable; equal (and hashed) by content,
// ordered by section, then row.

#include "Foundation/NSObjCRuntime.h"
#include "Foundation/NSObject.h"

#include <memory>
#include <string>

class NSIndexPath : public NSObject {
public:
    using NSObject::NSObject;
    static std::shared_ptr<NSIndexPath> indexPathForRowInSection(NSInteger row, NSInteger section);

    NSInteger section() const { return section_; }
    NSInteger row() const { return row_; }
    NSComparisonResult compare(const NSIndexPath& other) const;

    bool isEqual(const NSObject& other) const override;
    std::size_t hash() const override;
    std::string description() const override;

private:
    NSInteger section_ = 0;
    NSInteger row_ = 0;
};
