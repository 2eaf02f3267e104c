// SPDX-License-Identifier: GPL-3.0-or-later
// How fast the engine moves blocks and firmware, and what it costs per packet.
//
//   OverPedal/...   the engine, the real transport with its reader thread and
//                   the simulated pedal answering at once: packets per second
//                   end to end.
//   Transport/...   the same round trip without the engine (send a ping, wait
//                   for the answer on a handler): the floor the engine adds to.
//   EngineOnly/...  the engine over a transport that answers inside sendPacket,
//                   on the same thread: the engine's own time per packet.
#include "TessarinePacket.h"
#include "TessarineProtocol.h"
#include "TessarineUSBPacketIO.h"
#include "Support/PedalConnection.h"
#include "Support/SimulatedPedal.h"

#include <benchmark/benchmark.h>

#include <condition_variable>
#include <cstdio>
#include <mutex>

using namespace Tessarine;

namespace
{
constexpr size_t cabinetBlockSize = 8192;
constexpr size_t firmwareImageSize = 115480;

// Exchanges per operation: start, one per 62-byte chunk, and the trailer.
constexpr size_t chunksOf (size_t size) { return (size + 61) / 62; }
constexpr size_t blockWritePackets = 1 + chunksOf (cabinetBlockSize) + 1;
constexpr size_t blockReadPackets = 1 + chunksOf (cabinetBlockSize) + 1;
constexpr size_t firmwarePackets = 1 + chunksOf (firmwareImageSize);

std::vector<uint8_t> patternBytes (size_t size)
{
    std::vector<uint8_t> bytes (size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = (uint8_t) (i * 7 + 3);
    return bytes;
}

void reportPackets (benchmark::State& state, size_t packetsPerIteration)
{
    const double packets = (double) packetsPerIteration * (double) state.iterations();
    state.counters["packets/s"] = benchmark::Counter (packets, benchmark::Counter::kIsRate);
    state.counters["time/packet"] = benchmark::Counter (packets, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

/** A pedal that never leaves the sending thread: it answers every packet
    inside sendPacket, as briefly as it can, so what is measured is the engine. */
class AnsweringPacketIO : public IDevicePacketIO
{
public:
    explicit AnsweringPacketIO (size_t readBlockSize) : blockSize (readBlockSize) {}

    Result setHandler (Handler* h) override
    {
        handler = h;
        if (h != nullptr)
            h->connectionStateChanged (stateRunning);
        return kSuccess;
    }

    Result sendPacket (const uint8_t* data, size_t) override
    {
        uint8_t answer[64] = { TessarinePacket::ack, 0 };
        size_t length = 2;

        if (data[0] == TessarinePacket::readRequest)
        {
            answer[0] = TessarinePacket::transferStart;
            readPosition = 0;
        }
        else if (data[0] == TessarinePacket::ack && readPosition < blockSize)
        {
            const size_t n = std::min<size_t> (62, blockSize - readPosition);
            answer[0] = TessarinePacket::transferData;
            answer[1] = (uint8_t) n;
            length = 2 + n;
            readPosition += n;
        }
        else if (data[0] == TessarinePacket::ack)
        {
            answer[0] = TessarinePacket::transferEnd;
        }

        handler->packetReceived (answer, length);
        return kSuccess;
    }

    Result flush() override { return kSuccess; }

private:
    Handler* handler = nullptr;
    size_t blockSize;
    size_t readPosition = 0;
};

/** Waits for one answer from the transport, as the engine would, minus the engine. */
class AnswerWaiter : public IDevicePacketIO::Handler
{
public:
    void connectionStateChanged (int newState) override
    {
        std::lock_guard<std::mutex> lock (mutex);
        state = newState;
        changed.notify_all();
    }

    void packetReceived (const uint8_t*, size_t) override
    {
        std::lock_guard<std::mutex> lock (mutex);
        ++answers;
        changed.notify_all();
    }

    void waitForRunning()
    {
        std::unique_lock<std::mutex> lock (mutex);
        changed.wait (lock, [this] { return state == IDevicePacketIO::stateRunning; });
    }

    void waitForAnswers (size_t count)
    {
        std::unique_lock<std::mutex> lock (mutex);
        changed.wait (lock, [&] { return answers >= count; });
    }

private:
    std::mutex mutex;
    std::condition_variable changed;
    int state = 0;
    size_t answers = 0;
};

// The log sink is left at standard output: nothing is logged on these paths.

//==============================================================================
void OverPedal_WriteCabinetBlock (benchmark::State& state)
{
    TestSupport::SimulatedPedal pedal;
    TestSupport::PedalConnection connection (pedal);
    const auto block = patternBytes (cabinetBlockSize);

    for (auto _ : state)
        if (! connection.protocol().sendData (10, 0, block.data(), block.size()).ok)
            state.SkipWithError ("write failed");

    reportPackets (state, blockWritePackets);
}

void OverPedal_ReadCabinetBlock (benchmark::State& state)
{
    TestSupport::SimulatedPedal pedal;
    pedal.setBlock (10, 0, patternBytes (cabinetBlockSize));
    TestSupport::PedalConnection connection (pedal);
    std::vector<uint8_t> buffer (cabinetBlockSize);

    for (auto _ : state)
    {
        size_t received = 0;
        if (! connection.protocol().readData (10, 0, buffer.data(), buffer.size(), received).ok)
            state.SkipWithError ("read failed");
    }

    reportPackets (state, blockReadPackets);
}

void OverPedal_Firmware (benchmark::State& state)
{
    TestSupport::SimulatedPedal pedal;
    TestSupport::PedalConnection connection (pedal);
    const auto image = patternBytes (firmwareImageSize);

    for (auto _ : state)
        if (! connection.protocol().sendFirmware (image, [] (double p) { benchmark::DoNotOptimize (p); }).ok)
            state.SkipWithError ("firmware failed");

    reportPackets (state, firmwarePackets);
}

void Transport_PingRoundTrip (benchmark::State& state)
{
    TestSupport::SimulatedPedal pedal;
    TessarineUSBPacketIO io (&pedal);
    AnswerWaiter waiter;
    io.setHandler (&waiter);
    waiter.waitForRunning();

    const uint8_t ping[] = { TessarinePacket::ping, 0 };
    size_t sent = 0;

    for (auto _ : state)
    {
        io.sendPacket (ping, sizeof (ping));
        waiter.waitForAnswers (++sent);
    }

    io.setHandler (nullptr);
    reportPackets (state, 1);
}

void EngineOnly_WriteCabinetBlock (benchmark::State& state)
{
    AnsweringPacketIO io (0);
    TessarineProtocol engine (&io, 1);
    const auto block = patternBytes (cabinetBlockSize);

    for (auto _ : state)
        if (! engine.sendData (10, 0, block.data(), block.size()).ok)
            state.SkipWithError ("write failed");

    reportPackets (state, blockWritePackets);
}

void EngineOnly_ReadCabinetBlock (benchmark::State& state)
{
    AnsweringPacketIO io (cabinetBlockSize);
    TessarineProtocol engine (&io, 1);
    std::vector<uint8_t> buffer (cabinetBlockSize);

    for (auto _ : state)
    {
        size_t received = 0;
        if (! engine.readData (10, 0, buffer.data(), buffer.size(), received).ok || received != cabinetBlockSize)
            state.SkipWithError ("read failed");
    }

    reportPackets (state, blockReadPackets);
}

void EngineOnly_Firmware (benchmark::State& state)
{
    AnsweringPacketIO io (0);
    TessarineProtocol engine (&io, 1);
    const auto image = patternBytes (firmwareImageSize);

    for (auto _ : state)
        if (! engine.sendFirmware (image, [] (double p) { benchmark::DoNotOptimize (p); }).ok)
            state.SkipWithError ("firmware failed");

    reportPackets (state, firmwarePackets);
}
} // namespace

BENCHMARK (OverPedal_WriteCabinetBlock)->Unit (benchmark::kMillisecond)->UseRealTime();
BENCHMARK (OverPedal_ReadCabinetBlock)->Unit (benchmark::kMillisecond)->UseRealTime();
BENCHMARK (OverPedal_Firmware)->Unit (benchmark::kMillisecond)->UseRealTime();
BENCHMARK (Transport_PingRoundTrip)->Unit (benchmark::kMicrosecond)->UseRealTime();
BENCHMARK (EngineOnly_WriteCabinetBlock)->Unit (benchmark::kMicrosecond);
BENCHMARK (EngineOnly_ReadCabinetBlock)->Unit (benchmark::kMicrosecond);
BENCHMARK (EngineOnly_Firmware)->Unit (benchmark::kMicrosecond);

BENCHMARK_MAIN();
