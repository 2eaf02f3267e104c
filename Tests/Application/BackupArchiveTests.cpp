// SPDX-License-Identifier: GPL-3.0-or-later
#include "BackupArchive.h"
#include "OutStreamWrapper.h"
#include "TessarineDataFile.h"
#include "Support/FailingOutputStream.h"
#include "Support/LogCapture.h"
#include "Support/ScratchFolder.h"

#include <gtest/gtest.h>

using namespace Tessarine;
using namespace Tessarine::TessarineData;
using TestSupport::LogCapture;
using TestSupport::ScratchFolder;

namespace
{
const Result kNotABackup { false, "Not a valid backup file" };

FullQuorbelPreset presetNamed (const std::string& cabName, uint32_t paramValue)
{
    FullQuorbelPreset p;
    p.params = { { 1, paramValue }, { 40, 0x3F800000u } };
    p.cab.name = cabName;
    p.cab.impulse[1][3] = 0.5f;
    p.amp = { 12, "Amp " + cabName };
    return p;
}

QuorbelArchive fullArchive()
{
    QuorbelArchive a;
    a.versions = std::make_unique<FirmwareVersionInfo>();
    a.versions->system = { 1, 2, 3, 0 };
    a.versions->dsp = { 4, 5, 6, 0 };
    a.firmware = std::make_unique<std::vector<uint8_t>> (std::vector<uint8_t> { 0x01, 0x12, 0xFE });
    a.presets.push_back ({ 0, presetNamed ("First", 100) });
    a.presets.push_back ({ 5, presetNamed ("Sixth", 200) });
    a.globals = std::make_unique<ParamMap> (ParamMap { { 3, 33 }, { 4, 44 } });
    return a;
}

std::string fileText (const juce::File& f)
{
    juce::MemoryBlock block;
    f.loadFileAsData (block);
    return std::string (static_cast<const char*> (block.getData()), block.getSize());
}

juce::String presetFileText (const FullQuorbelPreset& p, uint32_t index)
{
    juce::MemoryOutputStream memory;
    OutStreamWrapper out (memory);
    EXPECT_TRUE (TessarineDataFile::writeFullPresetFile (p, out, index));
    return memory.toString();
}

/** A zip as another tool might make it: named entries, some compressed. */
void writeForeignZip (const juce::File& target, const std::vector<std::pair<juce::String, juce::String>>& entries)
{
    juce::ZipFile::Builder builder;
    int level = 0;
    for (const auto& [name, text] : entries)
    {
        auto* stream = new juce::MemoryInputStream (text.toRawUTF8(), text.getNumBytesAsUTF8(), true);
        builder.addEntry (stream, level, name, juce::Time::getCurrentTime());
        level = 9 - level; // alternate stored and deflated entries
    }

    target.deleteFile();
    juce::FileOutputStream out (target);
    ASSERT_TRUE (builder.writeToStream (out, nullptr));
}

Result loadQuietly (const juce::File& f, QuorbelArchive& archive)
{
    LogCapture quiet;
    return BackupArchive::loadFile (f, archive);
}
} // namespace

//==============================================================================
TEST (BackupArchive, SavesEntriesInOrderStoredWithOneTimeStamp)
{
    ScratchFolder folder;
    const auto target = folder.file ("Backup.tqu");
    ASSERT_TRUE (BackupArchive::save (fullArchive(), target));

    juce::ZipFile zip (target);
    ASSERT_EQ (zip.getNumEntries(), 5);
    const char* names[] = { "ArchiveInfo.txt", "BravikAmp.ldr", "Bravik_TessaQuorbel_0.tqp",
                            "Bravik_TessaQuorbel_5.tqp", "Bravik_Tessarine_0.glo" };
    for (int i = 0; i < 5; ++i)
    {
        EXPECT_EQ (zip.getEntry (i)->filename, names[i]);
        EXPECT_EQ (zip.getEntry (i)->fileTime, zip.getEntry (0)->fileTime);
    }

    // Stored, not deflated: every entry's text appears verbatim in the file.
    const std::string raw = fileText (target);
    EXPECT_NE (raw.find ("SYSTEM_FW_VERSION : 1.2.3\nDSP_FW_VERSION : 4.5.6\n"), std::string::npos);
    EXPECT_NE (raw.find ("\x80\x48\x7F"), std::string::npos);
    EXPECT_NE (raw.find (presetFileText (fullArchive().presets[1].preset, 5).toStdString()), std::string::npos);
    EXPECT_NE (raw.find ("# File Type: Globals data\n"), std::string::npos);
    EXPECT_EQ (folder.names(), juce::StringArray ("Backup.tqu"));
}

