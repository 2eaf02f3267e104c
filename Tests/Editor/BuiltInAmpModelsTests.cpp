// SPDX-License-Identifier: GPL-3.0-or-later
#include "BuiltInAmpModels.h"
#include "Support/ConnectedServiceFixture.h"
#include "Support/RecordingErrorPresenter.h"
#include "Support/ScriptedMenuRunner.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace Tessarine::TessarineData;

namespace
{
const char* const kMenuTexts[kBuiltInAmpModelCount] = {
    "Plexi", "Brit 800", "Hot Brit", "D Luxe", "59 Bman", "US Clean", "65 Clean", "Top Boost",
    "Rumble", "Marc IV Lead", "Marc IV EQ", "Rumble Brite", "Freedman BE", "Freedman HBE", "Kornfield", "Recto",
    "5051", "SLO", "Arkhan", "SV Tee", "Power EL34", "Power 6L6", "Power EL84", "Power KT88",
};

const uint32_t kAmpIds[kBuiltInAmpModelCount] = {
    10, 12, 13, 20, 21, 23, 24, 30, 40, 41, 42, 43, 668, 669, 70, 72, 73, 74, 80, 90, 990, 991, 992, 993,
};

/** A copy of the built-in table whose second row holds a text that is no
    amp-model file, so that row cannot parse. */
struct TableWithBrokenRow
{
    TableWithBrokenRow()
    {
        std::memcpy (rows, builtInAmpModels, sizeof (rows));
        rows[1].dataText = broken;
        rows[1].textLength = sizeof (broken) - 1;
    }

    static constexpr char broken[] = "# File Type: Preset data, Index = 45\n\n";
    BuiltInAmpModel rows[kBuiltInAmpModelCount];
};

class BuiltInAmps : public ConnectedServiceFixture
{
protected:
    RecordingErrorPresenter errors;
    ScriptedMenuRunner menus;
};
} // namespace

TEST_F (BuiltInAmps, ParseEveryTextOnceAndReleaseThemWithTheirOwner)
{
    {
        BuiltInAmpModels amps;

        for (int i = 0; i < kBuiltInAmpModelCount; ++i)
        {
            const BuiltInAmpModel& row = builtInAmpModels[i];
            ASSERT_NE (row.parsed, nullptr) << kMenuTexts[i];
            EXPECT_STREQ (row.name, kMenuTexts[i]);
            EXPECT_EQ (row.parsed->nameAndID.id, kAmpIds[i]);
            EXPECT_EQ (row.parsed->secondData, nullptr);
        }

        // The menu text and the amp's own name differ for row 5 only.
        EXPECT_EQ (builtInAmpModels[4].parsed->nameAndID.name, "'59 Bman");
    }

    for (const BuiltInAmpModel& row : builtInAmpModels)
        EXPECT_EQ (row.parsed, nullptr);
}

TEST_F (BuiltInAmps, TheMenuListsEveryRowAndARowThatDidNotParseReportsItself)
{
    attachAndSettle();
    TableWithBrokenRow table;
    BuiltInAmpModels amps (table.rows);
    EXPECT_EQ (table.rows[1].parsed, nullptr);
    EXPECT_NE (table.rows[2].parsed, nullptr);

    menus.choose (2);
    pedal.clearReceived();
    amps.chooseBuiltInAmp (*service, menus, errors);

    ASSERT_EQ (menus.lastMenu().size(), (size_t) kBuiltInAmpModelCount);
    for (int i = 0; i < kBuiltInAmpModelCount; ++i)
    {
        const ScriptedMenuRunner::Item& item = menus.lastMenu()[(size_t) i];
        EXPECT_EQ (item.id, i + 1);
        EXPECT_EQ (item.text, kMenuTexts[i]);
        EXPECT_TRUE (item.enabled);
        EXPECT_FALSE (item.ticked);
    }

    EXPECT_EQ (errors.errors(), std::vector<std::string> { "Failed to load amp" });
    EXPECT_TRUE (log.contains ("Amp data not found!"));
    EXPECT_TRUE (log.contains ("Failed to load amp"));
    EXPECT_EQ (pedal.receivedCount(), 0u);
}

