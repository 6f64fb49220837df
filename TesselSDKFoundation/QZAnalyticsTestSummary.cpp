#include "TesselSDKFoundation/QZAnalyticsTestSummary.h"

#include <mutex>

namespace {

std::mutex& sourceMutex()
{
    static std::mutex mutex;
    return mutex;
}

QZAnalyticsTestSummarySource& registeredSource()
{
    static QZAnalyticsTestSummarySource source;
    return source;
}

}  // namespace

void QZAnalyticsSetTestSummarySource(QZAnalyticsTestSummarySource source)
{
    std::lock_guard lock(sourceMutex());
    registeredSource() = std::move(source);
}

Value QZAnalyticsTestSummary()
{
    QZAnalyticsTestSummarySource source;
    {
        std::lock_guard lock(sourceMutex());
        source = registeredSource();
    }
    Value summary = source ? source() : Value();
    return summary.isDictionary() ? summary : Value::dictionary();
}
