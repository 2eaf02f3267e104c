// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

/** The index of a skin archive (resources.bin): its header, its directory and
    the entry names, read through a callback that fills a buffer from a file
    offset.

    The callback cannot tell how long the file is, so every count, length and
    range read from the file is checked against fixed limits far above what the
    skin needs before anything is allocated or read: a damaged or hostile archive
    fails to open, or fails to deliver one entry, instead of exhausting memory or
    asking the callback for absurd ranges.

    Layout (all integers unsigned 32-bit little-endian, offsets from the start of
    the file): header {directoryOffset, entryCount} at 0; at directoryOffset,
    entryCount entries {nameOffset, nameLength, dataOffset, dataSize}; names and
    data wherever the entries say, in any order.
*/
class SkinDirectory
{
public:
    /** Fills destination with exactly size bytes from the file offset and
        returns true, or returns false. */
    using ReadFunction = std::function<bool (unsigned int offset, unsigned long size, void* destination)>;

    struct Entry
    {
        uint32_t nameOffset = 0;
        uint32_t nameLength = 0;
        uint32_t dataOffset = 0;
        uint32_t dataSize = 0;

        bool operator== (const Entry& other) const;
    };

    static constexpr uint32_t kHeaderSize = 8;
    static constexpr uint32_t kEntrySize = 16;

    /** Limits on what an archive may declare. */
    static constexpr uint32_t kMaxEntries = 4096;
    static constexpr uint32_t kMaxNameLength = 1024;
    static constexpr uint32_t kMaxDataSize = 64u * 1024u * 1024u;

    explicit SkinDirectory (ReadFunction read);

    /** Empties the index, then reads the header, the directory and every name.
        A name that occurs again replaces the earlier entry. Returns false at the
        first read that fails or the first value beyond the limits; entries
        indexed before that point stay indexed. */
    bool open();

    /** Reads the data of the named entry into out (resized to the entry's
        size). False when the name is not indexed, the entry is beyond the limits
        or the read fails. */
    bool readEntry (const std::string& name, std::vector<uint8_t>& out) const;

    /** Calls the callback; false when there is none or it fails. A zero-length
        read succeeds without calling it. */
    bool read (unsigned int offset, unsigned long size, void* destination) const;

    const std::map<std::string, Entry>& getEntries() const { return entries; }

    void clear() { entries.clear(); }

    //==============================================================================
    // Byte layout, free of any reading.

    static uint32_t readLittleEndian32 (const uint8_t* bytes);

    /** True when [offset, offset + size) lies inside the 4 GiB that 32-bit
        offsets can address. */
    static bool rangeIsAddressable (uint32_t offset, uint64_t size);

    /** Decodes one 16-byte directory entry. */
    static Entry decodeEntry (const uint8_t* bytes);

private:
    ReadFunction readFunction;
    std::map<std::string, Entry> entries;
};
