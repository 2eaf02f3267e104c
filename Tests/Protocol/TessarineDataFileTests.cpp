// SPDX-License-Identifier: GPL-3.0-or-later
#include "TessarineDataFile.h"
#include "Support/BlockWords.h"
#include "Support/CollectingOutputStream.h"
#include "Support/LogCapture.h"
#include "Support/ScriptedInputStream.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <unistd.h>

using namespace Tessarine;
using TestSupport::BlockWords;
using TestSupport::CollectingOutputStream;
using TestSupport::ScriptedInputStream;

namespace
{
const Result kTypeEof { false, "Reached end of file looking for type" };
const Result kSegmentEof { false, "Reached end of file inside segment" };
const Result kInvalidType { false, "Invalid file type string" };
const Result kMissingIndex { false, "Missing index" };

struct ReadOutcome
{
    Result result;
    TessarineDataFile file;
};

ReadOutcome readText (const std::string& text)
{
    TestSupport::LogCapture quiet;
    ScriptedInputStream in (text);
    ReadOutcome outcome { kSuccess, TessarineDataFile (TessarineDataFile::AmpModelData, 99, 2) };
    outcome.result = outcome.file.read (in);
    return outcome;
}

std::string writeText (const TessarineDataFile& file)
{
    CollectingOutputStream out;
    EXPECT_TRUE (file.write (out));
    return out.text();
}

const std::string kExampleFile =
    "# File Type: Preset data, Index = 3\n"
    "\n"
    "\n"
    "\n"
    "Data Segment 0: 8 bytes excluding CRC\n"
    "\n"
    "# Data Segment 0 Start - Do Not Delete\n"
    "0x00000001\n"
    "0x3f800000\n"
    "# Data Segment 0 End - Do Not Delete\n"
    "\n"
    "CRC = 0x027f\n"
    "\n";

const std::string kPresetHeader = "# File Type: Preset data, Index = 4\n";
} // namespace

//==============================================================================
TEST (DataFileWriter, ProducesTheExactExampleText)
{
    TessarineDataFile file (TessarineDataFile::PresetData, 3, 1);
    file.segments[0] = BlockWords::bytesOf ({ 1, 0x3F800000u });

    EXPECT_EQ (writeText (file), kExampleFile);
}

TEST (DataFileWriter, GlobalsHeaderCarriesNoIndexAndEmptyFileIsHeaderOnly)
{
    EXPECT_EQ (writeText (TessarineDataFile (TessarineDataFile::GlobalsData, 5, 0)), "# File Type: Globals data\n\n");
    EXPECT_EQ (writeText (TessarineDataFile (TessarineDataFile::AmpModelData, 0xFFFFFFFFu, 0)),
               "# File Type: Amp_Model data, Index = -1\n\n");
}

TEST (DataFileWriter, ATrailingPartialWordIsCountedAndChecksummedButNotWritten)
{
    TessarineDataFile file (TessarineDataFile::UserCabinetData, 0, 1);
    for (uint8_t i = 0; i < 10; ++i)
        file.segments[0].push_back (i);

    const std::string text = writeText (file);

    EXPECT_NE (text.find ("Data Segment 0: 10 bytes excluding CRC\n"), std::string::npos);
    EXPECT_NE (text.find ("Start - Do Not Delete\n0x03020100\n0x07060504\n# Data Segment 0 End"), std::string::npos);
    EXPECT_NE (text.find ("CRC = 0x0110\n"), std::string::npos);

    const auto back = readText (text);
    ASSERT_TRUE (back.result);
    EXPECT_EQ (back.file.segments.at (0), (std::vector<uint8_t> { 0, 1, 2, 3, 4, 5, 6, 7 }));
}

TEST (DataFileWriter, StopsAtTheFirstStreamFailureAndReturnsIt)
{
    TessarineDataFile file (TessarineDataFile::PresetData, 3, 1);
    file.segments[0] = BlockWords::bytesOf ({ 1, 0x3F800000u });

    CollectingOutputStream out;
    out.failBeyond (100);

    EXPECT_EQ (file.write (out), Result ({ false, CollectingOutputStream::kFailureText }));
    const int writesAtFailure = out.writeCount();
    EXPECT_EQ (out.text(), kExampleFile.substr (0, out.text().size()));
    EXPECT_LT (writesAtFailure, 8); // the remaining pieces were not attempted
}

