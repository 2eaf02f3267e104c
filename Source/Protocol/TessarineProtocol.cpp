// SPDX-License-Identifier: GPL-3.0-or-later
#include "TessarineProtocol.h"

#include "TessarinePacket.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace Tessarine
{

using namespace TessarinePacket;

TessarineProtocol::TessarineProtocol (IDevicePacketIO* ioToUse, uint32_t deviceVariant)
    : TessarineProtocol (ioToUse, deviceVariant, Timeouts {})
{
}

TessarineProtocol::TessarineProtocol (IDevicePacketIO* ioToUse, uint32_t deviceVariant, Timeouts timeoutsToUse)
    : io (ioToUse), variant (deviceVariant), timeouts (timeoutsToUse)
{
    // One transaction waits at a time; reserving avoids growing the list on
    // the per-packet path.
    matchers.reserve (4);

    // The transport reports its current state from inside setHandler, so the
    // state is the transport's from here on.
    if (io != nullptr)
        io->setHandler (this);
}

TessarineProtocol::~TessarineProtocol()
{
    if (io != nullptr)
        io->setHandler (nullptr);
}

Result TessarineProtocol::setHandler (Handler* newListener)
{
    std::lock_guard<std::mutex> delivery (listenerMutex);
    std::lock_guard<std::mutex> lock (stateMutex);
    listener = newListener;
    return kSuccess;
}

uint32_t TessarineProtocol::getState() const
{
    std::lock_guard<std::mutex> lock (stateMutex);
    return state;
}

void TessarineProtocol::clearErrorState()
{
    std::lock_guard<std::mutex> op (opMutex);
    std::lock_guard<std::mutex> lock (stateMutex);

    if (state == stateError)
        state = stateConnected;
}

void TessarineProtocol::enterErrorState()
{
    {
        std::lock_guard<std::mutex> lock (stateMutex);

        if (state == stateConnected)
            state = stateError;
    }

    if (io != nullptr)
        io->flush();
}

void TessarineProtocol::limitReplyWait (uint32_t ms)
{
    {
        std::lock_guard<std::mutex> lock (stateMutex);
        replyWaitLimited = true;
        replyWaitLimitFrom = std::chrono::steady_clock::now();
        replyWaitLimit = std::chrono::milliseconds (ms);
    }

    // A request already waiting works out its deadline again.
    stateChanged.notify_all();
}

Result TessarineProtocol::failInErrorState (Result failure)
{
    enterErrorState();
    return failure;
}

//==============================================================================
void TessarineProtocol::connectionStateChanged (int transportState)
{
    std::lock_guard<std::mutex> lock (stateMutex);

    if (transportState == IDevicePacketIO::stateRunning)
        state = stateConnected;
    else if (transportState == IDevicePacketIO::stateStopped)
        state = stateDisconnected;
    else
        state = stateError;

    stateChanged.notify_all();

    if (listener != nullptr)
        listener->connectionStateChanged ((int) state);
}

void TessarineProtocol::packetReceived (const uint8_t* packet, size_t length)
{
    if (length < headerSize)
    {
        TESSARINE_ERROR ("Short packet/msg!");
        enterErrorState();
        return;
    }

    // Input reports may carry bytes after the packet; only the packet counts.
    const size_t packetLength = headerSize + packet[1];

    if (packetLength > length)
    {
        TESSARINE_ERROR ("Packet/msg length mismatch! (%d != %d)", (int) length, (int) packetLength);
        enterErrorState();
        return;
    }

    bool taken = false;
    bool listening = false;

    {
        std::lock_guard<std::mutex> lock (stateMutex);

        for (auto& m : matchers)
        {
            if (m.match (packet, packetLength))
            {
                taken = true;
                break;
            }
        }

        listening = listener != nullptr;
    }

    if (packet[0] == statusReport && listening)
    {
        // Under listenerMutex rather than stateMutex, which every transaction
        // takes: a slow listener holds up no request being sent. A listener
        // detached meanwhile is not called.
        std::lock_guard<std::mutex> delivery (listenerMutex);

        if (listener != nullptr)
            listener->messageReceived (packet + headerSize, packet[1]);
    }
    else if (! taken)
    {
        logMessage (LogWarning, "Unhandled packet!");
    }
}

//==============================================================================
Result TessarineProtocol::sendFrame (const uint8_t* bytes, size_t length)
{
    return io->sendPacket (bytes, length);
}

Result TessarineProtocol::doPacketTransactionWithTimeout (MessageBuffer& reply, std::vector<uint8_t> expectedTypes,
                                                          uint32_t timeoutMs, bool& gotResponse, SendStep send)
{
    gotResponse = false;

    // What the matcher shares with this waiting call; it lives on this stack
    // frame and the matcher is removed before the frame goes.
    struct Pending
    {
        MessageBuffer& reply;
        const std::vector<uint8_t>& expected;
        bool& gotResponse;
        Result result;
        bool waiting;
        std::condition_variable& wake;
    };

    Pending pending { reply, expectedTypes, gotResponse, { false, nullptr }, true, stateChanged };
    uint64_t matcherId = 0;

    {
        std::lock_guard<std::mutex> lock (stateMutex);

        if (state != stateConnected)
            return TESSARINE_ERROR ("Invalid state");

        matcherId = nextMatcherId++;

        // Runs on the reader thread under stateMutex.
        matchers.push_back ({ matcherId, [p = &pending] (const uint8_t* packet, size_t length) {
                                 if (std::find (p->expected.begin(), p->expected.end(), packet[0]) == p->expected.end())
                                     return false;

                                 if (length > p->reply.capacity)
                                 {
                                     p->result = TESSARINE_ERROR ("Buffer too small: %d > %d", (int) length, (int) p->reply.capacity);
                                 }
                                 else
                                 {
                                     std::memcpy (p->reply.data, packet, length);
                                     p->result = kSuccess;
                                 }

                                 p->gotResponse = true;
                                 p->waiting = false;
                                 p->wake.notify_all();
                                 return true;
                             } });
    }

    // Sent without stateMutex, so the reader thread can deliver the reply even
    // while the transport is still busy with this send.
    const Result sent = send (0);

    std::unique_lock<std::mutex> lock (stateMutex);
    Result result { false, nullptr };

    if (! sent.ok)
    {
        result = sent;
    }
    else
    {
        const auto sentAt = std::chrono::steady_clock::now();

        while (pending.waiting)
        {
            if (state != stateConnected)
            {
                result = TESSARINE_ERROR ("Disconnect/error while waiting");
                break;
            }

            // Counted from the send, not from each wake-up, so a limit set
            // meanwhile can bring it forward.
            auto deadline = sentAt + std::chrono::milliseconds (timeoutMs);

            if (replyWaitLimited)
                deadline = std::min (deadline, std::max (sentAt, replyWaitLimitFrom) + replyWaitLimit);

            if (stateChanged.wait_until (lock, deadline) == std::cv_status::timeout)
            {
                result = kSuccess; // no reply in time, unless one came right at the deadline
                break;
            }
        }

        // Checked after the loop, not only when woken: a reply the matcher took
        // while the period ran out is a reply, not a time-out.
        if (! pending.waiting)
            result = pending.result;
    }

    matchers.erase (std::remove_if (matchers.begin(), matchers.end(),
                                    [matcherId] (const RegisteredMatcher& m) { return m.id == matcherId; }),
                    matchers.end());
    return result;
}

Result TessarineProtocol::doPacketTransaction (MessageBuffer& reply, std::vector<uint8_t> expectedTypes, SendStep send)
{
    bool gotResponse = false;
    const Result result = doPacketTransactionWithTimeout (reply, std::move (expectedTypes), timeouts.replyMs,
                                                          gotResponse, std::move (send));

    if (result.ok && ! gotResponse)
        return TESSARINE_ERROR ("Timeout");

    return result;
}

//==============================================================================
Result TessarineProtocol::readData (uint32_t type, uint32_t index, void* buffer, size_t capacity, size_t& received)
{
    uint8_t replyBytes[maxPacketSize];
    MessageBuffer reply { replyBytes, sizeof (replyBytes) };

    const Frame request = readRequestFrame (type, index);
    Result result = doPacketTransaction (reply, { transferStart, nack },
                                         [this, &request] (int) { return sendFrame (request.bytes, request.length); });

    if (! result.ok)
        return failInErrorState (result);

    if (replyBytes[0] == nack)
        return failInErrorState (TESSARINE_ERROR ("Got NACK waiting for TRANSFER_START"));

    if (replyBytes[0] != transferStart)
        return failInErrorState (TESSARINE_ERROR ("Internal error"));

    auto* out = static_cast<uint8_t*> (buffer);
    size_t total = 0;
    const Frame acknowledge = emptyFrame (ack);

    for (;;)
    {
        result = doPacketTransaction (reply, { transferData, transferEnd, nack },
                                      [this, &acknowledge] (int) { return sendFrame (acknowledge.bytes, acknowledge.length); });

        if (! result.ok)
            return failInErrorState (result);

        switch (replyBytes[0])
        {
            case transferData:
            {
                const size_t n = replyBytes[1];
                const size_t room = total < capacity ? capacity - total : 0;
                const size_t copied = std::min (n, room);

                if (copied > 0)
                    std::memcpy (out + total, replyBytes + headerSize, copied);

                // Counted whole, so the caller can tell that the block did not fit.
                total += n;
                break;
            }

            case transferEnd:
                // The pedal's trailer is not checked: reads carry no verified checksum.
                received = total;
                return kSuccess;

            case nack:
                return failInErrorState (TESSARINE_ERROR ("Got unexpected NACK during read transfer"));

            default:
                return failInErrorState (TESSARINE_ERROR ("Internal error"));
        }
    }
}

Result TessarineProtocol::sendData (uint32_t type, uint32_t index, const void* data, size_t size)
{
    // The trailer counts 32-bit words in 16 bits; any other size would go out
    // with a count that does not describe the data.
    if (size % 4 != 0 || size / 4 > 0xFFFF)
        return TESSARINE_ERROR ("Invalid block size");

    uint8_t replyBytes[maxPacketSize];
    MessageBuffer reply { replyBytes, sizeof (replyBytes) };

    const Frame start = emptyFrame (transferStart);
    Result result = doPacketTransaction (reply, { ack, nack },
                                         [this, &start] (int) { return sendFrame (start.bytes, start.length); });

    if (! result.ok)
        return failInErrorState (result);

    // A refused start leaves the pedal in step with us: no error state.
    if (replyBytes[0] == nack)
        return TESSARINE_ERROR ("Got NACK waiting for TRANSFER_START");

    if (replyBytes[0] != ack)
        return failInErrorState (TESSARINE_ERROR ("Internal error"));

    struct Progress
    {
        const uint8_t* bytes;
        size_t size;
        size_t sent;
        uint16_t checksum;
        bool done;
    };

    Progress progress { static_cast<const uint8_t*> (data), size, 0, 0, false };

    const SendStep sendNext = [this, &progress, type, index] (int) -> Result {
        Frame frame;

        if (progress.sent < progress.size)
        {
            const size_t n = std::min (progress.size - progress.sent, maxPayloadSize);
            const uint8_t* chunk = progress.bytes + progress.sent;
            progress.checksum = addToChecksum (progress.checksum, chunk, n);
            makeFrame (transferData, chunk, n, frame);

            const Result sent = sendFrame (frame.bytes, frame.length);

            if (sent.ok)
                progress.sent += n;

            return sent;
        }

        progress.done = true;
        frame = transferTrailerFrame (type, index, (uint16_t) (progress.size / 4), progress.checksum);
        return sendFrame (frame.bytes, frame.length);
    };

    for (;;)
    {
        result = doPacketTransaction (reply, { ack, nack }, sendNext);

        if (! result.ok)
            return failInErrorState (result);

        if (replyBytes[0] == nack)
            return failInErrorState (TESSARINE_ERROR ("Got NACK during write transfer"));

        if (replyBytes[0] != ack)
            return failInErrorState (TESSARINE_ERROR ("Internal error"));

        if (progress.done)
            return kSuccess;
    }
}

Result TessarineProtocol::sendFirmwareForSingleDSP (uint32_t dsp, const uint8_t* data, size_t size, ProgressCallback progress)
{
    // An empty image would go out as one empty chunk and report 0/0 as progress.
    if (size == 0)
        return TESSARINE_ERROR ("Empty firmware image");

    uint8_t replyBytes[maxPacketSize];
    MessageBuffer reply { replyBytes, sizeof (replyBytes) };

    const Frame start = firmwareStartFrame (dsp);
    Result result = doPacketTransaction (reply, { ack, nack },
                                         [this, &start] (int) { return sendFrame (start.bytes, start.length); });

    if (! result.ok)
        return failInErrorState (result);

    if (replyBytes[0] == nack)
        return TESSARINE_ERROR ("Got NACK for firmware start");

    if (replyBytes[0] != ack)
        return failInErrorState (TESSARINE_ERROR ("Internal error"));

    size_t sent = 0;

    const SendStep sendNext = [this, data, size, &sent, &progress] (int) -> Result {
        const size_t n = std::min (size - sent, maxPayloadSize);
        Frame frame;
        makeFrame (firmwareData, data + sent, n, frame);

        const Result accepted = sendFrame (frame.bytes, frame.length);

        if (accepted.ok)
        {
            sent += n;

            if (progress)
                progress ((double) sent / (double) size);
        }

        return accepted;
    };

    do
    {
        result = doPacketTransaction (reply, { ack, nack }, sendNext);

        if (! result.ok)
            return failInErrorState (result);

        if (replyBytes[0] == nack)
            return failInErrorState (TESSARINE_ERROR ("Got NACK during write transfer"));

        if (replyBytes[0] != ack)
            return failInErrorState (TESSARINE_ERROR ("Internal error"));
    } while (sent < size);

    return kSuccess;
}

} // namespace Tessarine
