#include "Foundation/NSIndexPath.h"

#include "Foundation/NSString.h"

std::shared_ptr<NSIndexPath> NSIndexPath::indexPathForRowInSection(NSInteger row, NSInteger section)
{
    return NSObject::create<NSIndexPath>([&](NSIndexPath& path) {
        path.section_ = section;
        path.row_ = row;
    });
}

NSComparisonResult NSIndexPath::compare(const NSIndexPath& other) const
{
    if (section_ != other.section_) return section_ < other.section_ ? NSOrderedAscending : NSOrderedDescending;
    if (row_ != other.row_) return row_ < other.row_ ? NSOrderedAscending : NSOrderedDescending;
    return NSOrderedSame;
}

bool NSIndexPath::isEqual(const NSObject& other) const
{
    auto* path = dynamic_cast<const NSIndexPath*>(&other);
    return path && compare(*path) == NSOrderedSame;
}

std::size_t NSIndexPath::hash() const
{
    return std::hash<long long>()((static_cast<long long>(section_) << 32) ^ static_cast<unsigned>(row_));
}

std::string NSIndexPath::description() const
{
    return NSStringWithFormat("<NSIndexPath: {%d, %d}>", section_, row_);
}
