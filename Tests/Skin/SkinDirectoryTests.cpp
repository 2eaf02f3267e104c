// SPDX-License-Identifier: GPL-3.0-or-later
// The skin archive's index over hand-made and hostile archives: whatever the
// bytes say, the reader must neither allocate nor request absurd ranges.
#include "SkinArchiveWriter.h"
#include "SkinDirectory.h"
#include "Support/InMemoryFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using TestSupport::InMemoryFile;

namespace
{
std::vector<uint8_t> bytesOf (const std::string& text)
{
    return std::vector<uint8_t> (text.begin(), text.end());
}

std::vector<uint8_t> archiveOf (const std::vector<SkinArchiveWriter::Entry>& entries)
{
    std::vector<uint8_t> out;
    EXPECT_TRUE (SkinArchiveWriter::write (entries, out));
    return out;
}

// Raw archive bytes for layouts the writer never makes.
struct RawArchive
{
    std::vector<uint8_t> bytes;

    RawArchive& u32 (uint32_t value)
    {
        SkinArchiveWriter::appendLittleEndian32 (bytes, value);
        return *this;
    }

    RawArchive& text (const std::string& s)
    {
        bytes.insert (bytes.end(), s.begin(), s.end());
        return *this;
    }

    RawArchive& entry (uint32_t nameOffset, uint32_t nameLength, uint32_t dataOffset, uint32_t dataSize)
    {
        return u32 (nameOffset).u32 (nameLength).u32 (dataOffset).u32 (dataSize);
    }
};

uint64_t largestRequest (const InMemoryFile& file)
{
    uint64_t largest = 0;

    for (const auto& r : file.requests)
        largest = std::max (largest, r.size);

    return largest;
}
} // namespace

//==============================================================================
TEST (SkinDirectory, WriterOutputRoundTripsWithTheLaterOfTwoEqualNamesWinning)
{
    InMemoryFile file (archiveOf ({ { "a.png", bytesOf ("first") },
                                    { "b.png", bytesOf ("") },
                                    { "a.png", bytesOf ("second") } }));
    SkinDirectory directory (file.reader());

    ASSERT_TRUE (directory.open());
    EXPECT_EQ (directory.getEntries().size(), 2u);

    std::vector<uint8_t> data;
    ASSERT_TRUE (directory.readEntry ("a.png", data));
    EXPECT_EQ (data, bytesOf ("second"));

    data = bytesOf ("stale");
    ASSERT_TRUE (directory.readEntry ("b.png", data));
    EXPECT_TRUE (data.empty());

    EXPECT_FALSE (directory.readEntry ("A.png", data)) << "names match byte for byte";
    EXPECT_FALSE (directory.readEntry ("a.png ", data));
}

TEST (SkinDirectory, OpeningReadsOnlyHeaderDirectoryAndNames)
{
    InMemoryFile file (archiveOf ({ { "one", bytesOf ("1111") }, { "two", bytesOf ("22") } }));
    SkinDirectory directory (file.reader());

    ASSERT_TRUE (directory.open());
    ASSERT_EQ (file.requests.size(), 4u);
    EXPECT_EQ (file.requests[0].offset, 0u);
    EXPECT_EQ (file.requests[0].size, 8u);
    EXPECT_EQ (file.requests[1].offset, 8u);
    EXPECT_EQ (file.requests[1].size, 32u) << "the whole directory in one read";
    EXPECT_EQ (file.requests[2].size, 3u);
    EXPECT_EQ (file.requests[3].size, 3u);
}

TEST (SkinDirectory, EmptyArchiveOpensWithoutReadingADirectory)
{
    InMemoryFile file (RawArchive().u32 (8).u32 (0).bytes);
    SkinDirectory directory (file.reader());

    EXPECT_TRUE (directory.open());
    EXPECT_TRUE (directory.getEntries().empty());
    EXPECT_EQ (file.requests.size(), 1u);
}

TEST (SkinDirectory, ReopeningForgetsTheOldIndex)
{
    InMemoryFile file (archiveOf ({ { "x", bytesOf ("x") } }));
    SkinDirectory directory (file.reader());
    ASSERT_TRUE (directory.open());

    file.bytes = RawArchive().u32 (8).u32 (0).bytes;
    EXPECT_TRUE (directory.open());
    EXPECT_TRUE (directory.getEntries().empty());
}