TEST (DataFileWriter, PrintLineCutsAt511CharactersThenAddsTheNewline)
{
    CollectingOutputStream out;
    const std::string longText (600, 'q');

    ASSERT_TRUE (TessarineDataFile::printLine (out, "%s", longText.c_str()));

    EXPECT_EQ (out.text(), std::string (511, 'q') + "\n");
}

TEST (DataFileChecksum, MatchesTheBsdSumAlgorithm)
{
    const uint8_t abc[] = { 'a', 'b', 'c' };
    EXPECT_EQ (TessarineDataFile::checksum (abc, 3), 0x40ac);
    EXPECT_EQ (TessarineDataFile::checksum (nullptr, 0), 0);
}

TEST (DataFileChecksum, AgreesWithCoreutilsSumOnRandomBlocks)
{
    std::mt19937 random (1234);
    char path[] = "/tmp/tq-sum-XXXXXX";
    const int fd = mkstemp (path);
    ASSERT_GE (fd, 0);
    close (fd);

    for (size_t size : { 1u, 64u, 4097u, 8192u })
    {
        std::vector<uint8_t> bytes (size);
        for (auto& b : bytes)
            b = (uint8_t) random();

        FILE* f = std::fopen (path, "wb");
        ASSERT_NE (f, nullptr);
        std::fwrite (bytes.data(), 1, bytes.size(), f);
        std::fclose (f);

        FILE* sum = popen ((std::string ("sum -r ") + path).c_str(), "r");
        ASSERT_NE (sum, nullptr);
        unsigned expected = 0;
        ASSERT_EQ (std::fscanf (sum, "%u", &expected), 1);
        pclose (sum);

        EXPECT_EQ (TessarineDataFile::checksum (bytes.data(), bytes.size()), expected) << size << " bytes";
    }

    std::remove (path);
}

//==============================================================================
TEST (DataFileReader, ReadsTheExampleBackAndRoundTripsSeveralSegments)
{
    const auto example = readText (kExampleFile);
    ASSERT_TRUE (example.result);
    EXPECT_EQ (example.file.type, (uint32_t) TessarineDataFile::PresetData);
    EXPECT_EQ (example.file.index, 3u);
    ASSERT_EQ (example.file.segments.size(), 1u);
    EXPECT_EQ (example.file.segments[0], BlockWords::bytesOf ({ 1, 0x3F800000u }));

    TessarineDataFile file (TessarineDataFile::AmpModelData, 0x80000001u, 3);
    file.segments[0] = BlockWords::bytesOf ({ 0xDEADBEEFu, 0, 0xFFFFFFFFu });
    file.segments[2] = BlockWords::bytesOf ({ 0x0000ABCDu });

    const auto back = readText (writeText (file));
    ASSERT_TRUE (back.result);
    EXPECT_EQ (back.file.type, file.type);
    EXPECT_EQ (back.file.index, file.index);
    EXPECT_EQ (back.file.segments, file.segments);
}

TEST (DataFileReader, GlobalsIndexIsAlwaysZero)
{
    const auto plain = readText ("# File Type: Globals data\n\n");
    ASSERT_TRUE (plain.result);
    EXPECT_EQ (plain.file.type, (uint32_t) TessarineDataFile::GlobalsData);
    EXPECT_EQ (plain.file.index, 0u);
    EXPECT_TRUE (plain.file.segments.empty());

    const auto withIndex = readText ("# File Type: Globals data, Index = 7\n\n");
    ASSERT_TRUE (withIndex.result);
    EXPECT_EQ (withIndex.file.index, 0u);
}

TEST (DataFileReader, HeaderFailures)
{
    EXPECT_EQ (readText ("# File Type: Preset data\n\n").result, kMissingIndex);
    EXPECT_EQ (readText ("# File Type: Preset data, Index = x\n\n").result, kMissingIndex);
    EXPECT_EQ (readText ("# File Type: Preset data, Index = 4294967296\n\n").result, kMissingIndex);
    EXPECT_EQ (readText ("# File Type: preset data, Index = 1\n\n").result, kInvalidType);
    EXPECT_EQ (readText ("# File Type: Preset data , Index = 1\n\n").result, kInvalidType);
    EXPECT_EQ (readText ("# File Type: Unknown data, Index = 1\n\n").result, kInvalidType);

    // An over-long type text is taken up to its bound and is then no known type.
    EXPECT_EQ (readText ("# File Type: " + std::string (5000, 'P') + ", Index = 1\n\n").result, kInvalidType);
}

