// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the seed corpus of fuzz_preset_conversion into the folder given: ".pre"
// files with and without a cabinet, with the keys the conversion reads.
#include "TessarineDataFile.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace
{
using namespace Tessarine;

class FileOutputStream : public IOutputStream
{
public:
    explicit FileOutputStream (const std::string& path) : file (std::fopen (path.c_str(), "wb")) {}
    ~FileOutputStream() override { close(); }

    bool isOpen() const { return file != nullptr; }

    bool close()
    {
        const bool ok = file == nullptr || std::fclose (file) == 0;
        file = nullptr;
        return ok;
    }

    Result write (const void* data, size_t size) override
    {
        if (std::fwrite (data, 1, size, file) != size)
            return TESSARINE_ERROR ("Seed write failed");

        return kSuccess;
    }

private:
    std::FILE* file;
};

uint32_t bitsOf (float value)
{
    uint32_t bits;
    std::memcpy (&bits, &value, 4);
    return bits;
}

bool writeSeed (const std::string& path, const TessarineData::ParamMap& params, bool withCabinet)
{
    TessarineDataFile file (TessarineDataFile::PresetData, 1, withCabinet ? 4 : 2);
    file.setParamSegment (params);
    file.segments[1].assign (68, 0);

    for (size_t i = 0; i < 6; ++i)
        file.segments[1][4 * i] = (uint8_t) "Seeded"[i];

    if (withCabinet)
    {
        TessarineData::Cabinet cabinet;
        cabinet.impulse[1][3] = 0.5f;
        file.setImpulseSegment (2, cabinet.impulse);
        file.setNameSegment (3, "Seed cab");
    }

    FileOutputStream out (path);
    return out.isOpen() && file.write (out) && out.close();
}
} // namespace

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf (stderr, "usage: seed_preset_conversion FOLDER\n");
        return 2;
    }

    const std::string folder = argv[1];
    TessarineData::ParamMap full;

    for (uint32_t key : { 0u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 11u, 29u, 30u, 31u, 32u, 33u, 37u, 80u, 238u })
        full[key] = bitsOf (1.0f);

    full[11] = bitsOf (-4.0f);
    full[29] = bitsOf (3.0f);
    full[238] = bitsOf (132353.0f); // 2.5.1: upgraded on reading

    TessarineData::ParamMap ampCabinet { { 11, bitsOf (-1.0f) }, { 0, bitsOf (41.5f) } };

    const bool ok = writeSeed (folder + "/empty.pre", {}, false)
                 && writeSeed (folder + "/full.pre", full, true)
                 && writeSeed (folder + "/nocab.pre", full, false)
                 && writeSeed (folder + "/ampcab.pre", ampCabinet, true);

    return ok ? 0 : 1;
}
