#pragma once
// The analytics session: what the facade reports reaches the store through it, and the uploader
// sends the store's contents out. The library never registers it; a host that wants analytics
// calls QZMetricsSession::registerClass() once, and until then the facade does nothing.
//
// One serial queue runs every call on the store: tagEvent and tagScreen write their blob there
// and return. An upload stages the unstaged events under a new header on the queue, then hands
// over to the uploader, whose network exchange runs on the same queue inside criticalGroup(); a
// host waits for uploads in flight with dispatch_group_wait on it. The last upload's outcome is
// kept in the user defaults under "kQZMetricsLastUploadResult" ({"result": text, "date"}).
//
// Uploads go to the configuration's analytics service root (QZRemoteConfiguration); with none the
// session stages and sends nothing.

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "Dispatch/Dispatch.h"
#include "Foundation/NSObject.h"
#include "TesselSDKFoundation/QZMetricsSessionProtocol.h"
#include "TesselSDK/remote/QZMetricsUploadResult.h"

class QZMetricsDatabase;
class QZMetricsUploader;

inline constexpr const char* kQZMetricsLastUploadResultKey = "kQZMetricsLastUploadResult";

class QZMetricsSession : public NSObject, public QZMetricsSessionProtocol {
public:
    using UploadCompletion = std::function<void(const QZMetricsUploadResult&)>;

    explicit QZMetricsSession(Key key);
    ~QZMetricsSession() override;

    // The one session of the process, made on first use with the store of the sandbox of that
    // moment, and never destroyed. A program that ends soon after reporting waits for the queue
    // (dispatch_sync on queue()) so that its last events reach the store.
    static std::shared_ptr<QZMetricsSession> shared();
    // Registers the class "QZMetricsSession" (class method "sharedMetricsSession") for the facade.
    static void registerClass();

    // The store and the uploader: touch the store only from blocks on queue().
    QZMetricsDatabase& db() { return *db_; }
    QZMetricsUploader& uploader() { return *uploader_; }
    const dispatch_queue_t& queue() const { return queue_; }
    const dispatch_group_t& criticalGroup() const { return criticalGroup_; }
    bool loggingEnabled() const { return loggingEnabled_; }
    void setLoggingEnabled(bool enabled) { loggingEnabled_ = enabled; }
    void logMessage(const std::string& message) const;

    void MetricsSession(const std::string& applicationKey) override;
    void setCustomDimension(int index, const std::string& value) override;
    void open() override;
    void upload() override { upload(nullptr); }
    // `completion` hears the outcome on the queue.
    void upload(UploadCompletion completion);
    void close() override;
    void tagEvent(const std::string& eventName, const Value& attributes) override;
    void tagScreen(const std::string& screenName) override;

    // The outcome of the last upload attempted with this sandbox, by any process; nil when none.
    static Value lastUploadResult();

private:
    struct ServiceAddress;
    std::string applicationKeyOnQueue();
    std::string headerBlob(int sequenceNumber);
    std::string eventBlob(const char* type, const std::string& name, const Value& attributes) const;
    static ServiceAddress serviceAddress();
    static void recordUploadResult(const QZMetricsUploadResult& result);

    dispatch_queue_t queue_;
    dispatch_group_t criticalGroup_;
    std::unique_ptr<QZMetricsDatabase> db_;
    std::unique_ptr<QZMetricsUploader> uploader_;
    std::atomic<bool> loggingEnabled_{false};
    std::atomic<int> sessionNumber_{0};
    std::string applicationKey_;  // on the queue
};
