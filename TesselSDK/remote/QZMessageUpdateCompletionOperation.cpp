#include "TesselSDK/remote/QZMessageUpdateCompletionOperation.h"

#include "CoreData/NSManagedObjectContext.h"
#include "Foundation/NSLog.h"
#include "Foundation/NSUserDefaults.h"
#include "TesselSDKFoundation/QZAnalytics.h"
#include "TesselSDK/remote/QZContentPackFetchOperation.h"
#include "TesselSDK/remote/QZMessageFetchOperation.h"
#include "TesselSDK/remote/QZTesselContentManager.h"

std::shared_ptr<QZMessageUpdateCompletionOperation> QZMessageUpdateCompletionOperation::make(
    long long pendingVersion, const std::vector<std::shared_ptr<QZMessageFetchOperation>>& fetchOperations,
    std::shared_ptr<QZTesselContentManager> manager, CompletionBlock completionBlock)
{
    return NSObject::create<QZMessageUpdateCompletionOperation>([&](QZMessageUpdateCompletionOperation& op) {
        op.pendingVersion_ = pendingVersion;
        op.fetches_ = fetchOperations;
        op.manager_ = manager;
        op.completionBlock_ = std::move(completionBlock);
        for (const auto& fetch : fetchOperations) op.addDependency(fetch);
    });
}

void QZMessageUpdateCompletionOperation::main()
{
    bool saved = true;
    if (auto manager = manager_.lock()) {
        auto context = manager->messagesUpdateManagedObjectContext();
        context->performBlockAndWait([&] {
            std::shared_ptr<NSError> error;
            if (context->hasChanges() && !context->save(&error)) {
                NSLog("%s %@", "-[QZMessageUpdateCompletionOperation main]",
                      NSStringWithFormat("content pack save failed with error: %@",
                                         error ? error->description() : std::string()));
                context->reset();
                saved = false;
            }
        });
    }
    if (!saved) {
        setError(NSError::errorWithDomain(kQZCoreDataErrorDomain, 0));
    } else {
        bool fetchFailed = false;
        for (const auto& fetch : fetches_) fetchFailed = fetchFailed || fetch->error();
        if (fetchFailed) {
            QZAnalytics::reportEvent("Message Update: Failed", Value());
        } else if (pendingVersion_ != 0) {
            auto defaults = NSUserDefaults::standardUserDefaults();
            defaults->setObject(Value(static_cast<std::int64_t>(pendingVersion_)),
                                kQZContentManagerCurrentMessagingManifestVerion);
            QZAnalytics::reportEvent("Message Update: Succeeded", Value());
            defaults->synchronize();
        }
    }
    CompletionBlock block = std::move(completionBlock_);
    completionBlock_ = nullptr;
    if (block) block(*this);
}
