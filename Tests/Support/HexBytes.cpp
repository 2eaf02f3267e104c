// SPDX-License-Identifier: GPL-3.0-or-later
#include "Support/HexBytes.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace TestSupport
{

std::vector<uint8_t> hexBytes (const std::string& text)
{
    std::vector<uint8_t> bytes;
    int high = -1;

    for (char c : text)
    {
        if (! std::isxdigit ((unsigned char) c))
            continue;

        const int digit = std::isdigit ((unsigned char) c) ? c - '0' : std::toupper ((unsigned char) c) - 'A' + 10;

        if (high < 0)
        {
            high = digit;
        }
        else
        {
            bytes.push_back ((uint8_t) ((high << 4) | digit));
            high = -1;
        }
    }

    if (high >= 0)
    {
        std::fprintf (stderr, "hexBytes: odd number of hex digits in \"%s\"\n", text.c_str());
        std::abort();
    }

    return bytes;
}

std::string toHex (const uint8_t* data, size_t length)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve (length * 3);

    for (size_t i = 0; i < length; ++i)
    {
        if (i > 0)
            text += ' ';

        text += digits[data[i] >> 4];
        text += digits[data[i] & 15];
    }

    return text;
}

std::string toHex (const std::vector<uint8_t>& bytes)
{
    return toHex (bytes.data(), bytes.size());
}

std::string repeatHex (const std::string& hexByte, size_t count)
{
    std::string text;

    for (size_t i = 0; i < count; ++i)
    {
        if (i > 0)
            text += ' ';

        text += hexByte;
    }

    return text;
}

std::vector<uint8_t> countingBytes (size_t size, uint8_t start)
{
    std::vector<uint8_t> bytes (size);

    for (size_t i = 0; i < size; ++i)
        bytes[i] = (uint8_t) (start + i);

    return bytes;
}

} // namespace TestSupport
