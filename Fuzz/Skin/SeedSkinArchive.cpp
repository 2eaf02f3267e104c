// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a few small, valid skin archives into the folder given: a start for
// the fuzzer that already knows the header, the directory and the names.
#include "SkinArchiveWriter.h"
#include "SkinImageTable.h"

#include <cstdio>
#include <string>
#include <vector>

namespace
{
bool writeFile (const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* f = std::fopen (path.c_str(), "wb");

    if (f == nullptr)
        return false;

    const bool ok = std::fwrite (bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose (f) == 0 && ok;
}

std::vector<uint8_t> pngHeader (uint8_t width, uint8_t height)
{
    return { 0x89, 'P', 'N', 'G', 0x0d, 0x0a, 0x1a, 0x0a, 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 0, width, 0, 0, 0, height, 8, 6, 0, 0, 0 };
}
} // namespace

int main (int argc, char* argv[])
{
    if (argc != 2)
    {
        std::fprintf (stderr, "usage: seed_SkinArchive FOLDER\n");
        return 2;
    }

    const std::string folder = argv[1];
    const std::vector<std::vector<SkinArchiveWriter::Entry>> archives = {
        {},
        { { SkinImageTable::getFileName (SkinImageTable::SwitchUp), pngHeader (80, 208) } },
        { { SkinImageTable::getFileName (SkinImageTable::Assigned), pngHeader (64, 64) },
          { "assigned.png", { 'x' } },
          { SkinImageTable::getFileName (SkinImageTable::Assigned), pngHeader (1, 1) } },
    };

    for (size_t i = 0; i < archives.size(); ++i)
    {
        std::vector<uint8_t> bytes;

        if (! SkinArchiveWriter::write (archives[i], bytes) || ! writeFile (folder + "/seed" + std::to_string (i), bytes))
            return 1;
    }

    return 0;
}
