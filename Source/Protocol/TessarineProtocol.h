// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "IDevicePacketIO.h"
#include "Result.h"
#include "TessarineData.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace Tessarine
{

/** The request/response engine of the pedal's packet protocol.

    It frames packets, hands each reply to the one request waiting for it,
    passes the pedal's unsolicited status packets (0xCE) to a listener, keeps
    the connection state, and moves blocks and firmware images in multi-packet
    exchanges. The typed operations the editor service calls sit on top.

    Locking: opMutex serialises whole operations; stateMutex guards the state,
    the waiting requests and the listener, and is never held while sending, so
    the transport's reader thread can always deliver a reply. listenerMutex is
    held while a status payload is delivered and while the listener changes, so
    setHandler waits for a delivery in progress. Lock order is opMutex, then
    listenerMutex, then stateMutex.
*/
class TessarineProtocol : private IDevicePacketIO::Handler
{
public:
    /** Engine states, also passed to the listener. */
    enum State : uint32_t
    {
        stateDisconnected = 0,
        stateConnected = 1,
        stateError = 2
    };

    /** How long a request waits for its reply. Tests shorten these; the pedal
        itself needs the defaults. */
    struct Timeouts
    {
        uint32_t replyMs = 60000;
        uint32_t pingMs = 3000;
    };

    /** Receives transport state changes and the pedal's status packets. */
    class Handler
    {
    public:
        virtual ~Handler() = default;

        /** Reserved slots of the listener interface; the engine never calls
            them, so listeners need not override them. */
        virtual void reservedNotification0() {}
        virtual void reservedNotification1() {}

        /** Called with the transport's mutex and the engine's stateMutex held:
            do not call back into the engine from here. */
        virtual void connectionStateChanged (int state) = 0;

        /** The payload of a 0xCE packet; called on the transport's reader
            thread with the transport's mutex and the engine's listenerMutex
            held: do not call setHandler from here. */
        virtual void messageReceived (const uint8_t* payload, size_t length) = 0;
    };

    /** Where a transaction copies the reply it accepted. */
    struct MessageBuffer
    {
        uint8_t* data;
        size_t capacity;
    };

    using ReplyMatcher = std::function<bool (const uint8_t* packet, size_t length)>;
    using SendStep = std::function<Result (int)>;
    using ProgressCallback = std::function<void (double)>;

    /** Registers itself as the transport's handler, so its state follows the
        transport's at once. */
    TessarineProtocol (IDevicePacketIO* io, uint32_t variant);
    TessarineProtocol (IDevicePacketIO* io, uint32_t variant, Timeouts timeouts);

    /** Detaches from the transport. No operation may be running. */
    ~TessarineProtocol() override;

    TessarineProtocol (const TessarineProtocol&) = delete;
    TessarineProtocol& operator= (const TessarineProtocol&) = delete;

    /** Once this has returned, the old listener is called no more: a status
        callback in progress is waited for, so it may be deleted at once. */
    Result setHandler (Handler* listener);

    uint32_t getState() const;
    uint32_t getVariant() const { return variant; }
    const Timeouts& getTimeouts() const { return timeouts; }

    /** Error state back to connected; the firmware update uses it before it
        starts. Nobody is notified. */
    void clearErrorState();

    /** Connected becomes error, silently; the transport's pending input is
        flushed, since the pedal is out of step with us. */
    void enterErrorState();

    /** From now on no reply is waited for longer than `ms`; a request already
        waiting gets `ms` from this call. For the editor's quit: a pedal that
        has stopped answering must not hold it for the whole reply time-out. */
    void limitReplyWait (uint32_t ms);

    //==============================================================================
    // Typed operations. Each holds opMutex for its whole run, so operations
    // never overlap; requestParameterUpdates is the one exception. A failed
    // get leaves its output untouched.

    /** Block 1, index 0: the globals as 128 pairs. */
    Result getGlobals (TessarineData::ParamMap& globals);
    Result setGlobals (const TessarineData::ParamMap& globals);

    /** Block 3: read up to 4096 bytes; written as 128 pairs for device variant
        1, else as 512 pairs. */
    Result getPreset (uint32_t preset, TessarineData::ParamMap& params);
    Result setPreset (uint32_t preset, const TessarineData::ParamMap& params);

    /** Block 5, 68 bytes. The flag has no effect. */
    Result getAmpNameAndID (uint32_t preset, TessarineData::AmpNameAndID& amp);
    Result setAmpNameAndID (uint32_t preset, const TessarineData::AmpNameAndID& amp, bool unused = false);

    /** Block 6, 4096 bytes. The flag has no effect. */
    Result getAmpData (uint32_t preset, TessarineData::AmpData& amp);
    Result setAmpData (uint32_t preset, const TessarineData::AmpData& amp, bool unused = false);

    /** Block 8, 4096 bytes moved as they are. The flag has no effect. */
    Result getFinishingFilter (uint32_t preset, TessarineData::FinishingFilterBlock& filter);
    Result setFinishingFilter (uint32_t preset, const TessarineData::FinishingFilterBlock& filter, bool unused = false);

    /** Block 9, 64 bytes: up to 15 characters. */
    Result getCabName (uint32_t preset, std::string& name);
    Result setCabName (uint32_t preset, const std::string& name);

    /** Block 10, 8192 bytes: both channels, channel 0 first. */
    Result getCabData (uint32_t preset, TessarineData::ImpulseData& impulse);
    Result setCabData (uint32_t preset, const TessarineData::ImpulseData& impulse);

    /** Program change (C9) and program request (CA). */
    Result setCurrentPreset (uint32_t preset);
    Result getCurrentPreset (uint32_t& preset);

    /** Success with alive false when the pedal refuses or does not answer
        within the ping time-out. */
    Result ping (bool& alive);

    Result getFirmwareVersionInfo (TessarineData::FirmwareVersionInfo& versions);

    /** A live parameter change; no reply is awaited and the state is not
        tested, so it goes out even after a failure. */
    Result setParameter (uint32_t parameterId, const uint32_t& value);

    /** Asks the pedal for status reports (0xCE to the listener). Takes no lock
        and tests no state, so it never waits behind a running transfer. */
    Result requestParameterUpdates();

    /** The image to DSP 0. */
    Result sendFirmware (const std::vector<uint8_t>& image, ProgressCallback progress);

    //==============================================================================
    // Packet primitives the typed operations rest on. None of them takes
    // opMutex; their callers do.

    /** Registers a matcher for the expected reply types, calls send (0), then
        waits. A success with gotResponse false means nothing came in time. */
    Result doPacketTransactionWithTimeout (MessageBuffer& reply, std::vector<uint8_t> expectedTypes,
                                           uint32_t timeoutMs, bool& gotResponse, SendStep send);

    /** The same with the reply time-out; no reply is the failure "Timeout". */
    Result doPacketTransaction (MessageBuffer& reply, std::vector<uint8_t> expectedTypes, SendStep send);

    /** Bulk block read. received counts every data byte the pedal sent, also
        those beyond capacity, so received > capacity means it did not fit. */
    Result readData (uint32_t type, uint32_t index, void* buffer, size_t capacity, size_t& received);

    /** Bulk block write with the checksum trailer. */
    Result sendData (uint32_t type, uint32_t index, const void* data, size_t size);

    /** Firmware download in 62-byte chunks; progress gets the fraction handed
        to the transport so far. */
    Result sendFirmwareForSingleDSP (uint32_t dsp, const uint8_t* data, size_t size, ProgressCallback progress);

private:
    void connectionStateChanged (int transportState) override;
    void packetReceived (const uint8_t* packet, size_t length) override;

    Result sendFrame (const uint8_t* bytes, size_t length);

    // Logs the failure, enters the error state and hands the failure back, so
    // failure paths read as one line.
    Result failInErrorState (Result failure);

    struct RegisteredMatcher
    {
        uint64_t id;
        ReplyMatcher match;
    };

    mutable std::mutex stateMutex;
    std::mutex opMutex;
    std::mutex listenerMutex;
    std::condition_variable stateChanged;
    IDevicePacketIO* io;
    std::vector<RegisteredMatcher> matchers;
    Handler* listener = nullptr; // written under listenerMutex and stateMutex
    uint32_t state = stateConnected;
    uint32_t variant;
    Timeouts timeouts;
    uint64_t nextMatcherId = 1;
    // Set by limitReplyWait, under stateMutex.
    bool replyWaitLimited = false;
    std::chrono::steady_clock::time_point replyWaitLimitFrom;
    std::chrono::milliseconds replyWaitLimit { 0 };
};

} // namespace Tessarine
