// SPDX-License-Identifier: GPL-3.0-or-later
// What a user waits for around a backup: writing and reading a bundle of the
// globals and all nine presets, and reading one amp model from its text.
#include "BackupArchive.h"
#include "InStreamWrapper.h"
#include "OutStreamWrapper.h"
#include "TessarineDataFile.h"

#include <benchmark/benchmark.h>
#include <juce_core/juce_core.h>

using namespace Tessarine;
using namespace Tessarine::TessarineData;

namespace
{
constexpr int kPresets = 9;
constexpr uint32_t kParamsPerPreset = 400;
constexpr uint32_t kGlobals = 100;

struct Quiet
{
    Quiet() { setLogSink ({ [] (void*, const char*) {}, nullptr }); }
};

QuorbelArchive fullBackup()
{
    QuorbelArchive archive;
    archive.versions = std::make_unique<FirmwareVersionInfo>();
    archive.versions->system = { 2, 1, 0, 0 };
    archive.versions->dsp = { 2, 1, 3, 0 };
    archive.globals = std::make_unique<ParamMap>();

    for (uint32_t k = 0; k < kGlobals; ++k)
        (*archive.globals)[k] = 0x3F000000u + k;

    for (int p = 0; p < kPresets; ++p)
    {
        QuorbelArchive::PresetEntry entry;
        entry.index = (uint32_t) p;

        for (uint32_t k = 0; k < kParamsPerPreset; ++k)
            entry.preset.params[k * 2] = 0x3E000000u + k * 977u;

        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < 1024; ++i)
                entry.preset.cab.impulse[ch][i] = 1.0f / (float) (i + 1 + ch);

        entry.preset.cab.name = "Cabinet " + std::to_string (p);
        entry.preset.amp = { (uint32_t) (100 + p), "Amp " + std::to_string (p) };
        archive.presets.push_back (std::move (entry));
    }

    return archive;
}

juce::MemoryBlock ampModelText()
{
    TessarineDataFile file (TessarineDataFile::AmpModelData, 12, 5);
    AmpData amp;

    for (uint32_t k = 0; k < 200; ++k)
        amp.params[k] = 0x3F000000u + k;

    amp.name = "Benchmark amp";
    amp.name2 = "Second name";

    for (int s : { 0, 4 })
    {
        file.segments[(size_t) s].resize (kAmpBlockSize);
        encodeAmpModelBlock (file.segments[(size_t) s].data(), amp);
    }

    file.segments[1].resize (kNumberedNameBlockSize);
    encodeNumberedName (file.segments[1].data(), { 12, "Benchmark amp" });
    file.segments[2].assign (kImpulseBlockSize, 0x3C);
    file.segments[3].assign (kFinishingFilterSize, 0x11);

    juce::MemoryOutputStream text;
    OutStreamWrapper out (text);
    file.write (out);
    return text.getMemoryBlock();
}

juce::File scratchFile()
{
    return juce::File::getSpecialLocation (juce::File::tempDirectory)
        .getNonexistentChildFile ("tq-bench", ".tqu", false);
}
} // namespace

static void BM_SaveFullBundle (benchmark::State& state)
{
    Quiet quiet;
    const QuorbelArchive archive = fullBackup();
    const juce::File target = scratchFile();

    for (auto _ : state)
        if (! BackupArchive::save (archive, target))
            state.SkipWithError ("save failed");

    state.counters["bundle_bytes"] = (double) target.getSize();
    target.deleteFile();
}
BENCHMARK (BM_SaveFullBundle)->Unit (benchmark::kMillisecond);

static void BM_LoadFullBundle (benchmark::State& state)
{
    Quiet quiet;
    const juce::File source = scratchFile();
    BackupArchive::save (fullBackup(), source);

    for (auto _ : state)
    {
        QuorbelArchive archive;
        if (! BackupArchive::loadFile (source, archive) || archive.presets.size() != (size_t) kPresets)
            state.SkipWithError ("load failed");
        benchmark::DoNotOptimize (archive);
    }

    source.deleteFile();
}
BENCHMARK (BM_LoadFullBundle)->Unit (benchmark::kMillisecond);

static void BM_ParseAmpModelText (benchmark::State& state)
{
    Quiet quiet;
    const juce::MemoryBlock text = ampModelText();

    for (auto _ : state)
    {
        juce::MemoryInputStream memory (text, false);
        InStreamWrapper in (memory);
        Amp amp;
        if (! TessarineDataFile::readAmpModelFile (in, amp, nullptr) || amp.secondData == nullptr)
            state.SkipWithError ("parse failed");
        benchmark::DoNotOptimize (amp);
    }

    state.counters["text_bytes"] = (double) text.getSize();
    state.SetBytesProcessed ((int64_t) state.iterations() * (int64_t) text.getSize());
}
BENCHMARK (BM_ParseAmpModelText)->Unit (benchmark::kMillisecond);

BENCHMARK_MAIN();
