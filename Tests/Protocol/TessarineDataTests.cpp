// SPDX-License-Identifier: GPL-3.0-or-later
#include "TessarineData.h"
#include "Support/BlockWords.h"
#include "Support/Hex.h"
#include "Support/LogCapture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

using namespace Tessarine;
using namespace Tessarine::TessarineData;
using TestSupport::BlockWords;

namespace
{
ParamMap mapOfSize (size_t n)
{
    ParamMap m;

    for (uint32_t i = 0; i < (uint32_t) n; ++i)
        m[1000 + i * 3] = 0x40000000u + i;

    return m;
}

std::vector<uint8_t> nameWords (const std::string& text, size_t words)
{
    std::vector<uint8_t> block (words * 4, 0);

    for (size_t i = 0; i < text.size() && i < words; ++i)
        block[i * 4] = (uint8_t) text[i];

    return block;
}

struct PairListCodec
{
    const char* label;
    size_t capacity;
    size_t blockSize;
    std::function<Result (uint8_t*, const ParamMap&)> encode;
};

class PairListCapacities : public ::testing::TestWithParam<PairListCodec> {};
} // namespace

//==============================================================================
TEST_P (PairListCapacities, EmptyMapIsAllFillerAndDecodesEmpty)
{
    const auto& codec = GetParam();
    std::vector<uint8_t> block (codec.blockSize, 0xAB);

    ASSERT_TRUE (codec.encode (block.data(), {}));

    for (size_t i = 0; i < codec.capacity; ++i)
    {
        ASSERT_EQ (BlockWords::wordAt (block, 2 * i), 0xFFFFFFFFu) << "entry " << i;
        ASSERT_EQ (BlockWords::wordAt (block, 2 * i + 1), 0u) << "entry " << i;
    }

    ParamMap decoded { { 1, 2 } };
    EXPECT_TRUE (decodeParamList (block.data(), block.size(), decoded));
    EXPECT_TRUE (decoded.empty());
}

TEST_P (PairListCapacities, FullCapacityHasNoEndEntryAndRoundTrips)
{
    const auto& codec = GetParam();
    const ParamMap params = mapOfSize (codec.capacity);
    std::vector<uint8_t> block (codec.blockSize, 0);

    ASSERT_TRUE (codec.encode (block.data(), params));

    for (size_t i = 0; i < codec.capacity; ++i)
        ASSERT_NE (BlockWords::wordAt (block, 2 * i), 0xFFFFFFFFu) << "entry " << i;

    EXPECT_EQ (BlockWords::wordAt (block, 2 * (codec.capacity - 1)), 1000u + (uint32_t) (codec.capacity - 1) * 3);

    ParamMap decoded;
    decodeParamList (block.data(), block.size(), decoded);
    EXPECT_EQ (decoded, params);
}

TEST_P (PairListCapacities, OneOverCapacityFailsAndLeavesBlockUntouched)
{
    const auto& codec = GetParam();
    std::vector<uint8_t> block (codec.blockSize, 0x5A);
    const auto before = block;

    TestSupport::LogCapture log;
    const Result r = codec.encode (block.data(), mapOfSize (codec.capacity + 1));

    EXPECT_EQ (r, Result ({ false, "Too many params" }));
    EXPECT_EQ (block, before);
}

INSTANTIATE_TEST_SUITE_P (
    Codecs, PairListCapacities,
    ::testing::Values (PairListCodec { "globals", 128, 1024, encodeParamList },
                       PairListCodec { "amp", 256, 2048, encodeLongParamList },
                       PairListCodec { "preset", 512, 4096, encodeParamPairs }),
    [] (const auto& info) { return std::string (info.param.label); });

TEST (ParamList, EncodesAscendingLittleEndianPairsThenFiller)
{
    std::vector<uint8_t> block (kParamListSize, 0);
    const ParamMap params { { 0x01020304u, 0x3F800000u }, { 7, 0xAABBCCDDu } };

    ASSERT_TRUE (encodeParamList (block.data(), params));

    EXPECT_EQ (TestSupport::hex (block.data(), 24),
               "07 00 00 00 DD CC BB AA "
               "04 03 02 01 00 00 80 3F "
               "FF FF FF FF 00 00 00 00");
    EXPECT_EQ (BlockWords::wordAt (block, 255), 0u);
    EXPECT_EQ (BlockWords::wordAt (block, 254), 0xFFFFFFFFu);
}