TEST (DataFileReader, HeaderSearch)
{
    EXPECT_EQ (readText ("").result, kTypeEof);
    EXPECT_EQ (readText ("# File Type: Preset data, Index = 1\n").result, kTypeEof);
    EXPECT_EQ (readText ("# File Type: Preset data, Index = 1").result, kTypeEof);
    EXPECT_EQ (readText ("just text\nmore\n").result, kTypeEof);

    const auto found = readText ("junk before\n\n  # File Kind: Cabinet\n#  File  Type:User Cabinet data,Index=-2\n\n");
    ASSERT_TRUE (found.result);
    EXPECT_EQ (found.file.type, (uint32_t) TessarineDataFile::UserCabinetData);
    EXPECT_EQ (found.file.index, 0xFFFFFFFEu);
}

TEST (DataFileReader, HeaderLineWithoutSegmentsNeedsOneMoreLine)
{
    const auto r = readText (kPresetHeader + "\n");
    ASSERT_TRUE (r.result);
    EXPECT_EQ (r.file.index, 4u);
    EXPECT_TRUE (r.file.segments.empty());
}

TEST (DataFileReader, EndLineMustNotBeTheLastLine)
{
    const std::string segment = "# Data Segment 0 Start\n0x00000005\n# Data Segment 0 End";

    EXPECT_EQ (readText (kPresetHeader + segment + "\n").result, kSegmentEof);
    EXPECT_EQ (readText (kPresetHeader + segment).result, kSegmentEof);

    const auto r = readText (kPresetHeader + segment + "\n\n");
    ASSERT_TRUE (r.result);
    EXPECT_EQ (r.file.segments.at (0), BlockWords::bytesOf ({ 5 }));
}

TEST (DataFileReader, CrLfLinesReadLikeLfLines)
{
    std::string crlf;
    for (char c : kExampleFile)
        crlf += c == '\n' ? std::string ("\r\n") : std::string (1, c);

    const auto lf = readText (kExampleFile);
    const auto dos = readText (crlf);
    ASSERT_TRUE (dos.result);
    EXPECT_EQ (dos.file.index, lf.file.index);
    EXPECT_EQ (dos.file.segments, lf.file.segments);
}

TEST (DataFileReader, WordLineGrammar)
{
    const auto r = readText (kPresetHeader
                             + "# Data Segment 0 Start\n"
                               "   \t0xAbCdEf01\n"
                               "0x7\n"
                               "0X00000009\n"       // prefix must be a lowercase x
                               "some comment\n"
                               "x0x00000009\n"
                               "0x\n"
                               "0x  2a trailing\n"  // scanf skips blanks before the digits and stops after them
                               "\t \n"
                               "# Data Segment 0 End\n\n");
    ASSERT_TRUE (r.result);
    EXPECT_EQ (r.file.segments.at (0), BlockWords::bytesOf ({ 0xABCDEF01u, 7, 0x2A }));
}

// Other tools write words the way scanf's %x reads them back.
TEST (DataFileReader, WordLinesTakeSignsASecondPrefixAndLeadingZerosAsScanfDoes)
{
    const auto r = readText (kPresetHeader
                             + "# Data Segment 0 Start\n"
                               "0x-1\n"
                               "0x+5\n"
                               "0x0x10\n"
                               "0x000000001\n"
                               "0x -0X1f\n"
                               "0x0x\n"                    // the second prefix's zero is the number
                               "0x00000000000000ffffffff\n"
                               "0x-ffffffff\n"
                               "0x+\n"                     // a sign without digits takes nothing
                               "0x- 1\n"
                               "# Data Segment 0 End\n\n");
    ASSERT_TRUE (r.result);
    EXPECT_EQ (r.file.segments.at (0), BlockWords::bytesOf ({ 0xFFFFFFFFu, 5, 0x10, 1, 0xFFFFFFE1u, 0, 0xFFFFFFFFu, 1 }));

    for (const char* word : { "0x123456789", "0x-100000000", "0x+0x0000100000000" })
        EXPECT_EQ (readText (kPresetHeader + "# Data Segment 0 Start\n" + word + "\n# Data Segment 0 End\n\n").result,
                   Result ({ false, "Invalid data word" })) << word;
}

