#include "Network/NetworkTransferThread.h"

#include "Foundation/PlatformSettings.h"
#include "Network/NSURLError.h"

#include <curl/curl.h>
#include <pthread.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr long kMaxRedirects = 10;

struct Transfer {
    std::uint64_t id = 0;
    CURL* easy = nullptr;
    curl_slist* headerList = nullptr;
    std::shared_ptr<NetworkTransferSink> sink;
    std::shared_ptr<NSURLRequest> request;
    std::string url;
    NSHTTPURLResponse::HeaderFields headers;  // of the response being read
    bool responseSent = false;
    bool refused = false;
    Clock::time_point lastActivity;
    Clock::duration idleLimit{};
    Clock::time_point deadline;
    double totalSeconds = 0;  // scaled, for the message
    curl_off_t downloaded = -1;
    curl_off_t uploaded = -1;
    char errorText[CURL_ERROR_SIZE] = {};

    ~Transfer()
    {
        if (easy) curl_easy_cleanup(easy);
        if (headerList) curl_slist_free_all(headerList);
    }
};

NSInteger errorCodeFor(CURLcode result)
{
    switch (result) {
    case CURLE_UNSUPPORTED_PROTOCOL: return NSURLErrorUnsupportedURL;
    case CURLE_URL_MALFORMAT: return NSURLErrorBadURL;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY: return NSURLErrorCannotFindHost;
    case CURLE_COULDNT_CONNECT: return NSURLErrorCannotConnectToHost;
    case CURLE_OPERATION_TIMEDOUT: return NSURLErrorTimedOut;
    case CURLE_TOO_MANY_REDIRECTS: return NSURLErrorHTTPTooManyRedirects;
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM: return NSURLErrorNetworkConnectionLost;
    case CURLE_PEER_FAILED_VERIFICATION: return NSURLErrorServerCertificateUntrusted;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR: return NSURLErrorSecureConnectionFailed;
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_BAD_CONTENT_ENCODING: return NSURLErrorBadServerResponse;
    default: return NSURLErrorUnknown;
    }
}

std::string trim(std::string_view text)
{
    auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    auto last = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(first, last - first + 1));
}

}  // namespace

class NetworkTransferThread::Impl {
public:
    Impl() : multi_(curl_multi_init()) {}

    void run()
    {
        std::thread([this] { loop(); }).detach();
    }

    std::uint64_t enqueueStart(std::shared_ptr<NSURLRequest> request, std::shared_ptr<NetworkTransferSink> sink)
    {
        std::uint64_t id;
        {
            std::lock_guard lock(mutex_);
            id = ++lastId_;
            commands_.push_back({id, std::move(request), std::move(sink)});
        }
        curl_multi_wakeup(multi_);
        return id;
    }

    void enqueueCancel(std::uint64_t id)
    {
        {
            std::lock_guard lock(mutex_);
            commands_.push_back({id, nullptr, nullptr});
        }
        curl_multi_wakeup(multi_);
    }

private:
    struct Command {
        std::uint64_t id;
        std::shared_ptr<NSURLRequest> request;  // null: cancel
        std::shared_ptr<NetworkTransferSink> sink;
    };

    void loop()
    {
        for (;;) {
            runCommands();
            int running = 0;
            curl_multi_perform(multi_, &running);
            collectFinished();
            expireOverdue();
            curl_multi_poll(multi_, nullptr, 0, pollMilliseconds(), nullptr);
        }
    }

    void runCommands()
    {
        std::deque<Command> commands;
        {
            std::lock_guard lock(mutex_);
            commands.swap(commands_);
        }
        for (auto& command : commands) {
            if (command.request) {
                begin(command);
            } else {
                auto it = transfers_.find(command.id);
                if (it == transfers_.end()) continue;
                curl_multi_remove_handle(multi_, it->second->easy);
                transfers_.erase(it);
            }
        }
    }