TEST (ParamList, DecodingKeepsTheLastOfARepeatedIdentifier)
{
    const auto block = BlockWords::bytesOf ({ 5, 1, 9, 2, 5, 3 });
    ParamMap decoded;

    decodeParamList (block.data(), block.size(), decoded);

    EXPECT_EQ (decoded, (ParamMap { { 5, 3 }, { 9, 2 } }));
}

TEST (ParamList, DecodingStopsAtTheFirstEndIdentifier)
{
    const auto block = BlockWords::bytesOf ({ 1, 10, 0xFFFFFFFFu, 0, 2, 20, 3, 30 });
    ParamMap decoded;

    decodeParamList (block.data(), block.size(), decoded);

    EXPECT_EQ (decoded, (ParamMap { { 1, 10 } }));
}

TEST (ParamList, DecodingIgnoresATrailingPartialEntryAndReplacesOldContents)
{
    const auto block = BlockWords::bytesOf ({ 1, 10, 2, 20 });
    ParamMap decoded { { 99, 99 } };

    decodeParamList (block.data(), 12, decoded); // one entry and half of the next

    EXPECT_EQ (decoded, (ParamMap { { 1, 10 } }));
}

TEST (ParamList, SortedListIsAscending)
{
    const ParamMap params { { 30, 3 }, { 10, 1 }, { 20, 2 } };
    const std::vector<ParamPair> expected { { 10, 1 }, { 20, 2 }, { 30, 3 } };

    EXPECT_EQ (sortedParamList (params), expected);
}

//==============================================================================
TEST (ShortName, EncodesOneCharacterPerWordWithZeroWordsAfter)
{
    std::vector<uint8_t> block (kNameBlockSize, 0xEE);

    encodeName (block.data(), "Ab\xE9");

    EXPECT_EQ (block, nameWords ("Ab\xE9", 16)); // raw byte 0xE9, no conversion
}

TEST (ShortName, FifteenCharactersFitAndWordFifteenStaysZero)
{
    const std::string name = "ABCDEFGHIJKLMNO";
    std::vector<uint8_t> block (kNameBlockSize, 0xEE);

    encodeName (block.data(), name);
    EXPECT_EQ (block, nameWords (name, 16));

    std::string decoded;
    decodeName (block.data(), decoded);
    EXPECT_EQ (decoded, name);
}

