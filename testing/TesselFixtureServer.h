#pragma once
// A loopback HTTP server for tests and for people: it binds 127.0.0.1 (port 0 picks a free one),
// serves a directory as the content service would, and answers scripted routes. Scripted answers
// can redirect, wait before their headers, stall until released, send no Content-Length, drop
// the connection after some body bytes under a larger Content-Length, or trickle the body a byte
// at a time. "@BASE@" in served .json
// files and in scripted bodies becomes baseURL(). Every request is logged.
//
// Routes may be replaced between requests. Enough threads serve that stalled requests starve
// nothing; the destructor releases every stall and stops the server.

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class TesselFixtureServer {
public:
    using HeaderFields = std::vector<std::pair<std::string, std::string>>;

    struct Response {
        int status = 200;
        HeaderFields headers;  // a "Content-Type" here replaces the default text/plain
        std::string body;
        bool sendsContentLength = true;
        double delaySeconds = 0;                    // before the headers
        bool stalls = false;                        // before the headers, until releaseStalls()
        std::optional<std::size_t> dropAfterBytes;  // then the connection closes
        double trickleSeconds = 0;                  // > 0: one body byte, then this long a pause
        bool substitutesBase = true;                // "@BASE@" -> baseURL()

        static Response text(std::string body, int status = 200, std::string contentType = "application/json");
        static Response redirect(std::string location, int status = 302);
    };

    struct LoggedRequest {
        std::string method;
        std::string path;
        std::string query;
        HeaderFields headers;
        std::string body;
        // The field's value, its name read without regard to case; empty when absent.
        std::string header(const std::string& name) const;
    };

    // Throws std::runtime_error with the reason when the port cannot be bound.
    explicit TesselFixtureServer(int port = 0);
    ~TesselFixtureServer();
    TesselFixtureServer(const TesselFixtureServer&) = delete;
    TesselFixtureServer& operator=(const TesselFixtureServer&) = delete;

    int port() const;
    // "http://127.0.0.1:PORT"
    std::string baseURL() const;
    // baseURL() + path (path starts with '/').
    std::string url(const std::string& path) const;

    // Paths with no route answer the directory's files (throws std::runtime_error when `directory`
    // is no directory). Without a directory they answer 404.
    void serveDirectory(const std::string& directory);
    void setRoute(const std::string& path, Response response);
    // Each request takes the next answer; the last one answers every later request.
    void setRoutes(const std::string& path, std::vector<Response> responses);
    void removeRoute(const std::string& path);
    // Lets every stalled request, and every later one, go on.
    void releaseStalls();

    std::vector<LoggedRequest> requests() const;
    // Called with each request as it is logged, one at a time, on a server thread (null: none).
    void setRequestObserver(std::function<void(const LoggedRequest&)> observer);
    int requestCount(const std::string& path) const;
    // The most requests being answered at once since the start.
    int maxRequestsInProgress() const;

    class Impl;

private:
    std::unique_ptr<Impl> impl_;
};
