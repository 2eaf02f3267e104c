// SPDX-License-Identifier: GPL-3.0-or-later
#include "TessarineDataFile.h"
#include "Support/BlockWords.h"
#include "Support/Hex.h"
#include "Support/CollectingOutputStream.h"
#include "Support/LogCapture.h"
#include "Support/ScriptedInputStream.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

using namespace Tessarine;
using namespace Tessarine::TessarineData;
using TestSupport::BlockWords;
using TestSupport::CollectingOutputStream;
using TestSupport::ScriptedInputStream;

namespace
{
const Result kSegmentTooSmall { false, "Segment too small" };
const Result kTooManyParams { false, "Too many params" };

std::string textOf (const TessarineDataFile& file)
{
    CollectingOutputStream out;
    EXPECT_TRUE (file.write (out));
    return out.text();
}

/** A data file of the given type whose segments have the given sizes, each
    byte holding a recognisable pattern. */
TessarineDataFile fileWithSegments (TessarineDataFile::FileType type, uint32_t index, std::vector<size_t> sizes)
{
    TessarineDataFile file (type, index, (int) sizes.size());

    for (size_t i = 0; i < sizes.size(); ++i)
        for (size_t b = 0; b < sizes[i]; ++b)
            file.segments[i].push_back ((uint8_t) (b * 7 + i));

    return file;
}

/** The text the writer must produce for one segment made of the words given,
    with its checksum worked out independently. */
std::string segmentText (int n, const std::vector<uint32_t>& words, const char* crc)
{
    char line[128];
    std::snprintf (line, sizeof (line), "\n\n\nData Segment %d: %d bytes excluding CRC\n\n# Data Segment %d Start - Do Not Delete\n",
                   n, (int) words.size() * 4, n);
    std::string text = line;

    for (uint32_t w : words)
    {
        std::snprintf (line, sizeof (line), "0x%08x\n", w);
        text += line;
    }

    std::snprintf (line, sizeof (line), "# Data Segment %d End - Do Not Delete\n\nCRC = %s\n", n, crc);
    return text + line;
}

std::vector<uint32_t> fillerWords (size_t entries)
{
    std::vector<uint32_t> words;
    for (size_t i = 0; i < entries; ++i)
    {
        words.push_back (0xFFFFFFFFu);
        words.push_back (0);
    }
    return words;
}

template <typename Reader>
Result readWith (const std::string& text, Reader reader)
{
    TestSupport::LogCapture quiet;
    ScriptedInputStream in (text);
    return reader (in);
}

float floatOf (uint32_t bits)
{
    float f;
    std::memcpy (&f, &bits, 4);
    return f;
}
} // namespace

//==============================================================================
TEST (FullPresetFile, DefaultPresetIsWrittenExactly)
{
    std::vector<uint32_t> impulse (2048, 0);
    impulse[0] = impulse[1024] = 0x3F800000u;

    const std::string expected = "# File Type: Preset data, Index = 0\n"
                                 + segmentText (0, fillerWords (512), "0xe01b")
                                 + segmentText (1, impulse, "0x0fe0")
                                 + segmentText (2, std::vector<uint32_t> (16, 0), "0x0000")
                                 + segmentText (3, std::vector<uint32_t> (17, 0), "0x0000")
                                 + "\n";

    CollectingOutputStream out;
    ASSERT_TRUE (TessarineDataFile::writeFullPresetFile (FullQuorbelPreset(), out, 0));
    EXPECT_EQ (out.text(), expected);
}

