// SPDX-License-Identifier: GPL-3.0-or-later
#include "AmpModelSynth.h"
#include "BuiltInAmpModelTexts.h"
#include "InStreamWrapper.h"
#include "TessarineDataFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

using namespace Tessarine;
using namespace Tessarine::TessarineData;

namespace
{
/** What the editor's amp menu and the presets rely on, row by row: the Index
    of the header, the amp identifier and the amp name in the data. */
struct ExpectedRow
{
    int row;
    uint32_t index;
    uint32_t ampId;
    const char* ampName;
};

const ExpectedRow kExpected[] = {
    { 1, 40, 10, "Plexi" },         { 2, 45, 12, "Brit 800" },       { 3, 50, 13, "Hot Brit" },
    { 4, 15, 20, "D Luxe" },        { 5, 20, 21, "'59 Bman" },       { 6, 10, 23, "US Clean" },
    { 7, 12, 24, "65 Clean" },      { 8, 30, 30, "Top Boost" },      { 9, 25, 40, "Rumble" },
    { 10, 55, 41, "Marc IV Lead" }, { 11, 56, 42, "Marc IV EQ" },    { 12, 26, 43, "Rumble Brite" },
    { 13, 41, 668, "Freedman BE" }, { 14, 42, 669, "Freedman HBE" }, { 15, 80, 70, "Kornfield" },
    { 16, 60, 72, "Recto" },        { 17, 65, 73, "5051" },          { 18, 63, 74, "SLO" },
    { 19, 70, 80, "Arkhan" },       { 20, 150, 90, "SV Tee" },       { 21, 200, 990, "Power EL34" },
    { 22, 205, 991, "Power 6L6" },  { 23, 210, 992, "Power EL84" },  { 24, 215, 993, "Power KT88" },
};

const char* const kTexts[] = {
    BuiltInData::ampModelText01, BuiltInData::ampModelText02, BuiltInData::ampModelText03, BuiltInData::ampModelText04,
    BuiltInData::ampModelText05, BuiltInData::ampModelText06, BuiltInData::ampModelText07, BuiltInData::ampModelText08,
    BuiltInData::ampModelText09, BuiltInData::ampModelText10, BuiltInData::ampModelText11, BuiltInData::ampModelText12,
    BuiltInData::ampModelText13, BuiltInData::ampModelText14, BuiltInData::ampModelText15, BuiltInData::ampModelText16,
    BuiltInData::ampModelText17, BuiltInData::ampModelText18, BuiltInData::ampModelText19, BuiltInData::ampModelText20,
    BuiltInData::ampModelText21, BuiltInData::ampModelText22, BuiltInData::ampModelText23, BuiltInData::ampModelText24,
};

const size_t kSizes[] = {
    BuiltInData::ampModelText01Size, BuiltInData::ampModelText02Size, BuiltInData::ampModelText03Size, BuiltInData::ampModelText04Size,
    BuiltInData::ampModelText05Size, BuiltInData::ampModelText06Size, BuiltInData::ampModelText07Size, BuiltInData::ampModelText08Size,
    BuiltInData::ampModelText09Size, BuiltInData::ampModelText10Size, BuiltInData::ampModelText11Size, BuiltInData::ampModelText12Size,
    BuiltInData::ampModelText13Size, BuiltInData::ampModelText14Size, BuiltInData::ampModelText15Size, BuiltInData::ampModelText16Size,
    BuiltInData::ampModelText17Size, BuiltInData::ampModelText18Size, BuiltInData::ampModelText19Size, BuiltInData::ampModelText20Size,
    BuiltInData::ampModelText21Size, BuiltInData::ampModelText22Size, BuiltInData::ampModelText23Size, BuiltInData::ampModelText24Size,
};

std::string textOfRow (int row)
{
    return std::string (kTexts[row - 1], kSizes[row - 1]);
}

size_t count (const std::string& text, const std::string& what)
{
    size_t n = 0;

    for (size_t at = text.find (what); at != std::string::npos; at = text.find (what, at + what.size()))
        ++n;

    return n;
}

class BuiltInAmpModelText : public ::testing::TestWithParam<ExpectedRow>
{
};

INSTANTIATE_TEST_SUITE_P (AllRows, BuiltInAmpModelText, ::testing::ValuesIn (kExpected),
                          [] (const ::testing::TestParamInfo<ExpectedRow>& info) { return "Row" + std::to_string (info.param.row); });
} // namespace

