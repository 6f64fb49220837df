#include "testing/TesselFixtureServer.h"

#include <httplib.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <mutex>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace fs = std::filesystem;

namespace {

// Stalled and delayed requests hold a thread each; this many never run out in a test.
constexpr std::size_t kServerThreads = 64;

bool namesEqual(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to)
{
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::string contentTypeForExtension(std::string extension)
{
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".json") return "application/json";
    if (extension == ".zip") return "application/zip";
    if (extension == ".jpg" || extension == ".jpeg") return "image/jpeg";
    if (extension == ".png") return "image/png";
    return "application/octet-stream";
}

}  // namespace

TesselFixtureServer::Response TesselFixtureServer::Response::text(std::string body, int status, std::string contentType)
{
    Response response;
    response.status = status;
    response.body = std::move(body);
    response.headers.emplace_back("Content-Type", std::move(contentType));
    return response;
}

TesselFixtureServer::Response TesselFixtureServer::Response::redirect(std::string location, int status)
{
    Response response;
    response.status = status;
    response.headers.emplace_back("Location", std::move(location));
    return response;
}

std::string TesselFixtureServer::LoggedRequest::header(const std::string& name) const
{
    for (const auto& [field, value] : headers)
        if (namesEqual(field, name)) return value;
    return {};
}

class TesselFixtureServer::Impl {
public:
    explicit Impl(int requestedPort)
    {
        server_.new_task_queue = [] { return new httplib::ThreadPool(kServerThreads); };
        // One request per connection: a kept-alive connection would hold stop() for seconds.
        server_.set_keep_alive_max_count(1);
        // Only SO_REUSEADDR: the library's default SO_REUSEPORT would let a second server share a
        // port in use.
        server_.set_socket_options([](int socket) {
            int yes = 1;
            setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        });
        auto handler = [this](const httplib::Request& request, httplib::Response& response) {
            answer(request, response);
        };
        server_.Get(".*", handler);
        server_.Post(".*", handler);
        server_.Put(".*", handler);
        server_.Delete(".*", handler);
        server_.Patch(".*", handler);
        if (requestedPort == 0) {
            port_ = server_.bind_to_any_port("127.0.0.1");
            if (port_ < 0) throw std::runtime_error("cannot bind 127.0.0.1 to a free port");
        } else {
            if (!server_.bind_to_port("127.0.0.1", requestedPort))
                throw std::runtime_error("cannot bind 127.0.0.1:" + std::to_string(requestedPort) +
                                         " (in use or not allowed)");
            port_ = requestedPort;
        }
        baseURL_ = "http://127.0.0.1:" + std::to_string(port_);
        listener_ = std::thread([this] {
            server_.listen_after_bind();
            listenReturned_ = true;
        });
        // stop() does nothing before the server runs: wait for it, so the destructor can stop it.
        while (!server_.is_running() && !listenReturned_) std::this_thread::yield();
    }

    ~Impl()
    {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        server_.stop();
        if (listener_.joinable()) listener_.join();
    }

    void answer(const httplib::Request& request, httplib::Response& response)
    {
        Response scripted;
        bool haveRoute = false;
        {
            std::lock_guard lock(mutex_);
            ++inProgress_;
            maxInProgress_ = std::max(maxInProgress_, inProgress_);
            LoggedRequest logged{request.method, request.path, {}, {}, request.body};
            for (const auto& [name, value] : request.headers) logged.headers.emplace_back(name, value);
            auto question = request.target.find('?');
            if (question != std::string::npos) logged.query = request.target.substr(question + 1);
            if (observer_) observer_(logged);
            log_.push_back(std::move(logged));
            ++counts_[request.path];
            auto route = routes_.find(request.path);
            if (route != routes_.end() && !route->second.empty()) {
                haveRoute = true;
                scripted = route->second.front();
                if (route->second.size() > 1) route->second.erase(route->second.begin());
            }
        }
        if (haveRoute)
            answerScripted(scripted, response);
        else
            answerFile(request.path, response);
        std::lock_guard lock(mutex_);
        --inProgress_;
    }

