// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "IDevicePacketIO.h"
#include "IUSBHIDDevice.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace TestSupport
{

/** A synchronous stand-in for the packet transport, for tests that need exact
    byte sequences without threads.

    Every packet the code under test sends is recorded. A responder chosen by
    the test may answer it: its reply packets are handed to the handler at once,
    on the sending thread, before sendPacket returns, exactly as the reader
    thread would hand them over. So a whole transfer runs on the test's thread.
*/
class FakePacketIO : public Tessarine::IDevicePacketIO
{
public:
    using Packet = std::vector<uint8_t>;

    /** Answers one sent packet with zero or more packets (input reports). */
    using Responder = std::function<std::vector<Packet> (const Packet& sent)>;

    /** The transport state reported to a handler when it is set. */
    explicit FakePacketIO (int initialState = stateRunning);

    //==============================================================================
    Tessarine::Result setHandler (Handler* handler) override;
    Tessarine::Result sendPacket (const uint8_t* data, size_t length) override;
    Tessarine::Result flush() override;

    //==============================================================================
    /** Replaces the responder; with none, sent packets get no reply. */
    void setResponder (Responder responder);

    /** Answers every packet with C0 00. */
    static Responder acknowledgeEverything();

    /** Answers the i-th packet sent from now on with replies[i]; packets past
        the list get no reply. */
    static Responder replyInOrder (std::vector<std::vector<Packet>> replies);

    /** Passes each packet to a HID device (such as the simulated pedal) as an
        output report and answers with every input report the device has ready
        at once. Answers the device holds back (a delay) are not waited for. */
    static Responder answeredBy (Tessarine::IUSBHIDDevice& device);

    /** The n-th send from now on (1 = the next) returns failure instead of
        being recorded or answered. */
    void failSend (size_t n, Tessarine::Result failure);

    /** Hands an input report to the handler as the reader thread would. */
    void deliver (const Packet& report);

    /** Reports a transport state change to the handler. */
    void reportState (int state);

    //==============================================================================
    std::vector<Packet> sentPackets() const;
    void clearSentPackets();
    size_t flushCount() const;
    bool hasHandler() const;

private:
    mutable std::mutex mutex;
    Handler* handler = nullptr;
    int state;
    Responder responder;
    std::vector<Packet> sent;
    size_t flushes = 0;
    size_t sendsSeen = 0;
    size_t failingSend = 0;
    Tessarine::Result failingResult { true, nullptr };
};

} // namespace TestSupport
