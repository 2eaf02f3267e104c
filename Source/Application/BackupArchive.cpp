// SPDX-License-Identifier: GPL-3.0-or-later
#include "BackupArchive.h"
#include "InStreamWrapper.h"
#include "TessarineDataFile.h"

using Tessarine::Result;
using Tessarine::TessarineDataFile;
using namespace Tessarine::TessarineData;

namespace
{
constexpr int kEntryReadBuffer = 4096;

Result buildEntries (const QuorbelArchive& archive, BackupArchive::EntryList& entries)
{
    Result r = Tessarine::kSuccess;

    if (archive.versions != nullptr)
        r = TessarineDataFile::writeVersionFile (*archive.versions, BackupArchive::addEntry (entries, "ArchiveInfo.txt"));

    if (r && archive.firmware != nullptr)
        r = TessarineDataFile::writeBitReversed (*archive.firmware, BackupArchive::addEntry (entries, "BravikAmp.ldr"));

    for (size_t i = 0; r && i < archive.presets.size(); ++i)
    {
        const auto& entry = archive.presets[i];
        const juce::String name = "Bravik_TessaQuorbel_" + juce::String (entry.index) + ".tqp";
        r = TessarineDataFile::writeFullPresetFile (entry.preset, BackupArchive::addEntry (entries, name), entry.index);
    }

    if (r && archive.globals != nullptr)
        r = TessarineDataFile::writeGlobalsFile (*archive.globals, BackupArchive::addEntry (entries, "Bravik_Tessarine_" + juce::String (0) + ".glo"));

    return r;
}

Result readEntry (const juce::String& name, Tessarine::IInputStream& in, QuorbelArchive& archive, bool& recognised)
{
    recognised = true;

    if (name.endsWithIgnoreCase ("ArchiveInfo.txt"))
    {
        archive.versions = std::make_unique<FirmwareVersionInfo>();
        return TessarineDataFile::readVersionFile (in, *archive.versions);
    }

    if (name.endsWithIgnoreCase ("BravikAmp.ldr"))
    {
        archive.firmware = std::make_unique<std::vector<uint8_t>>();
        return TessarineDataFile::readBitReversed (in, *archive.firmware);
    }

    if (name.endsWithIgnoreCase (".tqp"))
    {
        archive.presets.emplace_back();
        auto& entry = archive.presets.back();
        return TessarineDataFile::readFullPresetFile (in, entry.preset, &entry.index);
    }

    if (name.endsWithIgnoreCase (".glo"))
    {
        archive.globals = std::make_unique<ParamMap>();
        return TessarineDataFile::readGlobalsFile (in, *archive.globals);
    }

    recognised = false;
    return Tessarine::kSuccess;
}
} // namespace

//==============================================================================
Tessarine::IOutputStream& BackupArchive::addEntry (EntryList& entries, const juce::String& name)
{
    return entries.add (new Entry (name))->writer;
}

Result BackupArchive::save (const QuorbelArchive& archive, const juce::File& target)
{
    SafeFileSave file (target);
    return save (archive, file);
}

Result BackupArchive::save (const QuorbelArchive& archive, SafeFileSave& target)
{
    EntryList entries;
    const Result r = buildEntries (archive, entries);

    if (! r)
        return r;

    return writeZip (entries, target);
}

Result BackupArchive::writeZip (const EntryList& entries, const juce::File& target)
{
    SafeFileSave file (target);
    return writeZip (entries, file);
}

Result BackupArchive::writeZip (const EntryList& entries, SafeFileSave& target)
{
    juce::ZipFile::Builder builder;
    const juce::Time time = juce::Time::getCurrentTime();

    for (auto* entry : entries)
        builder.addEntry (new juce::MemoryInputStream (entry->data.getData(), entry->data.getDataSize(), false),
                          0, entry->name, time);

    const Result opened = target.open();

    if (! opened)
        return opened;

    const bool written = builder.writeToStream (target.getStream(), nullptr);

    // Finish in every case so the temporary file is closed before it is removed.
    if (! target.finishWriting() || ! written)
        return TESSARINE_ERROR ("Failed to write zip file");

    return target.commit();
}

//==============================================================================
Result BackupArchive::loadFile (const juce::File& source, QuorbelArchive& archive)
{
    // A missing file or a folder has no entries either; the framework's zip
    // reader would only complain about the stream it could not open.
    if (! source.existsAsFile())
        return TESSARINE_ERROR ("Not a valid backup file");

    juce::ZipFile zip (source);
    return load (zip, archive);
}

Result BackupArchive::load (juce::ZipFile& zip, QuorbelArchive& archive)
{
    if (zip.getNumEntries() <= 0)
        return TESSARINE_ERROR ("Not a valid backup file");

    for (int i = 0; i < zip.getNumEntries(); ++i)
    {
        std::unique_ptr<juce::InputStream> entryStream (zip.createStreamForEntry (i));

        if (entryStream == nullptr)
        {
            Tessarine::logMessage (Tessarine::LogWarning, "Failed to open stream for archive entry - skipping");
            continue;
        }

        const juce::String name = zip.getEntry (i)->filename;

        if (name.startsWith (".") || name.startsWith ("__MACOSX"))
            continue;

        // The readers pull one byte at a time; the buffer keeps that from
        // becoming one file read per byte.
        juce::BufferedInputStream buffered (entryStream.get(), kEntryReadBuffer, false);
        InStreamWrapper in (buffered);
        bool recognised = true;
        const Result r = readEntry (name, in, archive, recognised);

        if (! recognised)
            Tessarine::logMessage (Tessarine::LogWarning, "Unrecognized entry in backup archive: '%s'", name.toRawUTF8());

        if (! r)
            return r;
    }

    return Tessarine::kSuccess;
}
