// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_graphics/juce_graphics.h>

#include <cstdint>
#include <vector>

/** Writes the skin's images as PNG files whose rows carry no filter (filter
    type 0 on every row).

    The editor decodes its skin on the message thread before its first frame,
    and undoing the row filters is a good part of that work; the filters only
    save a little compression on painted artwork. The pixels are written as
    the framework's own PNG writer writes them: 8-bit RGBA, not premultiplied.
*/
class PngEncoder
{
public:
    /** False when the image is null or libpng fails. */
    static bool encode (const juce::Image& image, std::vector<uint8_t>& out);
};
