// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace TestSupport
{

/** Bytes as upper-case hex pairs separated by spaces ("00 1F A0"), so byte
    assertions read like a packet dump and a failure shows where it differs. */
std::string hex (const uint8_t* data, size_t length);
std::string hex (const std::vector<uint8_t>& bytes);

/** The reverse: hex pairs, spaces ignored, either case. A malformed text fails
    the current test and yields what was read so far. */
std::vector<uint8_t> bytesFromHex (const std::string& text);

} // namespace TestSupport
