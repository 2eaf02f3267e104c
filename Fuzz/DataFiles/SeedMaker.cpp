// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a seed corpus of valid files, made by our own writers, into the
// folder given as the only argument. Every data-file target gets the same
// seeds: each reader learns most from files of its own kind, but the others
// are near misses worth starting from too.
#include "BackupArchive.h"
#include "OutStreamWrapper.h"
#include "TessarineDataFile.h"

#include <juce_core/juce_core.h>

#include <cstdio>

using namespace Tessarine;
using namespace Tessarine::TessarineData;

namespace
{
juce::File folder;

void save (const juce::String& name, const juce::MemoryOutputStream& bytes)
{
    folder.getChildFile (name).replaceWithData (bytes.getData(), bytes.getDataSize());
}

template <typename Write>
void saveWritten (const juce::String& name, Write write)
{
    juce::MemoryOutputStream bytes;
    OutStreamWrapper out (bytes);

    if (! write (out))
        std::fprintf (stderr, "seed %s could not be written\n", name.toRawUTF8());

    save (name, bytes);
}

TessarineDataFile fileWithSegments (TessarineDataFile::FileType type, uint32_t index, std::initializer_list<size_t> sizes)
{
    TessarineDataFile file (type, index, (int) sizes.size());
    size_t i = 0;

    for (size_t size : sizes)
    {
        for (size_t b = 0; b < size; ++b)
            file.segments[i].push_back ((uint8_t) ((b % 4 == 0) ? 'A' + (b / 4) % 26 : 0));
        ++i;
    }

    return file;
}

FullQuorbelPreset samplePreset (uint32_t seed)
{
    FullQuorbelPreset p;
    for (uint32_t k = 0; k < 40; ++k)
        p.params[k * 3 + seed] = 0x3F000000u + k;
    p.cab.name = "Cab " + std::to_string (seed);
    p.cab.impulse[0][1] = -0.5f;
    p.amp = { 100 + seed, "Amp " + std::to_string (seed) };
    return p;
}
} // namespace

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf (stderr, "usage: %s corpus-folder\n", argv[0]);
        return 2;
    }

    setLogSink ({ [] (void*, const char*) {}, nullptr });
    folder = juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]);
    folder.createDirectory();

    {
        TessarineDataFile small (TessarineDataFile::PresetData, 3, 1);
        small.segments[0] = { 1, 0, 0, 0, 0, 0, 0x80, 0x3F };
        saveWritten ("example.txt", [&] (IOutputStream& out) { return small.write (out); });
    }

    saveWritten ("preset.tqp", [] (IOutputStream& out) { return TessarineDataFile::writeFullPresetFile (samplePreset (1), out, 4); });
    saveWritten ("globals.glo", [] (IOutputStream& out) { return TessarineDataFile::writeGlobalsFile ({ { 1, 2 }, { 7, 0x3F800000u } }, out); });
    saveWritten ("cabinet.cab", [] (IOutputStream& out) {
        return fileWithSegments (TessarineDataFile::UserCabinetData, 2, { 8192, 64 }).write (out);
    });
    saveWritten ("older.pre", [] (IOutputStream& out) {
        return fileWithSegments (TessarineDataFile::PresetData, 1, { 16, 68, 8192, 64 }).write (out);
    });
    saveWritten ("amp.txt", [] (IOutputStream& out) {
        return fileWithSegments (TessarineDataFile::AmpModelData, 5, { 4096, 68, 8192, 4096, 4096 }).write (out);
    });
    saveWritten ("ArchiveInfo.txt", [] (IOutputStream& out) {
        FirmwareVersionInfo v;
        v.system = { 1, 2, 3, 0 };
        v.dsp = { 4, 5, 6, 0 };
        return TessarineDataFile::writeVersionFile (v, out);
    });

    // A small bundle keeps the zip structure within quick reach of mutation.
    QuorbelArchive small;
    small.versions = std::make_unique<FirmwareVersionInfo>();
    small.firmware = std::make_unique<std::vector<uint8_t>> (16, 0x81);
    small.globals = std::make_unique<ParamMap> (ParamMap { { 1, 1 } });

    QuorbelArchive archive;
    archive.versions = std::make_unique<FirmwareVersionInfo>();
    archive.firmware = std::make_unique<std::vector<uint8_t>> (300, 0x5A);
    archive.presets.push_back ({ 0, samplePreset (0) });
    archive.presets.push_back ({ 7, samplePreset (7) });
    archive.globals = std::make_unique<ParamMap> (ParamMap { { 3, 4 } });

    if (! BackupArchive::save (small, folder.getChildFile ("small.tqu"))
        || ! BackupArchive::save (archive, folder.getChildFile ("bundle.tqu")))
    {
        std::fprintf (stderr, "seed bundle could not be written\n");
        return 1;
    }

    return 0;
}
