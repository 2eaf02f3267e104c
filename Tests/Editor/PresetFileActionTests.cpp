// SPDX-License-Identifier: GPL-3.0-or-later
// Export and import of preset files (".tqp", and the older unit's ".pre").
#include "Support/FileActionFixture.h"
#include "Support/FailingOutputStream.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace Tessarine::TessarineData;

namespace
{
class PresetFiles : public FileActionFixture
{
protected:
    void SetUp() override
    {
        fillPedal();
        pedal.setCurrentPreset (4);
        attachAndSettle();
    }

    void exportTo (const juce::File& target)
    {
        const size_t errorsBefore = shownErrors().size();
        const std::string before = contentOf (target);
        runMenuItem (FileMenuActions::itemExportPreset, target);
        waitFor ([&] { return service->getState() != State::Receiving; });
        // The file is written after the task's last state change.
        waitFor ([&] { return contentOf (target) != before || shownErrors().size() > errorsBefore
                              || service->getState() == State::Error; });

        if (service->getState() != State::Error)
        {
            ASSERT_TRUE (waitForIdle());
        }
    }

    void importFrom (const juce::File& source)
    {
        runMenuItem (FileMenuActions::itemImportPreset, source);
        ASSERT_TRUE (waitForIdle());
    }

    /** The knob values an older preset with these parameters converts to. */
    static ParamMap olderPreset (float ampId, float cabinetMode)
    {
        return { { 0, bitsOf (ampId) }, { 11, bitsOf (cabinetMode) }, { 2, bitsOf (0.1f) }, { 3, bitsOf (0.2f) },
                 { 4, bitsOf (0.3f) }, { 5, bitsOf (0.4f) },  { 6, bitsOf (0.6f) },  { 7, bitsOf (0.7f) } };
    }
};
} // namespace

TEST_F (PresetFiles, ExportWritesTheCurrentPresetAndImportPutsItBack)
{
    const juce::File file = scratch.file ("Preset.tqp");
    exportTo (file);

    ASSERT_TRUE (shownErrors().empty());
    const FullQuorbelPreset exported = readPresetFile (file);
    EXPECT_EQ (exported.params, storedParams (presetBlock, 4));
    EXPECT_EQ (exported.amp.id, 10u);
    EXPECT_EQ (exported.cab.name, "Cab 4");
    EXPECT_EQ (exported.cab.impulse[0][4], 1.0f);

    // Into another preset, which holds something else.
    pedal.setCurrentPreset (5);
    ASSERT_TRUE (service->requestChangePreset (5));
    ASSERT_TRUE (waitFor ([&] { return service->getCurrentPresetIndex() == 5; }));
    ASSERT_TRUE (waitForIdle());

    importFrom (file);

    EXPECT_TRUE (shownErrors().empty());
    EXPECT_EQ (storedParams (presetBlock, 5).at (2), 0x3E000000u + 4);
    EXPECT_EQ (storedParams (presetBlock, 5).at (3), 0x3F000000u + 4);
    std::string cabName;
    decodeName (storedBytes (cabNameBlock, 5).data(), cabName);
    EXPECT_EQ (cabName, "Cab 4");

    // The amp comes from the built-in table: Plexi by its identifier.
    AmpData data;
    decodeAmpModelBlock (storedBytes (ampDataBlock, 5).data(), data);
    EXPECT_EQ (data.params, builtInAmpModels[0].parsed->data.params);
    AmpNameAndID amp;
    decodeNumberedName (storedBytes (ampNameBlock, 5).data(), amp);
    EXPECT_EQ (amp.name, "Plexi");
}

TEST_F (PresetFiles, ExportingOntoAnExistingFileLeavesOnlyTheNewPreset)
{
    const juce::File file = writeBytes ("Mine.tqp", std::string (200000, 'x'));
    exportTo (file);

    ASSERT_TRUE (shownErrors().empty());
    EXPECT_EQ (readPresetFile (file).params, storedParams (presetBlock, 4));
    EXPECT_LT (file.getSize(), 100000);
    EXPECT_EQ (scratch.names(), juce::StringArray { "Mine.tqp" });
}

TEST_F (PresetFiles, AFailedDownloadLeavesTheExistingFileUntouched)
{
    const juce::File file = writeBytes ("Mine.tqp", "keep me");
    pedal.injectFault (0xC5, TestSupport::SimulatedPedal::Fault::nack(), 1, 0);

    exportTo (file);

    EXPECT_EQ (service->getState(), State::Error);
    EXPECT_EQ (service->getLastError(), "Failed to get preset data");
    EXPECT_TRUE (shownErrors().empty()) << "the service's error state reports it";
    EXPECT_EQ (contentOf (file), "keep me");
}

