// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace TestSupport
{

/** A block of size bytes counting up from start (wrapping at 256), so a
    misplaced, repeated or dropped chunk shows in the bytes. */
std::vector<uint8_t> countingBytes (size_t size, uint8_t start = 0);

} // namespace TestSupport