TEST (BackupArchive, LoadsWhatItSaved)
{
    ScratchFolder folder;
    const auto target = folder.file ("Backup.tqu");
    const QuorbelArchive saved = fullArchive();
    ASSERT_TRUE (BackupArchive::save (saved, target));

    QuorbelArchive loaded;
    ASSERT_TRUE (BackupArchive::loadFile (target, loaded));

    ASSERT_NE (loaded.versions, nullptr);
    EXPECT_EQ (loaded.versions->system, saved.versions->system);
    EXPECT_EQ (loaded.versions->dsp, saved.versions->dsp);
    EXPECT_EQ (loaded.versions->kind, -1);
    ASSERT_NE (loaded.firmware, nullptr);
    EXPECT_EQ (*loaded.firmware, *saved.firmware);
    ASSERT_NE (loaded.globals, nullptr);
    EXPECT_EQ (*loaded.globals, *saved.globals);
    ASSERT_EQ (loaded.presets.size(), 2u);

    for (size_t i = 0; i < 2; ++i)
    {
        EXPECT_EQ (loaded.presets[i].index, saved.presets[i].index);
        EXPECT_EQ (loaded.presets[i].preset.params, saved.presets[i].preset.params);
        EXPECT_EQ (loaded.presets[i].preset.cab.name, saved.presets[i].preset.cab.name);
        EXPECT_EQ (loaded.presets[i].preset.cab.impulse[1][3], 0.5f);
        EXPECT_EQ (loaded.presets[i].preset.amp.name, saved.presets[i].preset.amp.name);
    }
}

TEST (BackupArchive, EmptyArchiveSavesAnEmptyZipThatDoesNotLoad)
{
    ScratchFolder folder;
    const auto target = folder.file ("Empty.tqu");
    ASSERT_TRUE (BackupArchive::save (QuorbelArchive(), target));
    EXPECT_TRUE (target.existsAsFile());

    QuorbelArchive archive;
    EXPECT_EQ (loadQuietly (target, archive), kNotABackup);
}

TEST (BackupArchive, FilesThatAreNoZipsDoNotLoad)
{
    ScratchFolder folder;
    const auto text = folder.file ("text.tqu");
    text.replaceWithText ("# File Type: Globals data\n");

    QuorbelArchive archive;
    EXPECT_EQ (loadQuietly (text, archive), kNotABackup);
    EXPECT_EQ (loadQuietly (folder.file ("missing.tqu"), archive), kNotABackup);
    EXPECT_EQ (loadQuietly (folder.get(), archive), kNotABackup);
}

TEST (BackupArchive, ZipsFromOtherToolsFollowTheNameRules)
{
    ScratchFolder folder;
    const auto zipFile = folder.file ("Foreign.zip");
    const auto preset = presetFileText (presetNamed ("Caps", 7), 3);

    writeForeignZip (zipFile, { { "Backup/Bravik_TessaQuorbel_3.TQP", preset },
                                { "__MACOSX/Backup/._Bravik_TessaQuorbel_3.tqp", "not a preset" },
                                { ".DS_Store", "junk" },
                                { "Backup/readme.md", "hello" },
                                { "Backup/archiveinfo.TXT", "DSP_FW_VERSION : 9.8.7\n" } });

    LogCapture log;
    QuorbelArchive archive;
    ASSERT_TRUE (BackupArchive::loadFile (zipFile, archive));

    ASSERT_EQ (archive.presets.size(), 1u);
    EXPECT_EQ (archive.presets[0].index, 3u);
    EXPECT_EQ (archive.presets[0].preset.cab.name, "Caps");
    ASSERT_NE (archive.versions, nullptr);
    EXPECT_EQ (archive.versions->dsp, (std::array<uint8_t, 4> { 9, 8, 7, 0 }));
    EXPECT_EQ (archive.firmware, nullptr);
    EXPECT_EQ (archive.globals, nullptr);

    EXPECT_EQ (log.lines(), std::vector<std::string> { "WARNING: Unrecognized entry in backup archive: 'Backup/readme.md'" });
}