TEST_F (PresetFiles, AFailedWriteLeavesTheExistingFileByteForByte)
{
    const juce::File file = writeBytes ("Mine.tqp", "keep me");
    actions.setSaveStreamOpener (TestSupport::FailingOutputStream::opener (5000));

    exportTo (file);

    EXPECT_EQ (shownErrors(), std::vector<std::string> { "Failed to save preset" });
    EXPECT_TRUE (log.contains ("Failed to save preset"));
    EXPECT_EQ (contentOf (file), "keep me");
    EXPECT_EQ (scratch.names(), juce::StringArray { "Mine.tqp" });
}

TEST_F (PresetFiles, ExportIntoAMissingFolderOrWithoutAPedalFails)
{
    exportTo (scratch.file ("gone").getChildFile ("Preset.tqp"));
    EXPECT_EQ (shownErrors(), std::vector<std::string> { "Failed to overwrite file" });
    EXPECT_TRUE (log.contains ("Failed to overwrite file"));

    detach();
    files.answer (scratch.file ("Preset.tqp"));
    actions.exportPreset();
    EXPECT_EQ (shownErrors().back(), "Failed to export preset");
    EXPECT_FALSE (scratch.file ("Preset.tqp").exists());
}

//==============================================================================
TEST_F (PresetFiles, AnOlderPresetSetsTheKnobsThenUploadsWithTheAmpsOwnCabinet)
{
    // Amp 12 is "Brit 800"; cabinet mode -1 asks for the amp model's own cabinet.
    importFrom (writeOlderPresetFile ("Crunch.PRE", olderPreset (12.0f, -1.0f)));

    EXPECT_TRUE (shownErrors().empty());
    const auto& sent = host.sent();
    ASSERT_EQ (sent.size(), 8u);
    const int order[] = { 81, 83, 85, 87, 80, 82, 84, 86 };
    const double values[] = { 0.2, 0.3, 0.4, 0.6, 0.1, 0.7 };

    for (size_t i = 0; i < 8; ++i)
    {
        EXPECT_EQ ((int) sent[i].id, order[i]);
        EXPECT_EQ (sent[i].kind, 0u);
        EXPECT_TRUE (sent[i].accepted);

        if (i < 6)
        {
            EXPECT_NEAR (sent[i].value, values[i], 1e-6) << i;
        }
    }

    const Amp& brit = *builtInAmpModels[1].parsed;
    AmpNameAndID amp;
    decodeNumberedName (storedBytes (ampNameBlock, 4).data(), amp);
    EXPECT_EQ (amp.id, 12u);
    EXPECT_EQ (amp.name, "Brit 800");

    std::string cabName;
    decodeName (storedBytes (cabNameBlock, 4).data(), cabName);
    EXPECT_EQ (cabName, "Brit 800");
    const std::vector<uint8_t> cab = storedBytes (cabDataBlock, 4);
    EXPECT_TRUE (std::equal (cab.begin(), cab.end(), brit.impulse.begin()));
}

TEST_F (PresetFiles, AnOlderPresetWithAnUnknownAmpStillMovesTheKnobs)
{
    pedal.clearReceived();
    importFrom (writeOlderPresetFile ("Odd.pre", olderPreset (77.0f, -3.0f)));

    EXPECT_EQ (shownErrors(), std::vector<std::string> { "Failed to get amp data for preset" });
    EXPECT_TRUE (log.contains ("Failed to find amp data for id:77"));
    EXPECT_EQ (host.sent().size(), 8u);
    EXPECT_EQ (pedal.liveParameters().size(), 8u);
    EXPECT_EQ (storedParams (presetBlock, 4), (ParamMap { { 2, 0x3E000000u + 4 }, { 3, 0x3F000000u + 4 } }))
        << "nothing uploaded";
}

TEST_F (PresetFiles, UnreadablePresetFilesAndARefusedUploadSayWhatFailed)
{
    importFrom (writeBytes ("Broken.tqp", "# File Type: User Cabinet data, Index = 0\n\n"));
    importFrom (writeBytes ("Broken.pre", "nothing here\n"));
    importFrom (scratch.file ("Missing.tqp"));
    EXPECT_EQ (shownErrors(), (std::vector<std::string> { "Failed to load preset", "Failed to load preset", "Failed to load preset" }));
    EXPECT_TRUE (host.sent().empty());

    FullQuorbelPreset unknownAmp;
    unknownAmp.amp.id = 4321;
    importFrom (writePresetFile ("Unknown.tqp", unknownAmp));
    EXPECT_EQ (shownErrors().back(), "Failed to get amp data for preset");

    FullQuorbelPreset plexi;
    plexi.amp.id = 10;
    const juce::File file = writePresetFile ("Plexi.tqp", plexi);
    detach();
    files.answer (file);
    actions.importPreset();
    EXPECT_EQ (shownErrors().back(), "Failed to import preset");
    EXPECT_TRUE (log.contains ("Failed to import preset"));
}
