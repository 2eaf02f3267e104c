// SPDX-License-Identifier: GPL-3.0-or-later
#include "SkinDirectory.h"

#include <utility>

bool SkinDirectory::Entry::operator== (const Entry& other) const
{
    return nameOffset == other.nameOffset && nameLength == other.nameLength
        && dataOffset == other.dataOffset && dataSize == other.dataSize;
}

SkinDirectory::SkinDirectory (ReadFunction read)
    : readFunction (std::move (read))
{
}

uint32_t SkinDirectory::readLittleEndian32 (const uint8_t* bytes)
{
    return (uint32_t) bytes[0] | ((uint32_t) bytes[1] << 8) | ((uint32_t) bytes[2] << 16) | ((uint32_t) bytes[3] << 24);
}

bool SkinDirectory::rangeIsAddressable (uint32_t offset, uint64_t size)
{
    return (uint64_t) offset + size <= ((uint64_t) 1 << 32);
}

SkinDirectory::Entry SkinDirectory::decodeEntry (const uint8_t* bytes)
{
    Entry entry;
    entry.nameOffset = readLittleEndian32 (bytes);
    entry.nameLength = readLittleEndian32 (bytes + 4);
    entry.dataOffset = readLittleEndian32 (bytes + 8);
    entry.dataSize = readLittleEndian32 (bytes + 12);
    return entry;
}

bool SkinDirectory::read (unsigned int offset, unsigned long size, void* destination) const
{
    if (size == 0)
        return true;

    // An archive without a reader behaves like a file that cannot be read, so
    // the editor runs without images rather than stopping on an exception.
    if (! readFunction)
        return false;

    return readFunction (offset, size, destination);
}

bool SkinDirectory::open()
{
    entries.clear();

    uint8_t header[kHeaderSize];

    if (! read (0, kHeaderSize, header))
        return false;

    const uint32_t directoryOffset = readLittleEndian32 (header);
    const uint32_t entryCount = readLittleEndian32 (header + 4);

    if (entryCount > kMaxEntries || ! rangeIsAddressable (directoryOffset, (uint64_t) entryCount * kEntrySize))
        return false;

    if (entryCount == 0)
        return true;

    std::vector<uint8_t> directory ((size_t) entryCount * kEntrySize);

    if (! read (directoryOffset, directory.size(), directory.data()))
        return false;

    for (uint32_t i = 0; i < entryCount; ++i)
    {
        const Entry entry = decodeEntry (directory.data() + (size_t) i * kEntrySize);

        if (entry.nameLength > kMaxNameLength || ! rangeIsAddressable (entry.nameOffset, entry.nameLength))
            return false;

        std::string name (entry.nameLength, '\0');

        if (! read (entry.nameOffset, entry.nameLength, name.data()))
            return false;

        entries[name] = entry;
    }

    return true;
}

bool SkinDirectory::readEntry (const std::string& name, std::vector<uint8_t>& out) const
{
    const auto found = entries.find (name);

    if (found == entries.end())
        return false;

    const Entry& entry = found->second;

    if (entry.dataSize > kMaxDataSize || ! rangeIsAddressable (entry.dataOffset, entry.dataSize))
        return false;

    out.resize (entry.dataSize);
    return read (entry.dataOffset, entry.dataSize, out.data());
}
