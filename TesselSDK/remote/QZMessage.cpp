#include "TesselSDK/remote/QZMessage.h"

#include "TesselSDK/remote/QZContentPack.h"

#include <mutex>

namespace {

std::mutex registeredMutex;
std::shared_ptr<QZMessage> registered;

}  // namespace

std::shared_ptr<QZMessage> QZMessage::make(std::shared_ptr<QZContentPack> targetPack)
{
    auto message = NSObject::create<QZMessage>();
    message->targetPack_ = std::move(targetPack);
    return message;
}

std::shared_ptr<QZMessage> QZMessage::messageToDisplay()
{
    std::lock_guard lock(registeredMutex);
    return registered;
}

void QZMessage::registerMessageForTesting(std::shared_ptr<QZMessage> message)
{
    std::lock_guard lock(registeredMutex);
    registered = std::move(message);
}