//==============================================================================
TEST (SkinDirectoryHostile, TruncatedHeaderFails)
{
    for (size_t length : { 0u, 1u, 7u })
    {
        InMemoryFile file (std::vector<uint8_t> (length, 0));
        SkinDirectory directory (file.reader());
        EXPECT_FALSE (directory.open()) << length << " bytes";
        EXPECT_TRUE (directory.getEntries().empty());
    }
}

TEST (SkinDirectoryHostile, DirectoryPastTheEndFails)
{
    InMemoryFile file (RawArchive().u32 (1000).u32 (2).text ("padding").bytes);
    SkinDirectory directory (file.reader());

    EXPECT_FALSE (directory.open());
    ASSERT_EQ (file.requests.size(), 2u);
    EXPECT_EQ (file.requests[1].offset, 1000u);
    EXPECT_EQ (file.requests[1].size, 32u);
}

TEST (SkinDirectoryHostile, DirectoryCutShortFails)
{
    // Two entries declared, the file ends inside the second one.
    InMemoryFile file (RawArchive().u32 (8).u32 (2).entry (40, 1, 41, 1).u32 (40).u32 (1).bytes);
    SkinDirectory directory (file.reader());

    EXPECT_FALSE (directory.open());
    EXPECT_TRUE (directory.getEntries().empty());
}

TEST (SkinDirectoryHostile, EntryCountsBeyondTheLimitFailBeforeAnyDirectoryRead)
{
    for (uint32_t count : { SkinDirectory::kMaxEntries + 1, 0x10000000u, 0xffffffffu })
    {
        InMemoryFile file (RawArchive().u32 (8).u32 (count).bytes);
        file.bytes.resize (1 << 16);
        SkinDirectory directory (file.reader());

        EXPECT_FALSE (directory.open()) << count;
        EXPECT_EQ (file.requests.size(), 1u) << "only the header was read for count " << count;
    }
}

TEST (SkinDirectoryHostile, EntryCountAtTheLimitIsAccepted)
{
    std::vector<SkinArchiveWriter::Entry> entries;

    for (uint32_t i = 0; i < SkinDirectory::kMaxEntries; ++i)
        entries.push_back ({ "image" + std::to_string (i), bytesOf ("d") });

    InMemoryFile file (archiveOf (entries));
    SkinDirectory directory (file.reader());

    EXPECT_TRUE (directory.open());
    EXPECT_EQ (directory.getEntries().size(), SkinDirectory::kMaxEntries);
}

TEST (SkinDirectoryHostile, DirectoryRangeBeyondFourGigabytesFailsWithoutReading)
{
    InMemoryFile file (RawArchive().u32 (0xfffffff8u).u32 (2).bytes);
    SkinDirectory directory (file.reader());

    EXPECT_FALSE (directory.open());
    EXPECT_EQ (file.requests.size(), 1u);
}

TEST (SkinDirectoryHostile, OverlongNameStopsOpeningAndKeepsEarlierEntries)
{
    RawArchive raw;
    raw.u32 (8).u32 (3)
        .entry (56, 4, 56, 4)                                   // "good", its data its own name
        .entry (56, SkinDirectory::kMaxNameLength + 1, 56, 4)   // name beyond the limit
        .entry (56, 4, 56, 4)
        .text ("good");
    raw.bytes.resize (4096, 'x');
    InMemoryFile file (raw.bytes);
    SkinDirectory directory (file.reader());

    EXPECT_FALSE (directory.open());
    EXPECT_EQ (directory.getEntries().size(), 1u);
    EXPECT_EQ (directory.getEntries().count ("good"), 1u);
    EXPECT_LE (largestRequest (file), 48u) << "the long name was never read";
}

TEST (SkinDirectoryHostile, NameRangesPastTheEndOrBeyondFourGigabytesFail)
{
    for (uint32_t nameOffset : { 100u, 0xfffffff0u })
    {
        InMemoryFile file (RawArchive().u32 (8).u32 (1).entry (nameOffset, 32, 0, 0).bytes);
        SkinDirectory directory (file.reader());
        EXPECT_FALSE (directory.open()) << nameOffset;
        EXPECT_TRUE (directory.getEntries().empty());
    }
}

