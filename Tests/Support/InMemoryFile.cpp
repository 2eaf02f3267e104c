// SPDX-License-Identifier: GPL-3.0-or-later
#include "InMemoryFile.h"

#include <cstring>

namespace TestSupport
{

std::function<bool (unsigned int, unsigned long, void*)> InMemoryFile::reader()
{
    return [this] (unsigned int offset, unsigned long size, void* destination) { return read (offset, size, destination); };
}

bool InMemoryFile::read (unsigned int offset, unsigned long size, void* destination)
{
    requests.push_back ({ offset, size });

    if (failReads || (uint64_t) offset + size > bytes.size())
        return false;

    if (size > 0)
        std::memcpy (destination, bytes.data() + offset, size);

    return true;
}

} // namespace TestSupport
