// SPDX-License-Identifier: GPL-3.0-or-later
#include "BackgroundUpdateCheck.h"
#include "UpdateChecker.h"

#include "Support/LocalHttpServer.h"
#include "Support/LogCapture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace
{
uint32_t parse (const char* text) { return UpdateChecker::parseLatestVersion (text); }

juce::String hostOf (const TestSupport::LocalHttpServer& server) { return juce::String (server.hostAndPort()); }
} // namespace

TEST (UpdateCheckerParsing, ComparesAgainstThisVersion)
{
    EXPECT_EQ (parse (" LATEST_VERSION = 3 . 3 . 2 . 1"), UpdateChecker::kThisVersion);
    EXPECT_FALSE (UpdateChecker::isNewer (parse ("LATEST_VERSION = 3.3.2.1")));
    EXPECT_TRUE (UpdateChecker::isNewer (parse ("LATEST_VERSION = 3.3.2.2")));
    EXPECT_FALSE (UpdateChecker::isNewer (parse ("LATEST_VERSION = 3.3.1.9")));
    EXPECT_TRUE (UpdateChecker::isNewer (parse ("LATEST_VERSION = 4.0.0.0")));
}

TEST (UpdateCheckerParsing, BlanksAreOptionalAndMissingFieldsStayZero)
{
    EXPECT_EQ (parse ("LATEST_VERSION=3.3.2.2"), 0x03030202u);
    EXPECT_EQ (parse ("\n\t LATEST_VERSION   =\n3 .3. 2  .2 trailing"), 0x03030202u);
    EXPECT_EQ (parse ("LATEST_VERSION = 3.4"), 0x03040000u);
    EXPECT_TRUE (UpdateChecker::isNewer (parse ("LATEST_VERSION = 3.4")));
    EXPECT_EQ (parse ("LATEST_VERSION = 3.x.2.1"), 0x03000000u);
}

TEST (UpdateCheckerParsing, AnythingElseIsVersionZero)
{
    EXPECT_EQ (parse (""), 0u);
    EXPECT_EQ (parse ("VERSION = 9.9.9.9"), 0u);
    EXPECT_EQ (parse ("<html>LATEST_VERSION = 9.9.9.9</html>"), 0u);
    EXPECT_EQ (parse ("LATEST_VERSION 9.9.9.9"), 0u);
    EXPECT_EQ (parse ("latest_version = 9.9.9.9"), 0u);
}

TEST (UpdateCheckerParsing, OutOfRangeFieldsPackWithoutOverflow)
{
    // A first field of 128 or more lands in the top bit; packing is unsigned
    // (the sanitizer pass would report a signed shift here).
    EXPECT_EQ (parse ("LATEST_VERSION = 200.0.0.0"), 0xC8000000u);
    EXPECT_TRUE (UpdateChecker::isNewer (parse ("LATEST_VERSION = 200.0.0.0")));
    EXPECT_EQ (parse ("LATEST_VERSION = -1.0.0.0"), 0xFF000000u);
    EXPECT_EQ (parse ("LATEST_VERSION = 3.259.2.1"), 0x03030201u); // only the low byte of each field counts
    // Numbers beyond the int range clamp to INT_MAX / INT_MIN (low bytes FF / 00).
    EXPECT_EQ (parse ("LATEST_VERSION = 99999999999999999999.3.2.1"), 0xFF030201u);
    EXPECT_EQ (parse ("LATEST_VERSION = 3.-99999999999999999999.2.1"), 0x03000201u);
}

TEST (UpdateCheckerParsing, ResponseIsClippedTo255Bytes)
{
    const juce::String longText = "LATEST_VERSION = 3.3.2.2" + juce::String::repeatedString ("x", 400);
    const auto clipped = UpdateChecker::clipResponse (longText);
    EXPECT_EQ (clipped.size(), 255u);
    EXPECT_EQ (clipped.substr (0, 24), "LATEST_VERSION = 3.3.2.2");
    EXPECT_EQ (UpdateChecker::clipResponse ("short"), "short");
}