    void answerScripted(const Response& scripted, httplib::Response& response)
    {
        {
            std::unique_lock lock(mutex_);
            if (scripted.delaySeconds > 0)
                wake_.wait_for(lock, std::chrono::duration<double>(scripted.delaySeconds), [&] { return stopping_; });
            if (scripted.stalls) wake_.wait(lock, [&] { return stopping_ || stallsReleased_; });
        }
        response.status = scripted.status;
        std::string contentType = "text/plain";
        for (const auto& [name, value] : scripted.headers) {
            if (namesEqual(name, "Content-Type"))
                contentType = value;
            else
                response.set_header(name, value);
        }
        auto body = std::make_shared<std::string>(
            scripted.substitutesBase ? replaceAll(scripted.body, "@BASE@", baseURL_) : scripted.body);
        if (scripted.trickleSeconds > 0) {
            // Never idle long enough for an idle limit, never done: only a deadline ends it.
            const auto pause = std::chrono::duration<double>(scripted.trickleSeconds);
            response.set_content_provider(
                body->size(), contentType,
                [this, body, pause](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                    if (offset >= body->size() || !sink.write(body->data() + offset, 1)) return false;
                    std::unique_lock lock(mutex_);
                    return !wake_.wait_for(lock, pause, [&] { return stopping_; });
                });
        } else if (scripted.dropAfterBytes) {
            std::size_t limit = std::min(*scripted.dropAfterBytes, body->size());
            response.set_content_provider(
                body->size(), contentType,
                [body, limit](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                    if (offset >= limit) return false;  // closes mid-body
                    std::size_t n = std::min(length, limit - offset);
                    sink.write(body->data() + offset, n);
                    return offset + n < limit;
                });
        } else if (!scripted.sendsContentLength) {
            response.set_content_provider(contentType, [body](std::size_t offset, httplib::DataSink& sink) {
                if (offset < body->size()) sink.write(body->data() + offset, body->size() - offset);
                sink.done();
                return true;
            });
        } else if (!body->empty() || scripted.status != 204) {
            response.set_content(*body, contentType);
        }
    }

    void answerFile(const std::string& path, httplib::Response& response)
    {
        response.status = 404;
        std::string root;
        {
            std::lock_guard lock(mutex_);
            root = root_;
        }
        if (root.empty() || path.empty() || path.front() != '/') return;
        fs::path relative = fs::path(path).relative_path();
        for (const auto& part : relative)
            if (part == "..") return;
        std::error_code error;
        fs::path file = fs::weakly_canonical(fs::path(root) / relative, error);
        if (error) return;
        // Symbolic links may still point out of the directory.
        fs::path rootPath(root);
        auto [rootEnd, fileAt] = std::mismatch(rootPath.begin(), rootPath.end(), file.begin(), file.end());
        if (rootEnd != rootPath.end() || !fs::is_regular_file(file, error)) return;
        std::ifstream in(file, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        if (!in) return;
        std::string body = bytes.str();
        std::string extension = file.extension().string();
        if (extension == ".json") body = replaceAll(std::move(body), "@BASE@", baseURL_);
        response.status = 200;
        response.set_content(body, contentTypeForExtension(extension));
    }

    httplib::Server server_;
    std::thread listener_;
    std::atomic<bool> listenReturned_{false};
    int port_ = 0;
    std::string baseURL_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    bool stallsReleased_ = false;
    std::string root_;
    std::map<std::string, std::vector<Response>> routes_;
    std::vector<LoggedRequest> log_;
    std::function<void(const LoggedRequest&)> observer_;
    std::map<std::string, int> counts_;
    int inProgress_ = 0;
    int maxInProgress_ = 0;
};

TesselFixtureServer::TesselFixtureServer(int port) : impl_(std::make_unique<Impl>(port)) {}

TesselFixtureServer::~TesselFixtureServer() = default;

int TesselFixtureServer::port() const
{
    return impl_->port_;
}

std::string TesselFixtureServer::baseURL() const
{
    return impl_->baseURL_;
}

void TesselFixtureServer::setRequestObserver(std::function<void(const LoggedRequest&)> observer)
{
    std::lock_guard lock(impl_->mutex_);
    impl_->observer_ = std::move(observer);
}

std::string TesselFixtureServer::url(const std::string& path) const
{
    return impl_->baseURL_ + path;
}

void TesselFixtureServer::serveDirectory(const std::string& directory)
{
    std::error_code error;
    fs::path root = fs::canonical(directory, error);
    if (error || !fs::is_directory(root)) throw std::runtime_error(directory + " is not a directory");
    std::lock_guard lock(impl_->mutex_);
    impl_->root_ = root.string();
}

void TesselFixtureServer::setRoute(const std::string& path, Response response)
{
    setRoutes(path, {std::move(response)});
}

void TesselFixtureServer::setRoutes(const std::string& path, std::vector<Response> responses)
{
    std::lock_guard lock(impl_->mutex_);
    impl_->routes_[path] = std::move(responses);
}

void TesselFixtureServer::removeRoute(const std::string& path)
{
    std::lock_guard lock(impl_->mutex_);
    impl_->routes_.erase(path);
}

void TesselFixtureServer::releaseStalls()
{
    {
        std::lock_guard lock(impl_->mutex_);
        impl_->stallsReleased_ = true;
    }
    impl_->wake_.notify_all();
}

std::vector<TesselFixtureServer::LoggedRequest> TesselFixtureServer::requests() const
{
    std::lock_guard lock(impl_->mutex_);
    return impl_->log_;
}

int TesselFixtureServer::requestCount(const std::string& path) const
{
    std::lock_guard lock(impl_->mutex_);
    auto it = impl_->counts_.find(path);
    return it == impl_->counts_.end() ? 0 : it->second;
}

int TesselFixtureServer::maxRequestsInProgress() const
{
    std::lock_guard lock(impl_->mutex_);
    return impl_->maxInProgress_;
}
