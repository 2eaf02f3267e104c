// SPDX-License-Identifier: GPL-3.0-or-later
#include "Support/SimulatedPedal.h"

#include "TessarineData.h"
#include "TessarinePacket.h"

#include <algorithm>
#include <cstring>

namespace TestSupport
{

namespace Wire = Tessarine::TessarinePacket;
namespace Data = Tessarine::TessarineData;

namespace
{
constexpr size_t reportSize = 64;

SimulatedPedal::Packet packetOf (uint8_t type, std::initializer_list<uint8_t> payload = {})
{
    SimulatedPedal::Packet p { type, (uint8_t) payload.size() };
    p.insert (p.end(), payload);
    return p;
}

SimulatedPedal::Packet packetOf (uint8_t type, const uint8_t* payload, size_t length)
{
    SimulatedPedal::Packet p { type, (uint8_t) length };
    p.insert (p.end(), payload, payload + length);
    return p;
}

SimulatedPedal::Packet ackPacket() { return packetOf (Wire::ack); }
SimulatedPedal::Packet nackPacket() { return packetOf (Wire::nack); }
} // namespace

SimulatedPedal::SimulatedPedal (uint16_t vendor, uint16_t product) : vendorID (vendor), productID (product)
{
}

SimulatedPedal::~SimulatedPedal() = default;

//==============================================================================
int SimulatedPedal::read (uint8_t* buffer, size_t length, int timeoutMs)
{
    std::unique_lock<std::mutex> lock (mutex);

    const auto wait = timeoutMs < 0 ? readWaitLimit : std::min (readWaitLimit, Milliseconds (timeoutMs));
    const auto deadline = std::chrono::steady_clock::now() + wait;

    for (;;)
    {
        if (unplugged || closed)
            return -1;

        const auto now = std::chrono::steady_clock::now();

        // The first report that is due, in queue order: a held-back answer
        // does not hold back what the pedal sends after it unasked.
        auto next = std::find_if (input.begin(), input.end(), [now] (const QueuedReport& r) { return r.due <= now; });

        if (next != input.end())
        {
            const Packet report = std::move (next->bytes);
            input.erase (next);
            const size_t n = std::min (length, report.size());
            std::memcpy (buffer, report.data(), n);
            return (int) n;
        }

        if (now >= deadline)
            return 0;

        auto until = deadline;

        for (const auto& r : input)
            until = std::min (until, r.due);

        changed.wait_until (lock, until);
    }
}

int SimulatedPedal::write (const uint8_t* data, size_t length)
{
    std::unique_lock<std::mutex> lock (mutex);

    if (unplugged || closed || length == 0)
        return -1;

    reports.emplace_back (data, data + length);
    const Packet packet (data + 1, data + length);
    changed.notify_all();

    if (packet.empty())
        return (int) length;

    const std::optional<Fault> fault = takeFault (packet[0]);
    std::vector<Packet> answers;
    Milliseconds delay = replyDelay;

    if (! fault)
    {
        answers = handle (packet);
    }
    else
    {
        switch (fault->kind)
        {
            case Fault::Kind::nack:
                answers = { nackPacket() };
                break;

            case Fault::Kind::lose:
                break;

            case Fault::Kind::unplug:
                unplugged = true;
                input.clear();
                changed.notify_all();
                return (int) length;

            case Fault::Kind::delay:
                answers = handle (packet);
                delay += fault->delay;
                break;

            case Fault::Kind::corrupt:
                answers = handle (packet);
                for (auto& a : answers)
                    a[1] = (uint8_t) (reportSize - 1); // claims 65 bytes in a 64-byte report
                break;

            case Fault::Kind::shortReport:
                answers = handle (packet);
                for (auto& a : answers)
                    a.resize (1);
                break;

            case Fault::Kind::extraPacket:
                queue (fault->extra, delay);
                answers = handle (packet);
                break;
        }
    }

    for (auto& a : answers)
    {
        // Full-size input reports, except the deliberately short ones.
        if (a.size() > 1 && a.size() < reportSize)
            a.resize (reportSize, 0);

        queue (std::move (a), delay);
    }

    return (int) length;
}

void SimulatedPedal::close()
{
    std::lock_guard<std::mutex> lock (mutex);
    closed = true;
    changed.notify_all();
}

uint16_t SimulatedPedal::getVendorID() { return vendorID; }
uint16_t SimulatedPedal::getProductID() { return productID; }

void SimulatedPedal::queue (Packet report, Milliseconds delay)
{
    input.push_back ({ std::move (report), std::chrono::steady_clock::now() + delay });
    changed.notify_all();
}

//==============================================================================
std::optional<SimulatedPedal::Fault> SimulatedPedal::takeFault (uint8_t type)
{
    for (auto it = faults.begin(); it != faults.end(); ++it)
    {
        if (! it->anyType && it->type != type)
            continue;

        if (it->skip > 0)
        {
            --it->skip;
            continue;
        }

        Fault fault = it->fault;

        if (it->times == 1)
            faults.erase (it);
        else if (it->times > 1)
            --it->times;

        return fault;
    }

    return std::nullopt;
}

void SimulatedPedal::injectFault (uint8_t packetType, Fault fault, size_t nth, size_t times)
{
    std::lock_guard<std::mutex> lock (mutex);
    faults.push_back ({ false, packetType, nth > 0 ? nth - 1 : 0, times, std::move (fault) });
}

void SimulatedPedal::injectFaultAtExchange (size_t nth, Fault fault)
{
    std::lock_guard<std::mutex> lock (mutex);
    faults.push_back ({ true, 0, nth > 0 ? nth - 1 : 0, 1, std::move (fault) });
}

void SimulatedPedal::clearFaults()
{
    std::lock_guard<std::mutex> lock (mutex);
    faults.clear();
}

void SimulatedPedal::setReplyDelay (Milliseconds delay)
{
    std::lock_guard<std::mutex> lock (mutex);
    replyDelay = delay;
}

void SimulatedPedal::setReadWaitLimit (Milliseconds limit)
{
    std::lock_guard<std::mutex> lock (mutex);
    readWaitLimit = limit;
}

//==============================================================================
std::vector<SimulatedPedal::Packet> SimulatedPedal::handle (const Packet& packet)
{
    // A packet whose length byte overruns it is refused, whatever its type.
    if (packet.size() < Wire::headerSize || Wire::headerSize + packet[1] > packet.size())
        return { nackPacket() };

    const uint8_t* payload = packet.data() + Wire::headerSize;
    const size_t length = packet[1];

    switch (packet[0])
    {
        case Wire::readRequest:
            return handleReadRequest (payload, length);

        case Wire::ack:
            return handleAcknowledge();

        case Wire::transferStart:
            reading.reset();
            writing = Packet();
            return { ackPacket() };

        case Wire::transferData:
            if (! writing)
                return { nackPacket() };

            writing->insert (writing->end(), payload, payload + length);
            return { ackPacket() };

        case Wire::transferEnd:
            return handleTransferEnd (payload, length);

        case Wire::setParameter:
            if (length == Wire::setParameterPayloadSize)
                live.push_back ({ Wire::readU16 (payload), Wire::readU32 (payload + 4) });
            return {};

        case Wire::programChange:
            if (length < 1)
                return { nackPacket() };

            preset = payload[0];
            return { ackPacket() };

        case Wire::programRequest:
            return { packetOf (Wire::programReport, { (uint8_t) preset }) };

        case Wire::statusReport:
            ++statusRequestCount;
            return { statusReport() };

        case Wire::ping:
            return { ackPacket() };

        case Wire::versionRequest:
            return { versionReply() };

        case Wire::firmwareStart:
            if (length != Wire::firmwareStartPayloadSize || Wire::readU32 (payload + 1) != Wire::firmwareStartConstant)
                return { nackPacket() };

            firmwareTarget = payload[0];
            firmware.clear();
            firmwareOpen = true;
            return { ackPacket() };

        case Wire::firmwareData:
            if (! firmwareOpen || length == 0)
                return { nackPacket() };

            firmware.insert (firmware.end(), payload, payload + length);
            return { ackPacket() };

        default:
            return { nackPacket() };
    }
}

std::vector<SimulatedPedal::Packet> SimulatedPedal::handleReadRequest (const uint8_t* payload, size_t length)
{
    writing.reset();
    reading.reset();

    if (length != Wire::readRequestPayloadSize)
        return { nackPacket() };

    const uint32_t type = payload[0];
    const uint32_t index = Wire::readU16 (payload + 1);
    auto it = blocks.find ({ type, index });
    std::optional<Packet> data = it != blocks.end() ? std::optional<Packet> (it->second) : defaultBlock (type);

    if (! data)
        return { nackPacket() };

    reading = ReadTransfer { type, index, std::move (*data), 0 };
    return { packetOf (Wire::transferStart) };
}

std::vector<SimulatedPedal::Packet> SimulatedPedal::handleAcknowledge()
{
    if (! reading)
        return { nackPacket() };

    ReadTransfer& r = *reading;

    if (r.sent < r.data.size())
    {
        const size_t n = std::min (r.data.size() - r.sent, Wire::maxPayloadSize);
        Packet chunk = packetOf (Wire::transferData, r.data.data() + r.sent, n);
        r.sent += n;
        return { chunk };
    }

    // The same trailer a host write ends with.
    const Wire::Frame trailer = Wire::transferTrailerFrame (r.type, r.index, (uint16_t) (r.data.size() / 4),
                                                           Wire::checksum (r.data.data(), r.data.size()));
    reading.reset();
    return { Packet (trailer.bytes, trailer.bytes + trailer.length) };
}

std::vector<SimulatedPedal::Packet> SimulatedPedal::handleTransferEnd (const uint8_t* payload, size_t length)
{
    if (! writing)
        return { nackPacket() };

    Packet data = std::move (*writing);
    writing.reset();

    if (length != Wire::transferTrailerPayloadSize)
        return { nackPacket() };

    const uint32_t type = payload[0];
    const uint32_t index = Wire::readU16 (payload + 1);
    const size_t words = Wire::readU16 (payload + 3);
    const uint16_t sum = Wire::readU16 (payload + 5);

    if (words * 4 != data.size() || sum != Wire::checksum (data.data(), data.size()))
    {
        ++refused;
        return { nackPacket() };
    }

    blocks[{ type, index }] = std::move (data);
    return { ackPacket() };
}

SimulatedPedal::Packet SimulatedPedal::statusReport() const
{
    Packet p { Wire::statusReport, 11 };
    p.insert (p.end(), panel.knobs.begin(), panel.knobs.end());
    p.push_back ((uint8_t) preset);
    p.push_back (panel.cabMode);
    p.push_back (panel.footswitch);
    return p;
}

SimulatedPedal::Packet SimulatedPedal::versionReply() const
{
    Packet p { Wire::ack, 7, Wire::versionRequest };
    p.insert (p.end(), systemVersion.begin(), systemVersion.end());
    p.insert (p.end(), dspVersion.begin(), dspVersion.end());

    if (versionKind >= 0)
    {
        p.push_back ((uint8_t) versionKind);
        p[1] = 8;
    }

    return p;
}

std::optional<SimulatedPedal::Packet> SimulatedPedal::defaultBlock (uint32_t type) const
{
    switch (type)
    {
        case 1: // globals
        case 3: // preset parameters, as a variant 1 pedal keeps them
        {
            Packet block (Data::kParamListSize);
            Data::encodeParamList (block.data(), {});
            return block;
        }

        case 5:
            return Packet (Data::kNumberedNameBlockSize, 0);

        case 6:
        {
            Packet block (Data::kAmpBlockSize);
            Data::encodeAmpModelBlock (block.data(), {});
            return block;
        }

        case 8:
        {
            const Data::FullQuorbelPreset fresh;
            return Packet (fresh.finishingFilter.begin(), fresh.finishingFilter.end());
        }

        case 9:
            return Packet (Data::kNameBlockSize, 0);

        case 10:
        {
            Packet block (Data::kImpulseBlockSize);
            const Data::Cabinet fresh;
            Data::encodeImpulse (block.data(), fresh.impulse);
            return block;
        }

        default:
            return std::nullopt;
    }
}

//==============================================================================
void SimulatedPedal::setBlock (uint32_t type, uint32_t index, Packet bytes)
{
    std::lock_guard<std::mutex> lock (mutex);
    blocks[{ type, index }] = std::move (bytes);
}

std::optional<SimulatedPedal::Packet> SimulatedPedal::storedBlock (uint32_t type, uint32_t index) const
{
    std::lock_guard<std::mutex> lock (mutex);
    auto it = blocks.find ({ type, index });

    if (it == blocks.end())
        return std::nullopt;

    return it->second;
}

std::map<std::pair<uint32_t, uint32_t>, SimulatedPedal::Packet> SimulatedPedal::storedBlocks() const
{
    std::lock_guard<std::mutex> lock (mutex);
    return blocks;
}

std::optional<SimulatedPedal::Packet> SimulatedPedal::blockAsRead (uint32_t type, uint32_t index) const
{
    std::lock_guard<std::mutex> lock (mutex);
    auto it = blocks.find ({ type, index });
    return it != blocks.end() ? std::optional<Packet> (it->second) : defaultBlock (type);
}

void SimulatedPedal::setCurrentPreset (uint32_t newPreset)
{
    std::lock_guard<std::mutex> lock (mutex);
    preset = newPreset;
}

uint32_t SimulatedPedal::currentPreset() const
{
    std::lock_guard<std::mutex> lock (mutex);
    return preset;
}

void SimulatedPedal::setVersions (std::array<uint8_t, 3> system, std::array<uint8_t, 3> dsp, int kind)
{
    std::lock_guard<std::mutex> lock (mutex);
    systemVersion = system;
    dspVersion = dsp;
    versionKind = kind;
}

void SimulatedPedal::setPanel (const Panel& newPanel)
{
    std::lock_guard<std::mutex> lock (mutex);
    panel = newPanel;
}

void SimulatedPedal::sendStatusReport()
{
    std::lock_guard<std::mutex> lock (mutex);
    Packet report = statusReport();
    report.resize (reportSize, 0);
    queue (std::move (report), Milliseconds (0));
}

void SimulatedPedal::sendReport (Packet report)
{
    std::lock_guard<std::mutex> lock (mutex);
    queue (std::move (report), Milliseconds (0));
}

void SimulatedPedal::unplug()
{
    std::lock_guard<std::mutex> lock (mutex);
    unplugged = true;
    input.clear();
    changed.notify_all();
}

void SimulatedPedal::plugIn()
{
    std::lock_guard<std::mutex> lock (mutex);
    unplugged = false;
    closed = false;
    input.clear();
    reading.reset();
    writing.reset();
    firmwareOpen = false;
}

bool SimulatedPedal::isUnplugged() const
{
    std::lock_guard<std::mutex> lock (mutex);
    return unplugged;
}

bool SimulatedPedal::isClosed() const
{
    std::lock_guard<std::mutex> lock (mutex);
    return closed;
}

//==============================================================================
std::vector<SimulatedPedal::Packet> SimulatedPedal::receivedPackets() const
{
    std::lock_guard<std::mutex> lock (mutex);
    std::vector<Packet> packets;
    packets.reserve (reports.size());

    for (const auto& r : reports)
        packets.emplace_back (r.begin() + 1, r.end());

    return packets;
}

std::vector<SimulatedPedal::Packet> SimulatedPedal::receivedReports() const
{
    std::lock_guard<std::mutex> lock (mutex);
    return reports;
}

size_t SimulatedPedal::receivedCount() const
{
    std::lock_guard<std::mutex> lock (mutex);
    return reports.size();
}

void SimulatedPedal::clearReceived()
{
    std::lock_guard<std::mutex> lock (mutex);
    reports.clear();
    live.clear();
}

bool SimulatedPedal::waitForReceived (size_t count, Milliseconds timeout) const
{
    std::unique_lock<std::mutex> lock (mutex);
    return changed.wait_for (lock, timeout, [&] { return reports.size() >= count; });
}

std::vector<SimulatedPedal::LiveParameter> SimulatedPedal::liveParameters() const
{
    std::lock_guard<std::mutex> lock (mutex);
    return live;
}

SimulatedPedal::Packet SimulatedPedal::firmwareImage() const
{
    std::lock_guard<std::mutex> lock (mutex);
    return firmware;
}

std::optional<uint32_t> SimulatedPedal::firmwareDSP() const
{
    std::lock_guard<std::mutex> lock (mutex);
    return firmwareTarget;
}

size_t SimulatedPedal::refusedWrites() const
{
    std::lock_guard<std::mutex> lock (mutex);
    return refused;
}

size_t SimulatedPedal::statusRequests() const
{
    std::lock_guard<std::mutex> lock (mutex);
    return statusRequestCount;
}

} // namespace TestSupport
