#include "TesselSDK/remote/QZContentPackUpdateCompletionOperation.h"

#include "Foundation/NSUserDefaults.h"
#include "TesselSDKFoundation/QZAnalytics.h"
#include "TesselSDK/remote/QZContentPackFetchOperation.h"
#include "TesselSDK/remote/QZTesselContentManager.h"

std::shared_ptr<QZContentPackUpdateCompletionOperation> QZContentPackUpdateCompletionOperation::make(
    std::string pendingContentPackManifestVersion,
    const std::vector<std::shared_ptr<QZContentPackFetchOperation>>& fetchOperations, CompletionBlock completionBlock)
{
    return NSObject::create<QZContentPackUpdateCompletionOperation>([&](QZContentPackUpdateCompletionOperation& op) {
        op.pendingVersion_ = std::move(pendingContentPackManifestVersion);
        op.completionBlock_ = std::move(completionBlock);
        for (const auto& fetch : fetchOperations) op.addDependency(fetch);
    });
}

void QZContentPackUpdateCompletionOperation::main()
{
    bool failed = false;
    for (const auto& dependency : dependencies())
        if (auto fetch = std::dynamic_pointer_cast<QZContentPackFetchOperation>(dependency); fetch && fetch->error())
            failed = true;
    auto defaults = NSUserDefaults::standardUserDefaults();
    if (failed) {
        QZAnalytics::reportEvent("CDS Update: Failed", Value());
    } else if (!pendingVersion_.empty()) {
        defaults->setObject(pendingVersion_, kQZContentManagerCurrentContentManifestVerion);
        QZAnalytics::reportEvent("CDS Update: Succeeded", Value());
    }
    defaults->synchronize();
    CompletionBlock block = std::move(completionBlock_);
    completionBlock_ = nullptr;
    if (block) block();
}
