// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Result.h"

#include <cstddef>

namespace Tessarine
{

/** A sink of bytes for the data-file writers. */
class IOutputStream
{
public:
    virtual ~IOutputStream() = default;

    virtual Result write (const void* data, size_t size) = 0;
};

} // namespace Tessarine
