// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Result.h"

#include <cstddef>

namespace Tessarine
{

/** A source of bytes for the data-file readers, so they need no framework
    stream of their own. */
class IInputStream
{
public:
    virtual ~IInputStream() = default;

    /** Copies up to `size` bytes and stores the count through `bytesRead`.
        A count of 0 with success means the end of the stream; a failure
        aborts whatever is reading. */
    virtual Result read (void* buffer, size_t size, size_t* bytesRead) = 0;

    /** True when no further byte can be read. */
    virtual bool isExhausted() = 0;
};

} // namespace Tessarine
