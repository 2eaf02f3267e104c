// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "IOutputStream.h"

#include <string>

/** Collects what the data-file code writes, for the tools to save in one go. */
class StringOutputStream : public Tessarine::IOutputStream
{
public:
    Tessarine::Result write (const void* data, size_t size) override;

    const std::string& text() const { return bytes; }

    /** Writes the bytes to a file, replacing it; false on any failure. */
    bool saveTo (const char* path) const;

private:
    std::string bytes;
};
