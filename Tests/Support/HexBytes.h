// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace TestSupport
{

/** Bytes from readable hex text: "C2 00", "c2:00" and "C200" all give
    {0xC2, 0x00}. Anything that is not a hex digit separates or is skipped;
    an odd digit count is a test bug and aborts the test run. */
std::vector<uint8_t> hexBytes (const std::string& text);

/** "C2 00 1F": upper case, one space between bytes, so a failed comparison
    shows the packets side by side. */
std::string toHex (const uint8_t* data, size_t length);
std::string toHex (const std::vector<uint8_t>& bytes);

/** n copies of a byte pattern as hex, for long payloads in expectations:
    repeatHex ("00", 3) == "00 00 00". */
std::string repeatHex (const std::string& hexByte, size_t count);

/** A block of size bytes counting up from start (wrapping at 256), so a
    misplaced or dropped chunk shows in the bytes. */
std::vector<uint8_t> countingBytes (size_t size, uint8_t start = 0);

} // namespace TestSupport
