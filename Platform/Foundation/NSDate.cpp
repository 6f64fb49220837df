#include "Foundation/NSDate.h"

#include "Dispatch/DispatchClock.h"

#include <cmath>
#include <ctime>
#include <functional>

std::shared_ptr<NSDate> NSDate::date()
{
    return dateWithTimeIntervalSince1970(DispatchClock::secondsSince1970());
}

std::shared_ptr<NSDate> NSDate::dateWithTimeIntervalSinceNow(NSTimeInterval seconds)
{
    return dateWithTimeIntervalSince1970(DispatchClock::secondsSince1970() + seconds);
}

std::shared_ptr<NSDate> NSDate::dateWithTimeIntervalSince1970(NSTimeInterval seconds)
{
    return NSObject::create<NSDate>(&NSDate::initWithTimeIntervalSince1970, seconds);
}

NSTimeInterval NSDate::timeIntervalSinceNow() const
{
    return secondsSince1970_ - DispatchClock::secondsSince1970();
}

NSTimeInterval NSDate::timeIntervalSinceDate(const NSDate& other) const
{
    return secondsSince1970_ - other.secondsSince1970_;
}

std::shared_ptr<NSDate> NSDate::dateByAddingTimeInterval(NSTimeInterval seconds) const
{
    return dateWithTimeIntervalSince1970(secondsSince1970_ + seconds);
}

NSComparisonResult NSDate::compare(const NSDate& other) const
{
    if (secondsSince1970_ < other.secondsSince1970_) return NSOrderedAscending;
    if (secondsSince1970_ > other.secondsSince1970_) return NSOrderedDescending;
    return NSOrderedSame;
}

bool NSDate::isEqual(const NSObject& other) const
{
    auto* date = dynamic_cast<const NSDate*>(&other);
    return date && isEqualToDate(*date);
}

std::size_t NSDate::hash() const
{
    return std::hash<double>()(secondsSince1970_);
}

std::string NSDate::description() const
{
    auto whole = static_cast<std::time_t>(std::floor(secondsSince1970_));
    std::tm utc{};
    gmtime_r(&whole, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S +0000", &utc);
    return text;
}
