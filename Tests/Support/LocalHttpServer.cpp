// SPDX-License-Identifier: GPL-3.0-or-later
#include "Support/LocalHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace TestSupport
{

LocalHttpServer::LocalHttpServer (std::string responseBody, int answerDelayMs)
    : body (std::move (responseBody)), delayMs (answerDelayMs)
{
    listener = ::socket (AF_INET, SOCK_STREAM, 0);

    if (listener < 0)
        throw std::runtime_error ("socket failed");

    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl (INADDR_LOOPBACK);
    address.sin_port = 0;

    if (::bind (listener, reinterpret_cast<sockaddr*> (&address), sizeof (address)) != 0
        || ::listen (listener, 8) != 0)
    {
        ::close (listener);
        throw std::runtime_error ("bind/listen failed");
    }

    socklen_t length = sizeof (address);
    ::getsockname (listener, reinterpret_cast<sockaddr*> (&address), &length);
    boundPort = ntohs (address.sin_port);

    thread = std::thread ([this] { serve(); });
}

LocalHttpServer::~LocalHttpServer()
{
    stopping = true;
    thread.join();
    ::close (listener);
}

std::string LocalHttpServer::hostAndPort() const
{
    return "127.0.0.1:" + std::to_string (boundPort);
}

std::vector<std::string> LocalHttpServer::requestLines() const
{
    std::lock_guard<std::mutex> lock (mutex);
    return requests;
}

void LocalHttpServer::serve()
{
    while (! stopping)
    {
        pollfd waiting { listener, POLLIN, 0 };

        if (::poll (&waiting, 1, 50) <= 0)
            continue;

        const int connection = ::accept (listener, nullptr, nullptr);

        if (connection >= 0)
        {
            answer (connection);
            ::close (connection);
        }
    }
}

void LocalHttpServer::answer (int connection)
{
    // Read the request head (bounded in size and time).
    std::string head;
    char buffer[1024];
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds (5);

    while (head.find ("\r\n\r\n") == std::string::npos && head.size() < 16384
           && std::chrono::steady_clock::now() < deadline && ! stopping)
    {
        pollfd readable { connection, POLLIN, 0 };

        if (::poll (&readable, 1, 50) <= 0)
            continue;

        const auto n = ::recv (connection, buffer, sizeof (buffer), 0);

        if (n <= 0)
            return;

        head.append (buffer, static_cast<size_t> (n));
    }

    {
        std::lock_guard<std::mutex> lock (mutex);
        requests.push_back (head.substr (0, head.find ("\r\n")));
    }

    for (int waited = 0; waited < delayMs && ! stopping; waited += 10)
        std::this_thread::sleep_for (std::chrono::milliseconds (10));

    const std::string reply = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: "
                            + std::to_string (body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    ::send (connection, reply.data(), reply.size(), MSG_NOSIGNAL);
}

} // namespace TestSupport
