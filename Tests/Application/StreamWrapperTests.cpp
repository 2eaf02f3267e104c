// SPDX-License-Identifier: GPL-3.0-or-later
#include "InStreamWrapper.h"
#include "OutStreamWrapper.h"
#include "TessarineDataFile.h"
#include "Support/LogCapture.h"

#include <gtest/gtest.h>

using namespace Tessarine;

namespace
{
/** A framework stream whose reads fail. */
class BrokenInputStream : public juce::InputStream
{
public:
    juce::int64 getTotalLength() override { return -1; }
    bool isExhausted() override { return false; }
    int read (void*, int) override { return -1; }
    juce::int64 getPosition() override { return 0; }
    bool setPosition (juce::int64) override { return false; }
};

/** A framework stream that refuses every write. */
class RefusingOutputStream : public juce::OutputStream
{
public:
    void flush() override {}
    bool setPosition (juce::int64) override { return false; }
    juce::int64 getPosition() override { return 0; }
    bool write (const void*, size_t) override { return false; }
};
} // namespace

TEST (InStreamWrapper, ReadsPassStraightThroughAndEndWithZeroBytes)
{
    juce::MemoryInputStream source ("abcde", 5, false);
    InStreamWrapper in (source);
    char buffer[8] = {};
    size_t count = 99;

    ASSERT_TRUE (in.read (buffer, 3, &count));
    EXPECT_EQ (count, 3u);
    EXPECT_EQ (std::string (buffer, 3), "abc");
    EXPECT_FALSE (in.isExhausted());

    // A request beyond the framework's int range is a plain short read.
    ASSERT_TRUE (in.read (buffer, SIZE_MAX, &count));
    EXPECT_EQ (count, 2u);
    EXPECT_TRUE (in.isExhausted());

    ASSERT_TRUE (in.read (buffer, 1, &count));
    EXPECT_EQ (count, 0u);
}

TEST (InStreamWrapper, NegativeCountIsAReadFailure)
{
    TestSupport::LogCapture log;
    BrokenInputStream source;
    InStreamWrapper in (source);
    char buffer[4];
    size_t count = 0;

    EXPECT_EQ (in.read (buffer, 4, &count), Result ({ false, "Stream read failed" }));

    // ... and a reader stops on it.
    TessarineDataFile file (TessarineDataFile::PresetData, 0, 0);
    EXPECT_EQ (file.read (in), Result ({ false, "Stream read failed" }));
}

TEST (OutStreamWrapper, WritesThroughAndReportsARefusedWrite)
{
    juce::MemoryOutputStream memory;
    OutStreamWrapper out (memory);
    ASSERT_TRUE (out.write ("xyz", 3));
    ASSERT_TRUE (out.write (nullptr, 0));
    EXPECT_EQ (memory.toString(), "xyz");

    TestSupport::LogCapture log;
    RefusingOutputStream refusing;
    OutStreamWrapper failing (refusing);
    EXPECT_EQ (failing.write ("x", 1), Result ({ false, "Stream write failed" }));
    EXPECT_EQ (TessarineDataFile::writeGlobalsFile ({}, failing), Result ({ false, "Stream write failed" }));
}

TEST (StreamWrappers, CarryATypedFileThroughFrameworkStreams)
{
    TessarineData::FullQuorbelPreset preset;
    preset.params = { { 10, 0x3F800000u } };
    preset.cab.name = "Through";

    juce::MemoryOutputStream memory;
    OutStreamWrapper out (memory);
    ASSERT_TRUE (TessarineDataFile::writeFullPresetFile (preset, out, 8));

    juce::MemoryInputStream source (memory.getData(), memory.getDataSize(), false);
    InStreamWrapper in (source);
    TessarineData::FullQuorbelPreset back;
    uint32_t index = 0;
    ASSERT_TRUE (TessarineDataFile::readFullPresetFile (in, back, &index));
    EXPECT_EQ (index, 8u);
    EXPECT_EQ (back.params, preset.params);
    EXPECT_EQ (back.cab.name, "Through");
}
