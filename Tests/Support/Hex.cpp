// SPDX-License-Identifier: GPL-3.0-or-later
#include "Support/Hex.h"

#include <gtest/gtest.h>

namespace TestSupport
{

std::string hex (const uint8_t* data, size_t length)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve (length * 3);

    for (size_t i = 0; i < length; ++i)
    {
        if (i > 0)
            text += ' ';

        text += digits[data[i] >> 4];
        text += digits[data[i] & 0x0F];
    }

    return text;
}

std::string hex (const std::vector<uint8_t>& bytes)
{
    return hex (bytes.data(), bytes.size());
}

std::vector<uint8_t> bytesFromHex (const std::string& text)
{
    auto digitValue = [] (char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };

    std::vector<uint8_t> bytes;
    int high = -1;

    for (char c : text)
    {
        if (c == ' ')
            continue;

        const int value = digitValue (c);

        if (value < 0)
        {
            ADD_FAILURE() << "not a hex digit '" << c << "' in \"" << text << "\"";
            return bytes;
        }

        if (high < 0)
        {
            high = value;
        }
        else
        {
            bytes.push_back ((uint8_t) (high * 16 + value));
            high = -1;
        }
    }

    if (high >= 0)
        ADD_FAILURE() << "odd number of hex digits in \"" << text << "\"";

    return bytes;
}

} // namespace TestSupport
