// tessel_fixture_server --port N DIR
// Serves DIR's files on 127.0.0.1:N as the content service would, so that a person can point the
// system at it: the first line on stdout is the base URL, then one line per request ("GET /path");
// "@BASE@" in .json files reads as that URL. SIGINT or SIGTERM ends it (exit 0). Bad arguments: usage, exit 2. A DIR that is no
// directory or a port that cannot be bound: a message, exit 1.

#include "testing/TesselFixtureServer.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>

#include <pthread.h>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: tessel_fixture_server --port N DIR\n"
                         "  serves DIR's files on http://127.0.0.1:N (N = 0 picks a free port)\n");
    return 2;
}

bool parsePort(const std::string& text, int* port)
{
    if (text.empty() || text.size() > 5) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    *port = std::atoi(text.c_str());
    return *port <= 65535;
}

}  // namespace

int main(int argc, char** argv)
{
    int port = -1;
    std::string directory;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument == "--port" && i + 1 < argc && port < 0) {
            if (!parsePort(argv[++i], &port)) return usage();
        } else if (!argument.empty() && argument[0] != '-' && directory.empty()) {
            directory = argument;
        } else {
            return usage();
        }
    }
    if (port < 0 || directory.empty()) return usage();

    // The signals are taken by sigwait below; the server's threads inherit the mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    std::unique_ptr<TesselFixtureServer> server;
    try {
        server = std::make_unique<TesselFixtureServer>(port);
        server->serveDirectory(directory);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tessel_fixture_server: %s\n", error.what());
        return 1;
    }
    std::printf("%s\n", server->baseURL().c_str());
    std::fflush(stdout);
    server->setRequestObserver([](const TesselFixtureServer::LoggedRequest& request) {
        std::printf("%s %s\n", request.method.c_str(), request.path.c_str());
        std::fflush(stdout);
    });

    int signal = 0;
    sigwait(&stopSignals, &signal);
    server.reset();
    return 0;
}
