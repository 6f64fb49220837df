#include "Dispatch/Dispatch.h"
#include "Foundation/NSDate.h"
#include "Foundation/NSString.h"
#include "Network/NSHTTPURLResponse.h"
#include "Network/NSURLConnection.h"
#include "TesselSDK/remote/QZMetricsDatabase.h"
#include "TesselSDK/remote/QZMetricsSession.h"
#include "TesselSDK/remote/QZMetricsUploader.h"

namespace {

constexpr const char* kReferralMethod =
    "-[QZMetricsUploader uploaderReferralWithApplicationKey:originalAttribution:currentAttribution:installId:"
    "uniqueIdentifier:advertisingIdentifier:]";

}  // namespace

void QZMetricsUploader::uploaderReferralWithApplicationKey(const std::string& applicationKey,
                                                           const std::optional<std::string>& serviceHost,
                                                           const std::optional<std::string>& originalAttribution,
                                                           const std::optional<std::string>& currentAttribution,
                                                           const std::optional<std::string>& installId,
                                                           const std::optional<std::string>& uniqueIdentifier,
                                                           const std::optional<std::string>& advertisingIdentifier)
{
    if (!originalAttribution || !serviceHost || serviceHost->empty()) return;
    auto url = NSURL::URLWithString(NSStringWithFormat("http://%@/fb_install/%@", *serviceHost, applicationKey));
    if (!url) return;

    // Values are percent-encoded: an "&" or "=" in an attribution would otherwise end its field or
    // add one.
    std::string body;
    auto add = [&body](const char* key, const std::string& value) {
        if (!body.empty()) body += '&';
        body += key;
        body += '=';
        body += percentEncoded(value);
    };
    auto seconds = [](double timestamp) { return std::to_string(static_cast<long>(timestamp)); };
    add("fb_attrib_first", *originalAttribution);
    add("fb_attrib_first_date", seconds(session_.db().createdTimestamp()));
    if (currentAttribution) {
        add("fb_attrib_current", *currentAttribution);
        add("fb_attrib_current_date", seconds(NSDate::date()->timeIntervalSince1970()));
    }
    if (advertisingIdentifier) {
        add("dpid_type", "adid");
        add("dpid", *advertisingIdentifier);
    } else if (uniqueIdentifier) {
        add("dpid_type", "udid");
        add("dpid", *uniqueIdentifier);
    }
    if (installId) add("install_id", *installId);

    auto request = NSMutableURLRequest::requestWithURL(url, NSURLRequestReloadIgnoringLocalCacheData, 60);
    request->setHTTPMethod("POST");
    request->setHTTPBody(Value::Data(body.begin(), body.end()));
    dispatch_group_async(session_.criticalGroup(), session_.queue(), [this, request] {
        std::shared_ptr<NSURLResponse> response;
        std::shared_ptr<NSError> error;
        std::optional<Value::Data> answer = NSURLConnection::sendSynchronousRequest(request, &response, &error);
        auto http = std::dynamic_pointer_cast<NSHTTPURLResponse>(response);
        if (error || !http) {
            log(NSStringWithFormat("%s:\n + Error uploading Referral attribution.  Code: %d,  Description: %@\n\n",
                                   kReferralMethod, error ? static_cast<int>(error->code()) : 0,
                                   error ? error->localizedDescription() : std::string("no HTTP response")));
        } else if (QZMetricsUploadResult::keepsRowsForStatus(http->statusCode())) {
            log(NSStringWithFormat("%s:\n + Referral attribution upload unsuccessful. Response code %d\n\n",
                                   kReferralMethod, http->statusCode()));
        } else {
            log(NSStringWithFormat("%s:\n + Referral attribution upload completed successfully. Response code %d\n\n",
                                   kReferralMethod, http->statusCode()));
            session_.db().setReferralAttribution(std::nullopt);
        }
    });
}
