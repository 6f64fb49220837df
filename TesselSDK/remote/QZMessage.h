#pragma once
// An in-app message: what the root screen shows on appearing, at most one at a time. For now the
// store holds none unless a test registers one; the message store fills it in later.

#include "Foundation/NSObject.h"

#include <memory>
#include <string>

class QZContentPack;

class QZMessage : public NSObject {
public:
    using NSObject::NSObject;
    static std::shared_ptr<QZMessage> make(std::shared_ptr<QZContentPack> targetPack = nullptr);

    // The message to show now, or nil.
    static std::shared_ptr<QZMessage> messageToDisplay();
    // The pack the message advertises, or nil.
    const std::shared_ptr<QZContentPack>& targetPack() const { return targetPack_; }

    // Tests: the message the store answers next (nil: none).
    static void registerMessageForTesting(std::shared_ptr<QZMessage> message);

private:
    std::shared_ptr<QZContentPack> targetPack_;
};
