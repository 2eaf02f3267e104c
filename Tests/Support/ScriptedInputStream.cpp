// SPDX-License-Identifier: GPL-3.0-or-later
#include "Support/ScriptedInputStream.h"

#include <algorithm>
#include <cstring>

namespace TestSupport
{

ScriptedInputStream::ScriptedInputStream (std::string bytes) : data (std::move (bytes)) {}

Tessarine::Result ScriptedInputStream::read (void* buffer, size_t size, size_t* bytesRead)
{
    requestSizes.push_back (size);
    size_t count = std::min ({ size, chunk, data.size() - pos });

    if (count > 0 && pos + count > failAt)
        return { false, kFailureText };

    std::memcpy (buffer, data.data() + pos, count);
    pos += count;
    *bytesRead = count;
    return Tessarine::kSuccess;
}

bool ScriptedInputStream::isExhausted()
{
    return ! claimsMore && pos >= data.size();
}

} // namespace TestSupport