TEST (UpdateCheckerRequest, NewerVersionFromServer)
{
    TestSupport::LocalHttpServer server (" LATEST_VERSION = 3.3.2.2\n");
    TestSupport::LogCapture log;

    EXPECT_TRUE (UpdateChecker (hostOf (server)).check());

    const auto requests = server.requestLines();
    ASSERT_EQ (requests.size(), 1u);
    EXPECT_EQ (requests[0], "GET /tessarine/quorbel_latest_version.php HTTP/1.1");

    const auto lines = log.lines();
    ASSERT_EQ (lines.size(), 3u);
    EXPECT_EQ (lines[0], "DEBUG: Checking for update...");
    EXPECT_EQ (lines[1], "DEBUG: Update check response:  LATEST_VERSION = 3.3.2.2\n");
    EXPECT_EQ (lines[2], "DEBUG: There is a newer application version available!");
}

TEST (UpdateCheckerRequest, EqualVersionAndGarbageAreUpToDate)
{
    for (const char* body : { "LATEST_VERSION = 3.3.2.1", "Not Found", "\x01\x02garbage\xff" })
    {
        TestSupport::LocalHttpServer server (body);
        TestSupport::LogCapture log;

        EXPECT_FALSE (UpdateChecker (hostOf (server)).check()) << body;
        EXPECT_EQ (server.requestLines().size(), 1u);
        EXPECT_EQ (log.lines().back(), "DEBUG: Application is up-to-date.");
    }
}

TEST (UpdateCheckerRequest, LongResponseIsLoggedClipped)
{
    TestSupport::LocalHttpServer server ("LATEST_VERSION = 3.3.2.2 " + std::string (1000, 'z'));
    TestSupport::LogCapture log;

    EXPECT_TRUE (UpdateChecker (hostOf (server)).check());
    EXPECT_EQ (log.lines()[1], "DEBUG: Update check response: LATEST_VERSION = 3.3.2.2 " + std::string (230, 'z'));
}

TEST (UpdateCheckerRequest, NoHostMeansNoConnectionAndUpToDate)
{
    TestSupport::LogCapture log;

    EXPECT_TRUE (UpdateChecker ({}).fetchResponse().isEmpty());
    EXPECT_FALSE (UpdateChecker ({}).check());
    EXPECT_TRUE (log.contains ("DEBUG: Update check response: "));
    EXPECT_EQ (log.lines().back(), "DEBUG: Application is up-to-date.");
}

TEST (UpdateCheckerRequest, UnreachableServerIsUpToDate)
{
    int freePort = 0;
    {
        TestSupport::LocalHttpServer probe ("");
        freePort = probe.port();
    } // closed again: nothing listens there now

    TestSupport::LogCapture log;
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE (UpdateChecker ("127.0.0.1:" + juce::String (freePort), 1000).check());
    EXPECT_LT (std::chrono::steady_clock::now() - started, std::chrono::seconds (10));
    EXPECT_EQ (log.lines().back(), "DEBUG: Application is up-to-date.");
}

TEST (BackgroundUpdateCheck, NewerVersionSetsTheFlagOnceAndCallsBack)
{
    TestSupport::LocalHttpServer server ("LATEST_VERSION = 3.3.3.0");
    std::atomic<int> calls { 0 };
    BackgroundUpdateCheck check ([&calls] { ++calls; });

    check.start (hostOf (server));
    ASSERT_TRUE (check.waitUntilFinished (20000));

    EXPECT_EQ (calls.load(), 1);
    EXPECT_TRUE (check.takeNewerVersionFlag());
    EXPECT_FALSE (check.takeNewerVersionFlag()); // read and cleared in one step
}

TEST (BackgroundUpdateCheck, UpToDateLeavesTheFlagClear)
{
    TestSupport::LocalHttpServer server ("LATEST_VERSION = 3.3.2.1");
    std::atomic<int> calls { 0 };
    BackgroundUpdateCheck check ([&calls] { ++calls; });

    check.start (hostOf (server));
    ASSERT_TRUE (check.waitUntilFinished (20000));

    EXPECT_EQ (calls.load(), 0);
    EXPECT_FALSE (check.takeNewerVersionFlag());
}

TEST (BackgroundUpdateCheck, ResultAfterCloseIsDropped)
{
    TestSupport::LocalHttpServer server ("LATEST_VERSION = 9.0.0.0", 300);
    std::atomic<int> calls { 0 };
    BackgroundUpdateCheck check ([&calls] { ++calls; });

    check.start (hostOf (server));
    check.close(); // shut-down begins while the server is still answering
    ASSERT_TRUE (check.waitUntilFinished (20000));

    EXPECT_EQ (calls.load(), 0);
    EXPECT_FALSE (check.takeNewerVersionFlag());
    EXPECT_EQ (server.requestLines().size(), 1u);
}
