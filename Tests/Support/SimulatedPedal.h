// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "IUSBHIDDevice.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace TestSupport
{

/** A pedal of our own behind the HID device interface, so the real transport
    and protocol engine run over it as over the hardware.

    It answers every packet the host may send: block reads and checksummed
    block writes (stored per block type and index), program change and
    request, ping, version request, live parameters, status requests (one
    0xCE report per request) and firmware downloads. Faults can be injected
    per packet type or per n-th packet received.

    Input reports come out 64 bytes long, zero-padded after the packet, as a
    HID device delivers them. All members are thread-safe: the transport's
    reader thread reads while the host's threads write and the test inspects.

    Reads never block longer than the read-wait limit (20 ms unless set), so a
    transport stops promptly; an early 0 is an ordinary read time-out to it.
*/
class SimulatedPedal : public Tessarine::IUSBHIDDevice
{
public:
    using Packet = std::vector<uint8_t>;
    using Milliseconds = std::chrono::milliseconds;

    /** What goes wrong with one packet the pedal receives. */
    struct Fault
    {
        enum class Kind
        {
            nack,          // answered with C1 00 instead; the packet is not handled
            lose,          // neither handled nor answered, as if lost on the way
            delay,         // handled; its answers arrive after `delay`
            corrupt,       // handled; each answer's length byte claims more than the report holds
            shortReport,   // handled; each answer arrives as a 1-byte report
            unplug,        // accepted, then the pedal is gone: no answer, reads and writes fail
            extraPacket    // handled; `extra` arrives as a report before the answers
        };

        Kind kind = Kind::nack;
        Milliseconds delay { 0 };
        Packet extra;

        static Fault nack() { return { Kind::nack, {}, {} }; }
        static Fault lose() { return { Kind::lose, {}, {} }; }
        static Fault delayBy (Milliseconds by) { return { Kind::delay, by, {} }; }
        static Fault corrupt() { return { Kind::corrupt, {}, {} }; }
        static Fault shortReport() { return { Kind::shortReport, {}, {} }; }
        static Fault unplug() { return { Kind::unplug, {}, {} }; }
        static Fault extraPacket (Packet report) { return { Kind::extraPacket, {}, std::move (report) }; }
    };

    /** The pedal's front panel as its status reports carry it; byte 8 of a
        report is always the current preset. */
    struct Panel
    {
        std::array<uint8_t, 8> knobs {};
        uint8_t cabMode = 1;
        uint8_t footswitch = 0;
    };

    /** One live parameter message (C7) as received. */
    struct LiveParameter
    {
        uint16_t id;
        uint32_t value;
    };

    static constexpr uint16_t defaultVendorID = 0x04D8;
    static constexpr uint16_t defaultProductID = 0x003F;

    SimulatedPedal (uint16_t vendorID = defaultVendorID, uint16_t productID = defaultProductID);
    ~SimulatedPedal() override;

    //==============================================================================
    // IUSBHIDDevice
    int read (uint8_t* buffer, size_t length, int timeoutMs) override;
    int write (const uint8_t* data, size_t length) override;
    void close() override;
    uint16_t getVendorID() override;
    uint16_t getProductID() override;

    //==============================================================================
    // Faults. Counting starts when the fault is added; the first rule that
    // fires on a packet is the only one applied to it.

    /** The nth packet of this type from now on (1 = the next), and the
        times - 1 packets of this type after it (times 0: every one from then
        on), get the fault. */
    void injectFault (uint8_t packetType, Fault fault, size_t nth = 1, size_t times = 1);

    /** The nth packet of any type from now on gets the fault. */
    void injectFaultAtExchange (size_t nth, Fault fault);

    void clearFaults();

    /** Delays every answer by this turnaround (0, the default, answers at once). */
    void setReplyDelay (Milliseconds delay);

    /** The longest a read waits before reporting a time-out. */
    void setReadWaitLimit (Milliseconds limit);

    //==============================================================================
    // State. Blocks never written read back as a default of the type's size
    // (empty parameter lists, empty names, unit impulse, pass-through
    // finishing filter); unknown block types are refused with C1.

    void setBlock (uint32_t type, uint32_t index, Packet bytes);
    std::optional<Packet> storedBlock (uint32_t type, uint32_t index) const;
    std::map<std::pair<uint32_t, uint32_t>, Packet> storedBlocks() const;

    /** What a read of this block sends: the stored block or the default. */
    std::optional<Packet> blockAsRead (uint32_t type, uint32_t index) const;

    void setCurrentPreset (uint32_t preset);
    uint32_t currentPreset() const;

    /** Versions the pedal reports; a kind below 0 sends the short reply
        without the kind byte. */
    void setVersions (std::array<uint8_t, 3> system, std::array<uint8_t, 3> dsp, int kind);

    void setPanel (const Panel& panel);

    /** Sends a 0xCE status report now, unasked. */
    void sendStatusReport();

    /** Delivers any input report as it stands (no padding, may be malformed). */
    void sendReport (Packet report);

    /** The pedal goes away: pending answers are dropped, reads and writes fail. */
    void unplug();

    /** Back again after an unplug or close, as a freshly started pedal: no
        transfer in progress, nothing queued. Stored blocks are kept. */
    void plugIn();

    bool isUnplugged() const;
    bool isClosed() const;

    //==============================================================================
    // What the pedal received.

    /** Every packet the host wrote, report id removed, in order. */
    std::vector<Packet> receivedPackets() const;

    /** The same as written, report id first. */
    std::vector<Packet> receivedReports() const;

    size_t receivedCount() const;
    void clearReceived();

    /** Waits until at least count packets have been received in all. */
    bool waitForReceived (size_t count, Milliseconds timeout) const;

    std::vector<LiveParameter> liveParameters() const;

    /** The image of the last firmware download and the DSP it went to. */
    Packet firmwareImage() const;
    std::optional<uint32_t> firmwareDSP() const;

    /** Block writes refused for a wrong word count or checksum. */
    size_t refusedWrites() const;

    size_t statusRequests() const;

private:
    struct QueuedReport
    {
        Packet bytes;
        std::chrono::steady_clock::time_point due;
    };

    struct FaultRule
    {
        bool anyType;
        uint8_t type;
        size_t skip;
        size_t times;
        Fault fault;
    };

    struct ReadTransfer
    {
        uint32_t type;
        uint32_t index;
        Packet data;
        size_t sent;
    };

    // All called with the mutex held.
    std::optional<Fault> takeFault (uint8_t type);
    std::vector<Packet> handle (const Packet& packet);
    std::vector<Packet> handleReadRequest (const uint8_t* payload, size_t length);
    std::vector<Packet> handleAcknowledge();
    std::vector<Packet> handleTransferEnd (const uint8_t* payload, size_t length);
    Packet statusReport() const;
    Packet versionReply() const;
    std::optional<Packet> defaultBlock (uint32_t type) const;
    void queue (Packet report, Milliseconds delay);

    const uint16_t vendorID;
    const uint16_t productID;

    mutable std::mutex mutex;
    mutable std::condition_variable changed;

    std::deque<QueuedReport> input;
    std::vector<FaultRule> faults;
    Milliseconds replyDelay { 0 };
    Milliseconds readWaitLimit { 20 };
    bool unplugged = false;
    bool closed = false;

    std::map<std::pair<uint32_t, uint32_t>, Packet> blocks;
    uint32_t preset = 0;
    std::array<uint8_t, 3> systemVersion { 1, 0, 0 };
    std::array<uint8_t, 3> dspVersion { 0, 3, 3 };
    int versionKind = 1;
    Panel panel;

    std::optional<ReadTransfer> reading;
    std::optional<Packet> writing;
    std::optional<uint32_t> firmwareTarget;
    Packet firmware;
    bool firmwareOpen = false;

    std::vector<Packet> reports;
    std::vector<LiveParameter> live;
    size_t refused = 0;
    size_t statusRequestCount = 0;
};

} // namespace TestSupport
