// SPDX-License-Identifier: GPL-3.0-or-later
#include "Support/FakePacketIO.h"

#include <memory>

namespace TestSupport
{

FakePacketIO::FakePacketIO (int initialState) : state (initialState)
{
}

Tessarine::Result FakePacketIO::setHandler (Handler* newHandler)
{
    int current;

    {
        std::lock_guard<std::mutex> lock (mutex);
        handler = newHandler;
        current = state;
    }

    if (newHandler != nullptr)
        newHandler->connectionStateChanged (current);

    return Tessarine::kSuccess;
}

Tessarine::Result FakePacketIO::sendPacket (const uint8_t* data, size_t length)
{
    Packet packet (data, data + length);
    Responder currentResponder;
    Handler* currentHandler;

    {
        std::lock_guard<std::mutex> lock (mutex);
        ++sendsSeen;

        if (failingSend != 0 && sendsSeen == failingSend)
        {
            failingSend = 0;
            return failingResult;
        }

        sent.push_back (packet);
        currentResponder = responder;
        currentHandler = handler;
    }

    // Replies go out without our lock: the handler may flush from inside.
    if (currentResponder && currentHandler != nullptr)
        for (const auto& reply : currentResponder (packet))
            currentHandler->packetReceived (reply.data(), reply.size());

    return Tessarine::kSuccess;
}

Tessarine::Result FakePacketIO::flush()
{
    std::lock_guard<std::mutex> lock (mutex);
    ++flushes;
    return Tessarine::kSuccess;
}

void FakePacketIO::setResponder (Responder newResponder)
{
    std::lock_guard<std::mutex> lock (mutex);
    responder = std::move (newResponder);
}

FakePacketIO::Responder FakePacketIO::acknowledgeEverything()
{
    return [] (const Packet&) { return std::vector<Packet> { { 0xC0, 0x00 } }; };
}

FakePacketIO::Responder FakePacketIO::replyInOrder (std::vector<std::vector<Packet>> replies)
{
    auto script = std::make_shared<std::vector<std::vector<Packet>>> (std::move (replies));
    auto next = std::make_shared<size_t> (0);

    return [script, next] (const Packet&) {
        if (*next >= script->size())
            return std::vector<Packet>();

        return (*script)[(*next)++];
    };
}

FakePacketIO::Responder FakePacketIO::answeredBy (Tessarine::IUSBHIDDevice& device)
{
    return [&device] (const Packet& sent) {
        Packet report { 0 };
        report.insert (report.end(), sent.begin(), sent.end());
        std::vector<Packet> answers;

        if (device.write (report.data(), report.size()) < 0)
            return answers;

        uint8_t buffer[64];
        int n;

        while ((n = device.read (buffer, sizeof (buffer), 0)) > 0)
            answers.emplace_back (buffer, buffer + n);

        return answers;
    };
}

void FakePacketIO::failSend (size_t n, Tessarine::Result failure)
{
    std::lock_guard<std::mutex> lock (mutex);
    failingSend = sendsSeen + n;
    failingResult = failure;
}

void FakePacketIO::deliver (const Packet& report)
{
    Handler* currentHandler;

    {
        std::lock_guard<std::mutex> lock (mutex);
        currentHandler = handler;
    }

    if (currentHandler != nullptr)
        currentHandler->packetReceived (report.data(), report.size());
}

void FakePacketIO::reportState (int newState)
{
    Handler* currentHandler;

    {
        std::lock_guard<std::mutex> lock (mutex);
        state = newState;
        currentHandler = handler;
    }

    if (currentHandler != nullptr)
        currentHandler->connectionStateChanged (newState);
}

std::vector<FakePacketIO::Packet> FakePacketIO::sentPackets() const
{
    std::lock_guard<std::mutex> lock (mutex);
    return sent;
}

void FakePacketIO::clearSentPackets()
{
    std::lock_guard<std::mutex> lock (mutex);
    sent.clear();
}

size_t FakePacketIO::flushCount() const
{
    std::lock_guard<std::mutex> lock (mutex);
    return flushes;
}

bool FakePacketIO::hasHandler() const
{
    std::lock_guard<std::mutex> lock (mutex);
    return handler != nullptr;
}

} // namespace TestSupport
