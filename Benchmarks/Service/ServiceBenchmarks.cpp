// SPDX-License-Identifier: GPL-3.0-or-later
// The editor service over the simulated pedal answering at once, with the real
// transport and engine: a full backup and restore (packets each way and time
// per packet, against the same protocol calls made directly), and the latency
// from setParameterValue to the live-parameter packet leaving the transport.
#include "QuorbelEditorService.h"
#include "Support/DeviceTap.h"
#include "Support/SimulatedPedal.h"
#include "TessarineProtocol.h"
#include "TessarineUSBPacketIO.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace
{
using Service = Quorbel::QuorbelEditorService;
using Clock = std::chrono::steady_clock;
using namespace Tessarine::TessarineData;

class InstantSleeper : public Quorbel::ServiceSleeper
{
public:
    void sleep (int, const std::atomic<bool>&) override {}
};

void silentLog (void*, const char*) {}

// Log lines would cost more than the work measured; installed once, before any thread.
const bool logSilenced = [] {
    Tessarine::setLogSink ({ &silentLog, nullptr });
    return true;
}();

template <typename Condition>
bool waitFor (Condition condition)
{
    const auto end = Clock::now() + std::chrono::seconds (30);

    while (! condition())
    {
        if (Clock::now() > end)
            return false;

        std::this_thread::yield();
    }

    return true;
}

/** A pedal with every preset and the globals filled, and a service attached to it. */
struct Bench
{
    Bench()
        : tap (pedal), transport (&tap), protocol (&transport, 1)
    {
        (void) logSilenced;

        for (uint32_t p = 0; p < 9; ++p)
        {
            ParamMap params;
            for (uint32_t id = 0; id < 70; ++id)
                params[id] = id * 3 + p;
            std::vector<uint8_t> block (1024);
            encodeParamList (block.data(), params);
            pedal.setBlock (3, p, block);
        }

        listener.onDataChanged = [this] { ++dataChanges; };
        service.addListener (&listener);
        waitFor ([this] { return protocol.getState() == Tessarine::TessarineProtocol::stateConnected; });
        service.connect (&protocol);
        waitFor ([this] { return pedal.statusRequests() > 0 && service.getState() == Service::Idle; });
    }

    ~Bench()
    {
        service.removeListener (&listener);
        service.disconnect();
    }

    TestSupport::SimulatedPedal pedal;
    TestSupport::DeviceTap tap;
    Tessarine::TessarineUSBPacketIO transport;
    Tessarine::TessarineProtocol protocol;
    InstantSleeper sleeper;
    Service service { nullptr, &sleeper };
    Service::Listener listener;
    std::atomic<int> dataChanges { 0 };
};

void reportPackets (benchmark::State& state, Bench& bench, Clock::duration elapsed)
{
    const double iterations = (double) state.iterations();
    const double written = (double) bench.tap.reportsWritten() / iterations;
    const double read = (double) bench.tap.reportsRead() / iterations;
    state.counters["packets_sent"] = written;
    state.counters["packets_received"] = read;
    state.counters["ns_per_packet"] = std::chrono::duration<double, std::nano> (elapsed).count() / iterations / (written + read);
}

void BM_BackupAndRestoreThroughService (benchmark::State& state)
{
    Bench bench;
    QuorbelArchive archive;
    std::mutex mutex;
    std::condition_variable doneSignal;
    bool done = false;
    Clock::duration elapsed {};
    bench.tap.resetCounts();

    for (auto _ : state)
    {
        const auto start = Clock::now();
        done = false;
        bench.service.beginBackup ({}, [&] (const QuorbelArchive& a) {
            std::lock_guard<std::mutex> lock (mutex);
            archive = a;
            done = true;
            doneSignal.notify_all();
        });

        {
            std::unique_lock<std::mutex> lock (mutex);
            doneSignal.wait (lock, [&] { return done; });
        }

        // The restore's last step re-reads the current preset and reports it.
        waitFor ([&] { return bench.service.getState() == Service::Idle; });
        const int before = bench.dataChanges;
        bench.service.beginRestore (archive, {});
        waitFor ([&] { return bench.dataChanges > before && bench.service.getState() == Service::Idle; });
        elapsed += Clock::now() - start;
    }

    reportPackets (state, bench, elapsed);
}

// The same exchanges made straight on the protocol: the baseline that shows
// the service's own share and that it adds no packet.
void BM_BackupAndRestoreDirect (benchmark::State& state)
{
    Bench bench;
    bench.service.disconnect(); // the protocol is ours alone now
    Tessarine::TessarineProtocol& p = bench.protocol;
    Clock::duration elapsed {};
    bench.tap.resetCounts();

    for (auto _ : state)
    {
        const auto start = Clock::now();
        QuorbelArchive archive;
        archive.globals = std::make_unique<ParamMap>();
        p.getGlobals (*archive.globals);

        for (uint32_t i = 0; i < 9; ++i)
        {
            archive.presets.emplace_back();
            auto& e = archive.presets.back();
            e.index = i;
            p.getPreset (i, e.preset.params);
            p.getAmpData (i, e.preset.ampData);
            p.getFinishingFilter (i, e.preset.finishingFilter);
            p.getAmpNameAndID (i, e.preset.amp);
            p.getCabData (i, e.preset.cab.impulse);
            p.getCabName (i, e.preset.cab.name);
        }

        p.setGlobals (*archive.globals);

        for (const auto& e : archive.presets)
        {
            p.setPreset (e.index, e.preset.params);
            p.setAmpData (e.index, e.preset.ampData);
            p.setFinishingFilter (e.index, e.preset.finishingFilter);
            p.setAmpNameAndID (e.index, e.preset.amp);
            p.setCabData (e.index, e.preset.cab.impulse);
            p.setCabName (e.index, e.preset.cab.name);
        }

        // What the restore's closing refresh reads.
        ParamMap globals, params;
        uint32_t index = 0;
        AmpNameAndID amp;
        std::string cab;
        p.getGlobals (globals);
        p.getCurrentPreset (index);
        p.getPreset (index, params);
        p.getAmpNameAndID (index, amp);
        p.getCabName (index, cab);
        elapsed += Clock::now() - start;
    }

    reportPackets (state, bench, elapsed);
}

void BM_SetParameterToPacketLatency (benchmark::State& state)
{
    Bench bench;
    std::atomic<int64_t> sentAt { 0 };
    bench.tap.setWriteFilter ([&] (std::vector<uint8_t>& report) {
        if (report.size() > 1 && report[1] == 0xC7)
            sentAt = Clock::now().time_since_epoch().count();
    });

    std::vector<double> latencies;
    latencies.reserve (100000);
    double value = 0.0;

    for (auto _ : state)
    {
        sentAt = 0;
        value = value > 0.9 ? 0.0 : value + 0.01;
        const auto start = Clock::now();
        bench.service.setParameterValue (paramBoostDrive, { 1, value });
        while (sentAt == 0)
            std::this_thread::yield();
        latencies.push_back ((double) (sentAt - start.time_since_epoch().count()) / 1000.0);
    }

    std::sort (latencies.begin(), latencies.end());
    state.counters["median_us"] = latencies[latencies.size() / 2];
    state.counters["p99_us"] = latencies[std::min (latencies.size() - 1, latencies.size() * 99 / 100)];
    state.counters["max_us"] = latencies.back();
}
} // namespace

BENCHMARK (BM_BackupAndRestoreThroughService)->Unit (benchmark::kMillisecond)->UseRealTime()->Iterations (6);
BENCHMARK (BM_BackupAndRestoreDirect)->Unit (benchmark::kMillisecond)->UseRealTime()->Iterations (6);
BENCHMARK (BM_SetParameterToPacketLatency)->Unit (benchmark::kMicrosecond)->UseRealTime();

BENCHMARK_MAIN();