TEST (FullPresetFile, RoundTripCutsNamesAndKeepsIndex)
{
    FullQuorbelPreset preset;
    preset.params = { { 1, 0x3F000000u }, { 300, 7 }, { 0x7FFFFFFFu, 0xFFFFFFFFu } };
    preset.cab.name = "A cabinet name of 30 chars....";
    preset.cab.impulse[1][1023] = -0.25f;
    preset.amp = { 0x00010002u, "Amp name with 17c" };

    CollectingOutputStream out;
    ASSERT_TRUE (TessarineDataFile::writeFullPresetFile (preset, out, 6));

    FullQuorbelPreset back;
    back.ampData.name = "kept";
    uint32_t index = 0;
    ScriptedInputStream in (out.text());
    ASSERT_TRUE (TessarineDataFile::readFullPresetFile (in, back, &index));

    EXPECT_EQ (index, 6u);
    EXPECT_EQ (back.params, preset.params);
    EXPECT_EQ (back.cab.name, "A cabinet name ");
    EXPECT_EQ (std::memcmp (back.cab.impulse, preset.cab.impulse, sizeof (preset.cab.impulse)), 0);
    EXPECT_EQ (back.amp.id, preset.amp.id);
    EXPECT_EQ (back.amp.name, "Amp name with 17");
    EXPECT_EQ (back.ampData.name, "kept"); // not carried by the file
}

TEST (FullPresetFile, TooManyParamsWritesNothing)
{
    FullQuorbelPreset preset;
    for (uint32_t i = 0; i < 513; ++i)
        preset.params[i] = i;

    TestSupport::LogCapture quiet;
    CollectingOutputStream out;
    EXPECT_EQ (TessarineDataFile::writeFullPresetFile (preset, out, 1), kTooManyParams);
    EXPECT_EQ (out.writeCount(), 0);
}

TEST (FullPresetFile, ShortImpulseSegmentFailsAfterParamsWereReplaced)
{
    auto file = fileWithSegments (TessarineDataFile::PresetData, 0, { 16, 8188, 64, 68 });
    file.segments[0] = BlockWords::bytesOf ({ 5, 50, 0xFFFFFFFFu, 0 });

    FullQuorbelPreset preset;
    preset.params = { { 1, 1 } };
    EXPECT_EQ (readWith (textOf (file), [&] (auto& in) { return TessarineDataFile::readFullPresetFile (in, preset, nullptr); }),
               kSegmentTooSmall);
    EXPECT_EQ (preset.params, (ParamMap { { 5, 50 } }));
}

TEST (FullPresetFile, SegmentCountIsCheckedBeforeType)
{
    FullQuorbelPreset preset;
    auto read = [&] (const TessarineDataFile& file) {
        return readWith (textOf (file), [&] (auto& in) { return TessarineDataFile::readFullPresetFile (in, preset, nullptr); });
    };

    EXPECT_EQ (read (fileWithSegments (TessarineDataFile::PresetData, 0, { 8, 8192, 64 })),
               Result ({ false, "Too few segments in preset file" }));
    EXPECT_EQ (read (fileWithSegments (TessarineDataFile::AmpModelData, 0, { 8, 8192, 64 })),
               Result ({ false, "Too few segments in preset file" }));
    EXPECT_EQ (read (fileWithSegments (TessarineDataFile::UserCabinetData, 0, { 8, 8192, 64, 68 })),
               Result ({ false, "Not a preset file" }));
}

TEST (FullPresetFile, LongerSegmentsUseTheirLeadingBytes)
{
    FullQuorbelPreset source;
    source.cab.name = "Longer";
    source.amp = { 9, "Amp" };

    CollectingOutputStream out;
    ASSERT_TRUE (TessarineDataFile::writeFullPresetFile (source, out, 2));

    ScriptedInputStream in (out.text());
    TessarineDataFile file (TessarineDataFile::PresetData, 0, 0);
    ASSERT_TRUE (file.read (in));
    for (auto& segment : file.segments)
        segment.resize (segment.size() + 40, 0x77);

    FullQuorbelPreset back;
    ASSERT_TRUE (readWith (textOf (file), [&] (auto& s) { return TessarineDataFile::readFullPresetFile (s, back, nullptr); }));
    EXPECT_EQ (back.cab.name, "Longer");
    EXPECT_EQ (back.amp.name, "Amp");
    EXPECT_EQ (back.amp.id, 9u);
}

