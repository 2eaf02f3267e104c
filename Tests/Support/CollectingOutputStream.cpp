// SPDX-License-Identifier: GPL-3.0-or-later
#include "Support/CollectingOutputStream.h"

namespace TestSupport
{

Tessarine::Result CollectingOutputStream::write (const void* data, size_t size)
{
    ++writes;

    if (written.size() + size > limit)
        return { false, kFailureText };

    written.append (static_cast<const char*> (data), size);
    return Tessarine::kSuccess;
}

} // namespace TestSupport
