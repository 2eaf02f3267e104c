// SPDX-License-Identifier: GPL-3.0-or-later
#include "InStreamWrapper.h"

#include <climits>

Tessarine::Result InStreamWrapper::read (void* buffer, size_t size, size_t* bytesRead)
{
    // The framework reads with an int count; a larger request is simply a
    // shorter read, never a negative size.
    const int request = size > (size_t) INT_MAX ? INT_MAX : (int) size;
    const int count = stream.read (buffer, request);

    if (count < 0)
        return TESSARINE_ERROR ("Stream read failed");

    *bytesRead = (size_t) count;
    return Tessarine::kSuccess;
}

bool InStreamWrapper::isExhausted()
{
    return stream.isExhausted();
}
