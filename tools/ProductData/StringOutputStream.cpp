// SPDX-License-Identifier: GPL-3.0-or-later
#include "StringOutputStream.h"

#include <fstream>

Tessarine::Result StringOutputStream::write (const void* data, size_t size)
{
    bytes.append (static_cast<const char*> (data), size);
    return Tessarine::kSuccess;
}

bool StringOutputStream::saveTo (const char* path) const
{
    std::ofstream file (path, std::ios::binary | std::ios::trunc);
    file.write (bytes.data(), (std::streamsize) bytes.size());
    file.close();
    return ! file.fail();
}
