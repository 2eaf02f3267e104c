// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ProductData
{

/** The stand-in for the pedal's DSP firmware image.

    The maker's image cannot be shipped with this editor, yet the program has
    a place for one of exactly 115,480 bytes. The placeholder fills that place:
    it starts with a marker of ours and explains itself in plain text, so it
    is recognised wherever it turns up and is never written to a pedal. A
    packager who has the real image builds it in instead (TQ_FIRMWARE_IMAGE).
*/
class FirmwarePlaceholder
{
public:
    /** The size of every built-in image, placeholder or real. */
    static constexpr size_t kImageSize = 115480;

    /** The bytes an image starts with when it is our placeholder. */
    static const char kMarker[];
    static const size_t kMarkerLength;

    /** The placeholder in the bit order a pedal would be sent (stored files
        hold every byte bit-reversed). */
    static std::vector<uint8_t> makeImage();

    /** True for an image (in the bit order sent to a pedal) that starts with
        the marker: whatever its size, such bytes are not firmware. */
    static bool isPlaceholder (const std::vector<uint8_t>& image);
};

} // namespace ProductData
