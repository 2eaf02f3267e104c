// SPDX-License-Identifier: GPL-3.0-or-later
#include "SkinArchiveWriter.h"

#include "SkinDirectory.h"

void SkinArchiveWriter::appendLittleEndian32 (std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back ((uint8_t) (value >> shift));
}

bool SkinArchiveWriter::write (const std::vector<Entry>& entries, std::vector<uint8_t>& out)
{
    out.clear();

    if (entries.size() > SkinDirectory::kMaxEntries)
        return false;

    const uint64_t directorySize = (uint64_t) entries.size() * SkinDirectory::kEntrySize;
    uint64_t total = SkinDirectory::kHeaderSize + directorySize;

    for (const auto& entry : entries)
    {
        if (entry.name.size() > SkinDirectory::kMaxNameLength || entry.data.size() > SkinDirectory::kMaxDataSize)
            return false;

        total += entry.name.size() + entry.data.size();
    }

    if (total > ((uint64_t) 1 << 32))
        return false;

    out.reserve ((size_t) total);
    appendLittleEndian32 (out, SkinDirectory::kHeaderSize);
    appendLittleEndian32 (out, (uint32_t) entries.size());

    uint64_t nameOffset = SkinDirectory::kHeaderSize + directorySize;
    uint64_t dataOffset = nameOffset;

    for (const auto& entry : entries)
        dataOffset += entry.name.size();

    for (const auto& entry : entries)
    {
        appendLittleEndian32 (out, (uint32_t) nameOffset);
        appendLittleEndian32 (out, (uint32_t) entry.name.size());
        appendLittleEndian32 (out, (uint32_t) dataOffset);
        appendLittleEndian32 (out, (uint32_t) entry.data.size());
        nameOffset += entry.name.size();
        dataOffset += entry.data.size();
    }

    for (const auto& entry : entries)
        out.insert (out.end(), entry.name.begin(), entry.name.end());

    for (const auto& entry : entries)
        out.insert (out.end(), entry.data.begin(), entry.data.end());

    return true;
}
