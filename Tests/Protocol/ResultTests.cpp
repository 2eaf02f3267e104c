// SPDX-License-Identifier: GPL-3.0-or-later
#include "Result.h"
#include "Support/LogCapture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace Tessarine;
using TestSupport::LogCapture;

TEST (FileNameFromPath, CutsAtTheLastSeparatorOfEitherKind)
{
    EXPECT_STREQ (fileNameFromPath ("a/b/c\\Protocol.cpp"), "Protocol.cpp");
    EXPECT_STREQ (fileNameFromPath ("/src/Protocol/"), "");
    EXPECT_STREQ (fileNameFromPath ("Plain.cpp"), "Plain.cpp");
    EXPECT_STREQ (fileNameFromPath ("dir\\sub/File.h"), "File.h");
}

TEST (MakeError, LogsTheFormattedLineAndReturnsTheFormatItself)
{
    LogCapture log;
    const char* format = "Buffer too small: %d > %d";
    const Result r = makeError ("Engine.cpp", 42, format, 70, 64);

    EXPECT_FALSE (r.ok);
    EXPECT_EQ (r.error, format); // the very literal, not a copy
    ASSERT_EQ (log.lines().size(), 1u);
    EXPECT_EQ (log.lines()[0], "Error at Engine.cpp:42: Buffer too small: 70 > 64");
}

TEST (MakeError, MacroNamesTheSourceFileWithoutDirectories)
{
    LogCapture log;
    const Result r = TESSARINE_ERROR ("Packet too large");
    EXPECT_FALSE (r.ok);
    ASSERT_EQ (log.lines().size(), 1u);
    EXPECT_EQ (log.lines()[0].rfind ("Error at ResultTests.cpp:", 0), 0u) << log.lines()[0];
}

TEST (LogMessage, WritesThePrefixOfEachLevel)
{
    LogCapture log;
    logMessage (0, "a %d", 1);
    logMessage (1, "b");
    logMessage (2, "c");
    logMessage (3, "d");
    logMessage (5, "e");
    logMessage (-1, "f");

    const std::vector<std::string> expected { "DEBUG: a 1", "INFO: b", "WARNING: c", "ERROR: d", "LOG: e", "LOG: f" };
    EXPECT_EQ (log.lines(), expected);
}

TEST (LogMessage, TruncatesOverlongLinesToTheBufferBound)
{
    LogCapture log;
    const std::string longText (2000, 'x');
    logMessage (0, "%s", longText.c_str());
    makeError (std::string (600, 'f').c_str(), 7, "%s", longText.c_str());

    const auto lines = log.lines();
    ASSERT_EQ (lines.size(), 2u);
    EXPECT_EQ (lines[0].size(), 511u);
    EXPECT_EQ (lines[0].substr (0, 7), "DEBUG: ");
    // A file name longer than the buffer cuts the head itself, never overruns.
    EXPECT_EQ (lines[1].size(), 511u);
    EXPECT_EQ (lines[1].substr (0, 9), "Error at ");
}

TEST (Result, SuccessesCompareEqualAndFailuresByText)
{
    const Result a = kSuccess;
    const Result b = Result::success();
    EXPECT_TRUE (a.ok);
    EXPECT_EQ (a.error, nullptr);
    EXPECT_EQ (a, b);

    LogCapture log;
    const Result f = makeError ("x", 1, "Timeout");
    EXPECT_NE (f, a);
    EXPECT_FALSE (static_cast<bool> (f));
}

// Lines go to standard output in one write each: redirect stdout to a file,
// log from several threads at once and check that every line came out whole.
TEST (WriteLogText, LinesFromSeveralThreadsNeverInterleave)
{
    char path[] = "/tmp/tq-log-XXXXXX";
    const int fd = mkstemp (path);
    ASSERT_GE (fd, 0);

    std::fflush (stdout);
    const int savedStdout = dup (fileno (stdout));
    ASSERT_GE (savedStdout, 0);
    ASSERT_GE (dup2 (fd, fileno (stdout)), 0);

    constexpr int threads = 8, perThread = 300;
    std::vector<std::thread> workers;

    for (int t = 0; t < threads; ++t)
        workers.emplace_back ([t] {
            const std::string body (200, (char) ('a' + t));
            for (int i = 0; i < perThread; ++i)
                logMessage (0, "%d:%s", t, body.c_str());
        });

    for (auto& w : workers)
        w.join();

    std::fflush (stdout);
    dup2 (savedStdout, fileno (stdout));
    close (savedStdout);
    close (fd);

    FILE* in = std::fopen (path, "r");
    ASSERT_NE (in, nullptr);
    char line[1024];
    int count = 0;
    std::set<std::string> distinct;

    while (std::fgets (line, sizeof (line), in) != nullptr)
    {
        std::string text (line);
        ASSERT_EQ (text.back(), '\n');
        text.pop_back();
        ASSERT_EQ (text.size(), 7u + 2u + 200u) << text;
        const char fill = text.back();
        EXPECT_EQ (text.substr (9), std::string (200, fill));
        distinct.insert (text);
        ++count;
    }

    std::fclose (in);
    std::remove (path);
    EXPECT_EQ (count, threads * perThread);
    EXPECT_EQ (distinct.size(), (size_t) threads);
}