TEST (ShortName, LongerNameKeepsItsFirstFifteenCharacters)
{
    std::vector<uint8_t> block (kNameBlockSize, 0);

    encodeName (block.data(), "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ (BlockWords::wordAt (block, 14), (uint32_t) 'O');
    EXPECT_EQ (BlockWords::wordAt (block, 15), 0u);

    std::string decoded;
    decodeName (block.data(), decoded);
    EXPECT_EQ (decoded, "ABCDEFGHIJKLMNO");
}

TEST (ShortName, DecodingIgnoresUpperBytesAndStopsAtWordFifteen)
{
    // Every word non-zero, including word 15, and upper bytes set.
    std::vector<uint8_t> block;

    for (uint32_t k = 0; k < 16; ++k)
    {
        const auto w = BlockWords::bytesOf ({ 0xFFFFFF00u | ('a' + k) });
        block.insert (block.end(), w.begin(), w.end());
    }

    std::string decoded = "previous";
    decodeName (block.data(), decoded);
    EXPECT_EQ (decoded, "abcdefghijklmno");
}

TEST (ShortName, EmptyNameZeroesTheWholeBlockAndDecodesEmpty)
{
    std::vector<uint8_t> block (kNameBlockSize, 0x41);

    encodeName (block.data(), "");
    EXPECT_EQ (block, std::vector<uint8_t> (kNameBlockSize, 0));

    std::string decoded = "previous";
    decodeName (block.data(), decoded);
    EXPECT_EQ (decoded, "");
}

TEST (ShortName, EncodingStopsAtAnEmbeddedZero)
{
    std::vector<uint8_t> block (kNameBlockSize, 0);

    encodeName (block.data(), std::string ("AB\0CD", 5));

    EXPECT_EQ (block, nameWords ("AB", 16));
}

TEST (NumberedName, IdentifierIsLittleEndianAndSixteenCharactersSurvive)
{
    std::vector<uint8_t> block (kNumberedNameBlockSize, 0xEE);
    const AmpNameAndID amp { 0x11223344u, "0123456789ABCDEF" };

    encodeNumberedName (block.data(), amp);

    EXPECT_EQ (TestSupport::hex (block.data(), 8), "44 33 22 11 30 00 00 00");
    EXPECT_EQ (BlockWords::wordAt (block, 16), (uint32_t) 'F');

    AmpNameAndID decoded { 7, "previous" };
    decodeNumberedName (block.data(), decoded);
    EXPECT_EQ (decoded.id, amp.id);
    EXPECT_EQ (decoded.name, amp.name);
}

TEST (NumberedName, SeventeenCharactersLoseTheLast)
{
    std::vector<uint8_t> block (kNumberedNameBlockSize, 0);
    encodeNumberedName (block.data(), { 1, "0123456789ABCDEFG" });

    AmpNameAndID decoded;
    decodeNumberedName (block.data(), decoded);
    EXPECT_EQ (decoded.name, "0123456789ABCDEF");
}

TEST (NumberedName, EmptyNameLeavesOnlyTheIdentifier)
{
    std::vector<uint8_t> block (kNumberedNameBlockSize, 0x41);
    encodeNumberedName (block.data(), { 9, "" });

    auto expected = BlockWords::bytesOf ({ 9 });
    expected.resize (kNumberedNameBlockSize, 0);
    EXPECT_EQ (block, expected);
}

TEST (PresetName, ReadsSixteenCharactersFromWordZero)
{
    auto segment = nameWords ("Older Unit PresetXYZ", 20);
    segment.resize (100, 0x55);

    std::string decoded;
    decodePresetName (segment.data(), decoded);
    EXPECT_EQ (decoded, "Older Unit Prese");
}

TEST (LongName, TwoHundredFiftyFiveCharactersFitAndWordTwoFiftyFiveStaysZero)
{
    const std::string exact (255, 'x');
    std::vector<uint8_t> region (kLongNameSize, 0xEE);

    encodeLongName (region.data(), exact + "yz");
    EXPECT_EQ (region, nameWords (exact, 256));

    std::string decoded;
    decodeLongName (region.data(), decoded);
    EXPECT_EQ (decoded, exact);
}

//==============================================================================
TEST (AmpBlock, LaysOutPairsThenTheTwoNamesAndRoundTrips)
{
    AmpData amp;
    amp.params = { { 3, 0x3F800000u }, { 1, 2 } };
    amp.name = "Plexi 1959";
    amp.name2 = std::string (300, 'n');

    std::vector<uint8_t> block (kAmpBlockSize, 0xEE);
    ASSERT_TRUE (encodeAmpModelBlock (block.data(), amp));

    EXPECT_EQ (TestSupport::hex (block.data(), 16), "01 00 00 00 02 00 00 00 03 00 00 00 00 00 80 3F");
    EXPECT_EQ (BlockWords::wordAt (block, 4), 0xFFFFFFFFu);
    EXPECT_EQ (BlockWords::wordAt (block, 511), 0u);              // last filler value
    EXPECT_EQ (BlockWords::wordAt (block, 512), (uint32_t) 'P');  // byte 2048
    EXPECT_EQ (BlockWords::wordAt (block, 767), 0u);
    EXPECT_EQ (BlockWords::wordAt (block, 768), (uint32_t) 'n');  // byte 3072
    EXPECT_EQ (BlockWords::wordAt (block, 1022), (uint32_t) 'n');
    EXPECT_EQ (BlockWords::wordAt (block, 1023), 0u);

    AmpData decoded;
    decoded.params[77] = 1;
    decodeAmpModelBlock (block.data(), decoded);
    EXPECT_EQ (decoded.params, amp.params);
    EXPECT_EQ (decoded.name, amp.name);
    EXPECT_EQ (decoded.name2, std::string (255, 'n'));
}

TEST (AmpBlock, TooManyParamsFailsWithoutTouchingTheBlock)
{
    AmpData amp;
    amp.params = mapOfSize (257);
    amp.name = "would overwrite";

    std::vector<uint8_t> block (kAmpBlockSize, 0x5A);
    TestSupport::LogCapture log;

    EXPECT_EQ (encodeAmpModelBlock (block.data(), amp), Result ({ false, "Too many params" }));
    EXPECT_EQ (block, std::vector<uint8_t> (kAmpBlockSize, 0x5A));
}

//==============================================================================
TEST (Impulse, NewCabinetEncodesAsUnitImpulsePerChannel)
{
    const Cabinet cab;
    std::vector<uint8_t> block (kImpulseBlockSize, 0xEE);

    encodeImpulse (block.data(), cab.impulse);

    for (size_t w = 0; w < 2048; ++w)
        ASSERT_EQ (BlockWords::wordAt (block, w), (w == 0 || w == 1024) ? 0x3F800000u : 0u) << "word " << w;

    EXPECT_EQ (cab.name, "");
}

TEST (Impulse, RoundTripKeepsEveryBitPatternChannelMajor)
{
    Cabinet cab;

    for (size_t ch = 0; ch < 2; ++ch)
        for (size_t i = 0; i < kImpulseLength; ++i)
            cab.impulse[ch][i] = (float) (ch + 1) * -0.001f * (float) i;

    const uint32_t quietNaN = 0x7FC01234u;
    std::memcpy (&cab.impulse[1][5], &quietNaN, 4);

    std::vector<uint8_t> block (kImpulseBlockSize, 0);
    encodeImpulse (block.data(), cab.impulse);

    // Channel 1, sample 1 sits right after channel 0's 1024 samples.
    EXPECT_EQ (TestSupport::hex (block.data() + 4100, 4), "6F 12 03 BB"); // -0.002f

    Cabinet decoded;
    decodeImpulse (block.data(), decoded.impulse);
    EXPECT_EQ (std::memcmp (decoded.impulse, cab.impulse, sizeof (cab.impulse)), 0);
}

//==============================================================================
TEST (Records, NewFullPresetHasUnityFinishingFilterAndEmptyParts)
{
    const FullQuorbelPreset p;

    EXPECT_TRUE (p.params.empty());
    EXPECT_EQ (p.cab.impulse[0][0], 1.0f);
    EXPECT_EQ (p.cab.impulse[1][0], 1.0f);
    EXPECT_EQ (p.cab.impulse[1][1], 0.0f);
    EXPECT_EQ (p.amp.id, 0u);
    EXPECT_TRUE (p.ampData.params.empty());
    EXPECT_EQ (TestSupport::hex (p.finishingFilter.data(), 4), "00 00 80 3F");

    for (size_t i = 4; i < kFinishingFilterSize; ++i)
        ASSERT_EQ (p.finishingFilter[i], 0) << "byte " << i;

    const QuorbelArchive::PresetEntry entry;
    EXPECT_EQ (entry.index, 0u);
    EXPECT_EQ (entry.preset.finishingFilter[3], 0x3F);
}

TEST (Records, CopiesDuplicateWhatUniquePointersHold)
{
    Amp amp;
    amp.secondData = std::make_unique<AmpData>();
    amp.secondData->name = "second";

    Amp ampCopy (amp);
    ASSERT_NE (ampCopy.secondData, nullptr);
    EXPECT_NE (ampCopy.secondData.get(), amp.secondData.get());
    EXPECT_EQ (ampCopy.secondData->name, "second");

    Amp assigned;
    assigned = amp;
    amp.secondData->name = "changed";
    EXPECT_EQ (assigned.secondData->name, "second");

    Amp withoutSecond;
    assigned = withoutSecond;
    EXPECT_EQ (assigned.secondData, nullptr);

    Preset pre;
    pre.cab = std::make_unique<Cabinet>();
    pre.cab->name = "cab";
    Preset preCopy;
    preCopy = pre;
    ASSERT_NE (preCopy.cab, nullptr);
    EXPECT_NE (preCopy.cab.get(), pre.cab.get());
    EXPECT_EQ (preCopy.cab->name, "cab");

    QuorbelArchive archive;
    archive.versions = std::make_unique<FirmwareVersionInfo>();
    archive.firmware = std::make_unique<std::vector<uint8_t>> (3, 7);
    archive.globals = std::make_unique<ParamMap> (ParamMap { { 1, 2 } });
    archive.presets.resize (2);
    archive.presets[1].index = 5;

    const QuorbelArchive archiveCopy (archive);
    archive.firmware->clear();
    (*archive.globals)[1] = 9;
    ASSERT_NE (archiveCopy.firmware, nullptr);
    EXPECT_EQ (*archiveCopy.firmware, std::vector<uint8_t> (3, 7));
    EXPECT_EQ (archiveCopy.globals->at (1), 2u);
    EXPECT_EQ (archiveCopy.versions->kind, -1);
    EXPECT_EQ (archiveCopy.presets.at (1).index, 5u);

    const QuorbelArchive empty;
    const QuorbelArchive emptyCopy (empty);
    EXPECT_EQ (emptyCopy.versions, nullptr);
    EXPECT_EQ (emptyCopy.firmware, nullptr);
    EXPECT_EQ (emptyCopy.globals, nullptr);
}
