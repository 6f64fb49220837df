#include "TesselSDK/remote/QZContentUpdateRequests.h"

#include "Dispatch/Dispatch.h"
#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "TesselSDK/remote/QZAssetManager.h"
#include "TesselSDK/remote/QZRemoteConfiguration.h"
#include "TesselSDK/remote/QZURLRequestOperation.h"

std::shared_ptr<NSOperationQueue> QZContentUpdateRequestQueue()
{
    return QZAssetManager::sharedManager()->downloadQueue();
}

void QZFetchUpdateDocument(const std::shared_ptr<NSURLRequest>& request,
                           std::function<void(const Value::Data&)> success,
                           std::function<void(const std::shared_ptr<NSError>&)> failure)
{
    auto operation = QZURLRequestOperation::operationWithRequest(request);
    operation->setSuccessBlock([success = std::move(success)](QZURLRequestOperation&, const Value::Data& data) {
        dispatch_async(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0),
                       [success, data] { success(data); });
    });
    operation->setFailureBlock([failure = std::move(failure)](
                                   QZURLRequestOperation&, const std::shared_ptr<NSError>& error) { failure(error); });
    QZContentUpdateRequestQueue()->addOperation(operation);
}

std::string QZDescribeUpdateError(const std::shared_ptr<NSError>& error)
{
    return error ? error->localizedDescription() : std::string("unknown error");
}

bool QZUsesStagingContentService()
{
    return QZPhotoEditorCustomization::optionValueForKey("editor.useTDVStagingEnvironment").boolValue();
}

std::shared_ptr<NSURL> QZContentServiceDocumentURL(bool staging, const std::string& document)
{
    const std::optional<std::string> root =
        staging ? QZRemoteConfiguration::stagingContentServiceRoot() : QZRemoteConfiguration::contentServiceRoot();
    const std::optional<std::string> apiKey = QZRemoteConfiguration::apiKey();
    if (!root || !apiKey) return nullptr;
    return NSURL::URLWithString(*root + (staging ? kQZContentServicePath : kQZContentAssetServicePath) + *apiKey + "/" +
                                document);
}
