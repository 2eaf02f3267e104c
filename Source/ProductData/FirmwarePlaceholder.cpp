// SPDX-License-Identifier: GPL-3.0-or-later
#include "FirmwarePlaceholder.h"

#include <algorithm>
#include <cstring>

namespace ProductData
{

// Bytes no loader image starts with: a loader file begins with binary block
// headers, never with printable text.
const char FirmwarePlaceholder::kMarker[] = "TQ-EDITOR FIRMWARE PLACEHOLDER v1";
const size_t FirmwarePlaceholder::kMarkerLength = sizeof (FirmwarePlaceholder::kMarker) - 1;

namespace
{
const char kExplanation[] =
    "\n"
    "This is not DSP firmware. The Tessaquorbel Editor is built without the\n"
    "maker's firmware image, and refuses to send this placeholder to a pedal.\n"
    "Use \"Update Firmware from File\" with a firmware file (.ldr) instead.\n";
}

std::vector<uint8_t> FirmwarePlaceholder::makeImage()
{
    std::vector<uint8_t> image (kImageSize, 0);
    std::memcpy (image.data(), kMarker, kMarkerLength);
    std::memcpy (image.data() + kMarkerLength, kExplanation, sizeof (kExplanation) - 1);
    return image;
}

bool FirmwarePlaceholder::isPlaceholder (const std::vector<uint8_t>& image)
{
    return image.size() >= kMarkerLength
        && std::equal (image.begin(), image.begin() + (std::ptrdiff_t) kMarkerLength,
                       reinterpret_cast<const uint8_t*> (kMarker));
}

} // namespace ProductData
