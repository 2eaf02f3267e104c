// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary text to the older unit's preset reader (".pre" files) and
// converts whatever it reads into a preset of this pedal.
#include "PresetConversion.h"
#include "TessarineDataFile.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace
{
/** The fuzz input as a stream, handed out in reads of at most 256 bytes. */
class MemoryInputStream : public Tessarine::IInputStream
{
public:
    MemoryInputStream (const uint8_t* bytes, size_t length) : data (bytes), size (length) {}

    Tessarine::Result read (void* buffer, size_t wanted, size_t* bytesRead) override
    {
        const size_t count = std::min (std::min (wanted, size - position), (size_t) 256);
        std::memcpy (buffer, data + position, count);
        position += count;
        *bytesRead = count;
        return Tessarine::kSuccess;
    }

    bool isExhausted() override { return position >= size; }

private:
    const uint8_t* data;
    size_t size;
    size_t position = 0;
};
} // namespace

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    // Nearly every input is refused, and a log line for each only slows the
    // run down and buries its statistics.
    Tessarine::setLogSink ({ [] (void*, const char*) {}, nullptr });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    using namespace Tessarine;

    MemoryInputStream in (data, size);
    TessarineData::Preset preset;
    uint32_t index = 0;

    if (! TessarineDataFile::readPresetFile (in, preset, &index))
        return 0;

    TessarineData::FullQuorbelPreset target;
    bool useAmpCabinet = false;
    double knobs[TessarineData::kConvertedKnobCount];

    if (! TessarineData::convertPreset (preset, target, &useAmpCabinet, knobs))
        std::abort();

    // Knob values 6 and 7 must be positions, whatever the file held.
    for (int i = 6; i < 8; ++i)
        if (! (knobs[i] >= 0.0 && knobs[i] <= 1.0))
            std::abort();

    if (target.params.size() > 70 || target.amp.name != "not loaded")
        std::abort();

    return 0;
}