TEST_F (BuiltInAmps, AChosenAmpGoesToTheCurrentPresetUnderItsOwnName)
{
    fillPedal();
    pedal.setCurrentPreset (3);
    attachAndSettle();
    BuiltInAmpModels amps;

    menus.choose (5);
    amps.chooseBuiltInAmp (*service, menus, errors);
    ASSERT_TRUE (waitForIdle());

    EXPECT_TRUE (errors.errors().empty());
    AmpNameAndID sent;
    const std::vector<uint8_t> nameBlock = storedBytes (ampNameBlock, 3);
    ASSERT_EQ (nameBlock.size(), kNumberedNameBlockSize);
    decodeNumberedName (nameBlock.data(), sent);
    EXPECT_EQ (sent.id, 21u);
    EXPECT_EQ (sent.name, "'59 Bman");

    AmpData data;
    const std::vector<uint8_t> dataBlock = storedBytes (ampDataBlock, 3);
    ASSERT_EQ (dataBlock.size(), kAmpBlockSize);
    decodeAmpModelBlock (dataBlock.data(), data);
    EXPECT_EQ (data.params, builtInAmpModels[4].parsed->data.params);

    const std::vector<uint8_t> filter = storedBytes (finishingFilterBlock, 3);
    EXPECT_TRUE (std::equal (filter.begin(), filter.end(), builtInAmpModels[4].parsed->finishingFilter.begin()));
    EXPECT_EQ (service->getCurrentAmpName(), "'59 Bman");
}

TEST_F (BuiltInAmps, DismissingTheMenuDoesNothingAndARefusedUploadSaysSo)
{
    BuiltInAmpModels amps;

    menus.choose (0);
    amps.chooseBuiltInAmp (*service, menus, errors);
    EXPECT_TRUE (errors.errors().empty());

    // No pedal: the service refuses, and only our own text is shown.
    menus.choose (1);
    amps.chooseBuiltInAmp (*service, menus, errors);
    EXPECT_EQ (errors.errors(), std::vector<std::string> { "Failed to send amp" });

    // An id beyond the table is no row.
    menus.choose (25);
    amps.chooseBuiltInAmp (*service, menus, errors);
    EXPECT_EQ (errors.errors().back(), "Failed to load amp");
}

TEST_F (BuiltInAmps, APresetIsCompletedByAmpIdentifierNotByRowOrIndex)
{
    BuiltInAmpModels amps;
    FullQuorbelPreset preset;
    preset.amp.id = 10;   // Plexi (row 1); row 6 has Index 10
    preset.amp.name = "not loaded";
    preset.cab.name = "Mine";
    preset.cab.impulse[1][5] = 0.25f;
    preset.params[2] = 0x3F000000u;

    ASSERT_TRUE (amps.findBuiltInAmpForPreset (*service, preset, false));

    const Amp& plexi = *builtInAmpModels[0].parsed;
    EXPECT_EQ (preset.amp.id, 10u);
    EXPECT_EQ (preset.amp.name, "Plexi");
    EXPECT_EQ (preset.ampData.params, plexi.data.params);
    EXPECT_EQ (preset.ampData.name, plexi.data.name);
    EXPECT_EQ (preset.ampData.name2, plexi.data.name2);
    EXPECT_TRUE (preset.finishingFilter == plexi.finishingFilter);

    // The cabinet is left alone without copyAmpImpulse.
    EXPECT_EQ (preset.cab.name, "Mine");
    EXPECT_EQ (preset.cab.impulse[1][5], 0.25f);

    // Validated: the value given stays, every other preset parameter is added.
    EXPECT_EQ (preset.params.at (2), 0x3F000000u);
    EXPECT_GT (preset.params.size(), 50u);
}

TEST_F (BuiltInAmps, WithCopyAmpImpulseTheAmpsImpulseAndNameBecomeTheCabinet)
{
    BuiltInAmpModels amps;
    FullQuorbelPreset preset;
    preset.amp.id = 43;   // Rumble Brite

    ASSERT_TRUE (amps.findBuiltInAmpForPreset (*service, preset, true));

    ImpulseData expected;
    decodeImpulse (builtInAmpModels[11].parsed->impulse.data(), expected);
    EXPECT_EQ (preset.cab.name, "Rumble Brite");
    EXPECT_EQ (std::memcmp (preset.cab.impulse, expected, sizeof (expected)), 0);
}

TEST_F (BuiltInAmps, AnUnknownIdentifierLeavesThePresetAsItWas)
{
    BuiltInAmpModels amps;
    FullQuorbelPreset preset;   // a new preset: amp identifier 0
    preset.ampData.name = "kept";
    preset.params[2] = 7;

    const Tessarine::Result r = amps.findBuiltInAmpForPreset (*service, preset, true);

    ASSERT_FALSE (r);
    EXPECT_STREQ (r.error, "Failed to find amp data for id:%d");
    EXPECT_TRUE (log.contains ("Amp data not found!"));
    EXPECT_TRUE (log.contains ("Failed to find amp data for id:0"));
    EXPECT_EQ (preset.ampData.name, "kept");
    EXPECT_EQ (preset.params.size(), 1u);
    EXPECT_EQ (preset.cab.name, "");
}