TEST (DataFileReader, MarkersCountByTheirNumberAlone)
{
    const auto r = readText (kPresetHeader
                             + "0x00000001\n"               // outside any segment: ignored
                               "# Data Segment 7 Start\n"   // numbers in markers are not checked
                               "0x00000002\n"
                               "# Data Segment 7 Start\n"   // ends the open segment
                               "0x00000003\n"               // outside again: ignored
                               "# Data Segment 7 End\n"     // starts a new one
                               "0x00000004\n"
                               "#Data Segment 9 Whatever\n"
                               "# Data Segment x End\n"     // no number: not a marker
                               "\n");
    ASSERT_TRUE (r.result);
    ASSERT_EQ (r.file.segments.size(), 2u);
    EXPECT_EQ (r.file.segments[0], BlockWords::bytesOf ({ 2 }));
    EXPECT_EQ (r.file.segments[1], BlockWords::bytesOf ({ 4 }));
}

TEST (DataFileReader, SizeAndCrcLinesAreNotChecked)
{
    const auto r = readText (kPresetHeader
                             + "Data Segment 0: 9999 bytes excluding CRC\n"
                               "# Data Segment 0 Start - Do Not Delete\n"
                               "0x00000001\n"
                               "# Data Segment 0 End - Do Not Delete\n"
                               "CRC = 0xdead\n");
    ASSERT_TRUE (r.result);
    EXPECT_EQ (r.file.segments.at (0), BlockWords::bytesOf ({ 1 }));
}

TEST (DataFileReader, StreamFailurePassesThroughAndKeepsCompletedSegments)
{
    const std::string text = kPresetHeader + "# Data Segment 0 Start\n0x00000001\n# Data Segment 0 End\n"
                             "# Data Segment 1 Start\n0x00000002\n# Data Segment 1 End\n\n";
    ScriptedInputStream in (text);
    in.failAtOffset (text.find ("0x00000002"));

    TessarineDataFile file (TessarineDataFile::GlobalsData, 0, 5);
    EXPECT_EQ (file.read (in), Result ({ false, ScriptedInputStream::kFailureText }));
    EXPECT_EQ (file.type, (uint32_t) TessarineDataFile::PresetData);
    EXPECT_EQ (file.index, 4u);
    ASSERT_EQ (file.segments.size(), 1u);
    EXPECT_EQ (file.segments[0], BlockWords::bytesOf ({ 1 }));
}

TEST (DataFileReader, AStreamThatNeverCallsItselfExhaustedStillEnds)
{
    TestSupport::LogCapture quiet;

    ScriptedInputStream complete (kExampleFile);
    complete.neverExhausted();
    TessarineDataFile file (TessarineDataFile::PresetData, 0, 0);
    EXPECT_TRUE (file.read (complete));
    EXPECT_EQ (file.segments.size(), 1u);

    ScriptedInputStream headerless ("no header here\n");
    headerless.neverExhausted();
    EXPECT_EQ (file.read (headerless), kTypeEof);
}

//==============================================================================
TEST (DataFileLines, ReadLineDropsCarriageReturnsAndEndsAtTheStreamEnd)
{
    ScriptedInputStream in ("a\rb\r\n\nlast");
    std::string line = "stale";

    ASSERT_TRUE (TessarineDataFile::readLine (in, line));
    EXPECT_EQ (line, "ab");
    ASSERT_TRUE (TessarineDataFile::readLine (in, line));
    EXPECT_EQ (line, "");
    ASSERT_TRUE (TessarineDataFile::readLine (in, line));
    EXPECT_EQ (line, "last");
    EXPECT_TRUE (in.isExhausted());

    for (size_t request : in.requests())
        EXPECT_EQ (request, 1u);
}

TEST (DataFileLines, BlankMeansOnlyTheSixAsciiWhiteSpaceCharacters)
{
    EXPECT_TRUE (TessarineDataFile::isBlankLine (""));
    EXPECT_TRUE (TessarineDataFile::isBlankLine (" \t\n\v\f\r"));
    EXPECT_FALSE (TessarineDataFile::isBlankLine (" \xA0 "));
    EXPECT_FALSE (TessarineDataFile::isBlankLine (std::string (" \0 ", 3)));
    EXPECT_FALSE (TessarineDataFile::isBlankLine ("  x"));
}