//==============================================================================
TEST (OlderPresetFile, CabinetOnlyWithFourSegments)
{
    auto two = fileWithSegments (TessarineDataFile::PresetData, 3, { 0, 68 });
    two.segments[1] = BlockWords::bytesOf ({ 'O', 'l', 'd', ' ', 'o', 'n', 'e' });
    two.segments[1].resize (68, 0);

    Preset preset;
    preset.cab = std::make_unique<Cabinet>();
    uint32_t index = 0;
    ASSERT_TRUE (readWith (textOf (two), [&] (auto& in) { return TessarineDataFile::readPresetFile (in, preset, &index); }));
    EXPECT_EQ (index, 3u);
    EXPECT_EQ (preset.name, "Old one");
    EXPECT_EQ (preset.cab, nullptr);

    auto four = fileWithSegments (TessarineDataFile::PresetData, 3, { 0, 68, 8192, 64 });
    four.segments[2].assign (8192, 0);
    four.segments[3] = BlockWords::bytesOf ({ 'R', 'o', 'o', 'm', 0 });
    four.segments[3].resize (64, 0);

    preset.cab = std::make_unique<Cabinet>();
    preset.cab->name = "previous";
    const Cabinet* previous = preset.cab.get();
    ASSERT_TRUE (readWith (textOf (four), [&] (auto& in) { return TessarineDataFile::readPresetFile (in, preset, nullptr); }));
    ASSERT_NE (preset.cab, nullptr);
    EXPECT_NE (preset.cab.get(), previous);
    EXPECT_EQ (preset.cab->name, "Room");
    EXPECT_EQ (preset.cab->impulse[0][0], 0.0f);
}

TEST (OlderPresetFile, ParametersAreUpgradedAfterReading)
{
    auto file = fileWithSegments (TessarineDataFile::PresetData, 0, { 0, 80 });
    Preset preset;

    ASSERT_TRUE (readWith (textOf (file), [&] (auto& in) { return TessarineDataFile::readPresetFile (in, preset, nullptr); }));
    EXPECT_EQ (preset.name.size(), 16u); // the pattern bytes are never zero in word 0..15's low bytes
    EXPECT_EQ (floatOf (preset.params.at (238)), 393728.0f);
    EXPECT_EQ (floatOf (preset.params.at (23)), 16.0f);
    EXPECT_EQ (preset.params.size(), 1u + 59u + 1u);
}

TEST (OlderPresetFile, Failures)
{
    Preset preset;
    auto read = [&] (const TessarineDataFile& file) {
        return readWith (textOf (file), [&] (auto& in) { return TessarineDataFile::readPresetFile (in, preset, nullptr); });
    };

    EXPECT_EQ (read (fileWithSegments (TessarineDataFile::PresetData, 0, { 8 })), Result ({ false, "Too few segments in preset file" }));
    EXPECT_EQ (read (fileWithSegments (TessarineDataFile::GlobalsData, 0, { 8, 68 })), Result ({ false, "Not a preset file" }));
    EXPECT_EQ (read (fileWithSegments (TessarineDataFile::PresetData, 0, { 8, 64 })), kSegmentTooSmall);
    EXPECT_EQ (read (fileWithSegments (TessarineDataFile::PresetData, 0, { 8, 68, 8192, 60 })), kSegmentTooSmall);
}

//==============================================================================
TEST (CabinetFile, ReadsImpulseAndName)
{
    auto file = fileWithSegments (TessarineDataFile::UserCabinetData, 11, { 8192, 64, 4 });
    file.segments[0].assign (8192, 0);
    writeWord (file.segments[0].data() + 4096, 0x3F000000u); // channel 1, sample 0 = 0.5
    file.segments[1] = BlockWords::bytesOf ({ 'C', 'a', 'b' });
    file.segments[1].resize (64, 0);

    Cabinet cab;
    uint32_t index = 0;
    ASSERT_TRUE (readWith (textOf (file), [&] (auto& in) { return TessarineDataFile::readCabinetFile (in, cab, &index); }));
    EXPECT_EQ (index, 11u);
    EXPECT_EQ (cab.name, "Cab");
    EXPECT_EQ (cab.impulse[0][0], 0.0f);
    EXPECT_EQ (cab.impulse[1][0], 0.5f);
}

