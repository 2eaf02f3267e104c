// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace TestSupport
{

/** A tiny HTTP server on 127.0.0.1 (a free port) for tests of code that makes
    requests: every request gets the same 200 answer with the body set, after
    an optional delay. It records the request lines it saw. Nothing leaves the
    machine; the server stops when destroyed. */
class LocalHttpServer
{
public:
    explicit LocalHttpServer (std::string body, int delayMs = 0);
    ~LocalHttpServer();

    int port() const { return boundPort; }

    /** "127.0.0.1:<port>", the form a host setting takes. */
    std::string hostAndPort() const;

    std::vector<std::string> requestLines() const;

private:
    void serve();
    void answer (int connection);

    std::string body;
    int delayMs;
    int listener = -1;
    int boundPort = 0;
    std::atomic<bool> stopping { false };
    mutable std::mutex mutex;
    std::vector<std::string> requests;
    std::thread thread;
};

} // namespace TestSupport
