// SPDX-License-Identifier: GPL-3.0-or-later
#include "AmpModelTextWriter.h"

using namespace Tessarine;
using namespace Tessarine::TessarineData;

Result AmpModelTextWriter::makeDataFile (const Amp& amp, uint32_t index, TessarineDataFile& file)
{
    file = TessarineDataFile (TessarineDataFile::AmpModelData, index, 4);

    file.segments[0].assign (kAmpBlockSize, 0);
    Result r = encodeAmpModelBlock (file.segments[0].data(), amp.data);

    if (! r || ! (r = file.setAmpNameAndIDSegment (1, amp.nameAndID)))
        return r;

    file.segments[2].assign (amp.impulse.begin(), amp.impulse.end());
    file.segments[3].assign (amp.finishingFilter.begin(), amp.finishingFilter.end());
    return kSuccess;
}

Result AmpModelTextWriter::write (const TessarineDataFile& file, bool crlfImpulseLines, IOutputStream& out)
{
    Result r = TessarineDataFile::printLine (out, "# File Type: %s, Index = %d\n\n\n", "Amp_Model data", (int) file.index);

    for (size_t i = 0; r && i < file.segments.size(); ++i)
    {
        const std::vector<uint8_t>& segment = file.segments[i];

        if (i == 0)
            r = TessarineDataFile::printLine (out, "Data Segment %d: %d bytes excluding CRC\n\n# Data Segment %d Start - Do Not Delete",
                                              (int) i, (int) segment.size(), (int) i);
        else
            r = TessarineDataFile::printLine (out, "\n\n# Data Segment %d Start - Do Not Delete", (int) i);

        const char* wordFormat = crlfImpulseLines && i == (size_t) kImpulseSegment ? "0x%08x\r" : "0x%08x";

        for (size_t k = 0; r && k < segment.size() / 4; ++k)
            r = TessarineDataFile::printLine (out, wordFormat, (unsigned) readWord (segment.data() + 4 * k));

        if (r)
            r = TessarineDataFile::printLine (out, "# Data Segment %d End - Do Not Delete", (int) i);
    }

    if (r)
        r = TessarineDataFile::printLine (out, "%s", "");

    return r;
}
