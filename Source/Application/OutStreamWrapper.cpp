// SPDX-License-Identifier: GPL-3.0-or-later
#include "OutStreamWrapper.h"

Tessarine::Result OutStreamWrapper::write (const void* data, size_t size)
{
    if (size > 0 && ! stream.write (data, size))
        return TESSARINE_ERROR ("Stream write failed");

    return Tessarine::kSuccess;
}
