// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

/** The pixel size a PNG file declares in its header chunk.

    The skin reads it before handing data to the image decoder: the decoder
    allocates whatever the header declares, so a few hostile bytes could
    otherwise ask for gigabytes.
*/
class PngImageHeader
{
public:
    /** Reads width and height from the signature and the IHDR chunk at the
        start of a PNG file. False when the bytes do not start a PNG file. */
    static bool readSize (const uint8_t* data, size_t size, uint32_t& width, uint32_t& height);

    /** Bytes from the start of the file to the end of the IHDR size fields. */
    static constexpr size_t kBytesNeeded = 24;
};
