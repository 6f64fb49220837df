#pragma once
// A URL, parsed by libcurl's URL parser. Text that is no URL (no scheme, bad syntax) makes no
// URL: URLWithString answers null. The text given is kept as the absolute string; the parts are
// read from the parse.

#include "Foundation/NSObject.h"

#include <memory>
#include <optional>
#include <string>

class NSURL : public NSObject {
public:
    using NSObject::NSObject;

    static std::shared_ptr<NSURL> URLWithString(const std::string& text);
    // A "file" URL for an absolute path.
    static std::shared_ptr<NSURL> fileURLWithPath(const std::string& path);

    const std::string& absoluteString() const { return absoluteString_; }
    const std::string& scheme() const { return scheme_; }  // lower case
    const std::string& host() const { return host_; }
    std::optional<int> port() const { return port_; }
    // Percent-decoded.
    const std::string& path() const { return path_; }
    const std::string& query() const { return query_; }
    bool isFileURL() const { return scheme_ == "file"; }
    std::string lastPathComponent() const;
    std::string pathExtension() const;

    std::string description() const override { return absoluteString_; }
    bool isEqual(const NSObject& other) const override;
    std::size_t hash() const override { return std::hash<std::string>()(absoluteString_); }

private:
    bool initWithString(const std::string& text);

    std::string absoluteString_;
    std::string scheme_;
    std::string host_;
    std::optional<int> port_;
    std::string path_;
    std::string query_;
};