TEST (SkinDirectoryHostile, OverlappingRangesAreReadAsTheyLie)
{
    // Both entries share one data range, which also overlaps the second name;
    // names may even lie inside the header and directory.
    RawArchive raw;
    raw.u32 (8).u32 (2)
        .entry (40, 6, 40, 9)   // "shared" -> "sharedabc"
        .entry (43, 6, 40, 9)   // "redabc" -> the same bytes
        .text ("sharedabc");
    InMemoryFile file (raw.bytes);
    SkinDirectory directory (file.reader());

    ASSERT_TRUE (directory.open());

    std::vector<uint8_t> first, second;
    ASSERT_TRUE (directory.readEntry ("shared", first));
    ASSERT_TRUE (directory.readEntry ("redabc", second));
    EXPECT_EQ (first, bytesOf ("sharedabc"));
    EXPECT_EQ (second, first);
}

TEST (SkinDirectoryHostile, HugeOrUnreadableDataRangesFailWithoutAllocating)
{
    struct Case
    {
        uint32_t dataOffset, dataSize;
        bool reachesCallback;
    };

    const Case cases[] = {
        { 40, SkinDirectory::kMaxDataSize + 1, false },
        { 40, 0xffffffffu, false },
        { 0xffffff00u, 0x200, false },   // wraps past 4 GiB
        { 40, 1000, true },               // past the end of the file
    };

    for (const auto& c : cases)
    {
        InMemoryFile file (RawArchive().u32 (8).u32 (1).entry (24, 4, c.dataOffset, c.dataSize).text ("name").bytes);
        SkinDirectory directory (file.reader());
        ASSERT_TRUE (directory.open());
        file.requests.clear();

        std::vector<uint8_t> data;
        EXPECT_FALSE (directory.readEntry ("name", data)) << c.dataOffset << " + " << c.dataSize;
        EXPECT_EQ (file.requests.size(), c.reachesCallback ? 1u : 0u);

        if (! c.reachesCallback)
        {
            EXPECT_TRUE (data.empty());
        }
    }
}

TEST (SkinDirectoryHostile, DataAtTheSizeLimitIsRead)
{
    RawArchive raw;
    raw.u32 (8).u32 (1).entry (24, 4, 28, SkinDirectory::kMaxDataSize).text ("name");
    raw.bytes.resize (28 + (size_t) SkinDirectory::kMaxDataSize, 0x5a);
    InMemoryFile file (std::move (raw.bytes));
    SkinDirectory directory (file.reader());
    ASSERT_TRUE (directory.open());

    std::vector<uint8_t> data;
    ASSERT_TRUE (directory.readEntry ("name", data));
    EXPECT_EQ (data.size(), (size_t) SkinDirectory::kMaxDataSize);
    EXPECT_EQ (data.back(), 0x5a);
}

TEST (SkinDirectoryHostile, AFailingNameReadKeepsTheEntriesBeforeIt)
{
    // The second name lies past the end of the file.
    InMemoryFile file (RawArchive().u32 (8).u32 (3).entry (56, 1, 56, 1).entry (500, 1, 56, 1).entry (56, 1, 56, 1).text ("k").bytes);
    SkinDirectory directory (file.reader());

    EXPECT_FALSE (directory.open());
    EXPECT_EQ (directory.getEntries().size(), 1u);
}

TEST (SkinDirectoryHostile, NoCallbackBehavesLikeAnUnreadableFile)
{
    SkinDirectory directory (nullptr);
    EXPECT_FALSE (directory.open());

    uint8_t byte = 0;
    EXPECT_FALSE (directory.read (0, 1, &byte));
    EXPECT_TRUE (directory.read (0, 0, nullptr)) << "nothing to read";
}

//==============================================================================
TEST (SkinArchiveWriter, RefusesWhatTheReaderWouldRefuse)
{
    std::vector<uint8_t> out { 1, 2, 3 };

    EXPECT_FALSE (SkinArchiveWriter::write ({ { std::string (SkinDirectory::kMaxNameLength + 1, 'n'), {} } }, out));
    EXPECT_TRUE (out.empty());

    std::vector<SkinArchiveWriter::Entry> tooMany (SkinDirectory::kMaxEntries + 1);
    EXPECT_FALSE (SkinArchiveWriter::write (tooMany, out));

    EXPECT_TRUE (SkinArchiveWriter::write ({}, out));
    EXPECT_EQ (out, RawArchive().u32 (8).u32 (0).bytes);
}
