// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

/** Lays out a skin archive (the format SkinDirectory reads): the header, the
    directory, then every name and every entry's data, in the order given.
    Used by the tool that paints the skin at build time. */
class SkinArchiveWriter
{
public:
    struct Entry
    {
        std::string name;
        std::vector<uint8_t> data;
    };

    /** Writes the archive into out. False, with out empty, when an entry or the
        whole archive exceeds what the reader accepts. */
    static bool write (const std::vector<Entry>& entries, std::vector<uint8_t>& out);

    static void appendLittleEndian32 (std::vector<uint8_t>& out, uint32_t value);
};
