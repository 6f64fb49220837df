#include "Network/NSURL.h"

#include "Foundation/NSString.h"

#include <curl/curl.h>

#include <cctype>
#include <cstdlib>

namespace {

std::string part(CURLU* url, CURLUPart which, unsigned flags = 0)
{
    char* text = nullptr;
    if (curl_url_get(url, which, &text, flags) != CURLUE_OK || !text) return {};
    std::string result = text;
    curl_free(text);
    return result;
}

}  // namespace

std::shared_ptr<NSURL> NSURL::URLWithString(const std::string& text)
{
    return NSObject::create<NSURL>(&NSURL::initWithString, text);
}

std::shared_ptr<NSURL> NSURL::fileURLWithPath(const std::string& path)
{
    if (path.empty() || path.front() != '/') return nullptr;
    std::string encoded = "file://";
    static const char* hex = "0123456789ABCDEF";
    for (unsigned char c : path) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            encoded += static_cast<char>(c);
        } else {
            encoded += '%';
            encoded += hex[c >> 4];
            encoded += hex[c & 15];
        }
    }
    return URLWithString(encoded);
}

bool NSURL::initWithString(const std::string& text)
{
    // libcurl reads the text up to a NUL, which would give parts of another URL than the one kept;
    // bytes of no UTF-8 are no text at all.
    if (text.empty() || text.find('\0') != std::string::npos || !NSStringIsValidUTF8(text)) return false;
    CURLU* url = curl_url();
    if (!url) return false;
    // Schemes libcurl does not speak (file, data, ...) still parse: connections refuse them.
    bool parsed = curl_url_set(url, CURLUPART_URL, text.c_str(), CURLU_NON_SUPPORT_SCHEME) == CURLUE_OK;
    if (parsed) {
        absoluteString_ = text;
        scheme_ = part(url, CURLUPART_SCHEME);
        host_ = part(url, CURLUPART_HOST);
        std::string port = part(url, CURLUPART_PORT);
        if (!port.empty()) port_ = std::atoi(port.c_str());
        path_ = part(url, CURLUPART_PATH, CURLU_URLDECODE);
        query_ = part(url, CURLUPART_QUERY);
    }
    curl_url_cleanup(url);
    return parsed;
}

std::string NSURL::lastPathComponent() const
{
    std::string path = path_;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    auto slash = path.rfind('/');
    return slash == std::string::npos ? path : (path.size() == 1 ? path : path.substr(slash + 1));
}

std::string NSURL::pathExtension() const
{
    std::string last = lastPathComponent();
    auto dot = last.rfind('.');
    return dot == std::string::npos || dot == 0 ? std::string() : last.substr(dot + 1);
}

bool NSURL::isEqual(const NSObject& other) const
{
    auto* url = dynamic_cast<const NSURL*>(&other);
    return url && url->absoluteString_ == absoluteString_;
}