TEST (CabinetFile, Failures)
{
    Cabinet cab;
    auto read = [&] (const TessarineDataFile& file) {
        return readWith (textOf (file), [&] (auto& in) { return TessarineDataFile::readCabinetFile (in, cab, nullptr); });
    };

    EXPECT_EQ (read (fileWithSegments (TessarineDataFile::PresetData, 0, { 8192, 64 })), Result ({ false, "Not a cabinet file" }));
    EXPECT_EQ (read (fileWithSegments (TessarineDataFile::PresetData, 0, { 8192 })), Result ({ false, "Too few segments in cabinet file" }));
    EXPECT_EQ (read (fileWithSegments (TessarineDataFile::UserCabinetData, 0, { 8192 })), Result ({ false, "Too few segments in cabinet file" }));
    EXPECT_EQ (read (fileWithSegments (TessarineDataFile::UserCabinetData, 0, { 8188, 64 })), kSegmentTooSmall);
    EXPECT_EQ (read (fileWithSegments (TessarineDataFile::UserCabinetData, 0, { 8192, 60 })), kSegmentTooSmall);
}

//==============================================================================
TEST (GlobalsFile, EmptyMapIsWrittenExactly)
{
    CollectingOutputStream out;
    ASSERT_TRUE (TessarineDataFile::writeGlobalsFile ({}, out));

    EXPECT_EQ (out.text(), "# File Type: Globals data\n" + segmentText (0, fillerWords (128), "0xff81") + "\n");
}

TEST (GlobalsFile, FullCapacityRoundTripsAndOneMoreIsRefused)
{
    ParamMap globals;
    for (uint32_t i = 0; i < 128; ++i)
        globals[i * 2] = 0x42000000u + i;

    CollectingOutputStream out;
    ASSERT_TRUE (TessarineDataFile::writeGlobalsFile (globals, out));
    EXPECT_EQ (out.text().find ("0xffffffff"), std::string::npos);

    ParamMap back { { 999, 1 } };
    ASSERT_TRUE (readWith (out.text(), [&] (auto& in) { return TessarineDataFile::readGlobalsFile (in, back); }));
    EXPECT_EQ (back, globals);

    globals[1000] = 1;
    TestSupport::LogCapture quiet;
    CollectingOutputStream refused;
    EXPECT_EQ (TessarineDataFile::writeGlobalsFile (globals, refused), kTooManyParams);
    EXPECT_EQ (refused.writeCount(), 0);
}

TEST (GlobalsFile, Failures)
{
    ParamMap globals;
    auto read = [&] (const TessarineDataFile& file) {
        return readWith (textOf (file), [&] (auto& in) { return TessarineDataFile::readGlobalsFile (in, globals); });
    };

    EXPECT_EQ (read (TessarineDataFile (TessarineDataFile::GlobalsData, 0, 0)), Result ({ false, "Too few segments in globals file" }));
    EXPECT_EQ (read (fileWithSegments (TessarineDataFile::PresetData, 0, { 8 })), Result ({ false, "Not a globals file" }));
}

//==============================================================================
TEST (AmpModelFile, ReadsFourSegmentsAndDropsAStaleSecondBlock)
{
    AmpData first;
    first.params = { { 4, 40 } };
    first.name = "Tweed";
    first.name2 = "Bassman";

    auto file = fileWithSegments (TessarineDataFile::AmpModelData, 21, { 4096, 68, 8200, 5000 });
    ASSERT_TRUE (encodeAmpModelBlock (file.segments[0].data(), first));
    ASSERT_TRUE (encodeNumberedName (file.segments[1].data(), { 77, "Tweed 59" }));

    Amp amp;
    amp.secondData = std::make_unique<AmpData>();
    uint32_t index = 0;
    ASSERT_TRUE (readWith (textOf (file), [&] (auto& in) { return TessarineDataFile::readAmpModelFile (in, amp, &index); }));

    EXPECT_EQ (index, 21u);
    EXPECT_EQ (amp.data.params, first.params);
    EXPECT_EQ (amp.data.name, "Tweed");
    EXPECT_EQ (amp.data.name2, "Bassman");
    EXPECT_EQ (amp.nameAndID.id, 77u);
    EXPECT_EQ (amp.nameAndID.name, "Tweed 59");
    EXPECT_TRUE (std::equal (amp.impulse.begin(), amp.impulse.end(), file.segments[2].begin()));
    EXPECT_TRUE (std::equal (amp.finishingFilter.begin(), amp.finishingFilter.end(), file.segments[3].begin()));
    EXPECT_EQ (amp.secondData, nullptr);
}

