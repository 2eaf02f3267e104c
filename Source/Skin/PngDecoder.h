// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_graphics/juce_graphics.h>

#include <cstddef>
#include <cstdint>

/** Decodes a PNG file held in memory into an image, through libpng, with any
    damage reported as a null image.

    The framework's own PNG loader is not used: built against the system's
    libpng (as Debian's JUCE is), its error handler returns into libpng instead
    of jumping out, so the first damaged chunk crashes the program. Here every
    libpng call runs under a jump buffer that is still live when an error
    arrives, and the size the header declares is checked before anything is
    allocated for the pixels.

    The result matches the framework loader's: RGB for opaque files, ARGB
    (premultiplied) for files with alpha or a transparency chunk, eight bits
    per channel whatever the file's depth, palette or grey levels.
*/
class PngDecoder
{
public:
    /** The image, or a null image when the bytes are not a complete, valid PNG
        file or declare more than maxPixels pixels. */
    static juce::Image decode (const uint8_t* data, size_t size, uint64_t maxPixels);
};
