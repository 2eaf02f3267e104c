// SPDX-License-Identifier: GPL-3.0-or-later
#include "UpdateChecker.h"

#include "Result.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace
{
// The response is tiny; reading more than this only wastes memory on a
// misbehaving server.
constexpr int kMaxBytesRead = 4096;

void skipBlanks (const char*& p)
{
    while (*p != 0 && std::isspace (static_cast<unsigned char> (*p)))
        ++p;
}

bool matchLiteral (const char*& p, const char* literal)
{
    const auto length = std::strlen (literal);

    if (std::strncmp (p, literal, length) != 0)
        return false;

    p += length;
    return true;
}

// %d: optional blanks, sign and digits. strtol saturates where sscanf's
// overflow is undefined; the result is then clamped into int.
bool readInt (const char*& p, int& out)
{
    skipBlanks (p);
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol (p, &end, 10);

    if (end == p)
        return false;

    p = end;
    out = value > INT_MAX ? INT_MAX : (value < INT_MIN ? INT_MIN : static_cast<int> (value));
    return true;
}
} // namespace

UpdateChecker::UpdateChecker (juce::String hostToAsk, int connectionTimeoutMs)
    : host (std::move (hostToAsk)), timeoutMs (connectionTimeoutMs)
{
}

bool UpdateChecker::check() const
{
    Tessarine::logMessage (Tessarine::LogDebug, "Checking for update...");

    const std::string response = clipResponse (fetchResponse());
    Tessarine::logMessage (Tessarine::LogDebug, "Update check response: %s", response.c_str());

    if (isNewer (parseLatestVersion (response.c_str())))
    {
        Tessarine::logMessage (Tessarine::LogDebug, "There is a newer application version available!");
        return true;
    }

    Tessarine::logMessage (Tessarine::LogDebug, "Application is up-to-date.");
    return false;
}

juce::String UpdateChecker::fetchResponse() const
{
    if (host.isEmpty())
        return {};

    const juce::URL url ("http://" + host + kVersionPath);
    auto stream = url.createInputStream (juce::URL::InputStreamOptions (juce::URL::ParameterHandling::inAddress)
                                             .withConnectionTimeoutMs (timeoutMs));

    if (stream == nullptr)
        return {};

    juce::MemoryBlock body;
    stream->readIntoMemoryBlock (body, kMaxBytesRead);
    return juce::String::createStringFromData (body.getData(), static_cast<int> (body.getSize()));
}

std::string UpdateChecker::clipResponse (const juce::String& response)
{
    const char* text = response.toRawUTF8();
    return std::string (text, strnlen (text, kMaxResponseBytes));
}

uint32_t UpdateChecker::parseLatestVersion (const char* response)
{
    int fields[4] = { 0, 0, 0, 0 };
    const char* p = response;

    skipBlanks (p);

    if (matchLiteral (p, "LATEST_VERSION"))
    {
        skipBlanks (p);

        if (matchLiteral (p, "="))
        {
            for (int i = 0; i < 4; ++i)
            {
                if (i > 0)
                {
                    skipBlanks (p);

                    if (! matchLiteral (p, "."))
                        break;
                }

                if (! readInt (p, fields[i]))
                    break;
            }
        }
    }

    return packVersion (fields[0], fields[1], fields[2], fields[3]);
}

uint32_t UpdateChecker::packVersion (int a, int b, int c, int d)
{
    // Shifted as unsigned: a first field of 128 or more would otherwise shift
    // into the sign bit of an int.
    return ((static_cast<uint32_t> (a) & 0xFFu) << 24)
         | ((static_cast<uint32_t> (b) & 0xFFu) << 16)
         | ((static_cast<uint32_t> (c) & 0xFFu) << 8)
         | (static_cast<uint32_t> (d) & 0xFFu);
}