TEST_P (BuiltInAmpModelText, HasTheSizeOfItsLayout)
{
    const ExpectedRow& e = GetParam();
    const bool bassAmp = e.ampId == 40 || e.ampId == 43;
    const size_t expected = bassAmp ? 47687 : e.index >= 100 ? 45640 : 45639;

    EXPECT_EQ (kSizes[e.row - 1], expected);
    // The embedded array carries one NUL after the text, never counted.
    EXPECT_EQ (kTexts[e.row - 1][kSizes[e.row - 1]], '\0');
}

TEST_P (BuiltInAmpModelText, StartsWithItsIndexLineAndCarriesOnlyTheFirstSizeLineAndNoChecksums)
{
    const ExpectedRow& e = GetParam();
    const std::string text = textOfRow (e.row);
    const std::string header = "# File Type: Amp_Model data, Index = " + std::to_string (e.index) + "\n\n\n\n";

    EXPECT_EQ (text.substr (0, header.size()), header);
    EXPECT_EQ (count (text, "Data Segment 0: 4096 bytes excluding CRC\n"), 1u);
    EXPECT_EQ (count (text, "bytes excluding CRC"), 1u);
    EXPECT_EQ (count (text, "CRC ="), 0u);
    EXPECT_EQ (count (text, "# Data Segment 3 End - Do Not Delete\n\n"), 1u);
    EXPECT_EQ (text.substr (text.size() - 2), "\n\n");

    // Only the two bass amps keep CRLF, on exactly the impulse's word lines.
    const bool bassAmp = e.ampId == 40 || e.ampId == 43;
    EXPECT_EQ (count (text, "\r"), bassAmp ? 2048u : 0u);

    if (bassAmp)
    {
        const size_t impulseStart = text.find ("# Data Segment 2 Start - Do Not Delete\n");
        const size_t impulseEnd = text.find ("# Data Segment 2 End");
        ASSERT_NE (impulseStart, std::string::npos);
        EXPECT_EQ (count (text.substr (impulseStart, impulseEnd - impulseStart), "\r\n"), 2048u);
    }
}

TEST_P (BuiltInAmpModelText, ReadsBackAsTheRecordsItWasMadeFrom)
{
    const ExpectedRow& e = GetParam();
    juce::MemoryInputStream memory (kTexts[e.row - 1], kSizes[e.row - 1], false);
    InStreamWrapper in (memory);
    Amp amp;
    uint32_t index = 0;

    ASSERT_TRUE (TessarineDataFile::readAmpModelFile (in, amp, &index));

    const Amp made = AmpModelSynth::make (AmpModelCatalogue::row (e.row));
    EXPECT_EQ (index, e.index);
    EXPECT_EQ (amp.nameAndID.id, e.ampId);
    EXPECT_EQ (amp.nameAndID.name, e.ampName);
    EXPECT_EQ (amp.data.params, made.data.params);
    EXPECT_EQ (amp.data.name, made.data.name);
    EXPECT_EQ (amp.data.name2, made.data.name2);
    EXPECT_TRUE (amp.impulse == made.impulse);
    EXPECT_TRUE (amp.finishingFilter == made.finishingFilter);
    EXPECT_EQ (amp.secondData, nullptr);
}

TEST_P (BuiltInAmpModelText, HoldsExactlyTheFourBlocks)
{
    const ExpectedRow& e = GetParam();
    juce::MemoryInputStream memory (kTexts[e.row - 1], kSizes[e.row - 1], false);
    InStreamWrapper in (memory);
    TessarineDataFile file (TessarineDataFile::PresetData, 0, 0);

    ASSERT_TRUE (file.read (in));
    EXPECT_EQ (file.type, (uint32_t) TessarineDataFile::AmpModelData);
    ASSERT_EQ (file.segments.size(), 4u);
    EXPECT_EQ (file.segments[0].size(), kAmpBlockSize);
    EXPECT_EQ (file.segments[1].size(), kNumberedNameBlockSize);
    EXPECT_EQ (file.segments[2].size(), kImpulseBlockSize);
    EXPECT_EQ (file.segments[3].size(), kFinishingFilterSize);
}
