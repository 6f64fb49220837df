#pragma once
// A point in time, as seconds since 1970 (UTC). Dates read the one clock (DispatchClock): in
// virtual time they move only as a test advances it, from a date the test may set
// (DispatchClock::setSecondsSince1970).

#include "Foundation/NSObjCRuntime.h"
#include "Foundation/NSObject.h"

#include <memory>
#include <string>

class NSDate : public NSObject {
public:
    using NSObject::NSObject;

    static std::shared_ptr<NSDate> date();  // now
    static std::shared_ptr<NSDate> dateWithTimeIntervalSinceNow(NSTimeInterval seconds);
    static std::shared_ptr<NSDate> dateWithTimeIntervalSince1970(NSTimeInterval seconds);

    void initWithTimeIntervalSince1970(NSTimeInterval seconds) { secondsSince1970_ = seconds; }

    NSTimeInterval timeIntervalSince1970() const { return secondsSince1970_; }
    // Negative for dates in the past.
    NSTimeInterval timeIntervalSinceNow() const;
    NSTimeInterval timeIntervalSinceDate(const NSDate& other) const;
    std::shared_ptr<NSDate> dateByAddingTimeInterval(NSTimeInterval seconds) const;

    NSComparisonResult compare(const NSDate& other) const;
    bool isEqualToDate(const NSDate& other) const { return secondsSince1970_ == other.secondsSince1970_; }
    bool isEqual(const NSObject& other) const override;
    std::size_t hash() const override;
    // "2014-05-13 16:53:20 +0000"
    std::string description() const override;

private:
    NSTimeInterval secondsSince1970_ = 0;
};
