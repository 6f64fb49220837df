#include "UIKit/UIPasteboard.h"

#include <map>

std::shared_ptr<UIPasteboard> UIPasteboard::pasteboardWithName(const std::string& name, bool create)
{
    static std::mutex registryMutex;
    static std::map<std::string, std::shared_ptr<UIPasteboard>> pasteboards;
    std::lock_guard<std::mutex> lock(registryMutex);
    auto found = pasteboards.find(name);
    if (found != pasteboards.end()) return found->second;
    if (!create) return nullptr;
    std::shared_ptr<UIPasteboard> pasteboard = NSObject::create<UIPasteboard>();
    pasteboards.emplace(name, pasteboard);
    return pasteboard;
}

std::optional<std::string> UIPasteboard::string() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return string_;
}

void UIPasteboard::setString(const std::optional<std::string>& text)
{
    std::lock_guard<std::mutex> lock(mutex_);
    string_ = text;
}