TEST (BackupArchive, HeaderIndexWinsAndLaterGlobalsReplaceEarlier)
{
    ScratchFolder folder;
    const auto zipFile = folder.file ("Foreign.zip");

    juce::MemoryOutputStream first, second;
    OutStreamWrapper firstOut (first), secondOut (second);
    ASSERT_TRUE (TessarineDataFile::writeGlobalsFile ({ { 1, 1 }, { 2, 2 } }, firstOut));
    ASSERT_TRUE (TessarineDataFile::writeGlobalsFile ({ { 9, 9 } }, secondOut));

    writeForeignZip (zipFile, { { "Bravik_TessaQuorbel_7.tqp", presetFileText (FullQuorbelPreset(), 2) },
                                { "a.glo", first.toString() },
                                { "b.GLO", second.toString() } });

    QuorbelArchive archive;
    ASSERT_TRUE (loadQuietly (zipFile, archive));
    ASSERT_EQ (archive.presets.size(), 1u);
    EXPECT_EQ (archive.presets[0].index, 2u);
    EXPECT_EQ (*archive.globals, (ParamMap { { 9, 9 } }));
}

TEST (BackupArchive, AMalformedEntryStopsTheLoadKeepingWhatWasRead)
{
    ScratchFolder folder;
    const auto zipFile = folder.file ("Broken.tqu");
    writeForeignZip (zipFile, { { "Bravik_TessaQuorbel_0.tqp", presetFileText (presetNamed ("Good", 1), 0) },
                                { "Bravik_TessaQuorbel_1.tqp", "# File Type: Globals data\n\n" },
                                { "Bravik_Tessarine_0.glo", "# File Type: Globals data\n\n" } });

    QuorbelArchive archive;
    EXPECT_EQ (loadQuietly (zipFile, archive), Result ({ false, "Too few segments in preset file" }));
    ASSERT_EQ (archive.presets.size(), 2u);
    EXPECT_EQ (archive.presets[0].preset.cab.name, "Good");
    EXPECT_EQ (archive.globals, nullptr);
}

//==============================================================================
TEST (BackupArchive, AnEncodingFailureLeavesTheTargetUntouched)
{
    ScratchFolder folder;
    const auto target = folder.file ("Backup.tqu");
    target.replaceWithText ("previous backup");

    QuorbelArchive archive = fullArchive();
    for (uint32_t i = 0; i < 513; ++i)
        archive.presets[1].preset.params[i] = i;

    LogCapture quiet;
    EXPECT_EQ (BackupArchive::save (archive, target), Result ({ false, "Too many params" }));
    EXPECT_EQ (target.loadFileAsString(), "previous backup");
    EXPECT_EQ (folder.names(), juce::StringArray ("Backup.tqu"));
}

TEST (BackupArchive, AFailedZipWriteLeavesThePreviousFileByteIdentical)
{
    ScratchFolder folder;
    const auto target = folder.file ("Backup.tqu");
    ASSERT_TRUE (BackupArchive::save (fullArchive(), target));
    const std::string before = fileText (target);

    QuorbelArchive changed = fullArchive();
    changed.presets[0].preset.cab.name = "Changed";

    for (size_t failAt : { (size_t) 0, (size_t) 100, before.size() - 10 })
    {
        SafeFileSave save (target, TestSupport::FailingOutputStream::opener (failAt));
        LogCapture quiet;
        EXPECT_EQ (BackupArchive::save (changed, save), Result ({ false, "Failed to write zip file" })) << failAt;
    }

    EXPECT_EQ (fileText (target), before);
    EXPECT_EQ (folder.names(), juce::StringArray ("Backup.tqu"));
}

TEST (BackupArchive, SaveFailsToOverwriteWhenNoFileCanBeCreated)
{
    ScratchFolder folder;
    LogCapture quiet;

    EXPECT_EQ (BackupArchive::save (fullArchive(), folder.file ("missing/Backup.tqu")),
               Result ({ false, "Failed to overwrite file" }));

    const auto target = folder.file ("Backup.tqu");
    target.replaceWithText ("previous backup");
    SafeFileSave blocked (target, [] (const juce::File& temporary) -> std::unique_ptr<juce::OutputStream> {
        temporary.createDirectory();
        return std::make_unique<juce::FileOutputStream> (temporary);
    });
    EXPECT_EQ (BackupArchive::save (fullArchive(), blocked), Result ({ false, "Failed to overwrite file" }));
    EXPECT_EQ (target.loadFileAsString(), "previous backup");
}
