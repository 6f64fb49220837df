#pragma once
// Named pasteboards kept in this process (no system clipboard): what one part of the app writes
// under a name, another reads back. Asking for a missing name without create answers null.

#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "Foundation/NSObject.h"

class UIPasteboard : public NSObject {
public:
    using NSObject::NSObject;
    static std::shared_ptr<UIPasteboard> pasteboardWithName(const std::string& name, bool create);

    std::optional<std::string> string() const;
    void setString(const std::optional<std::string>& text);

private:
    mutable std::mutex mutex_;
    std::optional<std::string> string_;
};