    void begin(Command& command)
    {
        auto transfer = std::make_unique<Transfer>();
        transfer->id = command.id;
        transfer->sink = std::move(command.sink);
        transfer->request = std::move(command.request);
        const auto& request = *transfer->request;
        transfer->url = request.URL() ? request.URL()->absoluteString() : std::string();
        const double scale = PlatformSettings::networkTimeoutScale();
        double seconds = request.timeoutInterval() * scale;
        transfer->idleLimit = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
        transfer->lastActivity = Clock::now();
        transfer->totalSeconds = request.totalTimeoutInterval() * scale;
        transfer->deadline = transfer->lastActivity + std::chrono::duration_cast<Clock::duration>(
                                                          std::chrono::duration<double>(transfer->totalSeconds));
        if (!request.URL()) {
            auto sink = transfer->sink;
            sink->finish(NSURLErrorMake(NSURLErrorBadURL, "", "bad URL"));
            return;
        }
        CURL* easy = transfer->easy = curl_easy_init();
        Transfer* t = transfer.get();
        curl_easy_setopt(easy, CURLOPT_URL, transfer->url.c_str());
        curl_easy_setopt(easy, CURLOPT_PRIVATE, t);
        curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, t->errorText);
        curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects);
        // An empty proxy turns off the proxy variables of the environment.
        curl_easy_setopt(easy, CURLOPT_PROXY, "");
        curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
        curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
        curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(std::max<double>(1, seconds * 1000)));
        curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Impl::onHeader);
        curl_easy_setopt(easy, CURLOPT_HEADERDATA, t);
        curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Impl::onData);
        curl_easy_setopt(easy, CURLOPT_WRITEDATA, t);
        curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &Impl::onProgress);
        curl_easy_setopt(easy, CURLOPT_XFERINFODATA, t);
        curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);

        const std::string& method = request.HTTPMethod();
        const auto& body = request.HTTPBody();
        if (method == "HEAD") {
            curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
        } else if (method == "POST" || !body.empty()) {
            curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
            curl_easy_setopt(easy, CURLOPT_COPYPOSTFIELDS,
                             body.empty() ? "" : reinterpret_cast<const char*>(body.data()));
            if (method != "POST") curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, method.c_str());
        } else if (method != "GET") {
            curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, method.c_str());
        }
        // No "Expect: 100-continue" wait before large bodies.
        t->headerList = curl_slist_append(t->headerList, "Expect:");
        for (const auto& [name, value] : request.allHTTPHeaderFields())
            t->headerList = curl_slist_append(t->headerList, (name + ": " + value).c_str());
        curl_easy_setopt(easy, CURLOPT_HTTPHEADER, t->headerList);

        curl_multi_add_handle(multi_, easy);
        transfers_.emplace(t->id, std::move(transfer));
    }

    static size_t onHeader(char* buffer, size_t size, size_t count, void* context)
    {
        auto* t = static_cast<Transfer*>(context);
        t->lastActivity = Clock::now();
        std::string_view line(buffer, size * count);
        if (line.starts_with("HTTP/")) {
            t->headers.clear();  // a new response (after a redirect or an interim answer)
        } else if (auto colon = line.find(':'); colon != std::string_view::npos) {
            t->headers.emplace_back(trim(line.substr(0, colon)), trim(line.substr(colon + 1)));
        }
        return size * count;
    }

    static bool sendResponse(Transfer* t)
    {
        t->responseSent = true;
        long status = 0;
        char* effective = nullptr;
        curl_off_t length = -1;
        curl_easy_getinfo(t->easy, CURLINFO_RESPONSE_CODE, &status);
        curl_easy_getinfo(t->easy, CURLINFO_EFFECTIVE_URL, &effective);
        curl_easy_getinfo(t->easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
        auto url = effective ? NSURL::URLWithString(effective) : nullptr;
        if (!url) url = t->request->URL();
        auto response = NSHTTPURLResponse::make(url, static_cast<int>(status), t->headers, length);
        if (!t->sink->receiveResponse(response)) t->refused = true;
        return !t->refused;
    }

    static size_t onData(char* buffer, size_t size, size_t count, void* context)
    {
        auto* t = static_cast<Transfer*>(context);
        t->lastActivity = Clock::now();
        if (!t->responseSent && !sendResponse(t)) return 0;
        if (t->refused) return 0;
        if (!t->sink->receiveData(reinterpret_cast<const std::uint8_t*>(buffer), size * count)) {
            t->refused = true;
            return 0;
        }
        return size * count;
    }

    static int onProgress(void* context, curl_off_t, curl_off_t downloaded, curl_off_t, curl_off_t uploaded)
    {
        auto* t = static_cast<Transfer*>(context);
        if (downloaded != t->downloaded || uploaded != t->uploaded) {
            t->downloaded = downloaded;
            t->uploaded = uploaded;
            t->lastActivity = Clock::now();
        }
        return 0;
    }

    void collectFinished()
    {
        int left = 0;
        while (CURLMsg* message = curl_multi_info_read(multi_, &left)) {
            if (message->msg != CURLMSG_DONE) continue;
            Transfer* t = nullptr;
            curl_easy_getinfo(message->easy_handle, CURLINFO_PRIVATE, &t);
            CURLcode result = message->data.result;
            curl_multi_remove_handle(multi_, message->easy_handle);
            auto owned = std::move(transfers_.at(t->id));
            transfers_.erase(t->id);
            std::shared_ptr<NSError> error;
            if (result == CURLE_OK && !t->responseSent) sendResponse(t);
            if (t->refused) {
                error = t->sink->refusal(t->url);
            } else if (result != CURLE_OK) {
                std::string text = t->errorText[0] ? t->errorText : curl_easy_strerror(result);
                error = NSURLErrorMake(errorCodeFor(result), t->url, text);
            }
            t->sink->finish(error);
        }
    }

    // Ends the transfers idle past their limit, or running past their deadline (a server that
    // trickles a byte now and then is never idle).
    void expireOverdue()
    {
        auto now = Clock::now();
        for (auto it = transfers_.begin(); it != transfers_.end();) {
            Transfer* t = it->second.get();
            const bool idle = now - t->lastActivity > t->idleLimit;
            const bool late = now > t->deadline;
            if (!idle && !late) {
                ++it;
                continue;
            }
            curl_multi_remove_handle(multi_, t->easy);
            auto owned = std::move(it->second);
            it = transfers_.erase(it);
            char text[96] = "The request timed out.";
            if (late && !idle)
                std::snprintf(text, sizeof text, "The request took longer than the %g seconds allowed.",
                              owned->totalSeconds);
            owned->sink->finish(NSURLErrorMake(NSURLErrorTimedOut, owned->url, text));
        }
    }

    int pollMilliseconds() const
    {
        auto now = Clock::now();
        auto wait = std::chrono::milliseconds(1000);
        for (const auto& [id, t] : transfers_) {
            const auto due = std::min(t->lastActivity + t->idleLimit, t->deadline);
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(due - now);
            wait = std::min(wait, left + std::chrono::milliseconds(1));
        }
        return static_cast<int>(std::max<std::int64_t>(1, wait.count()));
    }

    CURLM* multi_;
    std::mutex mutex_;
    std::deque<Command> commands_;
    std::uint64_t lastId_ = 0;
    std::map<std::uint64_t, std::unique_ptr<Transfer>> transfers_;  // network thread only
};

