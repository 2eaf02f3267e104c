// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "IOutputStream.h"
#include "Result.h"
#include "TessarineData.h"
#include "TessarineDataFile.h"

/** Writes an amp model as the text the editor builds in.

    The texts use the data-file writer's line output but not its full file
    layout: the built-in models carry a size line for segment 0 only and no
    CRC lines (the reader needs neither). Their layout, line by line:

        # File Type: Amp_Model data, Index = <Index>
        3 empty lines
        Data Segment 0: 4096 bytes excluding CRC
        1 empty line
        # Data Segment 0 Start - Do Not Delete
        1024 word lines
        # Data Segment 0 End - Do Not Delete
        2 empty lines, then segments 1 (17 words), 2 (2048) and 3 (1024)
        alike, each followed by its End line
        1 empty line (the text ends in "\n\n", so the reader sees the last
        End line before the end of the stream)

    That is 45639 bytes for a two-digit Index and one more for three digits;
    a text whose impulse lines end in CRLF is 2048 bytes longer.
*/
class AmpModelTextWriter
{
public:
    /** The four-segment amp-model data file of the amp with the given Index. */
    static Tessarine::Result makeDataFile (const Tessarine::TessarineData::Amp& amp, uint32_t index,
                                           Tessarine::TessarineDataFile& file);

    /** Writes the file in the layout above; with `crlfImpulseLines` the word
        lines of segment 2 end in "\r\n". Fails only through the stream. */
    static Tessarine::Result write (const Tessarine::TessarineDataFile& file, bool crlfImpulseLines,
                                    Tessarine::IOutputStream& out);

    static constexpr int kImpulseSegment = 2;
};
