#include "TesselContentAnalyticsCommands.h"

#include <future>

#include "Dispatch/Dispatch.h"
#include "TesselSDKFoundation/QZAnalytics.h"
#include "TesselSDK/remote/QZMetricsDatabase.h"
#include "TesselSDK/remote/QZMetricsSession.h"
#include "TesselSDK/remote/QZRemoteConfiguration.h"

namespace tessel_content {

bool startAnalytics(const std::optional<std::string>& analyticsURL)
{
    if (analyticsURL && !QZRemoteConfiguration::setAnalyticsServiceRoot(analyticsURL)) return false;
    QZMetricsSession::registerClass();
    std::shared_ptr<QZMetricsSession> session = QZMetricsSession::shared();
    session->MetricsSession(kQZAnalyticsApplicationKey);
    session->open();
    return true;
}

void finishAnalytics()
{
    std::shared_ptr<QZMetricsSession> session = QZMetricsSession::shared();
    dispatch_sync(session->queue(), [] {});
    dispatch_group_wait(session->criticalGroup(), DISPATCH_TIME_FOREVER);
}

int runEvents(std::ostream& out)
{
    std::shared_ptr<QZMetricsSession> session = QZMetricsSession::shared();
    int count = 0;
    // After every block queued so far, the events of this run included.
    dispatch_sync(session->queue(), [&] { count = session->db().eventCount(); });
    const Value last = QZMetricsSession::lastUploadResult()["result"];
    out << "events: " << count << "\n";
    out << "last upload: " << (last.isString() ? last.stringValue() : "none") << "\n";
    return 0;
}

int runUpload(std::ostream& out)
{
    std::shared_ptr<QZMetricsSession> session = QZMetricsSession::shared();
    std::promise<QZMetricsUploadResult> outcome;
    session->upload([&outcome](const QZMetricsUploadResult& result) { outcome.set_value(result); });
    const QZMetricsUploadResult result = outcome.get_future().get();
    out << "upload: " << result.description() << "\n";
    const bool sent = result.kind == QZMetricsUploadResult::Kind::Accepted ||
                      result.kind == QZMetricsUploadResult::Kind::NothingToSend;
    return sent ? 0 : 1;
}

}  // namespace tessel_content
