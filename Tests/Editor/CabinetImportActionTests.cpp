// SPDX-License-Identifier: GPL-3.0-or-later
// Importing a user cabinet from a WAV or AIFF impulse or from a ".cab" file.
#include "Support/FileActionFixture.h"
#include "Support/AudioFixtureFolder.h"
#include "UserCabinetImporter.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace Tessarine::TessarineData;

namespace
{
class CabinetImport : public FileActionFixture
{
protected:
    void SetUp() override
    {
        pedal.setCurrentPreset (2);
        attachAndSettle();
    }

    void importFrom (const juce::File& file)
    {
        files.answer (file);
        actions.importCabinet();
        ASSERT_TRUE (waitForIdle());
    }

    std::string sentName() const
    {
        std::string name;
        decodeName (storedBytes (cabNameBlock, 2).data(), name);
        return name;
    }

    void expectSentImpulse (const ImpulseData& expected) const
    {
        const std::vector<uint8_t> block = storedBytes (cabDataBlock, 2);
        ASSERT_EQ (block.size(), kImpulseBlockSize);
        ImpulseData sent;
        decodeImpulse (block.data(), sent);
        EXPECT_EQ (std::memcmp (sent, expected, sizeof (sent)), 0);
    }

    TestSupport::AudioFixtureFolder audio;
};
} // namespace

TEST_F (CabinetImport, AWavFileIsResampledAndNamedAfterTheFile)
{
    const std::string path = audio.makeWithSox ("Room.wav", "-n -r 44100 -b 16 -c 1 %OUT% synth 0.01 sine 1000 fade 0 0.01 0.009");
    ASSERT_FALSE (path.empty());

    importFrom (juce::File (path));

    EXPECT_TRUE (shownErrors().empty());
    EXPECT_EQ (sentName(), "Room");
    EXPECT_EQ (service->getCurrentCabName(), "Room");

    ImpulseData expected;
    ASSERT_TRUE (UserCabinetImporter::importImpulse (path.c_str(), &expected[0][0]));
    expectSentImpulse (expected);
}

TEST_F (CabinetImport, AnAiffFileWithALongNameIsSentUnderFifteenCharacters)
{
    const std::string path = audio.makeWithSox ("Concert Hall Far.aiff", "-n -r 48000 -b 24 -c 2 %OUT% synth 0.005 noise");
    ASSERT_FALSE (path.empty());

    importFrom (juce::File (path));

    EXPECT_TRUE (shownErrors().empty());
    EXPECT_EQ (sentName(), "Concert Hall Fa");
}

TEST_F (CabinetImport, ACabinetFileBringsItsOwnName)
{
    Cabinet cabinet;
    cabinet.name = "Vintage 2x12";
    cabinet.impulse[0][0] = 0.5f;
    cabinet.impulse[1][3] = -0.25f;

    importFrom (writeCabinetFile ("whatever.CAB", cabinet));

    EXPECT_TRUE (shownErrors().empty());
    EXPECT_EQ (sentName(), "Vintage 2x12");
    expectSentImpulse (cabinet.impulse);
}

TEST_F (CabinetImport, EachFailureShowsItsOwnTextUnlogged)
{
    importFrom (writeBytes ("bad.cab", "# File Type: Preset data, Index = 1\n\n"));
    importFrom (writeBytes ("bad.wav", "RIFF but not really"));
    EXPECT_FALSE (pedal.storedBlock (cabNameBlock, 2));
    EXPECT_FALSE (pedal.storedBlock (cabDataBlock, 2));

    detach();
    Cabinet cabinet;
    cabinet.name = "Fine";
    files.answer (writeCabinetFile ("fine.cab", cabinet));
    actions.importCabinet();

    EXPECT_EQ (shownErrors(), (std::vector<std::string> { "Failed to load cabinet", "Failed to import cabinet", "Failed to send cabinet" }));

    for (const char* text : { "Failed to load cabinet", "Failed to import cabinet", "Failed to send cabinet" })
        EXPECT_FALSE (log.contains (text)) << text;
}
