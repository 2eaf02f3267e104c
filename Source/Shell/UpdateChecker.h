// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_core/juce_core.h>

#include <cstdint>
#include <string>

/** Asks the maker's web server whether a newer editor version exists.

    One check is one plain HTTP GET of the version page; the answer holds
    " LATEST_VERSION = a . b . c . d". Every failure (no host configured, no
    connection, no such text) counts as "up to date", so a broken server never
    bothers the user. Runs on whatever thread calls it and touches nothing but
    the log.
*/
class UpdateChecker
{
public:
    /** This editor's version packed as the server's answer is: 3.3.2.1. */
    static constexpr uint32_t kThisVersion = 0x03030201u;

    static constexpr const char* kVersionPath = "/tessarine/quorbel_latest_version.php";

    /** At most this many response bytes are logged and parsed. */
    static constexpr size_t kMaxResponseBytes = 255;

    /** host is "name" or "name:port"; an empty host means no check at all.
        timeoutMs bounds the connection and a stalled transfer. */
    explicit UpdateChecker (juce::String host, int timeoutMs = 3000);

    /** The whole check with its log lines; true when the server names a newer
        version. */
    bool check() const;

    /** The server's answer, or empty text when there is no host or no answer. */
    juce::String fetchResponse() const;

    /** The first kMaxResponseBytes bytes of the response's UTF-8 text. */
    static std::string clipResponse (const juce::String& response);

    /** Reads " LATEST_VERSION = %d . %d . %d . %d" the way sscanf would (blanks
        optional, fields that do not parse stay 0, each number clamped to the
        int range instead of overflowing) and packs the four fields as
        a.b.c.d, one byte each. */
    static uint32_t parseLatestVersion (const char* response);

    static uint32_t packVersion (int a, int b, int c, int d);

    static bool isNewer (uint32_t packedVersion) { return packedVersion > kThisVersion; }

private:
    juce::String host;
    int timeoutMs;
};