TEST (AmpModelFile, FifthSegmentBecomesSecondData)
{
    auto file = fileWithSegments (TessarineDataFile::AmpModelData, 0, { 4096, 68, 8192, 4096, 4096 });
    AmpData second;
    second.name = "Second voice";
    ASSERT_TRUE (encodeAmpModelBlock (file.segments[4].data(), second));

    Amp amp;
    ASSERT_TRUE (readWith (textOf (file), [&] (auto& in) { return TessarineDataFile::readAmpModelFile (in, amp, nullptr); }));
    ASSERT_NE (amp.secondData, nullptr);
    EXPECT_EQ (amp.secondData->name, "Second voice");
}

TEST (AmpModelFile, ShortFifthSegmentLeavesAnEmptySecondData)
{
    auto file = fileWithSegments (TessarineDataFile::AmpModelData, 0, { 4096, 68, 8192, 4096, 100 });

    Amp amp;
    EXPECT_EQ (readWith (textOf (file), [&] (auto& in) { return TessarineDataFile::readAmpModelFile (in, amp, nullptr); }),
               kSegmentTooSmall);
    ASSERT_NE (amp.secondData, nullptr);
    EXPECT_TRUE (amp.secondData->params.empty());
    EXPECT_EQ (amp.secondData->name, "");
}

TEST (AmpModelFile, Failures)
{
    Amp amp;
    auto read = [&] (const TessarineDataFile& file) {
        return readWith (textOf (file), [&] (auto& in) { return TessarineDataFile::readAmpModelFile (in, amp, nullptr); });
    };

    EXPECT_EQ (read (fileWithSegments (TessarineDataFile::AmpModelData, 0, { 4096, 68, 8192 })), Result ({ false, "Too few segments in amp file" }));
    EXPECT_EQ (read (fileWithSegments (TessarineDataFile::PresetData, 0, { 4096, 68, 8192, 4096 })), Result ({ false, "Not an amp file" }));

    for (size_t shortSegment = 0; shortSegment < 4; ++shortSegment)
    {
        std::vector<size_t> sizes { 4096, 68, 8192, 4096 };
        sizes[shortSegment] -= 4;
        EXPECT_EQ (read (fileWithSegments (TessarineDataFile::AmpModelData, 0, sizes)), kSegmentTooSmall) << shortSegment;
    }
}

//==============================================================================
TEST (VersionFile, WritesTwoLinesAndReadsThemBack)
{
    FirmwareVersionInfo versions;
    versions.system = { 1, 2, 3, 0 };
    versions.dsp = { 4, 5, 250, 0 };
    versions.kind = 2;

    CollectingOutputStream out;
    ASSERT_TRUE (TessarineDataFile::writeVersionFile (versions, out));
    EXPECT_EQ (out.text(), "SYSTEM_FW_VERSION : 1.2.3\nDSP_FW_VERSION : 4.5.250\n");

    FirmwareVersionInfo back;
    back.kind = 1;
    ASSERT_TRUE (readWith (out.text(), [&] (auto& in) { return TessarineDataFile::readVersionFile (in, back); }));
    EXPECT_EQ (back.system, versions.system);
    EXPECT_EQ (back.dsp, versions.dsp);
    EXPECT_EQ (back.kind, -1);
}

TEST (VersionFile, LenientPatternsLowBytesAndMissingLines)
{
    FirmwareVersionInfo v;
    auto read = [&] (const std::string& text) {
        return readWith (text, [&] (auto& in) { return TessarineDataFile::readVersionFile (in, v); });
    };

    ASSERT_TRUE (read ("  SYSTEM_FW_VERSION:300 . 2 .3\r\nnoise\nDSP_FW_VERSION : 1.2\n"));
    EXPECT_EQ (v.system, (std::array<uint8_t, 4> { 44, 2, 3, 0 }));
    EXPECT_EQ (v.dsp, (std::array<uint8_t, 4> { 0, 0, 0, 0 })); // needs three numbers

    ASSERT_TRUE (read ("DSP_FW_VERSION : 7.8.9\nDSP_FW_VERSION : 10.11.12"));
    EXPECT_EQ (v.system, (std::array<uint8_t, 4> { 0, 0, 0, 0 }));
    EXPECT_EQ (v.dsp, (std::array<uint8_t, 4> { 10, 11, 12, 0 }));
    EXPECT_EQ (v.kind, -1);

    ASSERT_TRUE (read (""));
    EXPECT_EQ (v.dsp, (std::array<uint8_t, 4> { 0, 0, 0, 0 }));
}

