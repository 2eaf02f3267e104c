// SPDX-License-Identifier: GPL-3.0-or-later
// Backup to a bundle and restore from one, through the FILE menu.
#include "BackupArchive.h"
#include "Support/FileActionFixture.h"
#include "TessarineDataFile.h"
#include "Support/FailingOutputStream.h"

#include <gtest/gtest.h>

using namespace Tessarine::TessarineData;

namespace
{
class BackupAction : public FileActionFixture
{
protected:
    /** Backs the pedal up into `target` and waits until the save is over. */
    void backUpTo (const juce::File& target)
    {
        const size_t errorsBefore = shownErrors().size();
        const std::string before = contentOf (target);
        runMenuItem (FileMenuActions::itemBackup, target);
        ASSERT_TRUE (waitForIdle());
        // The bundle is saved after the task's last state change.
        waitFor ([&] { return contentOf (target) != before || shownErrors().size() > errorsBefore; });
    }
};

/** An archive of nine presets whose amps are built in (Plexi and Power KT88
    by turns) and some globals. */
QuorbelArchive nineBuiltInPresets (uint32_t unknownAmp = 0)
{
    QuorbelArchive archive;
    archive.globals = std::make_unique<ParamMap> (ParamMap { { 256, 0x3F000000u } });

    for (uint32_t p = 0; p < 9; ++p)
    {
        QuorbelArchive::PresetEntry entry;
        entry.index = p;
        entry.preset.params = { { 2, 0x3E800000u + p } };
        entry.preset.amp.id = unknownAmp != 0 ? unknownAmp : p % 2 == 0 ? 10 : 993;
        entry.preset.amp.name = "from file";
        entry.preset.cab.name = "Cab " + std::to_string (p);
        entry.preset.cab.impulse[1][p] = 0.5f;
        archive.presets.push_back (entry);
    }

    return archive;
}
} // namespace

TEST_F (BackupAction, WritesABundleThatLoadsBackAsThePedalsContents)
{
    fillPedal();
    attachAndSettle();
    const juce::File target = scratch.file ("Backup.tqu");

    backUpTo (target);

    EXPECT_TRUE (shownErrors().empty());
    ASSERT_EQ (host.rememberedFolders(), std::vector<juce::File> { target });

    QuorbelArchive loaded;
    ASSERT_TRUE (BackupArchive::loadFile (target, loaded));
    ASSERT_EQ (loaded.presets.size(), 9u);
    ASSERT_NE (loaded.globals, nullptr);
    EXPECT_EQ (*loaded.globals, storedParams (globalsBlock, 0));

    for (uint32_t p = 0; p < 9; ++p)
    {
        const FullQuorbelPreset& preset = loaded.presets[p].preset;
        EXPECT_EQ (loaded.presets[p].index, p);
        EXPECT_EQ (preset.params, storedParams (presetBlock, p)) << p;
        EXPECT_EQ (preset.amp.id, p % 2 == 0 ? 10u : 993u);
        EXPECT_EQ (preset.cab.name, "Cab " + std::to_string (p));
        EXPECT_EQ (preset.cab.impulse[0][p], 1.0f);
    }

    EXPECT_EQ (host.progress(), (std::vector<double> { 0.0, 1 / 9.0, 2 / 9.0, 3 / 9.0, 4 / 9.0, 5 / 9.0, 6 / 9.0, 7 / 9.0, 8 / 9.0 }));
}

TEST_F (BackupAction, AFailedSaveLeavesTheOldBundleByteForByte)
{
    fillPedal();
    attachAndSettle();
    const juce::File target = writeBytes ("Backup.tqu", "the user's previous bundle");
    actions.setSaveStreamOpener (TestSupport::FailingOutputStream::opener (1000));

    backUpTo (target);

    EXPECT_EQ (shownErrors(), std::vector<std::string> { "Failed to save archive" });
    EXPECT_TRUE (log.contains ("Failed to save archive"));
    EXPECT_EQ (contentOf (target), "the user's previous bundle");
    EXPECT_EQ (scratch.names(), juce::StringArray { "Backup.tqu" });
}

TEST_F (BackupAction, ABundleInAMissingFolderCannotBeSaved)
{
    attachAndSettle();
    backUpTo (scratch.file ("gone").getChildFile ("Backup.tqu"));

    EXPECT_EQ (shownErrors(), std::vector<std::string> { "Failed to save archive" });
}