namespace {

std::atomic<NetworkTransferThread*> instance{nullptr};

// Only one thread makes the instance: two racing would each make one, and one would be lost.
std::mutex& creation()
{
    static auto* m = new std::mutex;  // lives as long as the process
    return *m;
}

}  // namespace

NetworkTransferThread& NetworkTransferThread::shared()
{
    static const bool initialised = [] {
        curl_global_init(CURL_GLOBAL_DEFAULT);
        // The thread does not survive fork(): the child makes a new one on first use. The creation
        // lock is held across the fork, so the child never inherits it taken.
        pthread_atfork([] { creation().lock(); }, [] { creation().unlock(); },
                       [] {
                           instance.store(nullptr);
                           creation().unlock();
                       });
        return true;
    }();
    (void)initialised;
    if (NetworkTransferThread* current = instance.load()) return *current;
    std::lock_guard lock(creation());
    if (NetworkTransferThread* current = instance.load()) return *current;
    auto* fresh = new NetworkTransferThread(new Impl);  // lives as long as the process
    instance.store(fresh);
    fresh->impl_->run();
    return *fresh;
}

std::uint64_t NetworkTransferThread::start(const std::shared_ptr<NSURLRequest>& request,
                                           std::shared_ptr<NetworkTransferSink> sink)
{
    return impl_->enqueueStart(request, std::move(sink));
}

void NetworkTransferThread::cancel(std::uint64_t transfer)
{
    impl_->enqueueCancel(transfer);
}
