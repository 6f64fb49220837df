#include "TesselSDK/remote/QZMetricsSession.h"

#include "Foundation/NSClass.h"
#include "Foundation/NSDate.h"
#include "Foundation/NSLog.h"
#include "Foundation/NSString.h"
#include "Foundation/NSUserDefaults.h"
#include "Network/NSURL.h"
#include "TesselSDKFoundation/QZAnalytics.h"
#include "TesselSDK/remote/QZMetricsDatabase.h"
#include "TesselSDK/remote/QZMetricsUploader.h"
#include "TesselSDK/remote/QZRemoteConfiguration.h"

struct QZMetricsSession::ServiceAddress {
    std::optional<std::string> host;  // "host" or "host:port"
    bool useHTTPS = false;
};

QZMetricsSession::QZMetricsSession(Key key)
    : NSObject(key), queue_(dispatch_queue_create("com.tessel.metrics-session", DISPATCH_QUEUE_SERIAL)),
      criticalGroup_(dispatch_group_create()), db_(std::make_unique<QZMetricsDatabase>()),
      uploader_(std::make_unique<QZMetricsUploader>(*this))
{
}

QZMetricsSession::~QZMetricsSession() = default;

std::shared_ptr<QZMetricsSession> QZMetricsSession::shared()
{
    // Leaked on purpose, as the queues its blocks run on are: a block still queued at exit must not
    // meet a destroyed store.
    static const auto* session = new std::shared_ptr<QZMetricsSession>(NSObject::create<QZMetricsSession>());
    return *session;
}

void QZMetricsSession::registerClass()
{
    NSClass::registerClass<QZMetricsSession>(kQZMetricsSessionClassName, [] { return shared(); },
                                             {{"sharedMetricsSession", [] { return Value(shared()); }}});
}

void QZMetricsSession::logMessage(const std::string& message) const
{
    NSLog("%@", message);
}

std::string QZMetricsSession::applicationKeyOnQueue()
{
    if (applicationKey_.empty()) applicationKey_ = db_->appKey().value_or("");
    return applicationKey_;
}

void QZMetricsSession::MetricsSession(const std::string& applicationKey)
{
    dispatch_async(queue_, [this, applicationKey] {
        applicationKey_ = applicationKey;
        if (db_->appKey() != applicationKey) db_->updateAppKey(applicationKey);
    });
}

void QZMetricsSession::setCustomDimension(int index, const std::string& value)
{
    dispatch_async(queue_, [this, index, value] { db_->setCustomDimension(index, value); });
}

void QZMetricsSession::open()
{
    dispatch_async(queue_, [this] {
        int number = 0;
        if (db_->incrementLastSessionNumber(&number)) sessionNumber_ = number;
        db_->setLastSessionStartTimestamp(NSDate::date()->timeIntervalSince1970());
        if (std::optional<std::string> attribution = db_->referralAttributionFromDb())
            uploader_->uploaderReferralWithApplicationKey(applicationKeyOnQueue(), serviceAddress().host, attribution,
                                                          std::nullopt, db_->installId(), std::nullopt, std::nullopt);
    });
}

void QZMetricsSession::upload(UploadCompletion completion)
{
    dispatch_group_async(criticalGroup_, queue_, [this, completion = std::move(completion)] {
        if (db_->unstagedEventCount() > 0) {
            int sequenceNumber = 0;
            std::int64_t headerRowId = 0;
            if (db_->incrementLastUploadNumber(sequenceNumber) &&
                db_->addHeaderWithSequenceNumber(sequenceNumber, headerBlob(sequenceNumber), &headerRowId))
                db_->stageEventsForUpload(headerRowId);
        }
        ServiceAddress address = serviceAddress();
        uploader_->uploaderWithApplicationKey(applicationKeyOnQueue(), address.useHTTPS, address.host, db_->installId(),
                                              kQZAnalyticsSDKVersion, nullptr,
                                              [completion](const QZMetricsUploadResult& result) {
                                                  if (result.kind != QZMetricsUploadResult::Kind::AlreadyUploading)
                                                      recordUploadResult(result);
                                                  if (completion) completion(result);
                                              });
    });
}

void QZMetricsSession::close()
{
    std::string blob = eventBlob("close", "", Value());
    dispatch_async(queue_, [this, blob] { db_->addCloseEventWithBlobString(blob); });
}

void QZMetricsSession::tagEvent(const std::string& eventName, const Value& attributes)
{
    std::string blob = eventBlob("event", eventName, attributes);
    dispatch_async(queue_, [this, blob] { db_->addEventWithBlobString(blob); });
}

void QZMetricsSession::tagScreen(const std::string& screenName)
{
    std::string blob = eventBlob("screen", screenName, Value());
    dispatch_async(queue_, [this, blob] { db_->addEventWithBlobString(blob); });
}

QZMetricsSession::ServiceAddress QZMetricsSession::serviceAddress()
{
    ServiceAddress address;
    std::optional<std::string> root = QZRemoteConfiguration::analyticsServiceRoot();
    std::shared_ptr<NSURL> url = root ? NSURL::URLWithString(*root) : nullptr;
    if (!url || url->host().empty()) return address;
    address.useHTTPS = url->scheme() == "https";
    address.host = url->port() ? NSStringWithFormat("%@:%d", url->host(), *url->port()) : url->host();
    return address;
}

void QZMetricsSession::recordUploadResult(const QZMetricsUploadResult& result)
{
    std::shared_ptr<NSUserDefaults> defaults = NSUserDefaults::standardUserDefaults();
    defaults->setObject(Value::dictionary({{"result", result.description()},
                                           {"date", Value::date(NSDate::date()->timeIntervalSince1970())}}),
                        kQZMetricsLastUploadResultKey);
    defaults->synchronize();
}

Value QZMetricsSession::lastUploadResult()
{
    return NSUserDefaults::standardUserDefaults()->objectForKey(kQZMetricsLastUploadResultKey);
}
