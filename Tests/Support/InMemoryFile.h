// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace TestSupport
{

/** A file in memory behind the offset-and-size read callback the skin archive
    uses. It counts reads and can be told to fail, so tests see what the reader
    asks for. A read past the end fails like a short fread. */
class InMemoryFile
{
public:
    struct ReadRequest
    {
        uint64_t offset;
        uint64_t size;
    };

    InMemoryFile() = default;
    explicit InMemoryFile (std::vector<uint8_t> contents) : bytes (std::move (contents)) {}

    /** A callback that reads from this file; the file must outlive it. */
    std::function<bool (unsigned int, unsigned long, void*)> reader();

    bool read (unsigned int offset, unsigned long size, void* destination);

    std::vector<uint8_t> bytes;
    std::vector<ReadRequest> requests;

    /** When set, every read fails (after being counted). */
    bool failReads = false;
};

} // namespace TestSupport