TEST_F (BackupAction, RefusedWithoutAPedal)
{
    files.answer (scratch.file ("Backup.tqu"));
    actions.backup();
    EXPECT_EQ (shownErrors(), std::vector<std::string> { "Failed to start backup" });
    EXPECT_TRUE (log.contains ("Failed to start backup"));
}

//==============================================================================
TEST_F (BackupAction, ARestoreWritesEveryPresetWithItsBuiltInAmp)
{
    attachAndSettle();
    const juce::File bundle = scratch.file ("Saved.tqu");
    ASSERT_TRUE (BackupArchive::save (nineBuiltInPresets(), bundle));
    pedal.clearReceived();

    runMenuItem (FileMenuActions::itemRestore, bundle);
    ASSERT_TRUE (waitForIdle());

    EXPECT_TRUE (shownErrors().empty());
    EXPECT_EQ (host.rememberedFolders(), std::vector<juce::File> { bundle });
    EXPECT_EQ (storedParams (globalsBlock, 0), (ParamMap { { 256, 0x3F000000u } }));

    for (uint32_t p = 0; p < 9; ++p)
    {
        const int row = p % 2 == 0 ? 0 : 23;
        const Amp& amp = *builtInAmpModels[row].parsed;

        EXPECT_EQ (storedParams (presetBlock, p).at (2), 0x3E800000u + p) << p;
        AmpNameAndID name;
        decodeNumberedName (storedBytes (ampNameBlock, p).data(), name);
        EXPECT_EQ (name.id, amp.nameAndID.id);
        EXPECT_EQ (name.name, amp.nameAndID.name);

        AmpData data;
        decodeAmpModelBlock (storedBytes (ampDataBlock, p).data(), data);
        EXPECT_EQ (data.params, amp.data.params) << p;
        const std::vector<uint8_t> filter = storedBytes (finishingFilterBlock, p);
        EXPECT_TRUE (std::equal (filter.begin(), filter.end(), amp.finishingFilter.begin())) << p;

        std::string cabName;
        decodeName (storedBytes (cabNameBlock, p).data(), cabName);
        EXPECT_EQ (cabName, "Cab " + std::to_string (p));
    }

    EXPECT_EQ (host.progress().size(), 9u);
}

TEST_F (BackupAction, PresetsWithoutABuiltInAmpAreRestoredAfterAWarningEach)
{
    attachAndSettle();
    const juce::File bundle = scratch.file ("Foreign.tqu");
    ASSERT_TRUE (BackupArchive::save (nineBuiltInPresets (5555), bundle));

    runMenuItem (FileMenuActions::itemRestore, bundle);
    ASSERT_TRUE (waitForIdle());

    EXPECT_TRUE (shownErrors().empty());
    int warnings = 0;

    for (const std::string& line : log.lines())
        warnings += line.find ("WARNING: Failed to get amp data for preset") != std::string::npos
                        && line.find ("in bundle") != std::string::npos ? 1 : 0;

    EXPECT_EQ (warnings, 9);
    EXPECT_TRUE (log.contains ("Failed to get amp data for preset 8 in bundle"));

    // Restored with the (empty) amp data a preset file carries.
    AmpData data;
    decodeAmpModelBlock (storedBytes (ampDataBlock, 4).data(), data);
    EXPECT_TRUE (data.params.empty());
    EXPECT_EQ (storedParams (presetBlock, 4).at (2), 0x3E800000u + 4);
}

TEST_F (BackupAction, AnUnreadableOrRefusedRestoreSaysSo)
{
    attachAndSettle();
    pedal.clearReceived();

    runMenuItem (FileMenuActions::itemRestore, writeBytes ("NotAZip.tqu", "plain text"));
    EXPECT_EQ (shownErrors(), std::vector<std::string> { "Failed to load backup" });
    EXPECT_TRUE (log.contains ("Failed to load backup"));
    EXPECT_EQ (pedal.receivedCount(), 0u);

    const juce::File bundle = scratch.file ("Saved.tqu");
    ASSERT_TRUE (BackupArchive::save (nineBuiltInPresets(), bundle));
    detach();
    files.answer (bundle);
    actions.restore();
    EXPECT_EQ (shownErrors().back(), "Failed to start restore");
}