//==============================================================================
TEST (BitReversedImage, ReversesEveryByteInBothDirections)
{
    const std::vector<uint8_t> image { 0x01, 0x12, 0x80, 0xF0, 0x00, 0xFF, 0xA5 };

    CollectingOutputStream out;
    ASSERT_TRUE (TessarineDataFile::writeBitReversed (image, out));
    EXPECT_EQ (out.writeCount(), 1);
    EXPECT_EQ (TestSupport::hex (std::vector<uint8_t> (out.text().begin(), out.text().end())), "80 48 01 0F 00 FF A5");

    ScriptedInputStream in (out.text());
    std::vector<uint8_t> back { 9, 9 };
    ASSERT_TRUE (TessarineDataFile::readBitReversed (in, back));
    EXPECT_EQ (back, image);
}

TEST (BitReversedImage, ReadsIn256ByteRequestsUntilNothingComes)
{
    ScriptedInputStream empty ("");
    std::vector<uint8_t> image { 1 };
    ASSERT_TRUE (TessarineDataFile::readBitReversed (empty, image));
    EXPECT_TRUE (image.empty());
    EXPECT_EQ (empty.requests(), (std::vector<size_t> { 256 }));

    ScriptedInputStream longer (std::string (600, '\x01'));
    longer.limitChunk (200);
    ASSERT_TRUE (TessarineDataFile::readBitReversed (longer, image));
    EXPECT_EQ (image, std::vector<uint8_t> (600, 0x80));
    EXPECT_EQ (longer.requests(), std::vector<size_t> (4, 256));
}

TEST (BitReversedImage, ReadFailureIsReturnedWithTheBytesSoFarUnreversed)
{
    ScriptedInputStream in (std::string (600, '\x01'));
    in.failAtOffset (300);
    std::vector<uint8_t> image;

    EXPECT_EQ (TessarineDataFile::readBitReversed (in, image), Result ({ false, ScriptedInputStream::kFailureText }));
    EXPECT_EQ (image, std::vector<uint8_t> (256, 0x01));
}

TEST (FullPresetFile, TruncatedFilesNeverReadAsPresets)
{
    CollectingOutputStream out;
    ASSERT_TRUE (TessarineDataFile::writeFullPresetFile (FullQuorbelPreset(), out, 1));
    const std::string whole = out.text();

    const Result insideSegment { false, "Reached end of file inside segment" };
    const Result tooFew { false, "Too few segments in preset file" };

    auto readPrefix = [&] (size_t length) {
        FullQuorbelPreset preset;
        return readWith (whole.substr (0, length), [&] (auto& in) { return TessarineDataFile::readFullPresetFile (in, preset, nullptr); });
    };

    // Cut inside each segment, and right after each of the first three.
    for (const char* marker : { "0xffffffff\n0x00000000\n", "# Data Segment 1 Start", "# Data Segment 3 Start" })
        EXPECT_EQ (readPrefix (whole.find (marker) + std::strlen (marker) + 1), insideSegment) << marker;

    const size_t afterThird = whole.find ("CRC", whole.find ("# Data Segment 2 End"));
    EXPECT_EQ (readPrefix (whole.find ('\n', afterThird) + 2), tooFew);
    const std::string endLine = "End - Do Not Delete\n";
    const size_t lastEnd = whole.rfind (endLine) + endLine.size();
    EXPECT_EQ (readPrefix (lastEnd), insideSegment); // the last End line must not end the text
    EXPECT_TRUE (readPrefix (lastEnd + 1));
    EXPECT_TRUE (readPrefix (whole.size()));
}
